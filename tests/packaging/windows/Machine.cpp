#include "packaging/windows/Machine.h"

#include <tlhelp32.h>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace machine {

namespace {

constexpr REGSAM kView = KEY_WOW64_64KEY;

struct Key {
    HKEY handle = nullptr;
    ~Key() {
        if (handle != nullptr) {
            RegCloseKey(handle);
        }
    }
};

void DumpInto(HKEY key, const std::wstring& path, std::wstring* out) {
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD nameSize = 256;
        BYTE data[4096];
        DWORD dataSize = sizeof data;
        DWORD type = 0;
        if (RegEnumValueW(key, i, name, &nameSize, nullptr, &type, data, &dataSize) !=
            ERROR_SUCCESS) {
            break;
        }
        std::wstring text;
        if (type == REG_DWORD) {
            text = std::to_wstring(*reinterpret_cast<DWORD*>(data));
        } else {
            text.assign(reinterpret_cast<wchar_t*>(data), dataSize / sizeof(wchar_t));
        }
        *out += path + L"\\" + name + L"=" + std::to_wstring(type) + L":" + text + L"\n";
    }
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD nameSize = 256;
        if (RegEnumKeyExW(key, i, name, &nameSize, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            break;
        }
        Key sub;
        if (RegOpenKeyExW(key, name, 0, KEY_READ | kView, &sub.handle) == ERROR_SUCCESS) {
            DumpInto(sub.handle, path + L"\\" + name, out);
        }
    }
}

// The system's own programs, which a program can start on demand (Wine starts
// its desktop and RPC programs so) and which then live on after it.
bool SystemProgram(const wchar_t* exe) {
    for (const wchar_t* name : {L"explorer.exe", L"rpcss.exe", L"services.exe", L"svchost.exe",
                                L"winedevice.exe", L"plugplay.exe", L"conhost.exe"})
        if (_wcsicmp(exe, name) == 0) return true;
    return false;
}

// Processes whose parent is `parent`, opened for waiting; the system's own
// programs left out.
std::vector<HANDLE> Children(DWORD parent) {
    std::vector<HANDLE> found;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) {
        return found;
    }
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more;
         more = Process32NextW(snapshot, &entry)) {
        if (entry.th32ParentProcessID == parent && !SystemProgram(entry.szExeFile)) {
            if (HANDLE h = OpenProcess(SYNCHRONIZE, FALSE, entry.th32ProcessID); h != nullptr) {
                found.push_back(h);
            }
        }
    }
    CloseHandle(snapshot);
    return found;
}

}  // namespace

Value Read(HKEY root, const std::wstring& key, const std::wstring& name) {
    Value v;
    Key k;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ | kView, &k.handle) != ERROR_SUCCESS) {
        return v;
    }
    DWORD size = 0;
    if (RegQueryValueExW(k.handle, name.c_str(), nullptr, &v.type, nullptr, &size) !=
        ERROR_SUCCESS) {
        return v;
    }
    std::vector<BYTE> data(size + sizeof(wchar_t));
    if (RegQueryValueExW(k.handle, name.c_str(), nullptr, &v.type, data.data(), &size) !=
        ERROR_SUCCESS) {
        return v;
    }
    v.exists = true;
    if (v.type == REG_DWORD && size == sizeof(DWORD)) {
        v.number = *reinterpret_cast<DWORD*>(data.data());
    } else {
        v.text.assign(reinterpret_cast<wchar_t*>(data.data()), size / sizeof(wchar_t));
        if (v.type != REG_MULTI_SZ) {
            while (!v.text.empty() && v.text.back() == L'\0') {
                v.text.pop_back();
            }
        }
    }
    return v;
}

bool KeyExists(HKEY root, const std::wstring& key) {
    Key k;
    return RegOpenKeyExW(root, key.c_str(), 0, KEY_READ | kView, &k.handle) == ERROR_SUCCESS;
}

