// The entry points the router never reaches under Wine, called directly,
// with the real LIBKORVANT and the stand-ins.
#include <set>

#include "vtrelnp/wine/VtrelnpDll.h"

namespace {

using GetCapsFn = DWORD(WINAPI*)(DWORD);
using AddFn = DWORD(WINAPI*)(LPNETRESOURCEW, LPWSTR, LPWSTR);
using CancelFn = DWORD(WINAPI*)(LPWSTR, BOOL);
using GetConnectionFn = DWORD(WINAPI*)(LPWSTR, LPWSTR, LPDWORD);
using UniversalFn = DWORD(WINAPI*)(LPWSTR, DWORD, LPVOID, LPDWORD);
using ParentFn = DWORD(WINAPI*)(LPNETRESOURCEW, LPVOID, LPDWORD);
using InfoFn = DWORD(WINAPI*)(LPNETRESOURCEW, LPVOID, LPDWORD, LPWSTR*);
using FormatFn = DWORD(WINAPI*)(LPWSTR, LPWSTR, LPDWORD, DWORD, DWORD);
using LogonFn = DWORD(WINAPI*)(PLUID, LPCWSTR, LPVOID, LPCWSTR, LPVOID, LPWSTR, LPVOID, LPWSTR*);
using PasswordFn = DWORD(WINAPI*)(LPCWSTR, LPVOID, LPCWSTR, LPVOID, LPWSTR, LPVOID, DWORD);
using OpenEnumFn = DWORD(WINAPI*)(DWORD, DWORD, DWORD, LPNETRESOURCEW, LPHANDLE);
using EnumFn = DWORD(WINAPI*)(HANDLE, LPDWORD, LPVOID, LPDWORD);
using CloseEnumFn = DWORD(WINAPI*)(HANDLE);

struct Catalog {
    struct Message {
        int number;
        const char* format;
    };
    int count;
    int first;
    const Message* messages;
    const char* catalog;
    const char* module;
};

std::string ComputerName() {
    char name[64] = {};
    DWORD size = sizeof name;
    GetComputerNameA(name, &size);
    return name;
}

class EntryPoints : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        StandIns::Use("vtrelnp_dll_tests");
        StandIns::Scenario(std::string(kScenario) + "view here1 " + ComputerName() + "\n");
        // Read once at the provider's first call.
        SetProductValue("ProductHome", "C:\\Program Files\\Korva");
        UseSharedCacheFolder();
    }
    void SetUp() override {
        if (!KorvantHasAccounts()) {
            GTEST_SKIP() << "LIBKORVANT.dll has no nt_init yet: covered by AccountsMissing";
        }
        StandIns::Scenario(std::string(kScenario) + "view here1 " + ComputerName() + "\n");
        StandIns::ClearLog();
        ForgetDevice(L"Q:");
        ForgetDevice(L"R:");
        ForgetDevice(L"M:");
        char16_t* script = nullptr;
        ASSERT_EQ(logon(nullptr, L"MSV1_0:Interactive", nullptr, nullptr, nullptr, nullptr, nullptr,
                        reinterpret_cast<LPWSTR*>(&script)),
                  0u);
        ASSERT_EQ(DeviceTarget(L"M:"), L"\\Device\\dlfs");
        LocalFree(script);
    }
    void TearDown() override {
        ForgetDevice(L"Q:");
        ForgetDevice(L"R:");
        ForgetDevice(L"M:");
    }

    DWORD Add(const wchar_t* remote, const wchar_t* local) {
        NETRESOURCEW r{};
        r.dwType = RESOURCETYPE_DISK;
        r.lpRemoteName = const_cast<LPWSTR>(remote);
        r.lpLocalName = const_cast<LPWSTR>(local);
        return add(&r, nullptr, nullptr);
    }

    LogonFn logon = VtrelnpDll::Fn<LogonFn>("NPLogonNotify");
    AddFn add = VtrelnpDll::Fn<AddFn>("NPAddConnection");
    CancelFn cancel = VtrelnpDll::Fn<CancelFn>("NPCancelConnection");
    GetConnectionFn getConnection = VtrelnpDll::Fn<GetConnectionFn>("NPGetConnection");
};

