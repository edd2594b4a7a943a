// The ntregy_* exports: argument conversion around the registry store.
#include <windows.h>

#include <cstdint>

#include "libkorvant/libkorvant.h"
#include "libkorvant/win32/Library.h"

using korvant::RegKey;
using korvant::win32::TheStore;

namespace {

RegKey K(HKEY key) {
    return reinterpret_cast<RegKey>(key);
}

// DWORD is unsigned long on Windows; the core counts in uint32_t.
class Size {
public:
    explicit Size(LPDWORD size) : outer_(size), value_(size != nullptr ? *size : 0) {}
    ~Size() {
        if (outer_ != nullptr) {
            *outer_ = value_;
        }
    }
    std::uint32_t* get() { return outer_ != nullptr ? &value_ : nullptr; }

private:
    LPDWORD outer_;
    std::uint32_t value_;
};

class KeyOut {
public:
    explicit KeyOut(PHKEY out) : outer_(out) {}
    ~KeyOut() {
        if (outer_ != nullptr) {
            *outer_ = reinterpret_cast<HKEY>(value_);
        }
    }
    RegKey* get() { return outer_ != nullptr ? &value_ : nullptr; }

private:
    PHKEY outer_;
    RegKey value_ = 0;
};

void ToFileTime(std::uint64_t value, FILETIME* time) {
    time->dwLowDateTime = static_cast<DWORD>(value);
    time->dwHighDateTime = static_cast<DWORD>(value >> 32);
}

}  // namespace

KORVANT_EXPORT LONG ntregy_close_key(HKEY key) {
    return TheStore().CloseKey(K(key));
}

KORVANT_EXPORT LONG ntregy_connect_remote(const char* machine, HKEY root, PHKEY out) {
    KeyOut key(out);
    return TheStore().ConnectRemote(machine, K(root), key.get());
}

KORVANT_EXPORT LONG ntregy_get_handle(HKEY root, const char* path, REGSAM access, PHKEY out) {
    KeyOut key(out);
    return TheStore().GetHandle(K(root), path, access, key.get());
}

KORVANT_EXPORT LONG ntregy_get_value(HKEY root, const char* path, const char* name, void* buffer,
                                     LPDWORD size, PHKEY out) {
    KeyOut key(out);
    Size n(size);
    return TheStore().GetValue(K(root), path, name, buffer, n.get(), key.get());
}

KORVANT_EXPORT LONG ntregy_create_value(HKEY root, const char* path, const char* name,
                                        const void* data, DWORD size, DWORD type, PHKEY out) {
    KeyOut key(out);
    return TheStore().CreateValue(K(root), path, name, data, size, type, key.get());
}

KORVANT_EXPORT LONG ntregy_del_value(HKEY root, const char* path, const char* name) {
    return TheStore().DelValue(K(root), path, name);
}

KORVANT_EXPORT LONG ntregy_del_key(HKEY root, const char* path) {
    return TheStore().DelKey(K(root), path);
}

KORVANT_EXPORT LONG ntregy_enum_subkeys(HKEY key, DWORD index, char* name, LPDWORD length) {
    Size n(length);
    return TheStore().EnumSubkeys(K(key), index, name, n.get());
}

KORVANT_EXPORT LONG ntregy_enum_value(HKEY key, DWORD index, char* name, LPDWORD nameLength,
                                      LPDWORD type, void* data, LPDWORD dataLength) {
    Size nameSize(nameLength);
    Size typeOut(type);
    Size dataSize(dataLength);
    return TheStore().EnumValue(K(key), index, name, nameSize.get(), typeOut.get(), data,
                                dataSize.get());
}

KORVANT_EXPORT LONG ntregy_get_param(int index, LPDWORD size, void* buffer, const char* machine) {
    Size n(size);
    return TheStore().GetParam(index, n.get(), buffer, machine);
}

KORVANT_EXPORT LONG ntregy_set_param(int index, const void* data, const char* machine) {
    return TheStore().SetParam(index, reinterpret_cast<std::uintptr_t>(data), machine);
}

KORVANT_EXPORT LONG ntregy_del_param(int index, const char* machine) {
    return TheStore().DelParam(index, machine);
}

KORVANT_EXPORT DWORD ntregy_get_datatype(int index) {
    return TheStore().GetDatatype(index);
}

KORVANT_EXPORT LONG ntregy_get_dlfs_param(int index, void* buffer, LPDWORD size,
                                          const char* machine) {
    Size n(size);
    return TheStore().GetDlfsParam(index, buffer, n.get(), machine);
}

