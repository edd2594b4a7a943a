#pragma once

#include <map>
#include <string>
#include <vector>

#include "libkorvant/AccountSystem.h"

namespace korvant::testing {

// Accounts, domains, trusted domains, per-level user information, a token
// with groups and privileges; failures can be injected per call and every
// call is counted.
class FakeAccountSystem : public AccountSystem {
public:
    FakeAccountSystem();

    long LookupName(const std::string& name, AccountInfo* out) override;
    long LookupSid(const Sid& sid, AccountInfo* out) override;
    long PrimaryDomain(DomainInfo* out) override;
    long AccountDomain(DomainInfo* out) override;
    long TrustedDomains(std::vector<TrustedDomain>* out) override;
    long UserInfo(const std::string& domain, const std::string& user, int level,
                  UserDetails* out) override;
    long TokenUser(Sid* out) override;
    long TokenGroups(std::vector<TokenGroup>* out) override;
    long EnablePrivileges(TokenKind token, const std::vector<std::string>& names,
                          PrivilegeState* previous) override;
    long RestorePrivileges(TokenKind token, const PrivilegeState& previous) override;
    long PrivilegeHeld(TokenKind token, const std::string& name, bool* held) override;

    // An account "DOMAIN\name" with its SID and use.
    void Add(const std::string& domain, const std::string& name, const Sid& sid, int use);

    std::vector<AccountInfo> accounts;
    DomainInfo primary;
    DomainInfo account;
    // Handed out as the LSA does, in pages of this many ("more entries"
    // until the last, then "no more entries"); 0: all in one page.
    std::vector<TrustedDomain> trusted;
    std::size_t trustedPageSize = 0;
    // user name -> level -> details; a missing level fails with 2140.
    std::map<std::string, std::map<int, UserDetails>> userInfo;
    Sid user;
    std::vector<TokenGroup> groups;
    // name -> attributes of the process token; missing names are not held.
    std::map<std::string, std::uint32_t> privileges;
    // While impersonating, the thread has a token of its own.
    bool impersonating = false;
    std::map<std::string, std::uint32_t> threadPrivileges;
    std::map<std::string, long> failures;  // call name -> error
    std::map<std::string, int> calls;

private:
    long Enter(const char* call);
    std::map<std::string, std::uint32_t>* Token(TokenKind token);
};

}  // namespace korvant::testing
