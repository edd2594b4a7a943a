// The User Data sheet inside the program: F5 opens it over the open
// codeplug, the tabs are real, and what is typed reaches the codeplug only
// through OK.
#include <QComboBox>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QTextBrowser>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include "app/HelpWindow.h"
#include "codeplug/CPagerData.h"
#include "editor/RuleMessages.h"
#include "gui/PickEntry.h"
#include "gui/SheetFixture.h"
#include "ui/qt/ScreenFit.h"

using namespace cmd;

namespace {

TEST_F(SheetFixture, F5OpensTheSheetOnGeneralWithEveryPage) {
    OpenSample();
    QStringList tabs;
    QString model;
    WithSheet(
        [&](ui::qt::CBoundSheet& sheet) {
            for (int i = 0; i < sheet.Tabs()->count(); ++i) tabs << sheet.Tabs()->tabText(i);
            EXPECT_EQ(sheet.windowTitle(), "User Data");
            EXPECT_EQ(sheet.Tabs()->currentIndex(), 0);
            model = In<QLineEdit>(sheet, CGeneral::IDC_MODEL)->text();
            EXPECT_TRUE(In<QLineEdit>(sheet, CGeneral::IDC_MODEL)->isReadOnly());
        },
        ui::IDCANCEL);
    EXPECT_EQ(tabs, (QStringList{"General", "Channel F1", "Channel F2", "Model Options",
                                 "Function Switches"}));
    EXPECT_EQ(model, "A03XLT9239AC");
}

TEST_F(SheetFixture, TypedFrequencyAndToneSystemReachTheCodeplugOnOk) {
    OpenSample();
    const Image before = Doc().Codeplug().GetImage();
    WithSheet(
        [&](ui::qt::CBoundSheet& sheet) {
            auto* systems = In<QComboBox>(sheet, CGeneral::IDC_TONE_SYSTEM);
            PickEntry(systems, TONE_GE);
            sheet.Tabs()->setCurrentIndex(1);
            // Leaving the field runs the frequency rules.
            TypeAndLeave(sheet, 1004, "152.0125", 1013);
        },
        ui::IDOK);
    EXPECT_TRUE(prompt.Records().empty()) << prompt.Records()[0].text;
    CPagerData d;
    d.Decode(Doc().Codeplug());
    EXPECT_NEAR(d.channel[0].GetFrequency(), 152.0125, 1e-6);
    EXPECT_EQ(Doc().Codeplug().GetToneSystem(), TONE_GE);
    EXPECT_NE(Doc().Codeplug().GetImage(), before);
}

TEST_F(SheetFixture, RefusedFrequencyKeepsTheOldValueAndCancelWritesNothing) {
    OpenSample();
    const Image before = Doc().Codeplug().GetImage();
    prompt.Answer(ui::PromptAnswer::Ok);
    QString shown;
    WithSheet(
        [&](ui::qt::CBoundSheet& sheet) {
            sheet.Tabs()->setCurrentIndex(1);
            TypeAndLeave(sheet, 1004, "152.001", 1013);  // off the 2.5 kHz raster
            shown = In<QLineEdit>(sheet, 1004)->text();
            EXPECT_TRUE(In<QLineEdit>(sheet, 1004)->hasFocus());
        },
        ui::IDCANCEL);
    ASSERT_EQ(prompt.Records().size(), 1u);
    EXPECT_EQ(prompt.Records()[0].text, "Invalid Receiver Frequency");
    EXPECT_EQ(shown, "152.0075");
    EXPECT_EQ(Doc().Codeplug().GetImage(), before);
}

TEST_F(SheetFixture, EnterInAFieldTakesWhatWasTypedBeforeOk) {
    OpenSample();
    WithSheet(
        [&](ui::qt::CBoundSheet& sheet) {
            sheet.Tabs()->setCurrentIndex(1);
            auto* tone = In<QLineEdit>(sheet, 1034);  // Call 5 Tone 1
            Focus(sheet, tone);
            QTest::keyClicks(tone, "1000");
            // Enter goes to the default button without leaving the field.
            QTest::keyClick(tone, Qt::Key_Return);
        },
        0);
    CPagerData d;
    d.Decode(Doc().Codeplug());
    EXPECT_NEAR(d.channel[0].GetTone(4), 1006.9, 0.05);  // snapped onto the Corvane set
}

TEST_F(SheetFixture, ClickingAnotherTabTakesWhatWasTyped) {
    OpenSample();
    int shown = -1;
    WithSheet(
        [&](ui::qt::CBoundSheet& sheet) {
            sheet.Tabs()->setCurrentIndex(1);
            auto* tone = In<QLineEdit>(sheet, 1034);  // Call 5 Tone 1
            Focus(sheet, tone);
            QTest::keyClicks(tone, "1000");
            QTabBar* bar = sheet.Tabs()->tabBar();
            QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(3).center());
            shown = sheet.Tabs()->currentIndex();
        },
        ui::IDOK);
    EXPECT_EQ(shown, 3);
    CPagerData d;
    d.Decode(Doc().Codeplug());
    EXPECT_NEAR(d.channel[0].GetTone(4), 1006.9, 0.05);
}


