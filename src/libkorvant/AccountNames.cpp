// Account lookups with the product's domain-name rules, groups from the
// environment, well-known SIDs, user and group records, privileges and the
// cache dump.
#include <cstdio>
#include <cstring>

#include "libkorvant/Accounts.h"
#include "libkorvant/TextUtil.h"

namespace korvant {

namespace {

constexpr int kLookupOnlyFqNames = 11;
constexpr int kVantrelGroupName = 13;
constexpr int kDisableDomainPrefix = 28;
constexpr int kInstallConfiguration = 38;
constexpr int kDisableGecos = 62;
constexpr std::size_t kMaxEnvName = 321;
constexpr std::size_t kMaxGroups = 32;

struct NameKey {
    char bytes[kMaxAccountName] = {};
    explicit NameKey(const std::string& name) {
        std::memcpy(bytes, name.data(), std::min(name.size(), kMaxAccountName - 1));
    }
};

bool IsGroupUse(int use) {
    return use == kSidGroup || use == kSidAlias || use == kSidWellKnownGroup;
}

std::string Gecos(const std::string& fullName) {
    std::string text = fullName.substr(0, fullName.find_first_of(",;:([<{"));
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return std::string();
    }
    const std::size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

bool StartsWithNoCase(const std::string& text, const char* prefix) {
    const std::size_t n = std::strlen(prefix);
    return text.size() >= n && AsciiCaseCompare(text.substr(0, n).c_str(), prefix) == 0;
}

// Fixed SIDs by number; the numbers computed from the system are absent.
bool FixedSid(int number, Sid* out) {
    switch (number) {
        case 0:
            *out = MakeSid(0, {0});
            return true;  // Null
        case 2:
            *out = MakeSid(1, {0});
            return true;  // Everyone
        case 3:
            *out = MakeSid(5, {18});
            return true;  // Local System
        case 5:
            *out = MakeSid(5, {32, 545});
            return true;  // Users
        case 6:
            *out = MakeSid(5, {11});
            return true;  // Authenticated Users
        case 7:
            *out = MakeSid(5, {4});
            return true;  // Interactive
        case 8:
            *out = MakeSid(5, {2});
            return true;  // Network
        case 9:
            *out = MakeSid(5, {6});
            return true;  // Service
        case 10:
            *out = MakeSid(5, {7});
            return true;  // Anonymous
        case 11:
            *out = MakeSid(3, {0});
            return true;  // Creator Owner
        case 18:
            *out = MakeSid(3, {1});
            return true;  // Creator Group
        case 19:
            *out = MakeSid(5, {32, 546});
            return true;  // Guests
        case 20:
            *out = MakeSid(5, {32, 548});
            return true;  // Account Operators
        case 21:
            *out = MakeSid(5, {32, 549});
            return true;  // Server Operators
        case 22:
            *out = MakeSid(5, {32, 550});
            return true;  // Print Operators
        case 23:
            *out = MakeSid(5, {32, 551});
            return true;  // Backup Operators
        case 24:
            *out = MakeSid(5, {32, 552});
            return true;  // Replicator
        case 26:
            *out = MakeSid(5, {9});
            return true;  // Enterprise Controllers
        default:
            return false;
    }
}

}  // namespace

bool Accounts::LookupAccount(const std::string& name, AccountInfo* out, std::string* fullName) {
    std::lock_guard<std::recursive_mutex> hold(lock_);
    if (!disablePrefix_) {
        bool present = false;
        disablePrefix_ = DwordParam(kDisableDomainPrefix, &present) != 0;
        onlyFq_ = DwordParam(kLookupOnlyFqNames, &present) != 0;
    }
    const bool qualified = name.find('\\') != std::string::npos;
    auto found = [&](const AccountInfo& info) {
        *out = info;
        if (fullName != nullptr) {
            *fullName = info.domain.empty() ? info.name : info.domain + "\\" + info.name;
        }
        return true;
    };
    AccountInfo info;
    if (!*disablePrefix_) {
        // Unqualified names are tried in the machine's own domain first: the
        // primary domain on a domain member, else the account domain.
        std::string domain;
        DomainInfo d;
        if (PrimaryDomain(&d) && d.hasSid) {
            domain = d.name;
        } else if (AccountDomain(&d)) {
            domain = d.name;
        }
        const std::string full = qualified || domain.empty() ? name : domain + "\\" + name;
        if (sys_.LookupName(full, &info) == 0) {
            return found(info);
        }
        if (qualified || *onlyFq_) {
            return false;
        }
    }
    if (sys_.LookupName(name, &info) == 0) {
        return found(info);
    }
    return false;
}

// Names of groups are cached only in the user's own area: an answer from
// the global table, which every local user can write, would let anyone
// choose the groups a process counts as its own.
bool Accounts::CachedGroup(const std::string& name, Sid* out) {
    PersistentHash* table = namePrivate_.get();
    if (table == nullptr) {
        return false;
    }
    const NameKey key(name);
    std::uint8_t sid[Sid::kMaxBytes];
    int length = sizeof sid;
    return table->Lookup(key.bytes, sid, &length) && Sid::FromBytes(sid, sizeof sid, out);
}

void Accounts::EnterGroup(const std::string& name, const Sid& sid) {
    PersistentHash* table = namePrivate_.get();
    std::uint8_t bytes[Sid::kMaxBytes] = {};
    if (table != nullptr && sid.ToBuffer(bytes, sizeof bytes)) {
        const NameKey key(name);
        table->Enter(key.bytes, bytes, sizeof bytes);
    }
}

bool Accounts::ResolveGroup(const std::string& given, Sid* out) {
    const std::string name = given.substr(0, kMaxEnvName);
    if (name.empty()) {
        return false;
    }
    std::lock_guard<std::recursive_mutex> hold(lock_);
    if (CachedGroup(name, out)) {
        return true;
    }
    if (!GroupFromSystem(name, out)) {
        return false;
    }
    EnterGroup(name, *out);
    return true;
}

bool Accounts::GroupFromSystem(const std::string& name, Sid* out) {
    if (name.empty()) {
        return false;
    }
    AccountInfo info;
    bool ok = LookupAccount(name, &info, nullptr) && IsGroupUse(info.use);
    if (!ok && name.size() > 2 && name[0] == 'S' && name[1] == '-') {
        AccountInfo group;
        ok = Sid::Parse(name, &info.sid) && sys_.LookupSid(info.sid, &group) == 0 &&
             IsGroupUse(group.use);
    }
    if (ok) {
        *out = info.sid;
    }
    return ok;
}

bool Accounts::PrimaryGroupFromEnv(Sid* out) {
    std::string name;
    if (!platform_.GetEnv("VANTREL_PRIMARY_GROUP", &name) || name.empty()) {
        return false;
    }
    return ResolveGroup(name, out);
}

const std::vector<Sid>& Accounts::PrioritizedGroups() {
    std::lock_guard<std::recursive_mutex> hold(lock_);
    if (!groups_) {
        groups_.emplace();
        std::string list;
        if (platform_.GetEnv("VANTREL_GROUPS", &list)) {
            std::size_t start = 0, names = 0;
            while (start <= list.size() && names < kMaxGroups) {
                const std::size_t end = std::min(list.find(';', start), list.size());
                const std::string name = list.substr(start, end - start);
                start = end + 1;
                if (name.empty()) {
                    continue;
                }
                ++names;
                Sid sid;
                if (ResolveGroup(name, &sid)) {
                    groups_->push_back(sid);
                }
            }
        }
    }
    return *groups_;
}

std::string Accounts::VantrelGroupName() {
    std::lock_guard<std::recursive_mutex> hold(lock_);
    if (!groupName_) {
        char buffer[kMaxAccountName] = {};
        std::uint32_t size = sizeof buffer;
        std::string name = "VantrelGroup";
        if (store_.GetParam(kVantrelGroupName, &size, buffer, nullptr) == 0 && buffer[0] != 0) {
            name = buffer;
        }
        if (name.size() >= 2 && name[0] == '.' && name[1] == '\\') {
            // The account domain's name as the LSA gives it, which is also
            // what the offset tables hold for 0x30000; not from those
            // tables, which every local user can write: this name decides
            // who is privileged.
            DomainInfo info;
            name = (AccountDomain(&info) ? info.name : std::string()) + name.substr(1);
        }
        groupName_ = name;
    }
    return *groupName_;
}

bool Accounts::EnumSid(int number, Sid* out) {
    std::lock_guard<std::recursive_mutex> hold(lock_);
    DomainInfo info;
    switch (number) {
        case 1: {
            bool present = false;
            if ((DwordParam(kInstallConfiguration, &present) & 0x200) != 0) {
                return EnumSid(5, out);
            }
            if (!haveGroupSid_) {
                haveGroupSid_ = true;
                // Membership in this group makes a user privileged: its SID
                // comes from the account system, never from a cache.
                Sid sid;
                if (GroupFromSystem(VantrelGroupName().substr(0, kMaxEnvName), &sid)) {
                    groupSid_ = sid;
                }
            }
            if (!groupSid_) {
                return false;
            }
            *out = *groupSid_;
            return true;
        }
        case 4:
            *out = MakeSid(5, {32, 544});
            return true;
        case 16:
            *out = MakeSid(5, {32});
            return true;
        case 25:
            *out = MakeSid(5, {32, 547});
            return true;
        case 12:
        case 15:
            if (!AccountDomain(&info) || !info.hasSid) {
                return false;
            }
            *out = info.sid;
            return number == 15 || info.sid.WithRid(500, out);
        case 13:
        case 17:
            if (!PrimaryDomain(&info) || !info.hasSid) {
                return false;
            }
            *out = info.sid;
            return number == 17 || info.sid.WithRid(512, out);
        case 14: {
            if (!logonSid_) {
                std::vector<TokenGroup> groups;
                const long status = sys_.TokenGroups(&groups);
                if (status != 0) {
                    Trace("GetTokenInformation", __LINE__, status);
                    return false;
                }
                for (const TokenGroup& g : groups) {
                    if ((g.attributes & kGroupLogonId) == kGroupLogonId) {
                        logonSid_ = g.sid;
                        break;
                    }
                }
            }
            if (!logonSid_) {
                return false;
            }
            *out = *logonSid_;
            return true;
        }
        default:
            return number >= 0 && number <= 26 && FixedSid(number, out);
    }
}

bool Accounts::IsPrivileged() {
    std::lock_guard<std::recursive_mutex> hold(lock_);
    if (!privileged_) {
        privileged_ = false;
        bool present = false;
        const std::uint32_t config = DwordParam(kInstallConfiguration, &present);
        std::vector<TokenGroup> groups;
        if (!present) {
            return false;
        }
        const long status = sys_.TokenGroups(&groups);
        if (status != 0) {
            Trace("GetTokenInformation", __LINE__, status);
            return false;
        }
        Sid product, admins;
        const bool haveProduct = EnumSid(1, &product);
        EnumSid(4, &admins);
        const bool adminsCount = store_.AdminsArePrivileged() != 0 || (config & 0x201) == 0x201;
        for (const TokenGroup& g : groups) {
            if ((g.attributes & kGroupEnabled) == 0) {
                continue;
            }
            if ((haveProduct && g.sid == product) || (adminsCount && g.sid == admins)) {
                privileged_ = true;
                break;
            }
        }
    }
    return *privileged_;
}

std::string Accounts::QualifiedName(const std::string& domain, const std::string& name) const {
    if (name.find('\\') == std::string::npos && !domain.empty() &&
        domain.size() + 1 + name.size() < kMaxAccountName) {
        return domain + "\\" + name;
    }
    return name;
}

bool Accounts::FillPasswd(const AccountInfo& info, const std::string& name, PasswdRecord* out) {
    PasswdRecord record;
    record.name = QualifiedName(info.domain, name);
    record.sid = info.sid;
    UserDetails details;
    bool haveDetails = false;
    for (int level : {3, 2, 1}) {
        if (sys_.UserInfo(info.domain, info.name, level, &details) == 0) {
            haveDetails = true;
            break;
        }
    }
    // Without the domain's answer the group is the one every account starts in.
    const std::uint32_t group = haveDetails && details.haveGroup ? details.primaryGroupId : 513;
    record.haveGroup = info.sid.HasRid() && info.sid.Domain().WithRid(group, &record.group);
    bool present = false;
    if (DwordParam(kDisableGecos, &present) != 1) {
        record.gecos = Gecos(details.fullName);
        Sid me;
        if (sys_.TokenUser(&me) == 0 && me == info.sid) {
            std::string home, drive, path;
            if (platform_.GetEnv("HOME", &home) && !home.empty()) {
                record.home = home;
            } else if (platform_.GetEnv("HOMEDRIVE", &drive)) {
                record.home = drive + (platform_.GetEnv("HOMEPATH", &path) ? path : "\\");
            }
        } else {
            record.home = details.homeDir;
        }
    }
    *out = record;
    return true;
}

bool Accounts::GetPwNam(const std::string& name, PasswdRecord* out) {
    AccountInfo info;
    if (!LookupAccount(name, &info, nullptr) || info.use != kSidUser) {
        return false;
    }
    return FillPasswd(info, name, out);
}

bool Accounts::GetPwSid(const Sid& sid, PasswdRecord* out) {
    AccountInfo info;
    if (!sid.Valid() || sys_.LookupSid(sid, &info) != 0 || info.use != kSidUser) {
        return false;
    }
    info.sid = sid;
    return FillPasswd(info, info.name, out);
}

bool Accounts::GetGrNam(const std::string& name, GroupRecord* out) {
    AccountInfo info;
    if (LookupAccount(name, &info, nullptr) && IsGroupUse(info.use)) {
        *out = {QualifiedName(info.domain, name), info.sid};
        return true;
    }
    const char* prefix = "NT AUTHORITY\\";
    if (StartsWithNoCase(name, prefix)) {
        const std::string rest = name.substr(std::strlen(prefix));
        if (LookupAccount(rest, &info, nullptr) && info.use == kSidWellKnownGroup) {
            *out = {QualifiedName(info.domain, rest), info.sid};
            return true;
        }
    }
    return false;
}

bool Accounts::GetGrSid(const Sid& sid, GroupRecord* out) {
    AccountInfo info;
    if (!sid.Valid() || sys_.LookupSid(sid, &info) != 0 || !IsGroupUse(info.use)) {
        return false;
    }
    *out = {QualifiedName(info.domain, info.name), sid};
    return true;
}

bool Accounts::GetLogin(std::string* out) {
    std::lock_guard<std::recursive_mutex> hold(lock_);
    if (!login_) {
        Sid me;
        AccountInfo info;
        long status = sys_.TokenUser(&me);
        if (status == 0) {
            status = sys_.LookupSid(me, &info);
        }
        if (status != 0) {
            Trace("LookupAccountSid", __LINE__, status);
            return false;
        }
        login_ = QualifiedName(info.domain, info.name);
    }
    *out = *login_;
    return true;
}

int Accounts::EnablePrivileges(const std::vector<std::string>& names, PrivilegeState* previous) {
    PrivilegeState state;
    // Enabled in the process token and checked there: a thread that
    // impersonates someone has a token of its own, which this does not change.
    const long status = sys_.EnablePrivileges(TokenKind::kProcess, names, &state);
    if (status != 0) {
        Trace("AdjustTokenPrivileges", __LINE__, status);
        if (previous != nullptr) {
            previous->entries.clear();
        }
        return 0;
    }
    if (previous != nullptr) {
        *previous = state;
    }
    for (const std::string& name : names) {
        bool held = false;
        const long check = sys_.PrivilegeHeld(TokenKind::kProcess, name, &held);
        if (check != 0) {
            Trace("PrivilegeCheck", __LINE__, check);
        }
        if (check != 0 || !held) {
            return 0;
        }
    }
    return 1;
}

void Accounts::RestorePrivileges(const PrivilegeState& previous) {
    if (previous.entries.empty()) {
        return;
    }
    const long status = sys_.RestorePrivileges(TokenKind::kProcess, previous);
    if (status != 0) {
        Trace("AdjustTokenPrivileges", __LINE__, status);
    }
}

std::string Accounts::DumpCache() {
    std::lock_guard<std::recursive_mutex> hold(lock_);
    std::string text;
    char line[512];
    auto dump = [&](PersistentHash* table, const char* heading, int kind) {
        text += std::string(heading) + "\n";
        int entries = 0;
        if (table != nullptr) {
            const PhashParams& p = table->Params();
            std::vector<std::uint8_t> key(p.keySize), data(p.dataSize);
            table->TermScan();
            while (table->Next(key.data(), data.data())) {
                ++entries;
                Sid a, b;
                if (kind == 0) {
                    key.back() = 0;
                    Sid::FromBytes(data.data(), data.size(), &b);
                    std::snprintf(line, sizeof line, "    %s -> %s\n",
                                  reinterpret_cast<const char*>(key.data()), b.ToString().c_str());
                } else if (kind == 1) {
                    std::int32_t id = 0;
                    std::memcpy(&id, data.data(), 4);
                    Sid::FromBytes(key.data(), key.size(), &a);
                    std::snprintf(line, sizeof line, "    %s -> %d (0x%x)\n", a.ToString().c_str(),
                                  id, static_cast<unsigned>(id));
                } else {
                    Sid::FromBytes(key.data(), key.size(), &a);
                    Sid::FromBytes(data.data(), data.size(), &b);
                    std::snprintf(line, sizeof line, "    %s -> %s\n", a.ToString().c_str(),
                                  b.ToString().c_str());
                }
                text += line;
            }
            table->TermScan();
        }
        if (entries == 0) {
            text += "    Empty\n";
        }
    };
    dump(nameGlobal_.get(), "Account name->Sid (global):", 0);
    dump(namePrivate_.get(), "Account name->Sid (private):", 0);
    dump(sidToUid_.get(), "Sid->Uid:", 1);
    dump(groupMap_.get(), "Domain group SID map:", 2);
    return text;
}

}  // namespace korvant
