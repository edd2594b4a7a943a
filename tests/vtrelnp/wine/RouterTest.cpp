// What Wine's router (mpr.dll) does with the registered provider: the
// calls that reach it, checked by their effects on the DOS devices and by
// the stand-ins' call log.
#include <vector>

#include "vtrelnp/wine/VtrelnpDll.h"

namespace {

using LogonFn = DWORD(WINAPI*)(PLUID, LPCWSTR, LPVOID, LPCWSTR, LPVOID, LPWSTR, LPVOID, LPWSTR*);

constexpr wchar_t kProvider[] = L"Vantrel Dynamic Views";

class Router : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        StandIns::Use("vtrelnp_router_tests");
        UseSharedCacheFolder();
    }

    void SetUp() override {
        if (!KorvantHasAccounts()) {
            GTEST_SKIP() << "LIBKORVANT.dll has no nt_init yet";
        }
        StandIns::Scenario(kScenario);
        StandIns::ClearLog();
        ForgetDevice(L"Q:");
        ForgetDevice(L"M:");
        // The router loaded the provider: its logon entry creates the driver drive.
        HMODULE provider = GetModuleHandleA("VTRELNP.dll");
        ASSERT_NE(provider, nullptr) << "the router did not load VTRELNP.dll";
        auto logon = reinterpret_cast<LogonFn>(
            reinterpret_cast<void*>(GetProcAddress(provider, "NPLogonNotify")));
        LPWSTR script = nullptr;
        ASSERT_EQ(logon(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &script),
                  0u);
        LocalFree(script);
    }
    void TearDown() override {
        ForgetDevice(L"Q:");
        ForgetDevice(L"M:");
    }

    // Remote names of every resource of an enumeration through the router.
    static std::vector<std::string> Enumerate(DWORD scope, const wchar_t* remote,
                                              DWORD* openResult = nullptr) {
        std::vector<std::string> names;
        NETRESOURCEW r{};
        r.lpRemoteName = const_cast<LPWSTR>(remote);
        r.lpProvider = const_cast<LPWSTR>(kProvider);
        HANDLE handle = nullptr;
        const DWORD opened = WNetOpenEnumW(scope, RESOURCETYPE_ANY, 0,
                                           scope == RESOURCE_CONNECTED ? nullptr : &r, &handle);
        if (openResult != nullptr) {
            *openResult = opened;
        }
        if (opened != NO_ERROR) {
            return names;
        }
        for (;;) {
            alignas(8) BYTE buffer[4096];
            DWORD count = static_cast<DWORD>(-1);
            DWORD size = sizeof buffer;
            const DWORD result = WNetEnumResourceW(handle, &count, buffer, &size);
            if (result != NO_ERROR) {
                EXPECT_EQ(result, static_cast<DWORD>(ERROR_NO_MORE_ITEMS));
                break;
            }
            const auto* records = reinterpret_cast<const NETRESOURCEW*>(buffer);
            for (DWORD i = 0; i < count; ++i) {
                std::string name = Narrow(records[i].lpRemoteName);
                if (records[i].lpLocalName != nullptr) {
                    name = Narrow(records[i].lpLocalName) + "=" + name;
                }
                names.push_back(name);
            }
        }
        WNetCloseEnum(handle);
        return names;
    }
};

TEST_F(Router, KnowsTheProviderByItsNetworkType) {
    wchar_t name[64] = {};
    DWORD size = 64;
    ASSERT_EQ(WNetGetProviderNameW(0x00160000, name, &size), 0u);
    EXPECT_EQ(Narrow(name), "Vantrel Dynamic Views");
}

