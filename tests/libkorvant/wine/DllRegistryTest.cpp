#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "libkorvant/wine/KorvantDll.h"

namespace {

using GetParamFn = LONG (*)(int, LPDWORD, void*, const char*);
using SetParamFn = LONG (*)(int, const void*, const char*);
using IndexMachineFn = LONG (*)(int, const char*);
using GetDlfsFn = LONG (*)(int, void*, LPDWORD, const char*);
using GetDefaultFn = LONG (*)(int, void*, DWORD);
using NameFn = LONG (*)(const char*);
using GetValueFn = LONG (*)(HKEY, const char*, const char*, void*, LPDWORD, PHKEY);
using CreateValueFn = LONG (*)(HKEY, const char*, const char*, const void*, DWORD, DWORD, PHKEY);
using CloseKeyFn = LONG (*)(HKEY);
using GetGeometryFn = LONG (*)(const char*, LONG*, LONG*, LONG*, LONG*, const char*);
using SetGeometryFn = LONG (*)(const char*, LONG, LONG, LONG, LONG, const char*);
using ModtimeFn = LONG (*)(FILETIME*, const char*);
using TextMachineFn = LONG (*)(const char*, const char*);
using IntFn = int (*)();
using KeyFn = const char* (*)();

constexpr const char* kProduct = "Software\\Korva\\Vantrel\\CurrentVersion";
constexpr const char* kDriver = "SYSTEM\\CurrentControlSet\\Services\\dlfs\\Parameters";

std::string ReadString(HKEY root, const char* path, const char* name) {
    char text[4096] = {};
    DWORD size = sizeof text;
    if (RegGetValueA(root, path, name, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS) {
        return "<missing>";
    }
    return text;
}

DWORD ReadDword(HKEY root, const char* path, const char* name) {
    DWORD value = 0xDEADBEEF;
    DWORD size = sizeof value;
    RegGetValueA(root, path, name, RRF_RT_REG_DWORD, nullptr, &value, &size);
    return value;
}

class Registry : public ::testing::Test {
protected:
    void SetUp() override {
        if (Win32sRun()) {
            GTEST_SKIP() << "registry tests run without a forced platform";
        }
        RemoveProductKeys();
    }
    void TearDown() override { RemoveProductKeys(); }

    GetParamFn getParam = KorvantDll::Fn<GetParamFn>("ntregy_get_param");
    SetParamFn setParam = KorvantDll::Fn<SetParamFn>("ntregy_set_param");
    IndexMachineFn delParam = KorvantDll::Fn<IndexMachineFn>("ntregy_del_param");
};

TEST_F(Registry, CommonKeyIsTheDefaultProductKey) {
    EXPECT_STREQ(KorvantDll::Fn<KeyFn>("ntregy_get_common_key")(),
                 "\\Software\\Korva\\Vantrel\\CurrentVersion");
    EXPECT_STREQ(KorvantDll::Fn<KeyFn>("ntregy_get_common_key_mfc_style")(),
                 "Korva\\Vantrel\\CurrentVersion");
}

TEST_F(Registry, ParametersSetGetDelete) {
    ASSERT_EQ(setParam(8, "C:\\korva", nullptr), 0);
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kProduct, "ProductHome"), "C:\\korva");
    ASSERT_EQ(setParam(25, reinterpret_cast<const void*>(1), nullptr), 0);
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kProduct, "Connected"), 1u);

    char text[64] = {};
    DWORD size = sizeof text;
    EXPECT_EQ(getParam(8, &size, text, nullptr), 0);
    EXPECT_STREQ(text, "C:\\korva");
    DWORD number = 0;
    size = sizeof number;
    EXPECT_EQ(getParam(25, &size, &number, nullptr), 0);
    EXPECT_EQ(number, 1u);

    EXPECT_EQ(delParam(8, nullptr), 0);
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kProduct, "ProductHome"), "<missing>");
    size = sizeof text;
    EXPECT_EQ(getParam(8, &size, text, nullptr), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(getParam(4, &size, text, nullptr), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(KorvantDll::Fn<DWORD (*)(int)>("ntregy_get_datatype")(48), DWORD{REG_MULTI_SZ});
}

TEST_F(Registry, WrongTypesAndShortBuffersAreErrorsNotOverruns) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kProduct, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr),
              0);
    RegSetValueExA(key, "LargeRIDs", 0, REG_SZ, reinterpret_cast<const BYTE*>("1"), 2);
    const char list[] = {'a', '\0', 'b', '\0'};
    RegSetValueExA(key, "ProductInfoKeys", 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(list), 4);
    RegCloseKey(key);

    DWORD number = 0;
    DWORD size = sizeof number;
    EXPECT_EQ(getParam(41, &size, &number, nullptr), ERROR_INVALID_DATA);
    // Of the wrong type and longer than the buffer: still the type error.
    HKEY user = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kProduct, 0, nullptr, 0, KEY_WRITE, nullptr, &user,
                              nullptr),
              0);
    RegSetValueExA(user, "RecentlyUsedViewsMaxLen", 0, REG_SZ,
                   reinterpret_cast<const BYTE*>("three"), 6);
    RegCloseKey(user);
    size = sizeof number;
    EXPECT_EQ(getParam(21, &size, &number, nullptr), ERROR_INVALID_DATA);
    // A list read that exactly fills the buffer has no room for its end.
    ASSERT_EQ(KorvantDll::Fn<SetParamFn>("ntregy_set_param")(48, "a\0bb\0", nullptr), 0);
    char list5[8];
    size = 5;
    EXPECT_EQ(getParam(48, &size, list5, nullptr), ERROR_MORE_DATA);
    size = 6;
    ASSERT_EQ(getParam(48, &size, list5, nullptr), 0);
    EXPECT_EQ(std::string(list5, 6), std::string("a\0bb\0\0", 6));

    auto getValue = KorvantDll::Fn<GetValueFn>("ntregy_get_value");
    char buffer[8];
    std::memset(buffer, 'Z', sizeof buffer);
    size = 4;
    HKEY open = reinterpret_cast<HKEY>(1);
    // The stored list lacks its final terminator and fills the buffer.
    EXPECT_EQ(getValue(HKEY_LOCAL_MACHINE, "\\Software\\Korva\\Vantrel\\CurrentVersion",
                       "ProductInfoKeys", buffer, &size, &open),
              ERROR_MORE_DATA);
    EXPECT_EQ(buffer[4], 'Z') << "nothing written past the caller's 4 bytes";
    EXPECT_EQ(open, nullptr);
    size = 5;
    EXPECT_EQ(getValue(HKEY_LOCAL_MACHINE, kProduct, "ProductInfoKeys", buffer, &size, &open), 0);
    EXPECT_EQ(buffer[4], '\0');
    EXPECT_EQ(buffer[5], 'Z');
    ASSERT_NE(open, nullptr);
    KorvantDll::Fn<CloseKeyFn>("ntregy_close_key")(open);
    size = sizeof buffer;
    EXPECT_EQ(getValue(HKEY_LOCAL_MACHINE, kProduct, "Missing", buffer, &size, &open),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(open, nullptr);
}

