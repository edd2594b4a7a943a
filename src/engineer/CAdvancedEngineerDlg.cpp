#include "engineer/CAdvancedEngineerDlg.h"

#include <algorithm>

#include "codeplug/CodeplugContext.h"
#include "engineer/EngineerIds.h"

using namespace engineer;
using A = CAdvancedData;
using P = CAdvancedEngineerDlg::Param;

namespace {

constexpr const char* kRng01 = "(Rng 0/1)";
constexpr const char* kRng015 = "(Rng 0-15)";
constexpr const char* kRng255 = "(Rng 1-255)";
constexpr const char* kRngBattery = "(Rng 1-255, Inc 6v/256)";
constexpr const char* kRngSquelch = "(Rng 1-255, Inc 3v/256)";

// clang-format off
constexpr P kTone[] = {
    {A::TUNE_PAR_B7, IDC_TUNE_PAR_B7, "TUNE_PAR_B7:", 0, 1, kRng01, 1},
    {A::TUNE_PAR_B6, IDC_TUNE_PAR_B6, "TUNE_PAR_B6:", 0, 1, kRng01, 0},
    {A::TUNE_PAR_L, IDC_TUNE_PAR_L, "TUNE_PAR_L:", 0, 15, kRng015, 0},
    {A::MEASURE_MODE, IDC_MEASURE_MODE, "MEASURE_MODE:", 0, 1, kRng01, 0},
    {A::BANDWIDTH, IDC_BANDWIDTH, "BANDWIDTH:", 0, 15, kRng015, 3},
    {A::SAMPLE_DUR, IDC_SAMPLE_DUR, "SAMPLE_DUR:", 1, 15, "(Rng 1-15, Inc 20ms)", 6},
    {A::T1D, IDC_T1D, "T1D:", 1, 127, "(Rng 1-127, Inc 20ms)", 10},
    {A::T1D_CNT, IDC_T1D_CNT, "T1D_CNT:", 1, 255, kRng255, 1},
    {A::GAP_TOL, IDC_GAP_TOL, "GAP_TOL:", 1, 255, "(Rng 1-255, Inc 10ms)", 101},
    {A::LONG_DUR, IDC_LONG_DUR, "LONG_DUR:", 1, 255, "(Rng 1-255, Inc 60ms)", 91},
    {A::T2D, IDC_T2D, "T2D:", 1, 127, "(Rng 1-127, Inc 20ms)", 10},
    {A::T2D_CNT, IDC_T2D_CNT, "T2D_CNT:", 1, 255, kRng255, 1},
    {A::GB_WEIGHT_GOOD, IDC_GB_WEIGHT_GOOD, "GB_WEIGHT_GOOD:", 1, 255, kRng255, 2},
    {A::GB_WEIGHT_BAD, IDC_GB_WEIGHT_BAD, "GB_WEIGHT_BAD:", 1, 255, kRng255, 1},
    {A::GOOD_BAD_RADIO, IDC_GOOD_BAD_RATIO, "GOOD/BAD_RATIO:", 1, 255, kRng255, 32},
    {A::GOOD_BAD_RADIO2, IDC_GOOD_BAD_RATIO2, "GOOD/BAD_RATIO2:", 1, 255, kRng255, 32},
    {A::RATIO_END, IDC_RATIO_END, "RATIO_END:", 0, 255, kRng255, 14},
    {A::END_TONE_DUR, IDC_END_TONE_DUR, "END_TONE_DUR:", 1, 255, "(Rng 1-255, Inc 20ms)", 15},
};
constexpr P kOther[] = {
    {A::SCAN_BACK, IDC_SCAN_BACK, "SCAN_BACK:", 8, 255, "(Rng 8-225, Inc 8ms)", 64},
    {A::PRE_STABLE, IDC_PRE_STABLE, "PRE_STABLE:", 1, 255, "(Rng 1-255, Inc 4ms)", 15},
    {A::RF_OFF_DUTY, IDC_RF_OFF_DUTY, "RF_OFF_DUTY:", 1, 255, "(Rng 1-255, Inc 4ms)", 107},
};
constexpr P kBattery[] = {
    {A::BAT_LVL_0, IDC_BAT_LVL_0, "BAT_LVL_0:", 1, 255, kRngBattery, 157},
    {A::BAT_LVL_1, IDC_BAT_LVL_1, "BAT_LVL_1:", 1, 255, kRngBattery, 149},
    {A::BAT_LVL_2, IDC_BAT_LVL_2, "BAT_LVL_2:", 1, 255, kRngBattery, 140},
    {A::BAT_LVL_3, IDC_BAT_LVL_3, "BAT_LVL_3:", 1, 255, kRngBattery, 161},
    {A::BAT_LVL_4, IDC_BAT_LVL_4, "BAT_LVL_4:", 1, 255, kRngBattery, 153},
    {A::BAT_LVL_5, IDC_BAT_LVL_5, "BAT_LVL_5:", 1, 255, kRngBattery, 145},
    {A::BAT_GAUGE_PERI, IDC_BAT_GAUGE_PERI, "BAT_GAUGE_PERI:", 1, 255, "(Rng 1-255, Inc 60ms)", 100},
};
constexpr P kSquelch[] = {
    {A::SQ_V10_LVL, IDC_SQ_V10_LVL, "SQ_V10_LVL:", 1, 255, kRngSquelch, 25},
    {A::SQ_V4_LVL, IDC_SQ_V4_LVL, "SQ_V4_LVL:", 1, 255, kRngSquelch, 50},
    {A::SQ_ON, IDC_SQ_ON, "SQ_ON:", 1, 15, "(Rng 1-15)", 1},
    {A::SQ_OFF, IDC_SQ_OFF, "SQ_OFF:", 1, 15, "(Rng 1-15)", 5},
};
// clang-format on

constexpr CAdvancedEngineerDlg::Group kGroups[] = {
    {"Tone Settings", kTone},
    {"Other Settings", kOther},
    {"Battery Settings", kBattery},
    {"Squelch Settings", kSquelch},
};

// The parameters in one run, with their slot in the member array.
template <typename F>
void ForEachParam(F&& f) {
    int slot = 0;
    for (const auto& g : kGroups)
        for (const P& p : g.params) f(p, slot++);
}

// A byte member as the framework reads it: anything but a whole number from
// 0 to 255 gets the byte message; then the parameter's own range.
void ByteField(ui::DataExchange& dx, int id, int& value, int lo, int hi) {
    std::string text = std::to_string(value);
    dx.Text(id, text);
    if (!dx.Saving() || dx.Failed()) return;
    int v = 0;
    if (!ui::ParseFrameworkInt(text, v) || v < 0 || v > 255) {
        dx.Fail(id, ui::IntRangeMessage(0, 255));
        return;
    }
    value = v;
    dx.MinMax(value, lo, hi);
}

}  // namespace