TEST_F(Router, MapsADriveToAViewAndUnmapsIt) {
    NETRESOURCEW r{};
    r.dwType = RESOURCETYPE_DISK;
    r.lpLocalName = const_cast<LPWSTR>(L"Q:");
    r.lpRemoteName = const_cast<LPWSTR>(L"\\\\view\\t1");
    r.lpProvider = const_cast<LPWSTR>(kProvider);
    ASSERT_EQ(WNetAddConnection2W(&r, nullptr, nullptr, 0), 0u);
    EXPECT_TRUE(StandIns::Logged("cmd_startview(t1) = 0")) << StandIns::Log();
    EXPECT_EQ(DeviceTarget(L"Q:"), L"\\??\\M:\\t1");

    EXPECT_EQ(Enumerate(RESOURCE_CONNECTED, nullptr),
              (std::vector<std::string>{"M:=\\\\view", "Q:=\\\\view\\t1"}));

    // Wine's router hands the caller's force flag on. A view drive goes
    // either way; the driver drive is "in use" unless forced, and stays.
    EXPECT_EQ(WNetCancelConnection2W(L"Q:", 0, FALSE), 0u);
    EXPECT_EQ(DeviceTarget(L"Q:"), L"");
    EXPECT_EQ(WNetCancelConnection2W(L"M:", 0, FALSE), 2404u);
    EXPECT_EQ(WNetCancelConnectionW(L"M:", FALSE), 2404u);
    EXPECT_EQ(WNetCancelConnection2W(L"M:", 0, TRUE), 0u);
    EXPECT_EQ(WNetCancelConnectionW(L"M:", TRUE), 0u);
    EXPECT_EQ(DeviceTarget(L"M:"), L"\\Device\\dlfs");
}

TEST_F(Router, MapsTheDriverRootWithTheBarePrefix) {
    NETRESOURCEW r{};
    r.dwType = RESOURCETYPE_DISK;
    r.lpLocalName = const_cast<LPWSTR>(L"Q:");
    r.lpRemoteName = const_cast<LPWSTR>(L"\\\\view");
    ASSERT_EQ(WNetAddConnection2W(&r, nullptr, nullptr, 0), 0u);
    EXPECT_EQ(DeviceTarget(L"Q:"), L"\\Device\\dlfs");
    EXPECT_EQ(StandIns::Log().find("cmd_startview"), std::string::npos);
    EXPECT_EQ(WNetCancelConnection2W(L"Q:", 0, FALSE), 0u);
    EXPECT_EQ(DeviceTarget(L"Q:"), L"");
}

TEST_F(Router, RefusesWhatTheProviderRefuses) {
    NETRESOURCEW r{};
    r.dwType = RESOURCETYPE_DISK;
    r.lpLocalName = const_cast<LPWSTR>(L"Q:");
    r.lpRemoteName = const_cast<LPWSTR>(L"\\\\view\\nosuch");
    r.lpProvider = const_cast<LPWSTR>(kProvider);
    EXPECT_NE(WNetAddConnection2W(&r, nullptr, nullptr, 0), 0u);
    EXPECT_EQ(DeviceTarget(L"Q:"), L"");
    EXPECT_EQ(StandIns::Log().find("cmd_startview"), std::string::npos);
}

TEST_F(Router, BrowsesTheViewTree) {
    EXPECT_EQ(Enumerate(RESOURCE_GLOBALNET, nullptr),
              (std::vector<std::string>{"All Views",
                                        "Views on " +
                                            [] {
                                                char n[64] = {};
                                                DWORD s = sizeof n;
                                                GetComputerNameA(n, &s);
                                                return std::string(n);
                                            }(),
                                        "Recently Used Views"}));
    EXPECT_EQ(Enumerate(RESOURCE_GLOBALNET, L"All Views"),
              (std::vector<std::string>{"\\\\view\\t1", "\\\\view\\t2"}));
    DWORD result = 0;
    Enumerate(RESOURCE_GLOBALNET, L"\\\\view\\t1", &result);
    EXPECT_EQ(result, 1207u);
}

TEST_F(Router, ResourceInformationOfAPathInAView) {
    NETRESOURCEW r{};
    r.lpRemoteName = const_cast<LPWSTR>(L"\\\\view\\t2\\src\\");
    r.lpProvider = const_cast<LPWSTR>(kProvider);
    alignas(8) BYTE buffer[1024];
    DWORD size = sizeof buffer;
    LPWSTR system = nullptr;
    ASSERT_EQ(WNetGetResourceInformationW(&r, buffer, &size, &system), 0u);
    const auto* rec = reinterpret_cast<NETRESOURCEW*>(buffer);
    EXPECT_EQ(Narrow(rec->lpRemoteName), "\\\\view\\t2");
    EXPECT_EQ(Narrow(rec->lpComment), "otherhost");
    EXPECT_EQ(rec->dwDisplayType, static_cast<DWORD>(RESOURCEDISPLAYTYPE_SHARE));
    EXPECT_EQ(Narrow(system), "\\src");
}

}  // namespace
