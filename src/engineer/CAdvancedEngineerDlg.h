#pragma once
// "Advanced Engineer Data": every parameter of the advanced block as a
// number, checked against its range when its box loses the focus and on OK.
// It edits a copy of the block (the Engineer Data dialog's), never the
// codeplug itself.
#include <array>
#include <span>
#include <string>

#include "codeplug/CAdvancedData.h"
#include "ui/CDialogModel.h"
#include "ui/DataExchange.h"

class CAdvancedEngineerDlg : public ui::CDialogModel {
public:
    struct Param {
        CAdvancedData::Field field;
        int id;                  // edit box
        const char* label;       // "SCAN_BACK:"
        int lo, hi;              // accepted range
        const char* rangeLabel;  // "(Rng 8-225, Inc 8ms)"
        int restoreDefault;
    };
    struct Group {
        const char* title;  // "Tone Settings"
        std::span<const Param> params;
    };
    static constexpr int kParamCount = 32;
    static constexpr int kFastPlectronRfOffDuty = 44;

    // Groups in dialog order (each top to bottom).
    static std::span<const Group> Groups();
    static const Param* FindParam(int id);

    CAdvancedEngineerDlg();

    // Tone system code of the open codeplug; Restore Default depends on it.
    int m_toneSystem = 0;

    // Members from the block, field by field.
    void LoadFrom(const CAdvancedData& block);
    // Members into their fields of the block; every other bit stays.
    void StoreInto(CAdvancedData& block) const;

    int Value(int id) const;

    void OnInitDialog() override;
    bool OnOK() override;

    void DoDataExchange(ui::DataExchange& dx);
    // Save (controls -> members, checked) or load; false when a check failed.
    bool UpdateData(bool save);

private:
    void OnKillFocusField(int id);
    void OnRestoreDefault();
    int& Member(int id);

    std::array<int, kParamCount> m_values{};
    bool m_checking = false;
};
