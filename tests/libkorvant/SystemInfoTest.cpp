#include <gtest/gtest.h>

#include "libkorvant/Diagnostics.h"
#include "libkorvant/FakePlatform.h"
#include "libkorvant/ObjectPath.h"
#include "libkorvant/SystemInfo.h"

namespace korvant {
namespace {

using testing::FakePlatform;

TEST(PlatformWord, FromVersionAndForcedByEnvironment) {
    EXPECT_EQ(SystemInfo::WordFromVersion({0, 3, 1}), kOsWin32s);
    EXPECT_EQ(SystemInfo::WordFromVersion({1, 4, 0}), kOsWin95);
    EXPECT_EQ(SystemInfo::WordFromVersion({1, 4, 10}), kOsWin98);
    EXPECT_EQ(SystemInfo::WordFromVersion({2, 3, 51}), kOsNt3);
    EXPECT_EQ(SystemInfo::WordFromVersion({2, 4, 0}), kOsNt4);
    EXPECT_EQ(SystemInfo::WordFromVersion({2, 10, 0}), kOsNt5);

    FakePlatform fake;
    fake.env["KORVA_FORCE_PLATFORM"] = "Win98";
    SystemInfo info(fake);
    EXPECT_EQ(info.OsInfo(), kOsWin98);
    EXPECT_EQ(info.Win32Platform(), 1);
    fake.env["KORVA_FORCE_PLATFORM"] = "nt4";
    EXPECT_EQ(info.Win32Platform(), 1) << "computed once per process";

    FakePlatform other;
    other.env["KORVA_FORCE_PLATFORM"] = "WIN32S";
    EXPECT_EQ(SystemInfo(other).Win32Platform(), 0);
    other.env["KORVA_FORCE_PLATFORM"] = "vista";  // unknown names fall back to the system
    EXPECT_EQ(SystemInfo(other).Win32Platform(), 2);
    other.env["KORVA_FORCE_PLATFORM"] = "NT3";
    SystemInfo nt3(other);
    EXPECT_EQ(nt3.OsInfo(), kOsNt3);
    EXPECT_FALSE(nt3.HasGlobalPrefix());
}

TEST(TerminalServer, ForcedByEnvironment) {
    for (const auto& [value, expected, admin] : {std::tuple{"Admin", true, 1},
                                                 {"User", true, 0},
                                                 {"user", false, 0},
                                                 {"admin", false, 0},
                                                 {"", false, 0},
                                                 {"no", false, 0}}) {
        FakePlatform fake;
        fake.env["KORVA_FORCE_WTS"] = value;
        SystemInfo info(fake);
        int mode = -1;
        EXPECT_EQ(info.IsTerminalServer(&mode), expected) << value;
        EXPECT_EQ(mode, admin) << value;
    }
}

TEST(TerminalServer, SuiteAndAdminModeFromRegistryOnlyOnLaterNt) {
    FakePlatform fake;
    fake.terminalSuite = true;
    fake.PutDword("HKLM\\SYSTEM\\CurrentControlSet\\Control\\Terminal Server", "TSUserEnabled", 0);
    SystemInfo info(fake);
    int mode = 0;
    EXPECT_TRUE(info.IsTerminalServer(&mode));
    EXPECT_EQ(mode, 1);
    EXPECT_TRUE(info.IsTerminalServer(nullptr));
    EXPECT_EQ(fake.OpenHandles(), 0u);

    FakePlatform userMode;
    userMode.terminalSuite = true;
    userMode.PutDword("HKLM\\SYSTEM\\CurrentControlSet\\Control\\Terminal Server", "TSUserEnabled",
                      1);
    SystemInfo userInfo(userMode);
    EXPECT_TRUE(userInfo.IsTerminalServer(&mode));
    EXPECT_EQ(mode, 0);

    FakePlatform nt4;
    nt4.terminalSuite = true;
    nt4.version = {2, 4, 0};
    EXPECT_FALSE(SystemInfo(nt4).IsTerminalServer(&mode));
}

TEST(TerminalServer, CitrixNeedsTerminalServerAndClientNetworkType) {
    FakePlatform fake;
    fake.providerTypes["Client Network"] = 32766;
    EXPECT_FALSE(SystemInfo(fake).IsCitrixMetaframe());
    fake.env["KORVA_FORCE_WTS"] = "User";
    EXPECT_TRUE(SystemInfo(fake).IsCitrixMetaframe());
    fake.providerTypes["Client Network"] = 32765;
    EXPECT_FALSE(SystemInfo(fake).IsCitrixMetaframe());
}

TEST(Diagnostics, TraceLinesAndMessageSources) {
    FakePlatform fake;
    TraceFailure(fake, "NT_TRACE", "LookupAccountSidW", "ntutil", 412, 0x534);
    TraceFailure(fake, "NTX_TRACE", "LsaOpenPolicy", "ntutilx", 9, 0xC0000022);
    ASSERT_EQ(fake.debugLines.size(), 2u);
    EXPECT_EQ(fake.debugLines[0],
              "NT_TRACE: Call to LookupAccountSidW() at ntutil\\412 failed with status=0x534\n");
    EXPECT_EQ(fake.debugLines[1],
              "NTX_TRACE: Call to LsaOpenPolicy() at ntutilx\\9 failed with status=0xc0000022\n");

    EXPECT_EQ(MessageModuleFor(5, 0), 0);
    EXPECT_EQ(MessageModuleFor(2099, 0), 0);
    EXPECT_EQ(MessageModuleFor(2100, 0), 1);
    EXPECT_EQ(MessageModuleFor(2102, 0), 1);
    EXPECT_EQ(MessageModuleFor(2999, 0), 1);
    EXPECT_EQ(MessageModuleFor(3000, 0), 0);
    EXPECT_EQ(MessageModuleFor(5, 1), 1);
    EXPECT_EQ(MessageModuleFor(5, 2), 2);
    EXPECT_EQ(MessageModuleFor(5, 3), 2);
    EXPECT_EQ(TrimMessageEnd("Access is denied.\r\n"), "Access is denied.");
    EXPECT_EQ(NoDescriptionText(4711),
              "Error 4711: No additional description available for this system error.");
}

TEST(Diagnostics, ResourceLibraryPath) {
    EXPECT_EQ(ResourceDllPath("C:\\korva\\bin\\tool.exe", "DEU", 0),
              "C:\\korva\\bin\\resdll\\tool_DEU.rsc");
    EXPECT_EQ(ResourceDllPath("C:\\korva\\bin\\LIBKORVANT.dll", "FRA", 1),
              "C:\\korva\\bin\\resdll\\LIBKORVANT_FRAu.rsc");
}

TEST(ObjectPath, FollowsDeviceTableAndSubstitutions) {
    FakePlatform fake;
    fake.dosDevices["C:"] = "\\Device\\HarddiskVolume1";
    fake.dosDevices["M:"] = "\\Device\\dlfs";
    fake.dosDevices["Q:"] = "\\??\\M:\\t1";
    fake.dosDevices["R:"] = "\\??\\Q:\\";
    fake.dosDevices["L:"] = "\\??\\L:";
    fake.dosDevices["UNC"] = "\\Device\\Mup";
    std::string out;
    EXPECT_EQ(ToObjectPath(fake, "C:\\dir\\f.txt", &out), 0);
    EXPECT_EQ(out, "\\Device\\HarddiskVolume1\\dir\\f.txt");
    EXPECT_EQ(ToObjectPath(fake, "M:\\", &out), 0);
    EXPECT_EQ(out, "\\Device\\dlfs\\");
    EXPECT_EQ(ToObjectPath(fake, "m:/a/b", &out), 0);
    EXPECT_EQ(out, "\\Device\\dlfs\\a\\b");
    EXPECT_EQ(ToObjectPath(fake, "Q:\\", &out), 0);
    EXPECT_EQ(out, "\\Device\\dlfs\\t1\\");
    EXPECT_EQ(ToObjectPath(fake, "R:\\x", &out), 0);
    EXPECT_EQ(out, "\\Device\\dlfs\\t1\\x");
    EXPECT_EQ(ToObjectPath(fake, "L:\\x", &out), 0);
    EXPECT_EQ(out, "\\??\\L:\\x");
    EXPECT_EQ(ToObjectPath(fake, "\\\\srv\\share\\f", &out), 0);
    EXPECT_EQ(out, "\\Device\\Mup\\srv\\share\\f");
    EXPECT_EQ(ToObjectPath(fake, "\\\\?\\C:\\f", &out), 0);
    EXPECT_EQ(out, "\\Device\\HarddiskVolume1\\f");
    EXPECT_EQ(ToObjectPath(fake, "Z:\\", &out), 2);
    EXPECT_EQ(ToObjectPath(fake, "", &out), 87);
}

TEST(ObjectPath, KernelPathsBackToTheLongestMatchingDrive) {
    FakePlatform fake;
    fake.dosDevices["C:"] = "\\Device\\HarddiskVolume1";
    fake.dosDevices["D:"] = "\\Device\\HarddiskVolume10";
    fake.dosDevices["M:"] = "\\Device\\dlfs";
    fake.dosDevices["N:"] = "\\Device\\dlfs\\t1\\";
    std::string out;
    EXPECT_EQ(ToDosPath(fake, "\\Device\\HarddiskVolume10\\x", &out), 0);
    EXPECT_EQ(out, "D:\\x") << "Volume1 is a prefix of the name, not of the path";
    EXPECT_EQ(ToDosPath(fake, "\\Device\\dlfs\\t1\\src", &out), 0);
    EXPECT_EQ(out, "N:\\src");
    EXPECT_EQ(ToDosPath(fake, "\\device\\DLFS", &out), 0);
    EXPECT_EQ(out, "M:\\");
    EXPECT_EQ(ToDosPath(fake, "\\??\\C:\\dir", &out), 0);
    EXPECT_EQ(out, "C:\\dir");
    EXPECT_EQ(ToDosPath(fake, "\\Device\\Other\\f", &out), 2);
    EXPECT_EQ(ToDosPath(fake, "", &out), 87);
}

TEST(ObjectPath, SubstitutionLoopsEnd) {
    FakePlatform fake;
    fake.dosDevices["A:"] = "\\??\\B:\\x";
    fake.dosDevices["B:"] = "\\??\\A:\\y";
    std::string out;
    EXPECT_EQ(ToObjectPath(fake, "A:\\", &out), 1921);
}

}  // namespace
}  // namespace korvant
