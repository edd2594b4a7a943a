#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "codeplug/CodeplugContext.h"
#include "editor/FieldNumber.h"
#include "editor/RuleMessages.h"
#include "editor/pages/CChannel1.h"
#include "editor/pages/CChannel2.h"
#include "ui/ScriptedPrompt.h"

namespace {

// Tone fields in page order.
enum Field { C1T1 = 0, C1T2 = 1, C2T1 = 2, C2T2 = 3, C3T1 = 4, G1 = 16, G2 = 17 };
enum Option { R468 = 0, R130 = 1, STD = 3, R177 = 7, R60 = 8, R168 = 10 };

// IF 21.4 MHz, low-side injection.
constexpr Byte kIf21Low = 0x24;
constexpr const char* kApp = "Calvex V HXR";

// Twenty distinct Corvane tones far enough apart for every spacing test.
constexpr double kTones[20] = {330.5,  389.0,  457.9,  539.0,  634.5,  746.8,  879.0,
                               1006.9, 1185.2, 1395.0, 1642.0, 1930.2, 2271.7, 368.5,
                               433.7,  510.5,  600.9,  707.3,  832.5,  953.7};

class ChannelPage : public ::testing::Test {
protected:
    void SetUp() override {
        CodeplugContext& ctx = CodeplugContext::Get();
        ctx.Reset();
        ctx.band = 2;  // VHF, split A: 143 - 150.9975 MHz
        ctx.subBand = 0;
        ctx.toneSystem = TONE_CORVANE;
        ctx.dutyF1 = true;
        page.model.SetBand(2);
        page.model.SetSubBand(0);
        page.record.SetBandwidth(3);
        page.record.SetIfByte(kIf21Low);
        page.SetPrompt(&prompt);
    }
    void TearDown() override { CodeplugContext::Get().Reset(); }

    // Stores one tone per slot (slot i takes kTones[i]).
    void FillAllSlots() {
        for (int slot = 0; slot < 20; ++slot) page.record.SetTone(slot, kTones[slot]);
    }
    // What the sheet does before and when the page comes to the front.
    void Open(int option) {
        page.record.SetCodingOption(option);
        page.PrepareChannelPage();
        page.Create();
        page.OnSetActive();
    }
    void Type(int id, const std::string& text) {
        page.SetTextFromUser(id, text);
        page.FocusFromUser(id, false);
    }
    void TypeTone(int field, const std::string& text) {
        Type(CChannelPage::ToneFieldId(field), text);
    }
    std::string Shown(int field) const { return page.Text(CChannelPage::ToneFieldId(field)); }
    double Slot(int slot) const { return page.record.GetTone(slot); }
    const ui::ScriptedPrompt::Record& LastBox() const { return prompt.Records().back(); }

