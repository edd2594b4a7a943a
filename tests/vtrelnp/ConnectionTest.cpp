#include <algorithm>

#include "vtrelnp/ProviderFixture.h"

namespace vtrelnp::testing {
namespace {

using Connect = ProviderTest;

TEST_F(Connect, BarePrefixMapsTheDriveToTheDriverRootAndStartsNothing) {
    EXPECT_EQ(Add(u"\\\\view", u"Q:"), 0);
    EXPECT_EQ(Narrow(sys.Target(u"Q:")), "\\Device\\dlfs");
    EXPECT_EQ(Add(u"\\\\VIEW\\", u"r"), 0);  // prefix and backslash, any case
    EXPECT_EQ(Narrow(sys.Target(u"R:")), "\\Device\\dlfs");
    EXPECT_TRUE(libs.starts.empty());
}

TEST_F(Connect, ViewWithoutLocalNameOnlyStartsTheView) {
    EXPECT_EQ(Add(u"\\\\view\\t1", nullptr), 0);
    EXPECT_EQ(Add(u"\\\\view\\t2", u""), 0);  // empty local name: no device either
    ASSERT_EQ(libs.starts.size(), 2u);
    EXPECT_EQ(libs.starts[0].tag, "t1");
    EXPECT_EQ(libs.starts[1].tag, "t2");
    EXPECT_TRUE(sys.deviceLog.empty());
}

TEST_F(Connect, ViewWithLocalNameSubstitutesTheDriverDriveAndStarts) {
    EXPECT_EQ(Add(u"\\\\view\\t1", u"q:"), 0);
    EXPECT_EQ(Narrow(sys.Target(u"Q:")), "\\??\\M:\\t1");
    ASSERT_EQ(libs.starts.size(), 1u);
    EXPECT_TRUE(libs.starts[0].inGlobalSection);
    EXPECT_FALSE(libs.starts[0].impersonating);
    EXPECT_EQ(libs.Calls("nt_impersonate_user"), 0);
    // in-use check, definition and start all ran inside the global section
    EXPECT_TRUE(std::all_of(sys.globalHeldAtDeviceChange.begin(),
                            sys.globalHeldAtDeviceChange.end(), [](bool b) { return b; }));
    EXPECT_EQ(libs.globalDepth, 0);
}

TEST_F(Connect, DriveInUseGives85AndStartsNothing) {
    sys.devices[u"Q:"] = {u"\\Device\\HarddiskVolume2"};
    EXPECT_EQ(Add(u"\\\\view\\t1", u"Q:"), kErrAlreadyAssigned);
    sys.physicalDrives |= 1u << ('D' - 'A');
    EXPECT_EQ(Add(u"\\\\view\\t1", u"D"), kErrAlreadyAssigned);
    EXPECT_TRUE(libs.starts.empty());
    EXPECT_EQ(Narrow(sys.Target(u"Q:")), "\\Device\\HarddiskVolume2");
}

TEST_F(Connect, BadRemoteNamesGive67) {
    EXPECT_EQ(Add(u"\\\\view\\a\\b", u"Q:"), kErrBadNetName);
    EXPECT_EQ(Add(u"\\\\view\\nosuch", u"Q:"), kErrBadNetName);
    EXPECT_EQ(Add(u"\\\\viewx\\t1", u"Q:"), kErrBadNetName);
    EXPECT_EQ(Add(u"\\\\server\\share", u"Q:"), kErrBadNetName);
    EXPECT_EQ(Add(nullptr, u"Q:"), kErrBadNetName);
    EXPECT_EQ(np.AddConnection(nullptr, nullptr, nullptr), kErrInvalidAddress);
    EXPECT_TRUE(libs.starts.empty());
    EXPECT_TRUE(sys.deviceLog.empty());
}

// The drive is the local name's first letter, as "Q:\" comes from a
// program that names a root folder.
TEST_F(Connect, LocalNameGivesItsFirstLetter) {
    for (const char16_t* local : {u"Q:\\", u"q:\\", u"Q:x", u"QQ"}) {
        ASSERT_EQ(Add(u"\\\\view\\t1", local), 0) << Narrow(local);
        EXPECT_EQ(Narrow(sys.Target(u"Q:")), "\\??\\M:\\t1") << Narrow(local);
        EXPECT_EQ(np.CancelConnection(u"Q:", false), 0);
    }
    EXPECT_EQ(Add(u"\\\\view", u"r:\\"), 0);
    EXPECT_EQ(Narrow(sys.Target(u"R:")), "\\Device\\dlfs");
    // "M:\" is the driver drive, already in use.
    EXPECT_EQ(Add(u"\\\\view\\t1", u"M:\\"), kErrAlreadyAssigned);
}

TEST_F(Connect, LocalNameMustStartWithADriveLetter) {
    for (const char16_t* local : {u"\\\\x", u"1:", u":", u"\\Q:"}) {
        EXPECT_EQ(Add(u"\\\\view\\t1", local), kErrBadDevice) << Narrow(local);
    }
    EXPECT_TRUE(libs.starts.empty());
    EXPECT_TRUE(sys.deviceLog.empty());
}

TEST_F(Connect, FailingStartLeavesNoMappingBehind) {
    libs.startResults["t1"] = 0x2101;
    EXPECT_EQ(Add(u"\\\\view\\t1", u"Q:"), kErrUnexpectedNetError);
    EXPECT_EQ(sys.devices.count(u"Q:"), 0u);
    EXPECT_NE(sys.Events().find("NPAddConnection(): couldn't startview t1 - [status 8449]"),
              std::string::npos)
        << sys.Events();
    EXPECT_EQ(sys.events.at(0).category, 11);
    EXPECT_EQ(sys.events.at(0).id, 0x400u);
}

TEST_F(Connect, RollBackRemovesExactlyItsOwnDefinition) {
    // Someone stacks a definition of Q: between our define and the start.
    libs.startResults["t1"] = 0x2101;
    sys.globalHeld = [this] {
        if (sys.deviceLog.size() == 1) {
            auto& stack = sys.devices[u"Q:"];
            stack.insert(stack.begin(), u"\\??\\C:\\other");
        }
        return libs.globalDepth > 0;
    };
    EXPECT_EQ(Add(u"\\\\view\\t1", u"Q:"), kErrUnexpectedNetError);
    ASSERT_EQ(sys.devices.count(u"Q:"), 1u);
    EXPECT_EQ(Narrow(sys.Target(u"Q:")), "\\??\\C:\\other");
    EXPECT_EQ(sys.deviceLog.back(), "remove Q: \\??\\M:\\t1");
}

TEST_F(Connect, FailingDefinitionIsReportedAndReturned) {
    sys.defineError = 5;
    EXPECT_EQ(Add(u"\\\\view\\t1", u"Q:"), 5);
    EXPECT_NE(sys.Events().find("NPAddConnection(): couldn't subst drive - [5]"),
              std::string::npos);
    EXPECT_TRUE(libs.starts.empty());
}

TEST_F(Connect, SystemSessionStartsTheViewAsTheLoggedOnUser) {
    sys.systemSession = true;
    EXPECT_EQ(Add(u"\\\\view\\t1", u"Q:"), 0);
    ASSERT_EQ(libs.starts.size(), 1u);
    EXPECT_TRUE(libs.starts[0].impersonating);
    EXPECT_FALSE(libs.impersonating);
    EXPECT_EQ(libs.Calls("nt_revert_to_self"), 1);

    libs.startResults["t2"] = 0x2101;  // reverted on the failure path too
    EXPECT_EQ(Add(u"\\\\view\\t2", u"R:"), kErrUnexpectedNetError);
    EXPECT_FALSE(libs.impersonating);
    EXPECT_EQ(libs.Calls("nt_revert_to_self"), 2);
}

TEST_F(Connect, FailedImpersonationFailsTheCallInsteadOfStartingAsTheService) {
    sys.systemSession = true;
    libs.impersonateResult = 1314;
    EXPECT_EQ(Add(u"\\\\view\\t1", u"Q:"), kErrUnexpectedNetError);
    EXPECT_TRUE(libs.starts.empty());
    EXPECT_EQ(sys.devices.count(u"Q:"), 0u);
}

TEST_F(Connect, MissingCommandLibraryIsAnAbnormalEndThatStillReverts) {
    sys.systemSession = true;
    libs.missing.insert("cmd_startview");
    EXPECT_EQ(Add(u"\\\\view\\t1", u"Q:"), kErrUnexpectedNetError);
    EXPECT_FALSE(libs.impersonating);
    EXPECT_EQ(sys.devices.count(u"Q:"), 0u);
    EXPECT_EQ(libs.globalDepth, 0);
    EXPECT_NE(sys.Events().find("Abnormal termination"), std::string::npos);
}

TEST_F(Connect, CancelKeepsTheDriverDrive) {
    EXPECT_EQ(np.CancelConnection(u"M:", false), kErrDeviceInUse);
    EXPECT_EQ(np.CancelConnection(u"m", true), 0);
    EXPECT_EQ(Narrow(sys.Target(u"M:")), "\\Device\\dlfs");
}

TEST_F(Connect, CancelRemovesAnotherLetterMappedToTheDriverRoot) {
    ASSERT_EQ(Add(u"\\\\view", u"Q:"), 0);
    EXPECT_EQ(np.CancelConnection(u"Q:", false), 0);
    EXPECT_EQ(sys.devices.count(u"Q:"), 0u);
    EXPECT_EQ(sys.deviceLog.back(), "remove Q: \\Device\\dlfs");
    EXPECT_EQ(np.CancelConnection(u"M:", false), kErrDeviceInUse);
    EXPECT_EQ(Narrow(sys.Target(u"M:")), "\\Device\\dlfs");
}

TEST_F(Connect, CancelRemovesAViewDriveByItsCurrentTarget) {
    ASSERT_EQ(Add(u"\\\\view\\t1", u"Q:"), 0);
    EXPECT_EQ(np.CancelConnection(u"Q:", false), 0);
    EXPECT_EQ(sys.devices.count(u"Q:"), 0u);
    EXPECT_EQ(sys.deviceLog.back(), "remove Q: \\??\\M:\\t1");
}

TEST_F(Connect, CancelReportsARealFailureEvenWhenForced) {
    ASSERT_EQ(Add(u"\\\\view\\t1", u"Q:"), 0);
    sys.removeError = 5;
    EXPECT_EQ(np.CancelConnection(u"Q:", true), 5);
    EXPECT_EQ(np.CancelConnection(u"Q:", false), 5);
}

TEST_F(Connect, CancelOfOtherNames) {
    EXPECT_EQ(np.CancelConnection(u"\\\\view\\t1", false), kErrDeviceInUse);
    EXPECT_EQ(np.CancelConnection(u"\\\\view\\t1", true), 0);
    EXPECT_EQ(np.CancelConnection(nullptr, true), kErrBadNetName);
    EXPECT_EQ(np.CancelConnection(u"\\\\server\\share", true), kErrNotConnected);
    EXPECT_EQ(np.CancelConnection(u"", true), kErrBadDevice);
    EXPECT_EQ(np.CancelConnection(u"1:", true), kErrBadDevice);
    sys.devices[u"C:"] = {u"\\Device\\HarddiskVolume1"};
    EXPECT_EQ(np.CancelConnection(u"C:", true), kErrNotConnected);
    EXPECT_EQ(np.CancelConnection(u"K:", true), kErrBadNetName);  // not defined at all
    sys.devices[u"S:"] = {u"\\Device\\dlfs\\.specdev"};
    EXPECT_EQ(np.CancelConnection(u"S:", true), kErrBadNetName);
    EXPECT_EQ(sys.devices.count(u"S:"), 1u);
}

TEST_F(Connect, GetConnectionNeedsTheNameAndItsTerminator) {
    ASSERT_EQ(Add(u"\\\\view\\t1", u"Q:"), 0);
    char16_t buffer[16] = {};
    std::uint32_t size = 5;
    EXPECT_EQ(np.GetConnection(u"Q:", buffer, &size), kErrMoreData);
    EXPECT_EQ(size, 10u);
    EXPECT_EQ(buffer[0], 0);
    size = 9;
    EXPECT_EQ(np.GetConnection(u"Q:", buffer, &size), kErrMoreData);
    size = 10;
    EXPECT_EQ(np.GetConnection(u"q", buffer, &size), 0);
    EXPECT_EQ(Narrow(buffer), "\\\\view\\t1");
    size = 16;
    EXPECT_EQ(np.GetConnection(u"M:", buffer, &size), 0);
    EXPECT_EQ(Narrow(buffer), "\\\\view");
}

TEST_F(Connect, GetConnectionOfOtherNames) {
    char16_t buffer[16];
    std::uint32_t size = 16;
    sys.devices[u"C:"] = {u"\\Device\\HarddiskVolume1"};
    EXPECT_EQ(np.GetConnection(u"C:", buffer, &size), kErrNotConnected);
    EXPECT_EQ(np.GetConnection(u"K:", buffer, &size), kErrBadNetName);
    EXPECT_EQ(np.GetConnection(nullptr, buffer, &size), kErrBadNetName);
    EXPECT_EQ(np.GetConnection(u"Q:", buffer, nullptr), kErrBadNetName);
    for (const char16_t* bad : {u"", u"\\\\x", u"1:", u"Q:\\"}) {
        EXPECT_EQ(np.GetConnection(bad, buffer, &size), kErrBadDevice) << Narrow(bad);
    }
}

TEST_F(Connect, UniversalNameLevels) {
    ASSERT_EQ(Add(u"\\\\view\\t1", u"Q:"), 0);
    alignas(8) unsigned char buffer[256];
    std::uint32_t size = sizeof buffer;
    ASSERT_EQ(np.GetUniversalName(u"Q:\\src\\a.c", 1, buffer, &size), 0);
    EXPECT_EQ(Narrow(*reinterpret_cast<char16_t**>(buffer)), "\\\\view\\t1\\src\\a.c");

    ASSERT_EQ(np.GetUniversalName(u"M:\\t2\\x", 2, buffer, &size), 0);
    auto** names = reinterpret_cast<char16_t**>(buffer);
    EXPECT_EQ(Narrow(names[0]), "\\\\view\\t2\\x");
    EXPECT_EQ(Narrow(names[1]), "\\\\view");
    EXPECT_EQ(Narrow(names[2]), "\\t2\\x");

    size = 8;
    EXPECT_EQ(np.GetUniversalName(u"Q:\\src", 1, buffer, &size), kErrMoreData);
    EXPECT_EQ(size, 8u + 2u * (std::char_traits<char16_t>::length(u"\\\\view\\t1\\src") + 1));
}

TEST_F(Connect, UniversalNameRefusals) {
    alignas(8) unsigned char buffer[64];
    std::uint32_t size = sizeof buffer;
    EXPECT_EQ(np.GetUniversalName(u"Q:\\x", 3, buffer, &size), kErrInvalidLevel);
    EXPECT_EQ(sys.debug.back(), "vtrelnp(pid: 42, tid: 7) NPGetUniversalName Infolevel  3\n");
    EXPECT_EQ(np.GetUniversalName(u"Qx\\y", 1, buffer, &size), kErrBadDevice);
    EXPECT_EQ(sys.debug.back(),
              "vtrelnp(pid: 42, tid: 7) NPGetUniversalName bad localpath name  Qx\\y\n");
    EXPECT_EQ(np.GetUniversalName(u"Q", 1, buffer, &size), kErrBadDevice);
    EXPECT_EQ(np.GetUniversalName(u"", 1, buffer, &size), kErrBadDevice);
    EXPECT_EQ(np.GetUniversalName(u"C:\\x", 1, buffer, &size), kErrBadNetName);
}

TEST_F(Connect, FormatNetworkNameDropsThePrefix) {
    char16_t buffer[32];
    std::uint32_t size = 4;
    EXPECT_EQ(np.FormatNetworkName(u"\\\\view\\t1", buffer, &size, 0, 0), kErrMoreData);
    EXPECT_EQ(size, 6u);  // 2 x 2 characters + 2
    size = sizeof buffer;
    EXPECT_EQ(np.FormatNetworkName(u"\\\\View\\t1", buffer, &size, 0, 0), 0);
    EXPECT_EQ(Narrow(buffer), "t1");
    EXPECT_EQ(np.FormatNetworkName(u"All Views", buffer, &size, 0, 0), 0);
    EXPECT_EQ(Narrow(buffer), "All Views");
    EXPECT_EQ(np.FormatNetworkName(nullptr, buffer, &size, 0, 0), kErrBadNetName);
    EXPECT_EQ(np.FormatNetworkName(u"x", buffer, nullptr, 0, 0), kErrBadNetName);
}

TEST_F(Connect, CustomNetnameAndDriverDrive) {
    libs.dlfsParams[28] = "vt";
    libs.dlfsParams[25] = "n";
    sys.devices.clear();
    sys.devices[u"N:"] = {u"\\Device\\dlfs"};
    EXPECT_EQ(Add(u"\\\\view\\t1", u"Q:"), kErrBadNetName);
    EXPECT_EQ(Add(u"\\\\vt\\t1", u"Q:"), 0);
    EXPECT_EQ(Narrow(sys.Target(u"Q:")), "\\??\\N:\\t1");
    char16_t buffer[16];
    std::uint32_t size = 16;
    EXPECT_EQ(np.GetConnection(u"Q:", buffer, &size), 0);
    EXPECT_EQ(Narrow(buffer), "\\\\vt\\t1");
    // N: is the driver drive now; M: mapped to the driver root is not.
    sys.devices[u"M:"] = {u"\\Device\\dlfs"};
    EXPECT_EQ(np.CancelConnection(u"N:", false), kErrDeviceInUse);
    EXPECT_EQ(np.CancelConnection(u"M:", false), 0);
    EXPECT_EQ(sys.devices.count(u"M:"), 0u);
}

}  // namespace
}  // namespace vtrelnp::testing
