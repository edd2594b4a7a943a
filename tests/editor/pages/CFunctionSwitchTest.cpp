#include <gtest/gtest.h>

#include "codeplug/CodeplugContext.h"
#include "editor/pages/CFunctionSwitch.h"
#include "editor/pages/CModelOption.h"
#include "editor/pages/SwitchFlags.h"
#include "ui/CPropertySheet.h"
#include "ui/ScriptedPrompt.h"

namespace {

using S = CFunctionSwitch;
constexpr int A = 0, B = 1, C = 2, D = 3;

Byte Sw(int mode, int alert = 1, bool duty = false, bool ptl = false, bool wide = false) {
    return static_cast<Byte>((wide ? 0x80 : 0) | (ptl ? 0x40 : 0) | alert << 4 | (duty ? 0x08 : 0) |
                             mode);
}

const S::PositionIds& Ids(int pos) {
    return S::kPositionIds[pos];
}

class FunctionSwitchTest : public ::testing::Test {
protected:
    void SetUp() override {
        CodeplugContext::Get().Reset();
        CodeplugContext::Get().twoFrequency = true;
        page.SetPrompt(&prompt);
    }
    void TearDown() override { CodeplugContext::Get().Reset(); }

    void Open(CSwitchSettings::Bytes b) {
        page.switches.SetBytes(b);
        page.LoadFromRecord();
        page.Create();
        page.OnSetActive();
    }

