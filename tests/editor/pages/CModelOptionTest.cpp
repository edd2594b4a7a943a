#include <gtest/gtest.h>

#include "codeplug/CodeplugContext.h"
#include "editor/pages/CModelOption.h"
#include "ui/ScriptedPrompt.h"

namespace {

using P = CModelOption;
constexpr Byte kFitted = 0x80;
constexpr char kApp[] = "Calvex V HXR";

// OPTION_SEL, RESET_TIME, OPTION_FLAGS, ALERT_TIME, SCAN_BACK
CModelOptions::Bytes Record(Byte sel, Byte resetTime, Byte flags, Byte alertTime, Byte scanBack) {
    return {sel, resetTime, flags, alertTime, scanBack};
}

class ModelOptionTest : public ::testing::Test {
protected:
    void SetUp() override {
        CodeplugContext::Get().Reset();
        page.SetPrompt(&prompt);
    }
    void TearDown() override { CodeplugContext::Get().Reset(); }

    void Open(const CModelOptions::Bytes& b, CSquelchSetting::Pair sq = {0x19, 0x32}) {
        page.options.SetBytes(b);
        page.squelch.SetPair(sq);
        page.LoadFromRecords();
        page.Create();
        page.OnSetActive();
    }
    void Type(int id, const std::string& text) {
        page.SetTextFromUser(id, text);
        page.FocusFromUser(id, false);
    }
    const ui::ScriptedPrompt::Record& Box(std::size_t i) const { return prompt.Records().at(i); }

