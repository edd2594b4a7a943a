#include <gtest/gtest.h>

#include <cstring>

#include "libkorvant/FakePlatform.h"
#include "libkorvant/RegistryStore.h"

namespace korvant {
namespace {

using testing::FakePlatform;

constexpr const char* kLmKey = "HKLM\\Software\\Korva\\Vantrel\\CurrentVersion";
constexpr const char* kCuKey = "HKCU\\Software\\Korva\\Vantrel\\CurrentVersion";
constexpr const char* kDriverKey = "HKLM\\SYSTEM\\CurrentControlSet\\Services\\dlfs\\Parameters";

class Store : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_EQ(fake.OpenHandles(), 0u) << "a key was left open"; }
    FakePlatform fake;
    SystemInfo system{fake};
    RegistryStore store{fake, system};
};

TEST_F(Store, CommonKeysFollowProductTypeOnFirstUseOnly) {
    EXPECT_STREQ(store.CommonKey(), "\\Software\\Korva\\Vantrel\\CurrentVersion");
    EXPECT_EQ(store.SetProductType("Other", "Thing", "2.0"), 0);
    EXPECT_STREQ(store.CommonKey(), "\\Software\\Korva\\Vantrel\\CurrentVersion");
    EXPECT_STREQ(store.CommonKeyMfcStyle(), "Other\\Thing\\2.0");

    RegistryStore fresh(fake, system);
    EXPECT_EQ(fresh.SetProductType("Korva", "", "CurrentVersion"), 0);
    EXPECT_STREQ(fresh.CommonKey(), "\\Software\\Korva\\CurrentVersion");

    RegistryStore nulls(fake, system);
    nulls.SetProductType(nullptr, "Ignored", nullptr);
    const char *company = nullptr, *product = nullptr, *version = nullptr;
    nulls.GetProductType(&company, &product, &version);
    EXPECT_STREQ(company, "Korva");
    EXPECT_STREQ(product, "");
    EXPECT_STREQ(version, "");
    EXPECT_STREQ(nulls.CommonKey(), "\\Software\\Korva");
    nulls.GetProductType(nullptr, &product, nullptr);  // skipped as a pair

    const std::string longName(RegistryStore::kMaxProductName + 1, 'x');
    EXPECT_EQ(nulls.SetProductType(longName.c_str(), "a", "b"), 87);
}

TEST_F(Store, CreateValueWalksAndCreatesThePath) {
    fake.PutString("HKLM\\Software\\Korva", "keep", "1");
    RegKey key = 0;
    const char text[] = "hello";
    ASSERT_EQ(store.CreateValue(kHkeyLocalMachine, "\\\\Software\\Korva\\New\\Deeper", "v", text,
                                sizeof text, kRegSz, &key),
              0);
    EXPECT_NE(key, 0u);
    EXPECT_EQ(fake.OpenHandles(), 1u) << "only the returned key stays open";
    EXPECT_EQ(store.CloseKey(key), 0);
    EXPECT_EQ(fake.GetString("HKLM\\Software\\Korva\\New\\Deeper", "v"), "hello");
    EXPECT_EQ(fake.GetString("HKLM\\Software\\Korva", "keep"), "1");

    // All components exist: the last one is reopened for writing.
    const std::uint32_t number = 7;
    ASSERT_EQ(store.CreateValue(kHkeyLocalMachine, "Software\\Korva\\New", "n", &number, 4,
                                kRegDword, nullptr),
              0);
    EXPECT_EQ(fake.Get("HKLM\\Software\\Korva\\New", "n")->type, kRegDword);
    EXPECT_EQ(store.CreateValue(kHkeyLocalMachine, nullptr, "n", &number, 4, kRegDword, nullptr),
              87);
}

