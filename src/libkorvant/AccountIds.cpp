// SIDs to numeric ids and back, domain kinds and trusted POSIX offsets.
#include <cstdio>
#include <cstring>

#include "libkorvant/Accounts.h"
#include "libkorvant/Diagnostics.h"

namespace korvant {

namespace {

constexpr int kLargeRids = 41;

const char* KindName(int kind) {
    switch (kind) {
        case kKindBuiltin:
            return "Builtin";
        case kKindPrimary:
            return "Primary";
        case kKindAccount:
            return "Account";
        case kKindTrusted:
            return "Trusted";
        default:
            return "Unknown";
    }
}

Sid BuiltinDomain() {
    return MakeSid(5, {32});
}

std::string Format(const char* format, auto... args) {
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, format, args...);
    return buffer;
}

struct SidKey {
    std::uint8_t bytes[Sid::kMaxBytes] = {};
    explicit SidKey(const Sid& sid) { sid.ToBuffer(bytes, sizeof bytes); }
};

// Records of the trusted-offset caches.
struct SidToTpoData {
    char name[68] = {};
    std::uint32_t offset = 0;
};
struct TpoToSidData {
    char name[68] = {};
    std::uint8_t sid[68] = {};
};
static_assert(sizeof(SidToTpoData) == 72 && sizeof(TpoToSidData) == 136);

}  // namespace

void Accounts::Trace(const char* call, int line, unsigned long status) {
    TraceFailure(platform_, "NT_TRACE", call, "ntutil", line, status);
}

void Accounts::TraceX(const char* call, int line, unsigned long status) {
    TraceFailure(platform_, "NTX_TRACE", call, "ntutilx", line, status);
}

std::uint32_t Accounts::DwordParam(int index, bool* present) {
    std::uint32_t value = 0;
    std::uint32_t size = sizeof value;
    *present = store_.GetParam(index, &size, &value, nullptr) == 0;
    return *present ? value : 0;
}

int Accounts::Shift() {
    std::lock_guard<std::recursive_mutex> hold(lock_);
    if (!shift_) {
        bool present = false;
        const std::uint32_t v = DwordParam(kLargeRids, &present);
        shift_ = present && v != 0 ? 4 : 0;
    }
    return *shift_;
}

std::unique_ptr<PersistentHash> Accounts::Table(const char* id, int capacity, int key, int data,
                                                PhashHashFn hash, PhashKeyCmpFn cmp,
                                                const char* name, bool global) {
    // A private table only in an area of the user's own: where there is
    // none, the global area would stand in, and everyone can write that.
    if (cache_ == nullptr || (!global && !cache_->HasPrivateArea())) {
        return nullptr;
    }
    return cache_->OpenTable(global, id, capacity, key, data, hash, cmp, name);
}

void Accounts::Init() {
    std::lock_guard<std::recursive_mutex> hold(lock_);
    if (initDone_) {
        return;
    }
    initDone_ = true;
    if (system_.Win32Platform() != 2) {
        return;
    }
    nameGlobal_ = Table(kNameToSidId, 32, kMaxAccountName, Sid::kMaxBytes, PhashStrHash,
                        PhashStrKeyCmp, "Account name->Sid", true);
    sidToUid_ =
        Table(kSidToUidId, 100, Sid::kMaxBytes, 4, PhashSidHash, PhashSidKeyCmp, "Sid->Uid", true);
    groupMap_ = Table(kGroupMapId, 200, Sid::kMaxBytes, Sid::kMaxBytes, PhashSidHash,
                      PhashSidKeyCmp, "Domain group SID map", false);
    namePrivate_ = Table(kNameToSidId, 32, kMaxAccountName, Sid::kMaxBytes, PhashStrHash,
                         PhashStrKeyCmp, "Account name->Sid", false);
}

