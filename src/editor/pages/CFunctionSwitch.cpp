#include "editor/pages/CFunctionSwitch.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "codeplug/CodeplugContext.h"
#include "editor/pages/SwitchFlags.h"

const CFunctionSwitch::PositionIds CFunctionSwitch::kPositionIds[kPositions] = {
    {"SW-A", 1325, 1287, 1320, 1291, 1292},
    {"SW-B", 1328, 1295, 1321, 1301, 1302},
    {"SW-C", 1329, 1303, 1322, 1309, 1310},
    {"SW-D", 1330, 1311, 1323, 1317, 1318},
};

namespace {

const std::vector<std::string> kAlertEntries = {"Tone", "Vibrate", "Tone & Vibrate"};
// Single-channel pagers offer two modes; entry n stands for this mode.
constexpr int kSingleChannelModes[] = {CSwitchSettings::MONITOR_F1,
                                       CSwitchSettings::SELECTIVE_CALL_F1};
constexpr int kModeCount = 7;
constexpr int kAlertVibrate = 2;
// Firmware 0.1 to 2.8 cannot run ON/OFF duty in Silent Scan; 0 (a codeplug
// from a file) is not known to be such a pager.
constexpr int kSilentDutyFirstOk = 29;

bool SameText(std::string a, std::string b) {
    auto norm = [](std::string& s) {
        auto blank = [](unsigned char c) { return std::isspace(c) != 0; };
        s.erase(s.begin(), std::find_if_not(s.begin(), s.end(), blank));
        s.erase(std::find_if_not(s.rbegin(), s.rend(), blank).base(), s.end());
        for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    };
    norm(a);
    norm(b);
    return a == b;
}

}  // namespace

std::string CFunctionSwitch::ModeName(int mode) {
    if (mode >= 0 && mode < kModeCount) return CSwitchSettings::ModeText(mode);
    return "Unknown (" + std::to_string(mode) + ")";
}

CFunctionSwitch::CFunctionSwitch() : CPropertyPage(IDD, "Function Switches") {
    for (int pos = 0; pos < kPositions; ++pos) {
        const PositionIds& ids = kPositionIds[pos];
        SetText(ids.wideBand, kWideBand);
        SetText(ids.duty, kDuty);
        SetText(ids.pushToListen, kPushToListen);
        SetItems(ids.alertType, kAlertEntries);
        On(ui::Notify::Clicked, ids.wideBand, [this, pos] { OnClickedWideBand(pos); });
        On(ui::Notify::Clicked, ids.duty, [this, pos] { OnClickedDuty(pos); });
        On(ui::Notify::Clicked, ids.pushToListen, [this, pos] { OnClickedPushToListen(pos); });
        On(ui::Notify::SelChange, ids.alertType, [this, pos] { OnSelChangeAlertType(pos); });
        On(ui::Notify::SelChange, ids.mode, [this, pos] { OnSelChangeMode(pos); });
        for (int id : {ids.mode, ids.alertType})
            On(ui::Notify::KillFocus, id, [this, id] { OnKillFocusList(id); });
    }
}

bool CFunctionSwitch::TwoChannel() const {
    return CodeplugContext::Get().twoFrequency;
}

void CFunctionSwitch::LoadFromRecord() {
    for (int pos = 0; pos < kPositions; ++pos) {
        m_wide[pos] = switches.GetWideBand(pos);
        m_mode[pos] = ModeName(switches.GetMode(pos));
        m_alert[pos] = CSwitchSettings::AlertTypeText(switches.GetAlertType(pos));
        m_duty[pos] = switches.GetDuty(pos);
        m_ptl[pos] = switches.GetPtl(pos);
    }
    Touch();
}

void CFunctionSwitch::OnInitDialog() {
    std::vector<std::string> modes;
    if (TwoChannel()) {
        for (int m = 0; m < kModeCount; ++m) modes.push_back(CSwitchSettings::ModeText(m));
    } else {
        for (int m : kSingleChannelModes) modes.push_back(CSwitchSettings::ModeText(m));
    }
    for (const PositionIds& ids : kPositionIds) SetItems(ids.mode, modes);

    for (int pos = 0; pos < kPositions; ++pos) {
        const bool ptl = switches.GetPtl(pos);
        // A mode without a name keeps its whole byte, alert type included,
        // until the user picks a mode.
        if (ptl && switches.GetMode(pos) < kModeCount) switches.SetAlertType(pos, kAlertVibrate);
        Enable(kPositionIds[pos].alertType, !ptl);
    }
    for (int pos = 0; pos < kPositions; ++pos) ApplyModeRule(pos);
    Refresh();
}

