// System Setup on Windows: the COM ports this machine has are marked with
// their adapter's name where the list has them, and picking one stores the
// plain port name.
#include <QComboBox>
#include <QPushButton>
#include <QTest>

#include "gui/AppFixture.h"
#include "link/WinTestPorts.h"

namespace {

TEST_F(AppFixture, SystemSetupMarksThePortsThisMachineHas) {
    InstalledAdapter adapter("Calvex Bench Cable (COM59)", "COM59");
    ASSERT_TRUE(adapter.ok) << GetLastError();
    AnnouncedPort beyond("\\Device\\CalvexTest70", "COM70");
    ASSERT_TRUE(beyond.ok);
    ASSERT_TRUE(Start());
    link.port = "COM59";
    Activate();
    QTest::keyClick(&Frame(), Qt::Key_F9);
    auto* dlg = View().SystemConfigWindow();
    ASSERT_NE(dlg, nullptr);
    auto* ports = dlg->findChild<QComboBox*>("1129");
    EXPECT_EQ(ports->itemText(0).left(4), "COM1");
    EXPECT_EQ(ports->itemText(58), "COM59 - Calvex Bench Cable");
    EXPECT_EQ(ports->itemText(63), "COM64");
    EXPECT_EQ(ports->currentIndex(), 58);
    // A port beyond the list's 64 follows it.
    const int beyondAt = ports->findText("COM70 - Serial port");
    EXPECT_GE(beyondAt, 64);

    // Picked with the keyboard, as the list is long.
    ports->setFocus();
    QTest::keyClick(ports, Qt::Key_Home);
    for (int down = 0; down < beyondAt; ++down) QTest::keyClick(ports, Qt::Key_Down);
    QTest::mouseClick(dlg->findChild<QPushButton*>("1"), Qt::LeftButton);
    EXPECT_EQ(link.port, "COM70");

    Frame().OnCommand(cmd::ID_SYSTEM_SETUP);
    EXPECT_EQ(ports->currentIndex(), beyondAt);
    for (int up = 0; up < beyondAt - 58; ++up) QTest::keyClick(ports, Qt::Key_Up);
    QTest::mouseClick(dlg->findChild<QPushButton*>("1"), Qt::LeftButton);
    EXPECT_EQ(link.port, "COM59");
}

}  // namespace
