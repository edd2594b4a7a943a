// The User Data sheet inside the program: F5 opens it over the open
// codeplug, the tabs are real, and what is typed reaches the codeplug only
// through OK.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include "codeplug/CPagerData.h"
#include "gui/AppFixture.h"
#include "gui/PickEntry.h"

using namespace cmd;

namespace {

class SheetFixture : public AppFixture {
protected:
    void OpenSample(const char* name = "vhf-two-frequency.dat") {
        ASSERT_TRUE(Start());
        chosenFile = QString(CALVEX_SOURCE_DIR) + "/samples/" + name;
        Frame().OnCommand(ID_FILE_OPEN);
        ASSERT_TRUE(Doc().DataValid());
    }
    // Runs `drive` on the open sheet (from inside its modal loop), then
    // presses the button `closeWith` (0: `drive` closes the sheet itself).
    void WithSheet(std::function<void(ui::qt::CBoundSheet&)> drive, int closeWith) {
        bool done = false;
        QTimer poll;
        poll.setInterval(10);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            ui::qt::CBoundSheet* sheet = View().UserDataWindow();
            if (done || !sheet || !sheet->isVisible()) return;
            done = true;
            poll.stop();
            drive(*sheet);
            if (closeWith != 0)
                QTest::mouseClick(sheet->findChild<QPushButton*>(QString::number(closeWith)),
                                  Qt::LeftButton);
        });
        poll.start();
        ASSERT_TRUE(View().OnCommand(ID_USER_DATA));
        EXPECT_TRUE(done);
        EXPECT_FALSE(View().UserDataWindow()->isVisible());
    }
    // Gives a widget of the sheet the keyboard focus, as a click would.
    static void Focus(ui::qt::CBoundSheet& sheet, QWidget* w) {
        QApplication::setActiveWindow(&sheet);
        w->setFocus(Qt::OtherFocusReason);
        EXPECT_TRUE(WaitFor([&] { return w->hasFocus(); }, 5000));
    }
    // Replaces the text of the edit `id` on the page in front and moves on.
    void TypeAndLeave(ui::qt::CBoundSheet& sheet, int id, const char* text, int next) {
        auto* edit = In<QLineEdit>(sheet, id);
        ASSERT_NE(edit, nullptr);
        Focus(sheet, edit);
        edit->selectAll();
        QTest::keyClicks(edit, text);
        Focus(sheet, In<QWidget>(sheet, next));
    }
    template <typename W>
    W* In(ui::qt::CBoundSheet& sheet, int id) {
        return sheet.Tabs()->currentWidget()->findChild<W*>(QString::number(id));
    }
};

}  // namespace

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
