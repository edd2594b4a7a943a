#include <gtest/gtest.h>

#include <cstring>

#include "libkorvant/FakePlatform.h"
#include "libkorvant/NameList.h"
#include "libkorvant/RegistryStore.h"
#include "libkorvant/ValueFormats.h"

namespace korvant {
namespace {

using testing::FakePlatform;

constexpr const char* kLmKey = "HKLM\\Software\\Korva\\Vantrel\\CurrentVersion";
constexpr const char* kCuKey = "HKCU\\Software\\Korva\\Vantrel\\CurrentVersion";

class Lists : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_EQ(fake.OpenHandles(), 0u) << "a key was left open"; }
    std::string Kivs() { return fake.GetString(kCuKey, "PersistentKIVs"); }
    std::string Recent() { return fake.GetString(kCuKey, "RecentlyUsedViews"); }
    FakePlatform fake;
    SystemInfo system{fake};
    RegistryStore store{fake, system};
};

TEST_F(Lists, PersistentRepositoriesAddOnceAndWithinTheLimit) {
    EXPECT_EQ(store.AddPersistentKiv("alpha"), 0);
    EXPECT_EQ(Kivs(), "alpha");
    EXPECT_EQ(store.AddPersistentKiv("beta"), 0);
    EXPECT_EQ(store.AddPersistentKiv("alpha"), 0);
    EXPECT_EQ(Kivs(), "alpha,beta");
    EXPECT_EQ(store.AddPersistentKiv("alph"), 0);  // exact comparison, not a prefix
    EXPECT_EQ(Kivs(), "alpha,beta,alph");

    const std::string full(2046 - 15, 'x');
    fake.PutString(kCuKey, "PersistentKIVs", "alpha,beta,alph");
    EXPECT_EQ(store.AddPersistentKiv(full.c_str()), 0);
    EXPECT_EQ(Kivs(), "alpha,beta,alph," + full);
    EXPECT_EQ(store.AddPersistentKiv("y"), 0);
    EXPECT_EQ(Kivs().size(), 2047u) << "a longer list is never written";
    EXPECT_EQ(store.AddPersistentKiv(std::string(5000, 'z').c_str()), 0);
    EXPECT_EQ(Kivs().size(), 2047u);
    EXPECT_EQ(store.AddPersistentKiv(nullptr), 87);
}

TEST_F(Lists, OverlongStoredListIsRefusedNotCopied) {
    fake.PutString(kCuKey, "PersistentKIVs", std::string(3000, 'q'));
    EXPECT_EQ(store.AddPersistentKiv("a"), 234);
    EXPECT_EQ(Kivs().size(), 3000u);
}

TEST_F(Lists, RemovingWritesBackInEveryCase) {
    fake.PutString(kCuKey, "PersistentKIVs", "a,b,c");
    EXPECT_EQ(store.RemovePersistentKiv("b"), 0);
    EXPECT_EQ(Kivs(), "a,c");
    EXPECT_EQ(store.RemovePersistentKiv("a"), 0);
    EXPECT_EQ(Kivs(), "c");
    EXPECT_EQ(store.RemovePersistentKiv("zz"), 0);
    EXPECT_EQ(Kivs(), "c");
    EXPECT_EQ(store.RemovePersistentKiv("c"), 0);
    EXPECT_EQ(Kivs(), "");
    fake.PutString(kCuKey, "PersistentKIVs", "kept");
    fake.Find(kCuKey)->values.erase("unrelated");
    EXPECT_EQ(store.RemovePersistentKiv(nullptr), 0);
    EXPECT_EQ(Kivs(), "kept");
    fake.PutString(kCuKey, "PersistentKIVs", "a,b,a,c");
    EXPECT_EQ(store.RemovePersistentKiv("a"), 0);
    EXPECT_EQ(Kivs(), "b,a,c");  // the first only
}