TEST(Exports, EveryEntryPointIsExportedUndecorated) {
    HMODULE module = VtrelnpDll::Module();
    ASSERT_NE(module, nullptr) << GetLastError();
    const auto* base = reinterpret_cast<const BYTE*>(module);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
        base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const auto& entry = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    const auto* exports =
        reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + entry.VirtualAddress);
    const auto* names = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
    std::set<std::string> exported;
    for (DWORD i = 0; i < exports->NumberOfNames; ++i) {
        exported.insert(reinterpret_cast<const char*>(base + names[i]));
    }
    const std::set<std::string> expected = {"NPGetCaps",
                                            "NPAddConnection",
                                            "NPCancelConnection",
                                            "NPGetConnection",
                                            "NPOpenEnum",
                                            "NPEnumResource",
                                            "NPCloseEnum",
                                            "NPFormatNetworkName",
                                            "NPGetResourceInformation",
                                            "NPGetResourceParent",
                                            "NPGetUniversalName",
                                            "NPLogonNotify",
                                            "NPPasswordChangeNotify",
                                            "_vtrelnp_np_msg_table_adr"};
    EXPECT_EQ(exported, expected);
}

TEST(Exports, MessageCatalogAndCapabilities) {
    auto table = VtrelnpDll::Fn<const Catalog* (*)(void)>("_vtrelnp_np_msg_table_adr");
    const Catalog* c = table();
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->count, 17);
    EXPECT_STREQ(c->catalog, "np_nt");
    EXPECT_STREQ(c->messages[2].format, "NPLogon: Unable to create DLFS DosDevice\n");
    auto caps = VtrelnpDll::Fn<GetCapsFn>("NPGetCaps");
    EXPECT_EQ(caps(1), 0x50001u);
    EXPECT_EQ(caps(6), 7u);
    EXPECT_EQ(caps(8), 0xA80u);
}

