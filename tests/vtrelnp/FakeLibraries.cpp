#include "vtrelnp/FakeLibraries.h"

#include <cstring>

extern "C" {
struct rgy_entry {
    std::string tag;
    std::string host;
    rgy_uuid_t uuid;
};
struct rgy_cursor {
    std::size_t next = 0;
};
struct rgy_timestamp {
    int generation;
};
}

namespace vtrelnp::testing {

namespace {

rgy_uuid_t UuidFor(const std::string& tag, bool workspace) {
    rgy_uuid_t uuid{};
    for (std::size_t i = 0; i < tag.size() && i < 15; ++i) {
        uuid.bytes[i] = static_cast<unsigned char>(tag[i]);
    }
    uuid.bytes[15] = workspace ? 0xEE : 0x11;
    return uuid;
}

}  // namespace

FakeLibraries::FakeLibraries(FakeSystem& s) : system(s) {
    system.globalHeld = [this] { return globalDepth > 0; };
}

FakeLibraries::~FakeLibraries() {
    system.globalHeld = nullptr;
    for (rgy_timestamp_t* stamp : stamps) {
        delete stamp;
    }
}

void FakeLibraries::Call(const char* name) {
    {
        std::lock_guard<std::mutex> lock(callsLock_);
        ++calls[name];
    }
    if (onCall) {
        onCall(name);
    }
    if (missing.count(name) != 0) {
        throw AbnormalEnd{"fake", name};
    }
}

korva_status_t FakeLibraries::Fails(const char* name) {
    Call(name);
    auto it = failing.find(name);
    return it == failing.end() ? 0 : it->second;
}

int FakeLibraries::Calls(const std::string& name) const {
    std::lock_guard<std::mutex> lock(callsLock_);
    auto it = calls.find(name);
    return it == calls.end() ? 0 : it->second;
}

void FakeLibraries::NtInit() {
    Call("nt_init");
}

void FakeLibraries::EnterCriticalSection() {
    Call("nt_enter_critical_section");
    ++globalDepth;
}

void FakeLibraries::LeaveCriticalSection() {
    Call("nt_leave_critical_section");
    --globalDepth;
}

long FakeLibraries::GetParam(int index, std::string* value) {
    Call("ntregy_get_param");
    auto it = params.find(index);
    if (it == params.end()) {
        return 2;
    }
    *value = it->second;
    return 0;
}

long FakeLibraries::SetParam(int index, const std::string& value) {
    Call("ntregy_set_param");
    params[index] = value;
    paramWrites[index] = value;
    return 0;
}

long FakeLibraries::GetDlfsParam(int index, std::string* value) {
    Call("ntregy_get_dlfs_param");
    auto it = dlfsParams.find(index);
    if (it == dlfsParams.end()) {
        return 2;
    }
    *value = it->second;
    return 0;
}

long FakeLibraries::GetDefaultDlfsParam(int index, std::string* value) {
    Call("ntregy_get_default_param");
    if (index == 25) {
        *value = "M";
    } else if (index == 28) {
        *value = "view";
    } else {
        return 87;
    }
    return 0;
}

long FakeLibraries::ToObjectPath(const WString& path, WString* objectPath) {
    Call("ntx_cvt_to_ob_pname_w");
    WString current = path;
    for (int hop = 0; hop < 8; ++hop) {
        if (current.size() < 2 || current[1] != u':') {
            *objectPath = current;
            return 0;
        }
        WString target;
        if (system.QueryDevice(current.substr(0, 2), &target) != 0) {
            return 2;
        }
        const WString rest = current.substr(2);
        if (target.rfind(u"\\??\\", 0) == 0) {
            target.erase(0, 4);
            if (!rest.empty() && !target.empty() && target.back() == u'\\') {
                target.pop_back();
            }
            current = target + rest;
            continue;
        }
        *objectPath = target + rest;
        return 0;
    }
    return 1921;
}

long FakeLibraries::ImpersonateUser() {
    Call("nt_impersonate_user");
    if (impersonateResult == 0) {
        impersonating = true;
    }
    return impersonateResult;
}

void FakeLibraries::RevertToSelf() {
    Call("nt_revert_to_self");
    impersonating = false;
}

void FakeLibraries::FlushGlobalTables() {
    Call("phash_flush_global_tables");
}

korva_status_t FakeLibraries::KsSystemInit() {
    return Fails("ks_system_init");
}

void FakeLibraries::ImsgSetAppName(const char* name) {
    Call("imsg_set_app_name");
    appName = name;
}

korva_status_t FakeLibraries::FetchDefaultRegion(std::string* region) {
    if (const korva_status_t s = Fails("rgy_fetch_default_region"); s != 0) {
        return s;
    }
    if (serverDown) {
        return RGY_S_SERVER_DOWN;
    }
    *region = "default";
    return 0;
}

korva_status_t FakeLibraries::CreateTimestamp(const std::string&, rgy_timestamp_t** stamp) {
    if (const korva_status_t s = Fails("rgy_create_timestamp"); s != 0) {
        return s;
    }
    if (serverDown) {
        return RGY_S_SERVER_DOWN;
    }
    *stamp = new rgy_timestamp{generation_};
    stamps.insert(*stamp);
    ++liveStamps;
    return 0;
}

korva_status_t FakeLibraries::CheckTimestamp(const std::string&, const rgy_timestamp_t* stamp,
                                             bool* changed) {
    if (const korva_status_t s = Fails("rgy_check_timestamp"); s != 0) {
        return s;
    }
    if (serverDown) {
        return RGY_S_SERVER_DOWN;
    }
    *changed = stamp->generation != generation_;
    return 0;
}

korva_status_t FakeLibraries::DestroyTimestamp(rgy_timestamp_t* stamp) {
    Call("rgy_destroy_timestamp");
    stamps.erase(stamp);
    delete stamp;
    --liveStamps;
    auto it = failing.find("rgy_destroy_timestamp");
    return it == failing.end() ? 0 : it->second;
}

korva_status_t FakeLibraries::GetEntry(const std::string&, int kind, rgy_cursor_t** cursor,
                                       rgy_entry_t** entry) {
    if (const korva_status_t s = Fails("rgy_get_entry"); s != 0) {
        return s;
    }
    if (serverDown) {
        return RGY_S_SERVER_DOWN;
    }
    if (*cursor == nullptr) {
        *cursor = new rgy_cursor;
        ++liveCursors;
    }
    if (kind != RGY_KIND_VIEW || (*cursor)->next >= views_.size()) {
        return RGY_S_NO_MORE_ENTRIES;
    }
    const View& v = views_[(*cursor)->next++];
    *entry = new rgy_entry{v.tag, v.host, UuidFor(v.tag, v.workspace)};
    ++liveEntries;
    return 0;
}

korva_status_t FakeLibraries::CloseCursor(rgy_cursor_t* cursor) {
    Call("rgy_close_cursor");
    delete cursor;
    --liveCursors;
    return 0;
}

korva_status_t FakeLibraries::GetString(const rgy_entry_t* entry, int field, std::string* value) {
    Call("rgy_getstring_from_entry");
    if (field == RGY_FIELD_VIEW_TAG) {
        *value = entry->tag;
    } else if (field == RGY_FIELD_HOST) {
        *value = entry->host;
    } else {
        return RGY_S_NOT_FOUND;
    }
    return 0;
}

const rgy_uuid_t* FakeLibraries::GetUuidFast(const rgy_entry_t* entry, int field) {
    Call("rgy_getuuid_from_entry_fast");
    return field == RGY_FIELD_VIEW_UUID ? &entry->uuid : nullptr;
}

korva_status_t FakeLibraries::DeleteEntry(rgy_entry_t* entry) {
    Call("rgy_delete_entry");
    delete entry;
    --liveEntries;
    return 0;
}

korva_status_t FakeLibraries::FindByString(const std::string&, int kind, int field,
                                           const std::string& value, rgy_entry_t** entry) {
    if (const korva_status_t s = Fails("rgy_findbystring_entry"); s != 0) {
        return s;
    }
    if (serverDown) {
        return RGY_S_SERVER_DOWN;
    }
    for (const View& v : views_) {
        if (kind == RGY_KIND_VIEW && field == RGY_FIELD_VIEW_TAG && v.tag == value) {
            *entry = new rgy_entry{v.tag, v.host, UuidFor(v.tag, v.workspace)};
            ++liveEntries;
            return 0;
        }
    }
    return RGY_S_NOT_FOUND;
}

bool FakeLibraries::IsWorkspaceUuid(const rgy_uuid_t* uuid) {
    Call("view_ws_is_ws_uuid");
    return uuid->bytes[15] == 0xEE;
}

korva_status_t FakeLibraries::StartView(const std::string& tag) {
    Call("cmd_startview");
    starts.push_back({tag, impersonating, globalDepth > 0});
    auto it = startResults.find(tag);
    return it == startResults.end() ? 0 : it->second;
}

std::string FakeLibraries::StatusText(korva_status_t status) {
    Call("tbs_strerror");
    switch (status) {
        case RGY_S_NOT_FOUND:
            return "Entry not found";
        case RGY_S_SERVER_DOWN:
            return "Registry server unreachable";
        default:
            return "status " + std::to_string(status);
    }
}

void FakeLibraries::SetViews(std::vector<View> list) {
    views_ = std::move(list);
    ++generation_;
}

}  // namespace vtrelnp::testing
