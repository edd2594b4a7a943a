#include <cstring>

#include "vtrelnp/MessageCatalog.h"
#include "vtrelnp/ProviderFixture.h"

namespace vtrelnp::testing {
namespace {

using Startup = ProviderTest;
using Logon = ProviderTest;

TEST_F(Startup, CapabilitiesAnswerWithoutInitialising) {
    EXPECT_EQ(np.GetCaps(1), 0x50001u);
    EXPECT_EQ(np.GetCaps(2), 0x00160000u);
    EXPECT_EQ(np.GetCaps(3), 0x30201u);
    EXPECT_EQ(np.GetCaps(6), 7u);
    EXPECT_EQ(np.GetCaps(8), 0xA80u);
    EXPECT_EQ(np.GetCaps(11), 3u);
    EXPECT_EQ(np.GetCaps(4), 0u);
    EXPECT_EQ(libs.Calls("nt_init"), 0);
    EXPECT_EQ(np.GetCaps(12), 1u);
    EXPECT_EQ(np.GetCaps(12), 1u);
    EXPECT_EQ(libs.Calls("nt_init"), 1);  // settings are read once
    EXPECT_EQ(libs.globalDepth, 0);
}

TEST_F(Startup, DefaultSettings) {
    ASSERT_TRUE(np.EnsureInit());
    const Settings s = np.CurrentSettings();
    EXPECT_EQ(Narrow(s.computerName), "BUILDHOST");
    EXPECT_EQ(Narrow(s.containerName), "Views on BUILDHOST");
    EXPECT_EQ(Narrow(s.netnamePrefix), "\\\\view");
    EXPECT_EQ(Narrow(s.extendedSuffix), "@@");
    EXPECT_EQ(Narrow(s.driverDrive), "M:");
    EXPECT_FALSE(s.logonProgram.has_value());
    EXPECT_TRUE(sys.events.empty());
}

TEST_F(Startup, FallbacksAreReported) {
    sys.computerError = 1;
    libs.dlfsParams[28] = "v\xff";
    sys.unconvertible.insert("v\xff");
    libs.params[51] = "##";
    sys.unconvertible.insert("##");
    libs.dlfsParams[25] = "MN";
    ASSERT_TRUE(np.EnsureInit());
    const Settings s = np.CurrentSettings();
    EXPECT_EQ(Narrow(s.containerName), "Views on Unknown");
    EXPECT_EQ(Narrow(s.netnamePrefix), "\\\\view");
    EXPECT_EQ(Narrow(s.extendedSuffix), "@@");
    EXPECT_EQ(Narrow(s.driverDrive), "M:");
    EXPECT_EQ(sys.Events(),
              "(pid: 42, tid: 7) vtnp_init(): GetComputerName(): 1\n"
              "(pid: 42, tid: 7) vtnp_init(): Can't convert view netname to Unicode - [1113], "
              "using \\\\view\n"
              "(pid: 42, tid: 7) vtnp_init(): Can't convert extended suffix to Unicode - [1113], "
              "using @@\n"
              "(pid: 42, tid: 7) np_init(): Invalid DLFS drivespec MN, using M:\n");
}

TEST_F(Startup, DriveLetterIsUpperCasedAndMustBeALetter) {
    libs.dlfsParams[25] = "x";
    ASSERT_TRUE(np.EnsureInit());
    EXPECT_EQ(Narrow(np.CurrentSettings().driverDrive), "X:");

    FakeSystem sys2;
    FakeLibraries libs2(sys2);
    libs2.dlfsParams[25] = "7";
    Provider np2(sys2, libs2);
    ASSERT_TRUE(np2.EnsureInit());
    EXPECT_EQ(Narrow(np2.CurrentSettings().driverDrive), "M:");
    EXPECT_EQ(sys2.Events(), "(pid: 42, tid: 7) np_init(): Invalid DLFS drivespec 7, using M:\n");
}

TEST_F(Startup, FailedInitialisationIsFinal) {
    libs.missing.insert("nt_init");
    EXPECT_EQ(np.GetCaps(12), 0u);
    EXPECT_EQ(Add(u"\\\\view\\t1", u"Q:"), kErrNoNetwork);
    EXPECT_EQ(np.CancelConnection(u"Q:", true), kErrNoNetwork);
    void* handle = nullptr;
    EXPECT_EQ(np.OpenEnum(kScopeGlobal, 0, 0, nullptr, &handle), kErrNoNetwork);
    char16_t* script = nullptr;
    EXPECT_EQ(np.LogonNotify(&script), kErrNoNetwork);
    libs.missing.clear();
    EXPECT_EQ(np.GetCaps(12), 0u);
    EXPECT_EQ(libs.Calls("nt_init"), 1);
    EXPECT_EQ(sys.Events(),
              "(pid: 42, tid: 7) vtnp_init(): Abnormal termination of ntregy_*() call detected\n");
    EXPECT_EQ(libs.globalDepth, 0);
}

TEST_F(Startup, MissingLibkorvantFailsInitialisation) {
    libs.missing.insert("nt_enter_critical_section");
    EXPECT_FALSE(np.EnsureInit());
    EXPECT_NE(sys.Events().find("Abnormal termination of ntregy_*()"), std::string::npos);
}

TEST_F(Logon, FlushesCreatesTheDriverDriveAndNamesTheLogonProgram) {
    sys.devices.clear();
    libs.params[kParamProductHome] = "C:\\Program Files\\Korva\\";
    char16_t* script = nullptr;
    EXPECT_EQ(np.LogonNotify(&script), 0);
    EXPECT_EQ(libs.Calls("phash_flush_global_tables"), 1);
    EXPECT_EQ(Narrow(sys.Target(u"M:")), "\\Device\\dlfs");
    ASSERT_NE(script, nullptr);
    EXPECT_EQ(Narrow(script), "\"C:\\Program Files\\Korva\\bin\\nplogon.exe\"");
    EXPECT_EQ(sys.globalHeldAtDeviceChange, std::vector<bool>{true});
    EXPECT_EQ(libs.globalDepth, 0);
}

TEST_F(Logon, PathWithoutBlanksIsNotQuotedAndAnExistingDriveStays) {
    libs.params[kParamProductHome] = "D:\\korva";
    sys.devices[u"M:"] = {u"\\??\\C:\\somewhere"};
    char16_t* script = nullptr;
    EXPECT_EQ(np.LogonNotify(&script), 0);
    ASSERT_NE(script, nullptr);
    EXPECT_EQ(Narrow(script), "D:\\korva\\bin\\nplogon.exe");
    EXPECT_EQ(Narrow(sys.Target(u"M:")), "\\??\\C:\\somewhere");
    EXPECT_TRUE(sys.deviceLog.empty());
}

TEST_F(Logon, WithoutProductHomeThereIsNoLogonProgram) {
    char16_t* script = reinterpret_cast<char16_t*>(&script);
    EXPECT_EQ(np.LogonNotify(&script), 0);
    EXPECT_EQ(script, nullptr);
    EXPECT_NE(sys.debug.back().find("no logon program"), std::string::npos);
    EXPECT_EQ(np.LogonNotify(nullptr), 0);
}

TEST_F(Logon, FailuresAreReportedAndTheRestStillRuns) {
    sys.devices.clear();
    libs.params[kParamProductHome] = "D:\\korva";
    libs.missing.insert("phash_flush_global_tables");
    sys.defineError = 5;
    sys.allocFails = true;
    char16_t* script = nullptr;
    EXPECT_EQ(np.LogonNotify(&script), 0);
    EXPECT_EQ(script, nullptr);
    EXPECT_EQ(sys.Events(),
              "(pid: 42, tid: 7) NPLogonNotify(): Abnormal termination of phash_*() call "
              "detected\n"
              "(pid: 42, tid: 7) vtnp_create_dlfs_dosdevice(): unable to create DLFS DosDevice - "
              "[5]\n"
              "(pid: 42, tid: 7) NPLogonNotify(): Unable to create DLFS DosDevice\n"
              "(pid: 42, tid: 7) NPLogonNotify(): can not allocate memory\n");
    EXPECT_EQ(libs.globalDepth, 0);
    EXPECT_EQ(np.PasswordChangeNotify(), 0);
}

TEST(Reporter, DebugLinesAreTaggedAndEndInANewline) {
    FakeSystem sys;
    Reporter reporter(sys);
    reporter.Debug("one");
    reporter.Debug("two\n");
    EXPECT_EQ(sys.debug, (std::vector<std::string>{"vtrelnp(pid: 42, tid: 7) one\n",
                                                   "vtrelnp(pid: 42, tid: 7) two\n"}));
}

TEST(Reporter, EventLogFailureFallsBackToTheDebugger) {
    FakeSystem sys;
    Reporter reporter(sys);
    reporter.Event("text");
    ASSERT_EQ(sys.events.size(), 1u);
    EXPECT_EQ(sys.events[0].category, 11);
    EXPECT_EQ(sys.events[0].id, 0x400u);
    EXPECT_EQ(sys.events[0].text, "(pid: 42, tid: 7) text");
    sys.eventOutcome = System::EventOutcome::kOpenFailed;
    reporter.Event("first");
    sys.eventOutcome = System::EventOutcome::kReportFailed;
    reporter.Event("second");
    EXPECT_EQ(sys.debug, (std::vector<std::string>{"vtrelnp(pid: 42, tid: 7) OpenEventLog(): 5\n",
                                                   "vtrelnp(pid: 42, tid: 7) first\n",
                                                   "vtrelnp(pid: 42, tid: 7) ReportEvent(): 5\n",
                                                   "vtrelnp(pid: 42, tid: 7) second\n"}));
}

TEST(MessageCatalog, DescribesSeventeenMessages) {
    const vtrelnp_msg_catalog& c = MessageCatalog();
    EXPECT_EQ(c.count, 17);
    EXPECT_EQ(c.first, 1);
    EXPECT_STREQ(c.catalog, "np_nt");
    EXPECT_STREQ(c.module, "vtrelnp");
    for (int i = 0; i < c.count; ++i) {
        EXPECT_EQ(c.messages[i].number, i + 1);
    }
    EXPECT_STREQ(c.messages[15].format, "OpenEnum: Unxpected Scope request, %d\n");
    EXPECT_STREQ(c.messages[16].format,
                 "vtnp_create_dlfs_dosdev: unable to create DLFS viewroot drive - [%ld]\n");
}

TEST(Packing, StringsFollowTheRecordAndPointersPointAtThem) {
    Resource r;
    r.scope = 2;
    r.remoteName = u"ab";
    r.provider = u"p";
    alignas(8) unsigned char buffer[128];
    std::memset(buffer, 0xCC, sizeof buffer);
    std::uint32_t size = sizeof buffer;
    ASSERT_EQ(PackResource(r, buffer, &size), 0);
    const auto* rec = reinterpret_cast<const NetResourceRecord*>(buffer);
    EXPECT_EQ(rec->localName, nullptr);
    EXPECT_EQ(rec->comment, nullptr);
    EXPECT_EQ(reinterpret_cast<const unsigned char*>(rec->remoteName),
              buffer + sizeof(NetResourceRecord));
    EXPECT_EQ(reinterpret_cast<const unsigned char*>(rec->provider),
              buffer + sizeof(NetResourceRecord) + 6);
    EXPECT_EQ(Narrow(rec->provider), "p");
    size = sizeof(NetResourceRecord) + 8;  // needs 4 more characters' worth: 10 -> 12
    EXPECT_EQ(PackResource(r, buffer, &size), kErrMoreData);
    EXPECT_EQ(size, sizeof(NetResourceRecord) + 12);
}

}  // namespace
}  // namespace vtrelnp::testing

namespace vtrelnp::testing {
namespace {

TEST(Text, Utf16RoundTripAndCaseRules) {
    const std::string utf8 = "Vi\xC3\xABw-\xE2\x82\xAC-\xF0\x9F\x98\x80";
    const WString wide = Widen(utf8);
    EXPECT_EQ(wide.size(), 9u);  // the last character takes a surrogate pair
    EXPECT_EQ(Narrow(wide), utf8);
    EXPECT_EQ(Widen("a\xC3"), u"a\uFFFD");  // a cut-off sequence does not read on
    EXPECT_TRUE(EqualNoCase(u"\\\\VIEW\\T1", u"\\\\view\\t1"));
    EXPECT_FALSE(StartsWithNoCase(u"\\\\vie", u"\\\\view"));
    EXPECT_EQ(SplitCommas(",a,,b,"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(DriveName(u"q"), std::optional<WString>(u"Q:"));
    EXPECT_EQ(DriveName(u""), std::nullopt);
}

}  // namespace
}  // namespace vtrelnp::testing
