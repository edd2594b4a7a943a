#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "libkorvant/AccountSystem.h"
#include "libkorvant/PersistentHash.h"
#include "libkorvant/Platform.h"
#include "libkorvant/RegistryStore.h"
#include "libkorvant/SharedCache.h"
#include "libkorvant/Sid.h"

namespace korvant {

enum DomainKind : int {
    kKindUnknown = 0,
    kKindBuiltin = 1,
    kKindPrimary = 2,
    kKindAccount = 3,
    kKindTrusted = 4,
    kKindNoMapping = 5,
};

inline constexpr std::size_t kMaxAccountName = 322;
inline constexpr std::size_t kMaxDomainName = 64;
inline constexpr std::uint32_t kBuiltinOffset = 0x20000;
inline constexpr std::uint32_t kAccountOffset = 0x30000;
inline constexpr std::uint32_t kPrimaryOffset = 0x100000;
inline constexpr std::uint32_t kFirstTrustedOffset = 0x200000;
inline constexpr std::uint32_t kNoMappingOffset = 0xFFFF;

struct PasswdRecord {
    std::string name;
    Sid sid;
    bool haveGroup = false;
    Sid group;
    std::string gecos;
    std::string home;
};

struct GroupRecord {
    std::string name;
    Sid sid;
};

// The account layer: SIDs to numeric ids and back, account lookups with the
// product's domain-name rules, groups from the environment, well-known SIDs,
// user and group records and privileges. Slow answers are kept in the shared
// cache when it is available.
class Accounts {
public:
    Accounts(Platform& platform, RegistryStore& store, SystemInfo& system, AccountSystem& sys,
             SharedCache* cache)
        : platform_(platform), store_(store), system_(system), sys_(sys), cache_(cache) {}

    // Creates the caches once (NT family only).
    void Init();

    int Shift();
    int SidToUid(const Sid& sid);
    int SidToUid(const void* bytes);
    bool UidToSid(std::int64_t id, Sid* out);
    int RidToUid(std::uint32_t rid, const Sid& domain);
    int DomainSidType(const Sid& domain, std::uint32_t* offset);
    // The offset shifted by s, or 0 when unknown; *name the domain name.
    std::uint32_t TrustedPosixOffset(const Sid& domain, std::string* name);
    bool TpoToDomainSid(std::uint32_t offset, Sid* sid, std::string* name);
    bool SetCachedTpoDb();
    std::vector<TrustedDomain> TpoDbFromLsa();

    bool PrimaryDomain(DomainInfo* out);
    bool AccountDomain(DomainInfo* out);

    // *fullName (optional) receives "domain\account" on success.
    bool LookupAccount(const std::string& name, AccountInfo* out, std::string* fullName);
    // A group, alias or well-known group by name, or by "S-" string of an existing group.
    bool ResolveGroup(const std::string& name, Sid* out);
    bool PrimaryGroupFromEnv(Sid* out);
    const std::vector<Sid>& PrioritizedGroups();
    std::string VantrelGroupName();
    bool EnumSid(int number, Sid* out);
    bool IsPrivileged();
    bool IsSidLogonId(const Sid& sid) const;

    std::string QualifiedName(const std::string& domain, const std::string& name) const;
    bool GetPwNam(const std::string& name, PasswdRecord* out);
    bool GetPwSid(const Sid& sid, PasswdRecord* out);
    bool GetGrNam(const std::string& name, GroupRecord* out);
    bool GetGrSid(const Sid& sid, GroupRecord* out);
    bool GetLogin(std::string* out);

    // 1 when the privileges are enabled and held; *previous restores nothing
    // when the change failed.
    int EnablePrivileges(const std::vector<std::string>& names, PrivilegeState* previous);
    void RestorePrivileges(const PrivilegeState& previous);

    std::string DumpCache();
    AccountSystem& System() { return sys_; }

    // Diagnostic output and the NT_TRACE/NTX_TRACE lines.
    void Message(const std::string& text) { platform_.DebugOutput(text.c_str()); }
    void Trace(const char* call, int line, unsigned long status);
    void TraceX(const char* call, int line, unsigned long status);

    static constexpr const char* kNameToSidId = "{C7534560-08F7-11D1-BE5D-00609730D47D}";
    static constexpr const char* kSidToUidId = "{A461E5E0-0D99-11D1-BE5D-00609730D47D}";
    static constexpr const char* kGroupMapId = "{816DE080-C33E-11D1-97A0-0060083317B0}";
    static constexpr const char* kSidToTpoId = "{5941C680-A295-11CF-86FA-00A0241A3E7D}";
    static constexpr const char* kTpoToSidId = "{9566EEC0-A297-11CF-86FA-00A0241A3E7D}";

private:
    struct TpoEntry {
        Sid sid;
        std::string name;
        std::uint32_t offset = 0;
    };
    std::uint32_t DwordParam(int index, bool* present);
    std::uint32_t TrustedOffsetRaw(const Sid& domain, std::string* name);
    bool FindTpoBySid(const Sid& domain, TpoEntry* out);
    bool FindTpoByOffset(std::uint32_t offset, TpoEntry* out);
    bool CachedGroup(const std::string& name, Sid* out);
    bool GroupFromSystem(const std::string& name, Sid* out);
    void EnterGroup(const std::string& name, const Sid& sid);
    bool FillPasswd(const AccountInfo& info, const std::string& name, PasswdRecord* out);
    std::unique_ptr<PersistentHash> Table(const char* id, int capacity, int key, int data,
                                          PhashHashFn hash, PhashKeyCmpFn cmp, const char* name,
                                          bool global);
    void TpoTables();

    Platform& platform_;
    RegistryStore& store_;
    SystemInfo& system_;
    AccountSystem& sys_;
    SharedCache* cache_;
    std::recursive_mutex lock_;

    bool initDone_ = false;
    std::unique_ptr<PersistentHash> nameGlobal_, sidToUid_, groupMap_, namePrivate_;
    bool tpoTried_ = false;
    std::unique_ptr<PersistentHash> sidToTpo_, tpoToSid_;
    std::vector<TpoEntry> tpo_;  // the last load, also when the cache is unavailable

    std::optional<int> shift_;
    std::optional<bool> disablePrefix_, onlyFq_;
    std::optional<std::string> groupName_;
    std::optional<DomainInfo> primary_, account_;
    std::optional<std::vector<Sid>> groups_;
    std::optional<bool> privileged_;
    std::optional<std::string> login_;
    bool haveGroupSid_ = false;
    std::optional<Sid> groupSid_;
    std::optional<Sid> logonSid_;
};

}  // namespace korvant