void Accounts::TpoTables() {
    if (!tpoTried_ && system_.Win32Platform() == 2) {
        tpoTried_ = true;
        sidToTpo_ = Table(kSidToTpoId, 100, Sid::kMaxBytes, sizeof(SidToTpoData), PhashSidHash,
                          PhashSidKeyCmp, "Sid->Tpo", true);
        tpoToSid_ = Table(kTpoToSidId, 100, 4, sizeof(TpoToSidData), PhashIntHash, PhashIntKeyCmp,
                          "Tpo->Sid", true);
    }
}

bool Accounts::PrimaryDomain(DomainInfo* out) {
    std::lock_guard<std::recursive_mutex> hold(lock_);
    if (!primary_) {
        DomainInfo info;
        const long status = sys_.PrimaryDomain(&info);
        if (status != 0) {
            Trace("LsaQueryInformationPolicy", __LINE__, status);
            return false;
        }
        primary_ = info;
    }
    *out = *primary_;
    return true;
}

bool Accounts::AccountDomain(DomainInfo* out) {
    std::lock_guard<std::recursive_mutex> hold(lock_);
    if (!account_) {
        DomainInfo info;
        const long status = sys_.AccountDomain(&info);
        if (status != 0) {
            Trace("LsaQueryInformationPolicy", __LINE__, status);
            return false;
        }
        account_ = info;
    }
    *out = *account_;
    return true;
}

bool Accounts::IsSidLogonId(const Sid& sid) const {
    return sid.authority == 5 && sid.subs.size() == 3 && sid.subs[0] == 5;
}

int Accounts::SidToUid(const void* bytes) {
    Sid sid;
    if (!Sid::FromBytes(bytes, Sid::kMaxBytes, &sid)) {
        return -1;
    }
    return SidToUid(sid);
}

int Accounts::SidToUid(const Sid& sid) {
    if (!sid.Valid() || !sid.HasRid()) {
        return -1;
    }
    std::lock_guard<std::recursive_mutex> hold(lock_);
    const bool cacheable = sid.Length() <= Sid::kMaxBytes && sidToUid_ != nullptr;
    const SidKey key(sid);
    if (cacheable) {
        std::int32_t id = -1;
        int length = sizeof id;
        if (sidToUid_->Lookup(key.bytes, &id, &length)) {
            return id;
        }
    }
    if (IsSidLogonId(sid)) {
        return -1;
    }
    const int id = RidToUid(sid.Rid(), sid.Domain());
    if (id != -1 && cacheable) {
        sidToUid_->Enter(key.bytes, &id, sizeof id);
    }
    return id;
}

int Accounts::RidToUid(std::uint32_t rid, const Sid& domain) {
    std::uint32_t offset = 0;
    const int kind = DomainSidType(domain, &offset);
    if (kind < kKindBuiltin || kind > kKindTrusted) {
        return -1;
    }
    const std::uint32_t largest = kind == kKindBuiltin || kind == kKindAccount
                                      ? 0xFFFFu
                                      : (Shift() == 4 ? 0xFFFFFFu : 0xFFFFFu);
    if (rid > largest) {
        Message(
            Format("ntx_rid_to_uid_int(): SID %s-%d can't be mapped to a UID because RID %d "
                   "(0x%x) is larger than the max (0x%x) for %s domains\n",
                   domain.ToString().c_str(), static_cast<int>(rid), static_cast<int>(rid), rid,
                   largest, KindName(kind)));
        return -1;
    }
    return static_cast<int>(offset | rid);
}

int Accounts::DomainSidType(const Sid& domain, std::uint32_t* offset) {
    const int s = Shift();
    *offset = 0;
    if (domain == BuiltinDomain()) {
        *offset = kBuiltinOffset;
        return kKindBuiltin;
    }
    DomainInfo info;
    if (PrimaryDomain(&info) && info.hasSid && info.sid == domain) {
        *offset = kPrimaryOffset << s;
        return kKindPrimary;
    }
    if (AccountDomain(&info) && info.hasSid && info.sid == domain) {
        *offset = kAccountOffset;
        return kKindAccount;
    }
    const std::uint32_t raw = TrustedOffsetRaw(domain, nullptr);
    if (raw == kNoMappingOffset) {
        return kKindNoMapping;
    }
    if (raw != 0) {
        *offset = raw << s;
        return kKindTrusted;
    }
    return kKindUnknown;
}

