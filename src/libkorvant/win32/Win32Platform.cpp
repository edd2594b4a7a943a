#include "libkorvant/win32/Win32Platform.h"

#include <windows.h>
#include <winnetwk.h>

#include <vector>

#include "libkorvant/win32/Strings.h"

namespace korvant::win32 {

namespace {

HKEY H(RegKey key) {
    return reinterpret_cast<HKEY>(key);
}

}  // namespace

long Win32Platform::RegConnect(const char* machine, RegKey root, RegKey* out) {
    HKEY key = nullptr;
    const LONG error = RegConnectRegistryA(machine, H(root), &key);
    *out = reinterpret_cast<RegKey>(key);
    return error;
}

long Win32Platform::RegOpen(RegKey parent, const char* path, std::uint32_t access, RegKey* out) {
    HKEY key = nullptr;
    const LONG error = RegOpenKeyExA(H(parent), path, 0, access, &key);
    *out = error == 0 ? reinterpret_cast<RegKey>(key) : 0;
    return error;
}

long Win32Platform::RegCreate(RegKey parent, const char* path, std::uint32_t access, RegKey* out) {
    HKEY key = nullptr;
    const LONG error = RegCreateKeyExA(H(parent), path, 0, nullptr, REG_OPTION_NON_VOLATILE, access,
                                       nullptr, &key, nullptr);
    *out = error == 0 ? reinterpret_cast<RegKey>(key) : 0;
    return error;
}

long Win32Platform::RegClose(RegKey key) {
    return RegCloseKey(H(key));
}

long Win32Platform::RegQuery(RegKey key, const char* name, std::uint32_t* type, void* data,
                             std::uint32_t* size) {
    DWORD t = 0;
    DWORD n = size != nullptr ? *size : 0;
    const LONG error = RegQueryValueExA(H(key), name, nullptr, &t, static_cast<BYTE*>(data),
                                        size != nullptr ? &n : nullptr);
    if (type != nullptr) {
        *type = t;
    }
    if (size != nullptr) {
        *size = n;
    }
    return error;
}

long Win32Platform::RegSet(RegKey key, const char* name, std::uint32_t type, const void* data,
                           std::uint32_t size) {
    return RegSetValueExA(H(key), name, 0, type, static_cast<const BYTE*>(data), size);
}

long Win32Platform::RegDelValue(RegKey key, const char* name) {
    return RegDeleteValueA(H(key), name);
}

long Win32Platform::RegDelKey(RegKey parent, const char* path) {
    return RegDeleteKeyA(H(parent), path);
}

long Win32Platform::RegEnumSubkey(RegKey key, std::uint32_t index, char* name,
                                  std::uint32_t* nameLen) {
    DWORD n = *nameLen;
    const LONG error = RegEnumKeyExA(H(key), index, name, &n, nullptr, nullptr, nullptr, nullptr);
    *nameLen = n;
    return error;
}

long Win32Platform::RegEnumVal(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameLen,
                               std::uint32_t* type, void* data, std::uint32_t* dataLen) {
    DWORD n = *nameLen;
    DWORD t = 0;
    DWORD d = dataLen != nullptr ? *dataLen : 0;
    const LONG error = RegEnumValueA(H(key), index, name, &n, nullptr, &t, static_cast<BYTE*>(data),
                                     dataLen != nullptr ? &d : nullptr);
    *nameLen = n;
    if (type != nullptr) {
        *type = t;
    }
    if (dataLen != nullptr) {
        *dataLen = d;
    }
    return error;
}

long Win32Platform::RegKeyWriteTime(RegKey key, std::uint64_t* fileTime) {
    FILETIME time{};
    const LONG error = RegQueryInfoKeyA(H(key), nullptr, nullptr, nullptr, nullptr, nullptr,
                                        nullptr, nullptr, nullptr, nullptr, nullptr, &time);
    *fileTime = (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    return error;
}

std::string Win32Platform::ProfileGet(const char* section, const char* key) {
    std::vector<char> buffer(1024);
    for (;;) {
        const DWORD n =
            GetProfileStringA(section, key, "", buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n + 1 < buffer.size() || buffer.size() >= (1u << 20)) {
            return std::string(buffer.data(), n);
        }
        buffer.resize(buffer.size() * 2);
    }
}

long Win32Platform::ProfileSet(const char* section, const char* key, const char* value) {
    return WriteProfileStringA(section, key, value) ? 0 : static_cast<long>(GetLastError());
}

bool Win32Platform::ProfileWriteTime(std::uint64_t* fileTime) {
    char dir[MAX_PATH];
    const UINT n = GetWindowsDirectoryA(dir, MAX_PATH);
    if (n == 0 || n >= MAX_PATH - 10) {
        return false;
    }
    const std::string path = std::string(dir) + "\\win.ini";
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) {
        return false;
    }
    *fileTime = (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                data.ftLastWriteTime.dwLowDateTime;
    return true;
}

bool Win32Platform::GetEnv(const char* name, std::string* value) {
    // A variable set to the empty string is set: only "not found" is unset.
    SetLastError(0);
    const DWORD n = GetEnvironmentVariableA(name, nullptr, 0);
    if (n == 0) {
        if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) {
            return false;
        }
        value->clear();
        return true;
    }
    std::vector<char> buffer(n + 1);
    SetLastError(0);
    const DWORD got = GetEnvironmentVariableA(name, buffer.data(), n + 1);
    if (got > n || (got == 0 && GetLastError() == ERROR_ENVVAR_NOT_FOUND)) {
        return false;
    }
    value->assign(buffer.data(), got);
    return true;
}

bool Win32Platform::ComputerName(std::string* name) {
    char buffer[64];
    DWORD n = sizeof buffer;
    if (!GetComputerNameA(buffer, &n)) {
        return false;
    }
    name->assign(buffer, n);
    return true;
}

OsVersion Win32Platform::Version() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    OsVersion version;
    if (GetVersionExA(&info)) {
        version.platformId = info.dwPlatformId;
        version.major = info.dwMajorVersion;
        version.minor = info.dwMinorVersion;
    }
    return version;
}

bool Win32Platform::IsTerminalServerSuite() {
    OSVERSIONINFOEXA info{};
    info.dwOSVersionInfoSize = sizeof info;
    info.wSuiteMask = VER_SUITE_TERMINAL;
    const DWORDLONG condition = VerSetConditionMask(0, VER_SUITENAME, VER_AND);
    return VerifyVersionInfoA(&info, VER_SUITENAME, condition) != FALSE;
}

bool Win32Platform::NetworkProviderType(const char* provider, std::uint32_t* type) {
    NETINFOSTRUCT info{};
    info.cbStructure = sizeof info;
    if (WNetGetNetworkInformationA(provider, &info) != NO_ERROR) {
        return false;
    }
    *type = info.wNetType;
    return true;
}

long Win32Platform::QueryDevice(const char* device, std::string* target) {
    const std::wstring name = Utf8ToWide(device);
    std::vector<wchar_t> buffer(1024);
    for (;;) {
        const DWORD n =
            QueryDosDeviceW(name.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n != 0) {
            *target = WideToUtf8(buffer.data());  // the first (current) definition
            return 0;
        }
        const DWORD error = GetLastError();
        if (error != ERROR_INSUFFICIENT_BUFFER || buffer.size() >= 65536) {
            return static_cast<long>(error);
        }
        buffer.resize(buffer.size() * 2);
    }
}

void Win32Platform::DebugOutput(const char* text) {
    OutputDebugStringA(text);
}

}  // namespace korvant::win32