TEST_F(Store, CreateValueBelowTheCallersKeyLeavesThatKeyOpen) {
    fake.PutString("HKLM\\Software\\Korva", "keep", "1");
    RegKey root = 0;
    ASSERT_EQ(store.GetHandle(kHkeyLocalMachine, "Software", kKeyRead | kKeyWrite, &root), 0);
    RegKey key = 0;
    ASSERT_EQ(store.CreateValue(root, "Korva\\A\\B", "v", "x", 2, kRegSz, &key), 0);
    EXPECT_EQ(fake.OpenHandles(), 2u);
    EXPECT_EQ(store.CloseKey(key), 0);
    ASSERT_EQ(store.CreateValue(root, "Korva\\A", "w", "y", 2, kRegSz, nullptr), 0);
    ASSERT_EQ(store.CreateValue(root, "", "z", "y", 2, kRegSz, nullptr), 0);
    EXPECT_EQ(fake.GetString("HKLM\\Software\\Korva\\A\\B", "v"), "x");
    EXPECT_EQ(fake.GetString("HKLM\\Software", "z"), "y");
    EXPECT_EQ(fake.OpenHandles(), 1u);
    EXPECT_EQ(store.CloseKey(root), 0) << "the caller's key must still be open";
}

TEST_F(Store, GetValueLeavesKeyOpenOnlyOnSuccess) {
    fake.PutString(kLmKey, "Region", "north");
    char buffer[32];
    std::uint32_t size = sizeof buffer;
    RegKey key = 0;
    ASSERT_EQ(store.GetValue(kHkeyLocalMachine, store.CommonKey(), "Region", buffer, &size, &key),
              0);
    EXPECT_STREQ(buffer, "north");
    EXPECT_NE(key, 0u);
    store.CloseKey(key);
    size = sizeof buffer;
    EXPECT_EQ(store.GetValue(kHkeyLocalMachine, store.CommonKey(), "Missing", buffer, &size, &key),
              2);
    EXPECT_EQ(key, 0u);
    EXPECT_EQ(store.GetValue(kHkeyLocalMachine, "\\No\\Such", "x", buffer, &size, &key), 2);
    EXPECT_EQ(store.GetHandle(kHkeyLocalMachine, nullptr, kKeyRead, &key), 87);
}

TEST_F(Store, MultiStringReadsAlwaysEndTheList) {
    auto read = [&](const std::string& stored, std::uint32_t capacity, std::string* got) {
        fake.Put(kLmKey, "ProductInfoKeys", kRegMultiSz, stored.data(), stored.size());
        char buffer[16];
        std::memset(buffer, 'Z', sizeof buffer);
        std::uint32_t size = capacity;
        const long error = store.GetValue(kHkeyLocalMachine, store.CommonKey(), "ProductInfoKeys",
                                          buffer, &size, nullptr);
        got->assign(buffer, capacity);
        return error;
    };
    std::string got;
    EXPECT_EQ(read(std::string("a\0bb\0", 5), 5, &got), 234);
    EXPECT_EQ(read(std::string("a\0bb\0", 5), 6, &got), 0);
    EXPECT_EQ(got, std::string("a\0bb\0\0", 6));
    EXPECT_EQ(read(std::string("a\0bb\0\0", 6), 6, &got), 0);
    EXPECT_EQ(got, std::string("a\0bb\0\0", 6));
    EXPECT_EQ(read(std::string("\0", 1), 1, &got), 0);  // the empty list
    EXPECT_EQ(read(std::string("ab", 2), 4, &got), 0);
    EXPECT_EQ(got, std::string("ab\0\0", 4));
    EXPECT_EQ(read(std::string("ab", 2), 3, &got), 234);
}

TEST_F(Store, WrongTypeIsReportedBeforeTheSize) {
    fake.PutString(kCuKey, "RecentlyUsedViewsMaxLen", "three");
    std::uint32_t number = 0;
    std::uint32_t size = sizeof number;
    EXPECT_EQ(store.GetParam(21, &size, &number, nullptr), 13);
    fake.PutDword(kLmKey, "ProductHome", 7);
    char text[2];
    size = sizeof text;
    EXPECT_EQ(store.GetParam(8, &size, text, nullptr), 13);
}

