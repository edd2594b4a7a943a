#include "codeplug/CAdvancedData.h"
#include "engineer/CEngineerDataDlg.h"
#include "engineer/EngineerFixture.h"
#include "engineer/EngineerIds.h"
#include "ui/DataExchange.h"

using namespace engineer;

namespace {

class EngineerDataTest : public EngineerFixture {
protected:
    void SetUp() override {
        EngineerFixture::SetUp();
        dlg.SetPrompt(&prompt);
        // "&Advanced" runs its dialog through this script.
        dlg.SetAdvancedRunner([this](CAdvancedEngineerDlg& adv, std::function<void(bool)> done) {
            adv.OnInitDialog();
            if (advancedScript) advancedScript(adv);
            done(adv.PendingEnd() == ui::IDOK);
            adv.ClearPendingEnd();
        });
    }
    void Open() {
        dlg.Load(plug);
        dlg.OnInitDialog();
    }
    void Pick(int id, int index) { dlg.SetSelectionFromUser(id, index); }
    void Type(int id, const std::string& text) {
        dlg.SetTextFromUser(id, text);
        dlg.FocusFromUser(id, false);
    }
    // OK; on success the write-back as the view does it.
    bool Ok() {
        dlg.ClickFromUser(ui::IDOK);
        if (dlg.PendingEnd() != ui::IDOK) return false;
        dlg.ClearPendingEnd();
        dlg.Store(plug);
        return true;
    }
    double F(Channel ch) const { return dlg.FrequencyMHz(ch); }
    int Band() const { return CodeplugContext::Get().band; }