void CFunctionSwitch::ApplyModeRule(int pos) {
    const PositionIds& ids = kPositionIds[pos];
    const int mode = switches.GetMode(pos);
    switch (mode) {
        case CSwitchSettings::SELECTIVE_CALL_F1:
        case CSwitchSettings::SELECTIVE_CALL_F2:
        case CSwitchSettings::SILENT_SCAN: {
            Enable(ids.duty, true);
            Enable(ids.pushToListen, true);
            const int version = CodeplugContext::Get().pagerVersion;
            if (mode == CSwitchSettings::SILENT_SCAN && version >= 1 &&
                version < kSilentDutyFirstOk) {
                switches.SetDuty(pos, false);
                Enable(ids.duty, false);
            }
            break;
        }
        case CSwitchSettings::MONITOR_F1:
        case CSwitchSettings::MONITOR_F2:
        case CSwitchSettings::PROBABILITY_SCAN:
        case CSwitchSettings::PRIORITY_SCAN_F1:
            switches.SetDuty(pos, false);
            switches.SetPtl(pos, false);
            Enable(ids.duty, false);
            Enable(ids.pushToListen, false);
            Enable(ids.alertType, true);
            break;
        default:
            // A mode without a name: its byte stays as stored, and its boxes
            // wait until the user picks a mode.
            Enable(ids.duty, false);
            Enable(ids.pushToListen, false);
            break;
    }
}

void CFunctionSwitch::Refresh() {
    LoadFromRecord();
    UpdateData(false);
}

void CFunctionSwitch::DoDataExchange(ui::DataExchange& dx) {
    for (int pos = 0; pos < kPositions; ++pos) {
        const PositionIds& ids = kPositionIds[pos];
        dx.Check(ids.wideBand, m_wide[pos]);
        dx.ComboText(ids.mode, m_mode[pos]);
        dx.ComboText(ids.alertType, m_alert[pos]);
        dx.Check(ids.duty, m_duty[pos]);
        dx.Check(ids.pushToListen, m_ptl[pos]);
    }
}

bool CFunctionSwitch::OnKillActive() {
    CommitTyped();
    UpdateSwitchFlags(switches, CodeplugContext::Get());
    return true;
}

// ---- boxes -------------------------------------------------------------

void CFunctionSwitch::OnClickedWideBand(int pos) {
    CommitTyped();
    switches.SetWideBand(pos, Checked(kPositionIds[pos].wideBand));
    Refresh();
}

void CFunctionSwitch::OnClickedDuty(int pos) {
    CommitTyped();
    const int id = kPositionIds[pos].duty;
    // A greyed box cannot be ticked (only a script could try).
    if (IsEnabled(id)) switches.SetDuty(pos, Checked(id));
    Refresh();
}

void CFunctionSwitch::OnClickedPushToListen(int pos) {
    CommitTyped();
    const PositionIds& ids = kPositionIds[pos];
    if (IsEnabled(ids.pushToListen)) {
        const bool on = Checked(ids.pushToListen);
        switches.SetPtl(pos, on);
        // Push to listen alerts by vibration only; switched off, the list
        // is free again and keeps that alert type.
        if (on) switches.SetAlertType(pos, kAlertVibrate);
        Enable(ids.alertType, !on);
    }
    Refresh();
}

// ---- lists -------------------------------------------------------------

void CFunctionSwitch::OnSelChangeAlertType(int pos) {
    const int id = kPositionIds[pos].alertType;
    CommitTyped(id);
    SelectAlertType(pos, Selection(id));
    Refresh();
}

void CFunctionSwitch::OnSelChangeMode(int pos) {
    const int id = kPositionIds[pos].mode;
    CommitTyped(id);
    SelectMode(pos, Selection(id));
    Refresh();
}

void CFunctionSwitch::SelectAlertType(int pos, int entry) {
    const int id = kPositionIds[pos].alertType;
    if (IsEnabled(id) && entry >= 0 && entry < static_cast<int>(kAlertEntries.size()))
        switches.SetAlertType(pos, entry + 1);
}

void CFunctionSwitch::SelectMode(int pos, int entry) {
    const int id = kPositionIds[pos].mode;
    const int entries =
        TwoChannel() ? kModeCount : static_cast<int>(std::size(kSingleChannelModes));
    if (!IsEnabled(id) || entry < 0 || entry >= entries) return;
    switches.SetMode(pos, TwoChannel() ? entry : kSingleChannelModes[entry]);
    ApplyModeRule(pos);
}

bool CFunctionSwitch::Typed(int id) const {
    for (int pos = 0; pos < kPositions; ++pos) {
        if (id == kPositionIds[pos].mode) return Text(id) != m_mode[pos];
        if (id == kPositionIds[pos].alertType) return Text(id) != m_alert[pos];
    }
    return false;
}

void CFunctionSwitch::OnKillFocusList(int id) {
    if (!Typed(id)) return;
    CommitTyped();
    Refresh();
}

void CFunctionSwitch::CommitTyped(int except) {
    // Text naming an entry picks it; other text is dropped by the refresh
    // that ends every handler.
    for (int pos = 0; pos < kPositions; ++pos) {
        const PositionIds& ids = kPositionIds[pos];
        for (int id : {ids.mode, ids.alertType}) {
            if (id == except || !Typed(id)) continue;
            const ui::ControlState& c = Control(id);
            for (std::size_t i = 0; i < c.items.size(); ++i) {
                if (!SameText(c.text, c.items[i])) continue;
                if (id == ids.mode)
                    SelectMode(pos, static_cast<int>(i));
                else
                    SelectAlertType(pos, static_cast<int>(i));
                break;
            }
        }
    }
}
