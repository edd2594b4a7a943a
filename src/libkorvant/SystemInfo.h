#pragma once

#include <cstdint>

#include "libkorvant/Platform.h"

namespace korvant {

// Platform word values.
enum PlatformWord : std::uint32_t {
    kOsWin32s = 0x1,
    kOsWin95 = 0x2,
    kOsWin98 = 0x4,
    kOsNt3 = 0x100,
    kOsNt4 = 0x200,
    kOsNt5 = 0x400,
    kOsNtMask = 0x700,
};

// Facts about the running system that the library computes once per
// process: the platform word and the terminal-server answers.
class SystemInfo {
public:
    explicit SystemInfo(Platform& platform) : platform_(platform) {}

    std::uint32_t OsInfo();
    // 2 for the NT family, 1 for the Windows 95 family, 0 for Win32s.
    int Win32Platform();

    // Whether the machine is a terminal server; *adminMode (optional) is 1
    // when only administrators may log on remotely.
    bool IsTerminalServer(int* adminMode);
    bool IsCitrixMetaframe();
    // The object manager knows the "Global\" namespace prefix.
    bool HasGlobalPrefix() { return (OsInfo() & kOsNt5) != 0; }

    static std::uint32_t WordFromVersion(const OsVersion& version);
    // The word named by KORVA_FORCE_PLATFORM, or 0 when the name is unknown.
    static std::uint32_t WordFromName(const char* name);

private:
    Platform& platform_;
    bool haveOsInfo_ = false;
    std::uint32_t osInfo_ = 0;
    bool haveWts_ = false;
    bool wts_ = false;
    int wtsAdmin_ = 0;
    bool haveCitrix_ = false;
    bool citrix_ = false;
};

}  // namespace korvant
