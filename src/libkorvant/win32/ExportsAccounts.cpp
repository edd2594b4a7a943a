// Accounts, SIDs and privileges: the nt_* and ntx_* account exports.
#include <windows.h>
// after windows.h
#include <lm.h>
#include <ntsecapi.h>
#include <wtsapi32.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "libkorvant/TextUtil.h"
#include "libkorvant/libkorvant.h"
#include "libkorvant/win32/Library.h"
#include "libkorvant/win32/Strings.h"

using namespace korvant;
using namespace korvant::win32;

namespace {

bool FromPsid(PSID p, Sid* out) {
    return p != nullptr && IsValidSid(p) && Sid::FromBytes(p, GetLengthSid(p), out);
}

// Results handed out "in static storage" are kept per thread, so one
// thread's call never overwrites what another thread is reading.
struct SidSlot {
    BYTE bytes[Sid::kMaxBytes] = {};
    PSID Set(const Sid& sid) { return sid.ToBuffer(bytes, sizeof bytes) ? bytes : nullptr; }
};

int CopyOut(const std::string& text, char* buffer, DWORD size) {
    if (buffer == nullptr || size == 0 || text.size() >= size) {
        return 0;
    }
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return 1;
}

int SidOut(const Sid& sid, PSID buffer, DWORD size) {
    return buffer != nullptr && sid.ToBuffer(buffer, size) ? 1 : 0;
}

struct PasswdStorage {
    nt_passwd record{};
    std::string name, gecos, dir;
    SidSlot sid;
    BYTE* group = nullptr;  // allocated, freed at the next call
    ~PasswdStorage() { std::free(group); }
    nt_passwd* Set(const PasswdRecord& r) {
        name = r.name;
        gecos = r.gecos;
        dir = r.home;
        std::free(group);
        group = nullptr;
        if (r.haveGroup) {
            group = static_cast<BYTE*>(std::malloc(Sid::kMaxBytes));
            if (group != nullptr && !r.group.ToBuffer(group, Sid::kMaxBytes)) {
                std::free(group);
                group = nullptr;
            }
        }
        record = {name.data(), sid.Set(r.sid), group, gecos.data(), dir.data()};
        return &record;
    }
};

struct GroupStorage {
    nt_group record{};
    std::string name;
    SidSlot sid;
    nt_group* Set(const GroupRecord& r) {
        name = r.name;
        record = {name.data(), sid.Set(r.sid)};
        return &record;
    }
};

thread_local PasswdStorage tPasswd;
thread_local GroupStorage tGroup;
thread_local SidSlot tTpoSid;
thread_local SidSlot tEnvGroup;
thread_local std::string tSidText;

void ToState(const PrivilegeState& state, NT_PRIV_STATE* out) {
    if (out == nullptr) {
        return;
    }
    out->PrivilegeCount = 0;
    for (const auto& entry : state.entries) {
        if (out->PrivilegeCount >= 4 ||
            !LookupPrivilegeValueA(nullptr, entry.name.c_str(),
                                   &out->Privileges[out->PrivilegeCount].Luid)) {
            continue;
        }
        out->Privileges[out->PrivilegeCount++].Attributes = entry.attributes;
    }
}

PrivilegeState FromState(const NT_PRIV_STATE* in) {
    PrivilegeState state;
    if (in == nullptr) {
        return state;
    }
    for (DWORD i = 0; i < in->PrivilegeCount && i < 4; ++i) {
        char name[128];
        DWORD chars = sizeof name;
        LUID luid = in->Privileges[i].Luid;
        if (LookupPrivilegeNameA(nullptr, &luid, name, &chars)) {
            state.entries.push_back({name, in->Privileges[i].Attributes});
        }
    }
    return state;
}

}  // namespace

KORVANT_EXPORT void nt_init(void) {
    nt_enter_critical_section();
    TheAccounts().Init();
    nt_leave_critical_section();
}

KORVANT_EXPORT int nt_sid_to_uid(PSID sid) {
    Sid value;
    return FromPsid(sid, &value) ? TheAccounts().SidToUid(value) : -1;
}

