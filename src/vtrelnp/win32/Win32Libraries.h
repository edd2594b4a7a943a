#pragma once

#include <windows.h>

#include <atomic>

#include "vtrelnp/Libraries.h"

namespace vtrelnp::win32 {

// LIBKORVANT and the product's outside libraries, loaded by name at first
// use (the provider's own folder first, then the usual search) and entered
// through GetProcAddress. A library or entry point that cannot be found
// throws AbnormalEnd.
class Win32Libraries : public Libraries {
public:
    enum Library { kKorvant, kCmd, kView, kXdr, kTbs, kKs, kLibraryCount };

    explicit Win32Libraries(HMODULE self) : self_(self) {}

    void NtInit() override;
    void EnterCriticalSection() override;
    void LeaveCriticalSection() override;
    long GetParam(int index, std::string* value) override;
    long SetParam(int index, const std::string& value) override;
    long GetDlfsParam(int index, std::string* value) override;
    long GetDefaultDlfsParam(int index, std::string* value) override;
    long ToObjectPath(const WString& path, WString* objectPath) override;
    long ImpersonateUser() override;
    void RevertToSelf() override;
    void FlushGlobalTables() override;

    korva_status_t KsSystemInit() override;
    void ImsgSetAppName(const char* name) override;
    korva_status_t FetchDefaultRegion(std::string* region) override;
    korva_status_t CreateTimestamp(const std::string& region, rgy_timestamp_t** stamp) override;
    korva_status_t CheckTimestamp(const std::string& region, const rgy_timestamp_t* stamp,
                                  bool* changed) override;
    korva_status_t DestroyTimestamp(rgy_timestamp_t* stamp) override;
    korva_status_t GetEntry(const std::string& region, int kind, rgy_cursor_t** cursor,
                            rgy_entry_t** entry) override;
    korva_status_t CloseCursor(rgy_cursor_t* cursor) override;
    korva_status_t GetString(const rgy_entry_t* entry, int field, std::string* value) override;
    const rgy_uuid_t* GetUuidFast(const rgy_entry_t* entry, int field) override;
    korva_status_t DeleteEntry(rgy_entry_t* entry) override;
    korva_status_t FindByString(const std::string& region, int kind, int field,
                                const std::string& value, rgy_entry_t** entry) override;
    bool IsWorkspaceUuid(const rgy_uuid_t* uuid) override;
    korva_status_t StartView(const std::string& tag) override;
    std::string StatusText(korva_status_t status) override;

private:
    HMODULE Module(Library library);
    void* Entry(Library library, const char* name);
    template <typename F>
    F Fn(Library library, const char* name) {
        return reinterpret_cast<F>(Entry(library, name));
    }

    HMODULE self_;
    std::atomic<HMODULE> modules_[kLibraryCount] = {};
};

}  // namespace vtrelnp::win32
