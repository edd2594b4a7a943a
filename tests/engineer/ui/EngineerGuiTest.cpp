#include <QAction>
#include <QLabel>

#include "codeplug/CPagerData.h"
#include "engineer/ui/EngineerGui.h"
#include "report/ReportBuilder.h"

using namespace cmd;
using namespace engineer;

namespace {

std::vector<QString> MenuTitles(CMainFrame& frame) {
    std::vector<QString> titles;
    for (QAction* a : frame.menuBar()->actions()) titles.push_back(a->text());
    return titles;
}

TEST_F(EngineerGui, TheEngineerMenuAppearsOnlyWithTheSwitch) {
    ASSERT_TRUE(Start());
    EXPECT_EQ(MenuTitles(Frame()),
              (std::vector<QString>{"&File", "Operation", "&View", "&Tools", "&Help"}));
    EXPECT_EQ(Frame().findChild<QMenu*>("engineerMenu"), nullptr);
    app.reset();
    ASSERT_TRUE(Start({"CalvexVHXR", "--engineer"}));
    EXPECT_EQ(MenuTitles(Frame()), (std::vector<QString>{"&File", "Operation", "&View", "&Tools",
                                                         "&Engineer", "&Help"}));
    auto* menu = Frame().findChild<QMenu*>("engineerMenu");
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->actions().size(), 2);
    EXPECT_EQ(menu->actions()[0], Frame().Action(ID_ENGINEER_LOGON));
    EXPECT_EQ(menu->actions()[1], Frame().Action(ID_ENGINEER_DATA));
    EXPECT_TRUE(menu->actions()[1]->shortcut().isEmpty());
}

TEST_F(EngineerGui, LogonEnablesEngineerDataAndTheReportBlock) {
    ASSERT_TRUE(Start({"CalvexVHXR", "--engineer"}));
    EXPECT_TRUE(Enabled(ID_ENGINEER_LOGON));
    EXPECT_FALSE(Enabled(ID_ENGINEER_DATA));
    EXPECT_TRUE(Logon("Quorin"));
    // Engineer mode alone is not enough: there is no codeplug yet.
    EXPECT_FALSE(Enabled(ID_ENGINEER_DATA));
    OpenSample();
    EXPECT_TRUE(Enabled(ID_ENGINEER_DATA));
    QDialog* dlg = Tools().LogonWindow();
    EXPECT_EQ(dlg->windowTitle(), "Engineer Logon");
    EXPECT_EQ(Control<QLineEdit>(dlg, IDC_PASSWORD)->echoMode(), QLineEdit::Password);
    CPagerData data;
    EXPECT_TRUE(BuildCodeplugReport(Doc().Codeplug(), data, "").engineer);

    EXPECT_FALSE(Logon("quorin"));
    EXPECT_FALSE(Enabled(ID_ENGINEER_DATA));
    EXPECT_FALSE(BuildCodeplugReport(Doc().Codeplug(), data, "").engineer);
    EXPECT_TRUE(prompt.Records().empty());
    // Cancel keeps the outcome of the password the box still holds.
    Frame().Action(ID_ENGINEER_LOGON)->trigger();
    EXPECT_EQ(Control<QLineEdit>(dlg, IDC_PASSWORD)->text(), "quorin");
    QTest::keyClick(dlg, Qt::Key_Escape);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_FALSE(CodeplugContext::Get().engineer);
}