KORVANT_EXPORT int ntx_uid_to_sid(int id, PSID* sid) {
    Sid value;
    if (sid == nullptr || !TheAccounts().UidToSid(id, &value)) {
        return -1;
    }
    void* copy = std::malloc(value.Length());
    if (copy == nullptr || !value.ToBuffer(copy, value.Length())) {
        std::free(copy);
        return -1;
    }
    *sid = copy;
    return 0;
}

KORVANT_EXPORT int ntx_rid_to_uid_int(DWORD rid, PSID domainSid) {
    Sid domain;
    return FromPsid(domainSid, &domain) ? TheAccounts().RidToUid(rid, domain) : -1;
}

KORVANT_EXPORT int ntx_get_domain_sid_type(PSID domainSid, DWORD* offset) {
    Sid domain;
    std::uint32_t value = 0;
    const int kind = FromPsid(domainSid, &domain) ? TheAccounts().DomainSidType(domain, &value) : 0;
    if (offset != nullptr) {
        *offset = value;
    }
    return kind;
}

KORVANT_EXPORT DWORD ntx_get_trusted_posix_offset(PSID domainSid, char* domainName) {
    Sid domain;
    std::string name;
    if (!FromPsid(domainSid, &domain)) {
        return 0;
    }
    const DWORD offset = TheAccounts().TrustedPosixOffset(domain, &name);
    if (domainName != nullptr) {
        CopyTruncated(domainName, NT_MAX_DOMAIN_NAME + 1, name);
    }
    return offset;
}

KORVANT_EXPORT PSID ntx_trusted_posix_offset_to_domain_sid(DWORD offset, NT_TPO_RECORD* record) {
    Sid sid;
    std::string name;
    if (!TheAccounts().TpoToDomainSid(offset, &sid, &name)) {
        return nullptr;
    }
    if (record != nullptr) {
        record->offset = offset;
        CopyTruncated(record->domainName, sizeof record->domainName, name);
        sid.ToBuffer(record->domainSid, sizeof record->domainSid);
    }
    return tTpoSid.Set(sid);
}

KORVANT_EXPORT int ntx_set_cached_tpo_db(void) {
    return TheAccounts().SetCachedTpoDb() ? 1 : 0;
}

KORVANT_EXPORT int ntx_get_tpo_db_from_lsa(NT_TPO_RECORD* list, int max) {
    const std::vector<TrustedDomain> domains = TheAccounts().TpoDbFromLsa();
    int n = 0;
    for (const TrustedDomain& d : domains) {
        if (list == nullptr || n >= max) {
            break;
        }
        list[n].offset = d.posixOffset;
        CopyTruncated(list[n].domainName, sizeof list[n].domainName, d.name);
        std::memset(list[n].domainSid, 0, sizeof list[n].domainSid);
        d.sid.ToBuffer(list[n].domainSid, sizeof list[n].domainSid);
        ++n;
    }
    return list == nullptr ? static_cast<int>(domains.size()) : n;
}

KORVANT_EXPORT int nt_lookup_account_name(const char* name, PSID sid, DWORD* sidSize, char* domain,
                                          DWORD* domainSize, SID_NAME_USE* use, char* fullName) {
    AccountInfo info;
    std::string full;
    if (name == nullptr || !TheAccounts().LookupAccount(name, &info, &full)) {
        return 0;
    }
    if (sidSize != nullptr) {
        const DWORD need = static_cast<DWORD>(info.sid.Length());
        const bool fits = sid != nullptr && *sidSize >= need && info.sid.ToBuffer(sid, *sidSize);
        *sidSize = need;
        if (!fits) {
            return 0;
        }
    }
    if (domainSize != nullptr) {
        const DWORD need = static_cast<DWORD>(info.domain.size() + 1);
        const bool fits = domain != nullptr && *domainSize >= need;
        if (fits) {
            std::memcpy(domain, info.domain.c_str(), need);
        }
        *domainSize = need;
        if (!fits) {
            return 0;
        }
    }
    if (use != nullptr) {
        *use = static_cast<SID_NAME_USE>(info.use);
    }
    if (fullName != nullptr) {
        CopyTruncated(fullName, NT_MAX_ACCOUNT_NAME, full);
    }
    return 1;
}

KORVANT_EXPORT PSID nt_get_primary_group_from_env(void) {
    Sid sid;
    return TheAccounts().PrimaryGroupFromEnv(&sid) ? tEnvGroup.Set(sid) : nullptr;
}

