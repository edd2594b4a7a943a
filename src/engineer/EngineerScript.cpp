#include "engineer/EngineerScript.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <functional>
#include <optional>

#include "codeplug/CAdvancedData.h"
#include "codeplug/CCodeplug.h"
#include "codeplug/CSerialNumber.h"
#include "codeplug/CodeplugContext.h"
#include "engineer/CEngineerDataDlg.h"
#include "engineer/CEngineerLogonDlg.h"
#include "engineer/EngineerIds.h"
#include "engineer/EngineerTables.h"
#include "ui/Prompt.h"
#include "ui/ScriptWords.h"

using namespace engineer;
using namespace ui::script;

namespace {

// The order of the dialog's controls: a band change resets the split, the IF
// and the frequencies, and a split change the frequencies, so they go first.
enum Rank {
    kBandRank,
    kSplitRank,
    kSpRank,
    kModelRank,
    kModulationRank,
    kCodingRank,
    kFreqCountRank,
    kRevisionRank,
    kBatteryRank,
    kSiteRank,
    kYearRank,
    kMonthRank,
    kUnitRank,
    kXtalRank,
    kIfRank,
    kVersionRank,
    kStoredVoiceRank,
    kAdvancedRank,  // the "&Advanced" button comes last
};

std::string Upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// Records every box. Only the SP warning lets the change go ahead; every
// other box of these dialogs refuses what was typed.
class ScriptPrompt : public ui::Prompt {
public:
    ui::PromptAnswer Ask(const std::string& text, const std::string& caption, ui::PromptIcon,
                         ui::PromptButtons, bool) override {
        boxes.push_back({text, caption, caption != CEngineerDataDlg::kSpWarningCaption});
        return ui::PromptAnswer::Ok;
    }
    std::vector<EngineerMessage> boxes;
};

// The key of a box that can refuse a stored value: the unit number, the
// codeplug version and the Advanced dialog's boxes.
std::string KeyOfControl(int id) {
    if (id == IDC_UNIT_NUMBER) return "serial";
    if (id == IDC_PLUG_VERSION) return "codeplugVersion";
    for (const auto& g : CAdvancedEngineerDlg::Groups())
        for (const auto& p : g.params)
            if (p.id == id) return std::string("advanced.") + CAdvancedData::Info(p.field).name;
    return {};
}

// The model number as `show` prints it: A03XLT9239AC, with _SPnn for SP 1-15.
struct ModelTarget {
    int band, family, modulation, coding, frequencies, revision, battery, sp;
};

std::optional<ModelTarget> ParseModel(const std::string& value) {
    const std::string v = Upper(Trim(value));
    if (v.size() != 12 && v.size() != 17) return std::nullopt;
    ModelTarget m{};
    const std::string band = v.substr(0, 3);
    m.band = band == "A01" ? 0 : band == "A03" ? 2 : band == "A04" ? 3 : -1;
    if (m.band < 0 || v.substr(3, 3) != "XLT") return std::nullopt;
    m.family = 0;
    static const std::string kModulation = "2????7?9";
    static const std::string kCoding = "24";
    m.modulation = static_cast<int>(kModulation.find(v[6]));
    m.coding = static_cast<int>(kCoding.find(v[7]));
    const std::string freq = v.substr(8, 2);
    m.frequencies = freq == "38" ? 0 : freq == "39" ? 1 : -1;
    m.revision = static_cast<int>(std::string("ABCD").find(v[10]));
    m.battery = static_cast<int>(std::string("CA").find(v[11]));
    if (v[6] == '?' || m.modulation < 0 || m.coding < 0 || m.frequencies < 0 || m.revision < 0 ||
        m.battery < 0)
        return std::nullopt;
    m.sp = 0;
    if (v.size() == 17) {
        if (v.compare(12, 3, "_SP") != 0) return std::nullopt;
        const auto sp = SmallNumber(Trim(v.substr(15)), 1, 15);
        if (!sp) return std::nullopt;
        m.sp = *sp;
    }
    return m;
}

// The serial number as `show` prints it: 136WJA0001.
struct SerialTarget {
    int site, year, period;
    std::string unit;
};

std::optional<SerialTarget> ParseSerial(const std::string& value) {
    const std::string v = Upper(Trim(value));
    if (v.size() != 10 || v.compare(0, 3, "136") != 0) return std::nullopt;
    const auto code = [](const std::string& letter, std::string (*name)(int), int count) {
        for (int c = 0; c < count; ++c)
            if (name(c) == letter) return c;
        return -1;
    };
    SerialTarget s{code(v.substr(3, 1), CSerialNumber::SiteLetter, 3),
                   code(v.substr(4, 1), CSerialNumber::YearLetter, 16),
                   code(v.substr(5, 1), CSerialNumber::PeriodLetter, 24), v.substr(6)};
    if (s.site < 0 || s.year < 0 || s.period < 0) return std::nullopt;
    return s;
}

std::optional<int> ParseBand(const std::string& value) {
    const std::string v = Upper(Trim(value));
    if (v == "0" || v == "LOW" || v == "A01" || v == "A01 - LOW") return 0;
    if (v == "2" || v == "VHF" || v == "A03" || v == "A03 - VHF") return 2;
    if (v == "3" || v == "UHF" || v == "A04" || v == "A04 - UHF") return 3;
    return std::nullopt;
}

std::optional<bool> ParseTwoFrequency(const std::string& value) {
    const std::string v = Lower(Trim(value));
    if (v == "true" || v == "yes" || v == "39" || v == "39 - two freqs") return true;
    if (v == "false" || v == "no" || v == "38" || v == "38 - one freq") return false;
    return std::nullopt;
}

// The parameter of the Advanced dialog a name gives: the block's field name
// as `show` prints it ("GOOD/BAD RADIO") or the dialog's label without its
// colon ("GOOD/BAD_RATIO").
const CAdvancedEngineerDlg::Param* FindAdvancedParam(const std::string& name, int* order) {
    int n = 0;
    for (const auto& g : CAdvancedEngineerDlg::Groups()) {
        for (const auto& p : g.params) {
            std::string label = p.label;
            label.pop_back();
            if (Upper(name) == Upper(label) ||
                Upper(name) == Upper(CAdvancedData::Info(p.field).name)) {
                if (order) *order = n;
                return &p;
            }
            ++n;
        }
    }
    return nullptr;
}

bool IsBlockField(const std::string& name) {
    for (const auto& f : CAdvancedData::AllFields())
        if (Upper(name) == Upper(f.name)) return true;
    return false;
}

// The keys the dialogs have no control for, and why.
std::optional<std::string> NoControl(const std::string& key) {
    if (key == "injection" || key == "referenceDivider")
        return key + " has no control in Engineer Data: picking the band or the IF sets it";
    if (key == "pagerVersion")
        return "pagerVersion is the pager's firmware version: no tool changes it";
    if (key == "toneClock") return "toneClock follows the crystal: set crystal instead";
    const auto parts = SplitKey(key);
    if (parts[0] != "advanced" || parts.size() < 2) return std::nullopt;
    if (parts.size() == 3 && parts[2] == "range")
        return key + " is the range the report prints and cannot be set";
    const std::string name = Upper(parts[1]);
    if (name == "IF_SEL") return key + " has no box in Advanced Engineer Data: set if instead";
    if (name == "CLOCK_SEL")
        return key + " has no box in Advanced Engineer Data: set crystal instead";
    if (name == "PLUG_VER")
        return key + " has no box in Advanced Engineer Data: set codeplugVersion instead";
    if (name == "PLUG_VER_MINOR")
        return key +
               " (the thousandths of the codeplug version) has no control in the engineer "
               "dialogs";
    return std::nullopt;
}

bool IsAdvancedValueKey(const std::vector<std::string>& parts) {
    return parts[0] == "advanced" &&
           (parts.size() == 2 || (parts.size() == 3 && parts[2] == "value"));
}

class Runner;
using Act = std::function<bool(Runner&)>;  // false: the run stops

struct Step {
    int rank;
    std::size_t order;
    Act act;
    EngineerChange change;
};

class Runner {
public:
    Runner(CEngineerDataDlg& dlg, EngineerScriptResult& result, ScriptPrompt& prompt,
           const ui::script::Options& options, const std::vector<EngineerChange>& changes)
        : dlg(dlg), result(result), prompt(prompt), options(options), changes(changes) {}