bool Accounts::UidToSid(std::int64_t id, Sid* out) {
    if (id < 0 || id > 0xFFFFFFFFll) {
        return false;
    }
    const std::uint32_t u = static_cast<std::uint32_t>(id);
    const int s = Shift();
    std::uint32_t mask = s == 4 ? 0xFF000000u : 0xFFF00000u;
    Sid domain;
    if (u >= (kFirstTrustedOffset << s)) {
        if (!TpoToDomainSid((u & mask) >> s, &domain, nullptr)) {
            return false;
        }
    } else if ((u & mask) == (kPrimaryOffset << s)) {
        DomainInfo info;
        if (!PrimaryDomain(&info) || !info.hasSid) {
            return false;
        }
        domain = info.sid;
    } else {
        mask = 0xFFFF0000u;
        DomainInfo info;
        if (u >= 0x30000 && u <= 0x3FFFF) {
            if (!AccountDomain(&info) || !info.hasSid) {
                return false;
            }
            domain = info.sid;
        } else if (u >= 0x20000 && u <= 0x2FFFF) {
            domain = BuiltinDomain();
        } else {
            return false;
        }
    }
    return domain.WithRid(u & ~mask, out);
}

std::vector<TrustedDomain> Accounts::TpoDbFromLsa() {
    std::vector<TrustedDomain> list;
    const long status = sys_.TrustedDomains(&list);
    if (status != 0) {
        TraceX("LsaEnumerateTrustedDomains", __LINE__, status);
        list.clear();
    }
    return list;
}

// Loads the offsets of the primary and account domains and of every trusted
// domain. An offset that another domain already holds, that is not on a
// boundary of the id mask, or whose ids would not fit a positive id takes
// part in no mapping.
bool Accounts::SetCachedTpoDb() {
    std::lock_guard<std::recursive_mutex> hold(lock_);
    TpoTables();
    const int s = Shift();
    const std::uint32_t mask = s == 4 ? 0xFF000000u : 0xFFF00000u;
    const std::uint32_t largest = s == 4 ? 0xFFFFFFu : 0xFFFFFu;
    std::vector<TpoEntry> entries;
    DomainInfo info;
    if (PrimaryDomain(&info) && info.hasSid) {
        if (info.name.size() > kMaxDomainName) {
            Message("ntx_set_cached_tpo_db(): Primary domain name too long\n");
        } else {
            entries.push_back({info.sid, info.name, kPrimaryOffset});
        }
    }
    if (AccountDomain(&info) && info.hasSid) {
        if (info.name.size() > kMaxDomainName) {
            Message("ntx_set_cached_tpo_db(): Account domain name too long\n");
        } else {
            entries.push_back({info.sid, info.name, kAccountOffset});
        }
    }
    std::vector<TrustedDomain> trusted;
    const long status = sys_.TrustedDomains(&trusted);
    if (status != 0) {
        TraceX("LsaEnumerateTrustedDomains", __LINE__, status);
        trusted.clear();
    }
    for (const TrustedDomain& d : trusted) {
        if (d.name.size() > kMaxDomainName || !d.sid.Valid()) {
            continue;
        }
        std::uint32_t offset = d.posixOffset;
        if (offset != kNoMappingOffset) {
            const std::uint64_t shifted = std::uint64_t{offset} << s;
            bool usable = offset >= kFirstTrustedOffset && shifted + largest <= 0x7FFFFFFFu &&
                          (shifted & ~std::uint64_t{mask}) == 0;
            for (const TpoEntry& e : entries) {
                usable = usable && e.offset != offset && !(e.sid == d.sid);
            }
            if (!usable) {
                TraceX("ntx_set_cached_tpo_db", __LINE__, offset);
                offset = kNoMappingOffset;
            }
        }
        entries.push_back({d.sid, d.name, offset});
    }
    tpo_ = entries;
    if (sidToTpo_ && tpoToSid_) {
        // A reload replaces what the tables held: an offset a domain no
        // longer has must not keep mapping ids to it. When the LSA could
        // not be asked, the tables keep their last good answers.
        if (status == 0) {
            sidToTpo_->Flush();
            tpoToSid_->Flush();
        }
        for (const TpoEntry& e : entries) {
            const SidKey key(e.sid);
            SidToTpoData a;
            std::snprintf(a.name, sizeof a.name, "%s", e.name.c_str());
            a.offset = e.offset;
            sidToTpo_->Enter(key.bytes, &a, sizeof a);
            if (e.offset != kNoMappingOffset) {
                TpoToSidData b;
                std::snprintf(b.name, sizeof b.name, "%s", e.name.c_str());
                std::memcpy(b.sid, key.bytes, sizeof b.sid);
                tpoToSid_->Enter(&e.offset, &b, sizeof b);
            }
        }
    }
    return true;
}

