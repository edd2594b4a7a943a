#include "editor/pages/CModelOption.h"

#include <cmath>
#include <vector>

#include "codeplug/CodeplugContext.h"
#include "codeplug/TextTable.h"
#include "ui/Prompt.h"

const CModelOption::Row CModelOption::kLayout[kRows] = {
    {"Stored Voice Function:", IDC_STORED_VOICE, 0, 0},
    {"Voice Memo:", IDC_VOICE_MEMO, 0, 0},
    {"Fixed Alert:", IDC_FIXED_ALERT, 0, 0},
    {"Priority Scan F1:", IDC_PRIORITY_SCAN, IDC_SCAN_TIME, IDC_SCAN_SEC},
    {"Alert Duration:", IDC_ALERT_DURATION, IDC_ALERT_TIME, IDC_ALERT_SEC},
    {"Call Reminder:", IDC_CALL_REMINDER, 0, 0},
    {"Priority Alert:", IDC_PRIORITY_ALERT, 0, 0},
    {"Privacy:", IDC_PRIVACY, 0, 0},
    {"Reset Function:", IDC_RESET_FUNCTION, IDC_RESET_TIME, IDC_RESET_SEC},
    {"Squelch Level:", IDC_SQUELCH, 0, IDC_SQUELCH_LEVEL},
};

namespace {

// Time units of the stored bytes and the ranges the edits accept.
constexpr double kScanUnit = 0.008;
constexpr double kScanLo = 0.064, kScanHi = 2.04;
constexpr double kHalfSecUnit = 0.48;
constexpr double kPerHalfSec = 2.0833333333333335;  // 1 / 0.48
constexpr double kHalfSecLo = 0.48, kHalfSecHi = 122.4;
// Scan times from this value on may miss the second tone of a call.
constexpr int kScanWarnFrom = 65;

// Repairs of stored times the pager cannot use.
constexpr int kScanBackMin = 8, kScanBackDefault = 64;
constexpr int kAlertTimeDefault = 7, kResetTimeDefault = 16;

// The list's entries in their order, with the nibble each one stores.
const char* const kSvEntries[] = {"15 Sec", "30 Sec", "60 Sec", "120 Sec", "Dynamic"};
constexpr int kSvNibbles[] = {1, 2, 4, 8, 0};

const std::vector<std::string> kOffOn = {"OFF", "ON"};

int FlagOf(int listId) {
    switch (listId) {
        case CModelOption::IDC_VOICE_MEMO:
            return CModelOptions::VOICE_MEMO;
        case CModelOption::IDC_FIXED_ALERT:
            return CModelOptions::FIXED_ALERT;
        case CModelOption::IDC_CALL_REMINDER:
            return CModelOptions::CALL_REMINDER;
        case CModelOption::IDC_PRIORITY_ALERT:
            return CModelOptions::PRIORITY_ALERT;
        case CModelOption::IDC_PRIVACY:
            return CModelOptions::PRIVACY;
        default:
            return -1;
    }
}

// A typed time in whole units, limited to lo..hi. The limits are applied to
// the product before it becomes an integer, so any huge value is safe.
int Units(double seconds, double perUnit, int lo, int hi) {
    const double d = seconds * perUnit;
    if (!(d >= lo)) return lo;  // also NaN
    if (d >= hi) return hi;
    return static_cast<int>(d);  // toward zero
}

}  // namespace

std::string CModelOption::StoredVoiceLabel(int nibble) {
    return CModelOptions::SvRecordTimeText(nibble);
}