TEST_F(Store, MultiStringThatFillsTheBufferIsNotOverrun) {
    const char list[] = {'a', '\0', 'b', '\0'};  // written without its final terminator
    fake.Put(kLmKey, "ProductInfoKeys", kRegMultiSz, list, sizeof list);
    char buffer[8];
    std::memset(buffer, 'Z', sizeof buffer);
    std::uint32_t size = 5;
    ASSERT_EQ(store.GetValue(kHkeyLocalMachine, store.CommonKey(), "ProductInfoKeys", buffer, &size,
                             nullptr),
              0);
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(buffer[4], '\0');
    EXPECT_EQ(buffer[5], 'Z');

    std::memset(buffer, 'Z', sizeof buffer);
    size = 4;  // exactly the stored length: no room for the list's end
    EXPECT_EQ(store.GetValue(kHkeyLocalMachine, store.CommonKey(), "ProductInfoKeys", buffer, &size,
                             nullptr),
              234);
    EXPECT_EQ(buffer[4], 'Z');

    const char unterminated[] = {'a', 'b', 'c'};
    fake.Put(kLmKey, "ProductInfoKeys", kRegMultiSz, unterminated, sizeof unterminated);
    std::memset(buffer, 'Z', sizeof buffer);
    size = 3;
    EXPECT_EQ(store.GetValue(kHkeyLocalMachine, store.CommonKey(), "ProductInfoKeys", buffer, &size,
                             nullptr),
              234);
    EXPECT_EQ(buffer[3], 'Z');
}

TEST_F(Store, ProductParametersRoundTripByType) {
    const char* home = "C:\\korva";
    EXPECT_EQ(store.SetParam(8, reinterpret_cast<std::uintptr_t>(home), nullptr), 0);
    EXPECT_EQ(fake.GetString(kLmKey, "ProductHome"), "C:\\korva");
    EXPECT_EQ(fake.Get(kLmKey, "ProductHome")->data.size(), 9u);
    EXPECT_EQ(store.SetParam(25, 1, nullptr), 0);  // Connected lives per user
    ASSERT_NE(fake.Get(kCuKey, "Connected"), nullptr);
    EXPECT_EQ(fake.Get(kCuKey, "Connected")->data.size(), 4u);

    std::uint32_t number = 0;
    std::uint32_t size = sizeof number;
    EXPECT_EQ(store.GetParam(25, &size, &number, nullptr), 0);
    EXPECT_EQ(number, 1u);
    char text[64];
    size = sizeof text;
    EXPECT_EQ(store.GetParam(8, &size, text, nullptr), 0);
    EXPECT_STREQ(text, "C:\\korva");

    const char multi[] = "one\0two\0";
    EXPECT_EQ(store.SetParam(48, reinterpret_cast<std::uintptr_t>(multi), nullptr), 0);
    EXPECT_EQ(fake.Get(kLmKey, "CredmapAllowedDomainList")->data.size(), 8u);
    EXPECT_EQ(store.SetParam(48, reinterpret_cast<std::uintptr_t>(""), nullptr), 0);
    EXPECT_EQ(fake.Get(kLmKey, "CredmapAllowedDomainList")->data.size(), 0u);

    EXPECT_EQ(store.DelParam(8, nullptr), 0);
    EXPECT_EQ(fake.Get(kLmKey, "ProductHome"), nullptr);
    size = sizeof text;
    EXPECT_EQ(store.GetParam(8, &size, text, nullptr), 2);
    EXPECT_EQ(store.DelParam(8, nullptr), 2);

    EXPECT_EQ(store.GetDatatype(6), kRegMultiSz);
    EXPECT_EQ(store.GetDatatype(62), kRegDword);
    EXPECT_EQ(store.GetDatatype(4), kRegNone);
    EXPECT_EQ(store.GetDatatype(63), kRegNone);
    EXPECT_EQ(store.GetParam(53, &size, text, nullptr), 87);
    EXPECT_EQ(store.SetParam(-1, 0, nullptr), 87);
    EXPECT_EQ(store.SetParam(8, 0, nullptr), 87);  // null string
    EXPECT_EQ(store.GetParam(8, nullptr, text, nullptr), 87);
}

