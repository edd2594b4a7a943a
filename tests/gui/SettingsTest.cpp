#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTest>

#include "gui/AppFixture.h"
#include "gui/PickEntry.h"
#include "ui/qt/CBoundDialog.h"

using namespace cmd;

namespace {

void Click(QDialog* dlg, const char* id) {
    QTest::mouseClick(dlg->findChild<QPushButton*>(id), Qt::LeftButton);
}

TEST_F(AppFixture, SystemSetupPicksAPortOnOk) {
    ASSERT_TRUE(Start());
    link.port = "COM3";
    Activate();
    QTest::keyClick(&Frame(), Qt::Key_F9);
    auto* dlg = View().SystemConfigWindow();
    ASSERT_NE(dlg, nullptr);
    ASSERT_TRUE(dlg->isVisible());
    EXPECT_EQ(dlg->windowTitle(), "System Configuration");
    auto* ports = dlg->findChild<QComboBox*>("1129");
    ASSERT_GE(ports->count(), 64);
    // On Windows a port this machine has carries its adapter's name after it.
    const auto port = [](const QString& entry) { return entry.section(" - ", 0, 0); };
    EXPECT_EQ(port(ports->itemText(0)), "COM1");
    EXPECT_EQ(port(ports->itemText(63)), "COM64");
    EXPECT_EQ(port(ports->currentText()), "COM3");
    EXPECT_EQ(dlg->findChild<QLabel*>("1130")->text(), "1200 bps.");
    PickEntry(ports, 9);
    Click(dlg, "1");
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(link.port, "COM10");
}

TEST_F(AppFixture, SystemSetupCancelKeepsThePort) {
    ASSERT_TRUE(Start());
    link.port = "COM2";
    Frame().OnCommand(ID_SYSTEM_SETUP);
    auto* dlg = View().SystemConfigWindow();
    PickEntry(dlg->findChild<QComboBox*>("1129"), 20);
    Click(dlg, "2");
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(link.port, "COM2");
    // Opening again shows the port in use, not the abandoned pick.
    Frame().OnCommand(ID_SYSTEM_SETUP);
    EXPECT_EQ(dlg->findChild<QComboBox*>("1129")->currentText(), "COM2");
    QTest::keyClick(dlg, Qt::Key_Escape);
    EXPECT_EQ(link.port, "COM2");
}

TEST_F(AppFixture, SystemSetupWithUnlistedPortSetsCom1OnOk) {
    ASSERT_TRUE(Start());
    link.port = "ttyQ9";
    Frame().OnCommand(ID_SYSTEM_SETUP);
    auto* dlg = View().SystemConfigWindow();
    EXPECT_EQ(dlg->findChild<QComboBox*>("1129")->currentIndex(), -1);
    Click(dlg, "1");
    EXPECT_EQ(link.port, "COM1");
}

TEST_F(AppFixture, PortNameWithABlankIsRefusedWithItsReason) {
    // On the command line: the port stays, the user learns why.
    ASSERT_TRUE(Start({"CalvexVHXR", "--port", "/tmp/my pager"}));
    EXPECT_EQ(link.port, "COM1");
    ASSERT_EQ(prompt.Records().size(), 1u);
    EXPECT_EQ(prompt.Records()[0].caption, "System Configuration");
    EXPECT_NE(prompt.Records()[0].text.find("\"/tmp/my pager\" contains a blank"),
              std::string::npos);
#ifndef _WIN32
    prompt.Clear();

    // Picked in System Setup (a simulator link in a folder with a blank).
    const QString sim = Path("my run/calvex-pagersim");
    QDir().mkpath(Path("my run"));
    QFile(sim).open(QIODevice::WriteOnly);
    const QByteArray old = qgetenv("CALVEX_PAGERSIM_LINK");
    qputenv("CALVEX_PAGERSIM_LINK", sim.toUtf8());
    link.port = "COM4";
    Frame().OnCommand(ID_SYSTEM_SETUP);
    qputenv("CALVEX_PAGERSIM_LINK", old);
    auto* dlg = View().SystemConfigWindow();
    auto* ports = dlg->findChild<QComboBox*>("1129");
    ASSERT_EQ(ports->itemText(ports->count() - 1), "Pager simulator - " + sim);
    PickEntry(ports, ports->count() - 1);
    Click(dlg, "1");
    EXPECT_EQ(link.port, "COM4");
    ASSERT_EQ(prompt.Records().size(), 1u);
    EXPECT_NE(prompt.Records()[0].text.find("contains a blank"), std::string::npos);
#endif
}

TEST_F(AppFixture, UsbDelayKeepsAnUnchangedDelayAndTakesAPick) {
    ASSERT_TRUE(Start());
    link.delay = 5000;
    Frame().OnCommand(ID_USB_DELAY);
    auto* dlg = View().UsbDelayWindow();
    ASSERT_TRUE(dlg->isVisible());
    EXPECT_EQ(dlg->windowTitle(), "USB Delay Time");
    auto* delays = dlg->findChild<QComboBox*>("1342");
    ASSERT_EQ(delays->count(), 4);
    EXPECT_EQ(delays->currentText(), "5 Seconds");
    Click(dlg, "1");
    EXPECT_EQ(link.delay, 5000);

    Frame().OnCommand(ID_USB_DELAY);
    PickEntry(delays, 0);
    Click(dlg, "1");
    EXPECT_EQ(link.delay, 2000);

    Frame().OnCommand(ID_USB_DELAY);
    PickEntry(delays, 2);
    Click(dlg, "2");
    EXPECT_EQ(link.delay, 2000);
}

TEST_F(AppFixture, UsbDelayWithAnOddDelayShowsTheDefaultAndSetsIt) {
    ASSERT_TRUE(Start());
    link.delay = 2500;
    Frame().OnCommand(ID_USB_DELAY);
    auto* dlg = View().UsbDelayWindow();
    auto* delays = dlg->findChild<QComboBox*>("1342");
    EXPECT_EQ(delays->currentText(), "3 Seconds (Default)");
    // Typing into the edit field is no pick and adds no entry.
    QTest::keyClicks(delays->lineEdit(), "x");
    QTest::keyClick(delays->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(delays->count(), 4);
    Click(dlg, "1");
    EXPECT_EQ(link.delay, 3000);
}

}  // namespace

#ifndef _WIN32
namespace {

// The width the closed list gives its text.
int TextRoom(QComboBox* box) {
    QStyleOptionComboBox opt;
    opt.initFrom(box);
    opt.editable = box->isEditable();
    return box->style()
        ->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, box)
        .width();
}

// The longest names are the Linux simulator's links.
TEST_F(AppFixture, SystemSetupListIsAsWideAsItsLongestName) {
    // A simulator link as scripts/run makes one.
    const QString sim = Path("run/calvex-pagersim");
    QDir().mkpath(Path("run"));
    QFile(sim).open(QIODevice::WriteOnly);
    const QByteArray old = qgetenv("CALVEX_PAGERSIM_LINK");
    qputenv("CALVEX_PAGERSIM_LINK", sim.toUtf8());
    ASSERT_TRUE(Start());
    link.port = sim.toStdString();
    Frame().OnCommand(ID_SYSTEM_SETUP);
    auto* dlg = View().SystemConfigWindow();
    ASSERT_TRUE(dlg->isVisible());
    auto* ports = dlg->findChild<QComboBox*>("1129");
    const QString entry = "Pager simulator - " + sim;
    ASSERT_EQ(ports->currentText(), entry);
    ASSERT_TRUE(WaitFor([&] { return TextRoom(ports) > 100; }, 5000));
    EXPECT_GE(TextRoom(ports), ports->fontMetrics().horizontalAdvance(entry));
    // Every entry, and the closed list, show the whole name as a tooltip.
    EXPECT_EQ(ports->itemData(ports->count() - 1, Qt::ToolTipRole).toString(), entry);
    EXPECT_EQ(ports->itemData(2, Qt::ToolTipRole).toString(), "COM3");
    QHelpEvent tip(QEvent::ToolTip, QPoint(5, 5), ports->mapToGlobal(QPoint(5, 5)));
    QCoreApplication::sendEvent(ports, &tip);
    EXPECT_EQ(ports->toolTip(), entry);
    // The controls and their behaviour stay: OK takes the entry's port.
    Click(dlg, "1");
    EXPECT_EQ(link.port, sim.toStdString());

    // A name longer than the screen is wide: the dialog stays on the screen
    // and the tooltip holds the name.
    const QString deep = Path(QString(60, 'd') + "/" + QString(60, 'e') + "/calvex-pagersim");
    QDir().mkpath(QFileInfo(deep).path());
    QFile(deep).open(QIODevice::WriteOnly);
    qputenv("CALVEX_PAGERSIM_LINK", deep.toUtf8());
    link.port = deep.toStdString();
    Frame().OnCommand(ID_SYSTEM_SETUP);
    qputenv("CALVEX_PAGERSIM_LINK", old);
    ASSERT_EQ(ports->currentText(), "Pager simulator - " + deep);
    QCoreApplication::processEvents();
    EXPECT_LE(dlg->width(), dlg->screen()->availableGeometry().width());
    QCoreApplication::sendEvent(ports, &tip);
    EXPECT_EQ(ports->toolTip(), "Pager simulator - " + deep);
    Click(dlg, "2");
}

}  // namespace

