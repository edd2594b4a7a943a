#pragma once
// "Model Options": stored voice, voice memo, alerts, privacy, the reset
// function with its time, the priority scan time and the squelch level. The
// page works on the two records the sheet fills before it opens; the records
// are the truth, the texts and times only show them.
#include <string>

#include "codeplug/CModelOptions.h"
#include "codeplug/CSquelchSetting.h"
#include "ui/CPropertyPage.h"

class CModelOption : public ui::CPropertyPage {
public:
    enum : int {
        IDD = 110,
        IDC_STORED_VOICE = 1097,
        IDC_FIXED_ALERT = 1098,
        IDC_PRIORITY_SCAN = 1099,
        IDC_ALERT_DURATION = 1100,
        IDC_CALL_REMINDER = 1101,
        IDC_PRIORITY_ALERT = 1102,
        IDC_PRIVACY = 1103,
        IDC_RESET_FUNCTION = 1104,
        IDC_VOICE_MEMO = 1105,
        IDC_ALERT_TIME = 1106,
        IDC_RESET_TIME = 1107,
        IDC_SCAN_TIME = 1108,
        IDC_SCAN_SEC = 1179,
        IDC_ALERT_SEC = 1180,
        IDC_RESET_SEC = 1181,
        IDC_SQUELCH = 1165,
        IDC_SQUELCH_LEVEL = 1182,
    };

    // One row of the page, top to bottom: its label, its list (or the
    // slider), the time edit beside it and the static after them ("Sec.",
    // or the squelch level number); 0 = none.
    struct Row {
        const char* label;
        int control;
        int timeEdit;
        int secStatic;
    };
    static constexpr int kRows = 10;
    static const Row kLayout[kRows];

    // Text shown for a stored value that no entry stands for; it is kept
    // until the user picks an entry.
    static constexpr char kUnknown[] = "??";
    static constexpr char kScanWarning[] = "Scan time > 512ms may miss the second tone";
    static constexpr char kScanWarningCaption[] = "Scan Warning";
    static constexpr char kResetQuestion[] =
        "Programming a pager's Reset Function with time delay, \nwhile a pager does not support "
        "Stored Voice function, \nmay cause interference. \n\nDo you want to continue "
        "programming?";
    static constexpr char kResetQuestionCaption[] = "Model Option";

    CModelOption();

    // Filled by the sheet (OPTION_FLAGS bit 7 already says whether stored
    // voice is fitted); read back on OK.
    CModelOptions options;
    CSquelchSetting squelch;

    // Takes texts, times and the squelch position from the records, first
    // repairing stored times the pager cannot use.
    void LoadFromRecords();

    void OnInitDialog() override;
    bool OnSetActive() override;
    bool OnKillActive() override;

    // Handlers (bound to the controls' notifications).
    void OnSelChangeStoredVoice();
    void OnSelChangeFlag(int listId);
    void OnSelChangeAlertDuration();
    void OnSelChangeResetFunction();
    void OnKillFocusScanTime();
    void OnKillFocusAlertTime();
    void OnKillFocusResetTime();
    void OnScrollSquelch();

    bool StoredVoiceFitted() const { return options.GetFlag(CModelOptions::SV_FITTED); }
    double ScanTime() const { return m_scanTime; }
    double AlertTime() const { return m_alertTime; }
    double ResetTime() const { return m_resetTime; }
    int SquelchPosition() const { return m_squelchPos; }

    // Text of a stored-voice time nibble ("??" for values without an entry).
    static std::string StoredVoiceLabel(int nibble);

protected:
    void DoDataExchange(ui::DataExchange& dx) override;

private:
    void FillTexts();
    void ShowPriorityScan();
    void ShowTimeFields();
    // Reads one time edit with its range check; false when refused (the
    // message has been shown).
    bool ReadTime(int id, double& value, double lo, double hi);
    void FinishTime(int id);
    void CommitPendingTimes();

    std::string m_storedVoice, m_voiceMemo, m_fixedAlert, m_priorityScan, m_alertDuration,
        m_callReminder, m_priorityAlert, m_privacy, m_resetFunction;
    double m_alertTime = 0, m_resetTime = 0, m_scanTime = 0;
    int m_squelchPos = 0;
    // Values loaded without an entry of their own, restored when the user
    // picks their "??" entry again.
    int m_loadedSvNibble = 0, m_loadedReset = 0;
    // Time edits typed into and not yet taken.
    bool m_pendingScan = false, m_pendingAlert = false, m_pendingReset = false;
};
