#pragma once
// "Function Switches": mode, alert type, wide band, ON/OFF duty and push to
// listen for each of the four switch positions. The switch record is the
// truth; the texts and boxes only show it. Leaving the page derives the
// flags the other pages read.
//
// The Mode and Alert Type lists have an edit field. Text typed there counts
// when the field is left: text naming an entry (case aside) picks that entry;
// any other text is dropped and the field shows the stored value again, so
// the screen never shows something that will not be stored.
#include <array>
#include <string>

#include "codeplug/CSwitchSettings.h"
#include "ui/CPropertyPage.h"

class CFunctionSwitch : public ui::CPropertyPage {
public:
    enum : int { IDD = 111 };

    // The controls of one switch position.
    struct PositionIds {
        const char* title;  // group box
        int wideBand;
        int mode;
        int alertType;
        int duty;
        int pushToListen;
    };
    static constexpr int kPositions = CSwitchSettings::kPositions;
    static const PositionIds kPositionIds[kPositions];

    static constexpr char kWideBand[] = "Wide Band";
    static constexpr char kDuty[] = "Enable ON/OFF Duty";
    static constexpr char kPushToListen[] = "Push To Listen";

    CFunctionSwitch();

    // Filled by the sheet from SWITCH_A .. SWITCH_D; read back on OK.
    CSwitchSettings switches;

    // Takes the texts and boxes from the record.
    void LoadFromRecord();

    void OnInitDialog() override;
    bool OnKillActive() override;

    // Handlers, by position 0 to 3.
    void OnClickedWideBand(int pos);
    void OnClickedDuty(int pos);
    void OnClickedPushToListen(int pos);
    void OnSelChangeAlertType(int pos);
    void OnSelChangeMode(int pos);
    // Leaving a list's edit field: takes or drops what was typed there.
    void OnKillFocusList(int id);

    // Name shown for a stored mode (one without a name shows its number).
    static std::string ModeName(int mode);

private:
    bool TwoChannel() const;
    void ApplyModeRule(int pos);
    void Refresh();
    // Takes the text typed into the lists' edit fields (all but `except`).
    void CommitTyped(int except = 0);
    bool Typed(int id) const;
    void SelectMode(int pos, int entry);
    void SelectAlertType(int pos, int entry);

    std::array<std::string, kPositions> m_mode, m_alert;
    std::array<int, kPositions> m_wide{}, m_duty{}, m_ptl{};

protected:
    void DoDataExchange(ui::DataExchange& dx) override;
};