TEST_F(SheetFixture, EnterOnAFocusedButtonPressesThatButton) {
    OpenSample();
    const Image before = Doc().Codeplug().GetImage();
    WithSheet(
        [&](ui::qt::CBoundSheet& sheet) {
            sheet.Tabs()->setCurrentIndex(1);
            ASSERT_FALSE(In<QLineEdit>(sheet, 1030)->text().isEmpty());
            auto* clear = In<QPushButton>(sheet, CChannelPage::IDC_CLEAR_ALL_TONES);
            Focus(sheet, clear);
            QTest::keyClick(clear, Qt::Key_Return);
            ASSERT_TRUE(sheet.isVisible());
            EXPECT_TRUE(In<QLineEdit>(sheet, 1030)->text().isEmpty());
            EXPECT_TRUE(In<QLineEdit>(sheet, 1042)->text().isEmpty());

            auto* pick = In<QPushButton>(sheet, 1210);  // Call 1 Tone 1 "..."
            Focus(sheet, pick);
            EXPECT_TRUE(CancelDialogDuring("Corvane Tone Table",
                                           [&] { QTest::keyClick(pick, Qt::Key_Enter); }));
            ASSERT_TRUE(sheet.isVisible());

            // On Cancel, Enter cancels: nothing typed or cleared is kept.
            auto* cancel = sheet.findChild<QPushButton*>(QString::number(ui::IDCANCEL));
            Focus(sheet, cancel);
            QTest::keyClick(cancel, Qt::Key_Return);
        },
        0);
    EXPECT_EQ(Doc().Codeplug().GetImage(), before);
}

