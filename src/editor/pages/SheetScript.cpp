#include "editor/pages/SheetScript.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <optional>

#include "codeplug/CAdvancedData.h"
#include "codeplug/CCodeplug.h"
#include "codeplug/CodeplugContext.h"
#include "editor/FieldNumber.h"
#include "editor/RuleMessages.h"
#include "editor/pages/CUserData.h"
#include "ui/DataExchange.h"
#include "ui/Prompt.h"
#include "ui/ScriptWords.h"

using namespace ui::script;

namespace {

enum class PageKind { General, F1, F2, Options, Switches };
enum class Action { List, Edit, Check, Slider };

struct Target {
    PageKind page;
    Action action;
    int id;
    int rank;  // order within the page, as a user would go through it
};

constexpr int kFrequencyId[2] = {CChannel1::IDC_FREQUENCY, CChannel2::IDC_FREQUENCY};
constexpr int kCodingOptionId[2] = {CChannel1::IDC_CODING_OPTION, CChannel2::IDC_CODING_OPTION};
constexpr const char* kPositions[4] = {"SW-A", "SW-B", "SW-C", "SW-D"};

struct OptionKey {
    const char* name;
    Action action;
    int id;
};
// In the order of the page's rows.
constexpr OptionKey kOptions[] = {
    {"svFunction", Action::List, CModelOption::IDC_STORED_VOICE},
    {"voiceMemo", Action::List, CModelOption::IDC_VOICE_MEMO},
    {"fixedAlert", Action::List, CModelOption::IDC_FIXED_ALERT},
    {"scanBack", Action::Edit, CModelOption::IDC_SCAN_TIME},
    {"alertDuration", Action::List, CModelOption::IDC_ALERT_DURATION},
    {"alertTime", Action::Edit, CModelOption::IDC_ALERT_TIME},
    {"callReminder", Action::List, CModelOption::IDC_CALL_REMINDER},
    {"priorityAlert", Action::List, CModelOption::IDC_PRIORITY_ALERT},
    {"privacy", Action::List, CModelOption::IDC_PRIVACY},
    {"resetFunction", Action::List, CModelOption::IDC_RESET_FUNCTION},
    {"resetTime", Action::Edit, CModelOption::IDC_RESET_TIME},
};
constexpr int kSquelchSlider = CModelOption::IDC_SQUELCH;

const char* const kFactoryKeys[] = {
    "model",        "serial",    "band",         "subBand",          "subBandIndex",
    "crystal",      "if",        "injection",    "referenceDivider", "codeplugVersion",
    "pagerVersion", "toneClock", "twoFrequency", "storedVoiceIc"};

struct Parsed {
    SheetKeyKind kind = SheetKeyKind::Unknown;
    Target target{};
};

Parsed ParseKey(const std::string& key) {
    Parsed p;
    const auto parts = SplitKey(key);
    const std::string& head = parts[0];
    auto editable = [&](PageKind page, Action a, int id, int rank) {
        p.kind = SheetKeyKind::Editable;
        p.target = {page, a, id, rank};
        return p;
    };
    if (parts.size() == 1) {
        if (head == "toneSystem")
            return editable(PageKind::General, Action::List, CGeneral::IDC_TONE_SYSTEM, 0);
        if (head == "squelchLevel")
            return editable(PageKind::Options, Action::Slider, kSquelchSlider, 100);
        if (head == "file") {
            p.kind = SheetKeyKind::Derived;
            return p;
        }
        for (const char* f : kFactoryKeys)
            if (head == f) p.kind = SheetKeyKind::Factory;
        return p;
    }
    // advanced.NAME, or advanced.NAME.value as `calvex apply` names it.
    if (head == "advanced" && (parts.size() == 2 || (parts.size() == 3 && parts[2] == "value"))) {
        for (const auto& f : CAdvancedData::AllFields())
            if (Lower(parts[1]) == Lower(f.name)) p.kind = SheetKeyKind::Factory;
        return p;
    }
    if (head == "channels" && parts.size() >= 3 && (parts[1] == "F1" || parts[1] == "F2")) {
        const int ch = parts[1] == "F1" ? 0 : 1;
        const PageKind page = ch == 0 ? PageKind::F1 : PageKind::F2;
        if (parts.size() == 3) {
            if (parts[2] == "frequency") return editable(page, Action::Edit, kFrequencyId[ch], 0);
            if (parts[2] == "codingOption")
                return editable(page, Action::List, kCodingOptionId[ch], 1);
            if (parts[2] == "used" || parts[2] == "name" || parts[2] == "onOffDuty" ||
                parts[2] == "codingOptionValue")
                p.kind = SheetKeyKind::Derived;
            return p;
        }
        if (parts.size() == 5 && parts[2] == "calls") {
            auto call = SmallNumber(parts[3], 1, 12);
            if (!call) return p;
            const int row = *call - 1;
            const ChannelRow& ids = CChannelPage::Rows()[static_cast<std::size_t>(row)];
            const std::string& f = parts[4];
            if (f == "tone1") return editable(page, Action::Edit, ids.tone1, 10 + row * 2);
            if (f == "tone2" && ids.tone2)
                return editable(page, Action::Edit, ids.tone2, 11 + row * 2);
            if (f == "alert") return editable(page, Action::List, ids.alert, 40 + row);
            if (f == "duty") return editable(page, Action::List, ids.duty, 60 + row);
            if (f == "alertValue" || f == "call" || (f == "tone2" && !ids.tone2))
                p.kind = SheetKeyKind::Derived;
        }
        return p;
    }
    if (head == "modelOptions" && parts.size() == 2) {
        int rank = 0;
        for (const OptionKey& o : kOptions) {
            if (parts[1] == o.name) return editable(PageKind::Options, o.action, o.id, rank);
            ++rank;
        }
        if (parts[1] == "priorityScanF1") p.kind = SheetKeyKind::Derived;
        return p;
    }
    if (head == "switches" && parts.size() == 3) {
        for (int pos = 0; pos < 4; ++pos) {
            if (parts[1] != kPositions[pos]) continue;
            const CFunctionSwitch::PositionIds& s = CFunctionSwitch::kPositionIds[pos];
            const std::string& f = parts[2];
            const int base = pos * 10;
            if (f == "mode") return editable(PageKind::Switches, Action::List, s.mode, base);
            if (f == "wideBand")
                return editable(PageKind::Switches, Action::Check, s.wideBand, base + 1);
            if (f == "ptl")
                return editable(PageKind::Switches, Action::Check, s.pushToListen, base + 2);
            if (f == "alertType")
                return editable(PageKind::Switches, Action::List, s.alertType, base + 3);
            if (f == "onOffDuty")
                return editable(PageKind::Switches, Action::Check, s.duty, base + 4);
            if (f == "position") p.kind = SheetKeyKind::Derived;
        }
        return p;
    }
    return p;
}

// Records every box; questions get Yes (the script asked for the change),
// everything else OK.
class ScriptPrompt : public ui::Prompt {
public:
    ui::PromptAnswer Ask(const std::string& text, const std::string& caption, ui::PromptIcon icon,
                         ui::PromptButtons buttons, bool) override {
        const bool question =
            buttons == ui::PromptButtons::YesNo || buttons == ui::PromptButtons::YesNoCancel;
        const bool informs =
            question || caption == "Scan Warning" || text == rule_text::kOutOfBandWarning;
        boxes.push_back({text, caption, !informs});
        return question ? ui::PromptAnswer::Yes : ui::PromptAnswer::Ok;
    }
    std::vector<SheetMessage> boxes;
};

ui::CPropertyPage* PageOf(CUserData& sheet, PageKind kind) {
    switch (kind) {
        case PageKind::General:
            return &sheet.general;
        case PageKind::F1:
            return &sheet.channel1;
        case PageKind::F2:
            return &sheet.channel2;
        case PageKind::Options:
            return &sheet.modelOption;
        case PageKind::Switches:
            return &sheet.functionSwitch;
    }
    return nullptr;
}

std::optional<bool> ParseBool(const std::string& v) {
    const std::string l = Lower(Trim(v));
    if (l == "yes" || l == "on" || l == "enabled" || l == "true" || l == "1") return true;
    if (l == "no" || l == "off" || l == "disabled" || l == "false" || l == "0") return false;
    return std::nullopt;
}

// The list entry a value names: exact, then ignoring case, then the texts the
// codeplug shows for values the list names differently.
int FindListEntry(const std::vector<std::string>& items, const std::string& value) {
    if (const int i = FindEntry(items, value); i >= 0) return i;
    const std::string v = Lower(Trim(value));
    static const std::pair<const char*, const char*> kAliases[] = {
        {"vibrator", "Vibrate"}, {"vibrator + tone", "Tone & Vibrate"}};
    for (const auto& [alias, entry] : kAliases) {
        if (v != alias) continue;
        for (std::size_t i = 0; i < items.size(); ++i)
            if (items[i] == entry) return static_cast<int>(i);
    }
    return -1;
}

bool IsTimeField(int id) {
    return id == CModelOption::IDC_SCAN_TIME || id == CModelOption::IDC_ALERT_TIME ||
           id == CModelOption::IDC_RESET_TIME;
}

// What is typed into an edit: the value as given, so the field reads it as
// it would read the user's typing. Times may carry the unit `show` prints
// ("1.000SEC."), which the field would not take.
std::string EditText(const std::string& value, int id) {
    const std::string l = Lower(Trim(value));
    if (l == "none" || l == "null") return {};
    if (!IsTimeField(id)) return value;
    std::string v = value;
    while (!v.empty() && (v.back() == ' ' || v.back() == '\t')) v.pop_back();
    const std::string lv = Lower(v);
    for (const std::string unit : {"sec.", "sec", "s"}) {
        if (lv.size() > unit.size() &&
            lv.compare(lv.size() - unit.size(), unit.size(), unit) == 0) {
            v.resize(v.size() - unit.size());
            break;
        }
    }
    return v;
}

// True when the control already shows `value`.
bool Shows(const ui::ControlState& c, const Target& t, const std::string& value) {
    switch (t.action) {
        case Action::List: {
            const int entry = FindListEntry(c.items, value);
            if (entry >= 0 && c.selection == entry &&
                c.text == c.items[static_cast<std::size_t>(entry)])
                return true;
            // A stored value the list names differently stands as text.
            return !Trim(value).empty() && Lower(Trim(c.text)) == Lower(Trim(value));
        }
        case Action::Edit: {
            const std::string typed = EditText(value, t.id);
            if (IsTimeField(t.id)) {
                double a = 0, b = 0;
                return ui::ParseFrameworkDouble(c.text, a) && ui::ParseFrameworkDouble(typed, b) &&
                       std::fabs(a - b) < 0.0005;
            }
            const bool tone = CChannelPage::FieldOfToneId(t.id) >= 0;
            const FieldNumber a = ParseFieldNumber(c.text), b = ParseFieldNumber(typed);
            const char* format = tone ? "%.1f" : "%.4f";
            return a.ok && b.ok &&
                   FormatFieldNumber(a.value, format) == FormatFieldNumber(b.value, format);
        }
        case Action::Check: {
            const auto on = ParseBool(value);
            return on && *on == c.checked;
        }
        case Action::Slider: {
            const auto level = SmallNumber(Trim(value), 0, 99);
            return level && *level == c.position;
        }
    }
    return false;
}

// Whether a channel page not yet shown in this run will show `value` in a
// control when it comes forward, from its record: a document's tone that
// only looks different because the tone system changed must not bring the
// page forward, which clears the duty of every call while no switch
// position gives the channel ON/OFF duty.
bool ChannelWillShow(const CChannelPage& page, const Target& t, const std::string& value) {
    const auto sameNumber = [&](double shown, const char* format) {
        const FieldNumber n = ParseFieldNumber(EditText(value, t.id));
        return n.ok && FormatFieldNumber(n.value, format) == FormatFieldNumber(shown, format);
    };
    const auto sameText = [&](const std::string& shown) {
        return Lower(Trim(shown)) == Lower(Trim(value));
    };
    if (const int field = CChannelPage::FieldOfToneId(t.id); field >= 0)
        return sameNumber(page.ShownTone(field), "%.1f");
    if (t.id == page.FrequencyId()) return sameNumber(page.record.GetFrequency(), "%.4f");
    if (t.id == page.CodingOptionId()) return sameText(page.record.CodingOptionText());
    for (int row = 0; row < CChannelPage::kRows; ++row) {
        const ChannelRow& r = CChannelPage::Rows()[static_cast<std::size_t>(row)];
        if (t.id == r.alert) return sameText(page.record.CallAlertText(row));
        if (t.id == r.duty) return sameText(page.record.DutyText(row));
    }
    return false;
}

struct Step {
    SheetChange change;
    Target target;
    std::size_t order;
};

// Every key a page control takes, for naming the field a box is about.
const std::vector<std::string>& EditableKeys() {
    static const std::vector<std::string> keys = [] {
        std::vector<std::string> k = {"toneSystem", "squelchLevel"};
        for (const char* ch : {"F1", "F2"}) {
            const std::string c = std::string("channels.") + ch + ".";
            k.push_back(c + "frequency");
            k.push_back(c + "codingOption");
            for (int call = 1; call <= 12; ++call)
                for (const char* f : {"tone1", "tone2", "alert", "duty"})
                    k.push_back(c + "calls." + std::to_string(call) + "." + f);
        }
        for (const OptionKey& o : kOptions) k.push_back(std::string("modelOptions.") + o.name);
        for (const char* pos : kPositions)
            for (const char* f : {"mode", "wideBand", "ptl", "alertType", "onOffDuty"})
                k.push_back(std::string("switches.") + pos + "." + f);
        return k;
    }();
    return keys;
}

std::string KeyOfControl(PageKind page, int id) {
    for (const std::string& key : EditableKeys()) {
        const Parsed p = ParseKey(key);
        if (p.kind == SheetKeyKind::Editable && p.target.page == page && p.target.id == id)
            return key;
    }
    return {};
}

constexpr PageKind kPageKinds[] = {PageKind::General, PageKind::F1, PageKind::F2, PageKind::Options,
                                   PageKind::Switches};

void ClearFocusRequests(CUserData& sheet) {
    for (PageKind k : kPageKinds) PageOf(sheet, k)->ClearPendingFocus();
}

// A field no control changes, checked when the run is over.
struct Compare {
    SheetChange change;
    SheetKeyKind kind;
};

}  // namespace