    CCodeplug plug = MakePlug();
    CEngineerDataDlg dlg;
    std::function<void(CAdvancedEngineerDlg&)> advancedScript;
};

TEST_F(EngineerDataTest, OpensWithTheStoredCodesAndTheBandsLists) {
    Open();
    EXPECT_EQ(dlg.Caption(), "Engineer Data");
    EXPECT_EQ(dlg.Text(IDC_RADIO_BAND), "A03 - VHF");
    EXPECT_EQ(dlg.Text(IDC_BAND_SPLIT), "B: 151 - 158.9975 MHz");
    EXPECT_EQ(dlg.Selection(IDC_BAND_SPLIT), 1);
    EXPECT_EQ(dlg.Control(IDC_BAND_SPLIT).items.size(), 4u);
    EXPECT_EQ(dlg.Control(IDC_IF).items, std::vector<std::string>{"21.4"});
    EXPECT_EQ(dlg.Control(IDC_XTAL).items.size(), 2u);
    EXPECT_EQ(dlg.Text(IDC_IF), "21.4");
    EXPECT_EQ(dlg.Text(IDC_XTAL), "3.579545");
    EXPECT_EQ(dlg.Text(IDC_SP), "0");
    EXPECT_EQ(dlg.Text(IDC_MODULATION), "9 - SV");
    EXPECT_EQ(dlg.Text(IDC_FREQ_COUNT), "39 - Two Freqs");
    EXPECT_EQ(dlg.Text(IDC_MFG_SITE), "W - Bresmar");  // no list entry of that spelling
    EXPECT_EQ(dlg.Selection(IDC_MFG_SITE), -1);
    EXPECT_EQ(dlg.Text(IDC_BUILD_YEAR), "J - 2008");
    EXPECT_EQ(dlg.Text(IDC_BUILD_MONTH), "D - 2nd Feb.");
    EXPECT_EQ(dlg.Text(IDC_UNIT_NUMBER), "1234");
    EXPECT_EQ(dlg.Text(IDC_PLUG_VERSION), "3");
    EXPECT_EQ(dlg.Text(IDC_STORED_VOICE), "?");  // SYSTEM_SEL bits 2-0 of the sample
    EXPECT_FALSE(dlg.Control(IDC_WARRANTY).visible);
    EXPECT_FALSE(dlg.Control(IDC_WARRANTY_LABEL).visible);
    EXPECT_DOUBLE_EQ(F(F1), 154.9875);
    EXPECT_EQ(Band(), 2);
    EXPECT_EQ(CodeplugContext::Get().subBand, 1);
}

TEST_F(EngineerDataTest, UnitNumbersAreParsedOnLeavingTheBox) {
    Open();
    Type(IDC_UNIT_NUMBER, "0000");
    EXPECT_EQ(dlg.m_serialNumber.GetUnitNumber(), 0);
    Type(IDC_UNIT_NUMBER, "Z999");
    EXPECT_EQ(dlg.m_serialNumber.GetUnitNumber(), 33999);
    EXPECT_TRUE(prompt.Records().empty());
    for (const char* bad : {"I000", "O123", "12A4", "123", "12345", ""}) {
        prompt.Clear();
        Type(IDC_UNIT_NUMBER, bad);
        EXPECT_EQ(dlg.Text(IDC_UNIT_NUMBER), "Z999") << bad;
        EXPECT_EQ(dlg.m_serialNumber.GetUnitNumber(), 33999) << bad;
        ASSERT_EQ(prompt.Records().size(), 1u) << bad;
        EXPECT_EQ(prompt.Records()[0].text, "Please enter a valid Unit ID number.");
        EXPECT_EQ(prompt.Records()[0].caption, "TarnixHXR");
        EXPECT_EQ(prompt.Records()[0].icon, ui::PromptIcon::Error);
    }
    // Letters become capitals as they are typed.
    dlg.SetTextFromUser(IDC_UNIT_NUMBER, "a12");
    EXPECT_EQ(dlg.Text(IDC_UNIT_NUMBER), "A12");
    Type(IDC_UNIT_NUMBER, "a123");
    EXPECT_EQ(dlg.m_serialNumber.GetUnitNumber(), 10123);
    EXPECT_EQ(dlg.Text(IDC_UNIT_NUMBER), "A123");
}

TEST_F(EngineerDataTest, TheTypedCodeplugVersionSurvivesOk) {
    Open();
    Type(IDC_PLUG_VERSION, "42");
    ASSERT_TRUE(Ok());
    EXPECT_EQ(plug.GetImage()[0x0CF], 42);
    EXPECT_EQ(plug.GetImage()[0x0D0], 7);  // the companion byte stays
    // Enter straight from the box, without leaving it.
    Open();
    EXPECT_EQ(dlg.Text(IDC_PLUG_VERSION), "42");
    dlg.SetTextFromUser(IDC_PLUG_VERSION, "43");
    ASSERT_TRUE(Ok());
    EXPECT_EQ(plug.GetImage()[0x0CF], 43);
}

TEST_F(EngineerDataTest, AVersionOutsideItsRangeIsRefusedWithTheFrameworkMessage) {
    Open();
    Type(IDC_PLUG_VERSION, "256");
    EXPECT_EQ(dlg.Text(IDC_PLUG_VERSION), "3");
    ASSERT_EQ(prompt.Records().size(), 1u);
    EXPECT_EQ(prompt.Records()[0].text, "Please enter an integer between 0 and 255.");
    EXPECT_EQ(prompt.Records()[0].caption, "Calvex V HXR");
    EXPECT_EQ(dlg.PendingFocus(), IDC_PLUG_VERSION);
    Type(IDC_PLUG_VERSION, "v2");
    EXPECT_EQ(prompt.Records().back().text, "Please enter an integer.");
    EXPECT_EQ(dlg.Text(IDC_PLUG_VERSION), "3");
    // OK with a bad value stays in the dialog.
    dlg.SetTextFromUser(IDC_PLUG_VERSION, "-1");
    dlg.ClickFromUser(ui::IDOK);
    EXPECT_EQ(dlg.PendingEnd(), 0);
    EXPECT_EQ(plug.GetImage()[0x0CF], 3);
}

TEST_F(EngineerDataTest, BandChangeToLowSetsItsDefaultsWhateverFreqSays) {
    Open();
    Pick(IDC_FREQ_COUNT, 0);  // one frequency
    Pick(IDC_RADIO_BAND, 0);
    EXPECT_EQ(Band(), 0);
    EXPECT_EQ(dlg.m_modelNumber.GetBand(), 0);
    EXPECT_EQ(dlg.m_modelNumber.GetModulation(), 5);
    EXPECT_EQ(dlg.Text(IDC_MODULATION), "7 - NSV");
    EXPECT_EQ(dlg.m_modelNumber.GetSubBand(), 0);
    EXPECT_EQ(dlg.Text(IDC_BAND_SPLIT), "A: 33 - 36.995 MHz");
    EXPECT_EQ(dlg.Control(IDC_IF).items, std::vector<std::string>{"14.575"});
    EXPECT_EQ(dlg.Text(IDC_IF), "14.575");
    EXPECT_EQ(dlg.m_ifByte, 0x10);
    EXPECT_DOUBLE_EQ(F(F1), 35.125);
    EXPECT_DOUBLE_EQ(F(F2), 36.995);
    // A pick made earlier without a refresh keeps its name.
    EXPECT_EQ(dlg.Text(IDC_FREQ_COUNT), "38 - One Freq");
    ASSERT_TRUE(Ok());
    CModelNumber stored;
    stored.Load(plug);
    EXPECT_EQ(stored.ModelText(), "A01XLT7238AC");
    EXPECT_EQ(plug.GetIfByte(), 0x10);
    EXPECT_EQ(plug.GetAdvanced()[1], 0x10);
    EXPECT_DOUBLE_EQ(CRxFrequency::Decode(plug.GetRxRecord(F2), 0, 0x10), 36.995);
}

TEST_F(EngineerDataTest, BandSplitAndFreqCountSetTheDefaults) {
    plug = MakePlug(3, 0, 0x42);
    Open();
    EXPECT_EQ(dlg.Control(IDC_BAND_SPLIT).items.size(), 11u);
    Pick(IDC_BAND_SPLIT, 3);  // "D: 450 - 457.9875 MHz", split code 4
    EXPECT_EQ(dlg.m_modelNumber.GetSubBand(), 4);
    EXPECT_EQ(CodeplugContext::Get().subBand, 4);
    EXPECT_DOUBLE_EQ(F(F1), 454.0125);
    EXPECT_DOUBLE_EQ(F(F2), 457.9875);
    Pick(IDC_FREQ_COUNT, 0);
    EXPECT_EQ(F(F2), 0.0);
    EXPECT_EQ(dlg.m_modelNumber.GetFrequencies(), 0);
    Pick(IDC_FREQ_COUNT, 1);
    EXPECT_DOUBLE_EQ(F(F2), 457.9875);
    Pick(IDC_BAND_SPLIT, 10);
    EXPECT_EQ(dlg.m_modelNumber.GetSubBand(), 12);
    EXPECT_EQ(dlg.Text(IDC_BAND_SPLIT), "L: 504 - 512.0000 MHz");
    EXPECT_DOUBLE_EQ(F(F1), 508.0125);
}

TEST_F(EngineerDataTest, UnknownSplitCodesAndBandsLeaveFrequenciesAlone) {
    // VHF with split code 9: no such split.
    CModelNumber model;
    model.SetBand(2);
    model.SetSubBand(9);
    plug.SetModelNumber(model.GetBytes());
    Open();
    EXPECT_EQ(dlg.Text(IDC_BAND_SPLIT), "???");
    Pick(IDC_FREQ_COUNT, 1);
    EXPECT_DOUBLE_EQ(F(F2), 158.9975);
    // Band code 5: empty lists, band split picks change nothing.
    model.SetBand(5);
    model.SetSubBand(1);
    plug.SetModelNumber(model.GetBytes());
    Open();
    EXPECT_EQ(dlg.Text(IDC_RADIO_BAND), "???");
    EXPECT_TRUE(dlg.Control(IDC_BAND_SPLIT).items.empty());
    EXPECT_TRUE(dlg.Control(IDC_IF).items.empty());
    EXPECT_TRUE(dlg.Control(IDC_XTAL).items.empty());
    const auto f1 = dlg.m_rxF1, f2 = dlg.m_rxF2;
    Pick(IDC_BAND_SPLIT, 0);
    Pick(IDC_FREQ_COUNT, 0);
    EXPECT_EQ(dlg.m_rxF1, f1);
    EXPECT_EQ(dlg.m_rxF2, f2);
    EXPECT_EQ(dlg.m_modelNumber.GetSubBand(), 1);
}

TEST_F(EngineerDataTest, BuildYearStoresTheCodeOfTheYearItNames) {
    Open();
    Pick(IDC_BUILD_YEAR, 0);
    EXPECT_EQ(dlg.m_serialNumber.GetYear(), 5);
    EXPECT_EQ(dlg.Text(IDC_BUILD_YEAR), "F - 2005");
    Pick(IDC_BUILD_YEAR, 11);
    EXPECT_EQ(dlg.m_serialNumber.GetYear(), 0);
    ASSERT_TRUE(Ok());
    Open();
    EXPECT_EQ(dlg.Text(IDC_BUILD_YEAR), "S - 2016");
    EXPECT_EQ(dlg.Selection(IDC_BUILD_YEAR), 11);
    Pick(IDC_MFG_SITE, 0);
    Pick(IDC_BUILD_MONTH, 23);
    Pick(IDC_MODULATION, 0);
    Pick(IDC_REVISION, 3);
    Pick(IDC_BATTERY, 1);
    ASSERT_TRUE(Ok());
    CSerialNumber serial;
    serial.Load(plug);
    EXPECT_EQ(serial.SerialText(), "136WSZ1234");
    CModelNumber model;
    model.Load(plug);
    EXPECT_EQ(model.ModelText(), "A03XLT7239DA");
}

TEST_F(EngineerDataTest, CrystalAndSpFollowEachOther) {
    Open();
    Pick(IDC_XTAL, 1);
    EXPECT_EQ(dlg.m_crystalIndex, 1);
    EXPECT_EQ(dlg.m_modelNumber.GetSp(), 1);
    EXPECT_EQ(dlg.Text(IDC_SP), "1");
    EXPECT_EQ(dlg.Text(IDC_XTAL), "3.578545");
    EXPECT_TRUE(prompt.Records().empty());
    Pick(IDC_XTAL, 0);
    EXPECT_EQ(dlg.Text(IDC_XTAL), "3.579545");
    // SP shows its warning first, then moves the crystal selector, not the
    // stored crystal index.
    Pick(IDC_SP, 1);
    ASSERT_EQ(prompt.Records().size(), 1u);
    EXPECT_EQ(prompt.Records()[0].text, CEngineerDataDlg::kSpWarning);
    EXPECT_EQ(prompt.Records()[0].caption, "SP warning");
    EXPECT_EQ(prompt.Records()[0].icon, ui::PromptIcon::Warning);
    EXPECT_EQ(dlg.Text(IDC_XTAL), "3.578545");
    EXPECT_EQ(dlg.m_crystalIndex, 0);
    Pick(IDC_SP, 15);
    EXPECT_EQ(dlg.Text(IDC_XTAL), "3.579545");
    ASSERT_TRUE(Ok());
    CModelNumber model;
    model.Load(plug);
    EXPECT_EQ(model.GetSp(), 15);
    // Only the low nibble of the crystal byte is the index.
    EXPECT_EQ(plug.GetImage()[0x0B5], (MakePlug().GetImage()[0x0B5] & 0xF0) | 0);
}

TEST_F(EngineerDataTest, IfPickKeepsTheFrequenciesTheEngineerSees) {
    plug = MakePlug(2, 1, 0x31);  // VHF with high-side injection
    plug.SetRxRecord(F1, CRxFrequency::Encode(154.9875, 2, 0x31));
    Open();
    EXPECT_DOUBLE_EQ(F(F1), 154.9875);
    Pick(IDC_IF, 0);
    EXPECT_EQ(dlg.m_ifByte, 0x21);
    EXPECT_DOUBLE_EQ(F(F1), 154.9875);
    EXPECT_DOUBLE_EQ(F(F2), 158.9975);
    ASSERT_TRUE(Ok());
    EXPECT_EQ(plug.GetIfByte(), 0x21);
    EXPECT_DOUBLE_EQ(CRxFrequency::Decode(plug.GetRxRecord(F1), 2, 0x21), 154.9875);
}

TEST_F(EngineerDataTest, OkWritesEverythingInOrderKeepingOtherBits) {
    // Every advanced parameter inside its range, or the Advanced OK stays.
    CAdvancedData valid;
    valid.Load(plug);
    for (const auto& g : CAdvancedEngineerDlg::Groups())
        for (const auto& p : g.params) valid.Set(p.field, p.restoreDefault);
    valid.Store(plug);
    const Image before = plug.GetImage();
    Open();
    advancedScript = [](CAdvancedEngineerDlg& adv) {
        adv.SetTextFromUser(IDC_SQ_ON, "15");
        adv.SetTextFromUser(IDC_SQ_OFF, "15");
        adv.SetTextFromUser(IDC_SCAN_BACK, "200");
        adv.ClickFromUser(ui::IDOK);
    };
    dlg.ClickFromUser(IDC_ADVANCED);
    Pick(IDC_XTAL, 1);
    Pick(IDC_STORED_VOICE, 0);
    Type(IDC_PLUG_VERSION, "9");
    ASSERT_TRUE(Ok());
    const Image& img = plug.GetImage();
    EXPECT_EQ(img[0x0CE], 0xFF);
    EXPECT_EQ(img[0x0B2], 200);
    EXPECT_EQ(img[0x0CF], 9);
    EXPECT_EQ(img[0x0B5], (before[0x0B5] & 0xF0) | 1);
    EXPECT_EQ(img[0x098], before[0x098] & 0xF8);
    // Bytes outside the dialog's fields never move.
    for (std::size_t i = 0x010; i < 0x098; ++i) ASSERT_EQ(img[i], before[i]) << i;
    for (std::size_t i = 0x0D2; i < 0x0F8; ++i) ASSERT_EQ(img[i], before[i]) << i;
    for (std::size_t i = 0x100; i < 0x200; ++i) ASSERT_EQ(img[i], before[i]) << i;
}

TEST_F(EngineerDataTest, CancelWritesNothingEvenAfterAdvancedOk) {
    const Image before = plug.GetImage();
    Open();
    advancedScript = [](CAdvancedEngineerDlg& adv) {
        adv.ClickFromUser(IDC_RESTORE_DEFAULT);
        adv.ClickFromUser(ui::IDOK);
    };
    dlg.ClickFromUser(IDC_ADVANCED);
    EXPECT_EQ(dlg.m_advanced.GetScanBack(), 64);
    Pick(IDC_RADIO_BAND, 2);
    Type(IDC_UNIT_NUMBER, "B777");
    Type(IDC_PLUG_VERSION, "77");
    dlg.ClickFromUser(ui::IDCANCEL);
    EXPECT_EQ(dlg.PendingEnd(), ui::IDCANCEL);
    EXPECT_EQ(plug.GetImage(), before);
    // The current band stays as picked.
    EXPECT_EQ(Band(), 3);
    // Opening again refills every copy from the codeplug.
    Open();
    EXPECT_EQ(dlg.m_advanced.GetBytes(), plug.GetAdvanced());
    EXPECT_EQ(dlg.Text(IDC_UNIT_NUMBER), "1234");
    EXPECT_EQ(dlg.Text(IDC_RADIO_BAND), "A03 - VHF");
}

TEST_F(EngineerDataTest, AdvancedCancelKeepsTheCopyAndRestoreDefaultSeesFastPlectron) {
    plug.SetToneSystem(TONE_FAST_PLECTRON);
    Open();
    const auto copy = dlg.m_advanced.GetBytes();
    advancedScript = [](CAdvancedEngineerDlg& adv) {
        adv.ClickFromUser(IDC_RESTORE_DEFAULT);
        EXPECT_EQ(adv.Text(IDC_RF_OFF_DUTY), "44");
        adv.ClickFromUser(ui::IDCANCEL);
    };
    dlg.ClickFromUser(IDC_ADVANCED);
    EXPECT_EQ(dlg.m_advanced.GetBytes(), copy);
}

}  // namespace
