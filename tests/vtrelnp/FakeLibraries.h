#pragma once

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "vtrelnp/FakeSystem.h"
#include "vtrelnp/Libraries.h"

namespace vtrelnp::testing {

// LIBKORVANT and the product's outside libraries, in memory. Names in
// `missing` behave as entry points that cannot be bound.
class FakeLibraries : public Libraries {
public:
    struct View {
        std::string tag;
        std::string host;
        bool workspace = false;
    };

    explicit FakeLibraries(FakeSystem& system);
    ~FakeLibraries() override;

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

    // Changing the registered views moves the server's stamp on.
    void SetViews(std::vector<View> list);
    int Calls(const std::string& name) const;

    FakeSystem& system;
    // Runs at the start of every call, on the caller's thread, with the
    // function's name: a test can hold a call there, as a slow server would.
    std::function<void(const std::string&)> onCall;
    std::set<std::string> missing;
    std::map<std::string, korva_status_t> failing;  // function -> status it returns
    bool serverDown = false;
    std::map<int, std::string> params;
    std::map<int, std::string> dlfsParams;
    std::map<int, std::string> paramWrites;
    int globalDepth = 0;
    long impersonateResult = 0;
    bool impersonating = false;
    std::map<std::string, korva_status_t> startResults;  // tag -> status
    struct Start {
        std::string tag;
        bool impersonating;
        bool inGlobalSection;
    };
    std::vector<Start> starts;
    std::map<std::string, int> calls;
    std::string appName;
    int liveEntries = 0;
    int liveStamps = 0;
    // The provider keeps its last stamp for the life of the process.
    std::set<rgy_timestamp_t*> stamps;
    int liveCursors = 0;

private:
    korva_status_t Fails(const char* name);
    void Call(const char* name);

    std::vector<View> views_;
    int generation_ = 1;
    mutable std::mutex callsLock_;
};

}  // namespace vtrelnp::testing
