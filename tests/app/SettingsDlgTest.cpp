#include <gtest/gtest.h>

#include "app/CSystemConfigDlg.h"
#include "app/CUsbDelayDlg.h"

TEST(SystemConfigDlg, ListsSixtyFourPortsThenTheDevicesFound) {
    CSystemConfigDlg dlg;
    dlg.SetDevices({{"/dev/ttyUSB0", "FTDI FT232R - /dev/ttyUSB0"}});
    dlg.m_portText = "COM10";
    dlg.m_selectedIndex = 9;
    dlg.OnInitDialog();
    const auto& items = dlg.Control(IDC_COMM_PORT).items;
    ASSERT_EQ(items.size(), 65u);
    EXPECT_EQ(items[0], "COM1");
    EXPECT_EQ(items[63], "COM64");
    EXPECT_EQ(items[64], "FTDI FT232R - /dev/ttyUSB0");
    EXPECT_EQ(dlg.Selection(IDC_COMM_PORT), 9);
    EXPECT_EQ(dlg.Text(IDC_BAUD_RATE), "1200 bps.");
    EXPECT_EQ(dlg.Caption(), "System Configuration");

    dlg.SetSelectionFromUser(IDC_COMM_PORT, 64);
    EXPECT_EQ(dlg.m_selectedIndex, 64);
    EXPECT_EQ(dlg.PortNameAt(64), "/dev/ttyUSB0");
    dlg.ClickFromUser(ui::IDOK);
    EXPECT_EQ(dlg.PendingEnd(), ui::IDOK);
    EXPECT_EQ(dlg.m_portText, "/dev/ttyUSB0");
}

TEST(SystemConfigDlg, APortOfTheListIsMarkedInItsPlace) {
    CSystemConfigDlg dlg;
    dlg.SetDevices({{"COM5", "COM5 - USB Serial Port"},
                    {"COM70", "COM70 - Serial port"},
                    {"/dev/ttyACM0", "USB modem - /dev/ttyACM0"}});
    dlg.m_portText = "COM5";
    dlg.OnInitDialog();
    const auto& items = dlg.Control(IDC_COMM_PORT).items;
    ASSERT_EQ(items.size(), 66u);
    EXPECT_EQ(items[3], "COM4");
    EXPECT_EQ(items[4], "COM5 - USB Serial Port");
    EXPECT_EQ(items[64], "COM70 - Serial port");
    EXPECT_EQ(items[65], "USB modem - /dev/ttyACM0");
    EXPECT_EQ(dlg.Selection(IDC_COMM_PORT), 4);
    // The marked entry stands for the port name alone.
    EXPECT_EQ(dlg.PortNameAt(4), "COM5");
    EXPECT_EQ(dlg.IndexOfPort("COM70"), 64);
    dlg.ClickFromUser(ui::IDOK);
    EXPECT_EQ(dlg.m_portText, "COM5");

    // Found again without the adapter: its entry is plain once more.
    dlg.SetDevices({});
    dlg.OnInitDialog();
    EXPECT_EQ(dlg.Control(IDC_COMM_PORT).items[4], "COM5");
    EXPECT_EQ(dlg.Control(IDC_COMM_PORT).items.size(), 64u);
}

TEST(SystemConfigDlg, UnlistedPortShowsNoSelection) {
    CSystemConfigDlg dlg;
    dlg.m_portText = "ttyS7";
    dlg.m_selectedIndex = 0;  // what the port list's lookup gives for it
    dlg.OnInitDialog();
    EXPECT_EQ(dlg.Selection(IDC_COMM_PORT), -1);
    EXPECT_EQ(dlg.IndexOfPort("ttyS7"), -1);
    EXPECT_EQ(dlg.PortNameAt(200), "");
    // OK without a pick keeps the looked-up index, which the view applies.
    dlg.ClickFromUser(ui::IDOK);
    EXPECT_EQ(dlg.m_selectedIndex, 0);
}

TEST(UsbDelayDlg, SelectsTheShownLabelAndStoresPicks) {
    CUsbDelayDlg dlg;
    EXPECT_EQ(dlg.m_selectedIndex, 1);
    dlg.m_delayText = "5 Seconds";
    dlg.m_selectedIndex = 3;
    dlg.OnInitDialog();
    const auto& items = dlg.Control(IDC_USB_DELAY).items;
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[1], "3 Seconds (Default)");
    EXPECT_EQ(dlg.Selection(IDC_USB_DELAY), 3);
    // OK without touching the list keeps the index shown.
    dlg.ClickFromUser(ui::IDOK);
    EXPECT_EQ(dlg.m_selectedIndex, 3);
    dlg.SetSelectionFromUser(IDC_USB_DELAY, 0);
    EXPECT_EQ(dlg.m_selectedIndex, 0);
    EXPECT_EQ(dlg.Text(IDC_USB_DELAY), "2 Seconds");
    // Typing in the edit field is not a pick.
    dlg.SetTextFromUser(IDC_USB_DELAY, "9 Seconds");
    EXPECT_EQ(dlg.m_selectedIndex, 0);
}
