#include "libkorvant/win32/Win32AccountSystem.h"

#include <windows.h>
// after windows.h
#include <lm.h>
#include <ntsecapi.h>

#include <vector>

#include "libkorvant/win32/Strings.h"

namespace korvant::win32 {

namespace {

bool ToSid(PSID p, Sid* out) {
    return p != nullptr && IsValidSid(p) && Sid::FromBytes(p, GetLengthSid(p), out);
}

std::string Narrow(const wchar_t* text, std::size_t chars) {
    if (text == nullptr || chars == 0) {
        return std::string();
    }
    const int n =
        WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(chars), nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n : 0, '\0');
    if (n > 0) {
        WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(chars), out.data(), n, nullptr,
                            nullptr);
    }
    return out;
}

std::string Narrow(const LSA_UNICODE_STRING& s) {
    return Narrow(s.Buffer, s.Length / sizeof(wchar_t));
}

std::wstring Wide(const std::string& text) {
    const int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring out(n > 0 ? n : 1, L'\0');
    if (n > 0) {
        MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, out.data(), n);
    }
    out.resize(out.size() - 1);
    return out;
}

long OpenPolicy(ACCESS_MASK access, LSA_HANDLE* policy) {
    LSA_OBJECT_ATTRIBUTES attributes{};
    const NTSTATUS status = LsaOpenPolicy(nullptr, &attributes, access, policy);
    return status == 0 ? 0 : static_cast<long>(LsaNtStatusToWinError(status));
}

long OpenToken(DWORD access, HANDLE* token) {
    if (OpenThreadToken(GetCurrentThread(), access, TRUE, token) ||
        OpenProcessToken(GetCurrentProcess(), access, token)) {
        return 0;
    }
    return static_cast<long>(GetLastError());
}

long TokenInfo(TOKEN_INFORMATION_CLASS kind, std::vector<BYTE>* buffer) {
    HANDLE token = nullptr;
    if (long e = OpenToken(TOKEN_QUERY, &token)) {
        return e;
    }
    DWORD length = 0;
    GetTokenInformation(token, kind, nullptr, 0, &length);
    buffer->assign(length != 0 ? length : 1, 0);
    const bool ok = GetTokenInformation(token, kind, buffer->data(), length, &length) != 0;
    const DWORD error = GetLastError();
    CloseHandle(token);
    return ok ? 0 : static_cast<long>(error);
}

// The process token, or the token the calling thread impersonates with
// (none when it does not).
long OpenTokenOf(TokenKind kind, DWORD access, HANDLE* token) {
    const BOOL ok = kind == TokenKind::kThread
                        ? OpenThreadToken(GetCurrentThread(), access, TRUE, token)
                        : OpenProcessToken(GetCurrentProcess(), access, token);
    return ok ? 0 : static_cast<long>(GetLastError());
}

long AdjustPrivileges(TokenKind kind, const std::vector<std::pair<std::string, DWORD>>& wanted,
                      PrivilegeState* previous) {
    HANDLE token = nullptr;
    if (long e = OpenTokenOf(kind, TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) {
        return e;
    }
    const DWORD count = static_cast<DWORD>(wanted.size());
    const DWORD size = sizeof(TOKEN_PRIVILEGES) + count * sizeof(LUID_AND_ATTRIBUTES);
    std::vector<BYTE> in(size), out(size);
    auto* privileges = reinterpret_cast<TOKEN_PRIVILEGES*>(in.data());
    privileges->PrivilegeCount = count;
    for (DWORD i = 0; i < count; ++i) {
        if (!LookupPrivilegeValueA(nullptr, wanted[i].first.c_str(),
                                   &privileges->Privileges[i].Luid)) {
            const DWORD error = GetLastError();
            CloseHandle(token);
            return static_cast<long>(error);
        }
        privileges->Privileges[i].Attributes = wanted[i].second;
    }
    DWORD length = size;
    const BOOL ok = AdjustTokenPrivileges(token, FALSE, privileges, size,
                                          reinterpret_cast<TOKEN_PRIVILEGES*>(out.data()), &length);
    const DWORD error = GetLastError();
    CloseHandle(token);
    if (!ok) {
        return static_cast<long>(error);
    }
    if (previous != nullptr) {
        previous->entries.clear();
        const auto* before = reinterpret_cast<const TOKEN_PRIVILEGES*>(out.data());
        for (DWORD i = 0; i < before->PrivilegeCount && i < count; ++i) {
            char name[128];
            DWORD chars = sizeof name;
            LUID luid = before->Privileges[i].Luid;
            if (LookupPrivilegeNameA(nullptr, &luid, name, &chars)) {
                previous->entries.push_back({name, before->Privileges[i].Attributes});
            }
        }
    }
    return 0;
}

}  // namespace