TEST_F(Registry, CreateValueBuildsThePath) {
    auto create = KorvantDll::Fn<CreateValueFn>("ntregy_create_value");
    HKEY key = nullptr;
    const DWORD seven = 7;
    ASSERT_EQ(
        create(HKEY_CURRENT_USER, "\\Software\\Korva\\A\\B\\C", "n", &seven, 4, REG_DWORD, &key),
        0);
    ASSERT_NE(key, nullptr);
    KorvantDll::Fn<CloseKeyFn>("ntregy_close_key")(key);
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, "Software\\Korva\\A\\B\\C", "n"), 7u);
}

TEST_F(Registry, DriverParametersAndTheProtectedSuffix) {
    auto setDlfs = KorvantDll::Fn<SetParamFn>("ntregy_set_dlfs_param");
    auto getDlfs = KorvantDll::Fn<GetDlfsFn>("ntregy_get_dlfs_param");
    auto defaultDlfs = KorvantDll::Fn<IndexMachineFn>("ntregy_default_dlfs_param");
    auto getDefault = KorvantDll::Fn<GetDefaultFn>("ntregy_get_default_param");

    EXPECT_EQ(setDlfs(21, "##", nullptr), ERROR_BAD_ARGUMENTS);
    EXPECT_EQ(defaultDlfs(21, nullptr), 0);
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kDriver, 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);

    DWORD number = 0;
    DWORD size = sizeof number;
    EXPECT_EQ(getDlfs(33, &number, &size, nullptr), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(defaultDlfs(33, nullptr), 0);
    EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kDriver, "view_rebind_timeout"), 7200u);
    EXPECT_EQ(defaultDlfs(28, nullptr), 0);
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kDriver, "view_netname"), "view");
    EXPECT_EQ(setDlfs(25, "Q", nullptr), 0);
    char text[8] = {};
    size = sizeof text;
    EXPECT_EQ(getDlfs(25, text, &size, nullptr), 0);
    EXPECT_STREQ(text, "Q");
    EXPECT_EQ(setDlfs(26, reinterpret_cast<const void*>(2), nullptr), 0);
    size = sizeof number;
    EXPECT_EQ(getDlfs(26, &number, &size, nullptr), 0);
    EXPECT_EQ(number, 2u);

    EXPECT_EQ(getDefault(21, text, 2), 1);
    EXPECT_EQ(getDefault(21, text, 3), 0);
    EXPECT_STREQ(text, "@@");
    EXPECT_EQ(getDefault(1, &number, 4), 0);
    EXPECT_EQ(number, 16384u);
}