TEST_F(Store, WrongTypeOrSizeIsRefusedWithoutOverrun) {
    fake.PutString(kLmKey, "LargeRIDs", "1");  // a string where a number belongs
    std::uint32_t number = 0;
    std::uint32_t size = sizeof number;
    EXPECT_EQ(store.GetParam(41, &size, &number, nullptr), 13);
    fake.PutDword(kLmKey, "ProductHome", 5);
    char text[8];
    size = sizeof text;
    EXPECT_EQ(store.GetParam(8, &size, text, nullptr), 13);
    const std::uint16_t shortValue = 1;
    fake.Put(kLmKey, "LargeRIDs", kRegDword, &shortValue, 2);
    size = sizeof number;
    EXPECT_EQ(store.GetParam(41, &size, &number, nullptr), 13);

    fake.PutString(kLmKey, "Region", "0123456789");
    std::memset(text, 'Z', sizeof text);
    size = sizeof text;
    EXPECT_EQ(store.GetParam(1, &size, text, nullptr), 234);
    const char exact[] = {'a', 'b', 'c', 'd'};  // stored without a terminator
    fake.Put(kLmKey, "Region", kRegSz, exact, sizeof exact);
    size = 4;
    EXPECT_EQ(store.GetParam(1, &size, text, nullptr), 234);
    size = sizeof text;
    EXPECT_EQ(store.GetParam(1, &size, text, nullptr), 0);
    EXPECT_STREQ(text, "abcd");
}

TEST_F(Store, DriverParametersDefaultsAndTheProtectedSuffix) {
    EXPECT_EQ(store.SetDlfsParam(21, reinterpret_cast<std::uintptr_t>("##"), nullptr), 160);
    EXPECT_FALSE(fake.HasKey(kDriverKey));
    EXPECT_EQ(store.DefaultDlfsParam(21, nullptr), 0);
    EXPECT_FALSE(fake.HasKey(kDriverKey));

    EXPECT_EQ(store.DefaultDlfsParam(35, nullptr), 0);
    std::uint32_t number = 0;
    std::uint32_t size = sizeof number;
    EXPECT_EQ(store.GetDlfsParam(35, &number, &size, nullptr), 0);
    EXPECT_EQ(number, 172800u);
    EXPECT_EQ(store.DefaultDlfsParam(22, nullptr), 0);
    EXPECT_EQ(fake.GetString(kDriverKey, "logdir"), "\\DosDevices\\C:\\dlfslogs");
    EXPECT_EQ(store.SetDlfsParam(25, reinterpret_cast<std::uintptr_t>("Q"), nullptr), 0);
    EXPECT_EQ(fake.GetString(kDriverKey, "drive"), "Q");
    EXPECT_EQ(store.SetDlfsParam(11, 600, nullptr), 0);
    size = sizeof number;
    EXPECT_EQ(store.GetDlfsParam(11, &number, &size, nullptr), 0);
    EXPECT_EQ(number, 600u);
    size = sizeof number;
    EXPECT_EQ(store.GetDlfsParam(0, &number, &size, nullptr), 2) << "no default on read";
    EXPECT_EQ(store.GetDlfsParam(41, &number, &size, nullptr), 87);

    char text[8];
    EXPECT_EQ(store.GetDefaultParam(21, text, 2), 1);
    EXPECT_EQ(store.GetDefaultParam(21, text, 3), 0);
    EXPECT_STREQ(text, "@@");
    EXPECT_EQ(store.GetDefaultParam(24, text, 3), 1);
    EXPECT_EQ(store.GetDefaultParam(24, &number, 4), 0);
    EXPECT_EQ(number, 371u);
    EXPECT_EQ(store.GetDefaultParam(28, text, sizeof text), 0);
    EXPECT_STREQ(text, "view");
    EXPECT_EQ(store.GetDefaultParam(28, nullptr, 8), 87);
}

TEST_F(Store, DriverKeyOutsideNtIsTheVxdKey) {
    fake.env["KORVA_FORCE_PLATFORM"] = "win95";
    SystemInfo win95(fake);
    RegistryStore old(fake, win95);
    EXPECT_EQ(old.DefaultDlfsParam(13, nullptr), 0);
    ASSERT_NE(fake.Get("HKLM\\SYSTEM\\CurrentControlSet\\Services\\VxD\\dlfs\\Parameters", "major"),
              nullptr);
}