std::span<const CAdvancedEngineerDlg::Group> CAdvancedEngineerDlg::Groups() {
    return kGroups;
}

const CAdvancedEngineerDlg::Param* CAdvancedEngineerDlg::FindParam(int id) {
    const Param* found = nullptr;
    ForEachParam([&](const Param& p, int) {
        if (p.id == id) found = &p;
    });
    return found;
}

CAdvancedEngineerDlg::CAdvancedEngineerDlg()
    : CDialogModel(IDD_ADVANCED_ENGINEER, "Advanced Engineer Data") {
    Control(ui::IDOK).text = "OK";
    Control(ui::IDCANCEL).text = "Cancel";
    Control(IDC_RESTORE_DEFAULT).text = "Restore Default";
    ForEachParam([this](const Param& p, int) {
        const int id = p.id;
        On(ui::Notify::KillFocus, id, [this, id] { OnKillFocusField(id); });
    });
    On(ui::Notify::Clicked, IDC_RESTORE_DEFAULT, [this] { OnRestoreDefault(); });
}

int& CAdvancedEngineerDlg::Member(int id) {
    int* found = &m_values[0];
    ForEachParam([&](const Param& p, int slot) {
        if (p.id == id) found = &m_values[slot];
    });
    return *found;
}

int CAdvancedEngineerDlg::Value(int id) const {
    return const_cast<CAdvancedEngineerDlg*>(this)->Member(id);
}

void CAdvancedEngineerDlg::LoadFrom(const CAdvancedData& block) {
    ForEachParam([&](const Param& p, int slot) { m_values[slot] = block.Get(p.field); });
}

void CAdvancedEngineerDlg::StoreInto(CAdvancedData& block) const {
    ForEachParam([&](const Param& p, int slot) { block.Set(p.field, m_values[slot]); });
}

void CAdvancedEngineerDlg::DoDataExchange(ui::DataExchange& dx) {
    ForEachParam(
        [&](const Param& p, int slot) { ByteField(dx, p.id, m_values[slot], p.lo, p.hi); });
}

bool CAdvancedEngineerDlg::UpdateData(bool save) {
    ui::DataExchange dx(*this, save);
    DoDataExchange(dx);
    return !dx.Failed();
}

void CAdvancedEngineerDlg::OnInitDialog() {
    UpdateData(false);
}

bool CAdvancedEngineerDlg::OnOK() {
    // Stays open while a box holds a value outside its range.
    return UpdateData(true);
}

void CAdvancedEngineerDlg::OnKillFocusField(int id) {
    // The range message takes the focus from the next box too: that loss
    // must not check (and complain) a second time.
    if (m_checking) return;
    m_checking = true;
    const auto old = m_values;
    if (!UpdateData(true)) m_values = old;
    UpdateData(false);
    m_checking = false;
}

void CAdvancedEngineerDlg::OnRestoreDefault() {
    ForEachParam([&](const Param& p, int slot) { m_values[slot] = p.restoreDefault; });
    if (m_toneSystem == TONE_FAST_PLECTRON) Member(IDC_RF_OFF_DUTY) = kFastPlectronRfOffDuty;
    UpdateData(false);
}
