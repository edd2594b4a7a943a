#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "libkorvant/Sid.h"

namespace korvant {

// How an account name is used, as the account lookup reports it.
enum SidUse : int {
    kSidUser = 1,
    kSidGroup = 2,
    kSidDomain = 3,
    kSidAlias = 4,
    kSidWellKnownGroup = 5,
    kSidDeleted = 6,
    kSidInvalid = 7,
    kSidUnknown = 8,
    kSidComputer = 9,
};

inline constexpr std::uint32_t kGroupEnabled = 0x4;
inline constexpr std::uint32_t kGroupLogonId = 0xC0000000u;
inline constexpr long kErrNoneMapped = 1332;

struct AccountInfo {
    Sid sid;
    std::string domain;
    std::string name;
    int use = 0;
};

struct DomainInfo {
    std::string name;
    bool hasSid = false;
    Sid sid;
};

struct TrustedDomain {
    std::string name;
    Sid sid;
    std::uint32_t posixOffset = 0;
};

// What the domain's user information tells (levels 3, 2, 1 tell less and less).
struct UserDetails {
    std::string fullName;
    std::string homeDir;
    bool haveGroup = false;
    std::uint32_t primaryGroupId = 0;
};

struct TokenGroup {
    Sid sid;
    std::uint32_t attributes = 0;
};

// Privileges as they were before a change: name and attributes.
struct PrivilegeState {
    struct Entry {
        std::string name;
        std::uint32_t attributes = 0;
    };
    std::vector<Entry> entries;
};

// The token a privilege change or check works on: the process's, or the
// one the calling thread impersonates with.
enum class TokenKind { kProcess, kThread };

// NTSTATUS values of a paged LSA enumeration: "more entries" is a success
// that asks for another call, "no more entries" ends it.
inline constexpr std::uint32_t kStatusMoreEntries = 0x00000105;
inline constexpr std::uint32_t kStatusNoMoreEntries = 0x8000001A;

// One call of the trusted-domain enumeration: appends what it returned and
// answers its NTSTATUS.
using TrustedDomainPage = std::function<std::uint32_t(std::vector<TrustedDomain>*)>;
// Calls `page` until the enumeration ends and gathers every page. 0, or the
// NTSTATUS of a page that failed (what came before it is dropped then).
std::uint32_t CollectTrustedDomains(const TrustedDomainPage& page, std::vector<TrustedDomain>* out);

// The account, LSA, user-information and token services the account layer
// needs. The Win32 implementation lives in win32/; tests use a fake.
class AccountSystem {
public:
    virtual ~AccountSystem() = default;
    // 0 or a Win32 error (1332 when nothing is mapped).
    virtual long LookupName(const std::string& name, AccountInfo* out) = 0;
    virtual long LookupSid(const Sid& sid, AccountInfo* out) = 0;
    virtual long PrimaryDomain(DomainInfo* out) = 0;
    virtual long AccountDomain(DomainInfo* out) = 0;
    virtual long TrustedDomains(std::vector<TrustedDomain>* out) = 0;
    virtual long UserInfo(const std::string& domain, const std::string& user, int level,
                          UserDetails* out) = 0;
    virtual long TokenUser(Sid* out) = 0;
    virtual long TokenGroups(std::vector<TokenGroup>* out) = 0;
    // Enables the named privileges in that token; *previous receives what
    // to restore (empty when nothing was changed).
    virtual long EnablePrivileges(TokenKind token, const std::vector<std::string>& names,
                                  PrivilegeState* previous) = 0;
    virtual long RestorePrivileges(TokenKind token, const PrivilegeState& previous) = 0;
    // Whether the privilege is enabled in that token.
    virtual long PrivilegeHeld(TokenKind token, const std::string& name, bool* held) = 0;
};

}  // namespace korvant