TEST(Exports, MessageTableHoldsTheEventTexts) {
    HMODULE data = LoadLibraryExA("VTRELNP.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(data, nullptr);
    ASSERT_NE(FindResourceA(data, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(11)), nullptr);
    char text[256] = {};
    char message[] = "(pid: 1, tid: 2) message";
    char* args[] = {message};
    ASSERT_NE(FormatMessageA(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_ARGUMENT_ARRAY, data,
                             0x400, 0, text, sizeof text, reinterpret_cast<va_list*>(args)),
              0u);
    EXPECT_EQ(std::string(text).substr(0, 24), "(pid: 1, tid: 2) message");
    ASSERT_NE(FormatMessageA(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_IGNORE_INSERTS, data, 11,
                             0, text, sizeof text, nullptr),
              0u);
    EXPECT_EQ(std::string(text).substr(0, 16), "Network Provider");
    for (DWORD id = 0x401; id <= 0x405; ++id) {
        EXPECT_NE(FormatMessageA(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_IGNORE_INSERTS, data,
                                 id, 0, text, sizeof text, nullptr),
                  0u)
            << id;
    }
    FreeLibrary(data);
}

// Run from a folder that lacks the library (see CMakeLists.txt): a library
// that cannot be bound ends the call, not the process.
bool BesideTheProgram(const char* file) {
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string path(exe);
    path = path.substr(0, path.find_last_of('\\') + 1) + file;
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

TEST(MissingLibraries, WithoutLibkorvantEveryEntryPointSaysNoNetwork) {
    if (BesideTheProgram("LIBKORVANT.dll")) {
        GTEST_SKIP() << "runs from a folder without LIBKORVANT.dll";
    }
    auto caps = VtrelnpDll::Fn<GetCapsFn>("NPGetCaps");
    EXPECT_EQ(caps(1), 0x50001u);  // capabilities need no initialisation
    EXPECT_EQ(caps(12), 0u);
    wchar_t buffer[32];
    DWORD size = 32;
    EXPECT_EQ(VtrelnpDll::Fn<GetConnectionFn>("NPGetConnection")(const_cast<LPWSTR>(L"Q:"), buffer,
                                                                 &size),
              1222u);
    LPWSTR script = nullptr;
    EXPECT_EQ(VtrelnpDll::Fn<LogonFn>("NPLogonNotify")(nullptr, nullptr, nullptr, nullptr, nullptr,
                                                       nullptr, nullptr, &script),
              1222u);
}

TEST(MissingLibraries, WithoutTheCommandLibraryAConnectionFailsAndLeavesNoDrive) {
    if (BesideTheProgram("libkorvacmd.dll")) {
        GTEST_SKIP() << "runs from a folder without libkorvacmd.dll";
    }
    StandIns::Use("vtrelnp_dll_tests");
    StandIns::Scenario(kScenario);
    UseSharedCacheFolder();
    ForgetDevice(L"Q:");
    ForgetDevice(L"M:");
    DefineDosDeviceW(DDD_RAW_TARGET_PATH, L"M:", L"\\Device\\dlfs");
    NETRESOURCEW r{};
    r.dwType = RESOURCETYPE_DISK;
    r.lpRemoteName = const_cast<LPWSTR>(L"\\\\view\\t1");
    r.lpLocalName = const_cast<LPWSTR>(L"Q:");
    EXPECT_EQ(VtrelnpDll::Fn<AddFn>("NPAddConnection")(&r, nullptr, nullptr), 59u);
    EXPECT_EQ(DeviceTarget(L"Q:"), L"");
    EXPECT_TRUE(StandIns::Logged("rgy_findbystring_entry(default, t1) = 0")) << StandIns::Log();
    ForgetDevice(L"M:");
}

TEST_F(EntryPoints, LogonCreatesTheDriverDriveAndNamesTheQuotedLogonProgram) {
    ForgetDevice(L"M:");
    LPWSTR script = nullptr;
    ASSERT_EQ(
        logon(nullptr, L"MSV1_0:Interactive", nullptr, nullptr, nullptr, nullptr, nullptr, &script),
        0u);
    EXPECT_EQ(DeviceTarget(L"M:"), L"\\Device\\dlfs");
    ASSERT_NE(script, nullptr);
    EXPECT_EQ(Narrow(script), "\"C:\\Program Files\\Korva\\bin\\nplogon.exe\"");
    EXPECT_EQ(LocalFree(script), nullptr);  // came from the local allocator
    EXPECT_EQ(VtrelnpDll::Fn<PasswordFn>("NPPasswordChangeNotify")(nullptr, nullptr, nullptr,
                                                                   nullptr, nullptr, nullptr, 0),
              0u);
}

TEST_F(EntryPoints, LogonEmptiesTheGlobalLookupCache) {
    using HashFn = unsigned (*)(const void*, int);
    using CmpFn = int (*)(const void*, const void*, int);
    using CreateFn = int (*)(const char*, int, int, int, HashFn, CmpFn, const char*, int, void**);
    using EnterFn = int (*)(void*, const void*, const void*, int);
    using LookupFn = int (*)(void*, const void*, void*, int*);
    HMODULE korvant = LoadLibraryA("LIBKORVANT.dll");
    auto entry = [&](const char* name) {
        return reinterpret_cast<void*>(GetProcAddress(korvant, name));
    };
    auto create = reinterpret_cast<CreateFn>(entry("phash_create"));
    auto enter = reinterpret_cast<EnterFn>(entry("phash_enter"));
    auto lookup = reinterpret_cast<LookupFn>(entry("phash_lookup"));
    ASSERT_NE(create, nullptr);
    void* table = nullptr;
    ASSERT_EQ(
        create("5b0e6c1e-3f4a-4d2b-9c8e-7a6f5e4d3c2b", 32, 4, 4,
               reinterpret_cast<HashFn>(entry("phash_int_hash_fn")),
               reinterpret_cast<CmpFn>(entry("phash_int_keycmp_fn")), "vtrelnp logon", 1, &table),
        1);
    const int key = 7, value = 1234;
    ASSERT_EQ(enter(table, &key, &value, sizeof value), 1);
    int found = 0, length = sizeof found;
    ASSERT_EQ(lookup(table, &key, &found, &length), 1);

    LPWSTR script = nullptr;
    ASSERT_EQ(
        logon(nullptr, L"MSV1_0:Interactive", nullptr, nullptr, nullptr, nullptr, nullptr, &script),
        0u);
    LocalFree(script);
    length = sizeof found;
    EXPECT_EQ(lookup(table, &key, &found, &length), 0);
}

TEST_F(EntryPoints, ConnectQueryAndCancelAViewDrive) {
    ASSERT_EQ(Add(L"\\\\view\\t1", L"Q:"), 0u);
    EXPECT_EQ(DeviceTarget(L"Q:"), L"\\??\\M:\\t1");
    EXPECT_TRUE(StandIns::Logged("cmd_startview(t1) = 0")) << StandIns::Log();

    wchar_t remote[16] = {};
    DWORD size = 5;
    EXPECT_EQ(getConnection(const_cast<LPWSTR>(L"Q:"), remote, &size), 234u);
    EXPECT_EQ(size, 10u);
    EXPECT_EQ(getConnection(const_cast<LPWSTR>(L"Q:"), remote, &size), 0u);
    EXPECT_EQ(Narrow(remote), "\\\\view\\t1");
    size = 16;
    EXPECT_EQ(getConnection(const_cast<LPWSTR>(L"M:"), remote, &size), 0u);
    EXPECT_EQ(Narrow(remote), "\\\\view");
    EXPECT_EQ(getConnection(const_cast<LPWSTR>(L"C:"), remote, &size), 2250u);
    EXPECT_EQ(getConnection(const_cast<LPWSTR>(L"1:"), remote, &size), 1200u);

    EXPECT_EQ(cancel(const_cast<LPWSTR>(L"M:"), FALSE), 2404u);
    EXPECT_EQ(DeviceTarget(L"M:"), L"\\Device\\dlfs");
    EXPECT_EQ(cancel(const_cast<LPWSTR>(L"Q:"), FALSE), 0u);
    EXPECT_EQ(DeviceTarget(L"Q:"), L"");
}

TEST_F(EntryPoints, RefusedConnectionsLeaveNothingBehind) {
    EXPECT_EQ(Add(L"\\\\view\\nosuch", L"Q:"), 67u);
    EXPECT_EQ(Add(L"\\\\view\\a\\b", L"Q:"), 67u);
    EXPECT_EQ(Add(L"\\\\view\\t1", L"\\\\x"), 1200u);
    DefineDosDeviceW(DDD_RAW_TARGET_PATH, L"R:", L"\\Device\\Elsewhere");
    EXPECT_EQ(Add(L"\\\\view\\t1", L"R:"), 85u);
    EXPECT_EQ(StandIns::Log().find("cmd_startview"), std::string::npos);

    StandIns::Scenario(std::string(kScenario) + "fail cmd_startview CMD_S_START_FAILED t2\n");
    EXPECT_EQ(Add(L"\\\\view\\t2", L"Q:"), 59u);
    EXPECT_TRUE(StandIns::Logged("cmd_startview(t2) = CMD_S_START_FAILED")) << StandIns::Log();
    EXPECT_EQ(DeviceTarget(L"Q:"), L"");
}

TEST_F(EntryPoints, BarePrefixMapsTheDriverRoot) {
    ASSERT_EQ(Add(L"\\\\view", L"Q:\\"), 0u);  // the root folder's name gives its drive
    EXPECT_EQ(DeviceTarget(L"Q:"), L"\\Device\\dlfs");
    EXPECT_EQ(StandIns::Log().find("cmd_startview"), std::string::npos);
    // Only the driver drive M: is kept; another letter on the root goes.
    EXPECT_EQ(cancel(const_cast<LPWSTR>(L"Q:"), FALSE), 0u);
    EXPECT_EQ(DeviceTarget(L"Q:"), L"");
    EXPECT_EQ(DeviceTarget(L"M:"), L"\\Device\\dlfs");
}

TEST_F(EntryPoints, UniversalNamesAndFormatting) {
    ASSERT_EQ(Add(L"\\\\view\\t1", L"Q:"), 0u);
    auto universal = VtrelnpDll::Fn<UniversalFn>("NPGetUniversalName");
    alignas(8) BYTE buffer[512];
    DWORD size = sizeof buffer;
    ASSERT_EQ(
        universal(const_cast<LPWSTR>(L"Q:\\src\\main.c"), REMOTE_NAME_INFO_LEVEL, buffer, &size),
        0u);
    const auto* info = reinterpret_cast<REMOTE_NAME_INFOW*>(buffer);
    EXPECT_EQ(Narrow(info->lpUniversalName), "\\\\view\\t1\\src\\main.c");
    EXPECT_EQ(Narrow(info->lpConnectionName), "\\\\view\\t1");
    EXPECT_EQ(Narrow(info->lpRemainingPath), "\\src\\main.c");
    EXPECT_EQ(universal(const_cast<LPWSTR>(L"Q:\\x"), 3, buffer, &size), 124u);
    EXPECT_EQ(universal(const_cast<LPWSTR>(L"Qx"), 1, buffer, &size), 1200u);

    auto format = VtrelnpDll::Fn<FormatFn>("NPFormatNetworkName");
    wchar_t formatted[32];
    DWORD length = sizeof formatted;
    ASSERT_EQ(format(const_cast<LPWSTR>(L"\\\\view\\t1"), formatted, &length, 0, 0), 0u);
    EXPECT_EQ(Narrow(formatted), "t1");
}

TEST_F(EntryPoints, ResourceParentsAndInformation) {
    auto parent = VtrelnpDll::Fn<ParentFn>("NPGetResourceParent");
    alignas(8) BYTE buffer[512];
    DWORD size = sizeof buffer;
    NETRESOURCEW r{};
    r.lpRemoteName = const_cast<LPWSTR>(L"\\\\view\\t1");
    r.lpProvider = const_cast<LPWSTR>(L"Vantrel Dynamic Views");
    ASSERT_EQ(parent(&r, buffer, &size), 0u);
    const auto* rec = reinterpret_cast<NETRESOURCEW*>(buffer);
    EXPECT_EQ(Narrow(rec->lpRemoteName), "\\\\view");
    EXPECT_EQ(rec->dwDisplayType, RESOURCEDISPLAYTYPE_SERVER);

    auto info = VtrelnpDll::Fn<InfoFn>("NPGetResourceInformation");
    r.lpRemoteName = const_cast<LPWSTR>(L"\\\\view\\t2\\docs");
    LPWSTR system = nullptr;
    size = sizeof buffer;
    ASSERT_EQ(info(&r, buffer, &size, &system), 0u);
    EXPECT_EQ(Narrow(rec->lpComment), "otherhost");
    EXPECT_EQ(Narrow(system), "\\docs");
}

TEST_F(EntryPoints, RecentViewsDropUnknownTagsButSurviveADownServer) {
    SetUserValue("RecentlyUsedViews", "t2,gone,t1");
    auto open = VtrelnpDll::Fn<OpenEnumFn>("NPOpenEnum");
    auto next = VtrelnpDll::Fn<EnumFn>("NPEnumResource");
    auto close = VtrelnpDll::Fn<CloseEnumFn>("NPCloseEnum");
    NETRESOURCEW r{};
    r.lpRemoteName = const_cast<LPWSTR>(L"Recently Used Views");
    auto listAll = [&] {
        std::string names;
        HANDLE handle = nullptr;
        EXPECT_EQ(open(RESOURCE_GLOBALNET, 0, 0, &r, &handle), 0u);
        alignas(8) BYTE buffer[512];
        DWORD count = 1, size = sizeof buffer;
        while (next(handle, &count, buffer, &size) == 0) {
            names += Narrow(reinterpret_cast<NETRESOURCEW*>(buffer)->lpRemoteName) + " ";
            size = sizeof buffer;
        }
        EXPECT_EQ(close(handle), 0u);
        return names;
    };
    StandIns::Scenario(std::string(kScenario) + "server down\n");
    EXPECT_EQ(listAll(), "\\\\view\\t2 \\\\view\\gone \\\\view\\t1 ");
    EXPECT_EQ(UserValue("RecentlyUsedViews"), "t2,gone,t1");
    StandIns::Scenario(kScenario);
    EXPECT_EQ(listAll(), "\\\\view\\t2 \\\\view\\t1 ");
    EXPECT_EQ(UserValue("RecentlyUsedViews"), "t2,t1");
}

}  // namespace