KORVANT_EXPORT int nt_set_primary_group_from_env(void) {
    Sid sid;
    if (!TheAccounts().PrimaryGroupFromEnv(&sid)) {
        return 0;
    }
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_DEFAULT, &token)) {
        Trace("OpenProcessToken", "ntutil", __LINE__, GetLastError());
        return 0;
    }
    std::vector<std::uint8_t> bytes = sid.Bytes();
    TOKEN_PRIMARY_GROUP group{bytes.data()};
    const BOOL ok = SetTokenInformation(token, TokenPrimaryGroup, &group, sizeof group);
    if (!ok) {
        Trace("SetTokenInformation", "ntutil", __LINE__, GetLastError());
    }
    CloseHandle(token);
    return ok ? 1 : 0;
}

KORVANT_EXPORT const char* nt_get_vantrel_group_name(void) {
    static std::string name;
    static std::once_flag once;
    std::call_once(once, [] { name = TheAccounts().VantrelGroupName(); });
    return name.c_str();
}

KORVANT_EXPORT int nt_get_prioritized_groups_list(PSID** groups) {
    static std::vector<void*> copies;
    static std::once_flag once;
    std::call_once(once, [] {
        for (const Sid& sid : TheAccounts().PrioritizedGroups()) {
            void* copy = std::malloc(sid.Length());
            if (copy == nullptr || !sid.ToBuffer(copy, sid.Length())) {
                Trace("malloc", "ntutil", __LINE__, ERROR_NOT_ENOUGH_MEMORY);
                std::free(copy);
                break;
            }
            copies.push_back(copy);
        }
    });
    if (groups != nullptr) {
        *groups = copies.empty() ? nullptr : reinterpret_cast<PSID*>(copies.data());
    }
    return static_cast<int>(copies.size());
}

KORVANT_EXPORT PSID nt_get_enum_sid(int number) {
    static SidSlot slots[27];
    static bool done[27] = {};
    static bool have[27] = {};
    static std::mutex lock;
    if (number < 0 || number > 26) {
        return nullptr;
    }
    std::lock_guard<std::mutex> hold(lock);
    if (!done[number]) {
        Sid sid;
        have[number] = TheAccounts().EnumSid(number, &sid) && slots[number].Set(sid) != nullptr;
        done[number] = true;
    }
    return have[number] ? slots[number].bytes : nullptr;
}

KORVANT_EXPORT int nt_is_privileged(void) {
    return TheAccounts().IsPrivileged() ? 1 : 0;
}

KORVANT_EXPORT int nt_is_privileged_sid_creds(PSID user, PSID* groups, int count) {
    Sid product, admins, sid;
    const bool haveProduct = TheAccounts().EnumSid(1, &product);
    TheAccounts().EnumSid(4, &admins);
    DWORD config = 0, size = sizeof config;
    const bool present = ntregy_get_param(38, &size, &config, nullptr) == 0;
    const bool adminsCount = ntregy_admins_are_privileged() != 0 || (config & 0x201) == 0x201;
    if (!present) {
        return 0;
    }
    for (int i = -1; i < count; ++i) {
        PSID p = i < 0 ? user : (groups != nullptr ? groups[i] : nullptr);
        if (FromPsid(p, &sid) &&
            ((haveProduct && sid == product) || (adminsCount && sid == admins))) {
            return 1;
        }
    }
    return 0;
}

KORVANT_EXPORT int nt_is_administrators(void) {
    BYTE admins[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof admins;
    BOOL member = FALSE;
    if (!CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, admins, &size) ||
        !CheckTokenMembership(nullptr, admins, &member)) {
        Trace("CheckTokenMembership", "ntutil", __LINE__, GetLastError());
        return 0;
    }
    return member ? 1 : 0;
}

KORVANT_EXPORT int nt_enable_dlfs_privs(NT_PRIV_STATE* previous) {
    PrivilegeState state;
    const int held = TheAccounts().EnablePrivileges({"SeTakeOwnershipPrivilege"}, &state);
    ToState(state, previous);
    return held;
}

KORVANT_EXPORT void nt_disable_dlfs_privs(NT_PRIV_STATE* previous) {
    TheAccounts().RestorePrivileges(FromState(previous));
}

