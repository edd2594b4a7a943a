#pragma once
// "Channel F1" and "Channel F2": one receive channel's frequency, coding
// option and calls. The coding option decides which calls the page shows and
// which tones calls share; typed frequencies and tones go through the
// frequency and tone rules before they reach the channel record.
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "codeplug/CChannelData.h"
#include "codeplug/CModelNumber.h"
#include "editor/ToneRules.h"
#include "editor/pages/CToneTableDlg.h"
#include "editor/pages/CodingPattern.h"
#include "ui/CPropertyPage.h"

// One call row of the page: its label and control ids (0 where the row has
// no such control).
struct ChannelRow {
    const char* label;
    int tone1, pick1, tone2, pick2, csLabel, alert, duty;
};

class CChannelPage : public ui::CPropertyPage {
public:
    enum : int {
        IDC_BAND_SPLIT = 1248,
        IDC_CLEAR_ALL_TONES = 1344,
    };
    static constexpr int kRows = CodingPattern::kRows;

    // Calls 1-8, then group calls 1-4.
    static const std::array<ChannelRow, kRows>& Rows();
    // Edit and "..." button of a tone field in page order; 0 outside 0-19.
    static int ToneFieldId(int field);
    static int PickButtonId(int field);
    // Tone field of an edit id, -1 for other controls.
    static int FieldOfToneId(int id);
    // Column headings and list entries.
    static const char* const kHeadings[5];
    static const char* const kDutyNames[2];

    // Filled by the sheet before the run, read back after OK.
    CChannelData record;
    CModelNumber model;

    // Display values from the record, once it is filled.
    void PrepareChannelPage();
    // After the run: frequency, tones and labels are emptied.
    void ClearDisplay();

    // Shows a picker modally; true when it was closed with OK.
    using PickerRunner = std::function<bool(CToneTableDlg&)>;
    void SetPickerRunner(PickerRunner runner) { m_runner = std::move(runner); }

    int FrequencyId() const { return m_frequencyId; }
    int CodingOptionId() const { return m_codingId; }
    int DutyTextId() const { return m_dutyTextId; }
    // "F1:" or "F2:".
    const char* FrequencyLabel() const { return m_frequencyLabel; }

    // Notification handlers (bound to the controls; public so that tests and
    // scripts can name them).
    void AcceptReceiverFrequency();
    void ChangeCodingOption();
    // `previous` is what the field held before the edit (for a pick: before
    // the picker opened); a refused tone goes back to it.
    void ApplyToneChange(int field, double previous);
    void PickTone(int field);
    void ClearAllTones();
    void OnSelChangeAlert(int row);
    void OnSelChangeDuty(int row);

    // Page display values.
    double Frequency() const { return m_frequency; }
    double Tone(int field) const;
    // The field takes typed or picked tones under the record's coding option.
    bool ToneFieldEditable(int field) const;
    // The tone the field shows when the page comes forward: its slot's (a
    // shared field its source's), 0 for a call the option does not use.
    double ShownTone(int field) const;
    // The picker a field uses under a tone system, made on first use; null
    // for "User" and unknown systems.
    CToneTableDlg* Picker(int toneSystem, int field);

    void OnInitDialog() override;
    bool OnSetActive() override;

protected:
    CChannelPage(int idd, const char* caption, const char* frequencyLabel, int frequencyId,
                 int codingId, int dutyTextId);
    // The duty availability flag of this channel.
    virtual bool DutyAvailable() const = 0;
    void DoDataExchange(ui::DataExchange& dx) override;

private:
    const CodingPattern& Pattern() const { return PatternOf(record.GetCodingOption()); }
    // Saves all fields; the control that refused, 0 when all passed.
    int ReadFields();
    // The record's tone codes as they stand.
    CChannelData::Slots SlotCodes() const;
    // The slot whose tone a field shows: a shared field its source's.
    int ShownSlot(int field) const;
    // True when the field still shows the tone of its slot's code under
    // "User" (so that code must stay).
    bool ShowsItsCode(int field) const;
    void ExchangeNumber(ui::DataExchange& dx, int id, double& value, bool tone);
    void FillTones();
    void FillLabels();
    void FillCallSettings();
    void ShowPattern();
    void RestoreText(int id, double value, bool tone);

    const char* m_frequencyLabel;
    int m_frequencyId, m_codingId, m_dutyTextId;

    double m_frequency = 0.0;
    std::string m_bandSplit;
    int m_codingSel = -1;
    std::string m_dutyText;
    ToneFieldValues m_tones{};
    std::array<std::string, kRows> m_labels;
    std::array<int, kRows> m_dutySel{};
    std::array<int, kRows> m_alertSel{};

    PickerRunner m_runner;
    std::array<std::array<std::unique_ptr<CToneTableDlg>, kToneFields>, CToneTableDlg::kToneSets>
        m_pickers;
    // A message box or picker is up: focus changes it causes are not edits.
    bool m_busy = false;
};
