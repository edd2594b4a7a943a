#pragma once

#include <string>

#include "vtrelnp/Text.h"
#include "vtrelnp/korva_outside.h"

namespace vtrelnp {

// Thrown when a library or one of its entry points cannot be bound: the
// delay-load failure that the call sites report as an abnormal termination.
struct AbnormalEnd {
    const char* library;
    const char* function;
};

// The calls the provider makes into LIBKORVANT and the product's outside
// libraries. Every call may throw AbnormalEnd.
class Libraries {
public:
    virtual ~Libraries() = default;

    // LIBKORVANT
    virtual void NtInit() = 0;
    virtual void EnterCriticalSection() = 0;
    virtual void LeaveCriticalSection() = 0;
    // String parameters (product table, driver table, driver defaults).
    virtual long GetParam(int index, std::string* value) = 0;
    virtual long SetParam(int index, const std::string& value) = 0;
    virtual long GetDlfsParam(int index, std::string* value) = 0;
    virtual long GetDefaultDlfsParam(int index, std::string* value) = 0;
    // ntx_cvt_to_ob_pname_w with a result of up to 520 characters.
    virtual long ToObjectPath(const WString& path, WString* objectPath) = 0;
    virtual long ImpersonateUser() = 0;
    virtual void RevertToSelf() = 0;
    virtual void FlushGlobalTables() = 0;

    // libkorvaks
    virtual korva_status_t KsSystemInit() = 0;
    virtual void ImsgSetAppName(const char* name) = 0;

    // libkorvaxdr
    virtual korva_status_t FetchDefaultRegion(std::string* region) = 0;
    virtual korva_status_t CreateTimestamp(const std::string& region, rgy_timestamp_t** stamp) = 0;
    virtual korva_status_t CheckTimestamp(const std::string& region, const rgy_timestamp_t* stamp,
                                          bool* changed) = 0;
    virtual korva_status_t DestroyTimestamp(rgy_timestamp_t* stamp) = 0;
    virtual korva_status_t GetEntry(const std::string& region, int kind, rgy_cursor_t** cursor,
                                    rgy_entry_t** entry) = 0;
    virtual korva_status_t CloseCursor(rgy_cursor_t* cursor) = 0;
    virtual korva_status_t GetString(const rgy_entry_t* entry, int field, std::string* value) = 0;
    virtual const rgy_uuid_t* GetUuidFast(const rgy_entry_t* entry, int field) = 0;
    virtual korva_status_t DeleteEntry(rgy_entry_t* entry) = 0;
    virtual korva_status_t FindByString(const std::string& region, int kind, int field,
                                        const std::string& value, rgy_entry_t** entry) = 0;

    // libkorvaview
    virtual bool IsWorkspaceUuid(const rgy_uuid_t* uuid) = 0;

    // libkorvacmd
    virtual korva_status_t StartView(const std::string& tag) = 0;

    // LIBKORVATBS
    virtual std::string StatusText(korva_status_t status) = 0;
};

// Holds LIBKORVANT's global critical section for a scope; leaves it on
// every way out, an abnormal termination included.
class GlobalSection {
public:
    explicit GlobalSection(Libraries& libraries) : libraries_(libraries) {
        libraries_.EnterCriticalSection();
    }
    ~GlobalSection() {
        try {
            libraries_.LeaveCriticalSection();
        } catch (const AbnormalEnd&) {
        }
    }
    GlobalSection(const GlobalSection&) = delete;
    GlobalSection& operator=(const GlobalSection&) = delete;

private:
    Libraries& libraries_;
};

}  // namespace vtrelnp