    bool Refuse(std::string why) {
        result.outcome = EngineerScriptResult::Outcome::Refused;
        if (result.error.empty()) {
            result.error = std::move(why);
            result.refusal = {current.key, current.value, true};
        }
        return false;
    }
    // A box refused while `d` was in front: names the field. A box that
    // asked for the focus drew it; when that is not the field of the change
    // being made, its stored value is what the dialog will not take.
    bool Blame(ui::CDialogModel& d) {
        result.outcome = EngineerScriptResult::Outcome::Refused;
        if (!result.error.empty()) return false;
        const int id = d.PendingFocus();
        const std::string key = KeyOfControl(id);
        if (!current.key.empty() && (key.empty() || id == currentId)) {
            result.error = current.key + ": \"" + current.value + "\" was refused";
            result.refusal = {current.key, current.value, true};
            return false;
        }
        if (key.empty()) return false;
        const std::string held = d.Text(id);
        const bool named = std::any_of(changes.begin(), changes.end(),
                                       [&](const EngineerChange& c) { return c.key == key; });
        result.error = key + " holds \"" + held + "\", which \"" + d.Caption() + "\" refuses" +
                       (named ? "" : " (no change names it: give it a value the dialog takes)");
        result.refusal = {key, held, named};
        return false;
    }
    bool Bad(std::string why) {
        result.outcome = EngineerScriptResult::Outcome::BadInput;
        result.error = std::move(why);
        return false;
    }
    // Boxes since the last look; true when one of them refused.
    bool RefusedNow() {
        bool refused = false;
        for (; seen < prompt.boxes.size(); ++seen) {
            result.messages.push_back(prompt.boxes[seen]);
            refused = refused || prompt.boxes[seen].refusal;
        }
        if (refused) result.outcome = EngineerScriptResult::Outcome::Refused;
        return refused;
    }
    bool Usable(ui::CDialogModel& d, int id, const std::string& key) {
        const ui::ControlState& c = d.Control(id);
        if (c.visible && c.enabled) return true;
        return Refuse(key + " cannot be changed now in \"" + d.Caption() + "\": its box is " +
                      (c.visible ? "disabled" : "not shown"));
    }
    bool Pick(int id, int entry, const std::string& key) {
        if (!Usable(dlg, id, key)) return false;
        currentId = id;
        dlg.ClearPendingFocus();
        dlg.SetSelectionFromUser(id, entry);
        return !RefusedNow() || Blame(dlg);
    }
    // Picks the entry `value` names in the box's list as it is now (in a
    // document, not when the box shows it already).
    bool PickNamed(int id, const std::string& value, const std::string& key) {
        const auto& items = dlg.Control(id).items;
        const int entry = FindEntry(items, value);
        if (entry < 0) {
            if (items.empty()) return Refuse(key + ": the list is empty for this band");
            return Bad(key + ": \"" + value + "\" is not one of " + JoinItems(items));
        }
        if (options.document && dlg.Text(id) == items[static_cast<std::size_t>(entry)]) return true;
        return Pick(id, entry, key);
    }
    bool Type(ui::CDialogModel& d, int id, const std::string& text, const std::string& key) {
        if (!Usable(d, id, key)) return false;
        currentId = id;
        d.FocusFromUser(id, true);
        d.ClearPendingFocus();
        d.SetTextFromUser(id, text);
        d.FocusFromUser(id, false);
        return !RefusedNow() || Blame(d);
    }