CModelOption::CModelOption() : CPropertyPage(IDD, "Model Options") {
    for (int id : {IDC_VOICE_MEMO, IDC_FIXED_ALERT, IDC_PRIORITY_SCAN, IDC_CALL_REMINDER,
                   IDC_PRIORITY_ALERT, IDC_PRIVACY})
        SetItems(id, kOffOn);
    SetItems(IDC_ALERT_DURATION, {"STD", "FIXED"});
    for (int id : {IDC_SCAN_SEC, IDC_ALERT_SEC, IDC_RESET_SEC}) SetText(id, "Sec.");
    ui::ControlState& slider = Control(IDC_SQUELCH);
    slider.rangeMin = 1;
    slider.rangeMax = CSquelchSetting::kLevels;
    SetText(IDC_SQUELCH_LEVEL, "0");

    On(ui::Notify::SelChange, IDC_STORED_VOICE, [this] { OnSelChangeStoredVoice(); });
    for (int id :
         {IDC_VOICE_MEMO, IDC_FIXED_ALERT, IDC_CALL_REMINDER, IDC_PRIORITY_ALERT, IDC_PRIVACY})
        On(ui::Notify::SelChange, id, [this, id] { OnSelChangeFlag(id); });
    // Only shows the flag: a pick (possible only from a script) is undone.
    On(ui::Notify::SelChange, IDC_PRIORITY_SCAN, [this] {
        CommitPendingTimes();
        UpdateData(false);
    });
    On(ui::Notify::SelChange, IDC_ALERT_DURATION, [this] { OnSelChangeAlertDuration(); });
    On(ui::Notify::SelChange, IDC_RESET_FUNCTION, [this] { OnSelChangeResetFunction(); });
    On(ui::Notify::KillFocus, IDC_SCAN_TIME, [this] { OnKillFocusScanTime(); });
    On(ui::Notify::KillFocus, IDC_ALERT_TIME, [this] { OnKillFocusAlertTime(); });
    On(ui::Notify::KillFocus, IDC_RESET_TIME, [this] { OnKillFocusResetTime(); });
    On(ui::Notify::EditChange, IDC_SCAN_TIME, [this] { m_pendingScan = true; });
    On(ui::Notify::EditChange, IDC_ALERT_TIME, [this] { m_pendingAlert = true; });
    On(ui::Notify::EditChange, IDC_RESET_TIME, [this] { m_pendingReset = true; });
    On(ui::Notify::Scroll, IDC_SQUELCH, [this] { OnScrollSquelch(); });
}

void CModelOption::LoadFromRecords() {
    if (options.GetScanBack() < kScanBackMin) options.SetScanBack(kScanBackDefault);
    if (options.GetAlertTime() == 0) options.SetAlertTime(kAlertTimeDefault);
    if (options.GetResetTime() == 0) options.SetResetTime(kResetTimeDefault);
    m_pendingScan = m_pendingAlert = m_pendingReset = false;
    FillTexts();
}

void CModelOption::FillTexts() {
    if (StoredVoiceFitted()) {
        m_storedVoice = StoredVoiceLabel(options.GetSvRecordTime());
        m_voiceMemo = texts::OnOff(options.GetFlag(CModelOptions::VOICE_MEMO));
    } else {
        m_storedVoice = "OFF";
        m_voiceMemo = "OFF";
    }
    m_fixedAlert = texts::OnOff(options.GetFlag(CModelOptions::FIXED_ALERT));
    m_alertDuration = options.AlertDurationText();
    m_callReminder = texts::OnOff(options.GetFlag(CModelOptions::CALL_REMINDER));
    m_priorityAlert = texts::OnOff(options.GetFlag(CModelOptions::PRIORITY_ALERT));
    m_privacy = texts::OnOff(options.GetFlag(CModelOptions::PRIVACY));
    m_priorityScan = texts::OnOff(CodeplugContext::Get().priorityScan);
    const int reset = options.GetResetFunction();
    m_resetFunction = reset < CModelOptions::ResetFunctionCount()
                          ? CModelOptions::ResetFunctionText(reset)
                          : std::string(kUnknown);
    m_scanTime = options.GetScanBack() * kScanUnit;
    m_alertTime = options.GetAlertTime() * kHalfSecUnit;
    m_resetTime = options.GetResetTime() * kHalfSecUnit;
    m_squelchPos = squelch.GetLevel();
}

