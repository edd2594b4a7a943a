#include "vtrelnp/win32/Win32Libraries.h"

#include "vtrelnp/win32/Win32System.h"

namespace vtrelnp::win32 {

namespace {

const wchar_t* const kFileNames[] = {L"LIBKORVANT.dll",  L"libkorvacmd.dll", L"libkorvaview.dll",
                                     L"libkorvaxdr.dll", L"LIBKORVATBS.dll", L"libkorvaks.dll"};
const char* const kLibraryNames[] = {"LIBKORVANT",  "libkorvacmd", "libkorvaview",
                                     "libkorvaxdr", "LIBKORVATBS", "libkorvaks"};

constexpr DWORD kParamBuffer = 2048;
constexpr DWORD kObjectPathChars = 520;

// LIBKORVANT's entry points as it exports them.
using VoidFn = void (*)(void);
using IntFn = int (*)(void);
using GetParamFn = LONG (*)(int, LPDWORD, void*, const char*);
using SetParamFn = LONG (*)(int, const void*, const char*);
using GetDlfsParamFn = LONG (*)(int, void*, LPDWORD, const char*);
using GetDefaultParamFn = LONG (*)(int, void*, DWORD);
using CvtFn = DWORD (*)(const wchar_t*, wchar_t*, DWORD);

std::string Terminated(const char* buffer, DWORD size) {
    std::size_t n = 0;
    while (n < size && buffer[n] != '\0') {
        ++n;
    }
    return std::string(buffer, n);
}

}  // namespace

HMODULE Win32Libraries::Module(Library library) {
    if (HMODULE module = modules_[library].load(); module != nullptr) {
        return module;
    }
    // The product keeps its libraries beside this one.
    HMODULE module = nullptr;
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(self_, path, MAX_PATH);
    if (n != 0 && n < MAX_PATH) {
        std::wstring folder(path, n);
        folder.erase(folder.find_last_of(L"\\/") + 1);
        module = LoadLibraryExW((folder + kFileNames[library]).c_str(), nullptr,
                                LOAD_WITH_ALTERED_SEARCH_PATH);
    }
    if (module == nullptr) {
        module = LoadLibraryW(kFileNames[library]);
    }
    if (module == nullptr) {
        throw AbnormalEnd{kLibraryNames[library], nullptr};
    }
    HMODULE expected = nullptr;
    if (!modules_[library].compare_exchange_strong(expected, module)) {
        FreeLibrary(module);  // another thread was first
        return expected;
    }
    return module;
}

void* Win32Libraries::Entry(Library library, const char* name) {
    void* entry = reinterpret_cast<void*>(GetProcAddress(Module(library), name));
    if (entry == nullptr) {
        throw AbnormalEnd{kLibraryNames[library], name};
    }
    return entry;
}

void Win32Libraries::NtInit() {
    Fn<IntFn>(kKorvant, "nt_init")();
}

void Win32Libraries::EnterCriticalSection() {
    Fn<VoidFn>(kKorvant, "nt_enter_critical_section")();
}

void Win32Libraries::LeaveCriticalSection() {
    Fn<VoidFn>(kKorvant, "nt_leave_critical_section")();
}

long Win32Libraries::GetParam(int index, std::string* value) {
    char buffer[kParamBuffer] = {};
    DWORD size = sizeof buffer;
    const LONG error = Fn<GetParamFn>(kKorvant, "ntregy_get_param")(index, &size, buffer, nullptr);
    if (error == 0) {
        *value = Terminated(buffer, std::min<DWORD>(size, sizeof buffer));
    }
    return error;
}

long Win32Libraries::SetParam(int index, const std::string& value) {
    return Fn<SetParamFn>(kKorvant, "ntregy_set_param")(index, value.c_str(), nullptr);
}

long Win32Libraries::GetDlfsParam(int index, std::string* value) {
    char buffer[kParamBuffer] = {};
    DWORD size = sizeof buffer;
    const LONG error =
        Fn<GetDlfsParamFn>(kKorvant, "ntregy_get_dlfs_param")(index, buffer, &size, nullptr);
    if (error == 0) {
        *value = Terminated(buffer, std::min<DWORD>(size, sizeof buffer));
    }
    return error;
}

long Win32Libraries::GetDefaultDlfsParam(int index, std::string* value) {
    char buffer[kParamBuffer] = {};
    const LONG error =
        Fn<GetDefaultParamFn>(kKorvant, "ntregy_get_default_param")(index, buffer, sizeof buffer);
    if (error == 0) {
        *value = Terminated(buffer, sizeof buffer);
    }
    return error;
}

long Win32Libraries::ToObjectPath(const WString& path, WString* objectPath) {
    wchar_t buffer[kObjectPathChars + 1] = {};
    const DWORD error = Fn<CvtFn>(kKorvant, "ntx_cvt_to_ob_pname_w")(ToWide(path).c_str(), buffer,
                                                                     kObjectPathChars);
    if (error == 0) {
        buffer[kObjectPathChars] = L'\0';
        *objectPath = FromWide(buffer);
    }
    return static_cast<long>(error);
}

long Win32Libraries::ImpersonateUser() {
    // LIBKORVANT answers 1 when the thread now runs as the logged-on user.
    SetLastError(0);
    if (Fn<IntFn>(kKorvant, "nt_impersonate_user")() != 0) {
        return 0;
    }
    const DWORD error = GetLastError();
    return static_cast<long>(error != 0 ? error : ERROR_CANNOT_IMPERSONATE);
}

void Win32Libraries::RevertToSelf() {
    Fn<IntFn>(kKorvant, "nt_revert_to_self")();
}

void Win32Libraries::FlushGlobalTables() {
    Fn<IntFn>(kKorvant, "phash_flush_global_tables")();
}

korva_status_t Win32Libraries::KsSystemInit() {
    return Fn<ks_system_init_fn>(kKs, "ks_system_init")();
}

void Win32Libraries::ImsgSetAppName(const char* name) {
    Fn<imsg_set_app_name_fn>(kKs, "imsg_set_app_name")(name);
}

korva_status_t Win32Libraries::FetchDefaultRegion(std::string* region) {
    char buffer[256] = {};
    const korva_status_t status =
        Fn<rgy_fetch_default_region_fn>(kXdr, "rgy_fetch_default_region")(buffer, sizeof buffer);
    if (status == 0) {
        *region = Terminated(buffer, sizeof buffer);
    }
    return status;
}

korva_status_t Win32Libraries::CreateTimestamp(const std::string& region, rgy_timestamp_t** stamp) {
    return Fn<rgy_create_timestamp_fn>(kXdr, "rgy_create_timestamp")(region.c_str(), stamp);
}

korva_status_t Win32Libraries::CheckTimestamp(const std::string& region,
                                              const rgy_timestamp_t* stamp, bool* changed) {
    int answer = 1;
    const korva_status_t status =
        Fn<rgy_check_timestamp_fn>(kXdr, "rgy_check_timestamp")(region.c_str(), stamp, &answer);
    *changed = answer != 0;
    return status;
}

korva_status_t Win32Libraries::DestroyTimestamp(rgy_timestamp_t* stamp) {
    return Fn<rgy_destroy_timestamp_fn>(kXdr, "rgy_destroy_timestamp")(stamp);
}

korva_status_t Win32Libraries::GetEntry(const std::string& region, int kind, rgy_cursor_t** cursor,
                                        rgy_entry_t** entry) {
    return Fn<rgy_get_entry_fn>(kXdr, "rgy_get_entry")(region.c_str(), kind, cursor, entry);
}

korva_status_t Win32Libraries::CloseCursor(rgy_cursor_t* cursor) {
    return Fn<rgy_close_cursor_fn>(kXdr, "rgy_close_cursor")(cursor);
}

korva_status_t Win32Libraries::GetString(const rgy_entry_t* entry, int field, std::string* value) {
    char buffer[512] = {};
    const korva_status_t status = Fn<rgy_getstring_from_entry_fn>(kXdr, "rgy_getstring_from_entry")(
        entry, field, buffer, sizeof buffer);
    if (status == 0) {
        *value = Terminated(buffer, sizeof buffer);
    }
    return status;
}

const rgy_uuid_t* Win32Libraries::GetUuidFast(const rgy_entry_t* entry, int field) {
    return Fn<rgy_getuuid_from_entry_fast_fn>(kXdr, "rgy_getuuid_from_entry_fast")(entry, field);
}

korva_status_t Win32Libraries::DeleteEntry(rgy_entry_t* entry) {
    return Fn<rgy_delete_entry_fn>(kXdr, "rgy_delete_entry")(entry);
}

korva_status_t Win32Libraries::FindByString(const std::string& region, int kind, int field,
                                            const std::string& value, rgy_entry_t** entry) {
    return Fn<rgy_findbystring_entry_fn>(kXdr, "rgy_findbystring_entry")(
        region.c_str(), kind, field, value.c_str(), entry);
}

bool Win32Libraries::IsWorkspaceUuid(const rgy_uuid_t* uuid) {
    return Fn<view_ws_is_ws_uuid_fn>(kView, "view_ws_is_ws_uuid")(uuid) != 0;
}

korva_status_t Win32Libraries::StartView(const std::string& tag) {
    const char* tags[1] = {tag.c_str()};
    return Fn<cmd_startview_fn>(kCmd, "cmd_startview")(1, tags);
}

std::string Win32Libraries::StatusText(korva_status_t status) {
    const char* text = Fn<tbs_strerror_fn>(kTbs, "tbs_strerror")(status);
    return text != nullptr ? std::string(text) : std::string();
}

}  // namespace vtrelnp::win32
