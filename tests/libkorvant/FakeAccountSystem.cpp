#include "libkorvant/FakeAccountSystem.h"

#include <algorithm>

#include "libkorvant/TextUtil.h"

namespace korvant::testing {

FakeAccountSystem::FakeAccountSystem() {
    account = {"HOST1", true, MakeSid(5, {21, 10, 20, 30})};
    primary = {"CORP", true, MakeSid(5, {21, 7, 8, 9})};
    user = MakeSid(5, {21, 7, 8, 9, 1105});
    Add("BUILTIN", "Administrators", MakeSid(5, {32, 544}), kSidAlias);
    Add("BUILTIN", "Users", MakeSid(5, {32, 545}), kSidAlias);
    Add("NT AUTHORITY", "INTERACTIVE", MakeSid(5, {4}), kSidWellKnownGroup);
    Add("HOST1", "localuser", MakeSid(5, {21, 10, 20, 30, 1000}), kSidUser);
    Add("HOST1", "PrjGroup", MakeSid(5, {21, 10, 20, 30, 1010}), kSidAlias);
    Add("CORP", "alice", user, kSidUser);
    Add("CORP", "bob", MakeSid(5, {21, 7, 8, 9, 1106}), kSidUser);
    Add("CORP", "VantrelGroup", MakeSid(5, {21, 7, 8, 9, 3000}), kSidGroup);
    Add("CORP", "Domain Admins", MakeSid(5, {21, 7, 8, 9, 512}), kSidGroup);
    groups = {{MakeSid(5, {21, 7, 8, 9, 513}), kGroupEnabled},
              {MakeSid(5, {32, 545}), kGroupEnabled},
              {MakeSid(5, {5, 0, 4242}), kGroupEnabled | kGroupLogonId}};
    privileges = {{"SeTakeOwnershipPrivilege", 0}, {"SeRestorePrivilege", 0}};
}

void FakeAccountSystem::Add(const std::string& domain, const std::string& name, const Sid& sid,
                            int use) {
    accounts.push_back({sid, domain, name, use});
}

long FakeAccountSystem::Enter(const char* call) {
    ++calls[call];
    auto it = failures.find(call);
    return it == failures.end() ? 0 : it->second;
}

long FakeAccountSystem::LookupName(const std::string& name, AccountInfo* out) {
    if (long e = Enter("LookupName")) {
        return e;
    }
    const std::size_t slash = name.find('\\');
    const std::string domain = slash == std::string::npos ? "" : name.substr(0, slash);
    const std::string plain = slash == std::string::npos ? name : name.substr(slash + 1);
    for (const AccountInfo& a : accounts) {
        if (AsciiCaseCompare(a.name.c_str(), plain.c_str()) == 0 &&
            (domain.empty() || AsciiCaseCompare(a.domain.c_str(), domain.c_str()) == 0)) {
            *out = a;
            return 0;
        }
    }
    return kErrNoneMapped;
}

long FakeAccountSystem::LookupSid(const Sid& sid, AccountInfo* out) {
    if (long e = Enter("LookupSid")) {
        return e;
    }
    for (const AccountInfo& a : accounts) {
        if (a.sid == sid) {
            *out = a;
            return 0;
        }
    }
    return kErrNoneMapped;
}

long FakeAccountSystem::PrimaryDomain(DomainInfo* out) {
    if (long e = Enter("PrimaryDomain")) {
        return e;
    }
    *out = primary;
    return 0;
}

long FakeAccountSystem::AccountDomain(DomainInfo* out) {
    if (long e = Enter("AccountDomain")) {
        return e;
    }
    *out = account;
    return 0;
}

long FakeAccountSystem::TrustedDomains(std::vector<TrustedDomain>* out) {
    if (long e = Enter("TrustedDomains")) {
        return e;
    }
    std::size_t context = 0;
    return static_cast<long>(CollectTrustedDomains(
        [&](std::vector<TrustedDomain>* page) -> std::uint32_t {
            if (context >= trusted.size()) {
                return kStatusNoMoreEntries;
            }
            const std::size_t n = trustedPageSize == 0
                                      ? trusted.size() - context
                                      : std::min(trustedPageSize, trusted.size() - context);
            page->assign(trusted.begin() + context, trusted.begin() + context + n);
            context += n;
            return context < trusted.size() ? kStatusMoreEntries : 0;
        },
        out));
}

long FakeAccountSystem::UserInfo(const std::string&, const std::string& user, int level,
                                 UserDetails* out) {
    if (long e = Enter("UserInfo")) {
        return e;
    }
    auto it = userInfo.find(user);
    if (it == userInfo.end() || !it->second.count(level)) {
        return 2140;
    }
    *out = it->second.at(level);
    return 0;
}

long FakeAccountSystem::TokenUser(Sid* out) {
    if (long e = Enter("TokenUser")) {
        return e;
    }
    *out = user;
    return 0;
}

long FakeAccountSystem::TokenGroups(std::vector<TokenGroup>* out) {
    if (long e = Enter("TokenGroups")) {
        return e;
    }
    *out = groups;
    return 0;
}

std::map<std::string, std::uint32_t>* FakeAccountSystem::Token(TokenKind token) {
    if (token == TokenKind::kThread) {
        return impersonating ? &threadPrivileges : nullptr;
    }
    return &privileges;
}

long FakeAccountSystem::EnablePrivileges(TokenKind token, const std::vector<std::string>& names,
                                         PrivilegeState* previous) {
    if (long e = Enter("EnablePrivileges")) {
        return e;
    }
    auto* held = Token(token);
    if (held == nullptr) {
        return 1008;  // no token
    }
    previous->entries.clear();
    for (const std::string& name : names) {
        auto it = held->find(name);
        if (it != held->end()) {
            previous->entries.push_back({name, it->second});
            it->second |= 2;  // enabled
        }
    }
    return 0;
}

long FakeAccountSystem::RestorePrivileges(TokenKind token, const PrivilegeState& previous) {
    if (long e = Enter("RestorePrivileges")) {
        return e;
    }
    auto* held = Token(token);
    if (held == nullptr) {
        return 1008;
    }
    for (const auto& entry : previous.entries) {
        (*held)[entry.name] = entry.attributes;
    }
    return 0;
}

long FakeAccountSystem::PrivilegeHeld(TokenKind token, const std::string& name, bool* held) {
    if (long e = Enter("PrivilegeHeld")) {
        return e;
    }
    auto* privileges = Token(token);
    if (privileges == nullptr) {
        return 1008;
    }
    auto it = privileges->find(name);
    *held = it != privileges->end() && (it->second & 2) != 0;
    return 0;
}

}  // namespace korvant::testing