TEST_F(EngineerGui, EngineerDataChangesReachTheCodeplugOnOk) {
    ASSERT_TRUE(Start({"CalvexVHXR", "--engineer"}));
    OpenSample();
    ASSERT_TRUE(Logon("Quorin"));
    Frame().Action(ID_ENGINEER_DATA)->trigger();
    QDialog* dlg = Tools().DataWindow();
    ASSERT_TRUE(dlg && dlg->isVisible());
    EXPECT_EQ(dlg->windowTitle(), "Engineer Data");
    EXPECT_TRUE(Control<QComboBox>(dlg, IDC_WARRANTY)->isHidden());
    auto* split = Control<QComboBox>(dlg, IDC_BAND_SPLIT);
    EXPECT_EQ(split->count(), 4);
    Pick(dlg, IDC_BAND_SPLIT, 2);
    EXPECT_EQ(split->currentText(), "C: 159 - 166.9975 MHz");
    TypeAndLeave(dlg, IDC_PLUG_VERSION, "12");
    // Lower case turns to capitals as it is typed.
    TypeAndLeave(dlg, IDC_UNIT_NUMBER, "b042");
    EXPECT_EQ(Control<QLineEdit>(dlg, IDC_UNIT_NUMBER)->text(), "B042");
    // A letter typed inside the number is capitalised where it was typed;
    // the cursor stays behind it.
    auto* unit = Control<QLineEdit>(dlg, IDC_UNIT_NUMBER);
    unit->setFocus();
    ASSERT_TRUE(WaitFor([&] { return unit->hasFocus(); }, 5000));
    unit->setCursorPosition(1);
    QTest::keyClicks(unit, "c");
    QCoreApplication::processEvents();
    EXPECT_EQ(unit->text(), "BC042");
    EXPECT_EQ(unit->cursorPosition(), 2);
    QTest::keyClick(unit, Qt::Key_Backspace);
    EXPECT_EQ(unit->text(), "B042");
    TypeAndLeave(dlg, IDC_UNIT_NUMBER, "I042");
    ASSERT_EQ(prompt.Records().size(), 1u);
    EXPECT_EQ(prompt.Records()[0].text, "Please enter a valid Unit ID number.");
    EXPECT_EQ(Control<QLineEdit>(dlg, IDC_UNIT_NUMBER)->text(), "B042");
    Click(dlg, ui::IDOK);
    EXPECT_FALSE(dlg->isVisible());
    const Image& img = Doc().Codeplug().GetImage();
    EXPECT_EQ(img[0x0CF], 12);
    CModelNumber model;
    model.Load(Doc().Codeplug());
    EXPECT_EQ(model.GetSubBand(), 2);
    CSerialNumber serial;
    serial.Load(Doc().Codeplug());
    EXPECT_EQ(serial.UnitText(), "B042");
    CPagerData data;
    CodeplugReport r = BuildCodeplugReport(Doc().Codeplug(), data, "");
    EXPECT_EQ(r.subBand, "C: 159 - 166.9975 MHz");
    EXPECT_EQ(r.plugVersion.substr(0, 3), "12.");
    EXPECT_TRUE(r.engineer);
    EXPECT_FALSE(r.advancedLeft.empty());
}

// Every pick runs its list's handler, also a pick of the entry the list
// already shows: it is the only way to reach what the one-entry IF list sets.
TEST_F(EngineerGui, PickingTheEntryShownRunsItsHandler) {
    ASSERT_TRUE(Start({"CalvexVHXR", "--engineer"}));
    OpenSample();
    ASSERT_TRUE(Logon("Quorin"));
    Frame().Action(ID_ENGINEER_DATA)->trigger();
    QDialog* dlg = Tools().DataWindow();
    ASSERT_TRUE(dlg && dlg->isVisible());
    // LOW: the band change gives IF sub-code 0, the IF pick sub-code 1.
    Pick(dlg, IDC_RADIO_BAND, 0);
    ASSERT_EQ(Control<QComboBox>(dlg, IDC_IF)->currentText(), "14.575");
    ASSERT_EQ(Control<QComboBox>(dlg, IDC_IF)->count(), 1);
    Pick(dlg, IDC_IF, 0);
    // The split shown, picked again, gives its default frequencies back.
    Pick(dlg, IDC_BAND_SPLIT, 1);
    Pick(dlg, IDC_FREQ_COUNT, 0);  // F2 := 0
    Pick(dlg, IDC_BAND_SPLIT, 1);
    // The crystal shown ("3.579545", index 0) picked: SP follows it.
    Pick(dlg, IDC_SP, 1);                    // shows "3.578545", crystal index still 0
    ASSERT_EQ(prompt.Records().size(), 1u);  // the SP warning
    Pick(dlg, IDC_XTAL, 1);
    Click(dlg, ui::IDOK);
    ASSERT_FALSE(dlg->isVisible());
    const CCodeplug& plug = Doc().Codeplug();
    EXPECT_EQ(plug.GetIfByte(), 0x11);  // IF 14.575, high injection, sub-code 1
    EXPECT_EQ(plug.GetClockSel() & 0x0F, 1);
    CPagerData d;
    d.Decode(plug);
    EXPECT_NEAR(d.ChannelData(F1).GetFrequency(), 39.125, 1e-6);
    EXPECT_NEAR(d.ChannelData(F2).GetFrequency(), 40.995, 1e-6);
}