TEST_F(SheetFixture, EnterAfterARefusedValueKeepsTheSheetOpenOnThatField) {
    OpenSample();
    const Image before = Doc().Codeplug().GetImage();
    prompt.Answer(ui::PromptAnswer::Ok);
    struct Case {
        int field;
        const char* typed;
        std::string message;
    };
    const Case cases[] = {
        {1004, "152.001", rule_text::kInvalidReceiverFrequency},  // off the raster
        {1004, "152.125", rule_text::kSpurFrequency},
        {1004, "300", "Please enter a number between 150.4 and 159.5975."},
        {1042, "349.0", rule_text::kToneSpacingError},  // Call 1 Tone 2 = Call 1 Tone 1
    };
    WithSheet(
        [&](ui::qt::CBoundSheet& sheet) {
            sheet.Tabs()->setCurrentIndex(1);
            for (const Case& c : cases) {
                prompt.Clear();
                auto* edit = In<QLineEdit>(sheet, c.field);
                const QString held = edit->text();
                Focus(sheet, edit);
                edit->selectAll();
                QTest::keyClicks(edit, c.typed);
                QTest::keyClick(edit, Qt::Key_Return);
                ASSERT_EQ(prompt.Records().size(), 1u) << c.typed;
                EXPECT_EQ(prompt.Records()[0].text, c.message);
                ASSERT_TRUE(sheet.isVisible()) << c.typed;
                EXPECT_EQ(sheet.Tabs()->currentIndex(), 1);
                EXPECT_EQ(edit->text(), held) << c.typed;
                EXPECT_TRUE(edit->hasFocus()) << c.typed;
                EXPECT_EQ(edit->selectedText(), held) << c.typed;
            }
            // The value held passes: Enter now closes the sheet.
            prompt.Clear();
            QTest::keyClick(In<QLineEdit>(sheet, 1042), Qt::Key_Return);
            EXPECT_TRUE(prompt.Records().empty());
        },
        0);
    EXPECT_EQ(Doc().Codeplug().GetImage(), before);
}

TEST_F(SheetFixture, EveryPageShowsWholeWhenTheScreenHasRoomForIt) {
    // The lists of a page fill when it is first shown, in the fonts of the
    // machine, and may ask for more room than the page the sheet opened on;
    // the sheet grows with them instead of cutting them off.
    OpenSample();
    WithSheet(
        [&](ui::qt::CBoundSheet& sheet) {
            auto shownWhole = [&](const std::string& what) {
                auto* area = qobject_cast<QScrollArea*>(sheet.Tabs()->currentWidget());
                ASSERT_NE(area, nullptr);
                const QSize room = ui::qt::ScreenRoom(&sheet);
                const QSize page = area->widget()->sizeHint();
                if (sheet.sizeHint().width() <= room.width())
                    EXPECT_GE(area->viewport()->width(), page.width()) << what;
                if (sheet.sizeHint().height() <= room.height())
                    EXPECT_GE(area->viewport()->height(), page.height()) << what;
            };
            QTabBar* bar = sheet.Tabs()->tabBar();
            for (int tab = 1; tab < bar->count(); ++tab) {
                QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(tab).center());
                ASSERT_EQ(sheet.Tabs()->currentIndex(), tab);
                QApplication::processEvents();
                shownWhole(sheet.Tabs()->tabText(tab).toStdString());
            }
            // A list whose entries come out wider than the room it was given.
            QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
            QComboBox* alert = nullptr;
            for (auto* list : sheet.Tabs()->currentWidget()->findChildren<QComboBox*>())
                if (list->isVisible() && list->objectName() != "1013") alert = list;
            ASSERT_NE(alert, nullptr);
            const int width = sheet.width();
            alert->addItem(alert->currentText() + "WWWWWWWW");
            QApplication::processEvents();
            QApplication::processEvents();
            EXPECT_GT(sheet.width(), width);
            shownWhole("a widened list");
        },
        ui::IDCANCEL);
}