namespace {

// The program's own link, with its settings file below a product directory
// whose "lib" is a file: nothing can be saved there.
TEST_F(AppFixture, ASettingsChangeTheFileCannotTakeIsToldOnceAtExit) {
    const QString product = Path("product");
    QDir().mkpath(product);
    WriteText("product/lib", "not a folder");
    const QByteArray old = qgetenv("CALVEX_PRODUCT_DIR");
    qputenv("CALVEX_PRODUCT_DIR", product.toUtf8());
    struct Restore {
        QByteArray value;
        ~Restore() { qputenv("CALVEX_PRODUCT_DIR", value); }
    } restore{old};

    {
        CTarnixHXRApp program(&prompt);
        ASSERT_TRUE(program.InitInstance({"CalvexVHXR"}));
        program.ExitInstance();
        // Nothing was changed, so nothing was lost.
        EXPECT_TRUE(prompt.Records().empty());
    }

    CTarnixHXRApp program(&prompt);
    ASSERT_TRUE(program.InitInstance({"CalvexVHXR"}));
    program.Frame()->OnCommand(ID_SYSTEM_SETUP);
    auto* dlg = program.View().SystemConfigWindow();
    PickEntry(dlg->findChild<QComboBox*>("1129"), 9);
    Click(dlg, "1");
    program.ExitInstance();
    ASSERT_EQ(prompt.Records().size(), 1u);
    const auto& told = prompt.Records()[0];
    EXPECT_EQ(told.caption, "System Configuration");
    EXPECT_NE(told.text.find("port COM10, USB delay 3 Seconds (Default)"), std::string::npos)
        << told.text;
    EXPECT_NE(told.text.find((product + "/lib/CalvexV.ini").toStdString()), std::string::npos)
        << told.text;
    program.ExitInstance();
    EXPECT_EQ(prompt.Records().size(), 1u);
}

}  // namespace
#endif
