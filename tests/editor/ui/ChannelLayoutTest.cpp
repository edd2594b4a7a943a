#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <functional>

#include "codeplug/CodeplugContext.h"
#include "editor/RuleMessages.h"
#include "editor/pages/CChannel1.h"
#include "editor/ui/PageLayouts.h"
#include "gui/PickEntry.h"
#include "gui/WaitFor.h"
#include "ui/CPropertySheet.h"
#include "ui/ScriptedPrompt.h"
#include "ui/qt/CBoundSheet.h"

namespace {

constexpr Byte kIf21Low = 0x24;

// The Channel F1 page alone in a real sheet, with R468 and a few tones.
class ChannelLayout : public ::testing::Test {
protected:
    void SetUp() override {
        CodeplugContext& ctx = CodeplugContext::Get();
        ctx.Reset();
        ctx.band = 2;
        ctx.subBand = 0;
        ctx.dutyF1 = true;
        page.model.SetBand(2);
        page.model.SetSubBand(0);
        page.record.SetBandwidth(3);
        page.record.SetFrequency(150.0025, kIf21Low);
        page.record.SetCodingOption(0);
        page.record.SetTone(0, 1006.9);
        page.record.SetTone(12, 389.0);
        page.record.SetTone(13, 539.0);
        page.PrepareChannelPage();
        sheet.SetPagesPrompt(&prompt);
        sheet.AddPage(&page);
        window = std::make_unique<ui::qt::CBoundSheet>(sheet);
        window->SetPageLayout(CChannel1::IDD, LayoutChannelPage);
        window->ShowModal();
        ASSERT_TRUE(WaitFor([&] { return window->isVisible(); }));
        QApplication::setActiveWindow(window.get());
    }
    void TearDown() override {
        window->reject();
        window.reset();
        CodeplugContext::Get().Reset();
    }

    template <typename W>
    W* Find(int id) const {
        return window->PageWidget(0)->findChild<W*>(QString::number(id));
    }
    void Focus(QWidget* w) {
        w->setFocus();
        ASSERT_TRUE(WaitFor([&] { return w->hasFocus(); }));
    }
    // Replaces an edit's text as a user would and moves on to `next`; a
    // field that refuses the text keeps the focus.
    void TypeInto(int id, const char* text, int next) {
        auto* edit = Find<QLineEdit>(id);
        ASSERT_NE(edit, nullptr);
        Focus(edit);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
        Find<QWidget>(next)->setFocus(Qt::TabFocusReason);
    }

