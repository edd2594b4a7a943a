// File, drive and name utilities of the nt_ and ntx_ families.
// Winsock before windows.h, and windows.h before the rest.
// clang-format off
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
#include <iphlpapi.h>
#include <icmpapi.h>
#include <tlhelp32.h>
#include <winioctl.h>
// clang-format on

#include <cstring>
#include <string>
#include <vector>

#include "libkorvant/ObjectPath.h"
#include "libkorvant/ParamTables.h"
#include "libkorvant/PeImage.h"
#include "libkorvant/TextUtil.h"
#include "libkorvant/libkorvant.h"
#include "libkorvant/win32/Library.h"
#include "libkorvant/win32/Strings.h"

using namespace korvant;
using namespace korvant::win32;

namespace {

constexpr const char* kSharesKey = "SYSTEM\\CurrentControlSet\\Services\\LanmanServer\\Shares";
constexpr long kShareNotFound = 2310;  // NERR_NetNameNotFound

std::string FullPath(const char* path) {
    char buffer[MAX_PATH * 4];
    const DWORD n = GetFullPathNameA(path, sizeof buffer, buffer, nullptr);
    return (n == 0 || n >= sizeof buffer) ? std::string(path) : std::string(buffer, n);
}

// The volume root of a path ("C:\", "\\server\share\").
std::string VolumeRoot(const char* path) {
    std::string root;
    FileRootSplit(FullPath(path), &root, nullptr);
    if (!root.empty() && root.back() != '\\' && root.back() != '/') {
        root += '\\';
    }
    return root;
}

int ChangeAttributes(const char* path, DWORD set, DWORD clear) {
    if (path == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return static_cast<int>(GetLastError());
    }
    DWORD wanted = (attributes | set) & ~clear;
    if (wanted == 0) {
        wanted = FILE_ATTRIBUTE_NORMAL;
    }
    if (wanted != attributes && !SetFileAttributesA(path, wanted)) {
        return static_cast<int>(GetLastError());
    }
    return 0;
}

int CopyOut(const std::string& text, char* buffer, DWORD size) {
    if (buffer == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    if (text.size() + 1 > size) {
        return ERROR_INSUFFICIENT_BUFFER;
    }
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return 0;
}

}  // namespace

// The file system's name ("NTFS", "FAT32", ...) of the volume holding path.
KORVANT_EXPORT int nt_get_fs_type(const char* path, char* buffer, DWORD size) {
    if (path == nullptr || buffer == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    char name[MAX_PATH + 1] = {};
    if (!GetVolumeInformationA(VolumeRoot(path).c_str(), nullptr, 0, nullptr, nullptr, nullptr,
                               name, sizeof name)) {
        return static_cast<int>(GetLastError());
    }
    return CopyOut(name, buffer, size);
}

KORVANT_EXPORT UINT nt_get_drive_type(const char* path) {
    if (path == nullptr) {
        return DRIVE_UNKNOWN;
    }
    return GetDriveTypeA(VolumeRoot(path).c_str());
}

KORVANT_EXPORT int nt_fs_has_acl(const char* path) {
    if (path == nullptr) {
        return -1;
    }
    DWORD flags = 0;
    if (!GetVolumeInformationA(VolumeRoot(path).c_str(), nullptr, 0, nullptr, nullptr, &flags,
                               nullptr, 0)) {
        return -1;
    }
    return (flags & FILE_PERSISTENT_ACLS) ? 1 : 0;
}

KORVANT_EXPORT int nt_get_file_readonly(const char* path) {
    if (path == nullptr) {
        return -1;
    }
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return -1;
    }
    return (attributes & FILE_ATTRIBUTE_READONLY) ? 1 : 0;
}

KORVANT_EXPORT int nt_set_file_readonly(const char* path) {
    return ChangeAttributes(path, FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_NORMAL);
}

KORVANT_EXPORT int nt_unset_file_readonly(const char* path) {
    return ChangeAttributes(path, 0, FILE_ATTRIBUTE_READONLY);
}

KORVANT_EXPORT int nt_set_file_archive(const char* path) {
    return ChangeAttributes(path, FILE_ATTRIBUTE_ARCHIVE, FILE_ATTRIBUTE_NORMAL);
}

KORVANT_EXPORT int nt_set_file_hidden(const char* path) {
    return ChangeAttributes(path, FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_NORMAL);
}

// Splits a path into its root, copied to root, and the rest, pointed to
// inside the caller's path.
KORVANT_EXPORT int nt_file_root_split(const char* path, char* root, DWORD rootSize,
                                      const char** rest) {
    std::string head;
    if (path == nullptr || !FileRootSplit(path, &head, nullptr)) {
        return ERROR_INVALID_PARAMETER;
    }
    if (root != nullptr) {
        if (const int error = CopyOut(head, root, rootSize); error != 0) {
            return error;
        }
    }
    if (rest != nullptr) {
        *rest = path + head.size();
    }
    return 0;
}

KORVANT_EXPORT int nt_sz_to_unicode(const char* text, wchar_t* buffer, DWORD chars) {
    if (text == nullptr || buffer == nullptr || chars == 0) {
        return -1;
    }
    const int n = MultiByteToWideChar(CP_ACP, 0, text, -1, buffer, static_cast<int>(chars));
    if (n == 0) {
        buffer[0] = L'\0';
        return -1;
    }
    return n - 1;
}

// The local directory a share of this machine's server exports.
KORVANT_EXPORT int nt_get_local_sharename_path(const char* share, char* buffer, DWORD size) {
    if (share == nullptr || buffer == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSharesKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return kShareNotFound;
    }
    std::vector<char> data(8192);
    DWORD length = static_cast<DWORD>(data.size() - 2);
    DWORD type = 0;
    const LONG error =
        RegQueryValueExA(key, share, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &length);
    RegCloseKey(key);
    if (error != ERROR_SUCCESS || type != REG_MULTI_SZ) {
        return kShareNotFound;
    }
    for (const char* p = data.data(); p < data.data() + length && *p != '\0';
         p += std::strlen(p) + 1) {
        if (AsciiCaseCompareN(p, "Path=", 5) == 0) {
            return CopyOut(p + 5, buffer, size);
        }
    }
    return kShareNotFound;
}

KORVANT_EXPORT int nt_kernel_to_dosdevice_user_path(const char* kernelPath, char* buffer,
                                                    DWORD size) {
    if (kernelPath == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    std::string path;
    if (const long error = ToDosPath(ThePlatform(), WideToUtf8(AnsiToWide(kernelPath)), &path);
        error != 0) {
        return static_cast<int>(error);
    }
    return CopyOut(WideToAnsi(Utf8ToWide(path)), buffer, size);
}

// Device control code of the file system driver's function number n.
KORVANT_EXPORT DWORD nt_get_dlfs_ioctl_cmd(int function) {
    return CTL_CODE(FILE_DEVICE_NETWORK_FILE_SYSTEM, 0x800 + (function & 0x7FF), METHOD_BUFFERED,
                    FILE_ANY_ACCESS);
}

// Whether an executable (null: this process's) runs in the GUI subsystem.
KORVANT_EXPORT int nt_is_gui_app(const char* path) {
    char own[MAX_PATH];
    if (path == nullptr) {
        const DWORD n = GetModuleFileNameA(nullptr, own, MAX_PATH);
        if (n == 0 || n >= MAX_PATH) {
            return -1;
        }
        path = own;
    }
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return -1;
    }
    std::vector<std::uint8_t> head(4096);
    DWORD got = 0;
    const BOOL ok = ReadFile(file, head.data(), static_cast<DWORD>(head.size()), &got, nullptr);
    CloseHandle(file);
    const int subsystem = ok ? PeSubsystem(head.data(), got) : -1;
    return subsystem < 0 ? -1 : (subsystem == kSubsystemWindowsGui ? 1 : 0);
}

// The application name an executable's version resource gives (InternalName,
// else ProductName), else its file name without extension.
KORVANT_EXPORT int nt_find_vb_resource_app_name(const char* path, char* buffer, DWORD size) {
    char own[MAX_PATH];
    if (path == nullptr) {
        const DWORD n = GetModuleFileNameA(nullptr, own, MAX_PATH);
        if (n == 0 || n >= MAX_PATH) {
            return static_cast<int>(GetLastError());
        }
        path = own;
    }
    DWORD handle = 0;
    const DWORD infoSize = GetFileVersionInfoSizeA(path, &handle);
    if (infoSize != 0) {
        std::vector<char> info(infoSize);
        WORD* translation = nullptr;
        UINT length = 0;
        if (GetFileVersionInfoA(path, 0, infoSize, info.data()) &&
            VerQueryValueA(info.data(), "\\VarFileInfo\\Translation",
                           reinterpret_cast<void**>(&translation), &length) &&
            length >= 4) {
            for (const char* field : {"InternalName", "ProductName"}) {
                char query[64];
                wsprintfA(query, "\\StringFileInfo\\%04x%04x\\%s", translation[0], translation[1],
                          field);
                char* value = nullptr;
                if (VerQueryValueA(info.data(), query, reinterpret_cast<void**>(&value), &length) &&
                    value != nullptr && *value != '\0') {
                    return CopyOut(value, buffer, size);
                }
            }
        }
    }
    std::string name = path;
    const std::size_t slash = name.find_last_of("\\/:");
    if (slash != std::string::npos) {
        name.erase(0, slash + 1);
    }
    const std::size_t dot = name.find_last_of('.');
    if (dot != std::string::npos) {
        name.erase(dot);
    }
    return CopyOut(name, buffer, size);
}

// The entry-level edition names itself through ServerType "elcc".
KORVANT_EXPORT int nt_is_elcc(void) {
    char type[64] = {};
    std::uint32_t size = sizeof type;
    if (TheStore().GetParam(kParamServerType, &size, type, nullptr) != 0) {
        return 0;
    }
    return AsciiCaseCompare(type, "elcc") == 0 ? 1 : 0;
}

KORVANT_EXPORT DWORD ntx_cvt_to_ob_pname_w(const wchar_t* path, wchar_t* buffer, DWORD chars) {
    if (path == nullptr || buffer == nullptr || *path == L'\0') {
        return ERROR_INVALID_PARAMETER;
    }
    std::wstring full(path);
    if (!(full.size() >= 2 && full[0] == L'\\' && full[1] == L'?')) {
        wchar_t resolved[MAX_PATH * 4];
        const DWORD n = GetFullPathNameW(path, MAX_PATH * 4, resolved, nullptr);
        if (n != 0 && n < MAX_PATH * 4) {
            full.assign(resolved, n);
        }
    }
    std::string object;
    if (const long error = ToObjectPath(ThePlatform(), WideToUtf8(full), &object); error != 0) {
        TraceX("QueryDosDevice", "ntutilx", __LINE__, static_cast<unsigned long>(error));
        return static_cast<DWORD>(error);
    }
    const std::wstring result = Utf8ToWide(object);
    if (result.size() + 1 > chars) {
        return ERROR_INSUFFICIENT_BUFFER;
    }
    std::memcpy(buffer, result.c_str(), (result.size() + 1) * sizeof(wchar_t));
    return 0;
}

KORVANT_EXPORT DWORD ntx_cvt_to_ob_pname(const char* path, char* buffer, DWORD size) {
    if (path == nullptr || buffer == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    std::vector<wchar_t> wide(MAX_PATH * 4);
    const std::wstring source = AnsiToWide(path);
    if (const DWORD error =
            ntx_cvt_to_ob_pname_w(source.c_str(), wide.data(), static_cast<DWORD>(wide.size()));
        error != 0) {
        return error;
    }
    return static_cast<DWORD>(CopyOut(WideToAnsi(wide.data()), buffer, size));
}

// Hardware addresses of this machine's network adapters.
KORVANT_EXPORT int ntx_my_mac_addresses(unsigned char (*addresses)[6], int max) {
    if (max < 0 || (addresses == nullptr && max > 0)) {
        return -1;
    }
    ULONG size = 0;
    if (GetAdaptersInfo(nullptr, &size) != ERROR_BUFFER_OVERFLOW || size == 0) {
        return 0;
    }
    std::vector<std::uint8_t> data(size);
    auto* adapter = reinterpret_cast<IP_ADAPTER_INFO*>(data.data());
    if (GetAdaptersInfo(adapter, &size) != ERROR_SUCCESS) {
        return -1;
    }
    int count = 0;
    for (; adapter != nullptr && count < max; adapter = adapter->Next) {
        if (adapter->AddressLength == 6) {
            std::memcpy(addresses[count++], adapter->Address, 6);
        }
    }
    return count;
}

// The parent process id of pid (0: this process).
KORVANT_EXPORT DWORD ntx_get_ppid(DWORD pid) {
    if (pid == 0) {
        pid = GetCurrentProcessId();
    }
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) {
        TraceX("CreateToolhelp32Snapshot", "ntutilx", __LINE__, GetLastError());
        return 0;
    }
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    DWORD parent = 0;
    for (BOOL ok = Process32First(snapshot, &entry); ok; ok = Process32Next(snapshot, &entry)) {
        if (entry.th32ProcessID == pid) {
            parent = entry.th32ParentProcessID;
            break;
        }
    }
    CloseHandle(snapshot);
    return parent;
}

// 1 when the host answers an ICMP echo within the time-out.
KORVANT_EXPORT int ntx_ping_host(const char* host, DWORD timeoutMs) {
    if (host == nullptr || *host == '\0') {
        return 0;
    }
    WSADATA wsa{};
    if (WSAStartup(MAKEWORD(2, 2), &wsa) != 0) {
        return 0;
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo* found = nullptr;
    int answered = 0;
    if (getaddrinfo(host, nullptr, &hints, &found) == 0 && found != nullptr) {
        const IPAddr address = reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr.S_un.S_addr;
        freeaddrinfo(found);
        HANDLE icmp = IcmpCreateFile();
        if (icmp != INVALID_HANDLE_VALUE) {
            char request[8] = "korvant";
            std::vector<char> reply(sizeof(ICMP_ECHO_REPLY) + sizeof request + 8);
            if (IcmpSendEcho(icmp, address, request, sizeof request, nullptr, reply.data(),
                             static_cast<DWORD>(reply.size()), timeoutMs) > 0) {
                answered =
                    reinterpret_cast<ICMP_ECHO_REPLY*>(reply.data())->Status == IP_SUCCESS ? 1 : 0;
            }
            IcmpCloseHandle(icmp);
        }
    }
    WSACleanup();
    return answered;
}
