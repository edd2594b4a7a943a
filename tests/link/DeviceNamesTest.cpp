// Port names to devices: the Windows device prefix and the POSIX mapping.
#include <gtest/gtest.h>

#include <cstdlib>

#include "link/DeviceNames.h"

namespace {

TEST(Win32DeviceName, LongNamesGetTheDevicePrefix) {
    EXPECT_EQ(Win32DeviceName("COM1"), "COM1");
    EXPECT_EQ(Win32DeviceName("COM9"), "COM9");
    EXPECT_EQ(Win32DeviceName("COM10"), "\\\\.\\COM10");
    EXPECT_EQ(Win32DeviceName("COM64"), "\\\\.\\COM64");
}

#ifndef _WIN32
TEST(PosixDevicePath, MapsComNamesPathsAndDeviceNames) {
    ::unsetenv("CALVEX_COM1");
    ::unsetenv("CALVEX_COM12");
    EXPECT_EQ(PosixDevicePath("COM1"), "/dev/ttyS0");
    EXPECT_EQ(PosixDevicePath("COM12"), "/dev/ttyS11");
    ::setenv("CALVEX_COM12", "/dev/ttyUSB3", 1);
    EXPECT_EQ(PosixDevicePath("COM12"), "/dev/ttyUSB3");
    ::setenv("CALVEX_COM12", "", 1);  // empty counts as unset
    EXPECT_EQ(PosixDevicePath("COM12"), "/dev/ttyS11");
    ::unsetenv("CALVEX_COM12");

    EXPECT_EQ(PosixDevicePath("/tmp/pager"), "/tmp/pager");
    EXPECT_EQ(PosixDevicePath("ttyUSB0"), "/dev/ttyUSB0");
    EXPECT_EQ(PosixDevicePath("COMX"), "/dev/COMX");
    EXPECT_EQ(PosixDevicePath(""), "");
    EXPECT_EQ(PosixDevicePath("COM0"), "");
}
#endif

}  // namespace
