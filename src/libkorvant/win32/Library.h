#pragma once

#include "libkorvant/Accounts.h"
#include "libkorvant/RegistryStore.h"
#include "libkorvant/SharedCache.h"
#include "libkorvant/SystemInfo.h"
#include "libkorvant/win32/Win32Platform.h"

namespace korvant::win32 {

// The process-wide objects behind the DLL's exports.
Win32Platform& ThePlatform();
SystemInfo& TheSystem();
RegistryStore& TheStore();
// The shared cache areas of this process.
SharedCache& TheCache();
// The account layer.
Accounts& TheAccounts();
// The SID string of the process token's user, empty when unknown.
std::string TokenUserSidString();

// Sets errno from a Win32 error code and returns -1, the POSIX failure value.
int FailWithWin32Error(unsigned long error);
int FailWithErrno(int value);

// NT_TRACE / NTX_TRACE lines for failed system calls.
void Trace(const char* call, const char* file, int line, unsigned long status);
void TraceX(const char* call, const char* file, int line, unsigned long status);

}  // namespace korvant::win32

// Exports are named in LIBKORVANT.def; nothing is exported by attribute.
#define KORVANT_EXPORT extern "C"
