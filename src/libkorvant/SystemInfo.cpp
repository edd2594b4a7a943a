#include "libkorvant/SystemInfo.h"

#include <string>

#include "libkorvant/TextUtil.h"

namespace korvant {

namespace {

constexpr const char* kTerminalServerKey = "SYSTEM\\CurrentControlSet\\Control\\Terminal Server";
constexpr std::uint32_t kCitrixNetworkType = 32766;

}  // namespace

std::uint32_t SystemInfo::WordFromVersion(const OsVersion& version) {
    switch (version.platformId) {
        case 0:
            return kOsWin32s;
        case 1:
            return version.minor >= 10 ? kOsWin98 : kOsWin95;
        default:
            if (version.major <= 3) {
                return kOsNt3;
            }
            return version.major == 4 ? kOsNt4 : kOsNt5;
    }
}

std::uint32_t SystemInfo::WordFromName(const char* name) {
    static constexpr struct {
        const char* name;
        std::uint32_t word;
    } kNames[] = {{"nt3", kOsNt3},     {"nt4", kOsNt4},     {"nt5", kOsNt5},
                  {"win95", kOsWin95}, {"win98", kOsWin98}, {"win32s", kOsWin32s}};
    if (name == nullptr) {
        return 0;
    }
    for (const auto& entry : kNames) {
        if (AsciiCaseCompare(name, entry.name) == 0) {
            return entry.word;
        }
    }
    return 0;
}

std::uint32_t SystemInfo::OsInfo() {
    if (!haveOsInfo_) {
        std::string forced;
        std::uint32_t word = 0;
        if (platform_.GetEnv("KORVA_FORCE_PLATFORM", &forced)) {
            word = WordFromName(forced.c_str());
        }
        osInfo_ = word != 0 ? word : WordFromVersion(platform_.Version());
        haveOsInfo_ = true;
    }
    return osInfo_;
}

int SystemInfo::Win32Platform() {
    const std::uint32_t word = OsInfo();
    if (word & kOsNtMask) {
        return 2;
    }
    return (word == kOsWin95 || word == kOsWin98) ? 1 : 0;
}

bool SystemInfo::IsTerminalServer(int* adminMode) {
    if (!haveWts_) {
        std::string forced;
        if (platform_.GetEnv("KORVA_FORCE_WTS", &forced)) {
            // Exactly the listed values; anything else, empty included, is "no".
            wts_ = forced == "Admin" || forced == "User";
            wtsAdmin_ = forced == "Admin" ? 1 : 0;
        } else if ((OsInfo() & kOsNt5) && platform_.IsTerminalServerSuite()) {
            wts_ = true;
            RegKey key = 0;
            if (platform_.RegOpen(kHkeyLocalMachine, kTerminalServerKey, kKeyRead, &key) == 0) {
                std::uint32_t type = 0;
                std::uint32_t value = 1;
                std::uint32_t size = sizeof value;
                if (platform_.RegQuery(key, "TSUserEnabled", &type, &value, &size) == 0 &&
                    type == kRegDword && size == sizeof value && value == 0) {
                    wtsAdmin_ = 1;
                }
                platform_.RegClose(key);
            }
        }
        haveWts_ = true;
    }
    if (adminMode != nullptr) {
        *adminMode = wts_ ? wtsAdmin_ : 0;
    }
    return wts_;
}

bool SystemInfo::IsCitrixMetaframe() {
    if (!haveCitrix_) {
        std::uint32_t type = 0;
        citrix_ = IsTerminalServer(nullptr) &&
                  platform_.NetworkProviderType("Client Network", &type) &&
                  type == kCitrixNetworkType;
        haveCitrix_ = true;
    }
    return citrix_;
}

}  // namespace korvant
