#include <gtest/gtest.h>

#include "ui/CDialogModel.h"

using namespace ui;

namespace {

// A small dialog: a list whose selection fills an edit, an OK that refuses
// an empty edit, and a timer counting ticks.
class SampleDlg : public CDialogModel {
public:
    SampleDlg() : CDialogModel(200, "Sample") {
        On(Notify::SelChange, 10, [this] { SetText(11, Text(10) + "!"); });
        On(Notify::KillFocus, 11, [this] { ++killFocus; });
    }
    void OnInitDialog() override {
        SetItems(10, {"one", "two", "three"});
        SetTimer(1, 50);
    }
    bool OnOK() override { return !Text(11).empty(); }
    void OnCancel() override { ++cancels; }
    void OnTimer(int id) override {
        if (++ticks == 3) KillTimer(id);
    }
    bool CanCancel() const override { return cancelAllowed; }

    int killFocus = 0, cancels = 0, ticks = 0;
    bool cancelAllowed = true;
};

TEST(DialogModel, SelectionByUserRunsTheBoundHandler) {
    SampleDlg dlg;
    dlg.OnInitDialog();
    unsigned before = dlg.Revision();
    dlg.SetSelectionFromUser(10, 1);
    EXPECT_EQ(dlg.Selection(10), 1);
    EXPECT_EQ(dlg.Text(10), "two");
    EXPECT_EQ(dlg.Text(11), "two!");
    EXPECT_GT(dlg.Revision(), before);
    // Out of range clears the selection and keeps the last text.
    dlg.SetSelection(10, 7);
    EXPECT_EQ(dlg.Selection(10), -1);
    EXPECT_EQ(dlg.SelectString(10, "three"), 2);
    EXPECT_EQ(dlg.SelectString(10, "four"), -1);
    // A shorter list drops a selection that no longer exists.
    dlg.SetSelection(10, 2);
    dlg.SetItems(10, {"a"});
    EXPECT_EQ(dlg.Selection(10), -1);
}

TEST(DialogModel, OkEndsOnlyWhenTheModelAgrees) {
    SampleDlg dlg;
    dlg.ClickFromUser(IDOK);
    EXPECT_EQ(dlg.PendingEnd(), 0);
    dlg.SetTextFromUser(11, "x");
    dlg.ClickFromUser(IDOK);
    EXPECT_EQ(dlg.PendingEnd(), IDOK);
    dlg.ClearPendingEnd();
    dlg.ClickFromUser(IDCANCEL);
    EXPECT_EQ(dlg.PendingEnd(), IDCANCEL);
    EXPECT_EQ(dlg.cancels, 1);
}

TEST(DialogModel, DisabledButtonsAndBlockedEscapeDoNothing) {
    SampleDlg dlg;
    dlg.SetTextFromUser(11, "x");
    dlg.Enable(IDOK, false);
    dlg.ClickFromUser(IDOK);
    EXPECT_EQ(dlg.PendingEnd(), 0);
    dlg.cancelAllowed = false;
    dlg.CancelFromUser();
    EXPECT_EQ(dlg.PendingEnd(), 0);
    EXPECT_EQ(dlg.cancels, 0);
    dlg.cancelAllowed = true;
    dlg.CancelFromUser();
    EXPECT_EQ(dlg.PendingEnd(), IDCANCEL);
}

TEST(DialogModel, FocusAndTimers) {
    SampleDlg dlg;
    dlg.OnInitDialog();
    dlg.FocusFromUser(11, true);
    dlg.FocusFromUser(11, false);
    EXPECT_EQ(dlg.killFocus, 1);
    ASSERT_EQ(dlg.Timers().count(1), 1u);
    EXPECT_EQ(dlg.Timers().at(1), 50);
    for (int i = 0; i < 3; ++i) dlg.OnTimer(1);
    EXPECT_TRUE(dlg.Timers().empty());
}

TEST(DialogModel, UnchangedTextSendsNoNotification) {
    CDialogModel dlg;
    int changes = 0;
    dlg.On(Notify::EditChange, 5, [&] { ++changes; });
    dlg.SetTextFromUser(5, "a");
    dlg.SetTextFromUser(5, "a");
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(dlg.Dispatch(Notify::Clicked, 5));
    // Unknown controls read as empty and enabled.
    EXPECT_EQ(dlg.Text(99), "");
    EXPECT_TRUE(dlg.IsEnabled(99));
    EXPECT_FALSE(dlg.HasControl(99));
}

}  // namespace