long Win32AccountSystem::LookupName(const std::string& name, AccountInfo* out) {
    BYTE sid[SECURITY_MAX_SID_SIZE];
    DWORD sidSize = sizeof sid;
    char domain[256];
    DWORD domainSize = sizeof domain;
    SID_NAME_USE use;
    if (!LookupAccountNameA(nullptr, name.c_str(), sid, &sidSize, domain, &domainSize, &use)) {
        return static_cast<long>(GetLastError());
    }
    AccountInfo info;
    if (!ToSid(sid, &info.sid)) {
        return ERROR_INVALID_SID;
    }
    info.domain = domain;
    const std::size_t slash = name.find('\\');
    info.name = slash == std::string::npos ? name : name.substr(slash + 1);
    info.use = use;
    // The account's own spelling of its name.
    char account[256];
    DWORD accountSize = sizeof account;
    domainSize = sizeof domain;
    if (LookupAccountSidA(nullptr, sid, account, &accountSize, domain, &domainSize, &use)) {
        info.name = account;
    }
    *out = info;
    return 0;
}

long Win32AccountSystem::LookupSid(const Sid& sid, AccountInfo* out) {
    std::vector<std::uint8_t> bytes = sid.Bytes();
    char account[256], domain[256];
    DWORD accountSize = sizeof account, domainSize = sizeof domain;
    SID_NAME_USE use;
    if (!LookupAccountSidA(nullptr, bytes.data(), account, &accountSize, domain, &domainSize,
                           &use)) {
        return static_cast<long>(GetLastError());
    }
    *out = {sid, domain, account, static_cast<int>(use)};
    return 0;
}

long Win32AccountSystem::PrimaryDomain(DomainInfo* out) {
    LSA_HANDLE policy = nullptr;
    if (long e = OpenPolicy(POLICY_VIEW_LOCAL_INFORMATION, &policy)) {
        return e;
    }
    POLICY_PRIMARY_DOMAIN_INFO* info = nullptr;
    const NTSTATUS status = LsaQueryInformationPolicy(policy, PolicyPrimaryDomainInformation,
                                                      reinterpret_cast<PVOID*>(&info));
    LsaClose(policy);
    if (status != 0) {
        return static_cast<long>(LsaNtStatusToWinError(status));
    }
    DomainInfo result;
    result.name = Narrow(info->Name);
    // Workgroup machines (and Wine) have a primary domain name but no SID.
    result.hasSid = ToSid(info->Sid, &result.sid);
    LsaFreeMemory(info);
    *out = result;
    return 0;
}

long Win32AccountSystem::AccountDomain(DomainInfo* out) {
    LSA_HANDLE policy = nullptr;
    if (long e = OpenPolicy(POLICY_VIEW_LOCAL_INFORMATION, &policy)) {
        return e;
    }
    POLICY_ACCOUNT_DOMAIN_INFO* info = nullptr;
    const NTSTATUS status = LsaQueryInformationPolicy(policy, PolicyAccountDomainInformation,
                                                      reinterpret_cast<PVOID*>(&info));
    LsaClose(policy);
    if (status != 0) {
        return static_cast<long>(LsaNtStatusToWinError(status));
    }
    DomainInfo result;
    result.name = Narrow(info->DomainName);
    result.hasSid = ToSid(info->DomainSid, &result.sid);
    LsaFreeMemory(info);
    *out = result;
    return 0;
}

long Win32AccountSystem::TrustedDomains(std::vector<TrustedDomain>* out) {
    out->clear();
    LSA_HANDLE policy = nullptr;
    if (long e = OpenPolicy(POLICY_VIEW_LOCAL_INFORMATION, &policy)) {
        return e;
    }
    LSA_ENUMERATION_HANDLE context = 0;
    const std::uint32_t status = CollectTrustedDomains(
        [&](std::vector<TrustedDomain>* page) -> std::uint32_t {
            LSA_TRUST_INFORMATION* list = nullptr;
            ULONG count = 0;
            const NTSTATUS status = LsaEnumerateTrustedDomains(
                policy, &context, reinterpret_cast<PVOID*>(&list), 0x10000, &count);
            if (status != 0 && static_cast<std::uint32_t>(status) != kStatusMoreEntries) {
                return static_cast<std::uint32_t>(status);
            }
            for (ULONG i = 0; list != nullptr && i < count; ++i) {
                TrustedDomain d;
                d.name = Narrow(list[i].Name);
                if (!ToSid(list[i].Sid, &d.sid)) {
                    continue;
                }
                TRUSTED_POSIX_OFFSET_INFO* offset = nullptr;
                if (LsaQueryTrustedDomainInfo(policy, list[i].Sid, TrustedPosixOffsetInformation,
                                              reinterpret_cast<PVOID*>(&offset)) == 0 &&
                    offset != nullptr) {
                    d.posixOffset = offset->Offset;
                    LsaFreeMemory(offset);
                } else {
                    d.posixOffset = 0xFFFF;
                }
                page->push_back(d);
            }
            if (list != nullptr) {
                LsaFreeMemory(list);
            }
            return static_cast<std::uint32_t>(status);
        },
        out);
    LsaClose(policy);
    return status == 0 ? 0
                       : static_cast<long>(LsaNtStatusToWinError(static_cast<NTSTATUS>(status)));
}