TEST_F(Registry, PersistentAndRecentLists) {
    auto addKiv = KorvantDll::Fn<NameFn>("ntregy_add_persistent_kiv");
    auto removeKiv = KorvantDll::Fn<NameFn>("ntregy_remove_persistent_kiv");
    auto addRecent = KorvantDll::Fn<NameFn>("ntregy_add_to_recent_views");
    auto delRecent = KorvantDll::Fn<NameFn>("ntregy_del_from_recent_views");
    EXPECT_EQ(addKiv("\\kiv1"), 0);
    EXPECT_EQ(addKiv("\\kiv2"), 0);
    EXPECT_EQ(addKiv("\\kiv1"), 0);
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kProduct, "PersistentKIVs"), "\\kiv1,\\kiv2");
    EXPECT_EQ(removeKiv("\\kiv1"), 0);
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kProduct, "PersistentKIVs"), "\\kiv2");

    for (const char* tag : {"v1", "v2", "v3", "v4", "v5", "v3", "v6"}) {
        EXPECT_EQ(addRecent(tag), 0);
    }
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kProduct, "RecentlyUsedViewsMaxLen"), 5u);
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kProduct, "RecentlyUsedViews"), "v6,v3,v5,v4,v2");
    EXPECT_EQ(delRecent("v5"), 0);
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kProduct, "RecentlyUsedViews"), "v6,v3,v4,v2");
    EXPECT_EQ(addRecent(nullptr), ERROR_INVALID_PARAMETER);
}

TEST_F(Registry, TreeRemovalStopsAtSoftware) {
    auto setPasswd = KorvantDll::Fn<TextMachineFn>("ntregy_set_rgy_passwd");
    auto delTree = KorvantDll::Fn<NameFn>("ntregy_del_vantrel_tree");
    ASSERT_EQ(setPasswd("secret", nullptr), 0);
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, "Software\\Korva\\Vantrel\\CurrentVersion\\Security",
                         "RegPasswd"),
              "secret");
    char password[16] = {};
    DWORD size = sizeof password;
    EXPECT_EQ(KorvantDll::Fn<LONG (*)(char*, LPDWORD, const char*)>("ntregy_get_rgy_passwd")(
                  password, &size, nullptr),
              0);
    EXPECT_STREQ(password, "secret");
    ASSERT_EQ(setParam(1, "north", nullptr), 0);

    EXPECT_EQ(delTree(nullptr), 0);
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Korva", 0, KEY_READ, &key),
              ERROR_FILE_NOT_FOUND);
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software", 0, KEY_READ, &key), 0);
    RegCloseKey(key);
    EXPECT_EQ(delTree(nullptr), 0) << "an absent tree is no error";
}

TEST_F(Registry, RemoteAccessToThisMachineByName) {
    char computer[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD length = sizeof computer;
    ASSERT_TRUE(GetComputerNameA(computer, &length));
    ASSERT_EQ(setParam(1, "east", nullptr), 0);
    char text[16] = {};
    DWORD size = sizeof text;
    EXPECT_EQ(getParam(1, &size, text, computer), 0);
    EXPECT_STREQ(text, "east");
    const std::string unc = std::string("\\\\") + computer;
    EXPECT_EQ(setParam(2, "west", unc.c_str()), 0);
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kProduct, "InteropRegion"), "west");
    size = sizeof text;
    EXPECT_NE(getParam(1, &size, text, "no-such-host.invalid"), 0);
}

