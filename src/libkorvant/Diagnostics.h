#pragma once

#include <string>

#include "libkorvant/Platform.h"

namespace korvant {

// The one formatting routine behind NT_TRACE and NTX_TRACE: a failed system
// call, where it was made and its status, to the debugger output.
std::string FormatTrace(const char* tag, const char* call, const char* file, int line,
                        unsigned long status);
void TraceFailure(Platform& platform, const char* tag, const char* call, const char* file, int line,
                  unsigned long status);

// Message module for nt_get_error_string: 0 the system, 1 the network message
// library, 2 the NT run-time library.
int MessageModuleFor(unsigned long code, int source);
// Removes the line end the system's message formatter leaves behind.
std::string TrimMessageEnd(std::string text);
// Text used when no module knows the code.
std::string NoDescriptionText(unsigned long code);
inline constexpr const char* kNoDescriptionTemplate =
    "Error %1!d!: No additional description available for this system error.";
inline constexpr const char* kNoDescriptionPlain =
    "No additional description available for this system error.";

// "<dir>\resdll\<name>_<lang><suffix>.rsc" for a module's full file name.
std::string ResourceDllPath(const std::string& modulePath, const std::string& language, int flag);

}  // namespace korvant