TEST_F(Lists, RecentViewsMoveToFrontAndDropTheOldest) {
    for (const char* tag : {"v1", "v2", "v3", "v4", "v5"}) {
        EXPECT_EQ(store.AddToRecentViews(tag), 0);
    }
    ASSERT_NE(fake.Get(kCuKey, "RecentlyUsedViewsMaxLen"), nullptr);
    EXPECT_EQ(fake.Get(kCuKey, "RecentlyUsedViewsMaxLen")->data,
              (std::vector<std::uint8_t>{5, 0, 0, 0}));
    EXPECT_EQ(Recent(), "v5,v4,v3,v2,v1");
    EXPECT_EQ(store.AddToRecentViews("v3"), 0);
    EXPECT_EQ(Recent(), "v3,v5,v4,v2,v1");
    EXPECT_EQ(store.AddToRecentViews("v6"), 0);
    EXPECT_EQ(Recent(), "v6,v3,v5,v4,v2");
    EXPECT_EQ(store.DelFromRecentViews("v5"), 0);
    EXPECT_EQ(Recent(), "v6,v3,v4,v2");

    fake.PutDword(kCuKey, "RecentlyUsedViewsMaxLen", 0);
    EXPECT_EQ(store.AddToRecentViews("v7"), 0);
    EXPECT_EQ(Recent(), "");
    fake.PutDword(kCuKey, "RecentlyUsedViewsMaxLen", 0xFFFFFFFF);  // -1
    EXPECT_EQ(store.AddToRecentViews("v7"), 0);
    EXPECT_EQ(Recent(), "");
    EXPECT_EQ(store.AddToRecentViews(nullptr), 87);

    fake.PutDword(kCuKey, "RecentlyUsedViewsMaxLen", 5);
    fake.PutString(kCuKey, "RecentlyUsedViews", "v1,v2");
    EXPECT_EQ(store.AddToRecentViews(""), 0);
    EXPECT_EQ(Recent(), "v1,v2");
}

TEST(NameList, RecentViewsStayUnder2047Characters) {
    const std::string old = std::string(1500, 'a') + "," + std::string(600, 'b');
    const std::string result = RecentViewsWith(old, "new", 10);
    EXPECT_EQ(result, "new," + std::string(1500, 'a'));
    EXPECT_LT(RecentViewsWith(result, std::string(2046, 'c'), 10).size(), 2047u);
    EXPECT_EQ(RecentViewsWith("x", std::string(2047, 'c'), 10), "");
    EXPECT_EQ(JoinList(SplitList("a,,b")), "a,,b");
}

TEST_F(Lists, TreeRemovalStopsAtSoftware) {
    fake.PutString(std::string(kLmKey) + "\\Security", "RegPasswd", "pw");
    fake.PutString(kLmKey, "Region", "r");
    fake.PutString("HKLM\\Software\\Other", "x", "y");
    EXPECT_EQ(store.DelVantrelTree(nullptr), 0);
    EXPECT_FALSE(fake.HasKey("HKLM\\Software\\Korva"));
    EXPECT_TRUE(fake.HasKey("HKLM\\Software\\Other"));
    EXPECT_TRUE(fake.HasKey("HKLM\\Software"));
    EXPECT_EQ(store.DelVantrelTree(nullptr), 0) << "keys already gone count as removed";
}

TEST_F(Lists, TreeRemovalStopsQuietlyWhereAccessIsDenied) {
    fake.PutString(std::string(kLmKey) + "\\Security", "RegPasswd", "pw");
    fake.PutString("HKLM\\Software\\Korva\\Vantrel\\Other", "x", "y");  // a sibling blocks Vantrel
    EXPECT_EQ(store.DelVantrelTree(nullptr), 0);
    EXPECT_FALSE(fake.HasKey(kLmKey));
    EXPECT_TRUE(fake.HasKey("HKLM\\Software\\Korva\\Vantrel\\Other"));
    EXPECT_EQ(store.DelVantrelTree("nowhere"), 53);
}

TEST_F(Lists, RegistryServerPasswordAndServerType) {
    EXPECT_EQ(store.SetRgyPasswd("secret", nullptr), 0);
    EXPECT_EQ(fake.GetString(std::string(kLmKey) + "\\Security", "RegPasswd"), "secret");
    char text[4];
    std::uint32_t size = sizeof text;
    EXPECT_EQ(store.GetRgyPasswd(text, &size, nullptr), 234);
    char big[16];
    size = sizeof big;
    EXPECT_EQ(store.GetRgyPasswd(big, &size, nullptr), 0);
    EXPECT_STREQ(big, "secret");
    EXPECT_EQ(store.SetRgyPasswd(nullptr, nullptr), 87);
    EXPECT_EQ(store.DelRgySvrtype(nullptr), 0);
    fake.PutString(kLmKey, "ServerType", "x");
    EXPECT_EQ(store.DelRgySvrtype(nullptr), 0);
    EXPECT_EQ(fake.Get(kLmKey, "ServerType"), nullptr);
}