    CEngineerDataDlg& dlg;
    EngineerScriptResult& result;
    ScriptPrompt& prompt;
    const ui::script::Options& options;
    const std::vector<EngineerChange>& changes;
    EngineerChange current;  // the change being made; empty at OK
    int currentId = 0;       // the control it works
    std::size_t seen = 0;
};

CodeplugContext& Ctx() {
    return CodeplugContext::Get();
}

// A model-number field: skipped when it already holds the code, otherwise
// the entry that stores it is picked.
Act ModelField(std::string key, int id, int (CModelNumber::*get)() const, int code, int entry,
               std::string notOffered) {
    return [=](Runner& r) {
        if ((r.dlg.m_modelNumber.*get)() == code) return true;
        if (entry < 0) return r.Refuse(key + ": " + notOffered);
        return r.Pick(id, entry, key);
    };
}

// `always`: the key names this list, so its entry is picked (and its
// handler runs) even when the list shows it already, unless a document asks
// only for what it shows. Otherwise the list is one part of a model number.
Act BandStep(std::string key, int band, bool always) {
    return [=](Runner& r) {
        if (Ctx().band == band && (!always || r.options.document)) return true;
        return r.Pick(IDC_RADIO_BAND, band == 0 ? 0 : band - 1, key);
    };
}

Act FreqCountStep(std::string key, int frequencies, bool always) {
    return [=](Runner& r) {
        if (r.dlg.m_modelNumber.GetFrequencies() == frequencies && (!always || r.options.document))
            return true;
        return r.Pick(IDC_FREQ_COUNT, frequencies, key);
    };
}

// Adds the steps of one change (or, for a field without a control, the
// check after the run), or fills `result` and returns false.
bool AddSteps(const EngineerChange& c, std::size_t order, std::vector<Step>& steps,
              std::vector<Step>& advanced, std::vector<EngineerChange>& compares,
              const ui::script::Options& options, EngineerScriptResult& result) {
    const std::string& key = c.key;
    const std::string& value = c.value;
    const auto add = [&](int rank, Act act) { steps.push_back({rank, order, std::move(act), c}); };
    const auto bad = [&](std::string why) {
        result.outcome = EngineerScriptResult::Outcome::BadInput;
        result.error = key + ": \"" + value + "\" " + why;
        return false;
    };
    if (const auto why = NoControl(key)) {
        if (options.fieldValue) {
            compares.push_back(c);
            return true;
        }
        result.outcome = EngineerScriptResult::Outcome::Refused;
        result.error = *why;
        result.refusal = {key, value, true};
        return false;
    }
    if (key == "band") {
        const auto band = ParseBand(value);
        if (!band) return bad("is not a band: 0 (A01 - LOW), 2 (A03 - VHF) or 3 (A04 - UHF)");
        add(kBandRank, BandStep(key, *band, true));
    } else if (key == "subBand") {
        // By the entry's text or its letter, in the list of the band as it is
        // when the step runs.
        add(kSplitRank, [key, value](Runner& r) {
            std::string v = Trim(value);
            for (const auto& item : r.dlg.Control(IDC_BAND_SPLIT).items)
                if (Upper(v) == Upper(item.substr(0, item.find(':')))) v = item;
            return r.PickNamed(IDC_BAND_SPLIT, v, key);
        });
    } else if (key == "subBandIndex") {
        const auto code = SmallNumber(Trim(value), 0, 31);
        if (!code) return bad("is not a band-split code");
        add(kSplitRank, [key, code = *code](Runner& r) {
            const int band = Ctx().band;
            if (HasBandTables(band) && Ctx().subBand == code && r.options.document) return true;
            const auto& items = r.dlg.Control(IDC_BAND_SPLIT).items;
            for (int i = 0; i < static_cast<int>(items.size()); ++i)
                if (SplitCodeOfEntry(band, i) == code) return r.Pick(IDC_BAND_SPLIT, i, key);
            return r.Refuse(key + ": band split " + std::to_string(code) +
                            " is not offered for band " + BandName(band));
        });
    } else if (key == "model") {
        const auto m = ParseModel(value);
        if (!m) return bad("is not a model number such as A03XLT9239AC or A03XLT9239AC_SP01");
        add(kBandRank, BandStep(key, m->band, false));
        add(kSpRank, [key, sp = m->sp](Runner& r) {
            if (r.dlg.m_modelNumber.GetSp() == sp) return true;
            return r.Pick(IDC_SP, sp, key);
        });
        add(kModelRank, ModelField(key, IDC_MODEL, &CModelNumber::GetFamily, m->family, 0, ""));
        add(kModulationRank,
            ModelField(key, IDC_MODULATION, &CModelNumber::GetModulation, m->modulation,
                       m->modulation == 5   ? 0
                       : m->modulation == 7 ? 1
                                            : -1,
                       "modulation 2 (NVb/NSV) is shown but not offered in the Modulation list"));
        add(kCodingRank,
            ModelField(key, IDC_CODING, &CModelNumber::GetCoding, m->coding,
                       m->coding == 0 ? 0 : -1, "the Coding list offers only \"2 - Two Tone\""));
        add(kFreqCountRank, FreqCountStep(key, m->frequencies, false));
        add(kRevisionRank, ModelField(key, IDC_REVISION, &CModelNumber::GetRevision, m->revision,
                                      m->revision, ""));
        add(kBatteryRank,
            ModelField(key, IDC_BATTERY, &CModelNumber::GetBattery, m->battery, m->battery, ""));
    } else if (key == "twoFrequency") {
        const auto two = ParseTwoFrequency(value);
        if (!two) return bad("is not true or false");
        add(kFreqCountRank, FreqCountStep(key, *two ? 1 : 0, true));
    } else if (key == "serial") {
        const auto s = ParseSerial(value);
        if (!s) return bad("is not a serial number such as 136WJA0001");
        add(kSiteRank, [key, site = s->site](Runner& r) {
            if (r.dlg.m_serialNumber.GetSite() == site) return true;
            // The one site the list offers, "Bresmar", is site code 2.
            if (site != 2) return r.Refuse(key + ": the MFG Site list offers only Bresmar (W)");
            return r.Pick(IDC_MFG_SITE, 0, key);
        });
        add(kYearRank, [key, year = s->year](Runner& r) {
            if (r.dlg.m_serialNumber.GetYear() == year) return true;
            int entry = 0;
            while (YearCodeOfEntry(entry) != year) ++entry;  // every code has an entry
            return r.Pick(IDC_BUILD_YEAR, entry, key);
        });
        add(kMonthRank, [key, period = s->period](Runner& r) {
            if (r.dlg.m_serialNumber.GetPeriod() == period) return true;
            return r.Pick(IDC_BUILD_MONTH, period, key);
        });
        add(kUnitRank, [key, unit = s->unit](Runner& r) {
            if (r.dlg.m_serialNumber.UnitText() == unit) return true;
            return r.Type(r.dlg, IDC_UNIT_NUMBER, unit, key);
        });
    } else if (key == "crystal") {
        add(kXtalRank, [key, value](Runner& r) { return r.PickNamed(IDC_XTAL, value, key); });
    } else if (key == "if") {
        add(kIfRank, [key, value](Runner& r) { return r.PickNamed(IDC_IF, value, key); });
    } else if (key == "storedVoiceIc") {
        add(kStoredVoiceRank,
            [key, value](Runner& r) { return r.PickNamed(IDC_STORED_VOICE, value, key); });
    } else if (key == "codeplugVersion") {
        // `show` prints the version with its thousandths (the companion
        // byte), which no control changes: they must stay as they are.
        std::string whole = Trim(value);
        std::optional<int> thousandths;
        if (const auto dot = whole.find('.'); dot != std::string::npos) {
            const std::string frac = whole.substr(dot + 1);
            if (frac.empty() || frac.size() > 3 ||
                !std::all_of(frac.begin(), frac.end(),
                             [](char ch) { return ch >= '0' && ch <= '9'; }))
                return bad("is not a codeplug version such as 3 or 3.007");
            thousandths = std::stoi(frac) * (frac.size() == 1 ? 100 : frac.size() == 2 ? 10 : 1);
            whole.resize(dot);
        }
        add(kVersionRank, [key, whole, thousandths](Runner& r) {
            if (thousandths && *thousandths != r.dlg.m_plugVersion[1]) {
                char now[8];
                std::snprintf(now, sizeof now, ".%03d", r.dlg.m_plugVersion[1]);
                return r.Refuse(key +
                                ": only the whole part has a control (CodePlug Version); "
                                "the thousandths stay " +
                                now);
            }
            return r.Type(r.dlg, IDC_PLUG_VERSION, whole, key);
        });
    } else if (const auto parts = SplitKey(key); IsAdvancedValueKey(parts)) {
        int n = 0;
        const CAdvancedEngineerDlg::Param* p = FindAdvancedParam(parts[1], &n);
        if (!p) {
            result.outcome = EngineerScriptResult::Outcome::BadInput;
            result.error = "unknown key '" + key + "' (calvex set --help lists the keys)";
            return false;
        }
        advanced.push_back({kAdvancedRank + n, order,
                            [key, id = p->id, value](Runner& r) {
                                return r.Type(r.dlg.m_advancedDlg, id, Trim(value), key);
                            },
                            c});
    } else {
        result.outcome = EngineerScriptResult::Outcome::BadInput;
        result.error = "unknown key '" + key + "' (calvex set --help lists the keys)";
        return false;
    }
    return true;
}

void SortSteps(std::vector<Step>& steps) {
    std::stable_sort(steps.begin(), steps.end(),
                     [](const Step& a, const Step& b) { return a.rank < b.rank; });
}

}  // namespace

