#pragma once

#include "libkorvant/AccountSystem.h"

namespace korvant::win32 {

// Account lookups, the LSA, NetUser information and the process token.
class Win32AccountSystem : public AccountSystem {
public:
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
};

}  // namespace korvant::win32
