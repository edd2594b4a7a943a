#include "fleet/RosterCheck.h"

#include <algorithm>
#include <set>

#include "codeplug/CodeplugContext.h"
#include "fleet/IndividualCalls.h"

namespace {

// A message box's text on one line.
std::string OneLine(const std::string& text) {
    std::string line;
    bool blank = false;
    for (char c : text) {
        if (c == '\n' || c == '\r' || c == ' ' || c == '\t') {
            blank = !line.empty();
            continue;
        }
        if (blank) line += ' ';
        blank = false;
        line += c;
    }
    return line;
}

std::string Refusal(const SheetScriptResult& r) {
    std::string text;
    for (const SheetMessage& m : r.messages) {
        if (!m.refusal) continue;
        if (!text.empty()) text += "; ";
        text += m.caption + ": " + OneLine(m.text);
    }
    // Beside the sheet's own box, the reason says more only when a field
    // the row does not name drew it (its stored value).
    if (!r.error.empty() && (text.empty() || !r.refusal.asked))
        text += (text.empty() ? "" : "; ") + r.error;
    return text.empty() ? "the User Data sheet refused the values" : text;
}

// The keys of a refused row that draw the refusal on their own, when the
// sheet's text does not name one.
std::string Culprits(const RosterRow& row, const CCodeplug& templ, const std::string& text) {
    for (const SheetChange& c : row.changes)
        if (text.find(c.key) != std::string::npos) return {};
    std::string keys;
    for (const SheetChange& c : row.changes) {
        CCodeplug probe = templ;
        if (SheetScript::Apply(probe, {c}).outcome == SheetScriptResult::Outcome::Changed) continue;
        keys += (keys.empty() ? "" : ", ") + c.key + "=" + c.value;
    }
    if (!keys.empty() || row.changes.size() < 2) return keys;
    for (const SheetChange& c : row.changes) keys += (keys.empty() ? "" : ", ") + c.key;
    return keys + " together";
}

// The calls a row gives its pager on top of the template's: calls the row
// names a tone of, or that differ from the template's call in that place. A
// call every pager keeps from the template is shared on purpose (the fleet's
// common call), not a clash.
std::vector<bool> OwnCalls(const RosterRow& row, const std::vector<IndividualCall>& calls,
                           const std::vector<IndividualCall>& templ) {
    std::vector<bool> own;
    for (const IndividualCall& c : calls) {
        const std::string prefix =
            "channels." + c.channel + ".calls." + std::to_string(c.call) + ".tone";
        bool named = false;
        for (const SheetChange& change : row.changes)
            named = named || change.key.rfind(prefix, 0) == 0;
        bool inherited = false;
        for (const IndividualCall& t : templ)
            inherited = inherited || (t.SamePlace(c) && t.Alike(c));
        own.push_back(named || !inherited);
    }
    return own;
}

}  // namespace

RosterCheck RosterCheck::Run(const Roster& roster, const CCodeplug& templ) {
    const CodeplugContext saved = CodeplugContext::Get();
    RosterCheck check;
    const std::vector<RosterRow>& rows = roster.Rows();
    std::vector<std::vector<IndividualCall>> calls;
    std::vector<std::vector<bool>> own;
    const std::vector<IndividualCall> templateCalls = IndividualCallsOf(templ);
    std::vector<bool> applied;
    for (const RosterRow& row : rows) {
        CCodeplug plug = templ;
        const SheetScriptResult r = SheetScript::Apply(plug, row.changes);
        const std::string name = Roster::RowName(row);
        for (const SheetMessage& m : r.messages)
            if (!m.refusal) check.notes.push_back(name + ": " + m.caption + ": " + OneLine(m.text));
        if (r.outcome != SheetScriptResult::Outcome::Changed) {
            const std::string text = Refusal(r);
            const std::string keys = Culprits(row, templ, text);
            check.problems.push_back(name + ": " + (keys.empty() ? "" : keys + ": ") + text);
        }
        applied.push_back(r.outcome == SheetScriptResult::Outcome::Changed);
        calls.push_back(IndividualCallsOf(plug));
        own.push_back(OwnCalls(row, calls.back(), templateCalls));
        check.codeplugs.push_back(plug);
    }
    // Only rows that applied say which calls their pagers answer. Each row's
    // own calls are looked for in every other pager; a pair of rows is named
    // once.
    {
        std::set<std::pair<std::size_t, std::size_t>> named;
        for (std::size_t a = 0; a < rows.size(); ++a) {
            if (!applied[a]) continue;
            for (std::size_t i = 0; i < calls[a].size(); ++i) {
                if (!own[a][i]) continue;
                const IndividualCall& mine = calls[a][i];
                std::string with;
                for (std::size_t b = 0; b < rows.size(); ++b) {
                    if (b == a || !applied[b] || named.count({std::min(a, b), std::max(a, b)}))
                        continue;
                    for (const IndividualCall& other : calls[b]) {
                        if (!mine.Alike(other)) continue;
                        named.insert({std::min(a, b), std::max(a, b)});
                        with += (with.empty() ? "" : ", ") + Roster::RowName(rows[b]) + " (" +
                                other.Where() + ")";
                        break;
                    }
                }
                if (with.empty()) continue;
                check.problems.push_back(Roster::RowName(rows[a]) + " shares its individual call " +
                                         mine.What() + " (" + mine.Where() + ") with " + with +
                                         ": those pagers could not be paged apart");
            }
        }
    }
    CodeplugContext::Get() = saved;
    return check;
}
