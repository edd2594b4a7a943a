#include <gtest/gtest.h>

#include "codeplug/CodeplugContext.h"
#include "editor/pages/CToneTableDlg.h"

namespace {

TEST(ToneTableDlg, CorvaneListsEightGroupsOfTen) {
    CToneTableDlg dlg(CToneTableDlg::kCorvaneSet);
    EXPECT_EQ(dlg.Caption(), "Corvane Tone Table");
    ASSERT_EQ(dlg.Count(), 80);
    EXPECT_EQ(dlg.Label(0), "330.5  (110)");
    const auto groups = dlg.Groups();
    ASSERT_EQ(groups.size(), 8u);
    EXPECT_EQ(groups[6].title, "Group 10");
    EXPECT_EQ(groups[7].title, "Group 11");
    EXPECT_EQ(groups[2].first, 20);
    // Group 3 in table order.
    const double group3[] = {288.5, 296.5,  304.7,  313.0,  953.7,
                             979.9, 1006.9, 1034.7, 1063.2, 1092.4};
    for (int i = 0; i < 10; ++i) EXPECT_EQ(dlg.ToneAt(20 + i), group3[i]) << i;
    EXPECT_EQ(dlg.Label(26), "1006.9  (161)");
    EXPECT_EQ(dlg.Label(78), "2401.0 (208)");
    EXPECT_EQ(dlg.Label(79), "2468.2 (209)");
    EXPECT_EQ(dlg.Label(80), "");
    EXPECT_EQ(dlg.ToneAt(-1), 0.0);
}

TEST(ToneTableDlg, GeAndPlectronInCodeOrder) {
    CToneTableDlg ge(CToneTableDlg::kGeSet);
    EXPECT_EQ(ge.Caption(), "GE Tone Table");
    ASSERT_EQ(ge.Count(), 31);
    EXPECT_EQ(ge.Label(0), "517.5 (001)");
    EXPECT_EQ(ge.Label(30), "967.5 (031)");
    ASSERT_EQ(ge.Groups().size(), 1u);
    EXPECT_EQ(ge.Groups()[0].count, 31);
    CToneTableDlg pl(CToneTableDlg::kPlectronSet);
    EXPECT_EQ(pl.Caption(), "Plectron Tone Table");
    ASSERT_EQ(pl.Count(), 54);
    EXPECT_EQ(pl.Label(0), "643.0 (001)");
    EXPECT_EQ(pl.Label(36), "3062.0 (037)");
    EXPECT_EQ(pl.Label(37), "307.8 (040)");
    EXPECT_EQ(pl.Label(53), "615.8 (056)");
    EXPECT_EQ(CToneTableDlg::SetOf(TONE_FAST_PLECTRON), CToneTableDlg::kPlectronSet);
    EXPECT_EQ(CToneTableDlg::SetOf(TONE_USER), -1);
    EXPECT_EQ(CToneTableDlg::SetOf(9), -1);
}

TEST(ToneTableDlg, SelectionChangesOnlyWithOk) {
    CToneTableDlg dlg(CToneTableDlg::kGeSet);
    EXPECT_EQ(dlg.Selected(), -1);
    EXPECT_EQ(dlg.IndexOf(532.5), 1);
    EXPECT_EQ(dlg.IndexOf(532.4), -1);
    dlg.Select(1);
    dlg.OnInitDialog();
    EXPECT_TRUE(dlg.Checked(CToneTableDlg::RadioId(1)));
    EXPECT_EQ(dlg.Text(CToneTableDlg::RadioId(1)), "532.5 (002)");
    dlg.SetChecked(CToneTableDlg::RadioId(1), false);
    dlg.SetChecked(CToneTableDlg::RadioId(7), true);
    dlg.ClickFromUser(ui::IDCANCEL);
    EXPECT_EQ(dlg.Selected(), 1);
    dlg.ClickFromUser(ui::IDOK);
    EXPECT_EQ(dlg.Selected(), 7);
    dlg.Select(99);
    EXPECT_EQ(dlg.Selected(), -1);
}

}  // namespace