TEST_F(Lists, AdminsArePrivilegedByComputerNameHashCachedOnce) {
    EXPECT_EQ(AdminsValueName("HOST1"), "AdminsArePrivileged_-1365408529");
    fake.PutDword(kLmKey, AdminsValueName("HOST1"), 1);
    EXPECT_EQ(store.AdminsArePrivileged(), 1);
    fake.PutDword(kLmKey, AdminsValueName("HOST1"), 0);
    EXPECT_EQ(store.AdminsArePrivileged(), 1);

    RegistryStore zero(fake, system);
    EXPECT_EQ(zero.AdminsArePrivileged(), 0);
    fake.computerName = "ABCDEFGHIJKLMNOPQ";  // 17 characters
    fake.PutDword(kLmKey, AdminsValueName(fake.computerName), 1);
    RegistryStore tooLong(fake, system);
    EXPECT_EQ(tooLong.AdminsArePrivileged(), 0);
    fake.haveComputerName = false;
    RegistryStore nameless(fake, system);
    EXPECT_EQ(nameless.AdminsArePrivileged(), 0);
}

class Win32s : public Lists {
protected:
    Win32s() { fake.env["KORVA_FORCE_PLATFORM"] = "win32s"; }
    std::string Profile(const char* key) { return fake.ProfileGet("Korva", key); }
};

TEST_F(Win32s, ParametersLiveInTheKorvaProfileSection) {
    EXPECT_EQ(store.SetParam(8, reinterpret_cast<std::uintptr_t>("C:\\korva"), nullptr), 0);
    EXPECT_EQ(Profile("ProductHome"), "C:\\korva");
    EXPECT_EQ(store.SetParam(41, 1, nullptr), 0);
    EXPECT_EQ(Profile("LargeRIDs"), "1");
    std::uint32_t number = 0;
    std::uint32_t size = sizeof number;
    EXPECT_EQ(store.GetParam(41, &size, &number, nullptr), 0);
    EXPECT_EQ(number, 1u);
    char text[32];
    size = sizeof text;
    EXPECT_EQ(store.GetParam(8, &size, text, nullptr), 0);
    EXPECT_STREQ(text, "C:\\korva");
    size = sizeof text;
    EXPECT_EQ(store.GetParam(1, &size, text, nullptr), 2);
    EXPECT_EQ(store.GetParam(8, &size, text, "HOST1"), 120);
    RegKey key = 0;
    EXPECT_EQ(store.ConnectRemote("HOST1", kHkeyLocalMachine, &key), 120);
    EXPECT_EQ(store.DelParam(8, nullptr), 0);
    EXPECT_EQ(Profile("ProductHome"), "");
    EXPECT_FALSE(fake.HasKey("HKLM\\Software\\Korva"));
    EXPECT_EQ(store.CloseKey(1234), 0);

    EXPECT_EQ(store.SetAppGeometry("tool", 1, 2, 3, 4, nullptr), 0);
    EXPECT_EQ(Profile("toolGeometry"), "1 2 3 4");
    EXPECT_EQ(store.SetAppParam("tool", "Big", kRegDwordBigEndian, 0x01020304, nullptr), 0);
    EXPECT_EQ(Profile("toolBig"), "16909060");
    std::int32_t x = 0, y = 0, w = 0, h = 0;
    EXPECT_EQ(store.GetAppGeometry("tool", &x, &y, &w, &h, nullptr), 0);
    EXPECT_EQ(w, 3);
    EXPECT_EQ(store.AddPersistentKiv("k1"), 0);
    EXPECT_EQ(store.AddPersistentKiv("k2"), 0);
    EXPECT_EQ(Profile("PersistentKIVs"), "k1,k2");
    EXPECT_EQ(store.DelVantrelTree(nullptr), 0);
    std::uint64_t time = 0;
    EXPECT_EQ(store.CommonKeyModtime(&time, nullptr), 0);
}

TEST_F(Win32s, DamagedProfileEntriesGiveErrors) {
    fake.profile["Korva"]["LargeRIDs"] = "one";
    std::uint32_t number = 0;
    std::uint32_t size = sizeof number;
    EXPECT_EQ(store.GetParam(41, &size, &number, nullptr), 13);
    fake.profile["Korva"]["toolGeometry"] = "1 2 x 4";
    std::int32_t x = 0;
    EXPECT_EQ(store.GetAppGeometry("tool", &x, &x, &x, &x, nullptr), 13);
    fake.profile["Korva"]["Region"] = std::string(100, 'r');
    char text[8];
    std::memset(text, 'Z', sizeof text);
    size = 4;
    EXPECT_EQ(store.GetParam(1, &size, text, nullptr), 234);
    EXPECT_EQ(text[0], 'Z');
    EXPECT_EQ(size, 101u);
    fake.profile["Korva"]["RecentlyUsedViewsMaxLen"] = "2";
    fake.profile["Korva"]["RecentlyUsedViews"] = "a,b,c";
    EXPECT_EQ(store.AddToRecentViews("n"), 0);
    EXPECT_EQ(Profile("RecentlyUsedViews"), "n,a");
}

}  // namespace
}  // namespace korvant