KORVANT_EXPORT int nt_enable_chown_privileges(NT_PRIV_STATE* previous) {
    PrivilegeState state;
    const int held =
        TheAccounts().EnablePrivileges({"SeTakeOwnershipPrivilege", "SeRestorePrivilege"}, &state);
    ToState(state, previous);
    return held;
}

KORVANT_EXPORT void nt_restore_chown_privileges(NT_PRIV_STATE* previous) {
    TheAccounts().RestorePrivileges(FromState(previous));
}

KORVANT_EXPORT int nt_is_chown_privileged(void) {
    NT_PRIV_STATE previous{};
    const int held = nt_enable_chown_privileges(&previous);
    nt_restore_chown_privileges(&previous);
    return held;
}

KORVANT_EXPORT struct nt_passwd* nt_getpwnam_sid(const char* name) {
    PasswdRecord record;
    return name != nullptr && TheAccounts().GetPwNam(name, &record) ? tPasswd.Set(record) : nullptr;
}

KORVANT_EXPORT struct nt_passwd* nt_getpwsid_sid(PSID sid) {
    Sid value;
    PasswdRecord record;
    return FromPsid(sid, &value) && TheAccounts().GetPwSid(value, &record) ? tPasswd.Set(record)
                                                                           : nullptr;
}

KORVANT_EXPORT struct nt_group* nt_getgrnam_sid(const char* name) {
    GroupRecord record;
    return name != nullptr && TheAccounts().GetGrNam(name, &record) ? tGroup.Set(record) : nullptr;
}

KORVANT_EXPORT struct nt_group* nt_getgrsid_sid(PSID sid) {
    Sid value;
    GroupRecord record;
    return FromPsid(sid, &value) && TheAccounts().GetGrSid(value, &record) ? tGroup.Set(record)
                                                                           : nullptr;
}

KORVANT_EXPORT struct nt_group* nt_getgroup_sid(void) {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
        return nullptr;
    }
    BYTE buffer[sizeof(TOKEN_PRIMARY_GROUP) + SECURITY_MAX_SID_SIZE];
    DWORD length = 0;
    const BOOL ok = GetTokenInformation(token, TokenPrimaryGroup, buffer, sizeof buffer, &length);
    CloseHandle(token);
    if (!ok) {
        return nullptr;
    }
    return nt_getgrsid_sid(reinterpret_cast<TOKEN_PRIMARY_GROUP*>(buffer)->PrimaryGroup);
}

KORVANT_EXPORT int nt_getgroups_sid(int max, PSID* list) {
    thread_local std::vector<SidSlot> slots;
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
        return -1;
    }
    DWORD length = 0;
    GetTokenInformation(token, TokenGroups, nullptr, 0, &length);
    std::vector<BYTE> buffer(length != 0 ? length : 1);
    const BOOL ok = GetTokenInformation(token, TokenGroups, buffer.data(), length, &length);
    CloseHandle(token);
    if (!ok) {
        return -1;
    }
    const auto* groups = reinterpret_cast<TOKEN_GROUPS*>(buffer.data());
    slots.assign(groups->GroupCount, SidSlot());
    int n = 0;
    for (DWORD i = 0; i < groups->GroupCount; ++i) {
        Sid sid;
        if ((groups->Groups[i].Attributes & SE_GROUP_ENABLED) == 0 ||
            (groups->Groups[i].Attributes & SE_GROUP_LOGON_ID) == SE_GROUP_LOGON_ID ||
            !FromPsid(groups->Groups[i].Sid, &sid)) {
            continue;
        }
        if (list != nullptr && n < max) {
            list[n] = slots[n].Set(sid);
        }
        ++n;
    }
    return list != nullptr && n > max ? max : n;
}

KORVANT_EXPORT const char* nt_getlogin(void) {
    static std::string login;
    static bool have = false;
    static std::once_flag once;
    std::call_once(once, [] { have = TheAccounts().GetLogin(&login); });
    return have ? login.c_str() : nullptr;
}

KORVANT_EXPORT void nt_dump_cache(void) {
    const std::string text = TheAccounts().DumpCache();
    std::fputs(text.c_str(), stdout);
    std::fflush(stdout);
}

