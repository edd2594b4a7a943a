// Property sheet runs and field exchange: which page is in front, which
// pages get their controls, and when a refused field keeps a page in front.
#include <gtest/gtest.h>

#include "ui/CPropertySheet.h"
#include "ui/ScriptedPrompt.h"

using namespace ui;

namespace {

constexpr int kEdit = 1000;

// A page with one number field limited to 1..10 and a log of its life cycle.
class RangePage : public CPropertyPage {
public:
    explicit RangePage(std::string caption) : CPropertyPage(100, std::move(caption)) {}
    double value = 5;
    int inits = 0, oks = 0, cancels = 0;
    void OnInitDialog() override {
        ++inits;
        CPropertyPage::OnInitDialog();
    }
    bool OnOK() override {
        ++oks;
        return true;
    }
    void OnCancel() override { ++cancels; }

protected:
    void DoDataExchange(DataExchange& dx) override {
        dx.Number(kEdit, value);
        dx.MinMax(value, 1.0, 10.0);
    }
};

struct SheetRun : ::testing::Test {
    ScriptedPrompt prompt;
    CPropertySheet sheet{"User Data"};
    RangePage a{"A"}, b{"B"}, c{"C"};
    void SetUp() override {
        sheet.SetPagesPrompt(&prompt);
        sheet.AddPage(&a);
        sheet.AddPage(&b);
        sheet.AddPage(&c);
        sheet.Begin();
    }
};

}  // namespace

TEST_F(SheetRun, OpensOnFirstPageAndCreatesOthersOnlyWhenVisited) {
    EXPECT_EQ(sheet.ActiveIndex(), 0);
    EXPECT_TRUE(a.Created());
    EXPECT_FALSE(b.Created());
    EXPECT_EQ(a.Text(kEdit), "5");
    ASSERT_TRUE(sheet.SetActivePage(2));
    EXPECT_TRUE(c.Created());
    EXPECT_FALSE(b.Created());
    sheet.ClickFromUser(IDOK);
    EXPECT_EQ(sheet.PendingEnd(), IDOK);
    EXPECT_EQ(a.oks, 1);
    EXPECT_EQ(b.oks, 0);  // never shown, never asked
    EXPECT_EQ(c.oks, 1);
}

TEST_F(SheetRun, RefusedFieldKeepsPageInFrontWithRangeMessageAndFocus) {
    a.SetTextFromUser(kEdit, "1e12");
    EXPECT_FALSE(sheet.SetActivePage(1));
    EXPECT_EQ(sheet.ActiveIndex(), 0);
    ASSERT_EQ(prompt.Records().size(), 1u);
    EXPECT_EQ(prompt.Records()[0].text, "Please enter a number between 1 and 10.");
    EXPECT_EQ(prompt.Records()[0].caption, "Calvex V HXR");
    EXPECT_EQ(a.PendingFocus(), kEdit);
    EXPECT_EQ(a.value, 1e12);  // saved before the check, as the framework does

    // OK is refused the same way; the sheet stays open.
    sheet.ClickFromUser(IDOK);
    EXPECT_EQ(sheet.PendingEnd(), 0);
    EXPECT_EQ(sheet.Result(), 0);

    a.SetTextFromUser(kEdit, " 7.5 ");
    EXPECT_TRUE(sheet.SetActivePage(1));
    EXPECT_EQ(a.value, 7.5);
}

TEST_F(SheetRun, NonNumbersAreRefusedBeforeAnyRangeCheck) {
    for (const char* text : {"inf", "nan", "0x10", "1,5", "", "1e", "--1", "1.2.3"}) {
        prompt.Clear();
        a.SetTextFromUser(kEdit, text);
        EXPECT_FALSE(sheet.SetActivePage(1)) << text;
        ASSERT_EQ(prompt.Records().size(), 1u) << text;
        EXPECT_EQ(prompt.Records()[0].text, "Please enter a number.") << text;
    }
}

TEST_F(SheetRun, CancelAsksNoPageAndLeavesRefusedValuesAlone) {
    a.SetTextFromUser(kEdit, "99");
    sheet.CancelFromUser();
    EXPECT_EQ(sheet.PendingEnd(), IDCANCEL);
    EXPECT_EQ(a.cancels, 1);
    EXPECT_TRUE(prompt.Records().empty());
    EXPECT_EQ(a.value, 5);
}

TEST_F(SheetRun, EveryRunStartsAfreshWithTheSamePageObjects) {
    ASSERT_TRUE(sheet.SetActivePage(1));
    sheet.End();
    sheet.RemoveAllPages();
    EXPECT_FALSE(a.Created());
    sheet.AddPage(&a);
    sheet.AddPage(&c);
    sheet.Begin();
    EXPECT_EQ(sheet.PageCount(), 2);
    EXPECT_EQ(a.inits, 2);
    EXPECT_EQ(sheet.ActivePage(), &a);
}

TEST(FieldExchange, IntegersAndCombos) {
    CPropertyPage page;
    ScriptedPrompt prompt;
    page.SetPrompt(&prompt);
    int n = 0;
    page.SetText(1, "2147483648");
    {
        DataExchange dx(page, true);
        dx.Number(1, n);
        EXPECT_TRUE(dx.Failed());
    }
    EXPECT_EQ(prompt.Records().back().text, "Please enter an integer.");
    page.SetText(1, "-12");
    {
        DataExchange dx(page, true);
        dx.Number(1, n);
        dx.MinMax(n, 0, 255);
        EXPECT_EQ(dx.FailedControl(), 1);
    }
    EXPECT_EQ(prompt.Records().back().text, "Please enter an integer between 0 and 255.");

    // A combo shows a value that matches no entry as typed text.
    page.SetItems(2, {"Tone", "Vibrate"});
    std::string text = "Vibrator";
    DataExchange(page, false).ComboText(2, text);
    EXPECT_EQ(page.Selection(2), -1);
    EXPECT_EQ(page.Text(2), "Vibrator");
    text = "Tone";
    DataExchange(page, false).ComboText(2, text);
    EXPECT_EQ(page.Selection(2), 0);
}