bool EngineerScript::Handles(const std::string& key) {
    static const char* const kKeys[] = {
        "model",        "serial",    "band",         "subBand",          "subBandIndex",
        "crystal",      "if",        "injection",    "referenceDivider", "codeplugVersion",
        "pagerVersion", "toneClock", "twoFrequency", "storedVoiceIc"};
    for (const char* k : kKeys)
        if (key == k) return true;
    const auto parts = SplitKey(key);
    return parts[0] == "advanced" && parts.size() >= 2 && parts.size() <= 3 &&
           (FindAdvancedParam(parts[1], nullptr) || IsBlockField(parts[1]));
}

std::vector<EngineerKeyHelp> EngineerScript::Help() {
    std::vector<EngineerKeyHelp> help = {
        {"band", "0 (A01 - LOW), 2 (A03 - VHF), 3 (A04 - UHF); resets split A, IF, F1 and F2"},
        {"subBand", "a Band Split entry or its letter, e.g. B; sets F1 and F2 to its defaults"},
        {"subBandIndex", "split code: LOW and VHF 0-3, UHF 0-2, 4-6, 8-12"},
        {"model",
         "e.g. A03XLT9239AC, A03XLT7238BA_SP01 (band, modulation 7/9, 38/39, "
         "revision A-D, battery C/A, SP)"},
        {"twoFrequency", "true (39 - Two Freqs), false (38 - One Freq: F2 becomes 0)"},
        {"serial", "e.g. 136WJA0001: site W, build year and half-month letters, unit 0000-Z999"},
        {"crystal", "3.579545, 3.578545 (sets SP to 0 or 1)"},
        {"if", "the band's IF: 14.575 (LOW), 21.4 (VHF), 45 (UHF); F1 and F2 keep their MHz"},
        {"codeplugVersion", "0 to 255 (the whole part; the thousandths stay)"},
        {"storedVoiceIc", "ISD5116"},
    };
    for (const auto& g : CAdvancedEngineerDlg::Groups())
        for (const auto& p : g.params)
            help.push_back({std::string("advanced.") + CAdvancedData::Info(p.field).name,
                            std::to_string(p.lo) + " to " + std::to_string(p.hi)});
    return help;
}

