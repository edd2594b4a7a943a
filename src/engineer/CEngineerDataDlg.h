#pragma once
// "Engineer Data": the factory fields of the codeplug (model and serial
// records, IF byte, crystal, stored-voice chip, codeplug version and, through
// "&Advanced", the advanced block). It works on copies taken when it opens
// and writes them back, in a fixed order, only when it is closed with OK.
#include <array>
#include <functional>
#include <string>

#include "codeplug/CAdvancedData.h"
#include "codeplug/CCodeplug.h"
#include "codeplug/CModelNumber.h"
#include "codeplug/CRxFrequency.h"
#include "codeplug/CSerialNumber.h"
#include "engineer/CAdvancedEngineerDlg.h"
#include "ui/CDialogModel.h"
#include "ui/DataExchange.h"

class CEngineerDataDlg : public ui::CDialogModel {
public:
    static constexpr const char* kSpWarning =
        "Changing from one SP to another involves hardware changes.\nPlease make sure you have "
        "changed the hardward correctly \nand the corresponding hardware values are "
        "changed!\n\nNote: The SP and the hardware value may not be synchronized";
    static constexpr const char* kSpWarningCaption = "SP warning";
    static constexpr const char* kBadUnit = "Please enter a valid Unit ID number.";
    static constexpr const char* kBadUnitCaption = "TarnixHXR";

    CEngineerDataDlg();

    // Takes the working copies from the codeplug and sets the current band
    // and band split (and the crystal selector) of CodeplugContext from its
    // model number.
    void Load(const CCodeplug& plug);
    // Writes the working copies back: model number, serial number, IF byte,
    // F1 and F2, crystal index, stored voice IC, codeplug version, and last
    // the advanced block, which carries the IF byte, crystal index and
    // version as edited here.
    void Store(CCodeplug& plug) const;

    // Receive frequencies of the working copies, MHz, for the current band.
    double FrequencyMHz(Channel ch) const;

    void OnInitDialog() override;
    bool OnOK() override;

    void DoDataExchange(ui::DataExchange& dx);
    bool UpdateData(bool save);
    // Text members from the working copies, then shown.
    void Refresh();

    // Runs the Advanced Engineer Data dialog; `done(true)` after its OK.
    using AdvancedRunner = std::function<void(CAdvancedEngineerDlg&, std::function<void(bool)>)>;
    void SetAdvancedRunner(AdvancedRunner runner) { m_runAdvanced = std::move(runner); }

    // Working copies.
    CModelNumber m_modelNumber;
    CSerialNumber m_serialNumber;
    Byte m_ifByte = 0;
    std::array<Byte, 2> m_plugVersion{};  // version and its companion byte
    int m_crystalIndex = 0;               // low 4 bits of CLOCK_SEL
    int m_storedVoice = 0;                // SYSTEM_SEL bits 2-0
    CRxFrequency::Record m_rxF1{};
    CRxFrequency::Record m_rxF2{};
    CAdvancedData m_advanced;
    int m_toneSystem = 0;  // of the open codeplug, for Restore Default

    // Text members of the controls.
    std::string m_bandText, m_bandSplitText, m_spText, m_modelText, m_modulationText, m_codingText,
        m_freqCountText, m_revisionText, m_batteryText, m_warrantyText, m_siteText, m_yearText,
        m_monthText, m_unitText, m_xtalText, m_ifText, m_storedVoiceText;
    int m_codeplugVersion = 0;

    CAdvancedEngineerDlg m_advancedDlg;

private:
    void FillBandLists(int band);
    void SetFrequencies(double f1, double f2);
    void SetIfByteKeepingFrequencies(Byte ifByte);

    void OnSelChangeBand();
    void OnSelChangeBandSplit();
    void OnSelChangeSp();
    void OnSelChangeFreqCount();
    void OnSelChangeXtal();
    void OnSelChangeIf();
    void OnEditChangeUnit();
    void OnKillFocusUnit();
    void OnKillFocusVersion();
    void OnAdvanced();
    // Unit number text into the serial number; the message when it is not one.
    bool ParseUnit();

    AdvancedRunner m_runAdvanced;
    bool m_checking = false;
};