SheetKeyKind SheetScript::Classify(const std::string& key) {
    return ParseKey(key).kind;
}

std::vector<SheetKeyHelp> SheetScript::Help() {
    return {
        {"toneSystem", "Corvane, GE, Plectron, User, Fast Plectron"},
        {"channels.F1|F2.frequency", "MHz as typed, e.g. 152.0075 (empty clears)"},
        {"channels.F1|F2.codingOption",
         "R468, R130, R97, STD, R134, R138, R362, R177, R60, R621, R168 (None)"},
        {"channels.F1|F2.calls.N.tone1",
         "Hz, e.g. 433.7 (N 1-8 calls, 9-12 group calls; empty "
         "clears)"},
        {"channels.F1|F2.calls.N.tone2", "Hz (N 1-8)"},
        {"channels.F1|F2.calls.N.alert", "Standard, Continuous, Music 1 ... Music 8"},
        {"channels.F1|F2.calls.N.duty", "ON, OFF (while a switch position enables ON/OFF duty)"},
        {"modelOptions.svFunction", "15 Sec, 30 Sec, 60 Sec, 120 Sec, Dynamic (stored voice only)"},
        {"modelOptions.voiceMemo|fixedAlert|callReminder|priorityAlert|privacy", "OFF, ON"},
        {"modelOptions.scanBack",
         "seconds, 0.064 to 2.04 (while Priority Scan F1 is in use; others are limited)"},
        {"modelOptions.alertDuration", "STD, FIXED"},
        {"modelOptions.alertTime", "seconds, 0.48 to 122.4 (with FIXED; others are limited)"},
        {"modelOptions.resetFunction", "Automatic, Delayed N, Revert, Manual, Timeout, Revert N"},
        {"modelOptions.resetTime",
         "seconds, 0.48 to 122.4 (Delayed N, Timeout, Revert N; others are limited)"},
        {"squelchLevel", "1 to 5"},
        {"switches.SW-A|SW-B|SW-C|SW-D.mode",
         "Monitor F1, Monitor F2, Selective Call F1, Selective Call F2, Probability Scan, "
         "Priority Scan F1, Silent Scan (one-frequency models: Monitor F1, Selective Call F1)"},
        {"switches.SW-X.alertType", "Tone, Vibrate, Tone & Vibrate"},
        {"switches.SW-X.wideBand|onOffDuty|ptl", "YES/NO (also ON/OFF, ENABLED/DISABLED)"},
    };
}