bool EngineerScript::Logon(const std::string& password) {
    CEngineerLogonDlg logon;
    logon.OnInitDialog();
    logon.SetTextFromUser(IDC_PASSWORD, password);
    logon.ClickFromUser(ui::IDOK);
    return logon.Conclude();
}

EngineerScriptResult EngineerScript::Apply(CCodeplug& plug,
                                           const std::vector<EngineerChange>& changes,
                                           const ui::script::Options& options) {
    EngineerScriptResult result;
    std::vector<Step> steps, advanced;
    std::vector<EngineerChange> compares;
    for (std::size_t i = 0; i < changes.size(); ++i)
        if (!AddSteps(changes[i], i, steps, advanced, compares, options, result)) return result;
    SortSteps(steps);
    SortSteps(advanced);

    CCodeplug work = plug;
    CEngineerDataDlg dlg;
    ScriptPrompt prompt;
    dlg.SetPrompt(&prompt);
    Runner run(dlg, result, prompt, options, changes);
    const auto runStep = [&](Step& s) {
        run.current = s.change;
        run.currentId = 0;
        const bool ok = s.act(run);
        run.current = {};
        return ok;
    };
    const auto confirm = [&](ui::CDialogModel& d, const char* why) {
        d.ClearPendingFocus();
        d.ClickFromUser(ui::IDOK);
        const bool refused = run.RefusedNow();
        if (!refused && d.PendingEnd() == ui::IDOK) return true;
        run.Blame(d);
        return run.Refuse(why);
    };
    bool advancedOk = false;
    dlg.SetAdvancedRunner([&](CAdvancedEngineerDlg& adv, std::function<void(bool)> done) {
        adv.OnInitDialog();
        bool ok = true;
        for (Step& s : advanced)
            if (!(ok = runStep(s))) break;
        if (ok) ok = confirm(adv, "Advanced Engineer Data refused OK");
        adv.ClearPendingEnd();
        advancedOk = ok;
        done(ok);
    });

    dlg.Load(work);
    dlg.OnInitDialog();
    for (Step& s : steps)
        if (!runStep(s)) return result;
    if (!advanced.empty()) {
        dlg.ClickFromUser(IDC_ADVANCED);
        if (!advancedOk) return result;
    }
    if (!confirm(dlg, "Engineer Data refused OK")) return result;
    dlg.Store(work);
    // Fields without a control hold what was asked, or the run is refused.
    for (const EngineerChange& c : compares) {
        const auto now = options.fieldValue(work, c.key);
        if (now && Lower(Trim(*now)) == Lower(Trim(c.value))) continue;
        result.outcome = EngineerScriptResult::Outcome::Refused;
        result.refusal = {c.key, c.value, true};
        result.error = *NoControl(c.key) + (now ? " (it holds \"" + *now + "\")" : "");
        return result;
    }
    plug = work;
    return result;
}