    CFunctionSwitch page;
    ui::ScriptedPrompt prompt;
};

TEST_F(FunctionSwitchTest, SingleChannelPagerOffersTwoModes) {
    CodeplugContext::Get().twoFrequency = false;
    // D holds a mode the list does not offer.
    Open({Sw(0), Sw(0), Sw(0), Sw(5)});
    for (int pos = 0; pos < 4; ++pos)
        EXPECT_EQ(page.Control(Ids(pos).mode).items,
                  (std::vector<std::string>{"Monitor F1", "Selective Call F1"}));
    EXPECT_FALSE(page.IsEnabled(Ids(A).duty));
    page.SetSelectionFromUser(Ids(A).mode, 1);
    EXPECT_EQ(page.switches.GetMode(A), 2);
    EXPECT_TRUE(page.IsEnabled(Ids(A).duty));
    EXPECT_TRUE(page.IsEnabled(Ids(A).pushToListen));

    EXPECT_EQ(page.Text(Ids(D).mode), "Priority Scan F1");
    EXPECT_EQ(page.Selection(Ids(D).mode), -1);
    page.SetSelectionFromUser(Ids(A).mode, 0);
    EXPECT_TRUE(page.OnKillActive());
    EXPECT_EQ(page.switches.GetMode(D), 5);
    EXPECT_EQ(page.switches.GetMode(A), 0);
}

TEST_F(FunctionSwitchTest, LeavingASelectiveModeClearsDutyAndPushToListen) {
    Open({Sw(2, 2, true, true, true), Sw(0), Sw(0), Sw(0)});
    EXPECT_TRUE(page.Checked(Ids(A).duty));
    EXPECT_TRUE(page.Checked(Ids(A).pushToListen));
    EXPECT_TRUE(page.Checked(Ids(A).wideBand));
    EXPECT_FALSE(page.IsEnabled(Ids(A).alertType));
    page.SetSelectionFromUser(Ids(A).mode, 0);
    EXPECT_EQ(page.switches.GetByte(A), Sw(0, 2, false, false, true));
    EXPECT_FALSE(page.Checked(Ids(A).duty));
    EXPECT_FALSE(page.Checked(Ids(A).pushToListen));
    EXPECT_FALSE(page.IsEnabled(Ids(A).duty));
    EXPECT_FALSE(page.IsEnabled(Ids(A).pushToListen));
    EXPECT_TRUE(page.IsEnabled(Ids(A).alertType));
    EXPECT_EQ(page.Text(Ids(A).mode), "Monitor F1");

    // A greyed box cannot be ticked by a script either.
    page.SetCheckedFromUser(Ids(A).duty, true);
    EXPECT_FALSE(page.switches.GetDuty(A));
    EXPECT_FALSE(page.Checked(Ids(A).duty));
    page.SetCheckedFromUser(Ids(A).wideBand, false);
    EXPECT_FALSE(page.switches.GetWideBand(A));
}

TEST_F(FunctionSwitchTest, OpeningTheRulesTidyInconsistentBytes) {
    // B: Monitor F2 with duty and push to listen; C: push to listen with Tone.
    Open({Sw(0), Sw(1, 1, true, true), Sw(3, 1, false, true), Sw(7, 3, true, true)});
    EXPECT_EQ(page.switches.GetByte(B), Sw(1, 2));  // forced Vibrate, then cleared
    EXPECT_EQ(page.switches.GetByte(C), Sw(3, 2, false, true));
    EXPECT_EQ(page.Text(Ids(C).alertType), "Vibrator");
    EXPECT_EQ(page.Selection(Ids(C).alertType), -1);
    // A mode without a name shows its number and keeps its whole byte, the
    // alert type that push to listen would force included.
    EXPECT_EQ(page.Text(Ids(D).mode), "Unknown (7)");
    EXPECT_EQ(page.switches.GetByte(D), Sw(7, 3, true, true));
    EXPECT_FALSE(page.IsEnabled(Ids(D).duty));
    EXPECT_TRUE(page.OnKillActive());
    EXPECT_EQ(page.switches.GetByte(D), Sw(7, 3, true, true));

    CFunctionSwitch other;
    other.switches.SetBytes({0x4F, 0xCF, Sw(0), Sw(0)});
    other.LoadFromRecord();
    other.Create();
    EXPECT_TRUE(other.OnKillActive());
    EXPECT_EQ(other.switches.GetByte(A), 0x4F);
    EXPECT_EQ(other.switches.GetByte(B), 0xCF);
}

TEST_F(FunctionSwitchTest, SilentScanDutyDependsOnTheFirmware) {
    struct Case {
        int version;
        bool dutyKept;
    };
    for (Case c :
         {Case{25, false}, Case{28, false}, Case{1, false}, Case{29, true}, Case{0, true}}) {
        CodeplugContext::Get().pagerVersion = static_cast<std::uint8_t>(c.version);
        CFunctionSwitch p;
        p.switches.SetBytes({Sw(2, 1, true), Sw(0), Sw(0), Sw(0)});
        p.LoadFromRecord();
        p.Create();
        p.SetSelectionFromUser(Ids(A).mode, 6);
        EXPECT_EQ(p.switches.GetDuty(A), c.dutyKept) << c.version;
        EXPECT_EQ(p.Checked(Ids(A).duty), c.dutyKept) << c.version;
        EXPECT_EQ(p.IsEnabled(Ids(A).duty), c.dutyKept) << c.version;
        EXPECT_TRUE(p.IsEnabled(Ids(A).pushToListen)) << c.version;
    }
}

TEST_F(FunctionSwitchTest, PushToListenForcesVibrate) {
    Open({Sw(2, 1), Sw(0), Sw(0), Sw(0)});
    EXPECT_EQ(page.Text(Ids(A).alertType), "Tone");
    EXPECT_EQ(page.Selection(Ids(A).alertType), 0);
    page.SetCheckedFromUser(Ids(A).pushToListen, true);
    EXPECT_EQ(page.switches.GetAlertType(A), 2);
    EXPECT_TRUE(page.switches.GetPtl(A));
    EXPECT_EQ(page.Text(Ids(A).alertType), "Vibrator");
    EXPECT_FALSE(page.IsEnabled(Ids(A).alertType));
    page.SetSelectionFromUser(Ids(A).alertType, 0);  // greyed: refused
    EXPECT_EQ(page.switches.GetAlertType(A), 2);

    page.SetCheckedFromUser(Ids(A).pushToListen, false);
    EXPECT_TRUE(page.IsEnabled(Ids(A).alertType));
    EXPECT_EQ(page.switches.GetAlertType(A), 2);
    EXPECT_EQ(page.Text(Ids(A).alertType), "Vibrator");
    page.SetSelectionFromUser(Ids(A).alertType, 2);
    EXPECT_EQ(page.switches.GetAlertType(A), 3);
    EXPECT_EQ(page.Text(Ids(A).alertType), "Vibrator + Tone");
}

TEST_F(FunctionSwitchTest, TypedListTextPicksAMatchingEntryOrIsDropped) {
    Open({Sw(0), Sw(2), Sw(0), Sw(0)});
    page.SetTextFromUser(Ids(A).mode, "  silent scan ");
    page.FocusFromUser(Ids(A).mode, false);
    EXPECT_EQ(page.switches.GetMode(A), 6);
    EXPECT_EQ(page.Text(Ids(A).mode), "Silent Scan");
    EXPECT_EQ(page.Selection(Ids(A).mode), 6);
    EXPECT_TRUE(page.IsEnabled(Ids(A).duty));

    const auto before = page.switches.GetBytes();
    page.SetTextFromUser(Ids(A).mode, "Scan Everything");
    page.FocusFromUser(Ids(A).mode, false);
    EXPECT_EQ(page.switches.GetBytes(), before);
    EXPECT_EQ(page.Text(Ids(A).mode), "Silent Scan");

    // Typed into two lists, then a box is clicked: both are taken.
    page.SetTextFromUser(Ids(B).alertType, "tone & vibrate");
    page.SetTextFromUser(Ids(C).mode, "Probability Scan");
    page.SetCheckedFromUser(Ids(D).wideBand, true);
    EXPECT_EQ(page.switches.GetAlertType(B), 3);
    EXPECT_EQ(page.switches.GetMode(C), 4);
    EXPECT_TRUE(page.switches.GetWideBand(D));

    // Leaving the page takes the last typing too.
    page.SetTextFromUser(Ids(D).mode, "Priority Scan F1");
    EXPECT_TRUE(page.OnKillActive());
    EXPECT_EQ(page.switches.GetMode(D), 5);
    EXPECT_TRUE(CodeplugContext::Get().priorityScan);
    EXPECT_TRUE(prompt.Records().empty());
}

TEST(SwitchFlags, DerivedFromModesAndDuty) {
    CodeplugContext ctx;
    CSwitchSettings sw;
    sw.SetBytes({Sw(3, 1, true), Sw(0), Sw(1), Sw(4)});
    UpdateSwitchFlags(sw, ctx);
    EXPECT_FALSE(ctx.dutyF1);
    EXPECT_TRUE(ctx.dutyF2);
    EXPECT_FALSE(ctx.priorityScan);

    sw.SetBytes({Sw(2, 1, true), Sw(5), Sw(0), Sw(0)});
    UpdateSwitchFlags(sw, ctx);
    EXPECT_TRUE(ctx.dutyF1);
    EXPECT_FALSE(ctx.dutyF2);
    EXPECT_TRUE(ctx.priorityScan);

    sw.SetBytes({Sw(6, 1, true), Sw(0), Sw(0), Sw(0)});
    UpdateSwitchFlags(sw, ctx);
    EXPECT_TRUE(ctx.dutyF1);
    EXPECT_TRUE(ctx.dutyF2);
    EXPECT_FALSE(ctx.priorityScan);
}

TEST_F(FunctionSwitchTest, PriorityScanChosenHereShowsOnTheModelOptionsPage) {
    ui::CPropertySheet sheet("User Data");
    CModelOption options;
    options.options.SetBytes({0, 16, 0, 7, 64});
    options.LoadFromRecords();
    page.switches.SetBytes({Sw(0), Sw(0), Sw(0), Sw(0)});
    page.LoadFromRecord();
    sheet.AddPage(&options);
    sheet.AddPage(&page);
    sheet.SetPagesPrompt(&prompt);
    UpdateSwitchFlags(page.switches, CodeplugContext::Get());

    sheet.Begin();
    EXPECT_EQ(options.Text(CModelOption::IDC_PRIORITY_SCAN), "OFF");
    EXPECT_FALSE(options.Control(CModelOption::IDC_SCAN_TIME).visible);
    ASSERT_TRUE(sheet.SetActivePage(1));
    page.SetSelectionFromUser(Ids(B).mode, 5);
    page.SetSelectionFromUser(Ids(C).mode, 3);
    page.SetCheckedFromUser(Ids(C).duty, true);
    ASSERT_TRUE(sheet.SetActivePage(0));
    EXPECT_EQ(options.Text(CModelOption::IDC_PRIORITY_SCAN), "ON");
    EXPECT_TRUE(options.Control(CModelOption::IDC_SCAN_TIME).visible);
    EXPECT_EQ(options.Text(CModelOption::IDC_SCAN_TIME), "0.512");
    EXPECT_FALSE(CodeplugContext::Get().dutyF1);
    EXPECT_TRUE(CodeplugContext::Get().dutyF2);
    EXPECT_TRUE(sheet.OnOK());
    EXPECT_EQ(page.switches.GetBytes(),
              (CSwitchSettings::Bytes{Sw(0), Sw(5), Sw(3, 1, true), Sw(0)}));
}

}  // namespace