    CChannel1 page;
    ui::CPropertySheet sheet{"User Data"};
    ui::ScriptedPrompt prompt;
    std::unique_ptr<ui::qt::CBoundSheet> window;
};

TEST_F(ChannelLayout, EveryControlOfThePageIsThere) {
    EXPECT_EQ(window->Tabs()->tabText(0), "Channel F1");
    for (const ChannelRow& row : CChannelPage::Rows()) {
        EXPECT_NE(Find<QLineEdit>(row.tone1), nullptr) << row.label;
        EXPECT_NE(Find<QPushButton>(row.pick1), nullptr) << row.label;
        EXPECT_NE(Find<QWidget>(row.alert), nullptr) << row.label;
        EXPECT_NE(Find<QWidget>(row.duty), nullptr) << row.label;
        if (row.tone2) EXPECT_NE(Find<QLineEdit>(row.tone2), nullptr) << row.label;
        if (row.csLabel) EXPECT_NE(Find<QLabel>(row.csLabel), nullptr) << row.label;
    }
    EXPECT_EQ(Find<QLineEdit>(1004)->text(), "150.0025");
    EXPECT_EQ(Find<QLabel>(1248)->text(), "(A: 143 - 150.9975 MHz)");
    EXPECT_EQ(Find<QLineEdit>(1014)->text(), "Enabled");
    EXPECT_EQ(Find<QLabel>(1284)->text(), "Long B");
    EXPECT_TRUE(Find<QPushButton>(1210)->isVisible());
    EXPECT_EQ(Find<QPushButton>(1210)->text(), "...");
    EXPECT_FALSE(Find<QPushButton>(1211)->isVisible());
    EXPECT_FALSE(Find<QLineEdit>(1031)->isEnabled());  // Call 2 Tone 1 is shared
    EXPECT_FALSE(Find<QLineEdit>(1032)->isVisible());  // Call 3 is not used
    EXPECT_NE(Find<QPushButton>(CChannelPage::IDC_CLEAR_ALL_TONES), nullptr);
    const QString dir = qEnvironmentVariable("CALVEX_SHOT_DIR");
    if (!dir.isEmpty()) {
        window->resize(680, 600);
        QApplication::processEvents();
        window->grab().save(QDir(dir).filePath("channel-f1.png"));
        page.SetSelectionFromUser(page.CodingOptionId(), 10);
        window->Sync();
        QApplication::processEvents();
        window->grab().save(QDir(dir).filePath("channel-f1-r168.png"));
    }
}

TEST_F(ChannelLayout, CallsTheOptionDoesNotUseKeepTheirRowsGreyed) {
    auto label = [&](const char* text) {
        for (QLabel* l : window->PageWidget(0)->findChildren<QLabel*>())
            if (l->text() == text) return l;
        return static_cast<QLabel*>(nullptr);
    };
    QApplication::processEvents();
    // R468 uses calls 1 and 2 and group calls 1 and 2.
    EXPECT_TRUE(label("Call 2:")->isEnabled());
    EXPECT_FALSE(label("Call 3:")->isEnabled());
    EXPECT_FALSE(label("Group Call 4:")->isEnabled());
    const int row = label("Call 2:")->y() - label("Call 1:")->y();
    EXPECT_EQ(label("Call 5:")->y() - label("Call 4:")->y(), row);
    EXPECT_EQ(label("Group Call 4:")->y() - label("Group Call 3:")->y(), row);

    // Picking "R168 (None)" in the list brings every call back, in place.
    const int groupCall4 = label("Group Call 4:")->y();
    PickEntry(Find<QComboBox>(1013), 10);
    EXPECT_TRUE(label("Call 3:")->isEnabled());
    EXPECT_TRUE(label("Group Call 4:")->isEnabled());
    EXPECT_TRUE(Find<QLineEdit>(1041)->isVisible());
    EXPECT_EQ(label("Group Call 4:")->y(), groupCall4);
}

TEST_F(ChannelLayout, TypedTonesAndFrequencyGoThroughTheRules) {
    TypeInto(1042, "1034.7", 1043);  // Call 1 Tone 2, copied into Group 1
    EXPECT_EQ(Find<QLineEdit>(1038)->text(), "1034.7");
    EXPECT_EQ(page.record.GetTone(8), 1034.7);
    TypeInto(1004, "143.1875", 1030);  // a spur
    ASSERT_FALSE(prompt.Records().empty());
    EXPECT_EQ(prompt.Records().back().text, rule_text::kSpurFrequency);
    EXPECT_EQ(Find<QLineEdit>(1004)->text(), "150.0025");
    // The user is back on the refused field, its text selected.
    EXPECT_TRUE(Find<QLineEdit>(1004)->hasFocus());
    EXPECT_EQ(Find<QLineEdit>(1004)->selectedText(), "150.0025");
    TypeInto(1004, "147.5", 1030);
    EXPECT_NEAR(page.record.GetFrequency(), 147.5, 1e-6);
}

TEST_F(ChannelLayout, TabGoesRowByRowThroughWhatCanBeChanged) {
    Focus(Find<QWidget>(1004));
    std::vector<int> order;
    for (int i = 0; i < 17; ++i) {
        order.push_back(QApplication::focusWidget()->objectName().toInt());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    // R468: Call 2 Tone 1 and the group calls follow other fields and are
    // passed over; the read-only ON/OFF Duty field too.
    EXPECT_EQ(order,
              (std::vector<int>{1004, 1013, 1030, 1210, 1042, 1216, 1251, 1173, 1043, 1217, 1252,
                                1174, 1259, 1265, 1260, 1264, CChannelPage::IDC_CLEAR_ALL_TONES}));
}

// Clicks a "..." button; `inPicker` runs on the picker once it is up and
// must close it.
void ClickPick(QPushButton* button, const std::function<void(QDialog*)>& inPicker,
               const QString& caption) {
    bool seen = false;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dlg = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dlg || dlg->windowTitle() != caption || !dlg->isVisible()) return;
        poll.stop();
        seen = true;
        inPicker(dlg);
    });
    poll.start();
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_TRUE(seen) << caption.toStdString();
}

TEST_F(ChannelLayout, PickButtonOpensThePickerOnTheFieldsTone) {
    QString checked;
    ClickPick(
        Find<QPushButton>(1210),
        [&](QDialog* dlg) {
            auto radios = dlg->findChildren<QRadioButton*>();
            EXPECT_EQ(radios.size(), 80);
            for (QRadioButton* r : radios)
                if (r->isChecked()) checked = r->text();
            const QString dir = qEnvironmentVariable("CALVEX_SHOT_DIR");
            if (!dir.isEmpty()) dlg->grab().save(QDir(dir).filePath("corvane-picker.png"));
            // Pick 1034.7, the next tone of Group 3, and confirm.
            auto* next = dlg->findChild<QRadioButton*>(QString::number(CToneTableDlg::RadioId(27)));
            ASSERT_NE(next, nullptr);
            QTest::mouseClick(next, Qt::LeftButton);
            QTest::mouseClick(dlg->findChild<QPushButton*>(QString::number(ui::IDOK)),
                              Qt::LeftButton);
        },
        "Corvane Tone Table");
    EXPECT_EQ(checked, "1006.9  (161)");
    EXPECT_EQ(Find<QLineEdit>(1030)->text(), "1034.7");
    EXPECT_EQ(Find<QLineEdit>(1031)->text(), "1034.7");
    EXPECT_EQ(page.record.GetTone(0), 1034.7);
}

