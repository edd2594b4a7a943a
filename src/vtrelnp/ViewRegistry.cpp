#include "vtrelnp/ViewRegistry.h"

namespace vtrelnp {

namespace {

constexpr const char* kViews = "vtnp_get_view_tags(): ";

}  // namespace

// Once per process; a start that ended abnormally is tried again.
void ViewRegistry::StartMessageSystem() {
    if (messagesStarted_) {
        return;
    }
    std::lock_guard<std::mutex> lock(startLock_);
    if (!messagesStarted_) {
        libraries_.KsSystemInit();
        libraries_.ImsgSetAppName("vtrelnp");
        messagesStarted_ = true;
    }
}

bool ViewRegistry::ReadViews(const std::string& region, std::vector<RegisteredView>* views) {
    rgy_cursor_t* cursor = nullptr;
    for (;;) {
        rgy_entry_t* entry = nullptr;
        const korva_status_t status = libraries_.GetEntry(region, RGY_KIND_VIEW, &cursor, &entry);
        if (status == RGY_S_NO_MORE_ENTRIES) {
            break;
        }
        if (status != KORVA_S_OK) {
            reporter_.Event(std::string(kViews) + "error querying registry - [" +
                            libraries_.StatusText(status) + "]");
            if (cursor != nullptr) {
                libraries_.CloseCursor(cursor);
            }
            return false;
        }
        RegisteredView view;
        const bool named =
            libraries_.GetString(entry, RGY_FIELD_VIEW_TAG, &view.tag) == 0 && !view.tag.empty();
        if (libraries_.GetString(entry, RGY_FIELD_HOST, &view.host) != 0) {
            view.host.clear();
        }
        const rgy_uuid_t* uuid = libraries_.GetUuidFast(entry, RGY_FIELD_VIEW_UUID);
        const bool workspace = uuid != nullptr && libraries_.IsWorkspaceUuid(uuid);
        libraries_.DeleteEntry(entry);
        if (named && !workspace) {
            views->push_back(std::move(view));
        }
    }
    if (cursor != nullptr) {
        libraries_.CloseCursor(cursor);
    }
    return true;
}

bool ViewRegistry::Views(std::vector<RegisteredView>* views) {
    std::lock_guard<std::mutex> lock(refreshLock_);
    try {
        StartMessageSystem();
        std::string region;
        if (const korva_status_t status = libraries_.FetchDefaultRegion(&region); status != 0) {
            reporter_.Event(std::string(kViews) + "unable to determine network region - [" +
                            libraries_.StatusText(status) + "]");
            return false;
        }
        if (haveList_) {
            bool changed = true;
            if (const korva_status_t status = libraries_.CheckTimestamp(region, stamp_, &changed);
                status != 0) {
                reporter_.Event(std::string(kViews) +
                                "error checking timestamp from registy server - [" +
                                libraries_.StatusText(status) + "]");
                return false;
            }
            if (!changed) {
                *views = views_;
                return true;
            }
        }
        // Take the new stamp before reading, so a change during the read
        // shows at the next check.
        rgy_timestamp_t* stamp = nullptr;
        if (const korva_status_t status = libraries_.CreateTimestamp(region, &stamp); status != 0) {
            reporter_.Event(std::string(kViews) +
                            "error getting timestamp from registy server - [" +
                            libraries_.StatusText(status) + "]");
            return false;
        }
        std::vector<RegisteredView> fresh;
        if (!ReadViews(region, &fresh)) {
            libraries_.DestroyTimestamp(stamp);
            return false;
        }
        if (stamp_ != nullptr) {
            if (const korva_status_t status = libraries_.DestroyTimestamp(stamp_); status != 0) {
                reporter_.Event(std::string(kViews) + "error destroying timestamp - [" +
                                libraries_.StatusText(status) + "]");
            }
        }
        stamp_ = stamp;
        views_ = std::move(fresh);
        haveList_ = true;
        *views = views_;
        return true;
    } catch (const AbnormalEnd&) {
        reporter_.Event(std::string(kViews) + "Abnormal termination of rgy_*() call detected");
        return false;
    }
}

ViewRegistry::Lookup ViewRegistry::Find(const std::string& tag, std::string* host) {
    try {
        StartMessageSystem();
        std::string region;
        korva_status_t status = libraries_.FetchDefaultRegion(&region);
        rgy_entry_t* entry = nullptr;
        if (status == 0) {
            status =
                libraries_.FindByString(region, RGY_KIND_VIEW, RGY_FIELD_VIEW_TAG, tag, &entry);
        }
        if (status != 0) {
            reporter_.Event("vtnp_find_view_tag(): couldn't find view " + tag + " - [" +
                            libraries_.StatusText(status) + "]");
            return status == RGY_S_NOT_FOUND ? Lookup::kUnknown : Lookup::kFailed;
        }
        std::string where;
        if (libraries_.GetString(entry, RGY_FIELD_HOST, &where) != 0) {
            where.clear();
        }
        libraries_.DeleteEntry(entry);
        if (host != nullptr) {
            *host = where;
        }
        return Lookup::kFound;
    } catch (const AbnormalEnd&) {
        reporter_.Event("vtnp_find_view_tag(): Abnormal termination of rgy_*() call detected");
        return Lookup::kFailed;
    }
}

}  // namespace vtrelnp
