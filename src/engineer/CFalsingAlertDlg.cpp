#include "engineer/CFalsingAlertDlg.h"

#include "engineer/EngineerIds.h"

using namespace engineer;
using A = CAdvancedData;

const std::array<CFalsingAlertDlg::PresetValue, CFalsingAlertDlg::kPresetFields>&
CFalsingAlertDlg::Presets() {
    static const std::array<PresetValue, kPresetFields> presets = {{
        {A::GB_WEIGHT_GOOD, {2, 2, 1}},
        {A::GB_WEIGHT_BAD, {1, 1, 2}},
        {A::GOOD_BAD_RADIO, {32, 54, 27}},
        {A::T1D, {10, 15, 15}},
        {A::GOOD_BAD_RADIO2, {32, 170, 150}},
        {A::T2D, {10, 40, 68}},
        {A::RATIO_END, {14, 14, 7}},
        {A::RF_OFF_DUTY, {107, 82, 82}},
        {A::GAP_TOL, {101, 25, 25}},
    }};
    return presets;
}

int CFalsingAlertDlg::MatchingPreset(const CAdvancedData& block) {
    for (int level = 0; level < kPresetCount; ++level) {
        bool all = true;
        for (const PresetValue& p : Presets()) all = all && block.Get(p.field) == p.values[level];
        if (all) return level;
    }
    return -1;
}

void CFalsingAlertDlg::ApplyPreset(CAdvancedData& block, int position) {
    const int level = position == 1 || position == 2 ? position : 0;
    for (const PresetValue& p : Presets()) block.Set(p.field, p.values[level]);
}

CFalsingAlertDlg::CFalsingAlertDlg() : CDialogModel(IDD_FALSING_ALERT, "Falsing Alert Adjustment") {
    Control(ui::IDOK).text = "OK";
    Control(ui::IDCANCEL).text = "Cancel";
}

void CFalsingAlertDlg::Load(const CCodeplug& plug) {
    m_block.Load(plug);
    const int level = MatchingPreset(m_block);
    m_matchesPreset = level >= 0;
    m_position = m_matchesPreset ? level : 0;
}

void CFalsingAlertDlg::Store(CCodeplug& plug) const {
    CAdvancedData block = m_block;
    ApplyPreset(block, m_position);
    block.Store(plug);
}

void CFalsingAlertDlg::OnInitDialog() {
    ui::ControlState& slider = Control(IDC_FALSING_LEVEL);
    slider.rangeMin = 0;
    slider.rangeMax = kPresetCount - 1;
    SetPosition(IDC_FALSING_LEVEL, m_position);
    // The slider alone would claim "Default" for tuned values that OK is
    // about to overwrite: say so.
    SetText(IDC_FALSING_NO_PRESET, m_matchesPreset ? "" : kNoPresetNote);
    Show(IDC_FALSING_NO_PRESET, !m_matchesPreset);
}

bool CFalsingAlertDlg::OnOK() {
    m_position = Control(IDC_FALSING_LEVEL).position;
    return true;
}