TEST_F(ChannelLayout, PickerKeyboardStartsOnTheFieldsToneAndArrowsPick) {
    QString focused;
    ClickPick(
        Find<QPushButton>(1210),
        [&](QDialog* dlg) {
            QApplication::setActiveWindow(dlg);
            ASSERT_TRUE(WaitFor([&] { return QApplication::focusWidget() != nullptr; }));
            focused = QApplication::focusWidget()->objectName();
            // Down moves to the next tone of Group 3 and checks it; Enter is OK.
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        },
        "Corvane Tone Table");
    EXPECT_EQ(focused, QString::number(CToneTableDlg::RadioId(26)));  // 1006.9 (161)
    EXPECT_EQ(Find<QLineEdit>(1030)->text(), "1034.7");
    EXPECT_EQ(page.record.GetTone(0), 1034.7);
}

TEST_F(ChannelLayout, PickerArrowsGoThroughEveryToneInDialogOrder) {
    std::vector<int> visited;
    ClickPick(
        Find<QPushButton>(1210),
        [&](QDialog* dlg) {
            QApplication::setActiveWindow(dlg);
            auto radio = [&](int index) {
                return dlg->findChild<QRadioButton*>(
                    QString::number(CToneTableDlg::RadioId(index)));
            };
            // From the last tone of Group 1, on to the first of Group 2 and
            // back; round from the first tone of all to the last.
            radio(9)->setFocus();
            ASSERT_TRUE(WaitFor([&] { return radio(9)->hasFocus(); }));
            const std::pair<Qt::Key, int> steps[] = {
                {Qt::Key_Down, 10}, {Qt::Key_Up, 9},  {Qt::Key_Right, 10}, {Qt::Key_Left, 9},
                {Qt::Key_Down, 10}, {Qt::Key_Down, 11},
            };
            for (auto [key, expected] : steps) {
                QTest::keyClick(QApplication::focusWidget(), key);
                EXPECT_TRUE(radio(expected)->hasFocus()) << expected;
                EXPECT_TRUE(radio(expected)->isChecked()) << expected;
            }
            radio(0)->setFocus();
            QTest::keyClick(radio(0), Qt::Key_Up);
            EXPECT_TRUE(radio(79)->isChecked());  // "2468.2 (209)", the end of Group 11
            QTest::keyClick(radio(79), Qt::Key_Down);
            EXPECT_TRUE(radio(0)->isChecked());
            QTest::keyClick(radio(0), Qt::Key_Return);
        },
        "Corvane Tone Table");
    EXPECT_EQ(Find<QLineEdit>(1030)->text(), "330.5");  // the first tone of Group 1
}

TEST_F(ChannelLayout, GePickerIsOneFrameAndCancelKeepsTheTone) {
    CodeplugContext::Get().toneSystem = TONE_GE;
    page.OnSetActive();
    window->Sync();
    const QString before = Find<QLineEdit>(1043)->text();
    ClickPick(
        Find<QPushButton>(1217),
        [&](QDialog* dlg) {
            EXPECT_EQ(dlg->findChildren<QRadioButton*>().size(), 31);
            EXPECT_EQ(dlg->findChildren<QGroupBox*>().size(), 0);
            const QString dir = qEnvironmentVariable("CALVEX_SHOT_DIR");
            if (!dir.isEmpty()) dlg->grab().save(QDir(dir).filePath("ge-picker.png"));
            QTest::mouseClick(dlg->findChild<QPushButton*>(QString::number(ui::IDCANCEL)),
                              Qt::LeftButton);
        },
        "GE Tone Table");
    EXPECT_EQ(Find<QLineEdit>(1043)->text(), before);
}

}  // namespace

// Picking the coding option the list shows changes nothing: the tones of
// calls the option does not use stay in the record until another option is
// picked.
TEST_F(ChannelLayout, PickingTheCodingOptionShownKeepsEveryTone) {
    page.record.SetTone(2, 1092.4);  // Call 3 Tone 1, not used by "R468"
    auto* coding = Find<QComboBox>(CChannel1::IDC_CODING_OPTION);
    ASSERT_EQ(coding->currentText(), "R468");
    PickEntry(coding, 0);
    EXPECT_NEAR(page.record.GetTone(2), 1092.4, 0.05);
    EXPECT_NEAR(page.record.GetTone(0), 1006.9, 0.05);
    EXPECT_TRUE(prompt.Records().empty());
    // Another option is a change: "R168 (None)" shows the call it kept.
    PickEntry(coding, 10);
    EXPECT_EQ(Find<QLineEdit>(1032)->text(), "1092.4");
    PickEntry(coding, 3);  // "STD" does not use call 3: its tone goes
    EXPECT_EQ(page.record.GetSlotCode(2), 0);
}
