#include <gtest/gtest.h>

#include <algorithm>

#include "libkorvant/AccountsWorld.h"
#include "libkorvant/ValueFormats.h"

namespace korvant::testing {
namespace {

constexpr const char* kLm = "HKLM\\Software\\Korva\\Vantrel\\CurrentVersion";

class AccountsTest : public ::testing::Test {
protected:
    FakeMachine machine;
    std::unique_ptr<World> w = std::make_unique<World>(machine);
    Accounts& a() { return w->accounts; }
    FakeAccountSystem& sys() { return w->sys; }
    void Param(const char* name, std::uint32_t value) { w->platform.PutDword(kLm, name, value); }
    Sid Primary(std::uint32_t rid) { return MakeSid(5, {21, 7, 8, 9, rid}); }
    std::string Uid(std::int64_t id) {
        Sid sid;
        return a().UidToSid(id, &sid) ? sid.ToString() : "none";
    }
};

TEST(SidText, ParseFormatAndBytes) {
    Sid sid;
    ASSERT_TRUE(Sid::Parse("S-1-5-32-544", &sid));
    EXPECT_EQ(sid, MakeSid(5, {32, 544}));
    EXPECT_EQ(sid.ToString(), "S-1-5-32-544");
    EXPECT_EQ(sid.Length(), 16u);
    ASSERT_TRUE(Sid::Parse("S-1-0x123456789ABC-1", &sid));
    EXPECT_EQ(sid.ToString(), "S-1-0x123456789ABC-1");
    EXPECT_FALSE(Sid::Parse("S-1-5-21-x", &sid));
    EXPECT_FALSE(Sid::Parse("S-2-5-21", &sid));
    EXPECT_FALSE(Sid::Parse("S-1-5-4294967296", &sid));
    EXPECT_FALSE(Sid::Parse("S-1-5-1-2-3-4-5-6-7-8-9-10-11-12-13-14-15-16", &sid));
    ASSERT_TRUE(Sid::Parse("S-1-5-1-2-3-4-5-6-7-8-9-10-11-12-13-14-15", &sid));
    Sid more;
    EXPECT_FALSE(sid.WithRid(16, &more));  // a 15-sub-authority SID takes no RID
    std::uint8_t buffer[68];
    ASSERT_TRUE(sid.ToBuffer(buffer, sizeof buffer));
    EXPECT_FALSE(sid.ToBuffer(buffer, 67));
    Sid back;
    ASSERT_TRUE(Sid::FromBytes(buffer, sizeof buffer, &back));
    EXPECT_EQ(back, sid);
    EXPECT_FALSE(Sid::FromBytes(buffer, 67, &back));  // the count needs 68 bytes
    buffer[1] = 16;
    EXPECT_FALSE(Sid::FromBytes(buffer, sizeof buffer, &back));
    buffer[1] = 1;
    buffer[0] = 2;
    EXPECT_FALSE(Sid::FromBytes(buffer, sizeof buffer, &back));
}

TEST_F(AccountsTest, PrimaryDomainIdsWithBothShifts) {
    a().Init();
    EXPECT_EQ(a().SidToUid(Primary(0x12345)), 0x112345);
    EXPECT_EQ(a().SidToUid(Primary(0x100000)), -1);
    ASSERT_FALSE(w->platform.debugLines.empty());
    EXPECT_EQ(w->platform.debugLines.back(),
              "ntx_rid_to_uid_int(): SID S-1-5-21-7-8-9-1048576 can't be mapped to a UID because "
              "RID 1048576 (0x100000) is larger than the max (0xfffff) for Primary domains\n");
    EXPECT_EQ(Uid(0x112345), "S-1-5-21-7-8-9-74565");
    w.reset();  // a new process on a machine without the cache file
    machine.Reboot();
    machine.files.clear();
    w = std::make_unique<World>(machine);
    Param("LargeRIDs", 1);
    a().Init();
    EXPECT_EQ(a().SidToUid(Primary(0x12345)), 0x1012345);
    EXPECT_EQ(a().SidToUid(Primary(0xFFFFFF)), 0x1FFFFFF);
    EXPECT_EQ(a().SidToUid(Primary(0x1000000)), -1);
    EXPECT_EQ(Uid(0x1012345), "S-1-5-21-7-8-9-74565");
    EXPECT_EQ(Uid(0x1FFFFFF), "S-1-5-21-7-8-9-16777215");
}

TEST_F(AccountsTest, BuiltinAndAccountDomains) {
    a().Init();
    EXPECT_EQ(a().SidToUid(MakeSid(5, {32, 544})), 0x20220);
    EXPECT_EQ(Uid(0x20220), "S-1-5-32-544");
    EXPECT_EQ(a().SidToUid(MakeSid(5, {21, 10, 20, 30, 1000})), 0x303E8);
    EXPECT_EQ(Uid(0x303E8), "S-1-5-21-10-20-30-1000");
    EXPECT_EQ(a().SidToUid(MakeSid(5, {32, 0x10000})), -1);
    EXPECT_EQ(Uid(0x10000), "none");
    EXPECT_EQ(Uid(0x40000), "none");
    EXPECT_EQ(Uid(-1), "none");
    std::uint32_t offset = 0;
    EXPECT_EQ(a().DomainSidType(MakeSid(5, {32}), &offset), kKindBuiltin);
    EXPECT_EQ(offset, 0x20000u);
    EXPECT_EQ(a().DomainSidType(MakeSid(5, {21, 7, 8, 9}), &offset), kKindPrimary);
    EXPECT_EQ(offset, 0x100000u);
    EXPECT_EQ(a().DomainSidType(MakeSid(5, {21, 10, 20, 30}), &offset), kKindAccount);
    EXPECT_EQ(a().DomainSidType(MakeSid(5, {21, 99}), &offset), kKindUnknown);
}

TEST_F(AccountsTest, OddSidsGetMinusOne) {
    a().Init();
    EXPECT_EQ(a().SidToUid(MakeSid(5, {})), -1);          // no sub-authority
    EXPECT_EQ(a().SidToUid(MakeSid(5, {5, 0, 77})), -1);  // logon session
    std::uint8_t bad[68] = {1, 20, 0, 0, 0, 0, 0, 5};
    EXPECT_EQ(a().SidToUid(bad), -1);
    EXPECT_EQ(a().SidToUid(nullptr), -1);
    // Nothing of this reached the cache.
    EXPECT_NE(a().DumpCache().find("Sid->Uid:\n    Empty\n"), std::string::npos);
}

TEST_F(AccountsTest, MappedIdsAreCachedAcrossProcesses) {
    a().Init();
    EXPECT_EQ(a().SidToUid(MakeSid(5, {32, 544})), 0x20220);
    EXPECT_NE(a().DumpCache().find("Sid->Uid:\n    S-1-5-32-544 -> 131616 (0x20220)\n"),
              std::string::npos);
    World other(machine, 2);
    other.accounts.Init();
    other.sys.failures["PrimaryDomain"] = 5;  // the answer must come from the cache
    EXPECT_EQ(other.accounts.SidToUid(MakeSid(5, {32, 544})), 0x20220);
}

TEST_F(AccountsTest, WorkgroupMachineHasNoPrimaryDomain) {
    sys().primary = {"WORKGROUP", false, Sid()};
    a().Init();
    EXPECT_EQ(Uid(0x100005), "none");
    EXPECT_EQ(a().SidToUid(Primary(5)), -1);
    EXPECT_EQ(a().SidToUid(MakeSid(5, {21, 10, 20, 30, 1000})), 0x303E8);
    Sid sid;
    EXPECT_FALSE(a().EnumSid(13, &sid));
    EXPECT_FALSE(a().EnumSid(17, &sid));
    AccountInfo info;
    ASSERT_TRUE(a().LookupAccount("localuser", &info, nullptr));
    EXPECT_EQ(sys().calls["LookupName"], 1);  // qualified with the account domain
}

TEST_F(AccountsTest, TrustedDomainsOffsetsCollisionsAndOverflow) {
    const Sid t1 = MakeSid(5, {21, 1, 1, 1}), t2 = MakeSid(5, {21, 2, 2, 2}),
              t3 = MakeSid(5, {21, 3, 3, 3}), t4 = MakeSid(5, {21, 4, 4, 4}),
              t5 = MakeSid(5, {21, 5, 5, 5});
    sys().trusted = {{"TRUST1", t1, 0x200000},
                     {"TRUST2", t2, 0x200000},    // collides with TRUST1
                     {"TRUST3", t3, 0xFFFF},      // takes part in no mapping
                     {"TRUST4", t4, 0x80000000},  // ids would be negative
                     {"TRUST5", t5, 0x250000}};   // not on the mask's boundary
    a().Init();
    Sid rid5;
    t1.WithRid(5, &rid5);
    EXPECT_EQ(a().SidToUid(rid5), 0x200005);
    EXPECT_EQ(Uid(0x200005), rid5.ToString());
    EXPECT_EQ(sys().calls["TrustedDomains"], 1);
    std::string name;
    EXPECT_EQ(a().TrustedPosixOffset(t1, &name), 0x200000u);
    EXPECT_EQ(name, "TRUST1");
    EXPECT_EQ(sys().calls["TrustedDomains"], 1);  // answered by the cache
    for (const Sid& t : {t2, t3, t4, t5}) {
        Sid user;
        t.WithRid(7, &user);
        EXPECT_EQ(a().SidToUid(user), -1) << t.ToString();
        std::uint32_t offset = 1;
        EXPECT_EQ(a().DomainSidType(t, &offset), kKindNoMapping);
        EXPECT_EQ(offset, 0u);
    }
    Sid sid;
    EXPECT_FALSE(a().TpoToDomainSid(0x300000, &sid, nullptr));
    EXPECT_EQ(w->platform.debugLines.back(),
              "ntx_trusted_posix_offset_to_domain_sid(): No match for 0x300000\n");
    EXPECT_EQ(a().TrustedPosixOffset(MakeSid(5, {21, 9, 9}), &name), 0u);
    EXPECT_EQ(w->platform.debugLines.back(),
              "ntx_get_trusted_posix_offset(): No match for S-1-5-21-9-9\n");
}

TEST_F(AccountsTest, ReloadReplacesTheTrustedOffsetsOfEveryProcess) {
    const Sid t1 = MakeSid(5, {21, 1, 1, 1});
    sys().trusted = {{"TRUST1", t1, 0x200000}};
    a().Init();
    EXPECT_EQ(Uid(0x200005), "S-1-5-21-1-1-1-5");
    // The domain moves to another offset; a reload anywhere on the machine
    // drops the old one from the shared tables.
    sys().trusted = {{"TRUST1", t1, 0x300000}};
    ASSERT_TRUE(a().SetCachedTpoDb());
    World other(machine, 2);
    other.sys.trusted = sys().trusted;
    other.accounts.Init();
    Sid sid;
    EXPECT_FALSE(other.accounts.UidToSid(0x200005, &sid));
    ASSERT_TRUE(other.accounts.UidToSid(0x300005, &sid));
    EXPECT_EQ(sid.ToString(), "S-1-5-21-1-1-1-5");
    // An LSA that cannot be asked leaves the last good answers in place.
    sys().failures["TrustedDomains"] = 5;
    a().SetCachedTpoDb();
    World third(machine, 3);
    third.sys.failures["TrustedDomains"] = 5;
    third.accounts.Init();
    std::string name;
    EXPECT_EQ(third.accounts.TrustedPosixOffset(t1, &name), 0x300000u);
    EXPECT_EQ(name, "TRUST1");
}

TEST_F(AccountsTest, TrustedOffsetsUnderLargeRids) {
    Param("LargeRIDs", 1);
    const Sid t1 = MakeSid(5, {21, 1, 1, 1});
    sys().trusted = {{"TRUST1", t1, 0x200000},
                     {"TRUST9", MakeSid(5, {21, 9}), 0x100000},
                     {"TRUST8", MakeSid(5, {21, 8}), 0x10000000}};  // overflows when shifted
    a().Init();
    Sid user;
    t1.WithRid(0xABCDE, &user);
    EXPECT_EQ(a().SidToUid(user), 0x20ABCDE);
    EXPECT_EQ(Uid(0x20ABCDE), user.ToString());
    std::string name;
    EXPECT_EQ(a().TrustedPosixOffset(t1, &name), 0x2000000u);
    // Below the first trusted offset: would overlap the primary domain.
    EXPECT_EQ(a().SidToUid(MakeSid(5, {21, 9, 3})), -1);
    EXPECT_EQ(a().SidToUid(MakeSid(5, {21, 8, 3})), -1);
    EXPECT_EQ(a().TrustedPosixOffset(MakeSid(5, {21, 8}), &name), 0xFFFFu);
}

TEST_F(AccountsTest, FailingLsaGivesNoAnswerNoCrash) {
    sys().failures["PrimaryDomain"] = 5;
    sys().failures["AccountDomain"] = 5;
    sys().failures["TrustedDomains"] = 5;
    a().Init();
    EXPECT_EQ(a().SidToUid(Primary(1)), -1);
    EXPECT_EQ(Uid(0x30001), "none");
    EXPECT_EQ(Uid(0x20001), "S-1-5-32-1");
    bool traced = false;
    for (const std::string& line : w->platform.debugLines) {
        traced = traced ||
                 line.rfind("NT_TRACE: Call to LsaQueryInformationPolicy() at ntutil\\", 0) == 0;
    }
    EXPECT_TRUE(traced);
}

TEST_F(AccountsTest, LookupWithTheDomainRules) {
    AccountInfo info;
    std::string full;
    ASSERT_TRUE(a().LookupAccount("alice", &info, &full));
    EXPECT_EQ(full, "CORP\\alice");
    EXPECT_EQ(sys().calls["LookupName"], 1);
    ASSERT_TRUE(a().LookupAccount("Administrators", &info, &full));
    EXPECT_EQ(full, "BUILTIN\\Administrators");
    EXPECT_EQ(info.use, kSidAlias);
    EXPECT_EQ(sys().calls["LookupName"], 3);  // CORP\Administrators, then the plain name
    EXPECT_TRUE(a().LookupAccount("HOST1\\localuser", &info, &full));
    EXPECT_FALSE(a().LookupAccount("HOST1\\alice", &info, &full));
    EXPECT_EQ(sys().calls["LookupName"], 5);  // a qualified name is tried once
}

TEST_F(AccountsTest, LookupOnlyFullyQualifiedOrWithoutPrefix) {
    Param("LookupOnlyFqNames", 1);
    AccountInfo info;
    EXPECT_FALSE(a().LookupAccount("Administrators", &info, nullptr));
    EXPECT_TRUE(a().LookupAccount("alice", &info, nullptr));
    World other(machine, 2);
    other.platform.PutDword(kLm, "DisableDomainPrefix", 1);
    std::string full;
    ASSERT_TRUE(other.accounts.LookupAccount("Administrators", &info, &full));
    EXPECT_EQ(full, "BUILTIN\\Administrators");
    EXPECT_EQ(other.sys.calls["LookupName"], 1);
}

TEST_F(AccountsTest, PrimaryGroupFromTheEnvironment) {
    a().Init();
    Sid sid;
    EXPECT_FALSE(a().PrimaryGroupFromEnv(&sid));
    w->platform.env["VANTREL_PRIMARY_GROUP"] = "";
    EXPECT_FALSE(a().PrimaryGroupFromEnv(&sid));
    w->platform.env["VANTREL_PRIMARY_GROUP"] = "alice";  // a user, not a group
    EXPECT_FALSE(a().PrimaryGroupFromEnv(&sid));
    w->platform.env["VANTREL_PRIMARY_GROUP"] = "S-1-5-21-7-8-9-1105";  // alice's SID
    EXPECT_FALSE(a().PrimaryGroupFromEnv(&sid));
    w->platform.env["VANTREL_PRIMARY_GROUP"] = "S-1-5-32-545";
    ASSERT_TRUE(a().PrimaryGroupFromEnv(&sid));
    EXPECT_EQ(sid.ToString(), "S-1-5-32-545");
    w->platform.env["VANTREL_PRIMARY_GROUP"] = "VantrelGroup";
    ASSERT_TRUE(a().PrimaryGroupFromEnv(&sid));
    EXPECT_EQ(sid, Primary(3000));
    const int lookups = sys().calls["LookupName"];
    ASSERT_TRUE(a().PrimaryGroupFromEnv(&sid));  // from the cache now
    EXPECT_EQ(sys().calls["LookupName"], lookups);
    w->platform.env["VANTREL_PRIMARY_GROUP"] = std::string(400, 'x');
    EXPECT_FALSE(a().PrimaryGroupFromEnv(&sid));
}

TEST_F(AccountsTest, PrioritizedGroupsKeepOrderAndSkipUnknown) {
    a().Init();
    std::string list = "Users;nobody;;VantrelGroup;alice;S-1-5-32-544";
    for (int i = 0; i < 40; ++i) {
        list += ";INTERACTIVE";
    }
    w->platform.env["VANTREL_GROUPS"] = list;
    const std::vector<Sid>& groups = a().PrioritizedGroups();
    ASSERT_EQ(groups.size(), 32u - 2u);  // 32 names, "nobody" and "alice" skipped
    EXPECT_EQ(groups[0].ToString(), "S-1-5-32-545");
    EXPECT_EQ(groups[1], Primary(3000));
    EXPECT_EQ(groups[2].ToString(), "S-1-5-32-544");
    EXPECT_EQ(groups[3].ToString(), "S-1-5-4");
    w->platform.env["VANTREL_GROUPS"] = "Users";
    EXPECT_EQ(a().PrioritizedGroups().size(), 30u);  // computed once
}

TEST_F(AccountsTest, ProductGroupName) {
    EXPECT_EQ(a().VantrelGroupName(), "VantrelGroup");
    World other(machine, 2);
    other.platform.PutString(kLm, "VantrelGroupName", ".\\PrjGroup");
    EXPECT_EQ(other.accounts.VantrelGroupName(), "HOST1\\PrjGroup");
    other.platform.PutString(kLm, "VantrelGroupName", "Other");
    EXPECT_EQ(other.accounts.VantrelGroupName(), "HOST1\\PrjGroup");  // read once
}

TEST_F(AccountsTest, WellKnownSids) {
    a().Init();
    auto text = [&](int n) {
        Sid sid;
        return a().EnumSid(n, &sid) ? sid.ToString() : "null";
    };
    EXPECT_EQ(text(1), "S-1-5-21-7-8-9-3000");
    EXPECT_EQ(text(4), "S-1-5-32-544");
    EXPECT_EQ(text(12), "S-1-5-21-10-20-30-500");
    EXPECT_EQ(text(13), "S-1-5-21-7-8-9-512");
    EXPECT_EQ(text(14), "S-1-5-5-0-4242");
    EXPECT_EQ(text(15), "S-1-5-21-10-20-30");
    EXPECT_EQ(text(16), "S-1-5-32");
    EXPECT_EQ(text(17), "S-1-5-21-7-8-9");
    EXPECT_EQ(text(25), "S-1-5-32-547");
    EXPECT_EQ(text(2), "S-1-1-0");
    EXPECT_EQ(text(27), "null");
    EXPECT_EQ(text(-1), "null");
    World other(machine, 2);
    other.platform.PutDword(kLm, "InstallConfiguration", 0x200);
    Sid sid;
    ASSERT_TRUE(other.accounts.EnumSid(1, &sid));
    EXPECT_EQ(sid.ToString(), "S-1-5-32-545");
}

struct PrivilegeCase {
    bool haveConfig;
    std::uint32_t config;
    bool adminsParam;
    std::vector<std::pair<Sid, std::uint32_t>> groups;
    bool expected;
};

TEST_F(AccountsTest, PrivilegedUserMatrix) {
    const Sid product = Primary(3000), admins = MakeSid(5, {32, 544});
    const std::vector<PrivilegeCase> cases = {
        {false, 0, true, {{product, kGroupEnabled}, {admins, kGroupEnabled}}, false},
        {true, 0, false, {{product, kGroupEnabled}}, true},
        {true, 0, false, {{product, 0}}, false},  // present but not enabled
        {true, 0, false, {{admins, kGroupEnabled}}, false},
        {true, 0, true, {{admins, kGroupEnabled}}, true},
        {true, 0x201, false, {{admins, kGroupEnabled}}, true},
        {true, 0x200, false, {{admins, kGroupEnabled}}, false},
        {true, 0x201, false, {{admins, 0}}, false},
        {true, 0, false, {{MakeSid(5, {32, 545}), kGroupEnabled}}, false},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        FakeMachine m;
        World world(m);
        const PrivilegeCase& c = cases[i];
        if (c.haveConfig) {
            world.platform.PutDword(kLm, "InstallConfiguration", c.config);
        }
        if (c.adminsParam) {
            world.platform.PutDword(kLm, AdminsValueName(world.platform.computerName).c_str(), 1);
        }
        world.sys.groups.clear();
        for (const auto& [sid, attributes] : c.groups) {
            world.sys.groups.push_back({sid, attributes});
        }
        EXPECT_EQ(world.accounts.IsPrivileged(), c.expected) << "case " << i;
    }
}

TEST_F(AccountsTest, UserRecords) {
    sys().userInfo["alice"][3] = {" Alice Smith (R&D), x1", "\\\\srv\\alice", true, 1200};
    sys().userInfo["bob"][1] = {"", "\\\\srv\\bob", false, 0};
    w->platform.env["HOME"] = "C:\\Users\\alice";
    PasswdRecord pw;
    ASSERT_TRUE(a().GetPwNam("alice", &pw));
    EXPECT_EQ(pw.name, "CORP\\alice");
    EXPECT_EQ(pw.sid, Primary(1105));
    EXPECT_EQ(pw.group, Primary(1200));
    EXPECT_EQ(pw.gecos, "Alice Smith");
    EXPECT_EQ(pw.home, "C:\\Users\\alice");
    ASSERT_TRUE(a().GetPwSid(Primary(1106), &pw));
    EXPECT_EQ(pw.name, "CORP\\bob");
    EXPECT_EQ(pw.group, Primary(513));  // only level 1 answered
    EXPECT_EQ(pw.home, "\\\\srv\\bob");
    EXPECT_FALSE(a().GetPwNam("VantrelGroup", &pw));
    EXPECT_FALSE(a().GetPwSid(MakeSid(5, {32, 544}), &pw));
    w->platform.env.erase("HOME");
    w->platform.env["HOMEDRIVE"] = "H:";
    ASSERT_TRUE(a().GetPwNam("alice", &pw));
    EXPECT_EQ(pw.home, "H:\\");
    w->platform.env["HOMEPATH"] = "\\alice";
    ASSERT_TRUE(a().GetPwNam("alice", &pw));
    EXPECT_EQ(pw.home, "H:\\alice");
    World other(machine, 2);
    other.sys.userInfo = sys().userInfo;
    other.platform.PutDword(kLm, "DisableGecos", 1);
    ASSERT_TRUE(other.accounts.GetPwNam("alice", &pw));
    EXPECT_EQ(pw.gecos, "");
    EXPECT_EQ(pw.home, "");
}

TEST_F(AccountsTest, GroupRecordsAndLogin) {
    GroupRecord gr;
    ASSERT_TRUE(a().GetGrNam("Administrators", &gr));
    EXPECT_EQ(gr.name, "BUILTIN\\Administrators");
    ASSERT_TRUE(a().GetGrNam("nt authority\\INTERACTIVE", &gr));
    EXPECT_EQ(gr.sid.ToString(), "S-1-5-4");
    EXPECT_FALSE(a().GetGrNam("NT AUTHORITY\\VantrelGroup", &gr));  // only well-known groups
    EXPECT_FALSE(a().GetGrNam("alice", &gr));
    ASSERT_TRUE(a().GetGrSid(Primary(3000), &gr));
    EXPECT_EQ(gr.name, "CORP\\VantrelGroup");
    std::string login;
    ASSERT_TRUE(a().GetLogin(&login));
    EXPECT_EQ(login, "CORP\\alice");
    EXPECT_EQ(a().QualifiedName("D", std::string(330, 'n')), std::string(330, 'n'));
    EXPECT_EQ(a().QualifiedName("", "n"), "n");
    EXPECT_EQ(a().QualifiedName("D", "E\\n"), "E\\n");
}

TEST_F(AccountsTest, PrivilegesEnableAndRestore) {
    PrivilegeState previous;
    EXPECT_EQ(a().EnablePrivileges({"SeTakeOwnershipPrivilege"}, &previous), 1);
    EXPECT_EQ(sys().privileges["SeTakeOwnershipPrivilege"], 2u);
    a().RestorePrivileges(previous);
    EXPECT_EQ(sys().privileges["SeTakeOwnershipPrivilege"], 0u);
    sys().privileges.erase("SeRestorePrivilege");
    EXPECT_EQ(a().EnablePrivileges({"SeTakeOwnershipPrivilege", "SeRestorePrivilege"}, &previous),
              0);  // not held
    a().RestorePrivileges(previous);
    EXPECT_EQ(sys().privileges["SeTakeOwnershipPrivilege"], 0u);
    sys().failures["EnablePrivileges"] = 1300;
    previous.entries = {{"SeTakeOwnershipPrivilege", 2}};
    EXPECT_EQ(a().EnablePrivileges({"SeTakeOwnershipPrivilege"}, &previous), 0);
    EXPECT_TRUE(previous.entries.empty());
    const int restores = sys().calls["RestorePrivileges"];
    a().RestorePrivileges(previous);  // restores nothing
    EXPECT_EQ(sys().calls["RestorePrivileges"], restores);
}

TEST_F(AccountsTest, CacheDump) {
    a().Init();
    EXPECT_EQ(a().DumpCache(),
              "Account name->Sid (global):\n    Empty\nAccount name->Sid (private):\n    Empty\n"
              "Sid->Uid:\n    Empty\nDomain group SID map:\n    Empty\n");
    w->platform.env["VANTREL_PRIMARY_GROUP"] = "Users";
    Sid sid;
    a().PrimaryGroupFromEnv(&sid);
    a().SidToUid(MakeSid(5, {32, 545}));
    const std::string dump = a().DumpCache();
    EXPECT_NE(dump.find("Account name->Sid (private):\n    Users -> S-1-5-32-545\n"),
              std::string::npos)
        << dump;
    EXPECT_NE(dump.find("Sid->Uid:\n    S-1-5-32-545 -> 131617 (0x20221)\n"), std::string::npos);
}

// What an unprivileged user can do to the shared cache: block the private
// area (a folder where its file goes) and enter names of its choosing into
// the global table.
class PoisonedCache : public AccountsTest {
protected:
    void Poison(const std::string& name, const Sid& sid) {
        World other(machine, 2);
        auto global =
            other.cache.OpenTable(true, Accounts::kNameToSidId, 32, kMaxAccountName, Sid::kMaxBytes,
                                  PhashStrHash, PhashStrKeyCmp, "Account name->Sid");
        ASSERT_TRUE(global);
        char key[kMaxAccountName] = {};
        std::snprintf(key, sizeof key, "%s", name.c_str());
        std::uint8_t bytes[Sid::kMaxBytes] = {};
        ASSERT_TRUE(sid.ToBuffer(bytes, sizeof bytes));
        ASSERT_TRUE(global->Enter(key, bytes, sizeof bytes));
    }
    void BlockPrivateArea() {
        machine.directories.insert(std::string("C:\\Vantrel\\var\\cache\\VTshmemV3_") +
                                   kPrivateSid);
    }
};

TEST_F(PoisonedCache, ProductGroupComesFromTheAccountSystem) {
    const Sid everyone = MakeSid(1, {0});
    BlockPrivateArea();
    Poison("VantrelGroup", everyone);
    Poison("CORP\\VantrelGroup", everyone);
    // No such group: nobody is privileged through it, Everyone included.
    sys().accounts.erase(
        std::remove_if(sys().accounts.begin(), sys().accounts.end(),
                       [](const AccountInfo& a) { return a.name == "VantrelGroup"; }),
        sys().accounts.end());
    sys().groups.push_back({everyone, kGroupEnabled});
    Param("InstallConfiguration", 0);
    a().Init();
    Sid sid;
    EXPECT_FALSE(a().EnumSid(1, &sid));
    EXPECT_FALSE(a().IsPrivileged());
    w->platform.env["VANTREL_PRIMARY_GROUP"] = "VantrelGroup";
    EXPECT_FALSE(a().PrimaryGroupFromEnv(&sid));
}

TEST_F(PoisonedCache, AMemberStaysPrivilegedWhateverTheTableSays) {
    BlockPrivateArea();
    Poison("VantrelGroup", MakeSid(5, {32, 546}));
    sys().groups.push_back({Primary(3000), kGroupEnabled});
    Param("InstallConfiguration", 0);
    a().Init();
    Sid sid;
    ASSERT_TRUE(a().EnumSid(1, &sid));
    EXPECT_EQ(sid, Primary(3000));
    EXPECT_TRUE(a().IsPrivileged());
    // Groups named in the environment are not taken from the global table either.
    w->platform.env["VANTREL_PRIMARY_GROUP"] = "VantrelGroup";
    ASSERT_TRUE(a().PrimaryGroupFromEnv(&sid));
    EXPECT_EQ(sid, Primary(3000));
}

TEST_F(PoisonedCache, ADomainNameInTheOffsetTablesNamesNoGroup) {
    // The offset tables hold the account domain's name for 0x30000; another
    // user rewrites it.
    {
        World other(machine, 2);
        other.accounts.Init();
        other.accounts.SetCachedTpoDb();
        auto tpo = other.cache.OpenTable(true, Accounts::kTpoToSidId, 100, 4, 136, PhashIntHash,
                                         PhashIntKeyCmp, "Tpo->Sid");
        ASSERT_TRUE(tpo);
        std::uint8_t record[136] = {};
        std::memcpy(record, "BUILTIN", 8);
        ASSERT_TRUE(MakeSid(5, {32}).ToBuffer(record + 68, 68));
        const std::uint32_t offset = 0x30000;
        ASSERT_TRUE(tpo->Enter(&offset, record, sizeof record));
    }
    w->platform.PutString(kLm, "VantrelGroupName", ".\\Users");
    a().Init();
    EXPECT_EQ(a().VantrelGroupName(), "HOST1\\Users");
}

TEST_F(AccountsTest, TrustedDomainsArriveInPages) {
    sys().trusted = {{"TRUST1", MakeSid(5, {21, 1, 1, 1}), 0x200000},
                     {"TRUST2", MakeSid(5, {21, 2, 2, 2}), 0x300000},
                     {"TRUST3", MakeSid(5, {21, 3, 3, 3}), 0x400000}};
    sys().trustedPageSize = 1;  // "more entries" twice, then the end
    a().Init();
    const std::vector<TrustedDomain> list = a().TpoDbFromLsa();
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[2].name, "TRUST3");
    EXPECT_EQ(a().SidToUid(MakeSid(5, {21, 3, 3, 3, 9})), 0x400009);
    EXPECT_EQ(Uid(0x300009), "S-1-5-21-2-2-2-9");
    // A page that fails drops the enumeration, pages before it included.
    std::vector<TrustedDomain> out;
    int calls = 0;
    EXPECT_EQ(CollectTrustedDomains(
                  [&](std::vector<TrustedDomain>* page) -> std::uint32_t {
                      page->push_back(list[0]);
                      return ++calls < 2 ? kStatusMoreEntries : 0xC0000022u;
                  },
                  &out),
              0xC0000022u);
    EXPECT_TRUE(out.empty());
}

TEST_F(AccountsTest, PrivilegeIsCheckedInTheTokenThatWasChanged) {
    // The thread impersonates a user whose token lacks the privilege; the
    // process token is changed, so that is the one to ask.
    sys().impersonating = true;
    PrivilegeState previous;
    EXPECT_EQ(a().EnablePrivileges({"SeTakeOwnershipPrivilege"}, &previous), 1);
    EXPECT_EQ(sys().privileges["SeTakeOwnershipPrivilege"], 2u);
    EXPECT_TRUE(sys().threadPrivileges.empty());
    a().RestorePrivileges(previous);
    EXPECT_EQ(sys().privileges["SeTakeOwnershipPrivilege"], 0u);
}

}  // namespace
}  // namespace korvant::testing
