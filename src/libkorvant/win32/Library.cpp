// Process-wide state of the DLL: the platform objects, the global critical
// section and the entry point that creates it.
#include "libkorvant/win32/Library.h"

#include <windows.h>
// after windows.h
#include <sddl.h>

#include <cerrno>
#include <vector>

#include "libkorvant/Diagnostics.h"
#include "libkorvant/ErrnoMap.h"
#include "libkorvant/win32/Win32AccountSystem.h"
#include "libkorvant/win32/Win32SharedObjects.h"

namespace korvant::win32 {

namespace {

CRITICAL_SECTION gLock;
bool gLockReady = false;

}  // namespace

Win32Platform& ThePlatform() {
    static Win32Platform platform;
    return platform;
}

SystemInfo& TheSystem() {
    static SystemInfo system(ThePlatform());
    return system;
}

RegistryStore& TheStore() {
    static RegistryStore store(ThePlatform(), TheSystem());
    return store;
}

SharedCache& TheCache() {
    static Win32SharedObjects objects;
    static SharedCache cache(objects, [] {
        return ReadCacheSettings(ThePlatform(), TheStore(), TheSystem(), TokenUserSidString());
    });
    return cache;
}

Accounts& TheAccounts() {
    static Win32AccountSystem system;
    static Accounts accounts(ThePlatform(), TheStore(), TheSystem(), system, &TheCache());
    return accounts;
}

std::string TokenUserSidString() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
        Trace("OpenProcessToken", "ntutil", __LINE__, GetLastError());
        return std::string();
    }
    DWORD length = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &length);
    std::vector<BYTE> buffer(length != 0 ? length : 1);
    std::string text;
    if (GetTokenInformation(token, TokenUser, buffer.data(), length, &length)) {
        char* sid = nullptr;
        if (ConvertSidToStringSidA(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &sid)) {
            text = sid;
            LocalFree(sid);
        }
    } else {
        Trace("GetTokenInformation", "ntutil", __LINE__, GetLastError());
    }
    CloseHandle(token);
    return text;
}

int FailWithWin32Error(unsigned long error) {
    return FailWithErrno(Win32ErrorToErrno(error));
}

int FailWithErrno(int value) {
    errno = value;
    return -1;
}

void Trace(const char* call, const char* file, int line, unsigned long status) {
    TraceFailure(ThePlatform(), "NT_TRACE", call, file, line, status);
}

void TraceX(const char* call, const char* file, int line, unsigned long status) {
    TraceFailure(ThePlatform(), "NTX_TRACE", call, file, line, status);
}

}  // namespace korvant::win32

// The lock is recursive (a critical section) and lives as long as the DLL.
extern "C" void nt_enter_critical_section(void) {
    if (korvant::win32::gLockReady) {
        EnterCriticalSection(&korvant::win32::gLock);
    }
}

extern "C" void nt_leave_critical_section(void) {
    if (korvant::win32::gLockReady) {
        LeaveCriticalSection(&korvant::win32::gLock);
    }
}

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
    using namespace korvant::win32;
    if (reason == DLL_PROCESS_ATTACH) {
        InitializeCriticalSection(&gLock);
        gLockReady = true;
    } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
        // Only on FreeLibrary; at process exit other threads may still hold it.
        gLockReady = false;
        DeleteCriticalSection(&gLock);
    }
    return TRUE;
}