KORVANT_EXPORT void ntx_dump_cache(void) {
    NT_TPO_RECORD list[64];
    const int n = ntx_get_tpo_db_from_lsa(list, 64);
    std::printf("Trusted POSIX offsets:\n");
    if (n <= 0) {
        std::printf("    Empty\n");
    }
    for (int i = 0; i < n; ++i) {
        Sid sid;
        Sid::FromBytes(list[i].domainSid, sizeof list[i].domainSid, &sid);
        std::printf("    %s -> 0x%x (%s)\n", sid.ToString().c_str(),
                    static_cast<unsigned>(list[i].offset), list[i].domainName);
    }
    std::fflush(stdout);
}

namespace {

bool UserSid(Sid* sid) {
    const long status = TheAccounts().System().TokenUser(sid);
    if (status != 0) {
        Trace("GetTokenInformation", "ntutil", __LINE__, static_cast<unsigned long>(status));
    }
    return status == 0;
}

}  // namespace

KORVANT_EXPORT int nt_get_user_sid(PSID buffer, DWORD size) {
    Sid sid;
    return UserSid(&sid) ? SidOut(sid, buffer, size) : 0;
}

KORVANT_EXPORT int nt_get_user_sid_str(char* buffer, DWORD size) {
    Sid sid;
    return UserSid(&sid) ? CopyOut(sid.ToString(), buffer, size) : 0;
}

KORVANT_EXPORT int nt_get_sid_str(PSID sid, char* buffer, DWORD size) {
    Sid value;
    return FromPsid(sid, &value) ? CopyOut(value.ToString(), buffer, size) : 0;
}

KORVANT_EXPORT const char* nt_sid_to_str(PSID sid) {
    Sid value;
    if (!FromPsid(sid, &value)) {
        return nullptr;
    }
    tSidText = value.ToString();
    return tSidText.c_str();
}

KORVANT_EXPORT const char* ntx_sid_to_str(PSID sid) {
    return nt_sid_to_str(sid);
}

KORVANT_EXPORT int nt_str_to_sid(const char* text, PSID buffer, DWORD size) {
    Sid sid;
    return text != nullptr && Sid::Parse(text, &sid) ? SidOut(sid, buffer, size) : 0;
}

KORVANT_EXPORT const char* nt_sid_name_use_to_str(int use) {
    static const char* const kNames[] = {
        "User",    "Group",   "Domain",  "Alias", "Well known group", "Deleted account",
        "Invalid", "Unknown", "Computer"};
    return use >= 1 && use <= 9 ? kNames[use - 1] : "Unknown";
}

// The calling user's domain: the token user's SID without its RID.
KORVANT_EXPORT int nt_get_domain_sid(PSID buffer, DWORD size) {
    Sid sid;
    return UserSid(&sid) && sid.HasRid() ? SidOut(sid.Domain(), buffer, size) : 0;
}

KORVANT_EXPORT int nt_get_domain_sid_str(char* buffer, DWORD size) {
    Sid sid;
    return UserSid(&sid) && sid.HasRid() ? CopyOut(sid.Domain().ToString(), buffer, size) : 0;
}

KORVANT_EXPORT int nt_get_domain_sid_str_user(const char* user, char* buffer, DWORD size) {
    AccountInfo info;
    if (user == nullptr || !TheAccounts().LookupAccount(user, &info, nullptr) ||
        !info.sid.HasRid()) {
        return 0;
    }
    return CopyOut(info.sid.Domain().ToString(), buffer, size);
}

KORVANT_EXPORT int nt_get_domain_name(char* buffer, DWORD size) {
    Sid sid;
    AccountInfo info;
    if (!UserSid(&sid) || TheAccounts().System().LookupSid(sid, &info) != 0) {
        return 0;
    }
    return CopyOut(info.domain, buffer, size);
}

KORVANT_EXPORT int nt_get_pdc_name(char* buffer, DWORD size) {
    DomainInfo primary;
    if (!TheAccounts().PrimaryDomain(&primary) || !primary.hasSid) {
        return 0;
    }
    LPBYTE dc = nullptr;
    const NET_API_STATUS status = NetGetDCName(nullptr, AnsiToWide(primary.name).c_str(), &dc);
    if (status != NERR_Success) {
        Trace("NetGetDCName", "ntutil", __LINE__, status);
        return 0;
    }
    const int ok = CopyOut(WideToAnsi(reinterpret_cast<wchar_t*>(dc)), buffer, size);
    NetApiBufferFree(dc);
    return ok;
}