    CChannel1 page;
    ui::ScriptedPrompt prompt;
};

TEST_F(ChannelPage, SecondChannelReadsItsOwnDutyFlag) {
    CChannel2 f2;
    f2.SetPrompt(&prompt);
    f2.record.SetDutyOff(0, true);
    f2.PrepareChannelPage();
    f2.Create();
    f2.OnSetActive();  // dutyF1 is set, dutyF2 is not
    EXPECT_EQ(f2.Text(f2.DutyTextId()), "Disabled");
    EXPECT_FALSE(f2.record.GetDutyOff(0));
    EXPECT_EQ(f2.Caption(), "Channel F2");
}

TEST_F(ChannelPage, PreparedPageShowsTheRecord) {
    page.record.SetFrequency(150.0025, kIf21Low);
    page.record.SetCallAlert(1, 3);
    page.record.SetDutyOff(1, true);
    FillAllSlots();
    Open(R468);
    EXPECT_EQ(page.Text(1004), "150.0025");
    EXPECT_EQ(page.Text(CChannelPage::IDC_BAND_SPLIT), "(A: 143 - 150.9975 MHz)");
    EXPECT_EQ(page.Selection(1013), R468);
    EXPECT_EQ(page.Text(1083), "A - B");
    EXPECT_EQ(page.Text(1084), "A - C");
    EXPECT_EQ(page.Text(1284), "Long B");
    EXPECT_EQ(page.Text(1285), "Long C");
    // Shared fields show their source's slot and cannot be typed into.
    EXPECT_EQ(Shown(C2T1), "330.5");
    EXPECT_FALSE(page.IsEnabled(CChannelPage::ToneFieldId(C2T1)));
    EXPECT_EQ(Shown(G1), Shown(C1T2));
    EXPECT_EQ(Shown(G2), Shown(C2T2));
    // Calls the option does not use are hidden and empty.
    EXPECT_FALSE(page.Control(CChannelPage::ToneFieldId(C3T1)).visible);
    EXPECT_EQ(Shown(C3T1), "");
    EXPECT_FALSE(page.Control(1253).visible);
    EXPECT_EQ(page.Selection(1252), 3);
    EXPECT_EQ(page.Selection(1174), 1);
    // A "..." button exactly for each editable field.
    EXPECT_TRUE(page.Control(1210).visible);
    EXPECT_FALSE(page.Control(1211).visible);
    EXPECT_TRUE(page.Control(1217).visible);
    EXPECT_FALSE(page.Control(1228).visible);
    page.ClearDisplay();
    EXPECT_EQ(page.Text(1004), "");
    EXPECT_EQ(Shown(C1T1), "");
    EXPECT_EQ(page.Text(1083), "");
}

TEST_F(ChannelPage, LeavingR168ForStdErasesTheOtherCalls) {
    FillAllSlots();
    Open(R168);
    EXPECT_EQ(Shown(15), "953.7");  // Call 8 Tone 2: slot 19
    page.SetSelectionFromUser(1013, STD);
    EXPECT_EQ(page.record.GetCodingOption(), STD);
    EXPECT_EQ(Slot(0), kTones[0]);
    EXPECT_EQ(Slot(12), kTones[12]);
    for (int slot = 0; slot < 20; ++slot)
        if (slot != 0 && slot != 12) EXPECT_EQ(page.record.GetSlotCode(slot), 0) << slot;
    page.SetSelectionFromUser(1013, R168);
    EXPECT_EQ(Shown(C1T1), "330.5");
    EXPECT_EQ(Shown(C2T1), "");
    EXPECT_EQ(Shown(G2), "");
    EXPECT_TRUE(page.IsEnabled(CChannelPage::ToneFieldId(G2)));
}

TEST_F(ChannelPage, ChangingTheOptionCopiesSharedSlots) {
    FillAllSlots();
    Open(R168);
    page.SetSelectionFromUser(1013, R468);
    // Call 2 Tone 1 takes slot 0, Group 1 slot 12, Group 2 slot 13.
    EXPECT_EQ(Slot(1), kTones[0]);
    EXPECT_EQ(Slot(8), kTones[12]);
    EXPECT_EQ(Slot(9), kTones[13]);
    EXPECT_EQ(page.record.GetSlotCode(2), 0);
}

TEST_F(ChannelPage, R468TypedTonesReachTheirCopies) {
    FillAllSlots();
    Open(R468);
    TypeTone(C1T2, "1034.7");
    EXPECT_EQ(Shown(C1T2), "1034.7");
    EXPECT_EQ(Shown(G1), "1034.7");
    EXPECT_EQ(Slot(12), 1034.7);
    EXPECT_EQ(Slot(8), 1034.7);
    TypeTone(C2T2, "1251.4");
    EXPECT_EQ(Shown(G2), "1251.4");
    EXPECT_EQ(Slot(9), 1251.4);
    TypeTone(C1T1, "1000");  // snaps onto the set
    EXPECT_EQ(Shown(C1T1), "1006.9");
    EXPECT_EQ(Shown(C2T1), "1006.9");
    EXPECT_EQ(Slot(1), 1006.9);
    // The shared field itself cannot be changed, not even by a script.
    TypeTone(C2T1, "2000");
    EXPECT_EQ(Shown(C2T1), "1006.9");
    EXPECT_EQ(Slot(1), 1006.9);
    EXPECT_TRUE(prompt.Records().empty());
}

TEST_F(ChannelPage, R177AndR60ShareTheSecondTone) {
    FillAllSlots();
    Open(R177);
    EXPECT_EQ(page.Text(1084), "C - B");
    TypeTone(C1T2, "1642.0");
    EXPECT_EQ(Shown(C2T2), "1642.0");
    EXPECT_EQ(Slot(13), 1642.0);
    page.SetSelectionFromUser(1013, R60);
    TypeTone(C1T2, "1781.5");
    EXPECT_EQ(Slot(13), 1781.5);
    EXPECT_EQ(Slot(8), 1781.5);
    EXPECT_EQ(Shown(G1), "1781.5");
}

TEST_F(ChannelPage, SmallStepOfASharedToneIsNotPulledBack) {
    // Under "User" a source tone moved by less than the spacing threshold
    // must not be compared with its own copies (which hold the old tone).
    CodeplugContext::Get().toneSystem = TONE_USER;
    Open(R468);
    TypeTone(C1T1, "1000");
    EXPECT_EQ(Shown(C2T1), "1000.4");
    TypeTone(C1T2, "1500");
    TypeTone(C1T1, "1010");
    EXPECT_EQ(Shown(C1T1), "1009.7");  // through the tone code
    EXPECT_EQ(Shown(C2T1), "1009.7");
    // Another call's tone still merges.
    TypeTone(C2T2, "1505");
    EXPECT_EQ(Shown(C2T2), Shown(C1T2));
    EXPECT_TRUE(prompt.Records().empty());
}

// A copy rule must not give a call two equal (or too close) tones: the typed
// tone is refused as a typed duplicate is, and nothing is copied.
TEST_F(ChannelPage, CopiesAreCheckedAgainstTheirOwnCall) {
    struct Case {
        int option, field, copy, partner;
        const char* typed;  // the tone of the copy's partner
    } cases[] = {
        {R468, C1T1, C2T1, C2T2, "368.5"},  // Call 2 would be "A - A"
        {R468, C1T1, C2T1, C2T2, "372"},    // snaps onto it
        {R177, C1T2, C2T2, C2T1, "389.0"},  // Call 2 would be "C - C"
        {R60, C1T2, C2T2, C2T1, "389.0"},
    };
    for (const Case& c : cases) {
        prompt.Clear();
        FillAllSlots();
        Open(c.option);
        const std::string before = Shown(c.field), partner = Shown(c.partner);
        ASSERT_NE(before, partner);
        TypeTone(c.field, c.typed);
        ASSERT_EQ(prompt.Records().size(), 1u) << c.option << " " << c.typed;
        EXPECT_EQ(LastBox().text, rule_text::kToneSpacingError);
        EXPECT_EQ(Shown(c.field), before) << c.option;
        EXPECT_EQ(Shown(c.copy), before) << c.option;
        EXPECT_EQ(Shown(c.partner), partner) << c.option;
        EXPECT_EQ(FormatTone(Slot(ToneFieldSlot(c.copy))), before) << c.option;
    }
    // A tone far enough from the copy's partner is taken and copied.
    prompt.Clear();
    FillAllSlots();
    Open(R468);
    TypeTone(C1T1, "600.9");
    EXPECT_TRUE(prompt.Records().empty());
    EXPECT_EQ(Shown(C2T1), "600.9");
    // A tone merged onto another call's is checked the same way.
    CodeplugContext::Get().toneSystem = TONE_USER;
    page.record.SetTone(0, 1500.0);
    page.record.SetTone(13, 1000.0);
    Open(R468);
    const std::string c1t1 = Shown(C1T1);
    TypeTone(C1T1, "1010");  // 1 % from Call 2 Tone 2: would take its tone
    ASSERT_EQ(prompt.Records().size(), 1u);
    EXPECT_EQ(LastBox().text, rule_text::kToneSpacingError);
    EXPECT_EQ(Shown(C1T1), c1t1);
    EXPECT_EQ(Shown(C2T1), c1t1);
}

// Under "User" the field shows what comes back from the tone code, and the
// slot keeps that code: what is shown is what is stored.
TEST_F(ChannelPage, UserTonesStoreTheCodeTheyShow) {
    CodeplugContext::Get().toneSystem = TONE_USER;
    Open(R468);
    TypeTone(C1T1, "3130.4");
    EXPECT_EQ(Shown(C1T1), "3132.0");
    EXPECT_EQ(FormatTone(Slot(0)), "3132.0");
    EXPECT_EQ(FormatTone(Slot(1)), "3132.0");  // Call 2 Tone 1 shares the code
    const std::uint16_t code = page.record.GetSlotCode(0);
    // Leaving the field again without typing keeps that code.
    page.FocusFromUser(CChannelPage::ToneFieldId(C1T1), false);
    EXPECT_EQ(page.record.GetSlotCode(0), code);
    // So does another coding option, which stores what every field shows.
    page.SetSelectionFromUser(page.CodingOptionId(), R168);
    EXPECT_EQ(page.record.GetSlotCode(0), code);
    EXPECT_EQ(Shown(C1T1), "3132.0");
    EXPECT_TRUE(prompt.Records().empty());

    // A tone typed within the range never shows outside it (280 with the
    // second clock would come back as 279.9 and trap the page).
    page.record.SetClockIndex(1);
    TypeTone(C3T1, "280");
    const double shown = ParseFieldNumber(Shown(C3T1)).value;
    EXPECT_GE(shown, 280.0);
    EXPECT_LT(shown, 281.0);
    EXPECT_EQ(FormatTone(Slot(2)), Shown(C3T1));
    TypeTone(C1T2, "3400");
    EXPECT_LE(ParseFieldNumber(Shown(C1T2)).value, 3400.0);
    EXPECT_TRUE(page.OnKillActive());
    EXPECT_TRUE(prompt.Records().empty());
}

TEST_F(ChannelPage, PartnerTooCloseIsRefusedAndRestored) {
    FillAllSlots();
    Open(R468);
    TypeTone(C1T1, "1006.9");
    TypeTone(C1T2, "1006.9");
    ASSERT_EQ(prompt.Records().size(), 1u);
    EXPECT_EQ(LastBox().text, rule_text::kToneSpacingError);
    EXPECT_EQ(LastBox().caption, "Calvex V HXR - Tone Frequency");
    EXPECT_EQ(LastBox().icon, ui::PromptIcon::Error);
    EXPECT_EQ(Shown(C1T2), "2271.7");
    EXPECT_EQ(Slot(12), 2271.7);
    EXPECT_EQ(Shown(G1), "2271.7");
}

TEST_F(ChannelPage, BadToneTextAndRangeKeepTheOldTone) {
    FillAllSlots();
    Open(R168);
    TypeTone(C3T1, "12a");
    ASSERT_EQ(prompt.Records().size(), 1u);
    EXPECT_EQ(LastBox().text, "Invalid Tone Frequency");
    EXPECT_EQ(LastBox().caption, kApp);
    EXPECT_EQ(Shown(C3T1), "457.9");
    EXPECT_EQ(page.PendingFocus(), CChannelPage::ToneFieldId(C3T1));
    TypeTone(C3T1, "5000");
    EXPECT_EQ(LastBox().text, "Please enter a number between 280 and 3400.");
    EXPECT_EQ(Slot(2), 457.9);
    TypeTone(C3T1, "  ");  // blank empties the slot
    EXPECT_EQ(page.record.GetSlotCode(2), 0);
    EXPECT_EQ(prompt.Records().size(), 2u);
}

TEST_F(ChannelPage, FrequencyFieldRunsTheReceiverRules) {
    page.record.SetFrequency(150.0025, kIf21Low);
    Open(R468);
    auto expectRefused = [&](const char* text, const char* message, const char* caption,
                             ui::PromptIcon icon) {
        const std::size_t boxes = prompt.Records().size();
        Type(1004, text);
        ASSERT_EQ(prompt.Records().size(), boxes + 1) << text;
        EXPECT_EQ(LastBox().text, message) << text;
        EXPECT_EQ(LastBox().caption, caption) << text;
        EXPECT_EQ(LastBox().icon, icon) << text;
        EXPECT_EQ(page.Text(1004), "150.0025") << text;
        EXPECT_NEAR(page.record.GetFrequency(), 150.0025, 1e-6) << text;
    };
    const char* rx = "Calvex V HXR - Receiver Frequency";
    expectRefused("143.1875", "Spur Frequency!", rx, ui::PromptIcon::Error);
    expectRefused("150.001", "Invalid Receiver Frequency", rx, ui::PromptIcon::Error);
    expectRefused("45a", "Invalid Receiver Frequency", kApp, ui::PromptIcon::Warning);
    expectRefused("140", "Please enter a number between 142.4 and 151.5975.", kApp,
                  ui::PromptIcon::Warning);
    Type(1004, "142.5");
    EXPECT_EQ(LastBox().text, rule_text::kOutOfBandWarning);
    EXPECT_EQ(LastBox().icon, ui::PromptIcon::Warning);
    EXPECT_EQ(page.Text(1004), "142.5000");
    EXPECT_NEAR(page.record.GetFrequency(), 142.5, 1e-6);
    const std::size_t boxes = prompt.Records().size();
    Type(1004, "147.5");
    EXPECT_EQ(prompt.Records().size(), boxes);
    EXPECT_NEAR(page.record.GetFrequency(), 147.5, 1e-6);
    Type(1004, "");
    EXPECT_EQ(page.record.GetFrequency(), 0.0);
    EXPECT_EQ(page.Text(1004), "");
}

TEST_F(ChannelPage, SpecialProductThreeCannotEditTheFrequency) {
    page.model.SetSp(3);
    page.record.SetFrequency(150.0025, kIf21Low);
    Open(R468);
    EXPECT_FALSE(page.IsEnabled(1004));
    EXPECT_EQ(page.Text(1004), "150.0025");
    Type(1004, "147.5");
    EXPECT_EQ(page.Text(1004), "150.0025");
    EXPECT_NEAR(page.record.GetFrequency(), 150.0025, 1e-6);
    // A stored frequency outside the split cannot hold the page: the user
    // could not correct it.
    page.record.SetFrequency(120.0, kIf21Low);
    page.PrepareChannelPage();
    page.OnSetActive();
    EXPECT_TRUE(page.OnKillActive());
    EXPECT_TRUE(prompt.Records().empty());
    page.model.SetSp(0);
    page.OnSetActive();
    EXPECT_FALSE(page.OnKillActive());
    EXPECT_EQ(LastBox().text, "Please enter a number between 142.4 and 151.5975.");
}

TEST_F(ChannelPage, DutyFlagDecidesTheDutyLists) {
    for (int call = 0; call < 12; ++call) page.record.SetDutyOff(call, true);
    Open(R168);
    EXPECT_EQ(page.Text(1014), "Enabled");
    EXPECT_TRUE(page.IsEnabled(1173));
    EXPECT_EQ(page.Selection(1173), 1);
    page.SetSelectionFromUser(1173, 0);
    EXPECT_FALSE(page.record.GetDutyOff(0));
    CodeplugContext::Get().dutyF1 = false;
    page.OnSetActive();
    EXPECT_EQ(page.Text(1014), "Disabled");
    for (int call = 0; call < 12; ++call) EXPECT_FALSE(page.record.GetDutyOff(call)) << call;
    EXPECT_FALSE(page.IsEnabled(1183));
    EXPECT_EQ(page.Selection(1183), 0);
    page.SetSelectionFromUser(1183, 1);  // a disabled list takes nothing
    EXPECT_FALSE(page.record.GetDutyOff(11));
    EXPECT_EQ(page.Selection(1183), 0);
}

TEST_F(ChannelPage, ClearAllTonesKeepsOptionAlertsAndDuty) {
    FillAllSlots();
    page.record.SetCallAlert(0, 4);
    page.record.SetDutyOff(0, true);
    Open(R468);
    page.ClickFromUser(CChannelPage::IDC_CLEAR_ALL_TONES);
    for (int slot = 0; slot < 20; ++slot) EXPECT_EQ(page.record.GetSlotCode(slot), 0) << slot;
    for (int f = 0; f < 20; ++f) EXPECT_EQ(Shown(f), "") << f;
    EXPECT_EQ(page.record.GetCodingOption(), R468);
    EXPECT_EQ(page.record.GetCallAlert(0), 4);
    EXPECT_TRUE(page.record.GetDutyOff(0));
}

TEST_F(ChannelPage, UnknownAlertByteIsShownEmptyAndKept) {
    page.record.SetCallAlert(0, 12);
    page.record.SetCallAlert(1, 2);
    Open(R468);
    EXPECT_EQ(page.Selection(1251), -1);
    EXPECT_EQ(page.Selection(1252), 2);
    TypeTone(C1T1, "1006.9");
    page.SetSelectionFromUser(1252, 5);
    EXPECT_EQ(page.record.GetCallAlert(0), 12);
    EXPECT_EQ(page.record.GetCallAlert(1), 5);
    page.SetSelectionFromUser(1251, 1);
    EXPECT_EQ(page.record.GetCallAlert(0), 1);
}

TEST_F(ChannelPage, StoredOptionOutsideTheListKeepsEveryTone) {
    FillAllSlots();
    Open(12);
    EXPECT_EQ(page.Selection(1013), -1);
    // Every stored tone is shown, none can be typed or picked.
    EXPECT_EQ(Shown(C2T1), "389.0");
    for (int f = 0; f < 20; ++f) {
        EXPECT_TRUE(page.Control(CChannelPage::ToneFieldId(f)).visible) << f;
        EXPECT_FALSE(page.IsEnabled(CChannelPage::ToneFieldId(f))) << f;
        EXPECT_FALSE(page.Control(CChannelPage::PickButtonId(f)).visible) << f;
    }
    const CChannelData before = page.record;
    for (int f = 0; f < 20; ++f) page.FocusFromUser(CChannelPage::ToneFieldId(f), false);
    TypeTone(C1T1, "2000");
    page.ClickFromUser(CChannelPage::PickButtonId(C1T1));
    page.SetSelectionFromUser(1013, -1);
    EXPECT_TRUE(page.OnKillActive());
    page.OnSetActive();
    for (int slot = 0; slot < 20; ++slot)
        EXPECT_EQ(page.record.GetSlotCode(slot), before.GetSlotCode(slot)) << slot;
    EXPECT_EQ(page.record.GetCodingOption(), 12);
    EXPECT_EQ(page.record.CodingOptionText(), "");
    // Choosing a real option is the user's decision and works as usual.
    page.SetSelectionFromUser(1013, R168);
    EXPECT_TRUE(page.IsEnabled(CChannelPage::ToneFieldId(C1T1)));
    EXPECT_EQ(Shown(C2T1), "389.0");
}

TEST_F(ChannelPage, UserSystemHidesThePickButtonsOnActivation) {
    Open(R168);
    EXPECT_TRUE(page.Control(1210).visible);
    CodeplugContext::Get().toneSystem = TONE_USER;
    page.OnSetActive();
    for (int f = 0; f < 20; ++f)
        EXPECT_FALSE(page.Control(CChannelPage::PickButtonId(f)).visible) << f;
}

// ------------------------------------------------------------- pickers

class ChannelPicker : public ChannelPage {
protected:
    // Runs a picker the way the dialog does: init, then the user's choice.
    void Script(std::function<bool(CToneTableDlg&)> choose) {
        page.SetPickerRunner([this, choose](CToneTableDlg& dlg) {
            ++opened;
            dlg.OnInitDialog();
            checkedOnOpen = -1;
            for (int i = 0; i < dlg.Count(); ++i)
                if (dlg.Checked(CToneTableDlg::RadioId(i))) checkedOnOpen = i;
            caption = dlg.Caption();
            return choose(dlg);
        });
    }
    static bool Pick(CToneTableDlg& dlg, int index) {
        for (int i = 0; i < dlg.Count(); ++i) dlg.SetChecked(CToneTableDlg::RadioId(i), i == index);
        dlg.ClickFromUser(ui::IDOK);
        return dlg.PendingEnd() == ui::IDOK;
    }
    static bool Cancel(CToneTableDlg& dlg) {
        dlg.ClickFromUser(ui::IDCANCEL);
        return false;
    }
    int opened = 0;
    int checkedOnOpen = -2;
    std::string caption;
};

TEST_F(ChannelPicker, OpensOnTheExactMatchAndStoresThePick) {
    FillAllSlots();
    Open(R468);
    TypeTone(C1T1, "1006.9");
    Script([](CToneTableDlg& dlg) { return Pick(dlg, dlg.IndexOf(1034.7)); });
    page.ClickFromUser(CChannelPage::PickButtonId(C1T1));
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(caption, "Corvane Tone Table");
    CToneTableDlg& dlg = *page.Picker(TONE_CORVANE, C1T1);
    ASSERT_EQ(checkedOnOpen, dlg.IndexOf(1006.9));
    EXPECT_EQ(dlg.Label(checkedOnOpen), "1006.9  (161)");
    EXPECT_EQ(Shown(C1T1), "1034.7");
    EXPECT_EQ(Shown(C2T1), "1034.7");
    EXPECT_EQ(Slot(0), 1034.7);
    EXPECT_EQ(Slot(1), 1034.7);
    EXPECT_EQ(dlg.Selected(), dlg.IndexOf(1034.7));
}

TEST_F(ChannelPicker, EachFieldRemembersItsLastChoice) {
    CodeplugContext::Get().toneSystem = TONE_GE;
    Open(R168);
    Script([](CToneTableDlg& dlg) { return Pick(dlg, 4); });  // 577.5 (005)
    page.ClickFromUser(CChannelPage::PickButtonId(C1T1));
    EXPECT_EQ(caption, "GE Tone Table");
    EXPECT_EQ(Shown(C1T1), "577.5");
    // An empty field opens with the field's own last choice, another field's
    // picker with none.
    TypeTone(C1T1, "");
    Script([](CToneTableDlg& dlg) { return Cancel(dlg); });
    page.ClickFromUser(CChannelPage::PickButtonId(C1T1));
    EXPECT_EQ(checkedOnOpen, 4);
    EXPECT_EQ(Shown(C1T1), "");
    page.ClickFromUser(CChannelPage::PickButtonId(C3T1));
    EXPECT_EQ(checkedOnOpen, -1);
    // "Fast Plectron" uses the Plectron picker.
    CodeplugContext::Get().toneSystem = TONE_FAST_PLECTRON;
    page.OnSetActive();
    page.ClickFromUser(CChannelPage::PickButtonId(C3T1));
    EXPECT_EQ(caption, "Plectron Tone Table");
    EXPECT_EQ(opened, 4);
}

TEST_F(ChannelPicker, CancelStillNormalisesTheField) {
    CodeplugContext::Get().toneSystem = TONE_USER;
    Open(R168);
    TypeTone(C1T1, "1000");  // 1000.4 under "User"
    CodeplugContext::Get().toneSystem = TONE_CORVANE;
    Script([](CToneTableDlg& dlg) { return Cancel(dlg); });
    page.ClickFromUser(CChannelPage::PickButtonId(C1T1));
    EXPECT_EQ(checkedOnOpen, -1);  // 1000.4 is no Corvane tone
    EXPECT_EQ(Shown(C1T1), "1006.9");
    EXPECT_EQ(Slot(0), 1006.9);
}

TEST_F(ChannelPicker, RefusedPickRestoresTheToneFromBeforeThePicker) {
    FillAllSlots();
    Open(R468);
    TypeTone(C1T1, "1006.9");
    TypeTone(C1T2, "1217.8");
    Script([](CToneTableDlg& dlg) { return Pick(dlg, dlg.IndexOf(1006.9)); });
    page.ClickFromUser(CChannelPage::PickButtonId(C1T2));
    ASSERT_EQ(prompt.Records().size(), 1u);
    EXPECT_EQ(LastBox().text, rule_text::kToneSpacingError);
    EXPECT_EQ(Shown(C1T2), "1217.8");
    EXPECT_EQ(Slot(12), 1217.8);
    EXPECT_EQ(Shown(G1), "1217.8");
    EXPECT_EQ(Slot(8), 1217.8);
}

TEST_F(ChannelPicker, NoPickerUnderUser) {
    CodeplugContext::Get().toneSystem = TONE_USER;
    Open(R168);
    Script([](CToneTableDlg& dlg) { return Pick(dlg, 0); });
    page.ClickFromUser(CChannelPage::PickButtonId(C1T1));
    EXPECT_EQ(opened, 0);
    EXPECT_EQ(page.Picker(TONE_USER, C1T1), nullptr);
}

}  // namespace
