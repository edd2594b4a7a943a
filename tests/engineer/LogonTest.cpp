#include "engineer/CEngineerLogonDlg.h"
#include "engineer/EngineerFixture.h"
#include "engineer/EngineerIds.h"

using namespace engineer;

namespace {

class LogonTest : public EngineerFixture {
protected:
    // Opens the box, types, and closes it with OK or Cancel.
    bool Logon(const char* typed, bool ok = true) {
        dlg.OnInitDialog();
        dlg.SetTextFromUser(IDC_PASSWORD, typed);
        dlg.ClickFromUser(ok ? ui::IDOK : ui::IDCANCEL);
        EXPECT_EQ(dlg.PendingEnd(), ok ? ui::IDOK : ui::IDCANCEL);
        dlg.ClearPendingEnd();
        return dlg.Conclude();
    }
    CEngineerLogonDlg dlg;
};

TEST_F(LogonTest, OnlyTheExactPasswordSetsTheFlagAndNothingIsSaid) {
    EXPECT_EQ(dlg.Caption(), "Engineer Logon");
    EXPECT_TRUE(Logon("Quorin"));
    EXPECT_TRUE(CodeplugContext::Get().engineer);
    for (const char* wrong : {"quorin", "QUORIN", "Quorin ", " Quorin", "Quori", ""}) {
        EXPECT_FALSE(Logon(wrong)) << wrong;
        EXPECT_FALSE(CodeplugContext::Get().engineer) << wrong;
    }
    EXPECT_TRUE(prompt.Records().empty());
}

TEST_F(LogonTest, CancelRepeatsThePreviousOutcomeAndTheBoxKeepsThePassword) {
    EXPECT_TRUE(Logon("Quorin"));
    // Typed but cancelled: the kept password still decides.
    EXPECT_TRUE(Logon("wrong", false));
    dlg.OnInitDialog();
    EXPECT_EQ(dlg.Text(IDC_PASSWORD), "Quorin");
    EXPECT_FALSE(Logon("nope"));
    EXPECT_FALSE(Logon("Quorin", false));
    EXPECT_FALSE(CodeplugContext::Get().engineer);
}

}  // namespace