SheetScriptResult SheetScript::Apply(CCodeplug& plug, const std::vector<SheetChange>& changes,
                                     const ui::script::Options& options) {
    SheetScriptResult result;
    std::vector<Step> steps;
    std::vector<Compare> compares;
    for (std::size_t i = 0; i < changes.size(); ++i) {
        const SheetChange& c = changes[i];
        Parsed p = ParseKey(c.key);
        // Without stored voice the list shows "OFF" and `show` says "N/A".
        if (p.kind == SheetKeyKind::Editable && Lower(Trim(c.value)) == "n/a" &&
            (p.target.id == CModelOption::IDC_STORED_VOICE ||
             p.target.id == CModelOption::IDC_VOICE_MEMO))
            p.kind = SheetKeyKind::Derived;
        const bool compared = options.fieldValue &&
                              (p.kind == SheetKeyKind::Factory || p.kind == SheetKeyKind::Derived);
        if (compared) {
            compares.push_back({c, p.kind});
            continue;
        }
        switch (p.kind) {
            case SheetKeyKind::Editable:
                steps.push_back({c, p.target, i});
                break;
            case SheetKeyKind::Factory:
                result.outcome = SheetScriptResult::Outcome::Refused;
                result.error = c.key +
                               " is factory data: only the engineer tools (Engineer Data, or "
                               "calvex set --engineer) change it";
                result.refusal = {c.key, c.value, true};
                return result;
            case SheetKeyKind::Derived:
                result.outcome = SheetScriptResult::Outcome::Refused;
                result.error = c.key +
                               " follows other fields and cannot be set; change the field it "
                               "shows instead";
                result.refusal = {c.key, c.value, true};
                return result;
            case SheetKeyKind::Unknown:
                result.outcome = SheetScriptResult::Outcome::BadInput;
                result.error = "unknown key '" + c.key + "' (calvex set --help lists the keys)";
                return result;
        }
    }
    // Page order first, then the order of the controls on the page; a key
    // given twice keeps both, the later one last.
    std::stable_sort(steps.begin(), steps.end(), [](const Step& a, const Step& b) {
        if (a.target.page != b.target.page) return a.target.page < b.target.page;
        return a.target.rank < b.target.rank;
    });
    const auto asked = [&](const std::string& key) {
        return std::any_of(changes.begin(), changes.end(),
                           [&](const SheetChange& c) { return c.key == key; });
    };

    CCodeplug work = plug;
    CUserData sheet;
    ScriptPrompt prompt;
    sheet.SetPagesPrompt(&prompt);

    auto refuse = [&](std::string why, const SheetChange& c) {
        result.outcome = SheetScriptResult::Outcome::Refused;
        result.error = std::move(why);
        result.refusal = {c.key, c.value, true};
        return ui::IDCANCEL;
    };
    auto bad = [&](std::string why) {
        result.outcome = SheetScriptResult::Outcome::BadInput;
        result.error = std::move(why);
        return ui::IDCANCEL;
    };
    // Boxes since the last look; true when one of them refused.
    std::size_t seen = 0;
    auto refusedNow = [&] {
        bool refused = false;
        for (; seen < prompt.boxes.size(); ++seen) {
            result.messages.push_back(prompt.boxes[seen]);
            refused = refused || prompt.boxes[seen].refusal;
        }
        return refused;
    };
    // A box refused: names the field it was about. A field that asked for
    // the focus drew it; when that is not the field being changed (`step`,
    // null for OK), its stored value is what the page will not take.
    auto blame = [&](const Step* step) {
        result.outcome = SheetScriptResult::Outcome::Refused;
        std::string key;
        const ui::CPropertyPage* page = nullptr;
        int id = 0;
        bool own = false;
        for (PageKind k : kPageKinds) {
            const ui::CPropertyPage* pg = PageOf(sheet, k);
            if (pg->PendingFocus() == 0) continue;
            key = KeyOfControl(k, pg->PendingFocus());
            page = pg;
            id = pg->PendingFocus();
            own = step && k == step->target.page && id == step->target.id;
            break;
        }
        if (step && (key.empty() || own)) {
            result.error = step->change.key + ": \"" + step->change.value + "\" was refused";
            result.refusal = {step->change.key, step->change.value, true};
            return ui::IDCANCEL;
        }
        if (key.empty()) return ui::IDCANCEL;
        const std::string held = page->Text(id);
        const bool named = asked(key);
        result.error = key + " holds \"" + held + "\", which the page \"" + page->Caption() +
                       "\" refuses" +
                       (named ? "" : " (no change names it: give it a value the page takes)");
        result.refusal = {key, held, named};
        return ui::IDCANCEL;
    };

    // The last page any change is made on: a field an earlier page shows
    // only because of a later page's setting (the priority scan time, the
    // duty lists) is tried again after that page, as a user would go back.
    const PageKind lastPage = steps.empty() ? PageKind::General : steps.back().target.page;
    std::vector<const Step*> deferred;

    // Makes one change; an end code when the run has to stop.
    auto make = [&](CUserData& s, const Step& step, bool mayDefer) -> std::optional<int> {
        const std::string& key = step.change.key;
        ui::CPropertyPage* page = PageOf(s, step.target.page);
        const int index = s.PageIndex(page);
        if (index < 0)
            return refuse(key + ": channel F2 is not used by a one-frequency model", step.change);
        if (options.document && !page->Created() &&
            (step.target.page == PageKind::F1 || step.target.page == PageKind::F2) &&
            ChannelWillShow(*static_cast<const CChannelPage*>(page), step.target,
                            step.change.value))
            return std::nullopt;
        ClearFocusRequests(s);
        const bool moved = s.SetActivePage(index);
        if (refusedNow() || !moved) {
            blame(nullptr);
            if (result.error.empty())
                result.error = "the page \"" + s.ActivePage()->Caption() + "\" cannot be left";
            return ui::IDCANCEL;
        }
        const int id = step.target.id;
        const ui::ControlState& c = page->Control(id);
        const std::string& value = step.change.value;
        const bool usable = c.visible && c.enabled;
        // Already showing what is asked: a document's field that earlier
        // changes brought there, or a greyed control that shows it anyway.
        if ((options.document || !usable) && Shows(c, step.target, value)) return std::nullopt;
        if (!usable) {
            if (mayDefer && step.target.page < lastPage) {
                deferred.push_back(&step);
                return std::nullopt;
            }
            return refuse(key + " cannot be changed now on the page \"" + page->Caption() +
                              "\": the field is " + (c.visible ? "disabled" : "not shown") +
                              " by the settings it depends on",
                          step.change);
        }
        switch (step.target.action) {
            case Action::List: {
                const int entry = FindListEntry(c.items, value);
                if (entry < 0)
                    return bad(key + ": \"" + value + "\" is not one of " + JoinItems(c.items));
                page->SetSelectionFromUser(id, entry);
                break;
            }
            case Action::Edit: {
                std::string typed = EditText(value, id);
                // A document gives what the field is to show; under "User" a
                // typed tone can come back as another, so type one that shows it.
                const int field = CChannelPage::FieldOfToneId(id);
                if (options.document && field >= 0 &&
                    CodeplugContext::Get().toneSystem == TONE_USER) {
                    const FieldNumber n = ParseFieldNumber(typed);
                    if (n.ok && n.value != 0.0)
                        typed = ToneTextShowing(
                            n.value, static_cast<CChannelPage*>(page)->record.GetClockIndex());
                }
                page->FocusFromUser(id, true);
                ClearFocusRequests(s);
                page->SetTextFromUser(id, typed);
                page->FocusFromUser(id, false);
                break;
            }
            case Action::Check: {
                const auto on = ParseBool(value);
                if (!on) return bad(key + ": \"" + value + "\" is not YES or NO");
                if (page->Checked(id) != *on) page->SetCheckedFromUser(id, *on);
                break;
            }
            case Action::Slider: {
                const auto level = SmallNumber(Trim(value), c.rangeMin, c.rangeMax);
                if (!level)
                    return bad(key + ": \"" + value + "\" is not a level from " +
                               std::to_string(c.rangeMin) + " to " + std::to_string(c.rangeMax));
                page->SetPositionFromUser(id, *level);
                break;
            }
        }
        // A time out of its range draws the range message and is then
        // limited to it, as on the page: the box informs.
        if (IsTimeField(id)) {
            bool limited = false;
            for (std::size_t b = seen; b < prompt.boxes.size(); ++b) {
                SheetMessage& m = prompt.boxes[b];
                if (m.refusal && m.text.rfind("Please enter a number between", 0) == 0) {
                    m.refusal = false;
                    limited = true;
                }
            }
            if (limited)
                result.notes.push_back(key + ": \"" + value + "\" is out of range; the page took " +
                                       page->Text(id));
        }
        if (refusedNow()) return blame(&step);
        return std::nullopt;
    };

    const int end = sheet.RunUserDataSheet(work, [&](CUserData& s) -> int {
        s.Begin();
        refusedNow();
        for (const Step& step : steps)
            if (const auto stop = make(s, step, true)) return *stop;
        for (const Step* step : deferred)
            if (const auto stop = make(s, *step, false)) return *stop;
        ClearFocusRequests(s);
        s.ClickFromUser(ui::IDOK);
        const bool refused = refusedNow();
        if (s.PendingEnd() != ui::IDOK || refused) {
            blame(nullptr);
            if (result.error.empty()) result.error = "the sheet refused OK";
            return ui::IDCANCEL;
        }
        return ui::IDOK;
    });
    if (end != ui::IDOK || result.outcome != SheetScriptResult::Outcome::Changed) return result;

    // Fields no control changes hold what was asked, or the run is refused.
    for (const Compare& c : compares) {
        const auto now = options.fieldValue(work, c.change.key);
        if (now && Lower(Trim(*now)) == Lower(Trim(c.change.value))) continue;
        result.outcome = SheetScriptResult::Outcome::Refused;
        result.refusal = {c.change.key, c.change.value, true};
        const std::string holds = now ? " (it holds \"" + *now + "\")" : "";
        result.error = c.kind == SheetKeyKind::Factory
                           ? c.change.key + " is factory data" + holds +
                                 ": only the engineer tools (Engineer Data, or calvex set "
                                 "--engineer) change it"
                           : c.change.key + " follows other fields and cannot be set" + holds +
                                 "; change the field it shows instead";
        return result;
    }
    plug = work;
    return result;
}