KORVANT_EXPORT int ntx_what_domain(PSID sid) {
    Sid value;
    std::uint32_t offset = 0;
    if (!FromPsid(sid, &value) || !value.HasRid()) {
        return 0;
    }
    return TheAccounts().DomainSidType(value.Domain(), &offset);
}

KORVANT_EXPORT int nt_is_domain_sid(PSID sid) {
    Sid value;
    std::uint32_t offset = 0;
    if (!FromPsid(sid, &value)) {
        return 0;
    }
    const int kind = TheAccounts().DomainSidType(value, &offset);
    return kind >= 1 && kind <= 5 ? 1 : 0;
}

KORVANT_EXPORT int ntx_in_my_domain(PSID sid) {
    Sid value, me;
    return FromPsid(sid, &value) && value.HasRid() && UserSid(&me) && me.HasRid() &&
                   value.Domain() == me.Domain()
               ? 1
               : 0;
}

KORVANT_EXPORT int nt_is_domain_user(void) {
    Sid me;
    DomainInfo primary;
    return UserSid(&me) && me.HasRid() && TheAccounts().PrimaryDomain(&primary) && primary.hasSid &&
                   primary.sid == me.Domain()
               ? 1
               : 0;
}

KORVANT_EXPORT int nt_is_in_active_directory(void) {
    LSA_OBJECT_ATTRIBUTES attributes{};
    LSA_HANDLE policy = nullptr;
    if (LsaOpenPolicy(nullptr, &attributes, POLICY_VIEW_LOCAL_INFORMATION, &policy) != 0) {
        return 0;
    }
    POLICY_DNS_DOMAIN_INFO* info = nullptr;
    int result = 0;
    if (LsaQueryInformationPolicy(policy, PolicyDnsDomainInformation,
                                  reinterpret_cast<PVOID*>(&info)) == 0 &&
        info != nullptr) {
        result = info->Sid != nullptr && info->DnsDomainName.Length > 0 ? 1 : 0;
        LsaFreeMemory(info);
    }
    LsaClose(policy);
    return result;
}

KORVANT_EXPORT int nt_is_sid_logon_id(PSID sid) {
    Sid value;
    return FromPsid(sid, &value) && TheAccounts().IsSidLogonId(value) ? 1 : 0;
}

// The token of the user logged on at the console, for impersonation; the
// caller closes it. Falls back to the shell's process token.
KORVANT_EXPORT HANDLE nt_get_impersonation_token(void) {
    HANDLE primary = nullptr;
    if (!WTSQueryUserToken(WTSGetActiveConsoleSessionId(), &primary)) {
        DWORD pid = 0;
        HWND shell = GetShellWindow();
        if (shell != nullptr) {
            GetWindowThreadProcessId(shell, &pid);
        }
        HANDLE process = pid != 0 ? OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, pid) : nullptr;
        const BOOL ok = process != nullptr &&
                        OpenProcessToken(process, TOKEN_DUPLICATE | TOKEN_QUERY, &primary);
        if (process != nullptr) {
            CloseHandle(process);
        }
        if (!ok) {
            Trace("WTSQueryUserToken", "ntutil", __LINE__, GetLastError());
            return nullptr;
        }
    }
    HANDLE impersonation = nullptr;
    const BOOL duplicated =
        DuplicateTokenEx(primary, TOKEN_QUERY | TOKEN_IMPERSONATE, nullptr, SecurityImpersonation,
                         TokenImpersonation, &impersonation);
    CloseHandle(primary);
    if (!duplicated) {
        Trace("DuplicateTokenEx", "ntutil", __LINE__, GetLastError());
        return nullptr;
    }
    return impersonation;
}

KORVANT_EXPORT int nt_impersonate_user(void) {
    HANDLE token = nt_get_impersonation_token();
    if (token == nullptr) {
        return 0;
    }
    const BOOL ok = SetThreadToken(nullptr, token);
    if (!ok) {
        Trace("SetThreadToken", "ntutil", __LINE__, GetLastError());
    }
    CloseHandle(token);
    return ok ? 1 : 0;
}

KORVANT_EXPORT int nt_revert_to_self(void) {
    if (!RevertToSelf()) {
        Trace("RevertToSelf", "ntutil", __LINE__, GetLastError());
        return 0;
    }
    return 1;
}