long Win32AccountSystem::UserInfo(const std::string& domain, const std::string& user, int level,
                                  UserDetails* out) {
    // Domain accounts are asked at the domain's controller, local ones here.
    char computer[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof computer;
    GetComputerNameA(computer, &size);
    LPBYTE dc = nullptr;
    if (!domain.empty() && lstrcmpiA(domain.c_str(), computer) != 0) {
        if (NetGetDCName(nullptr, Wide(domain).c_str(), &dc) != NERR_Success) {
            dc = nullptr;
        }
    }
    LPBYTE buffer = nullptr;
    const NET_API_STATUS status =
        NetUserGetInfo(reinterpret_cast<LPCWSTR>(dc), Wide(user).c_str(), level, &buffer);
    if (dc != nullptr) {
        NetApiBufferFree(dc);
    }
    if (status != NERR_Success) {
        return static_cast<long>(status);
    }
    UserDetails details;
    auto text = [](const wchar_t* s) { return s != nullptr ? Narrow(s, wcslen(s)) : ""; };
    if (level == 3) {
        const auto* u = reinterpret_cast<USER_INFO_3*>(buffer);
        details = {text(u->usri3_full_name), text(u->usri3_home_dir), true,
                   u->usri3_primary_group_id};
    } else if (level == 2) {
        const auto* u = reinterpret_cast<USER_INFO_2*>(buffer);
        details = {text(u->usri2_full_name), text(u->usri2_home_dir), false, 0};
    } else if (level == 1) {
        details.homeDir = text(reinterpret_cast<USER_INFO_1*>(buffer)->usri1_home_dir);
    }
    NetApiBufferFree(buffer);
    *out = details;
    return 0;
}

long Win32AccountSystem::TokenUser(Sid* out) {
    std::vector<BYTE> buffer;
    if (long e = TokenInfo(::TokenUser, &buffer)) {
        return e;
    }
    return ToSid(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, out) ? 0
                                                                              : ERROR_INVALID_SID;
}

long Win32AccountSystem::TokenGroups(std::vector<TokenGroup>* out) {
    std::vector<BYTE> buffer;
    if (long e = TokenInfo(::TokenGroups, &buffer)) {
        return e;
    }
    const auto* groups = reinterpret_cast<TOKEN_GROUPS*>(buffer.data());
    out->clear();
    for (DWORD i = 0; i < groups->GroupCount; ++i) {
        TokenGroup g;
        if (ToSid(groups->Groups[i].Sid, &g.sid)) {
            g.attributes = groups->Groups[i].Attributes;
            out->push_back(g);
        }
    }
    return 0;
}

long Win32AccountSystem::EnablePrivileges(TokenKind token, const std::vector<std::string>& names,
                                          PrivilegeState* previous) {
    std::vector<std::pair<std::string, DWORD>> wanted;
    for (const std::string& name : names) {
        wanted.push_back({name, SE_PRIVILEGE_ENABLED});
    }
    return AdjustPrivileges(token, wanted, previous);
}

long Win32AccountSystem::RestorePrivileges(TokenKind token, const PrivilegeState& previous) {
    std::vector<std::pair<std::string, DWORD>> wanted;
    for (const auto& entry : previous.entries) {
        wanted.push_back({entry.name, entry.attributes});
    }
    return wanted.empty() ? 0 : AdjustPrivileges(token, wanted, nullptr);
}

long Win32AccountSystem::PrivilegeHeld(TokenKind token, const std::string& name, bool* held) {
    HANDLE opened = nullptr, copy = nullptr;
    if (long e = OpenTokenOf(token, TOKEN_QUERY | TOKEN_DUPLICATE, &opened)) {
        return e;
    }
    // The check wants an impersonation token.
    const BOOL duplicated = DuplicateToken(opened, SecurityImpersonation, &copy);
    CloseHandle(opened);
    if (!duplicated) {
        return static_cast<long>(GetLastError());
    }
    PRIVILEGE_SET set{};
    set.PrivilegeCount = 1;
    set.Control = PRIVILEGE_SET_ALL_NECESSARY;
    set.Privilege[0].Attributes = SE_PRIVILEGE_ENABLED;
    BOOL result = FALSE;
    long status = 0;
    if (!LookupPrivilegeValueA(nullptr, name.c_str(), &set.Privilege[0].Luid) ||
        !PrivilegeCheck(copy, &set, &result)) {
        status = static_cast<long>(GetLastError());
    }
    CloseHandle(copy);
    *held = result != FALSE;
    return status;
}

}  // namespace korvant::win32