KORVANT_EXPORT LONG ntregy_set_dlfs_param(int index, const void* value, const char* machine) {
    return TheStore().SetDlfsParam(index, reinterpret_cast<std::uintptr_t>(value), machine);
}

KORVANT_EXPORT LONG ntregy_default_dlfs_param(int index, const char* machine) {
    return TheStore().DefaultDlfsParam(index, machine);
}

KORVANT_EXPORT LONG ntregy_get_default_param(int index, void* buffer, DWORD size) {
    return TheStore().GetDefaultParam(index, buffer, size);
}

KORVANT_EXPORT LONG ntregy_get_app_param(const char* app, const char* name, LPDWORD size,
                                         void* buffer, const char* machine) {
    Size n(size);
    return TheStore().GetAppParam(app, name, n.get(), buffer, machine);
}

KORVANT_EXPORT LONG ntregy_set_app_param(const char* app, const char* name, DWORD type,
                                         const void* data, const char* machine) {
    return TheStore().SetAppParam(app, name, type, reinterpret_cast<std::uintptr_t>(data), machine);
}

KORVANT_EXPORT LONG ntregy_get_app_geometry(const char* app, LONG* x, LONG* y, LONG* width,
                                            LONG* height, const char* machine) {
    std::int32_t v[4] = {};
    const LONG error = TheStore().GetAppGeometry(app, &v[0], &v[1], &v[2], &v[3], machine);
    if (error == 0) {
        LONG* outs[4] = {x, y, width, height};
        for (int i = 0; i < 4; ++i) {
            if (outs[i] != nullptr) {
                *outs[i] = v[i];
            }
        }
    }
    return error;
}

KORVANT_EXPORT LONG ntregy_set_app_geometry(const char* app, LONG x, LONG y, LONG width,
                                            LONG height, const char* machine) {
    return TheStore().SetAppGeometry(app, x, y, width, height, machine);
}

KORVANT_EXPORT const char* ntregy_get_common_key(void) {
    return TheStore().CommonKey();
}

KORVANT_EXPORT const char* ntregy_get_common_key_mfc_style(void) {
    return TheStore().CommonKeyMfcStyle();
}

KORVANT_EXPORT LONG ntregy_set_product_type(const char* company, const char* product,
                                            const char* version) {
    return TheStore().SetProductType(company, product, version);
}

KORVANT_EXPORT void ntregy_get_product_type(const char** company, const char** product,
                                            const char** version) {
    TheStore().GetProductType(company, product, version);
}

KORVANT_EXPORT LONG ntregy_get_common_key_modtime(FILETIME* time, const char* machine) {
    if (time == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    std::uint64_t value = 0;
    const LONG error = TheStore().CommonKeyModtime(&value, machine);
    if (error == 0) {
        ToFileTime(value, time);
    }
    return error;
}

KORVANT_EXPORT LONG ntregy_modtime_product_info_keys(FILETIME* time, const char* machine) {
    return ntregy_get_common_key_modtime(time, machine);
}

KORVANT_EXPORT LONG ntregy_modtime_vtrgy_keys(FILETIME* time, const char* machine) {
    return ntregy_get_common_key_modtime(time, machine);
}

KORVANT_EXPORT LONG ntregy_update_product_info_keys(const char* text, const char* machine) {
    return TheStore().UpdateProductInfoKeys(text, machine);
}

KORVANT_EXPORT LONG ntregy_get_rgy_passwd(char* buffer, LPDWORD size, const char* machine) {
    Size n(size);
    return TheStore().GetRgyPasswd(buffer, n.get(), machine);
}

KORVANT_EXPORT LONG ntregy_set_rgy_passwd(const char* password, const char* machine) {
    return TheStore().SetRgyPasswd(password, machine);
}

KORVANT_EXPORT LONG ntregy_del_rgy_svrtype(const char* machine) {
    return TheStore().DelRgySvrtype(machine);
}

KORVANT_EXPORT LONG ntregy_add_persistent_kiv(const char* name) {
    return TheStore().AddPersistentKiv(name);
}

KORVANT_EXPORT LONG ntregy_remove_persistent_kiv(const char* name) {
    return TheStore().RemovePersistentKiv(name);
}

KORVANT_EXPORT LONG ntregy_add_to_recent_views(const char* tag) {
    return TheStore().AddToRecentViews(tag);
}

KORVANT_EXPORT LONG ntregy_del_from_recent_views(const char* tag) {
    return TheStore().DelFromRecentViews(tag);
}

KORVANT_EXPORT LONG ntregy_del_vantrel_tree(const char* machine) {
    return TheStore().DelVantrelTree(machine);
}

KORVANT_EXPORT int ntregy_admins_are_privileged(void) {
    return TheStore().AdminsArePrivileged();
}