TEST_F(Registry, GeometryAndApplicationValues) {
    auto setGeometry = KorvantDll::Fn<SetGeometryFn>("ntregy_set_app_geometry");
    auto getGeometry = KorvantDll::Fn<GetGeometryFn>("ntregy_get_app_geometry");
    EXPECT_EQ(setGeometry("viewer", -4, 8, 1024, 768, nullptr), 0);
    const std::string appKey = std::string(kProduct) + "\\viewer";
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, appKey.c_str(), "Geometry"), "-4 8 1024 768");
    LONG x = 0, y = 0, w = 0, h = 0;
    EXPECT_EQ(getGeometry("viewer", &x, &y, &w, &h, nullptr), 0);
    EXPECT_EQ(x, -4);
    EXPECT_EQ(h, 768);
    RegSetKeyValueA(HKEY_CURRENT_USER, appKey.c_str(), "Geometry", REG_SZ, "1 2 3", 6);
    EXPECT_EQ(getGeometry("viewer", &x, &y, &w, &h, nullptr), ERROR_INVALID_DATA);

    auto setApp =
        KorvantDll::Fn<LONG (*)(const char*, const char*, DWORD, const void*, const char*)>(
            "ntregy_set_app_param");
    EXPECT_EQ(setApp("viewer", "Mode", REG_DWORD, reinterpret_cast<const void*>(3), nullptr), 0);
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, appKey.c_str(), "Mode"), 3u);
    EXPECT_EQ(setApp("viewer", "Blob", REG_BINARY, "x", nullptr), ERROR_INVALID_PARAMETER);
}

TEST_F(Registry, ProductInfoKeysAndModificationTime) {
    auto update = KorvantDll::Fn<TextMachineFn>("ntregy_update_product_info_keys");
    auto modtime = KorvantDll::Fn<ModtimeFn>("ntregy_get_common_key_modtime");
    FILETIME time{};
    EXPECT_EQ(modtime(&time, nullptr), ERROR_FILE_NOT_FOUND);
    ASSERT_EQ(update("first=1\nsecond=2\n", nullptr), 0);
    char data[64] = {};
    DWORD size = sizeof data;
    ASSERT_EQ(RegGetValueA(HKEY_LOCAL_MACHINE, kProduct, "ProductInfoKeys", RRF_RT_REG_MULTI_SZ,
                           nullptr, data, &size),
              0);
    EXPECT_STREQ(data, "first=1");
    EXPECT_STREQ(data + 8, "second=2");
    EXPECT_EQ(modtime(&time, nullptr), 0);
    EXPECT_NE(time.dwHighDateTime, 0u);
}