void SetText(HKEY root, const std::wstring& key, const std::wstring& name,
             const std::wstring& value) {
    Key k;
    RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_WRITE | kView, nullptr, &k.handle,
                    nullptr);
    RegSetValueExW(k.handle, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

void DeleteValue(HKEY root, const std::wstring& key, const std::wstring& name) {
    Key k;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_WRITE | kView, &k.handle) == ERROR_SUCCESS) {
        RegDeleteValueW(k.handle, name.c_str());
    }
}

// A 64-bit process sees the 64-bit view, the one RegDeleteTreeW works on.
void DeleteTree(HKEY root, const std::wstring& key) {
    RegDeleteTreeW(root, key.c_str());
}

std::wstring Dump(HKEY root, const std::wstring& key) {
    std::wstring out;
    Key k;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ | kView, &k.handle) == ERROR_SUCCESS) {
        DumpInto(k.handle, key, &out);
    }
    return out;
}

bool FileExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string Bytes(const std::wstring& path) {
    std::ifstream in(Narrow(path), std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

FILETIME WriteTime(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

void SetWriteTime(const std::wstring& path, const FILETIME& time) {
    HANDLE h = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, 0, nullptr);
    SetFileTime(h, nullptr, nullptr, &time);
    CloseHandle(h);
}

std::vector<std::wstring> List(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    HANDLE h = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") {
            names.push_back(name);
        }
    } while (FindNextFileW(h, &found));
    FindClose(h);
    std::sort(names.begin(), names.end());
    return names;
}

void RemoveFolder(const std::wstring& folder) {
    for (const std::wstring& name : List(folder)) {
        const std::wstring path = folder + L"\\" + name;
        if (GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY) {
            RemoveFolder(path);
        } else {
            DeleteFileW(path.c_str());
        }
    }
    RemoveDirectoryW(folder.c_str());
}

std::wstring ExeFolder() {
    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring dir(exe);
    return dir.substr(0, dir.find_last_of(L'\\'));
}

std::wstring Expand(const std::wstring& text) {
    wchar_t out[1024] = {};
    ExpandEnvironmentStringsW(text.c_str(), out, 1024);
    return out;
}

Run Start(const std::wstring& commandLine, bool descendants) {
    Run run;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    CreatePipe(&readEnd, &writeEnd, &inherit, 0);
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION process{};
    std::wstring line = commandLine;
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &process)) {
        CloseHandle(readEnd);
        CloseHandle(writeEnd);
        run.output = "cannot start: " + Narrow(commandLine);
        return run;
    }
    CloseHandle(writeEnd);
    // The run ends with the program (and the children waited for), not with
    // the pipe: a program it started on demand that lives on (Wine's desktop
    // program, started by the first program that needs a desktop) inherits
    // the pipe and would hold it open for as long as it runs.
    auto drain = [&] {
        DWORD available = 0;
        while (PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr) && available > 0) {
            char buffer[4096];
            DWORD got = 0;
            const DWORD want = std::min<DWORD>(available, sizeof buffer);
            if (!ReadFile(readEnd, buffer, want, &got, nullptr) || got == 0) break;
            run.output.append(buffer, got);
        }
    };
    auto waitDraining = [&](HANDLE handle) {
        while (WaitForSingleObject(handle, 20) == WAIT_TIMEOUT) drain();
    };
    waitDraining(process.hProcess);
    GetExitCodeProcess(process.hProcess, &run.exitCode);
    if (descendants) {
        for (HANDLE child : Children(process.dwProcessId)) {
            waitDraining(child);
            CloseHandle(child);
        }
    }
    drain();
    CloseHandle(readEnd);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return run;
}

// Whole strings, embedded NULs (REG_MULTI_SZ) included.
std::string Narrow(const std::wstring& text) {
    const int length = static_cast<int>(text.size());
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string out(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), length, out.data(), size, nullptr, nullptr);
    return out;
}

std::wstring Widen(const std::string& text) {
    const int length = static_cast<int>(text.size());
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0);
    std::wstring out(size, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), length, out.data(), size);
    return out;
}

}  // namespace machine
