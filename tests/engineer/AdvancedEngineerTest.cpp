#include "codeplug/CodeplugContext.h"
#include "engineer/CAdvancedEngineerDlg.h"
#include "engineer/EngineerFixture.h"
#include "engineer/EngineerIds.h"
#include "ui/DataExchange.h"

using namespace engineer;
using A = CAdvancedData;

namespace {

class AdvancedTest : public EngineerFixture {
protected:
    void SetUp() override {
        EngineerFixture::SetUp();
        // Unnamed bits from the sample, every parameter inside its range.
        block.Load(MakePlug());
        for (const auto& g : CAdvancedEngineerDlg::Groups())
            for (const auto& p : g.params) block.Set(p.field, p.restoreDefault);
        dlg.SetPrompt(&prompt);
        dlg.LoadFrom(block);
        dlg.OnInitDialog();
    }
    // Types into a box and leaves it; returns the box's text afterwards.
    std::string Enter(int id, const std::string& text) {
        dlg.SetTextFromUser(id, text);
        dlg.FocusFromUser(id, false);
        return dlg.Text(id);
    }
    // The message of the last box, or "" when none was shown.
    std::string LastMessage() const {
        return prompt.Records().empty() ? "" : prompt.Records().back().text;
    }

    CAdvancedData block;
    CAdvancedEngineerDlg dlg;
};

TEST_F(AdvancedTest, BoxesShowTheFieldsAndOkWritesThemBackKeepingUnnamedBits) {
    EXPECT_EQ(dlg.Caption(), "Advanced Engineer Data");
    EXPECT_EQ(dlg.Text(IDC_SCAN_BACK), std::to_string(block.GetScanBack()));
    EXPECT_EQ(dlg.Text(IDC_SQ_ON), std::to_string(block.GetSqOn()));
    const auto bytes = block.GetBytes();
    EXPECT_EQ(Enter(IDC_SQ_ON, "15"), "15");
    EXPECT_EQ(Enter(IDC_SQ_OFF, "15"), "15");
    EXPECT_EQ(Enter(IDC_TUNE_PAR_B7, "0"), "0");
    EXPECT_EQ(Enter(IDC_TUNE_PAR_B6, "1"), "1");
    EXPECT_EQ(Enter(IDC_TUNE_PAR_L, "9"), "9");
    EXPECT_EQ(Enter(IDC_MEASURE_MODE, "1"), "1");
    EXPECT_EQ(Enter(IDC_BANDWIDTH, "15"), "15");
    EXPECT_EQ(Enter(IDC_SAMPLE_DUR, "1"), "1");
    EXPECT_TRUE(prompt.Records().empty());
    dlg.ClickFromUser(ui::IDOK);
    ASSERT_EQ(dlg.PendingEnd(), ui::IDOK);
    dlg.StoreInto(block);
    const auto& b = block.GetBytes();
    EXPECT_EQ(b[28], 0xFF);
    EXPECT_EQ(b[2], (bytes[2] & 0x30) | 0x40 | 9);
    EXPECT_EQ(b[4], (bytes[4] & 0x83) | 0x40 | (15 << 2));
    EXPECT_EQ(b[7], (bytes[7] & 0xF0) | 1);
    // Bytes the dialog does not edit stay.
    for (int k : {1, 3, 29, 30}) EXPECT_EQ(b[k], bytes[k]) << k;
}

TEST_F(AdvancedTest, ARefusedValueShowsTheRangeMessageAndTheOldValueComesBack) {
    const std::string old = dlg.Text(IDC_SCAN_BACK);
    EXPECT_EQ(Enter(IDC_SCAN_BACK, "7"), old);
    EXPECT_EQ(LastMessage(), "Please enter an integer between 8 and 255.");
    EXPECT_EQ(prompt.Records().back().caption, ui::kAppCaption);
    EXPECT_EQ(dlg.PendingFocus(), IDC_SCAN_BACK);
    EXPECT_EQ(Enter(IDC_SCAN_BACK, "8"), "8");
    EXPECT_EQ(Enter(IDC_SCAN_BACK, "255"), "255");
    // Not a byte at all: the framework's byte message.
    for (const char* bad : {"256", "-1", "x", "", "1.5"}) {
        prompt.Clear();
        EXPECT_EQ(Enter(IDC_SCAN_BACK, bad), "255") << bad;
        EXPECT_EQ(LastMessage(), "Please enter an integer between 0 and 255.") << bad;
    }
    prompt.Clear();
    EXPECT_EQ(Enter(IDC_T1D, "128"), std::to_string(block.GetT1d()));
    EXPECT_EQ(LastMessage(), "Please enter an integer between 1 and 127.");
    EXPECT_EQ(Enter(IDC_T2D, "127"), "127");
    EXPECT_EQ(Enter(IDC_T2D, "128"), "127");
}

TEST_F(AdvancedTest, OnlyRatioEndAndTheSmallFieldsTakeZero) {
    for (const auto& g : CAdvancedEngineerDlg::Groups()) {
        for (const auto& p : g.params) {
            prompt.Clear();
            const std::string before = dlg.Text(p.id);
            const std::string after = Enter(p.id, "0");
            if (p.lo == 0) {
                EXPECT_EQ(after, "0") << p.label;
                EXPECT_TRUE(prompt.Records().empty()) << p.label;
            } else {
                EXPECT_EQ(after, before) << p.label;
                EXPECT_EQ(prompt.Records().size(), 1u) << p.label;
            }
        }
    }
    EXPECT_EQ(Enter(IDC_RATIO_END, "0"), "0");
    const std::string sqOn = dlg.Text(IDC_SQ_ON);
    EXPECT_EQ(Enter(IDC_SQ_ON, "16"), sqOn);
    EXPECT_EQ(LastMessage(), "Please enter an integer between 1 and 15.");
}

TEST_F(AdvancedTest, AStoredValueOutOfRangeIsTheOneTheCheckNames) {
    block.SetT2d(200);
    dlg.LoadFrom(block);
    dlg.OnInitDialog();
    // Leaving another box checks every box: T2D must be mended first.
    EXPECT_EQ(Enter(IDC_SCAN_BACK, "100"), "64");
    EXPECT_EQ(LastMessage(), "Please enter an integer between 1 and 127.");
    EXPECT_EQ(dlg.PendingFocus(), IDC_T2D);
    EXPECT_EQ(Enter(IDC_T2D, "100"), "100");
    EXPECT_EQ(Enter(IDC_SCAN_BACK, "100"), "100");
}

TEST_F(AdvancedTest, OkStaysWhileABoxIsOutOfRangeAndCancelChangesNothing) {
    dlg.SetTextFromUser(IDC_GAP_TOL, "0");
    dlg.ClickFromUser(ui::IDOK);
    EXPECT_EQ(dlg.PendingEnd(), 0);
    EXPECT_EQ(dlg.PendingFocus(), IDC_GAP_TOL);
    EXPECT_EQ(LastMessage(), "Please enter an integer between 1 and 255.");
    dlg.ClickFromUser(ui::IDCANCEL);
    EXPECT_EQ(dlg.PendingEnd(), ui::IDCANCEL);
}

TEST_F(AdvancedTest, RestoreDefaultDependsOnFastPlectron) {
    dlg.m_toneSystem = TONE_PLECTRON;
    dlg.ClickFromUser(IDC_RESTORE_DEFAULT);
    EXPECT_EQ(dlg.Text(IDC_RF_OFF_DUTY), "107");
    EXPECT_EQ(dlg.Text(IDC_SCAN_BACK), "64");
    EXPECT_EQ(dlg.Text(IDC_BAT_LVL_3), "161");
    EXPECT_EQ(dlg.Text(IDC_SQ_OFF), "5");
    EXPECT_EQ(dlg.Text(IDC_BAT_GAUGE_PERI), "100");
    EXPECT_EQ(dlg.Text(IDC_TUNE_PAR_B7), "1");
    dlg.m_toneSystem = TONE_FAST_PLECTRON;
    dlg.ClickFromUser(IDC_RESTORE_DEFAULT);
    EXPECT_EQ(dlg.Text(IDC_RF_OFF_DUTY), "44");
    dlg.ClickFromUser(ui::IDOK);
    dlg.StoreInto(block);
    EXPECT_EQ(block.GetRfOffDuty(), 44);
    EXPECT_EQ(block.GetSqV10Lvl(), 25);
    EXPECT_EQ(block.GetBandwidth(), 3);
}

}  // namespace