TEST_F(Registry, AdminsArePrivilegedFollowsTheHashedValueOnce) {
    char computer[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD length = sizeof computer;
    ASSERT_TRUE(GetComputerNameA(computer, &length));
    std::uint32_t h = 0;
    for (const char* p = computer; *p != '\0'; ++p) {
        h += (h << 7) ^
             static_cast<std::uint32_t>(static_cast<std::int32_t>(static_cast<signed char>(*p)));
    }
    char name[64];
    std::snprintf(name, sizeof name, "AdminsArePrivileged_%d", static_cast<int>(h));
    const DWORD one = 1;
    ASSERT_EQ(RegSetKeyValueA(HKEY_LOCAL_MACHINE, kProduct, name, REG_DWORD, &one, 4), 0);
    auto admins = KorvantDll::Fn<IntFn>("ntregy_admins_are_privileged");
    EXPECT_EQ(admins(), 1);
    RemoveProductKeys();
    EXPECT_EQ(admins(), 1) << "answered from the cache";
}

TEST_F(Registry, NullAndOverlongInputsGiveErrorCodes) {
    DWORD size = 16;
    EXPECT_EQ(getParam(8, &size, nullptr, nullptr), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(getParam(8, nullptr, nullptr, nullptr), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(setParam(8, nullptr, nullptr), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(setParam(99, "x", nullptr), ERROR_INVALID_PARAMETER);
    auto getValue = KorvantDll::Fn<GetValueFn>("ntregy_get_value");
    EXPECT_EQ(getValue(HKEY_LOCAL_MACHINE, nullptr, "x", nullptr, nullptr, nullptr),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(
        KorvantDll::Fn<LONG (*)(HKEY, const char*)>("ntregy_del_key")(HKEY_CURRENT_USER, nullptr),
        ERROR_INVALID_PARAMETER);
    EXPECT_EQ(KorvantDll::Fn<NameFn>("ntregy_add_persistent_kiv")(nullptr),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(KorvantDll::Fn<NameFn>("ntregy_del_from_recent_views")(nullptr),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(KorvantDll::Fn<TextMachineFn>("ntregy_update_product_info_keys")(nullptr, nullptr),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(KorvantDll::Fn<ModtimeFn>("ntregy_get_common_key_modtime")(nullptr, nullptr),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(KorvantDll::Fn<GetDefaultFn>("ntregy_get_default_param")(41, nullptr, 4),
              ERROR_INVALID_PARAMETER);
    auto getGeometry = KorvantDll::Fn<GetGeometryFn>("ntregy_get_app_geometry");
    EXPECT_EQ(getGeometry(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr),
              ERROR_INVALID_PARAMETER);
    KorvantDll::Fn<void (*)(const char**, const char**, const char**)>("ntregy_get_product_type")(
        nullptr, nullptr, nullptr);

    const std::string longName(1000, 'a');
    auto setGeometry = KorvantDll::Fn<SetGeometryFn>("ntregy_set_app_geometry");
    EXPECT_NE(setGeometry(longName.c_str(), 1, 2, 3, 4, nullptr), 0);
    EXPECT_EQ(KorvantDll::Fn<NameFn>("ntregy_add_persistent_kiv")(std::string(4000, 'k').c_str()),
              0);
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kProduct, "PersistentKIVs"), "<missing>")
        << "a name that cannot fit is not added";
    EXPECT_EQ(KorvantDll::Fn<LONG (*)(const char*, const char*, const char*)>(
                  "ntregy_set_product_type")(longName.c_str(), "p", "v"),
              ERROR_INVALID_PARAMETER);
}

class Win32s : public ::testing::Test {
protected:
    void SetUp() override {
        if (!Win32sRun()) {
            GTEST_SKIP() << "needs KORVA_FORCE_PLATFORM=win32s";
        }
        RemoveProductKeys();  // other programs of the prefix may have left some
        WriteProfileStringA("Korva", nullptr, nullptr);
    }
    void TearDown() override { WriteProfileStringA("Korva", nullptr, nullptr); }
    static std::string Profile(const char* key) {
        char text[256] = {};
        GetProfileStringA("Korva", key, "", text, sizeof text);
        return text;
    }
};

TEST_F(Win32s, ParametersLiveInWinIni) {
    EXPECT_EQ(KorvantDll::Fn<IntFn>("nt_win32_platform")(), 0);
    EXPECT_EQ(KorvantDll::Fn<DWORD (*)()>("nt_osinfo")(), 1u);
    auto setParam = KorvantDll::Fn<SetParamFn>("ntregy_set_param");
    auto getParam = KorvantDll::Fn<GetParamFn>("ntregy_get_param");
    auto delParam = KorvantDll::Fn<IndexMachineFn>("ntregy_del_param");
    EXPECT_EQ(setParam(8, "C:\\korva", nullptr), 0);
    EXPECT_EQ(Profile("ProductHome"), "C:\\korva");
    EXPECT_EQ(setParam(41, reinterpret_cast<const void*>(1), nullptr), 0);
    EXPECT_EQ(Profile("LargeRIDs"), "1");
    char text[32] = {};
    DWORD size = sizeof text;
    EXPECT_EQ(getParam(8, &size, text, nullptr), 0);
    EXPECT_STREQ(text, "C:\\korva");
    DWORD number = 0;
    size = sizeof number;
    EXPECT_EQ(getParam(41, &size, &number, nullptr), 0);
    EXPECT_EQ(number, 1u);
    EXPECT_EQ(getParam(8, &size, text, "ANYHOST"), ERROR_CALL_NOT_IMPLEMENTED);
    HKEY remote = nullptr;
    EXPECT_EQ(KorvantDll::Fn<LONG (*)(const char*, HKEY, PHKEY)>("ntregy_connect_remote")(
                  "ANYHOST", HKEY_LOCAL_MACHINE, &remote),
              ERROR_CALL_NOT_IMPLEMENTED);
    EXPECT_EQ(delParam(8, nullptr), 0);
    EXPECT_EQ(Profile("ProductHome"), "");
    size = sizeof text;
    EXPECT_EQ(getParam(8, &size, text, nullptr), ERROR_FILE_NOT_FOUND);
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Korva", 0, KEY_READ, &key),
              ERROR_FILE_NOT_FOUND)
        << "nothing reaches the registry";

    WriteProfileStringA("Korva", "LargeRIDs", "garbage");
    size = sizeof number;
    EXPECT_EQ(getParam(41, &size, &number, nullptr), ERROR_INVALID_DATA);
    EXPECT_EQ(KorvantDll::Fn<NameFn>("ntregy_add_persistent_kiv")("k1"), 0);
    EXPECT_EQ(Profile("PersistentKIVs"), "k1");
}

TEST_F(Win32s, TerminalServerForcedToAdminMode) {
    int admin = 0;
    EXPECT_TRUE(KorvantDll::Fn<BOOL (*)(int*)>("nt_is_terminal_server")(&admin));
    EXPECT_EQ(admin, 1);
}

}  // namespace