    CModelOption page;
    ui::ScriptedPrompt prompt;
};

TEST_F(ModelOptionTest, WithoutStoredVoiceTheListsAreOffAndATimedResetIsQuestioned) {
    // SV nibble 2 stays stored though the list cannot show it.
    Open(Record(0x20, 16, 0x40, 7, 64));
    EXPECT_EQ(page.Control(P::IDC_STORED_VOICE).items, std::vector<std::string>{"OFF"});
    EXPECT_EQ(page.Text(P::IDC_STORED_VOICE), "OFF");
    EXPECT_FALSE(page.IsEnabled(P::IDC_STORED_VOICE));
    EXPECT_EQ(page.Text(P::IDC_VOICE_MEMO), "OFF");
    EXPECT_FALSE(page.IsEnabled(P::IDC_VOICE_MEMO));
    EXPECT_FALSE(page.Control(P::IDC_RESET_TIME).visible);

    // "Delayed N", answered No: the old function comes back on screen.
    prompt.Answer(ui::PromptAnswer::No);
    page.SetSelectionFromUser(P::IDC_RESET_FUNCTION, 1);
    ASSERT_EQ(prompt.Records().size(), 1u);
    EXPECT_EQ(Box(0).text, P::kResetQuestion);
    EXPECT_EQ(Box(0).caption, "Model Option");
    EXPECT_EQ(Box(0).icon, ui::PromptIcon::Question);
    EXPECT_EQ(Box(0).buttons, ui::PromptButtons::YesNo);
    EXPECT_EQ(page.options.GetResetFunction(), 0);
    EXPECT_EQ(page.Text(P::IDC_RESET_FUNCTION), "Automatic");
    EXPECT_EQ(page.Selection(P::IDC_RESET_FUNCTION), 0);
    EXPECT_FALSE(page.Control(P::IDC_RESET_TIME).visible);

    // "Revert" has no delay: no question. "Timeout" answered Yes is taken.
    page.SetSelectionFromUser(P::IDC_RESET_FUNCTION, 2);
    EXPECT_EQ(prompt.Records().size(), 1u);
    prompt.Answer(ui::PromptAnswer::Yes);
    page.SetSelectionFromUser(P::IDC_RESET_FUNCTION, 4);
    EXPECT_EQ(prompt.Records().size(), 2u);
    EXPECT_EQ(page.options.GetResetFunction(), 4);
    EXPECT_TRUE(page.Control(P::IDC_RESET_TIME).visible);
    EXPECT_TRUE(page.Control(P::IDC_RESET_SEC).visible);
    EXPECT_EQ(page.Text(P::IDC_RESET_TIME), "7.68");

    // A script cannot pick from the greyed voice lists.
    page.SetSelectionFromUser(P::IDC_VOICE_MEMO, 1);
    EXPECT_TRUE(page.options.GetFlag(CModelOptions::VOICE_MEMO));  // as stored
    EXPECT_EQ(page.Text(P::IDC_VOICE_MEMO), "OFF");
    EXPECT_EQ(page.options.GetSvRecordTime(), 2);
}

TEST_F(ModelOptionTest, StoredVoiceEntriesStoreTheirNibbleAndKeepTheFittedBit) {
    Open(Record(0x00, 16, kFitted | 0x40, 7, 64));
    EXPECT_EQ(page.Control(P::IDC_STORED_VOICE).items,
              (std::vector<std::string>{"15 Sec", "30 Sec", "60 Sec", "120 Sec", "Dynamic"}));
    EXPECT_EQ(page.Text(P::IDC_STORED_VOICE), "Dynamic");
    EXPECT_EQ(page.Text(P::IDC_VOICE_MEMO), "ON");
    const int nibbles[] = {1, 2, 4, 8, 0};
    for (int i = 0; i < 5; ++i) {
        page.SetSelectionFromUser(P::IDC_STORED_VOICE, i);
        EXPECT_EQ(page.options.GetSvRecordTime(), nibbles[i]);
        EXPECT_TRUE(page.options.GetFlag(CModelOptions::SV_FITTED));
    }
    // A timed reset function needs no question with stored voice.
    page.SetSelectionFromUser(P::IDC_RESET_FUNCTION, 5);
    EXPECT_TRUE(prompt.Records().empty());
    EXPECT_EQ(page.options.GetResetFunction(), 5);
    // OFF/ON lists set their bit.
    page.SetSelectionFromUser(P::IDC_PRIVACY, 1);
    page.SetSelectionFromUser(P::IDC_VOICE_MEMO, 0);
    EXPECT_EQ(page.options.GetBytes()[2], kFitted | 0x02);
}

TEST_F(ModelOptionTest, NibblesWithoutAnEntryShowAsUnknownAndStayUntilChanged) {
    for (int sv : {3, 7, 9, 15}) {
        CModelOption p;
        p.SetPrompt(&prompt);
        p.options.SetBytes(Record(static_cast<Byte>(sv << 4 | 11), 16, kFitted, 7, 64));
        p.LoadFromRecords();
        p.Create();
        EXPECT_EQ(p.Text(P::IDC_STORED_VOICE), "??") << sv;
        EXPECT_EQ(p.Text(P::IDC_RESET_FUNCTION), "??") << sv;
        EXPECT_FALSE(p.Control(P::IDC_RESET_TIME).visible);
        // Leaving the page and returning rewrites nothing.
        EXPECT_TRUE(p.OnKillActive());
        p.OnSetActive();
        EXPECT_EQ(p.options.GetSvRecordTime(), sv);
        EXPECT_EQ(p.options.GetResetFunction(), 11);
        // Picking an entry changes it; the "??" entry gives the stored value back.
        p.SetSelectionFromUser(P::IDC_STORED_VOICE, 1);
        EXPECT_EQ(p.options.GetSvRecordTime(), 2);
        p.SelectString(P::IDC_STORED_VOICE, "??");
        p.Dispatch(ui::Notify::SelChange, P::IDC_STORED_VOICE);
        EXPECT_EQ(p.options.GetSvRecordTime(), sv);
        p.SetSelectionFromUser(P::IDC_RESET_FUNCTION, 3);
        EXPECT_EQ(p.options.GetResetFunction(), 3);
        p.SetSelectionFromUser(P::IDC_RESET_FUNCTION, 6);
        EXPECT_EQ(p.options.GetResetFunction(), 11);
        EXPECT_EQ(p.Text(P::IDC_RESET_FUNCTION), "??");
    }
    EXPECT_TRUE(prompt.Records().empty());
}

TEST_F(ModelOptionTest, LoadRepairsStoredTimesThePagerCannotUse) {
    Open(Record(0x01, 0, 0x08, 0, 7));
    EXPECT_EQ(page.options.GetScanBack(), 64);
    EXPECT_EQ(page.options.GetAlertTime(), 7);
    EXPECT_EQ(page.options.GetResetTime(), 16);
    EXPECT_EQ(page.Text(P::IDC_ALERT_TIME), "3.36");
    EXPECT_EQ(page.Text(P::IDC_RESET_TIME), "7.68");
    EXPECT_EQ(page.Text(P::IDC_SCAN_TIME), "0.512");

    // The ends of the ranges load as they are and pass the page's checks.
    CModelOption edge;
    edge.SetPrompt(&prompt);
    edge.options.SetBytes(Record(0x01, 255, 0x08, 255, 8));
    edge.LoadFromRecords();
    edge.Create();
    EXPECT_EQ(edge.options.GetBytes(), Record(0x01, 255, 0x08, 255, 8));
    EXPECT_EQ(edge.Text(P::IDC_ALERT_TIME), "122.4");
    EXPECT_EQ(edge.Text(P::IDC_SCAN_TIME), "0.064");
    EXPECT_TRUE(edge.Control(P::IDC_ALERT_TIME).visible);
    EXPECT_TRUE(edge.OnKillActive());
    EXPECT_TRUE(prompt.Records().empty());
}

TEST_F(ModelOptionTest, ScanTimeIsQuantisedLimitedAndWarnedAbout) {
    CodeplugContext::Get().priorityScan = true;
    Open(Record(0, 16, 0, 7, 64));
    EXPECT_EQ(page.Text(P::IDC_PRIORITY_SCAN), "ON");
    EXPECT_TRUE(page.Control(P::IDC_SCAN_TIME).visible);
    EXPECT_TRUE(page.Control(P::IDC_SCAN_SEC).visible);

    Type(P::IDC_SCAN_TIME, "0.5");
    EXPECT_EQ(page.options.GetScanBack(), 62);
    EXPECT_EQ(page.Text(P::IDC_SCAN_TIME), "0.496");
    EXPECT_TRUE(prompt.Records().empty());

    Type(P::IDC_SCAN_TIME, "0.6");
    EXPECT_EQ(page.options.GetScanBack(), 75);
    EXPECT_EQ(page.Text(P::IDC_SCAN_TIME), "0.6");
    ASSERT_EQ(prompt.Records().size(), 1u);
    EXPECT_EQ(Box(0).text, "Scan time > 512ms may miss the second tone");
    EXPECT_EQ(Box(0).caption, "Scan Warning");
    EXPECT_EQ(Box(0).icon, ui::PromptIcon::Warning);

    prompt.Clear();
    Type(P::IDC_SCAN_TIME, "0.01");
    ASSERT_EQ(prompt.Records().size(), 1u);
    EXPECT_EQ(Box(0).text, "Please enter a number between 0.064 and 2.04.");
    EXPECT_EQ(Box(0).caption, kApp);
    EXPECT_EQ(page.options.GetScanBack(), 8);
    EXPECT_EQ(page.Text(P::IDC_SCAN_TIME), "0.064");
    EXPECT_EQ(page.PendingFocus(), P::IDC_SCAN_TIME);

    // Far beyond the range: the message, then the top value with its warning.
    for (const char* huge : {"1e12", "3", "-1e300"}) {
        prompt.Clear();
        Type(P::IDC_SCAN_TIME, huge);
        ASSERT_GE(prompt.Records().size(), 1u) << huge;
        EXPECT_EQ(Box(0).text, "Please enter a number between 0.064 and 2.04.");
    }
    EXPECT_EQ(page.options.GetScanBack(), 8);  // the negative one
    prompt.Clear();
    Type(P::IDC_SCAN_TIME, "1e12");
    ASSERT_EQ(prompt.Records().size(), 2u);
    EXPECT_EQ(Box(1).caption, "Scan Warning");
    EXPECT_EQ(page.options.GetScanBack(), 255);
    EXPECT_EQ(page.Text(P::IDC_SCAN_TIME), "2.04");

    // Not numbers: the framework's message, and the time stays.
    for (const char* junk : {"inf", "nan", "abc", "1e400", ""}) {
        prompt.Clear();
        Type(P::IDC_SCAN_TIME, "0.5");
        prompt.Clear();
        Type(P::IDC_SCAN_TIME, junk);
        ASSERT_EQ(prompt.Records().size(), 1u) << junk;
        EXPECT_EQ(Box(0).text, "Please enter a number.");
        EXPECT_EQ(page.options.GetScanBack(), 62) << junk;
        EXPECT_EQ(page.Text(P::IDC_SCAN_TIME), "0.496") << junk;
    }
}

TEST_F(ModelOptionTest, AlertAndResetTimesTakeWholeHalfSecondSteps) {
    Open(Record(0x04, 16, kFitted, 7, 64));  // "Timeout"
    EXPECT_FALSE(page.Control(P::IDC_ALERT_TIME).visible);
    page.SetSelectionFromUser(P::IDC_ALERT_DURATION, 1);
    EXPECT_TRUE(page.options.GetFlag(CModelOptions::ALERT_DURATION_FIXED));
    EXPECT_TRUE(page.Control(P::IDC_ALERT_TIME).visible);
    EXPECT_TRUE(page.Control(P::IDC_ALERT_SEC).visible);

    Type(P::IDC_ALERT_TIME, "1.0");
    EXPECT_EQ(page.options.GetAlertTime(), 2);
    EXPECT_EQ(page.Text(P::IDC_ALERT_TIME), "0.96");
    Type(P::IDC_ALERT_TIME, "1e12");
    EXPECT_EQ(page.options.GetAlertTime(), 255);
    EXPECT_EQ(page.Text(P::IDC_ALERT_TIME), "122.4");
    Type(P::IDC_RESET_TIME, "0");
    EXPECT_EQ(page.options.GetResetTime(), 1);
    EXPECT_EQ(page.Text(P::IDC_RESET_TIME), "0.48");
    ASSERT_EQ(prompt.Records().size(), 2u);
    EXPECT_EQ(Box(0).text, "Please enter a number between 0.48 and 122.4.");
    EXPECT_EQ(Box(1).text, "Please enter a number between 0.48 and 122.4.");

    page.SetSelectionFromUser(P::IDC_ALERT_DURATION, 0);
    EXPECT_FALSE(page.Control(P::IDC_ALERT_TIME).visible);
    EXPECT_FALSE(page.Control(P::IDC_ALERT_SEC).visible);
    EXPECT_EQ(page.options.GetAlertTime(), 255);  // kept for a later FIXED
}

TEST_F(ModelOptionTest, TypedTimeIsTakenWhenThePageIsLeftOrAnotherControlIsUsed) {
    Open(Record(0x01, 16, 0x08, 7, 64));
    page.SetTextFromUser(P::IDC_ALERT_TIME, "1.0");
    EXPECT_TRUE(page.OnKillActive());
    EXPECT_EQ(page.options.GetAlertTime(), 2);

    // Two edits typed, then a list picked: both are taken, neither lost.
    page.SetTextFromUser(P::IDC_ALERT_TIME, "4.8");
    page.SetTextFromUser(P::IDC_RESET_TIME, "9.6");
    page.SetSelectionFromUser(P::IDC_CALL_REMINDER, 1);
    EXPECT_EQ(page.options.GetAlertTime(), 10);
    EXPECT_EQ(page.options.GetResetTime(), 20);
    EXPECT_TRUE(page.options.GetFlag(CModelOptions::CALL_REMINDER));
    EXPECT_EQ(page.Text(P::IDC_ALERT_TIME), "4.8");
    EXPECT_EQ(page.Text(P::IDC_RESET_TIME), "9.6");

    // A refused time keeps the page in front until it is limited.
    page.SetText(P::IDC_RESET_TIME, "500");  // no edit notice: stays unread
    EXPECT_FALSE(page.OnKillActive());
    EXPECT_EQ(prompt.Records().back().text, "Please enter a number between 0.48 and 122.4.");
}

TEST_F(ModelOptionTest, SquelchSliderShowsTheLevelAndStoresItsPair) {
    Open(Record(0, 16, 0, 7, 64), {0x19, 0x32});
    EXPECT_EQ(page.Control(P::IDC_SQUELCH).position, 3);
    EXPECT_EQ(page.Control(P::IDC_SQUELCH).rangeMin, 1);
    EXPECT_EQ(page.Control(P::IDC_SQUELCH).rangeMax, 5);
    EXPECT_EQ(page.Text(P::IDC_SQUELCH_LEVEL), "3");
    page.SetPositionFromUser(P::IDC_SQUELCH, 5);
    EXPECT_EQ(page.squelch.GetPair(), (CSquelchSetting::Pair{0x1D, 0x36}));
    EXPECT_EQ(page.Text(P::IDC_SQUELCH_LEVEL), "5");

    CModelOption odd;
    odd.options.SetBytes(Record(0, 16, 0, 7, 64));
    odd.squelch.SetPair({0x20, 0x21});
    odd.LoadFromRecords();
    odd.Create();
    EXPECT_EQ(odd.Text(P::IDC_SQUELCH_LEVEL), "0");
    EXPECT_TRUE(odd.OnKillActive());
    odd.SetPositionFromUser(P::IDC_SQUELCH, 9);  // no such position
    odd.SetSelectionFromUser(P::IDC_FIXED_ALERT, 1);
    EXPECT_EQ(odd.squelch.GetPair(), (CSquelchSetting::Pair{0x20, 0x21}));
    EXPECT_EQ(odd.Control(P::IDC_SQUELCH).position, 0);
    odd.SetPositionFromUser(P::IDC_SQUELCH, 1);
    EXPECT_EQ(odd.squelch.GetPair(), (CSquelchSetting::Pair{0x15, 0x2E}));
    EXPECT_EQ(odd.Text(P::IDC_SQUELCH_LEVEL), "1");
}

TEST_F(ModelOptionTest, PriorityScanListOnlyShowsTheFlag) {
    Open(Record(0, 16, 0, 7, 64));
    EXPECT_EQ(page.Text(P::IDC_PRIORITY_SCAN), "OFF");
    EXPECT_FALSE(page.IsEnabled(P::IDC_PRIORITY_SCAN));
    EXPECT_FALSE(page.Control(P::IDC_SCAN_TIME).visible);
    page.SetSelectionFromUser(P::IDC_PRIORITY_SCAN, 1);
    EXPECT_EQ(page.Text(P::IDC_PRIORITY_SCAN), "OFF");
    EXPECT_EQ(page.options.GetBytes(), Record(0, 16, 0, 7, 64));
}

}  // namespace
