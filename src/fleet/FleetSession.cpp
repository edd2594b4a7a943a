#include "fleet/FleetSession.h"

#include <filesystem>

#include "codeplug/CPagerData.h"
#include "codeplug/CSerialNumber.h"
#include "codeplug/CodeplugContext.h"
#include "document/CodeplugFields.h"
#include "fleet/RosterCheck.h"
#include "link/PagerTransfer.h"

namespace {

// Decoding a codeplug sets the process-wide context from it; a fleet run
// leaves the program's own as it found it.
class KeepContext {
public:
    KeepContext() : m_saved(CodeplugContext::Get()) {}
    ~KeepContext() { CodeplugContext::Get() = m_saved; }

private:
    CodeplugContext m_saved;
};

std::string SerialOf(const Image& block) {
    CCodeplug plug;
    plug.SetImage(block);
    CSerialNumber serial;
    serial.Load(plug);
    return serial.SerialText();
}

// "A03XLT9239AC, codeplug version 1.005"
std::string IdentityOf(const Image& block) {
    CCodeplug plug;
    plug.SetImage(block);
    CPagerData d;
    d.Decode(plug);
    return d.model.ModelText() + ", codeplug version " + d.version.PlugVersionText();
}

std::string Pager(const std::string& serial) {
    return "Pager " + serial;
}

}  // namespace

std::string FleetRow::StateText() const {
    switch (state) {
        case FleetRowState::Waiting:
            return "waiting";
        case FleetRowState::Written:
            return "written";
        case FleetRowState::Verified:
            return "verified";
        case FleetRowState::Failed:
            return "failed: " + note;
        case FleetRowState::Skipped:
            return "skipped: " + note;
    }
    return {};
}

bool FleetRow::Done() const {
    return state == FleetRowState::Written || state == FleetRowState::Verified ||
           state == FleetRowState::Skipped;
}

bool FleetSession::Load(const CCodeplug& templ, const std::string& rosterPath) {
    m_roster.Read(rosterPath);
    return Check(templ);
}

bool FleetSession::LoadText(const CCodeplug& templ, std::string_view rosterText) {
    m_roster.Parse(rosterText);
    return Check(templ);
}

bool FleetSession::Check(const CCodeplug& templ) {
    m_template = templ;
    m_problems = m_roster.Problems();
    m_rows.clear();
    // Rows are checked even when the columns had problems, so that one
    // look at the list shows everything to mend.
    const RosterCheck check = RosterCheck::Run(m_roster, templ);
    m_problems.insert(m_problems.end(), check.problems.begin(), check.problems.end());
    m_notes = check.notes;
    m_codeplugs = check.codeplugs;
    for (const RosterRow& row : m_roster.Rows()) {
        FleetRow fleetRow;
        fleetRow.roster = row;
        m_rows.push_back(std::move(fleetRow));
    }
    return m_problems.empty();
}

std::string FleetSession::DefaultLogPath(const std::string& rosterPath) {
    std::filesystem::path p(rosterPath);
    const std::string stem = p.stem().string();
    return (p.parent_path() / (stem + "-log.csv")).string();
}

bool FleetSession::OpenLog(const std::string& path, std::string& error) {
    if (!m_log.Open(path)) {
        error = m_log.Error();
        return false;
    }
    for (FleetRow& row : m_rows) {
        std::string when;
        if (row.state == FleetRowState::Waiting && DoneInLog(row, &when)) {
            row.state = FleetRowState::Skipped;
            row.note = "done " + when;
        }
    }
    return true;
}

int FleetSession::RowsDone() const {
    int done = 0;
    for (const FleetRow& row : m_rows) done += row.Done();
    return done;
}

bool FleetSession::DoneInLog(const FleetRow& row, std::string* when) const {
    // A row is known by its serial number, else its label, else its place.
    for (const FleetLogEntry& e : m_log.Entries()) {
        if (!e.Written()) continue;
        bool same;
        if (m_roster.HasSerials())
            same = Roster::SerialKey(e.serial) == Roster::SerialKey(row.roster.serial);
        else if (!row.roster.label.empty())
            same = e.label == row.roster.label;
        else
            same = e.label.empty() && e.row == std::to_string(row.roster.row);
        if (!same) continue;
        if (when) *when = e.time + " (pager " + e.serial + ")";
        return true;
    }
    return false;
}

const FleetLogEntry* FleetSession::WrittenEntry(const std::string& serial) const {
    const std::string key = Roster::SerialKey(serial);
    const auto& entries = m_log.Entries();
    for (auto it = entries.rbegin(); it != entries.rend(); ++it)
        if (it->Written() && Roster::SerialKey(it->serial) == key) return &*it;
    return nullptr;
}

int FleetSession::PickRow(const std::string& serial, std::string& why) const {
    const std::string key = Roster::SerialKey(serial);
    if (m_roster.HasSerials()) {
        for (std::size_t i = 0; i < m_rows.size(); ++i) {
            if (Roster::SerialKey(m_rows[i].roster.serial) != key) continue;
            if (m_rows[i].Done()) {
                why = "is done already (" + Roster::RowName(m_rows[i].roster) + ")";
                return -1;
            }
            return static_cast<int>(i);
        }
        why = "is not in the roster";
        return -1;
    }
    // A pager whose last attempt failed gets the same row again, when no
    // other pager has taken it since.
    const auto& entries = m_log.Entries();
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        if (Roster::SerialKey(it->serial) != key) continue;
        if (it->result != FleetLogEntry::kFailed) break;
        for (std::size_t i = 0; i < m_rows.size(); ++i)
            if (std::to_string(m_rows[i].roster.row) == it->row && !m_rows[i].Done())
                return static_cast<int>(i);
        break;
    }
    for (std::size_t i = 0; i < m_rows.size(); ++i)
        if (!m_rows[i].Done()) return static_cast<int>(i);
    why = "came after every row was done";
    return -1;
}

