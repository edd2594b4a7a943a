#include "vtrelnp/win32/Win32System.h"

#include <cstring>
#include <memory>

namespace vtrelnp::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 wide characters");

std::wstring ToWide(const WString& text) {
    return std::wstring(text.begin(), text.end());
}

WString FromWide(const wchar_t* text) {
    return text != nullptr ? WString(reinterpret_cast<const char16_t*>(text)) : WString();
}

namespace {

// The SID of the calling thread's user (its impersonation token first).
std::unique_ptr<unsigned char[]> CallingUserSid() {
    HANDLE token = nullptr;
    if (!OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, TRUE, &token) &&
        !OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
        return nullptr;
    }
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::unique_ptr<unsigned char[]> data;
    if (size != 0) {
        data.reset(new unsigned char[size]);
        if (!GetTokenInformation(token, TokenUser, data.get(), size, &size)) {
            data.reset();
        }
    }
    CloseHandle(token);
    return data;
}

}  // namespace

Win32System::Win32System() {
    InitializeCriticalSection(&lock_);
}

Win32System::~Win32System() {
    DeleteCriticalSection(&lock_);
}

std::uint32_t Win32System::LogicalDrives() {
    return GetLogicalDrives();
}

long Win32System::DefineDevice(const WString& device, const WString& rawTarget) {
    if (!DefineDosDeviceW(DDD_RAW_TARGET_PATH, ToWide(device).c_str(), ToWide(rawTarget).c_str())) {
        return static_cast<long>(GetLastError());
    }
    return 0;
}

long Win32System::RemoveDevice(const WString& device, const WString& rawTarget) {
    const DWORD flags = DDD_RAW_TARGET_PATH | DDD_REMOVE_DEFINITION | DDD_EXACT_MATCH_ON_REMOVE;
    if (!DefineDosDeviceW(flags, ToWide(device).c_str(), ToWide(rawTarget).c_str())) {
        return static_cast<long>(GetLastError());
    }
    return 0;
}

long Win32System::QueryDevice(const WString& device, WString* currentTarget) {
    std::vector<wchar_t> buffer(1024);
    for (;;) {
        const DWORD n = QueryDosDeviceW(ToWide(device).c_str(), buffer.data(),
                                        static_cast<DWORD>(buffer.size()));
        if (n != 0) {
            *currentTarget = FromWide(buffer.data());  // the first is the current one
            return 0;
        }
        const DWORD error = GetLastError();
        if (error != ERROR_INSUFFICIENT_BUFFER || buffer.size() >= 65536) {
            return static_cast<long>(error);
        }
        buffer.resize(buffer.size() * 2);
    }
}

long Win32System::ListDevices(std::size_t capacity, std::vector<WString>* names) {
    std::vector<wchar_t> buffer(capacity);
    const DWORD n = QueryDosDeviceW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) {
        return static_cast<long>(GetLastError());
    }
    for (DWORD at = 0; at < n && buffer[at] != L'\0';) {
        const wchar_t* name = &buffer[at];
        const std::size_t length = wcsnlen(name, n - at);
        names->push_back(FromWide(std::wstring(name, length).c_str()));
        at += static_cast<DWORD>(length) + 1;
    }
    return 0;
}

long Win32System::ListDirectories(const WString& folder, std::vector<WString>* names) {
    std::wstring pattern = ToWide(folder);
    if (!pattern.empty() && pattern.back() != L'\\') {
        pattern += L'\\';
    }
    pattern += L"*";
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
        return static_cast<long>(GetLastError());
    }
    do {
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            names->push_back(FromWide(data.cFileName));
        }
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return 0;
}

long Win32System::ComputerName(WString* name) {
    wchar_t buffer[MAX_COMPUTERNAME_LENGTH + 64];
    DWORD size = static_cast<DWORD>(std::size(buffer));
    if (!GetComputerNameW(buffer, &size)) {
        return static_cast<long>(GetLastError());
    }
    *name = FromWide(buffer);
    return 0;
}

long Win32System::AnsiToWide(const std::string& text, WString* out) {
    if (text.empty()) {
        out->clear();
        return 0;
    }
    const int n = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(),
                                      static_cast<int>(text.size()), nullptr, 0);
    if (n <= 0) {
        return static_cast<long>(GetLastError());
    }
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                        wide.data(), n);
    *out = FromWide(wide.c_str());
    return 0;
}

std::string Win32System::WideToAnsi(const WString& text) {
    if (text.empty()) {
        return std::string();
    }
    const std::wstring wide = ToWide(text);
    const int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    if (n > 0) {
        WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n,
                            nullptr, nullptr);
    }
    return out;
}

std::uint32_t Win32System::ProcessId() {
    return GetCurrentProcessId();
}

std::uint32_t Win32System::ThreadId() {
    return GetCurrentThreadId();
}

void Win32System::DebugOutput(const std::string& text) {
    OutputDebugStringA(text.c_str());
}

System::EventOutcome Win32System::ReportErrorEvent(std::uint16_t category, std::uint32_t eventId,
                                                   const WString& text, unsigned long* error) {
    HANDLE source = RegisterEventSourceW(nullptr, L"Vantrel");
    if (source == nullptr) {
        *error = GetLastError();
        return EventOutcome::kOpenFailed;
    }
    const std::wstring wide = ToWide(text);
    const wchar_t* strings[1] = {wide.c_str()};
    const std::unique_ptr<unsigned char[]> user = CallingUserSid();
    PSID sid = user ? reinterpret_cast<TOKEN_USER*>(user.get())->User.Sid : nullptr;
    const BOOL reported =
        ReportEventW(source, EVENTLOG_ERROR_TYPE, category, eventId, sid, 1, 0, strings, nullptr);
    *error = reported ? 0 : GetLastError();
    DeregisterEventSource(source);
    return reported ? EventOutcome::kReported : EventOutcome::kReportFailed;
}

bool Win32System::InSystemLogonSession() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
        return false;
    }
    TOKEN_STATISTICS stats{};
    DWORD size = 0;
    const bool ok = GetTokenInformation(token, TokenStatistics, &stats, sizeof stats, &size);
    CloseHandle(token);
    const LUID system = SYSTEM_LUID;
    return ok && stats.AuthenticationId.LowPart == system.LowPart &&
           stats.AuthenticationId.HighPart == system.HighPart;
}

char16_t* Win32System::LocalCopy(const WString& text) {
    const std::size_t bytes = (text.size() + 1) * sizeof(char16_t);
    auto* copy = static_cast<char16_t*>(LocalAlloc(LMEM_FIXED, bytes));
    if (copy != nullptr) {
        std::memcpy(copy, text.c_str(), bytes);
    }
    return copy;
}

void Win32System::LockState() {
    EnterCriticalSection(&lock_);
}

void Win32System::UnlockState() {
    LeaveCriticalSection(&lock_);
}

}  // namespace vtrelnp::win32
