#include <gtest/gtest.h>

#include <vector>

#include "app/CCommStatusDlg.h"
#include "app/Resources.h"

namespace {

struct StatusFixture : ::testing::Test {
    StatusFixture() {
        dlg.SetBeeper([this](CCommStatusDlg::Beep b) { beeps.push_back(b); });
    }
    void Ticks(int n) {
        for (int i = 0; i < n && !dlg.Timers().empty(); ++i) dlg.OnTimer(CCommStatusDlg::kTimerId);
    }
    CCommStatusDlg dlg;
    std::vector<CCommStatusDlg::Beep> beeps;
};

TEST_F(StatusFixture, OpensCountingWithOkDisabled) {
    dlg.tickInterval = CCommStatusDlg::kWriteTick;
    dlg.progressCount = 1000;  // left over from an earlier transfer
    dlg.OnInitDialog();
    EXPECT_EQ(dlg.Timers().at(CCommStatusDlg::kTimerId), 100);
    EXPECT_FALSE(dlg.IsEnabled(ui::IDOK));
    EXPECT_EQ(dlg.Text(IDC_STATUS_TEXT),
              "Serial Communication Started. Please DO NOT remove the pager from the programmer!");
    EXPECT_EQ(dlg.Control(IDC_STATUS_PICTURE).image, art::IDB_RUNNING);
    EXPECT_FALSE(dlg.Control(IDC_STATUS_YES).visible);
    Ticks(3);
    EXPECT_EQ(dlg.Control(IDC_PROGRESS).position, 2);
    EXPECT_EQ(dlg.progressCount, 3);
    EXPECT_TRUE(beeps.empty());
}

TEST_F(StatusFixture, FailureShowsTextCrossAndHandSound) {
    dlg.OnInitDialog();
    Ticks(5);
    dlg.SetResult("Serial Communication - Pager Read FAILED!", 0);
    EXPECT_TRUE(dlg.CanCancel());
    Ticks(1);
    EXPECT_TRUE(dlg.Timers().empty());
    EXPECT_TRUE(dlg.IsEnabled(ui::IDOK));
    EXPECT_EQ(dlg.Text(IDC_STATUS_TEXT), "Serial Communication - Pager Read FAILED!");
    EXPECT_EQ(dlg.Control(IDC_STATUS_PICTURE).image, art::IDB_FAILED);
    EXPECT_EQ(dlg.Control(IDC_PROGRESS).position, 1000);
    EXPECT_EQ(beeps, std::vector{CCommStatusDlg::Beep::Hand});
    EXPECT_EQ(dlg.PendingEnd(), 0);  // stays until OK
    dlg.ClickFromUser(ui::IDOK);
    EXPECT_EQ(dlg.PendingEnd(), ui::IDOK);
}

TEST_F(StatusFixture, WriteSuccessShowsTickAndExclamation) {
    dlg.OnInitDialog();
    dlg.SetResult("Serial Communication - Pager Write SUCCEEDED!", 1);
    Ticks(1);
    EXPECT_EQ(dlg.Text(IDC_STATUS_TEXT), "Serial Communication - Pager Write SUCCEEDED!");
    EXPECT_EQ(dlg.Control(IDC_STATUS_PICTURE).image, art::IDB_SUCCESS);
    EXPECT_EQ(beeps, std::vector{CCommStatusDlg::Beep::Exclamation});
}

TEST_F(StatusFixture, SuccessfulReadClosesAtOnceWithoutResultPicture) {
    dlg.OnInitDialog();
    dlg.SetResult(CCommStatusDlg::kReadDone, 1);
    Ticks(1);
    EXPECT_EQ(dlg.PendingEnd(), ui::IDCANCEL);
    EXPECT_EQ(dlg.Control(IDC_STATUS_PICTURE).image, art::IDB_RUNNING);
    EXPECT_NE(dlg.Text(IDC_STATUS_TEXT), "READ");
    EXPECT_EQ(beeps, std::vector{CCommStatusDlg::Beep::Exclamation});
}

TEST_F(StatusFixture, WithoutResultItKeepsWaitingAndBlocksEscape) {
    dlg.resultText = "READ";  // an earlier transfer's text must not end this one
    dlg.OnInitDialog();
    EXPECT_FALSE(dlg.CanCancel());
    Ticks(1500);
    EXPECT_FALSE(dlg.Timers().empty());
    EXPECT_EQ(dlg.PendingEnd(), 0);
    EXPECT_EQ(dlg.Control(IDC_PROGRESS).position, 1000);
    dlg.CancelFromUser();
    EXPECT_EQ(dlg.PendingEnd(), 0);
    dlg.SetResult("Serial Communication - Pager Write FAILED!", 0);
    Ticks(1);
    EXPECT_TRUE(dlg.Timers().empty());
    dlg.CancelFromUser();
    EXPECT_EQ(dlg.PendingEnd(), ui::IDCANCEL);
}

TEST_F(StatusFixture, ReopeningResetsPictureAndText) {
    dlg.OnInitDialog();
    dlg.SetResult("Serial Communication - Pager Write FAILED!", 0);
    Ticks(1);
    dlg.OnInitDialog();
    EXPECT_EQ(dlg.Control(IDC_STATUS_PICTURE).image, art::IDB_RUNNING);
    EXPECT_FALSE(dlg.IsEnabled(ui::IDOK));
    EXPECT_EQ(dlg.progressCount, 0);
    EXPECT_EQ(dlg.Message(), CCommStatusDlg::kStarted);
}

}  // namespace
