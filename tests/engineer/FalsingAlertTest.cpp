#include <algorithm>

#include "engineer/CFalsingAlertDlg.h"
#include "engineer/EngineerFixture.h"
#include "engineer/EngineerIds.h"

using namespace engineer;
using A = CAdvancedData;

namespace {

class FalsingTest : public EngineerFixture {
protected:
    void Open() {
        dlg.Load(plug);
        dlg.OnInitDialog();
    }
    CCodeplug WithPreset(int level) {
        CAdvancedData block;
        block.Load(plug);
        CFalsingAlertDlg::ApplyPreset(block, level);
        CCodeplug p = plug;
        block.Store(p);
        return p;
    }
    CCodeplug plug = MakePlug();
    CFalsingAlertDlg dlg;
};

TEST_F(FalsingTest, ABlockMatchingNoPresetOpensAtDefaultSaysSoAndOkWritesDefault) {
    Open();
    EXPECT_EQ(dlg.Caption(), "Falsing Alert Adjustment");
    EXPECT_EQ(dlg.Control(IDC_FALSING_LEVEL).position, 0);
    EXPECT_EQ(dlg.Control(IDC_FALSING_LEVEL).rangeMax, 2);
    EXPECT_TRUE(dlg.Control(IDC_FALSING_NO_PRESET).visible);
    EXPECT_EQ(dlg.Text(IDC_FALSING_NO_PRESET), CFalsingAlertDlg::kNoPresetNote);
    const Image before = plug.GetImage();
    dlg.ClickFromUser(ui::IDOK);
    ASSERT_EQ(dlg.PendingEnd(), ui::IDOK);
    dlg.Store(plug);
    CAdvancedData block;
    block.Load(plug);
    EXPECT_EQ(CFalsingAlertDlg::MatchingPreset(block), 0);
    EXPECT_EQ(block.GetRfOffDuty(), 107);
    EXPECT_EQ(block.GetGapTol(), 101);
    // Only the nine parameters' bytes changed.
    const std::size_t presetBytes[] = {0x0C0, 0x0C1, 0x0C2, 0x0BA, 0x0C3,
                                       0x0BE, 0x0C4, 0x0B7, 0x0BC};
    for (std::size_t i = 0; i < before.size(); ++i) {
        if (std::find(std::begin(presetBytes), std::end(presetBytes), i) == std::end(presetBytes))
            EXPECT_EQ(plug.GetImage()[i], before[i]) << i;
    }
}

TEST_F(FalsingTest, TheFirstMatchingPresetSetsTheSliderAndTheNoteStaysHidden) {
    for (int level : {0, 1, 2}) {
        plug = WithPreset(level);
        Open();
        EXPECT_EQ(dlg.Control(IDC_FALSING_LEVEL).position, level);
        EXPECT_FALSE(dlg.Control(IDC_FALSING_NO_PRESET).visible);
    }
    // Cancel at Level 2 after moving the slider: the model stores nothing,
    // and the dialog keeps the level it opened with.
    const Image before = plug.GetImage();
    dlg.SetPositionFromUser(IDC_FALSING_LEVEL, 1);
    dlg.ClickFromUser(ui::IDCANCEL);
    EXPECT_EQ(dlg.PendingEnd(), ui::IDCANCEL);
    EXPECT_EQ(dlg.m_position, 2);
    EXPECT_EQ(plug.GetImage(), before);
}

TEST_F(FalsingTest, OkWritesTheChosenLevel) {
    Open();
    dlg.SetPositionFromUser(IDC_FALSING_LEVEL, 2);
    dlg.ClickFromUser(ui::IDOK);
    dlg.Store(plug);
    const Image& img = plug.GetImage();
    EXPECT_EQ(img[0x0C0], 1);    // GB_WEIGHT_GOOD
    EXPECT_EQ(img[0x0C3], 150);  // GOOD/BAD_RATIO2
    EXPECT_EQ(img[0x0BE], 68);   // T2D
    EXPECT_EQ(img[0x0C4], 7);    // RATIO_END
    EXPECT_EQ(img[0x0B7], 82);   // RF_OFF_DUTY
}

}  // namespace
