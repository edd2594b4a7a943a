#pragma once
// How a port name becomes the device that is opened.
#include <string>

// Windows: names longer than four characters ("COM10" and up) need the
// "\\.\" device prefix; "COM1" to "COM9" open as they are.
std::string Win32DeviceName(const std::string& portName);

// Elsewhere: a name starting with "/" is a device path; "COMn" is the device
// named by $CALVEX_COMn when that is set, else /dev/ttyS<n-1>; any other
// name is looked up under /dev (so "ttyUSB0" opens /dev/ttyUSB0). Empty for
// an empty name or "COM0".
std::string PosixDevicePath(const std::string& portName);