void CModelOption::OnInitDialog() {
    m_loadedSvNibble = options.GetSvRecordTime();
    m_loadedReset = options.GetResetFunction();
    m_pendingScan = m_pendingAlert = m_pendingReset = false;

    if (StoredVoiceFitted()) {
        std::vector<std::string> entries(std::begin(kSvEntries), std::end(kSvEntries));
        // A stored time without an entry gets one of its own, so it shows
        // and stays until the user picks another.
        if (StoredVoiceLabel(m_loadedSvNibble) == kUnknown) entries.push_back(kUnknown);
        SetItems(IDC_STORED_VOICE, entries);
        Enable(IDC_STORED_VOICE, true);
        Enable(IDC_VOICE_MEMO, true);
    } else {
        SetItems(IDC_STORED_VOICE, {"OFF"});
        Enable(IDC_STORED_VOICE, false);
        Enable(IDC_VOICE_MEMO, false);
    }
    Enable(IDC_PRIORITY_SCAN, false);

    std::vector<std::string> resets;
    for (int i = 0; i < CModelOptions::ResetFunctionCount(); ++i)
        resets.push_back(CModelOptions::ResetFunctionText(i));
    if (m_loadedReset >= CModelOptions::ResetFunctionCount()) resets.push_back(kUnknown);
    SetItems(IDC_RESET_FUNCTION, resets);

    FillTexts();
    ShowPriorityScan();
    ShowTimeFields();
    UpdateData(false);
}

bool CModelOption::OnSetActive() {
    // The Function Switches page may have changed the priority-scan flag.
    m_priorityScan = texts::OnOff(CodeplugContext::Get().priorityScan);
    ShowPriorityScan();
    UpdateData(false);
    return true;
}

bool CModelOption::OnKillActive() {
    CommitPendingTimes();
    return UpdateData(true);
}

void CModelOption::ShowPriorityScan() {
    const bool on = CodeplugContext::Get().priorityScan;
    Show(IDC_SCAN_TIME, on);
    Show(IDC_SCAN_SEC, on);
}

void CModelOption::ShowTimeFields() {
    const bool fixed = options.GetFlag(CModelOptions::ALERT_DURATION_FIXED);
    Show(IDC_ALERT_TIME, fixed);
    Show(IDC_ALERT_SEC, fixed);
    const bool timed = options.ResetFunctionHasTime();
    Show(IDC_RESET_TIME, timed);
    Show(IDC_RESET_SEC, timed);
}

void CModelOption::DoDataExchange(ui::DataExchange& dx) {
    dx.ComboText(IDC_STORED_VOICE, m_storedVoice);
    dx.ComboText(IDC_VOICE_MEMO, m_voiceMemo);
    dx.ComboText(IDC_FIXED_ALERT, m_fixedAlert);
    dx.ComboText(IDC_PRIORITY_SCAN, m_priorityScan);
    dx.ComboText(IDC_ALERT_DURATION, m_alertDuration);
    dx.ComboText(IDC_CALL_REMINDER, m_callReminder);
    dx.ComboText(IDC_PRIORITY_ALERT, m_priorityAlert);
    dx.ComboText(IDC_PRIVACY, m_privacy);
    dx.ComboText(IDC_RESET_FUNCTION, m_resetFunction);
    dx.Slider(IDC_SQUELCH, m_squelchPos);
    if (!dx.Saving()) SetText(IDC_SQUELCH_LEVEL, std::to_string(m_squelchPos));
    // The times last: a refused time must not keep the lists from being read.
    dx.Number(IDC_SCAN_TIME, m_scanTime);
    dx.MinMax(m_scanTime, kScanLo, kScanHi);
    dx.Number(IDC_ALERT_TIME, m_alertTime);
    dx.MinMax(m_alertTime, kHalfSecLo, kHalfSecHi);
    dx.Number(IDC_RESET_TIME, m_resetTime);
    dx.MinMax(m_resetTime, kHalfSecLo, kHalfSecHi);
}

// ---- lists ------------------------------------------------------------

void CModelOption::OnSelChangeStoredVoice() {
    CommitPendingTimes();
    const int sel = Selection(IDC_STORED_VOICE);
    if (StoredVoiceFitted() && IsEnabled(IDC_STORED_VOICE) && sel >= 0) {
        const std::string& entry = Control(IDC_STORED_VOICE).items[static_cast<size_t>(sel)];
        int nibble = m_loadedSvNibble;  // the "??" entry: the stored value
        for (std::size_t i = 0; i < std::size(kSvEntries); ++i)
            if (entry == kSvEntries[i]) nibble = kSvNibbles[i];
        options.SetSvRecordTime(nibble);
    }
    FillTexts();
    UpdateData(false);
}

