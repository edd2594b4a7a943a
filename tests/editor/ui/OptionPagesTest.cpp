// The Model Options and Function Switches pages on real widgets (offscreen):
// what the lists hold, boxes and slider reaching the records, time edits
// taken when the focus moves, and the priority-scan flag crossing pages.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTabWidget>
#include <QTest>
#include <QThread>

#include "codeplug/CodeplugContext.h"
#include "editor/pages/CFunctionSwitch.h"
#include "editor/pages/CModelOption.h"
#include "editor/pages/SwitchFlags.h"
#include "editor/ui/PageLayouts.h"
#include "gui/PickEntry.h"
#include "gui/WaitFor.h"
#include "ui/CPropertySheet.h"
#include "ui/ScriptedPrompt.h"
#include "ui/qt/CBoundSheet.h"

namespace {

QStringList Entries(const QComboBox* c) {
    QStringList items;
    for (int i = 0; i < c->count(); ++i) items << c->itemText(i);
    return items;
}

class OptionPagesUi : public ::testing::Test {
protected:
    void SetUp() override {
        CodeplugContext::Get().Reset();
        CodeplugContext::Get().twoFrequency = true;
        options.options.SetBytes({0x00, 16, 0x80, 7, 64});  // stored voice fitted
        options.squelch.SetPair({0x19, 0x32});
        options.LoadFromRecords();
        switches.switches.SetBytes({0x12, 0x10, 0x10, 0x10});
        switches.LoadFromRecord();
        UpdateSwitchFlags(switches.switches, CodeplugContext::Get());
        sheet.AddPage(&options);
        sheet.AddPage(&switches);
        sheet.SetPagesPrompt(&prompt);
        window = std::make_unique<ui::qt::CBoundSheet>(sheet);
        window->SetPageLayout(CModelOption::IDD, LayoutModelOptionPage);
        window->SetPageLayout(CFunctionSwitch::IDD, LayoutFunctionSwitchPage);
        window->resize(680, 600);
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
    W* On(int tab, int id) {
        W* w = window->PageWidget(tab)->findChild<W*>(QString::number(id));
        EXPECT_NE(w, nullptr) << id;
        return w;
    }
    void Focus(QWidget* w) {
        w->setFocus(Qt::OtherFocusReason);
        ASSERT_TRUE(WaitFor([&] { return w->hasFocus(); }, 5000))
            << w->objectName().toStdString() << " policy " << w->focusPolicy();
    }
    // Types into an edit and leaves it for another control.
    void TypeAndLeave(QLineEdit* edit, const char* text, QWidget* next) {
        Focus(edit);
        edit->selectAll();
        QTest::keyClicks(edit, text);
        Focus(next);
    }

    CModelOption options;
    CFunctionSwitch switches;
    ui::CPropertySheet sheet{"User Data"};
    ui::ScriptedPrompt prompt;
    std::unique_ptr<ui::qt::CBoundSheet> window;
};

TEST_F(OptionPagesUi, ModelOptionsShowTheRecordsAndTakeEdits) {
    auto* sv = On<QComboBox>(0, CModelOption::IDC_STORED_VOICE);
    auto* reset = On<QComboBox>(0, CModelOption::IDC_RESET_FUNCTION);
    auto* duration = On<QComboBox>(0, CModelOption::IDC_ALERT_DURATION);
    auto* alertTime = On<QLineEdit>(0, CModelOption::IDC_ALERT_TIME);
    auto* scanTime = On<QLineEdit>(0, CModelOption::IDC_SCAN_TIME);
    auto* slider = On<QSlider>(0, CModelOption::IDC_SQUELCH);
    auto* level = On<QLabel>(0, CModelOption::IDC_SQUELCH_LEVEL);
    auto* priority = On<QComboBox>(0, CModelOption::IDC_PRIORITY_SCAN);
    ASSERT_TRUE(sv && reset && duration && alertTime && scanTime && slider && level && priority);

    EXPECT_EQ(Entries(sv), QStringList({"15 Sec", "30 Sec", "60 Sec", "120 Sec", "Dynamic"}));
    EXPECT_EQ(sv->currentText(), "Dynamic");
    EXPECT_TRUE(sv->isEnabled());
    EXPECT_EQ(Entries(reset).size(), 6);
    EXPECT_FALSE(priority->isEnabled());
    EXPECT_EQ(priority->currentText(), "OFF");
    EXPECT_TRUE(scanTime->isHidden());
    EXPECT_TRUE(alertTime->isHidden());
    EXPECT_EQ(slider->minimum(), 1);
    EXPECT_EQ(slider->maximum(), 5);
    EXPECT_EQ(slider->value(), 3);
    EXPECT_EQ(level->text(), "3");
    auto* sec = On<QLabel>(0, CModelOption::IDC_ALERT_SEC);
    ASSERT_TRUE(sec);
    EXPECT_EQ(sec->text(), "Sec.");

    PickEntry(sv, 0);
    EXPECT_EQ(options.options.GetSvRecordTime(), 1);

    PickEntry(duration, 1);
    ASSERT_TRUE(WaitFor([&] { return alertTime->isVisible(); }));
    EXPECT_TRUE(sec->isVisible());
    TypeAndLeave(alertTime, "1.0", sv);
    EXPECT_EQ(options.options.GetAlertTime(), 2);
    EXPECT_EQ(alertTime->text(), "0.96");

    // Out of range: the message, the field gets the focus back with the
    // limited value.
    Focus(alertTime);
    alertTime->selectAll();
    QTest::keyClicks(alertTime, "500");
    sv->setFocus(Qt::OtherFocusReason);
    ASSERT_TRUE(WaitFor([&] { return prompt.Records().size() == 1; }, 5000));
    EXPECT_EQ(prompt.Records()[0].text, "Please enter a number between 0.48 and 122.4.");
    EXPECT_EQ(alertTime->text(), "122.4");
    EXPECT_EQ(options.options.GetAlertTime(), 255);
    EXPECT_TRUE(WaitFor([&] { return alertTime->hasFocus(); }, 5000));

    slider->setValue(5);
    EXPECT_EQ(options.squelch.GetPair(), (CSquelchSetting::Pair{0x1D, 0x36}));
    EXPECT_EQ(level->text(), "5");
}

TEST_F(OptionPagesUi, FunctionSwitchesDriveTheRulesAndTheOtherPage) {
    window->Tabs()->setCurrentIndex(1);
    ASSERT_EQ(sheet.ActiveIndex(), 1);
    auto* modeA = On<QComboBox>(1, 1287);
    auto* modeB = On<QComboBox>(1, 1295);
    auto* alertA = On<QComboBox>(1, 1320);
    auto* dutyA = On<QCheckBox>(1, 1291);
    auto* ptlA = On<QCheckBox>(1, 1292);
    auto* wideD = On<QCheckBox>(1, 1330);
    ASSERT_TRUE(modeA && modeB && alertA && dutyA && ptlA && wideD);

    EXPECT_EQ(Entries(modeA).size(), 7);
    EXPECT_EQ(modeA->currentText(), "Selective Call F1");
    EXPECT_EQ(Entries(alertA), QStringList({"Tone", "Vibrate", "Tone & Vibrate"}));
    EXPECT_EQ(ptlA->text(), "Push To Listen");
    EXPECT_TRUE(dutyA->isEnabled());
    EXPECT_FALSE(On<QCheckBox>(1, 1301)->isEnabled());

    // Push To Listen: the alert type shows "Vibrator" and greys out.
    QTest::mouseClick(ptlA, Qt::LeftButton);
    EXPECT_TRUE(switches.switches.GetPtl(0));
    EXPECT_EQ(alertA->currentText(), "Vibrator");
    EXPECT_FALSE(alertA->isEnabled());

    // Typing a mode's name into the edit field and leaving it picks it.
    Focus(modeA);
    modeA->lineEdit()->selectAll();
    QTest::keyClicks(modeA->lineEdit(), "monitor f1");
    Focus(wideD);
    EXPECT_EQ(switches.switches.GetMode(0), 0);
    EXPECT_FALSE(switches.switches.GetPtl(0));
    EXPECT_FALSE(ptlA->isEnabled());
    EXPECT_TRUE(alertA->isEnabled());
    EXPECT_EQ(modeA->currentText(), "Monitor F1");

    // Text that names nothing is dropped.
    Focus(modeA);
    modeA->lineEdit()->selectAll();
    QTest::keyClicks(modeA->lineEdit(), "zzz");
    Focus(wideD);
    EXPECT_EQ(modeA->currentText(), "Monitor F1");
    EXPECT_EQ(switches.switches.GetMode(0), 0);

    QTest::mouseClick(wideD, Qt::LeftButton);
    EXPECT_TRUE(switches.switches.GetWideBand(3));

    PickEntry(modeB, 5);  // "Priority Scan F1"
    window->Tabs()->setCurrentIndex(0);
    ASSERT_EQ(sheet.ActiveIndex(), 0);
    EXPECT_TRUE(CodeplugContext::Get().priorityScan);
    auto* priority = On<QComboBox>(0, CModelOption::IDC_PRIORITY_SCAN);
    auto* scanTime = On<QLineEdit>(0, CModelOption::IDC_SCAN_TIME);
    EXPECT_EQ(priority->currentText(), "ON");
    EXPECT_TRUE(WaitFor([&] { return scanTime->isVisible(); }));
    EXPECT_EQ(scanTime->text(), "0.512");

    TypeAndLeave(scanTime, "0.6", On<QComboBox>(0, CModelOption::IDC_PRIVACY));
    ASSERT_EQ(prompt.Records().size(), 1u);
    EXPECT_EQ(prompt.Records()[0].caption, "Scan Warning");
    EXPECT_EQ(options.options.GetScanBack(), 75);

    if (QByteArray dir = qgetenv("CALVEX_PAGE_SHOTS"); !dir.isEmpty()) {
        window->grab().save(QString::fromUtf8(dir) + "/model-options.png");
        window->Tabs()->setCurrentIndex(1);
        window->grab().save(QString::fromUtf8(dir) + "/function-switches.png");
    }
}

}  // namespace