bool Accounts::FindTpoBySid(const Sid& domain, TpoEntry* out) {
    if (sidToTpo_) {
        const SidKey key(domain);
        SidToTpoData data;
        int length = sizeof data;
        if (sidToTpo_->Lookup(key.bytes, &data, &length)) {
            data.name[sizeof data.name - 1] = 0;
            *out = {domain, data.name, data.offset};
            return true;
        }
    }
    for (const TpoEntry& e : tpo_) {
        if (e.sid == domain) {
            *out = e;
            return true;
        }
    }
    return false;
}

bool Accounts::FindTpoByOffset(std::uint32_t offset, TpoEntry* out) {
    if (tpoToSid_) {
        TpoToSidData data;
        int length = sizeof data;
        if (tpoToSid_->Lookup(&offset, &data, &length) &&
            Sid::FromBytes(data.sid, sizeof data.sid, &out->sid)) {
            data.name[sizeof data.name - 1] = 0;
            out->name = data.name;
            out->offset = offset;
            return true;
        }
    }
    for (const TpoEntry& e : tpo_) {
        if (e.offset == offset) {
            *out = e;
            return true;
        }
    }
    return false;
}

std::uint32_t Accounts::TrustedOffsetRaw(const Sid& domain, std::string* name) {
    std::lock_guard<std::recursive_mutex> hold(lock_);
    TpoTables();
    DomainInfo info;
    if (domain == BuiltinDomain()) {
        return kBuiltinOffset;
    }
    if (PrimaryDomain(&info) && info.hasSid && info.sid == domain) {
        if (name != nullptr) {
            *name = info.name;
        }
        return kPrimaryOffset;
    }
    if (AccountDomain(&info) && info.hasSid && info.sid == domain) {
        if (name != nullptr) {
            *name = info.name;
        }
        return kAccountOffset;
    }
    TpoEntry entry;
    if (!FindTpoBySid(domain, &entry)) {
        SetCachedTpoDb();
        if (!FindTpoBySid(domain, &entry)) {
            Message(Format("ntx_get_trusted_posix_offset(): No match for %s\n",
                           domain.ToString().c_str()));
            return 0;
        }
    }
    if (name != nullptr) {
        *name = entry.name;
    }
    return entry.offset;
}

std::uint32_t Accounts::TrustedPosixOffset(const Sid& domain, std::string* name) {
    const std::uint32_t raw = TrustedOffsetRaw(domain, name);
    if (raw == 0 || raw == kNoMappingOffset) {
        return raw;
    }
    return raw << Shift();
}

bool Accounts::TpoToDomainSid(std::uint32_t offset, Sid* sid, std::string* name) {
    std::lock_guard<std::recursive_mutex> hold(lock_);
    TpoTables();
    TpoEntry entry;
    if (!FindTpoByOffset(offset, &entry)) {
        SetCachedTpoDb();
        if (!FindTpoByOffset(offset, &entry)) {
            Message(
                Format("ntx_trusted_posix_offset_to_domain_sid(): No match for 0x%x\n", offset));
            return false;
        }
    }
    *sid = entry.sid;
    if (name != nullptr) {
        *name = entry.name;
    }
    return true;
}

}  // namespace korvant