void CModelOption::OnSelChangeFlag(int listId) {
    CommitPendingTimes();
    const int sel = Selection(listId);
    const int flag = FlagOf(listId);
    if (flag >= 0 && IsEnabled(listId) && (sel == 0 || sel == 1))
        options.SetFlag(static_cast<CModelOptions::Flag>(flag), sel == 1);
    FillTexts();
    UpdateData(false);
}

void CModelOption::OnSelChangeAlertDuration() {
    CommitPendingTimes();
    const int sel = Selection(IDC_ALERT_DURATION);
    if (sel == 0 || sel == 1) options.SetFlag(CModelOptions::ALERT_DURATION_FIXED, sel == 1);
    ShowTimeFields();
    FillTexts();
    UpdateData(false);
}

void CModelOption::OnSelChangeResetFunction() {
    CommitPendingTimes();
    const int sel = Selection(IDC_RESET_FUNCTION);
    if (sel >= 0) {
        int r = sel < CModelOptions::ResetFunctionCount() ? sel : m_loadedReset;
        if (CModelOptions::ResetFunctionHasTime(r) && !StoredVoiceFitted()) {
            ui::Prompt* prompt = GetPrompt();
            const bool yes = prompt && prompt->YesNo(kResetQuestion, kResetQuestionCaption);
            if (!yes) r = options.GetResetFunction();
        }
        options.SetResetFunction(r);
    }
    ShowTimeFields();
    FillTexts();
    UpdateData(false);
}

// ---- times ------------------------------------------------------------

bool CModelOption::ReadTime(int id, double& value, double lo, double hi) {
    ui::DataExchange dx(*this, true);
    dx.Number(id, value);
    dx.MinMax(value, lo, hi);
    return !dx.Failed();
}

void CModelOption::FinishTime(int id) {
    m_scanTime = options.GetScanBack() * kScanUnit;
    m_alertTime = options.GetAlertTime() * kHalfSecUnit;
    m_resetTime = options.GetResetTime() * kHalfSecUnit;
    // Only this field: another one may hold typing not yet taken.
    ui::DataExchange dx(*this, false);
    dx.Number(id, id == IDC_SCAN_TIME    ? m_scanTime
                  : id == IDC_ALERT_TIME ? m_alertTime
                                         : m_resetTime);
    Touch();
}

void CModelOption::OnKillFocusScanTime() {
    m_pendingScan = false;
    // A text that is no number leaves the time as it was; one out of range
    // has had its message and is limited below.
    double t = m_scanTime;
    ReadTime(IDC_SCAN_TIME, t, kScanLo, kScanHi);
    const int v = Units(t, 125.0, kScanBackMin, 255);
    options.SetScanBack(v);
    FinishTime(IDC_SCAN_TIME);
    if (v >= kScanWarnFrom) {
        if (ui::Prompt* prompt = GetPrompt())
            prompt->Ask(kScanWarning, kScanWarningCaption, ui::PromptIcon::Warning,
                        ui::PromptButtons::Ok);
    }
}

void CModelOption::OnKillFocusAlertTime() {
    m_pendingAlert = false;
    double t = m_alertTime;
    ReadTime(IDC_ALERT_TIME, t, kHalfSecLo, kHalfSecHi);
    options.SetAlertTime(Units(t, kPerHalfSec, 1, 255));
    FinishTime(IDC_ALERT_TIME);
}

void CModelOption::OnKillFocusResetTime() {
    m_pendingReset = false;
    double t = m_resetTime;
    ReadTime(IDC_RESET_TIME, t, kHalfSecLo, kHalfSecHi);
    options.SetResetTime(Units(t, kPerHalfSec, 1, 255));
    FinishTime(IDC_RESET_TIME);
}

void CModelOption::CommitPendingTimes() {
    // A time typed and not yet left is taken as if the user had left it.
    if (m_pendingScan) OnKillFocusScanTime();
    if (m_pendingAlert) OnKillFocusAlertTime();
    if (m_pendingReset) OnKillFocusResetTime();
}

// ---- squelch ----------------------------------------------------------

void CModelOption::OnScrollSquelch() {
    CommitPendingTimes();
    const int pos = Control(IDC_SQUELCH).position;
    // Position 0 (a pair of no level) changes nothing.
    if (pos >= 1 && pos <= CSquelchSetting::kLevels) squelch.SetLevel(pos);
    FillTexts();
    UpdateData(false);
}
