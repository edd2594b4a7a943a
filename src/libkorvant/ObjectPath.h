#pragma once

#include <string>

#include "libkorvant/Platform.h"

namespace korvant {

// Turns a full file path into its NT object-manager path by following the
// DOS device table: "M:\t1" with M: defined as \Device\dlfs becomes
// "\Device\dlfs\t1"; substituted drives (targets under \??\) are followed
// further; UNC names go below the UNC device. Returns a Win32 error code.
long ToObjectPath(Platform& platform, const std::string& path, std::string* out);

}  // namespace korvant