FleetAttempt FleetSession::Record(FleetAttempt attempt, FleetLogEntry entry) {
    if (!m_log.Append(entry)) attempt.logFailed = true;
    return attempt;
}

FleetAttempt FleetSession::ProgramNext(FleetLink& link, bool verify, const Progress& progress) {
    const KeepContext keep;
    const auto tell = [&](int row, const std::string& what) {
        if (progress) progress(row, what);
    };
    FleetAttempt a;
    if (AllDone()) {
        a.outcome = FleetAttempt::Outcome::AllDone;
        a.message = "Every row of the roster is done.";
        return a;
    }
    FleetLogEntry e;
    e.time = FleetLog::Now();
    tell(-1, "Reading the pager on " + link.PortName());
    Image block{};
    std::string why;
    if (!link.ReadPager(block, why)) {
        a.outcome = FleetAttempt::Outcome::NoPager;
        a.message = "No pager could be read on " + link.PortName() + ": " + why;
        e.result = FleetLogEntry::kNotWritten;
        e.detail = "not read: " + why;
        return Record(a, e);
    }
    a.serial = e.serial = SerialOf(block);
    const auto notWritten = [&](const std::string& message, const std::string& detail) {
        a.outcome = FleetAttempt::Outcome::NotWritten;
        a.message = message + "; it was not written.";
        e.result = FleetLogEntry::kNotWritten;
        e.detail = detail;
        return Record(a, e);
    };
    if (!SameIdentity(block, m_template.GetImage())) {
        return notWritten(Pager(a.serial) + " is a " + IdentityOf(block) +
                              "; the template is for " + IdentityOf(m_template.GetImage()),
                          "another model or codeplug version than the template's");
    }
    if (const FleetLogEntry* done = WrittenEntry(a.serial)) {
        const std::string as = "row " + done->row + (done->label.empty() ? "" : " (" + done->label + ")");
        return notWritten(Pager(a.serial) + " was programmed as " + as + " on " + done->time,
                          "already programmed as " + as + " on " + done->time);
    }
    const int index = PickRow(a.serial, why);
    if (index < 0) return notWritten(Pager(a.serial) + " " + why, a.serial + " " + why);

    FleetRow& row = m_rows[static_cast<std::size_t>(index)];
    const std::string name = Roster::RowName(row.roster);
    a.row = index;
    e.row = std::to_string(row.roster.row);
    e.label = row.roster.label;
    e.values = Roster::ValuesText(row.roster);
    const auto failed = [&](const std::string& message, const std::string& note) {
        row.state = FleetRowState::Failed;
        row.note = note;
        a.outcome = FleetAttempt::Outcome::Failed;
        a.message = Pager(a.serial) + ", " + name + ": " + message;
        e.result = FleetLogEntry::kFailed;
        return Record(a, e);
    };

    tell(index, "Writing " + name + " into pager " + a.serial);
    CCodeplug plug = m_codeplugs[static_cast<std::size_t>(index)];
    const FleetLink::Written w = link.WritePager(plug);
    a.backup = e.backup = w.backup;
    if (!w.ok) {
        e.detail = w.why;
        return failed("the write failed: " + w.why, w.brief.empty() ? w.why : w.brief);
    }
    row.serial = a.serial;
    e.verify = "not asked";
    if (verify) {
        tell(index, "Verifying " + name + " in pager " + a.serial);
        Image held{};
        if (!link.ReadPager(held, why)) {
            e.verify = "failed: not read back";
            e.detail = why;
            return failed("written, but it could not be read back: " + why,
                          "verify: not read back");
        }
        const CodeplugDiff diff = CompareWritten(plug.PrepareForOutput(), held);
        if (!diff.Equal()) {
            std::string lines = DiffText(diff), joined;
            for (std::size_t at = 0, next; at < lines.size(); at = next + 1) {
                next = lines.find('\n', at);
                if (next == std::string::npos) next = lines.size();
                a.differences.push_back(lines.substr(at, next - at));
                joined += (joined.empty() ? "" : "; ") + a.differences.back();
            }
            e.verify = "failed: " + joined;
            e.detail = "the pager holds other values than were written";
            const std::size_t n = a.differences.size();
            return failed("verify FAILED: the pager holds other values than were written",
                          "verify: " + std::to_string(n) + (n == 1 ? " value differs" : " values differ"));
        }
        e.verify = "passed";
    }
    row.state = verify ? FleetRowState::Verified : FleetRowState::Written;
    row.note.clear();
    a.outcome = FleetAttempt::Outcome::Written;
    a.message = Pager(a.serial) + " written as " + name + (verify ? " and verified." : ".");
    e.result = FleetLogEntry::kWritten;
    return Record(a, e);
}