KORVANT_EXPORT int nt_get_logon_luid(DWORD pid, LUID* luid) {
    if (luid == nullptr) {
        return 0;
    }
    HANDLE process =
        pid == 0 ? GetCurrentProcess() : OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, pid);
    HANDLE token = nullptr;
    const BOOL opened = process != nullptr && OpenProcessToken(process, TOKEN_QUERY, &token);
    if (process != nullptr && pid != 0) {
        CloseHandle(process);
    }
    if (!opened) {
        Trace("OpenProcessToken", "ntutil", __LINE__, GetLastError());
        return 0;
    }
    TOKEN_STATISTICS statistics{};
    DWORD length = 0;
    const BOOL ok =
        GetTokenInformation(token, TokenStatistics, &statistics, sizeof statistics, &length);
    CloseHandle(token);
    if (!ok) {
        return 0;
    }
    *luid = statistics.AuthenticationId;
    return 1;
}

KORVANT_EXPORT int nt_user_get_credentials(NT_CREDENTIALS** out) {
    if (out == nullptr) {
        return 0;
    }
    *out = nullptr;
    Sid me;
    std::vector<TokenGroup> groups;
    if (!UserSid(&me) || TheAccounts().System().TokenGroups(&groups) != 0) {
        return 0;
    }
    std::vector<int> ids;
    for (const TokenGroup& g : groups) {
        const int id = (g.attributes & kGroupEnabled) != 0 ? TheAccounts().SidToUid(g.sid) : -1;
        if (id != -1) {
            ids.push_back(id);
        }
    }
    auto* credentials = static_cast<NT_CREDENTIALS*>(
        std::calloc(1, sizeof(NT_CREDENTIALS) + ids.size() * sizeof(int)));
    if (credentials == nullptr) {
        return 0;
    }
    credentials->uid = TheAccounts().SidToUid(me);
    PasswdRecord record;
    credentials->gid = TheAccounts().GetPwSid(me, &record) && record.haveGroup
                           ? TheAccounts().SidToUid(record.group)
                           : -1;
    credentials->groupCount = static_cast<int>(ids.size());
    credentials->groups = reinterpret_cast<int*>(credentials + 1);
    std::copy(ids.begin(), ids.end(), credentials->groups);
    *out = credentials;
    return 1;
}

KORVANT_EXPORT void nt_user_free_credentials(NT_CREDENTIALS* credentials) {
    std::free(credentials);
}

KORVANT_EXPORT SECURITY_ATTRIBUTES* nt_public_security_attributes(void) {
    static SECURITY_DESCRIPTOR descriptor;
    static SECURITY_ATTRIBUTES attributes{sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
    static std::once_flag once;
    std::call_once(once, [] {
        if (InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION) &&
            SetSecurityDescriptorDacl(&descriptor, TRUE, nullptr, FALSE)) {
            attributes.lpSecurityDescriptor = &descriptor;
        }
    });
    return &attributes;
}

KORVANT_EXPORT DWORD ntx_grant_logon_svc(const char* account) {
    AccountInfo info;
    if (account == nullptr || !TheAccounts().LookupAccount(account, &info, nullptr)) {
        return ERROR_NONE_MAPPED;
    }
    LSA_OBJECT_ATTRIBUTES attributes{};
    LSA_HANDLE policy = nullptr;
    NTSTATUS status =
        LsaOpenPolicy(nullptr, &attributes, POLICY_CREATE_ACCOUNT | POLICY_LOOKUP_NAMES, &policy);
    if (status != 0) {
        TraceX("LsaOpenPolicy", "ntutilx", __LINE__, LsaNtStatusToWinError(status));
        return LsaNtStatusToWinError(status);
    }
    wchar_t right[] = L"SeServiceLogonRight";
    LSA_UNICODE_STRING text{static_cast<USHORT>(wcslen(right) * sizeof(wchar_t)),
                            static_cast<USHORT>(sizeof right), right};
    std::vector<std::uint8_t> sid = info.sid.Bytes();
    status = LsaAddAccountRights(policy, sid.data(), &text, 1);
    LsaClose(policy);
    if (status != 0) {
        TraceX("LsaAddAccountRights", "ntutilx", __LINE__, LsaNtStatusToWinError(status));
    }
    return LsaNtStatusToWinError(status);
}