TEST_F(Store, ApplicationValuesAndGeometry) {
    EXPECT_EQ(store.SetAppParam("viewer", "Font", kRegSz, reinterpret_cast<std::uintptr_t>("Mono"),
                                nullptr),
              0);
    EXPECT_EQ(fake.GetString(std::string(kCuKey) + "\\viewer", "Font"), "Mono");
    EXPECT_EQ(store.SetAppParam("viewer", "Big", kRegDwordBigEndian, 0x01020304, nullptr), 0);
    const auto* big = fake.Get(std::string(kCuKey) + "\\viewer", "Big");
    ASSERT_NE(big, nullptr);
    EXPECT_EQ(big->data, (std::vector<std::uint8_t>{1, 2, 3, 4}));
    EXPECT_EQ(store.SetAppParam("viewer", "List", kRegMultiSz,
                                reinterpret_cast<std::uintptr_t>("a\0bc\0"), nullptr),
              0);
    EXPECT_EQ(fake.Get(std::string(kCuKey) + "\\viewer", "List")->data.size(), 6u);
    EXPECT_EQ(store.SetAppParam("viewer", "Raw", kRegBinary, 1, nullptr), 87);
    char text[16];
    std::uint32_t size = sizeof text;
    EXPECT_EQ(store.GetAppParam("viewer", "Font", &size, text, nullptr), 0);
    EXPECT_STREQ(text, "Mono");
    EXPECT_EQ(store.GetAppParam(nullptr, "Font", &size, text, nullptr), 87);

    EXPECT_EQ(store.SetAppGeometry("viewer", -10, 20, 640, 480, nullptr), 0);
    EXPECT_EQ(fake.GetString(std::string(kCuKey) + "\\viewer", "Geometry"), "-10 20 640 480");
    std::int32_t x = 0, y = 0, w = 0, h = 0;
    EXPECT_EQ(store.GetAppGeometry("viewer", &x, &y, &w, &h, nullptr), 0);
    EXPECT_EQ(x, -10);
    EXPECT_EQ(h, 480);
    EXPECT_EQ(store.SetAppGeometry("viewer", INT32_MIN, INT32_MIN, INT32_MIN, INT32_MIN, nullptr),
              0);
    EXPECT_EQ(store.GetAppGeometry("viewer", &x, nullptr, nullptr, &h, nullptr), 0);
    EXPECT_EQ(x, INT32_MIN);

    fake.PutString(std::string(kCuKey) + "\\viewer", "Geometry", "1 2 3");
    EXPECT_EQ(store.GetAppGeometry("viewer", &x, &y, &w, &h, nullptr), 13);
    fake.PutString(std::string(kCuKey) + "\\viewer", "Geometry", std::string(60, '7'));
    EXPECT_EQ(store.GetAppGeometry("viewer", &x, &y, &w, &h, nullptr), 234);
    fake.PutDword(std::string(kCuKey) + "\\viewer", "Geometry", 4);
    EXPECT_EQ(store.GetAppGeometry("viewer", &x, &y, &w, &h, nullptr), 13);
}

TEST_F(Store, RemoteMachineIsConnectedAndReleased) {
    fake.machines.insert("HOST1");
    fake.PutString(kLmKey, "Region", "south");
    char text[16];
    std::uint32_t size = sizeof text;
    EXPECT_EQ(store.GetParam(1, &size, text, "\\\\HOST1"), 0);
    EXPECT_STREQ(text, "south");
    EXPECT_EQ(fake.connects, 1);
    EXPECT_EQ(store.GetParam(1, &size, text, "elsewhere"), 53);
    EXPECT_EQ(store.SetDlfsParam(13, 201, "HOST1"), 0);
    RegKey remote = 0;
    EXPECT_EQ(store.ConnectRemote("HOST1", kHkeyLocalMachine, &remote), 0);
    EXPECT_EQ(store.CloseKey(remote), 0);
}

TEST_F(Store, ModTimeAndProductInfoKeys) {
    EXPECT_EQ(store.UpdateProductInfoKeys("alpha=1\nbe\tta\n\nlast-no-newline", nullptr), 0);
    const auto* value = fake.Get(kLmKey, "ProductInfoKeys");
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->type, kRegMultiSz);
    const std::string bytes(value->data.begin(), value->data.end());
    EXPECT_EQ(bytes, std::string("alpha=1\0beta\0\0", 14));
    std::uint64_t first = 0, second = 0;
    EXPECT_EQ(store.CommonKeyModtime(&first, nullptr), 0);
    EXPECT_EQ(store.UpdateProductInfoKeys("x\n", nullptr), 0);
    EXPECT_EQ(store.CommonKeyModtime(&second, nullptr), 0);
    EXPECT_GT(second, first);
    EXPECT_EQ(store.UpdateProductInfoKeys(nullptr, nullptr), 87);
}

}  // namespace
}  // namespace korvant