TEST_F(SheetFixture, CtrlTabAndCtrlPageKeysChangePagesFromEveryControl) {
    OpenSample();
    prompt.Answer(ui::PromptAnswer::Ok);
    WithSheet(
        [&](ui::qt::CBoundSheet& sheet) {
            QTabWidget* tabs = sheet.Tabs();
            const int last = tabs->count() - 1;
            // A drop-down list neither swallows the keys nor changes its value.
            auto* systems = In<QComboBox>(sheet, CGeneral::IDC_TONE_SYSTEM);
            const int system = systems->currentIndex();
            Focus(sheet, systems);
            QTest::keyClick(systems, Qt::Key_PageDown, Qt::ControlModifier);
            ASSERT_EQ(tabs->currentIndex(), 1);
            EXPECT_EQ(systems->currentIndex(), system);

            auto* coding = In<QComboBox>(sheet, 1013);
            const int option = coding->currentIndex();
            Focus(sheet, coding);
            QTest::keyClick(coding, Qt::Key_Tab, Qt::ControlModifier);
            ASSERT_EQ(tabs->currentIndex(), 2);
            EXPECT_EQ(coding->currentIndex(), option);

            auto* frequency = In<QLineEdit>(sheet, 1050);
            Focus(sheet, frequency);
            QTest::keyClick(frequency, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
            ASSERT_EQ(tabs->currentIndex(), 1);

            auto* clear = In<QPushButton>(sheet, CChannelPage::IDC_CLEAR_ALL_TONES);
            Focus(sheet, clear);
            QTest::keyClick(clear, Qt::Key_PageUp, Qt::ControlModifier);
            ASSERT_EQ(tabs->currentIndex(), 0);
            // Round from the first page to the last, and back.
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageUp, Qt::ControlModifier);
            ASSERT_EQ(tabs->currentIndex(), last);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
            ASSERT_EQ(tabs->currentIndex(), 0);

            // What was typed is taken on the way, or refused and the page stays.
            tabs->setCurrentIndex(1);
            auto* f1 = In<QLineEdit>(sheet, 1004);
            Focus(sheet, f1);
            f1->selectAll();
            QTest::keyClicks(f1, "152.001");
            QTest::keyClick(f1, Qt::Key_Tab, Qt::ControlModifier);
            ASSERT_EQ(prompt.Records().size(), 1u);
            EXPECT_EQ(prompt.Records()[0].text, rule_text::kInvalidReceiverFrequency);
            ASSERT_EQ(tabs->currentIndex(), 1);
            EXPECT_TRUE(f1->hasFocus());
            f1->selectAll();
            QTest::keyClicks(f1, "152.0125");
            QTest::keyClick(f1, Qt::Key_PageDown, Qt::ControlModifier);
            ASSERT_EQ(tabs->currentIndex(), 2);
        },
        ui::IDOK);
    CPagerData d;
    d.Decode(Doc().Codeplug());
    EXPECT_NEAR(d.channel[0].GetFrequency(), 152.0125, 1e-6);
}

TEST_F(SheetFixture, F1OpensTheGuideAtThePageInAWindowUsableBesideTheSheet) {
    OpenSample();
    WithSheet(
        [&](ui::qt::CBoundSheet& sheet) {
            sheet.Tabs()->setCurrentIndex(1);
            auto* coding = In<QComboBox>(sheet, 1013);
            Focus(sheet, coding);
            QTest::keyClick(coding, Qt::Key_F1);
            HelpWindow* help = app->GetHelpWindow();
            ASSERT_NE(help, nullptr);
            EXPECT_TRUE(help->isVisible());
            EXPECT_EQ(help->Browser()->source().fragment(), "channels");
            EXPECT_GT(help->Browser()->verticalScrollBar()->value(), 0);
            EXPECT_TRUE(help->Browser()->toPlainText().contains("Coding Option"));
            EXPECT_TRUE(sheet.isVisible());
            EXPECT_EQ(QApplication::activeModalWidget(), &sheet);

            // A click through the window system reaches the help window while
            // the sheet is up: Contents goes to the start of the guide.
            auto* contents = help->findChild<QPushButton*>("helpContents");
            QTest::mouseClick(help->windowHandle(), Qt::LeftButton, {},
                              contents->mapTo(help, contents->rect().center()));
            EXPECT_TRUE(help->Browser()->source().fragment().isEmpty());
            EXPECT_EQ(help->Browser()->verticalScrollBar()->value(), 0);

            // Each page has its own section.
            sheet.Tabs()->setCurrentIndex(4);
            QTest::keyClick(sheet.Tabs()->tabBar(), Qt::Key_F1);
            EXPECT_EQ(help->Browser()->source().fragment(), "switches");
        },
        ui::IDCANCEL);
}

}  // namespace
