#pragma once
// "Falsing Alert Adjustment": a three-position slider that puts one of three
// fixed presets of nine decoder parameters into the advanced block.
#include <array>

#include "codeplug/CAdvancedData.h"
#include "codeplug/CCodeplug.h"
#include "ui/CDialogModel.h"

class CFalsingAlertDlg : public ui::CDialogModel {
public:
    static constexpr const char* kExplanation =
        "This mechanism is designed to reduce falsing. \nBy increasing the level here, falsing "
        "can be eliminited. \nBut the higer the level is, the lower the tone decode sensivity "
        "shall be. Please do not select Level 2 if it works on Level 1.";
    static constexpr const char* kNoPresetNote =
        "The decoder settings of this codeplug match none of these levels; OK replaces them "
        "with the level chosen here.";
    static constexpr int kPresetCount = 3;
    static constexpr int kPresetFields = 9;

    struct PresetValue {
        CAdvancedData::Field field;
        std::array<int, kPresetCount> values;  // Default, Level 1, Level 2
    };
    static const std::array<PresetValue, kPresetFields>& Presets();
    // The first preset whose nine values all match the block; -1 for none.
    static int MatchingPreset(const CAdvancedData& block);
    // Position 1 and 2 put Level 1 and Level 2, any other the Default values.
    static void ApplyPreset(CAdvancedData& block, int position);

    CFalsingAlertDlg();

    // Copies the block from the codeplug and sets the position from it.
    void Load(const CCodeplug& plug);
    // The chosen preset into the block, then the whole block into the codeplug.
    void Store(CCodeplug& plug) const;

    CAdvancedData m_block;
    int m_position = 0;
    bool m_matchesPreset = true;

    void OnInitDialog() override;
    bool OnOK() override;
};
