#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/SerialDevices.h"

namespace fs = std::filesystem;

namespace {

struct FakeRoot : ::testing::Test {
    FakeRoot() {
        char tmpl[] = "/tmp/calvex-devs-XXXXXX";
        root = mkdtemp(tmpl);
        fs::create_directories(root / "dev/serial/by-id");
    }
    ~FakeRoot() override { fs::remove_all(root); }
    void Touch(const fs::path& p, const std::string& text = {}) {
        fs::create_directories(p.parent_path());
        std::ofstream(p) << text;
    }
    fs::path root;
};

TEST_F(FakeRoot, StableNamesFirstAndEachAdapterOnce) {
    Touch(root / "dev/ttyUSB0");
    Touch(root / "dev/ttyUSB1");
    Touch(root / "dev/ttyACM0");
    Touch(root / "dev/ttyS0");
    fs::create_symlink("../../ttyUSB0",
                       root / "dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0");
    // ttyUSB1 has a USB product in sysfs.
    fs::create_directories(root / "sys/devices/usb1/1-2/1-2:1.0/ttyUSB1");
    Touch(root / "sys/devices/usb1/1-2/product", "USB-Serial Controller\n");
    Touch(root / "sys/devices/usb1/1-2/manufacturer", "Prolific\n");
    fs::create_directories(root / "sys/class/tty/ttyUSB1");
    fs::create_symlink(root / "sys/devices/usb1/1-2/1-2:1.0/ttyUSB1",
                       root / "sys/class/tty/ttyUSB1/device");

    auto devices = ScanSerialDevices(root);
    ASSERT_EQ(devices.size(), 3u);
    EXPECT_EQ(devices[0].path, "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0");
    EXPECT_EQ(devices[0].description, "FTDI FT232R USB UART A50285BI");
    EXPECT_EQ(devices[1].path, "/dev/ttyACM0");
    EXPECT_EQ(devices[2].path, "/dev/ttyUSB1");
    EXPECT_EQ(devices[2].description, "Prolific USB-Serial Controller");
    EXPECT_EQ(devices[2].Label(), "Prolific USB-Serial Controller - /dev/ttyUSB1");
}

TEST_F(FakeRoot, DanglingLinksAreSkippedAndTheSimulatorIsOffered) {
    fs::create_symlink("../../ttyUSB9", root / "dev/serial/by-id/usb-gone-if00-port0");
    Touch(root / "dev/pts7");
    fs::create_directories(root / "run");
    fs::create_symlink(root / "dev/pts7", root / "run/calvex-pagersim");
    auto devices = ScanSerialDevices(root);
    ASSERT_EQ(devices.size(), 1u);
    EXPECT_EQ(devices[0].path, "/run/calvex-pagersim");
    EXPECT_EQ(devices[0].description, "Pager simulator");
}

TEST(PortNames, SimulatorLinkFollowsTheEnvironment) {
    setenv("CALVEX_PAGERSIM_LINK", "/tmp/x-link", 1);
    EXPECT_EQ(PagerSimLinkPath(), "/tmp/x-link");
    unsetenv("CALVEX_PAGERSIM_LINK");
    setenv("XDG_RUNTIME_DIR", "/run/user/1000", 1);
    EXPECT_EQ(PagerSimLinkPath(), "/run/user/1000/calvex-pagersim");
}

}  // namespace
