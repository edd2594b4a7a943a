#include <atomic>
#include <chrono>
#include <future>
#include <thread>

#include "vtrelnp/ProviderFixture.h"

namespace vtrelnp::testing {
namespace {

using Browse = ProviderTest;
using Strings = std::vector<std::string>;

TEST_F(Browse, TopLevelHasThreeContainers) {
    const Strings expected = {"-|All Views|9|2|-", "-|Views on BUILDHOST|9|2|-",
                              "-|Recently Used Views|9|2|-"};
    EXPECT_EQ(EnumerateAll(kScopeGlobal, 0, nullptr), expected);
    EXPECT_EQ(EnumerateAll(kScopeContext, kUsageContainer, u"Vantrel Dynamic Views"), expected);
    long result = 0;
    EnumerateAll(kScopeGlobal, kUsageConnectable, nullptr, &result);
    EXPECT_EQ(result, kErrBadNetName);
    EXPECT_EQ(sys.debug.back(),
              "vtrelnp(pid: 42, tid: 7) NPOpenEnum(2,0,1,<Null>): Unxpected request\n");
}

TEST_F(Browse, AllViewsGroupedByHostWithoutWorkspaces) {
    const Strings expected = {"-|\\\\view\\t1|3|1|Vantrel View", "-|\\\\view\\t2|3|1|Vantrel View",
                              "-|\\\\view\\t3|3|1|Vantrel View"};
    EXPECT_EQ(EnumerateAll(kScopeGlobal, 0, u"All Views"), expected);
    EXPECT_EQ(EnumerateAll(kScopeGlobal, 0, u"\\\\view"), expected);
    EXPECT_EQ(libs.liveEntries, 0);  // every entry was deleted
    EXPECT_EQ(libs.liveCursors, 0);
    EXPECT_EQ(libs.appName, "vtrelnp");
    EXPECT_EQ(libs.Calls("ks_system_init"), 1);
}

TEST_F(Browse, HostsAreGroupedInOrderOfFirstAppearance) {
    libs.SetViews({{"a", "h1"}, {"b", "h2"}, {"c", "h1"}});
    const Strings expected = {"-|\\\\view\\a|3|1|Vantrel View", "-|\\\\view\\c|3|1|Vantrel View",
                              "-|\\\\view\\b|3|1|Vantrel View"};
    EXPECT_EQ(EnumerateAll(kScopeGlobal, 0, u"All Views"), expected);
}

TEST_F(Browse, ThisComputersContainerListsItsOwnGroup) {
    EXPECT_EQ(EnumerateAll(kScopeGlobal, 0, u"views on buildhost"),
              Strings{"-|\\\\view\\t1|3|1|Vantrel View"});
    libs.SetViews({{"t2", "otherhost"}});
    long result = -1;
    EXPECT_TRUE(EnumerateAll(kScopeGlobal, 0, u"Views on BUILDHOST", &result).empty());
    EXPECT_EQ(result, 0);
}

TEST_F(Browse, ViewListIsReadAgainOnlyWhenTheServerStampChanges) {
    EnumerateAll(kScopeGlobal, 0, u"All Views");
    const int reads = libs.Calls("rgy_get_entry");
    EnumerateAll(kScopeGlobal, 0, u"All Views");
    EXPECT_EQ(libs.Calls("rgy_get_entry"), reads);
    libs.SetViews({{"t9", "BUILDHOST"}});
    EXPECT_EQ(EnumerateAll(kScopeGlobal, 0, u"All Views"),
              Strings{"-|\\\\view\\t9|3|1|Vantrel View"});
    EXPECT_GT(libs.Calls("rgy_get_entry"), reads);
    EXPECT_EQ(libs.liveStamps, 1);  // the old stamp was destroyed
}

TEST_F(Browse, RegistryServerFailuresAreReported) {
    libs.failing["rgy_get_entry"] = RGY_S_SERVER_DOWN;
    long result = 0;
    EnumerateAll(kScopeGlobal, 0, u"All Views", &result);
    EXPECT_EQ(result, kErrUnexpectedNetError);
    EXPECT_NE(sys.Events().find(
                  "vtnp_get_view_tags(): error querying registry - [Registry server unreachable]"),
              std::string::npos)
        << sys.Events();
    EXPECT_EQ(libs.liveStamps, 0);
    libs.failing.clear();
    libs.failing["rgy_fetch_default_region"] = RGY_S_SERVER_DOWN;
    EnumerateAll(kScopeGlobal, 0, u"All Views", &result);
    EXPECT_NE(sys.Events().find("vtnp_get_view_tags(): unable to determine network region - "
                                "[Registry server unreachable]"),
              std::string::npos);
    libs.failing.clear();
    libs.missing.insert("rgy_get_entry");
    EnumerateAll(kScopeGlobal, 0, u"All Views", &result);
    EXPECT_EQ(result, kErrUnexpectedNetError);
    EXPECT_NE(sys.Events().find("vtnp_get_view_tags(): Abnormal termination of rgy_*() call "
                                "detected"),
              std::string::npos);
}

TEST_F(Browse, RecentViewsLoseTagsNoLongerRegistered) {
    libs.params[kParamRecentViews] = "t2,gone,t1";
    EXPECT_EQ(EnumerateAll(kScopeGlobal, kUsageConnectable, u"Recently Used Views"),
              (Strings{"-|\\\\view\\t2|3|1|Vantrel View", "-|\\\\view\\t1|3|1|Vantrel View"}));
    EXPECT_EQ(libs.paramWrites.at(kParamRecentViews), "t2,t1");
}

TEST_F(Browse, RecentViewsSurviveAnUnreachableServer) {
    libs.params[kParamRecentViews] = "t2,t1";
    libs.serverDown = true;
    EXPECT_EQ(EnumerateAll(kScopeGlobal, 0, u"Recently Used Views").size(), 2u);
    EXPECT_EQ(libs.paramWrites.count(kParamRecentViews), 0u);
    EXPECT_EQ(libs.params[kParamRecentViews], "t2,t1");
}

TEST_F(Browse, ConnectedListsProviderDrivesThenStartedViews) {
    ASSERT_EQ(Add(u"\\\\view\\t1", u"Q:"), 0);
    sys.devices[u"C:"] = {u"\\Device\\HarddiskVolume1"};
    sys.devices[u"COM5"] = {u"\\Device\\Serial4"};
    sys.folders[u"M:\\"] = {u"t1", u"t2", u"t2@@", u"T3"};
    EXPECT_EQ(EnumerateAll(kScopeConnected, 0, nullptr),
              (Strings{"M:|\\\\view|3|1|-", "Q:|\\\\view\\t1|3|1|Vantrel View",
                       "-|\\\\view\\t2|3|1|Vantrel View", "-|\\\\view\\T3|3|1|Vantrel View"}));
}

TEST_F(Browse, DeviceListGrowsOnlyWhenTooSmallAndIsBounded) {
    EnumerateAll(kScopeConnected, 0, nullptr);
    EXPECT_EQ(sys.listCapacities, std::vector<std::size_t>{16 * 1024});
    sys.listCapacities.clear();
    sys.extraDeviceNames = 2000;  // 44 K characters
    EXPECT_EQ(EnumerateAll(kScopeConnected, 0, nullptr).size(), 1u);
    EXPECT_EQ(sys.listCapacities, (std::vector<std::size_t>{16 * 1024, 32 * 1024, 64 * 1024}));
    sys.listCapacities.clear();
    sys.extraDeviceNames = 50000;  // 1.1 M characters: never fits
    long result = 0;
    EnumerateAll(kScopeConnected, 0, nullptr, &result);
    EXPECT_EQ(result, kErrInsufficientBuffer);
    EXPECT_EQ(sys.listCapacities.back(), 1024u * 1024u);
}

TEST_F(Browse, ShortBufferGives234AndSkipsNothing) {
    void* handle = nullptr;
    ASSERT_EQ(np.OpenEnum(kScopeGlobal, 0, 0, nullptr, &handle), 0);
    alignas(8) unsigned char buffer[256];
    std::uint32_t count = 1;
    std::uint32_t size = 10;
    ASSERT_EQ(np.EnumResource(handle, &count, buffer, &size), kErrMoreData);
    // the fixed part plus "All Views" and the provider name, rounded to 4
    const std::uint32_t needed = (sizeof(NetResourceRecord) + 2 * (9 + 1) + 2 * (21 + 1) + 3) & ~3u;
    EXPECT_EQ(size, needed);
    ASSERT_EQ(np.EnumResource(handle, &count, buffer, &size), 0);
    EXPECT_EQ(count, 1u);
    EXPECT_EQ(Narrow(reinterpret_cast<NetResourceRecord*>(buffer)->remoteName), "All Views");
    EXPECT_EQ(np.CloseEnum(handle), 0);
}

TEST_F(Browse, HandlesAndEnds) {
    std::uint32_t count = 1, size = 16;
    unsigned char buffer[16];
    EXPECT_EQ(np.EnumResource(nullptr, &count, buffer, &size), kErrInvalidAddress);
    EXPECT_EQ(np.CloseEnum(nullptr), kErrInvalidAddress);
    int bogus = 0;
    EXPECT_EQ(np.EnumResource(&bogus, &count, buffer, &size), kErrInvalidAddress);
    EXPECT_EQ(np.CloseEnum(&bogus), kErrInvalidAddress);
    EXPECT_EQ(np.OpenEnum(kScopeGlobal, 0, 0, nullptr, nullptr), kErrInvalidAddress);

    libs.SetViews({});
    void* handle = nullptr;
    ASSERT_EQ(np.OpenEnum(kScopeGlobal, 0, 0, nullptr, &handle), 0);
    NetResourceIn r = Res(u"All Views", nullptr, nullptr, 0);
    void* empty = nullptr;
    ASSERT_EQ(np.OpenEnum(kScopeGlobal, 0, 0, &r, &empty), 0);
    EXPECT_EQ(np.EnumResource(empty, &count, buffer, &size), kErrNoMoreItems);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(np.CloseEnum(empty), 0);
    EXPECT_EQ(np.CloseEnum(handle), 0);
}

TEST_F(Browse, ViewsAreNoContainersAndOtherRequestsAreUnexpected) {
    long result = 0;
    EnumerateAll(kScopeGlobal, 0, u"\\\\view\\t1", &result);
    EXPECT_EQ(result, kErrNotContainer);
    EnumerateAll(kScopeGlobal, 0, u"Somewhere", &result);
    EXPECT_EQ(result, kErrBadNetName);
    EXPECT_EQ(sys.debug.back(),
              "vtrelnp(pid: 42, tid: 7) NPOpenEnum(2,0,0,Somewhere): Unxpected request\n");
    EnumerateAll(3, 0, nullptr, &result);
    EXPECT_EQ(result, kErrBadNetName);
}

TEST_F(Browse, EachEnumerationKeepsItsOwnCopy) {
    NetResourceIn r = Res(u"All Views", nullptr, nullptr, 0);
    void* first = nullptr;
    ASSERT_EQ(np.OpenEnum(kScopeGlobal, 0, 0, &r, &first), 0);
    libs.SetViews({{"other", "h"}});
    EXPECT_EQ(EnumerateAll(kScopeGlobal, 0, u"All Views").size(), 1u);
    int listed = 0;
    alignas(8) unsigned char buffer[256];
    std::uint32_t count = 1, size = sizeof buffer;
    while (np.EnumResource(first, &count, buffer, &size) == 0) {
        ++listed;
        size = sizeof buffer;
    }
    EXPECT_EQ(listed, 3);
    EXPECT_EQ(np.CloseEnum(first), 0);
}

TEST_F(Browse, ResourceInformation) {
    alignas(8) unsigned char buffer[512];
    std::uint32_t size = sizeof buffer;
    char16_t* systemPart = nullptr;
    NetResourceIn r = Res(u"\\\\view\\t2\\src\\lib\\", nullptr, nullptr, 0);
    ASSERT_EQ(np.GetResourceInformation(&r, buffer, &size, &systemPart), 0);
    const auto* rec = reinterpret_cast<NetResourceRecord*>(buffer);
    EXPECT_EQ(Describe(*rec), "-|\\\\view\\t2|3|1|otherhost");
    EXPECT_EQ(rec->type, kTypeDisk);
    ASSERT_NE(systemPart, nullptr);
    EXPECT_EQ(Narrow(systemPart), "\\src\\lib");
    EXPECT_GT(reinterpret_cast<unsigned char*>(systemPart), buffer);

    r = Res(u"\\\\view\\t1", nullptr, kProviderName, 1);
    ASSERT_EQ(np.GetResourceInformation(&r, buffer, &size, &systemPart), 0);
    EXPECT_EQ(systemPart, nullptr);

    const std::pair<const char16_t*, std::uint32_t> tops[] = {
        {u"\\\\view", kDisplayServer},
        {u"Vantrel Dynamic Views", kDisplayNetwork},
        {u"All Views", kDisplayContainer},
        {u"Views on BUILDHOST", kDisplayContainer},
        {u"Recently Used Views", kDisplayContainer}};
    for (const auto& [name, display] : tops) {
        r = Res(name, nullptr, nullptr, 0);
        size = sizeof buffer;
        ASSERT_EQ(np.GetResourceInformation(&r, buffer, &size, &systemPart), 0) << Narrow(name);
        EXPECT_EQ(rec->displayType, display) << Narrow(name);
    }
    size = 8;
    EXPECT_EQ(np.GetResourceInformation(&r, buffer, &size, &systemPart), kErrMoreData);
    EXPECT_GT(size, 8u);
}

TEST_F(Browse, ResourceInformationRefusals) {
    alignas(8) unsigned char buffer[512];
    std::uint32_t size = sizeof buffer;
    NetResourceIn r = Res(u"\\\\view\\nosuch", nullptr, nullptr, 0);
    EXPECT_EQ(np.GetResourceInformation(&r, buffer, &size, nullptr), kErrBadNetName);
    r = Res(u"\\\\view\\t1", nullptr, u"Microsoft Windows Network", 0);
    EXPECT_EQ(np.GetResourceInformation(&r, buffer, &size, nullptr), kErrBadNetName);
    r = Res(u"\\\\view\\t1", nullptr, nullptr, 2);
    EXPECT_EQ(np.GetResourceInformation(&r, buffer, &size, nullptr), kErrBadDevType);
    r = Res(u"\\\\server\\share", nullptr, nullptr, 0);
    EXPECT_EQ(np.GetResourceInformation(&r, buffer, &size, nullptr), kErrBadNetName);
    EXPECT_EQ(np.GetResourceInformation(nullptr, buffer, &size, nullptr), kErrInvalidAddress);
}

TEST_F(Browse, ResourceParents) {
    alignas(8) unsigned char buffer[512];
    const auto* rec = reinterpret_cast<NetResourceRecord*>(buffer);
    auto parent = [&](const char16_t* name) {
        NetResourceIn r = Res(name, nullptr, kProviderName, 0);
        std::uint32_t size = sizeof buffer;
        const long result = np.GetResourceParent(&r, buffer, &size);
        return result == 0 ? Describe(*rec) : "error " + std::to_string(result);
    };
    EXPECT_EQ(parent(u"\\\\view\\t1"), "-|\\\\view|2|2|-");
    EXPECT_EQ(parent(u"\\\\view\\t1\\src"), "-|\\\\view\\t1|3|1|Vantrel View");
    EXPECT_EQ(parent(u"\\\\view"), "-|All Views|9|2|-");
    EXPECT_EQ(parent(u"All Views"), "-|Vantrel Dynamic Views|6|2147483650|-");
    EXPECT_EQ(parent(u"Recently Used Views"), "-|Vantrel Dynamic Views|6|2147483650|-");
    EXPECT_EQ(parent(u"Views on BUILDHOST"), "-|Vantrel Dynamic Views|6|2147483650|-");
    EXPECT_EQ(parent(u"\\\\server\\share"), "error 67");

    NetResourceIn r = Res(u"\\\\view\\t1", nullptr, nullptr, 0);
    std::uint32_t size = sizeof buffer;
    EXPECT_EQ(np.GetResourceParent(&r, buffer, &size), kErrBadNetName);  // provider name needed
    r = Res(u"\\\\view\\t1", nullptr, kProviderName, 3);
    EXPECT_EQ(np.GetResourceParent(&r, buffer, &size), kErrBadDevType);
}

// The router calls from several threads. While the registry server takes
// its time over one thread's list of views, another thread's enumeration,
// connection and lookup of one tag go on.
TEST_F(Browse, ASlowRegistryServerHoldsUpNoOtherThread) {
    void* top = nullptr;
    ASSERT_EQ(np.OpenEnum(kScopeGlobal, 0, 0, nullptr, &top), 0);
    std::promise<void> inServer;
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::atomic<bool> held{false};
    libs.onCall = [&](const std::string& name) {
        if (name == "rgy_get_entry" && !held.exchange(true)) {
            inServer.set_value();
            released.wait();
        }
    };
    Strings slowList;
    std::thread slow([&] { slowList = EnumerateAll(kScopeGlobal, 0, u"All Views"); });
    inServer.get_future().wait();

    auto others = std::async(std::launch::async, [&] {
        int listed = 0;
        alignas(8) unsigned char buffer[512];
        std::uint32_t count = 1;
        std::uint32_t size = sizeof buffer;
        while (np.EnumResource(top, &count, buffer, &size) == 0) {
            ++listed;
            size = sizeof buffer;
        }
        np.CloseEnum(top);
        return std::make_pair(listed, Add(u"\\\\view\\t1", u"Q:"));
    });
    // Only a fault lets this wait run out: then the server is let go too.
    const bool finished = others.wait_for(std::chrono::seconds(30)) == std::future_status::ready;
    release.set_value();
    slow.join();
    ASSERT_TRUE(finished) << "another thread waited for the registry server";
    const auto [listed, added] = others.get();
    EXPECT_EQ(listed, 3);
    EXPECT_EQ(added, 0);
    EXPECT_EQ(Narrow(sys.Target(u"Q:")), "\\??\\M:\\t1");
    EXPECT_EQ(slowList.size(), 3u);
}

}  // namespace
}  // namespace vtrelnp::testing
