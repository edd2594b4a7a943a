#pragma once

#include <string>

#include "libkorvant/Platform.h"

namespace korvant {

// Turns a full file path into its NT object-manager path by following the
// DOS device table: "M:\t1" with M: defined as \Device\dlfs becomes
// "\Device\dlfs\t1"; substituted drives (targets under \??\) are followed
// further; UNC names go below the UNC device. Returns a Win32 error code.
long ToObjectPath(Platform& platform, const std::string& path, std::string* out);

// The reverse for a kernel path: "\??\C:\x" and "\DosDevices\C:\x" lose
// their prefix; a device path becomes the drive letter whose target is the
// longest match ("\Device\dlfs\t1" -> "M:\t1"). 2 when no drive matches.
long ToDosPath(Platform& platform, const std::string& kernelPath, std::string* out);

}  // namespace korvant
