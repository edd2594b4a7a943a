// Platform word, error codes and texts, resource libraries and the
// terminal-server checks.
#include <windows.h>

#include <string>

#include "libkorvant/Diagnostics.h"
#include "libkorvant/ErrnoMap.h"
#include "libkorvant/TextUtil.h"
#include "libkorvant/libkorvant.h"
#include "libkorvant/win32/Library.h"

using namespace korvant;
using namespace korvant::win32;

namespace {

// Message libraries are loaded once, as data files, and kept.
HMODULE MessageLibrary(int module) {
    static HMODULE netmsg = nullptr;
    static HMODULE ntdll = nullptr;
    static bool triedNetmsg = false;
    static bool triedNtdll = false;
    HMODULE* slot = module == 1 ? &netmsg : &ntdll;
    bool* tried = module == 1 ? &triedNetmsg : &triedNtdll;
    if (!*tried) {
        *slot = LoadLibraryExA(module == 1 ? "netmsg.dll" : "ntdll.dll", nullptr,
                               LOAD_LIBRARY_AS_DATAFILE);
        if (*slot == nullptr) {
            Trace("LoadLibraryEx", "ntutil", __LINE__, GetLastError());
        }
        *tried = true;
    }
    return *slot;
}

bool SystemText(DWORD code, int module, std::string* text) {
    DWORD flags = FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER;
    HMODULE source = nullptr;
    if (module == 0) {
        flags |= FORMAT_MESSAGE_FROM_SYSTEM;
    } else {
        source = MessageLibrary(module);
        if (source == nullptr) {
            return false;
        }
        flags |= FORMAT_MESSAGE_FROM_HMODULE;
    }
    char* message = nullptr;
    const DWORD n =
        FormatMessageA(flags, source, code, 0, reinterpret_cast<char*>(&message), 0, nullptr);
    if (n == 0 || message == nullptr) {
        return false;
    }
    *text = TrimMessageEnd(std::string(message, n));
    LocalFree(message);
    return !text->empty();
}

std::string NoDescription(DWORD code) {
    char* message = nullptr;
    DWORD_PTR args[1] = {code};
    const DWORD n = FormatMessageA(
        FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ARGUMENT_ARRAY | FORMAT_MESSAGE_ALLOCATE_BUFFER,
        kNoDescriptionTemplate, 0, 0, reinterpret_cast<char*>(&message), 0,
        reinterpret_cast<va_list*>(args));
    if (n == 0 || message == nullptr) {
        return kNoDescriptionPlain;
    }
    std::string text(message, n);
    LocalFree(message);
    return text;
}

std::string LanguageAbbreviation(LCID locale) {
    char name[16] = {};
    if (GetLocaleInfoA(locale, LOCALE_SABBREVLANGNAME, name, sizeof name) == 0) {
        return std::string();
    }
    return name;
}

}  // namespace

KORVANT_EXPORT DWORD nt_osinfo(void) {
    return TheSystem().OsInfo();
}

KORVANT_EXPORT int nt_win32_platform(void) {
    return TheSystem().Win32Platform();
}

KORVANT_EXPORT int nt_win32error2errno(DWORD error) {
    return Win32ErrorToErrno(error);
}

KORVANT_EXPORT char* nt_get_error_string(DWORD code, int source, char* buffer, DWORD size) {
    if (buffer == nullptr || size == 0) {
        return buffer;
    }
    std::string text;
    if (!SystemText(code, MessageModuleFor(code, source), &text)) {
        text = NoDescription(code);
    }
    CopyTruncated(buffer, size, text);
    return buffer;
}

KORVANT_EXPORT HMODULE nt_load_resource_dll(HMODULE module, int flag) {
    std::string language = LanguageAbbreviation(LOCALE_SYSTEM_DEFAULT);
    if (language.empty() || AsciiCaseCompare(language.c_str(), "ENU") == 0) {
        return nullptr;
    }
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(module, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) {
        return nullptr;
    }
    HMODULE library = LoadLibraryExA(ResourceDllPath(path, language, flag).c_str(), nullptr,
                                     LOAD_LIBRARY_AS_DATAFILE);
    if (library != nullptr) {
        return library;
    }
    const LANGID user = MAKELANGID(PRIMARYLANGID(GetUserDefaultLangID()), SUBLANG_DEFAULT);
    language = LanguageAbbreviation(MAKELCID(user, SORT_DEFAULT));
    if (language.empty() || AsciiCaseCompare(language.c_str(), "ENU") == 0) {
        return nullptr;
    }
    return LoadLibraryExA(ResourceDllPath(path, language, flag).c_str(), nullptr,
                          LOAD_LIBRARY_AS_DATAFILE);
}

KORVANT_EXPORT BOOL nt_is_terminal_server(int* adminMode) {
    return TheSystem().IsTerminalServer(adminMode) ? TRUE : FALSE;
}

KORVANT_EXPORT BOOL nt_is_citrix_metaframe(void) {
    return TheSystem().IsCitrixMetaframe() ? TRUE : FALSE;
}

KORVANT_EXPORT int nt_ob_has_global_prefix(void) {
    return TheSystem().HasGlobalPrefix() ? 1 : 0;
}