TEST_F(EngineerGui, AdvancedOkThenEngineerCancelLeavesTheCodeplugAlone) {
    ASSERT_TRUE(Start({"CalvexVHXR", "--engineer"}));
    OpenSample();
    ASSERT_TRUE(Logon("Quorin"));
    const Image before = Doc().Codeplug().GetImage();
    Frame().Action(ID_ENGINEER_DATA)->trigger();
    QDialog* dlg = Tools().DataWindow();
    Click(dlg, IDC_ADVANCED);
    QDialog* adv = Tools().AdvancedWindow();
    ASSERT_TRUE(adv && adv->isVisible());
    EXPECT_EQ(adv->windowTitle(), "Advanced Engineer Data");
    EXPECT_EQ(Control<QLineEdit>(adv, IDC_SCAN_BACK)->text().toInt(), before[0x0B2]);
    const QString oldScanBack = Control<QLineEdit>(adv, IDC_SCAN_BACK)->text();
    TypeAndLeave(adv, IDC_SCAN_BACK, "7");
    ASSERT_EQ(prompt.Records().size(), 1u);
    EXPECT_EQ(prompt.Records()[0].text, "Please enter an integer between 8 and 255.");
    EXPECT_EQ(Control<QLineEdit>(adv, IDC_SCAN_BACK)->text(), oldScanBack);
    EXPECT_TRUE(WaitFor([&] { return Control<QLineEdit>(adv, IDC_SCAN_BACK)->hasFocus(); }, 5000));
    TypeAndLeave(adv, IDC_SQ_ON, "15");
    TypeAndLeave(adv, IDC_SQ_OFF, "15");
    Click(adv, ui::IDOK);
    EXPECT_FALSE(adv->isVisible());
    EXPECT_EQ(Tools().Data().m_advanced.GetBytes()[28], 0xFF);
    Click(dlg, ui::IDCANCEL);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(Doc().Codeplug().GetImage(), before);
}

TEST_F(EngineerGui, TheSKeyOpensTheFalsingAdjustmentWithACodeplugOnly) {
    ASSERT_TRUE(Start());
    Activate();
    QTest::keyClick(&Frame(), Qt::Key_S);
    EXPECT_EQ(Tools().FalsingWindow(), nullptr);
    OpenSample();
    QTest::keyClick(&Frame(), Qt::Key_S, Qt::ShiftModifier);
    QDialog* dlg = Tools().FalsingWindow();
    ASSERT_TRUE(dlg && dlg->isVisible());
    EXPECT_EQ(dlg->windowTitle(), "Falsing Alert Adjustment");
    auto* slider = Control<QSlider>(dlg, IDC_FALSING_LEVEL);
    EXPECT_EQ(slider->maximum(), 2);
    const bool matches = CFalsingAlertDlg::MatchingPreset([&] {
                             CAdvancedData b;
                             b.Load(Doc().Codeplug());
                             return b;
                         }()) >= 0;
    EXPECT_EQ(Control<QLabel>(dlg, IDC_FALSING_NO_PRESET)->isVisible(), !matches);
    // The explanation's own short lines stay whole; only its long last line
    // wraps.
    for (QLabel* label : dlg->findChildren<QLabel*>()) {
        if (!label->text().startsWith("This mechanism")) continue;
        const QString line = "By increasing the level here, falsing can be eliminited.";
        EXPECT_GE(label->contentsRect().width(), label->fontMetrics().horizontalAdvance(line));
    }
    slider->setValue(1);
    Click(dlg, ui::IDOK);
    EXPECT_FALSE(dlg->isVisible());
    CAdvancedData block;
    block.Load(Doc().Codeplug());
    EXPECT_EQ(CFalsingAlertDlg::MatchingPreset(block), 1);
    // Opened again (plain S), it stands on the level just written.
    Activate();
    QTest::keyClick(&Frame(), Qt::Key_S);
    ASSERT_TRUE(dlg->isVisible());
    EXPECT_EQ(slider->value(), 1);
    EXPECT_FALSE(Control<QLabel>(dlg, IDC_FALSING_NO_PRESET)->isVisible());
    slider->setValue(2);
    QTest::keyClick(dlg, Qt::Key_Escape);
    block.Load(Doc().Codeplug());
    EXPECT_EQ(CFalsingAlertDlg::MatchingPreset(block), 1);
}

}  // namespace
