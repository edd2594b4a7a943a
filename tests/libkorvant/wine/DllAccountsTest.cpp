#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "libkorvant/Sid.h"

// The account exports against what Wine provides: a local user in the
// account domain, the built-in Administrators, no primary-domain SID, a
// logon SID in the token and the take-ownership privilege.
namespace {

struct PrivState {
    DWORD count;
    LUID_AND_ATTRIBUTES privileges[4];
};

struct Passwd {
    char* name;
    PSID sid;
    PSID gsid;
    char* gecos;
    char* dir;
};

template <typename F>
F Fn(const char* name) {
    static HMODULE module = LoadLibraryA("LIBKORVANT.dll");
    auto f = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    if (f == nullptr) {
        ADD_FAILURE() << name << " is not exported";
    }
    return f;
}

std::string SidText(PSID sid) {
    korvant::Sid value;
    if (sid == nullptr || !korvant::Sid::FromBytes(sid, GetLengthSid(sid), &value)) {
        return "null";
    }
    return value.ToString();
}

class Accounts : public ::testing::Test {
protected:
    void SetUp() override { Fn<void (*)()>("nt_init")(); }
};

TEST_F(Accounts, CurrentUserMapsIntoTheAccountDomain) {
    BYTE sid[68];
    ASSERT_EQ(Fn<int (*)(PSID, DWORD)>("nt_get_user_sid")(sid, sizeof sid), 1);
    EXPECT_EQ(Fn<int (*)(PSID, DWORD)>("nt_get_user_sid")(sid, 8), 0);
    EXPECT_EQ(SidText(sid), "S-1-5-21-0-0-0-1000");
    auto toUid = Fn<int (*)(PSID)>("nt_sid_to_uid");
    EXPECT_EQ(toUid(sid), 0x303E8);
    EXPECT_EQ(toUid(sid), 0x303E8);  // now from the shared cache
    PSID back = nullptr;
    ASSERT_EQ(Fn<int (*)(int, PSID*)>("ntx_uid_to_sid")(0x303E8, &back), 0);
    EXPECT_EQ(SidText(back), "S-1-5-21-0-0-0-1000");
    std::free(back);
    DWORD offset = 0;
    BYTE domain[68];
    ASSERT_EQ(Fn<int (*)(PSID, DWORD)>("nt_get_domain_sid")(domain, sizeof domain), 1);
    EXPECT_EQ(Fn<int (*)(PSID, DWORD*)>("ntx_get_domain_sid_type")(domain, &offset), 3);
    EXPECT_EQ(offset, 0x30000u);
    char computer[64] = {};
    DWORD size = sizeof computer;
    GetComputerNameA(computer, &size);
    char user[64] = {};
    size = sizeof user;
    GetUserNameA(user, &size);
    const char* login = Fn<const char* (*)()>("nt_getlogin")();
    ASSERT_NE(login, nullptr);
    EXPECT_EQ(std::string(login), std::string(computer) + "\\" + user);
    auto* pw = Fn<Passwd* (*)(const char*)>("nt_getpwnam_sid")(user);
    ASSERT_NE(pw, nullptr);
    EXPECT_EQ(std::string(pw->name), std::string(computer) + "\\" + user);
    EXPECT_EQ(SidText(pw->sid), "S-1-5-21-0-0-0-1000");
    EXPECT_EQ(SidText(pw->gsid), "S-1-5-21-0-0-0-513");
    auto* bySid = Fn<Passwd* (*)(PSID)>("nt_getpwsid_sid")(sid);
    ASSERT_NE(bySid, nullptr);
    EXPECT_EQ(SidText(bySid->sid), "S-1-5-21-0-0-0-1000");
}

TEST_F(Accounts, MappedIdsLandInTheSharedSidToUidTable) {
    BYTE sid[68] = {};
    ASSERT_EQ(
        Fn<int (*)(const char*, PSID, DWORD)>("nt_str_to_sid")("S-1-5-32-545", sid, sizeof sid), 1);
    ASSERT_EQ(Fn<int (*)(PSID)>("nt_sid_to_uid")(sid), 0x20221);
    // The table nt_init made, attached by its identifier with the same sizes.
    using HashFn = unsigned (*)(const void*, int);
    using CmpFn = int (*)(const void*, const void*, int);
    void* table = nullptr;
    ASSERT_EQ(Fn<int (*)(const char*, int, int, int, HashFn, CmpFn, const char*, int, void**)>(
                  "phash_create")("{A461E5E0-0D99-11D1-BE5D-00609730D47D}", 100, 68, 4,
                                  Fn<HashFn>("phash_sid_hash_fn"), Fn<CmpFn>("phash_sid_keycmp_fn"),
                                  "Sid->Uid", 1, &table),
              1);
    int id = 0;
    int length = sizeof id;
    EXPECT_EQ(
        Fn<int (*)(void*, const void*, void*, int*)>("phash_lookup")(table, sid, &id, &length), 1);
    EXPECT_EQ(id, 0x20221);
    Fn<void (*)(void*)>("phash_close")(table);
}

TEST_F(Accounts, AdministratorsAndTheBuiltinDomain) {
    BYTE sid[68];
    DWORD sidSize = sizeof sid;
    char domain[64];
    DWORD domainSize = sizeof domain;
    SID_NAME_USE use{};
    char full[322];
    auto lookup = Fn<int (*)(const char*, PSID, DWORD*, char*, DWORD*, SID_NAME_USE*, char*)>(
        "nt_lookup_account_name");
    ASSERT_EQ(lookup("Administrators", sid, &sidSize, domain, &domainSize, &use, full), 1);
    EXPECT_EQ(SidText(sid), "S-1-5-32-544");
    EXPECT_EQ(use, SidTypeAlias);
    EXPECT_STREQ(full, "BUILTIN\\Administrators");
    EXPECT_EQ(Fn<int (*)(PSID)>("nt_sid_to_uid")(sid), 0x20220);
    sidSize = 4;  // too small: refused, the size needed reported
    EXPECT_EQ(lookup("Administrators", sid, &sidSize, nullptr, nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(sidSize, 16u);
    EXPECT_EQ(lookup("NoSuchAccountAnywhere", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr),
              0);
    EXPECT_EQ(SidText(Fn<PSID (*)(int)>("nt_get_enum_sid")(4)), "S-1-5-32-544");
    EXPECT_NE(Fn<void* (*)(const char*)>("nt_getgrnam_sid")("Administrators"), nullptr);
    EXPECT_EQ(Fn<void* (*)(const char*)>("nt_getgrnam_sid")("NoSuchGroupAnywhere"), nullptr);
}

TEST_F(Accounts, MissingPrimaryDomainSidAndTheLogonSid) {
    auto enumSid = Fn<PSID (*)(int)>("nt_get_enum_sid");
    EXPECT_EQ(enumSid(13), nullptr);
    EXPECT_EQ(enumSid(17), nullptr);
    EXPECT_EQ(enumSid(27), nullptr);
    EXPECT_EQ(SidText(enumSid(15)), "S-1-5-21-0-0-0");
    EXPECT_EQ(SidText(enumSid(16)), "S-1-5-32");
    PSID sid = nullptr;
    EXPECT_EQ(Fn<int (*)(int, PSID*)>("ntx_uid_to_sid")(0x100001, &sid), -1);
    EXPECT_EQ(Fn<int (*)(int, PSID*)>("ntx_uid_to_sid")(-1, &sid), -1);
    PSID logon = enumSid(14);
    ASSERT_NE(logon, nullptr);
    EXPECT_EQ(SidText(logon).rfind("S-1-5-5-", 0), 0u);
    EXPECT_EQ(Fn<int (*)(PSID)>("nt_is_sid_logon_id")(logon), 1);
    EXPECT_EQ(Fn<int (*)(PSID)>("nt_sid_to_uid")(logon), -1);
    BYTE bad[8] = {1, 0, 0, 0, 0, 0, 0, 5};  // no sub-authority
    EXPECT_EQ(Fn<int (*)(PSID)>("nt_sid_to_uid")(bad), -1);
    EXPECT_EQ(Fn<int (*)(PSID)>("nt_sid_to_uid")(nullptr), -1);
    EXPECT_STREQ(Fn<const char* (*)()>("nt_get_vantrel_group_name")(), "VantrelGroup");
}

TEST_F(Accounts, TakeOwnershipPrivilegeIsEnabledAndRestored) {
    PrivState previous{};
    EXPECT_EQ(Fn<int (*)(PrivState*)>("nt_enable_dlfs_privs")(&previous), 1);
    Fn<void (*)(PrivState*)>("nt_disable_dlfs_privs")(&previous);
    PrivState chown{};
    EXPECT_EQ(Fn<int (*)(PrivState*)>("nt_enable_chown_privileges")(&chown), 1);
    Fn<void (*)(PrivState*)>("nt_restore_chown_privileges")(&chown);
    LUID luid{};
    EXPECT_EQ(Fn<int (*)(DWORD, LUID*)>("nt_get_logon_luid")(0, &luid), 1);
}

TEST_F(Accounts, SidStrings) {
    BYTE sid[68];
    auto toSid = Fn<int (*)(const char*, PSID, DWORD)>("nt_str_to_sid");
    ASSERT_EQ(toSid("S-1-5-32-545", sid, sizeof sid), 1);
    EXPECT_STREQ(Fn<const char* (*)(PSID)>("nt_sid_to_str")(sid), "S-1-5-32-545");
    EXPECT_EQ(toSid("S-1-5-32-x", sid, sizeof sid), 0);
    EXPECT_EQ(toSid("S-1-5-32-545", sid, 12), 0);
    EXPECT_STREQ(Fn<const char* (*)(int)>("nt_sid_name_use_to_str")(5), "Well known group");
    EXPECT_STREQ(Fn<const char* (*)(int)>("nt_sid_name_use_to_str")(42), "Unknown");
}

}  // namespace
