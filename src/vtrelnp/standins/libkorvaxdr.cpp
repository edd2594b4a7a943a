// Stand-in for the product's registry-server client: the registered views
// of the scenario, its region and a stamp that changes with the file.
#include <cstring>

#include "vtrelnp/standins/Scenario.h"

using namespace standin;

namespace {

// A scripted failure, else the server being down, else 0.
korva_status_t Refusal(const Scenario& s, const char* function, const std::string& argument = {}) {
    if (const korva_status_t status = s.FailureFor(function, argument); status != 0) {
        return status;
    }
    return s.serverDown ? RGY_S_SERVER_DOWN : 0;
}

korva_status_t Logged(const std::string& call, korva_status_t status) {
    Log(call + " = " + StatusName(status));
    return status;
}

}  // namespace

STANDIN_EXPORT korva_status_t rgy_fetch_default_region(char* region, unsigned size) {
    const Scenario s = Load();
    korva_status_t status = Refusal(s, "rgy_fetch_default_region");
    if (status == 0) {
        if (region == nullptr || size <= s.region.size()) {
            status = RGY_S_NOT_FOUND;
        } else {
            std::memcpy(region, s.region.c_str(), s.region.size() + 1);
        }
    }
    return Logged("rgy_fetch_default_region()", status);
}

STANDIN_EXPORT korva_status_t rgy_create_timestamp(const char* region, rgy_timestamp_t** stamp) {
    const Scenario s = Load();
    korva_status_t status = Refusal(s, "rgy_create_timestamp");
    if (status == 0) {
        *stamp = new rgy_timestamp{s.stamp};
    }
    return Logged(std::string("rgy_create_timestamp(") + (region ? region : "") + ")", status);
}

STANDIN_EXPORT korva_status_t rgy_check_timestamp(const char* region, const rgy_timestamp_t* stamp,
                                                  int* changed) {
    const Scenario s = Load();
    korva_status_t status = Refusal(s, "rgy_check_timestamp");
    if (status == 0) {
        *changed = stamp == nullptr || stamp->stamp != s.stamp ? 1 : 0;
    }
    return Logged(std::string("rgy_check_timestamp(") + (region ? region : "") + ")" +
                      (status == 0 ? (*changed ? " changed" : " unchanged") : ""),
                  status);
}

STANDIN_EXPORT korva_status_t rgy_destroy_timestamp(rgy_timestamp_t* stamp) {
    delete stamp;
    return Logged("rgy_destroy_timestamp()", Load().FailureFor("rgy_destroy_timestamp"));
}

STANDIN_EXPORT korva_status_t rgy_get_entry(const char* region, int kind, rgy_cursor_t** cursor,
                                            rgy_entry_t** entry) {
    const Scenario s = Load();
    korva_status_t status = Refusal(s, "rgy_get_entry");
    std::string what;
    if (status == 0) {
        if (*cursor == nullptr) {
            *cursor = new rgy_cursor{0};
        }
        if (kind != RGY_KIND_VIEW || (*cursor)->next >= s.views.size()) {
            status = RGY_S_NO_MORE_ENTRIES;
        } else {
            const View& v = s.views[(*cursor)->next++];
            *entry = new rgy_entry{v.tag, v.host, v.uuid};
            what = " " + v.tag;
        }
    }
    return Logged(std::string("rgy_get_entry(") + (region ? region : "") + ")" + what, status);
}

STANDIN_EXPORT korva_status_t rgy_close_cursor(rgy_cursor_t* cursor) {
    delete cursor;
    return Logged("rgy_close_cursor()", 0);
}

STANDIN_EXPORT korva_status_t rgy_getstring_from_entry(const rgy_entry_t* entry, int field,
                                                       char* buffer, unsigned size) {
    if (entry == nullptr || buffer == nullptr) {
        return RGY_S_NOT_FOUND;
    }
    const std::string* text = field == RGY_FIELD_VIEW_TAG ? &entry->tag
                              : field == RGY_FIELD_HOST   ? &entry->host
                                                          : nullptr;
    if (text == nullptr || size <= text->size()) {
        return RGY_S_NOT_FOUND;
    }
    std::memcpy(buffer, text->c_str(), text->size() + 1);
    return 0;
}

STANDIN_EXPORT korva_status_t rgy_getuuid_from_entry(const rgy_entry_t* entry, int field,
                                                     rgy_uuid_t* uuid) {
    if (entry == nullptr || uuid == nullptr || field != RGY_FIELD_VIEW_UUID) {
        return RGY_S_NOT_FOUND;
    }
    *uuid = entry->uuid;
    return 0;
}

STANDIN_EXPORT const rgy_uuid_t* rgy_getuuid_from_entry_fast(const rgy_entry_t* entry, int field) {
    return entry != nullptr && field == RGY_FIELD_VIEW_UUID ? &entry->uuid : nullptr;
}

STANDIN_EXPORT korva_status_t rgy_delete_entry(rgy_entry_t* entry) {
    delete entry;
    return 0;
}

STANDIN_EXPORT korva_status_t rgy_findbystring_entry(const char* region, int kind, int field,
                                                     const char* value, rgy_entry_t** entry) {
    const Scenario s = Load();
    const std::string wanted = value != nullptr ? value : "";
    korva_status_t status = Refusal(s, "rgy_findbystring_entry", wanted);
    if (status == 0) {
        status = RGY_S_NOT_FOUND;
        for (const View& v : s.views) {
            if (kind == RGY_KIND_VIEW && field == RGY_FIELD_VIEW_TAG && v.tag == wanted) {
                *entry = new rgy_entry{v.tag, v.host, v.uuid};
                status = 0;
                break;
            }
        }
    }
    return Logged(
        std::string("rgy_findbystring_entry(") + (region ? region : "") + ", " + wanted + ")",
        status);
}
