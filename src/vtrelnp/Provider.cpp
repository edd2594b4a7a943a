#include "vtrelnp/Provider.h"

#include <algorithm>

namespace vtrelnp {

namespace {

// Capability indexes and answers.
constexpr std::uint32_t kCapInterfaceVersion = 1;
constexpr std::uint32_t kCapNetType = 2;
constexpr std::uint32_t kCapDriverVersion = 3;
constexpr std::uint32_t kCapConnection = 6;
constexpr std::uint32_t kCapDialog = 8;
constexpr std::uint32_t kCapEnumeration = 11;
constexpr std::uint32_t kCapStart = 12;

WString Joined(const WString& prefix, const WString& tag) {
    return tag.empty() ? prefix : prefix + u"\\" + tag;
}

bool IsTopName(WStringView name, const Settings& s) {
    return EqualNoCase(name, kAllViews) || EqualNoCase(name, s.containerName) ||
           EqualNoCase(name, kRecentViews);
}

}  // namespace

Provider::Provider(System& system, Libraries& libraries)
    : system_(system),
      libraries_(libraries),
      reporter_(system),
      drives_(system, libraries, reporter_),
      views_(libraries, reporter_) {}

Provider::~Provider() {
    for (Enumeration* e : open_) {
        delete e;
    }
}

bool Provider::EnsureInit() {
    {
        StateLock lock(system_);
        if (initialised_ || initFailed_) {
            return !initFailed_;
        }
    }
    try {
        GlobalSection section(libraries_);
        {
            StateLock lock(system_);
            if (initialised_ || initFailed_) {
                return !initFailed_;
            }
        }
        libraries_.NtInit();
        Settings settings = Settings::Read(system_, libraries_, reporter_);
        StateLock lock(system_);
        settings_ = std::move(settings);
        initialised_ = true;
        return true;
    } catch (const AbnormalEnd&) {
        reporter_.Event("vtnp_init(): Abnormal termination of ntregy_*() call detected");
        StateLock lock(system_);
        initFailed_ = true;
        return false;
    }
}

Settings Provider::CurrentSettings() {
    StateLock lock(system_);
    return settings_;
}

long Provider::Begin(Settings* settings) {
    if (!EnsureInit()) {
        return kErrNoNetwork;
    }
    *settings = CurrentSettings();
    return kOk;
}

long Provider::CheckDrive(const WString& drive, ProviderDrive* found) {
    try {
        GlobalSection section(libraries_);
        return drives_.Check(drive, found);
    } catch (const AbnormalEnd&) {
        return kErrUnexpectedNetError;
    }
}

long Provider::CheckResource(const NetResourceIn* resource, const std::uint32_t* size,
                             bool providerRequired) {
    if (resource == nullptr || size == nullptr) {
        return kErrInvalidAddress;
    }
    if (resource->provider == nullptr
            ? providerRequired
            : !EqualNoCase(FromCaller(resource->provider), kProviderName)) {
        return kErrBadNetName;
    }
    if (resource->type != kTypeAny && resource->type != kTypeDisk) {
        return kErrBadDevType;
    }
    return resource->remoteName == nullptr ? kErrBadNetName : kOk;
}

std::uint32_t Provider::GetCaps(std::uint32_t index) {
    switch (index) {
        case kCapInterfaceVersion:
            return 0x50001;
        case kCapNetType:
            return 0x00160000;
        case kCapDriverVersion:
            return 0x30201;
        case kCapConnection:
            return 7;  // add, cancel, get connection
        case kCapDialog:
            return 0xA80;  // format network name, resource parent, resource information
        case kCapEnumeration:
            return 3;  // global and local
        case kCapStart:
            return EnsureInit() ? 1 : 0;
        default:
            return 0;
    }
}

long Provider::StartView(const WString& tag, const std::string& narrowTag) {
    bool impersonating = false;
    try {
        if (system_.InSystemLogonSession()) {
            // Never start a view as the service account.
            if (const long error = libraries_.ImpersonateUser(); error != 0) {
                reporter_.Event(
                    Format("NPAddConnection(): couldn't impersonate the logged-on "
                           "user - [%ld]",
                           error));
                return kErrUnexpectedNetError;
            }
            impersonating = true;
        }
        const korva_status_t status = libraries_.StartView(narrowTag);
        if (impersonating) {
            impersonating = false;
            libraries_.RevertToSelf();
        }
        if (status != 0) {
            reporter_.Event("NPAddConnection(): couldn't startview " + Narrow(tag) + " - [" +
                            libraries_.StatusText(status) + "]");
            return kErrUnexpectedNetError;
        }
        return kOk;
    } catch (const AbnormalEnd&) {
        if (impersonating) {
            try {
                libraries_.RevertToSelf();
            } catch (const AbnormalEnd&) {
            }
        }
        reporter_.Event("NPAddConnection(): Abnormal termination of cmd_startview() call detected");
        return kErrUnexpectedNetError;
    }
}

long Provider::AddConnection(const NetResourceIn* resource, const char16_t*, const char16_t*) {
    Settings s;
    if (const long error = Begin(&s); error != kOk) {
        return error;
    }
    if (resource == nullptr) {
        return kErrInvalidAddress;
    }
    if (resource->remoteName == nullptr) {
        return kErrBadNetName;
    }
    const WString remote = FromCaller(resource->remoteName);
    WString tag;
    if (EqualNoCase(remote, s.netnamePrefix)) {
        tag.clear();  // the bare prefix names the driver root
    } else if (StartsWithNoCase(remote, s.netnamePrefix + u"\\")) {
        tag = remote.substr(s.netnamePrefix.size() + 1);
    } else {
        return kErrBadNetName;
    }
    std::string narrowTag;
    if (!tag.empty()) {
        if (tag.find(u'\\') != WString::npos) {
            return kErrBadNetName;
        }
        narrowTag = system_.WideToAnsi(tag);
        if (views_.Find(narrowTag, nullptr) != ViewRegistry::Lookup::kFound) {
            return kErrBadNetName;
        }
    }
    std::optional<WString> drive;
    if (resource->localName != nullptr && resource->localName[0] != u'\0') {
        drive = LocalDrive(FromCaller(resource->localName));
        if (!drive) {
            return kErrBadDevice;
        }
    }

    try {
        GlobalSection section(libraries_);
        if (drive && drives_.InUse(*drive)) {
            return kErrAlreadyAssigned;
        }
        std::optional<WString> defined;
        if (drive) {
            const WString target =
                tag.empty() ? WString(kDriverDevice) : u"\\??\\" + s.driverDrive + u"\\" + tag;
            if (const long error = system_.DefineDevice(*drive, target); error != 0) {
                reporter_.Event(Format("NPAddConnection(): couldn't subst drive - [%ld]", error));
                return error;
            }
            defined = target;
        }
        if (!tag.empty()) {
            if (const long error = StartView(tag, narrowTag); error != 0) {
                if (defined) {
                    system_.RemoveDevice(*drive, *defined);  // only what this call made
                }
                return error;
            }
        }
        return kOk;
    } catch (const AbnormalEnd&) {
        reporter_.Event("NPAddConnection(): Abnormal termination of nt_*() call detected");
        return kErrUnexpectedNetError;
    }
}

long Provider::CancelConnection(const char16_t* name, bool force) {
    Settings s;
    if (const long error = Begin(&s); error != kOk) {
        return error;
    }
    if (name == nullptr) {
        return kErrBadNetName;
    }
    const WString text = FromCaller(name);
    const std::optional<WString> drive = DriveName(text);
    if (!drive) {
        if (StartsWithNoCase(text, s.netnamePrefix + u"\\")) {
            return force ? kOk : kErrDeviceInUse;
        }
        // A remote name of someone else is not connected here; anything
        // else is no local name at all.
        return StartsWithNoCase(text, u"\\\\") ? kErrNotConnected : kErrBadDevice;
    }
    try {
        GlobalSection section(libraries_);
        ProviderDrive found;
        if (const long error = drives_.Check(*drive, &found); error != 0) {
            return error;
        }
        if (found.driverDrive && *drive == s.driverDrive) {
            return force ? kOk : kErrDeviceInUse;  // the driver drive stays
        }
        // A view drive, or another letter mapped to the driver root, goes.
        WString target;
        if (const long error = system_.QueryDevice(*drive, &target); error != 0) {
            return error;
        }
        // A failed removal is a failure, forced or not.
        return system_.RemoveDevice(*drive, target);
    } catch (const AbnormalEnd&) {
        return kErrUnexpectedNetError;
    }
}

long Provider::GetConnection(const char16_t* localName, char16_t* remoteName, std::uint32_t* size) {
    Settings s;
    if (const long error = Begin(&s); error != kOk) {
        return error;
    }
    if (localName == nullptr || size == nullptr) {
        return kErrBadNetName;
    }
    const std::optional<WString> drive = DriveName(FromCaller(localName));
    if (!drive) {
        return kErrBadDevice;
    }
    ProviderDrive found;
    if (const long error = CheckDrive(*drive, &found); error != kOk) {
        return error;
    }
    const WString remote = Joined(s.netnamePrefix, found.tag);
    // The name and its terminator: "\\view\t1" needs 10 characters.
    const std::uint32_t needed = static_cast<std::uint32_t>(remote.size() + 1);
    if (*size < needed) {
        *size = needed;
        return kErrMoreData;
    }
    if (remoteName == nullptr) {
        return kErrInvalidAddress;
    }
    std::copy(remote.c_str(), remote.c_str() + remote.size() + 1, remoteName);
    return kOk;
}

long Provider::ConnectedEntries(const Settings& s, Enumeration* e) {
    std::vector<WString> names;
    if (const long error = drives_.DeviceNames(&names); error != 0) {
        return error;
    }
    std::vector<WString> drives;
    for (const WString& name : names) {
        if (name.size() == 2 && name[1] == u':' && IsDriveLetter(name[0])) {
            drives.push_back(WString(1, UpperAscii(name[0])) + u":");
        }
    }
    std::sort(drives.begin(), drives.end());
    drives.erase(std::unique(drives.begin(), drives.end()), drives.end());

    Enumeration::Group group;
    std::vector<WString> listed;
    try {
        GlobalSection section(libraries_);
        for (const WString& drive : drives) {
            ProviderDrive found;
            if (drives_.Check(drive, &found) == 0) {
                group.entries.push_back({found.tag, drive});
                listed.push_back(found.tag);
            }
        }
    } catch (const AbnormalEnd&) {
        return kErrUnexpectedNetError;
    }
    // Started views are the directories in the driver root.
    std::vector<WString> folders;
    if (system_.ListDirectories(s.driverDrive + u"\\", &folders) == 0) {
        for (const WString& folder : folders) {
            if (folder == u"." || folder == u".." || EndsWithNoCase(folder, s.extendedSuffix)) {
                continue;
            }
            const bool known = std::any_of(listed.begin(), listed.end(), [&](const WString& t) {
                return EqualNoCase(t, folder);
            });
            if (!known) {
                group.entries.push_back({folder, std::nullopt});
                listed.push_back(folder);
            }
        }
    }
    e->groups.push_back(std::move(group));
    return kOk;
}

bool Provider::RecentEntries(Enumeration* e) {
    std::string list;
    try {
        if (libraries_.GetParam(kParamRecentViews, &list) != 0) {
            list.clear();
        }
    } catch (const AbnormalEnd&) {
        reporter_.Event("vtnp_open_recent(): Abnormal termination of ntregy_*() call detected");
        return false;
    }
    const std::vector<std::string> tags = SplitCommas(list);
    std::vector<std::string> kept;
    for (const std::string& tag : tags) {
        std::string host;
        const ViewRegistry::Lookup found = views_.Find(tag, &host);
        if (found == ViewRegistry::Lookup::kUnknown) {
            continue;  // the server says it is gone
        }
        kept.push_back(tag);
        WString wide;
        if (const long error = system_.AnsiToWide(tag, &wide); error != 0) {
            reporter_.Event(
                Format("vtnp_open_recent(): Can't convert view tag \"%s\" to Unicode - [%ld]",
                       tag.c_str(), error));
            continue;
        }
        // A tag the server could not answer for stays listed, without a host.
        AddToHostGroup(&e->groups, found == ViewRegistry::Lookup::kFound ? host : std::string(),
                       {wide, std::nullopt});
    }
    if (kept.size() != tags.size()) {
        std::string joined;
        for (const std::string& tag : kept) {
            joined += (joined.empty() ? "" : ",") + tag;
        }
        try {
            libraries_.SetParam(kParamRecentViews, joined);
        } catch (const AbnormalEnd&) {
            reporter_.Event("vtnp_open_recent(): Abnormal termination of ntregy_*() call detected");
        }
    }
    return true;
}

bool Provider::RegisteredEntries(const Settings& s, bool thisComputerOnly, Enumeration* e) {
    std::vector<RegisteredView> views;
    if (!views_.Views(&views)) {
        return false;
    }
    for (const RegisteredView& view : views) {
        if (thisComputerOnly) {
            WString host;
            if (system_.AnsiToWide(view.host, &host) != 0 || !EqualNoCase(host, s.computerName)) {
                continue;
            }
        }
        WString wide;
        if (system_.AnsiToWide(view.tag, &wide) != 0) {
            continue;
        }
        AddToHostGroup(&e->groups, view.host, {wide, std::nullopt});
    }
    return true;
}

long Provider::OpenEnum(std::uint32_t scope, std::uint32_t type, std::uint32_t usage,
                        const NetResourceIn* resource, void** handle) {
    Settings s;
    if (const long error = Begin(&s); error != kOk) {
        return error;
    }
    if (handle == nullptr) {
        return kErrInvalidAddress;
    }
    const char16_t* remotePtr = resource != nullptr ? resource->remoteName : nullptr;
    const WString remote = FromCaller(remotePtr);
    auto e = std::make_unique<Enumeration>();
    e->scope = scope;

    const bool global = scope == kScopeGlobal;
    const bool browse = global || scope == kScopeContext;
    const bool anyUsage = usage == 0;
    if (scope == kScopeConnected) {
        e->kind = Enumeration::Kind::kConnected;
        if (const long error = ConnectedEntries(s, e.get()); error != 0) {
            return error;
        }
    } else if (browse && (remotePtr == nullptr || EqualNoCase(remote, kProviderName)) &&
               (anyUsage || (usage & kUsageContainer) != 0)) {
        e->kind = Enumeration::Kind::kTop;
        e->groups.push_back({std::string(),
                             {{kAllViews, std::nullopt},
                              {s.containerName, std::nullopt},
                              {kRecentViews, std::nullopt}}});
    } else if (global && EqualNoCase(remote, kRecentViews) &&
               (anyUsage || (usage & kUsageConnectable) != 0)) {
        e->kind = Enumeration::Kind::kViews;
        if (!RecentEntries(e.get())) {
            return kErrUnexpectedNetError;
        }
    } else if (global && (EqualNoCase(remote, kAllViews) || EqualNoCase(remote, s.netnamePrefix))) {
        e->kind = Enumeration::Kind::kViews;
        if (!RegisteredEntries(s, false, e.get())) {
            return kErrUnexpectedNetError;
        }
    } else if (global && EqualNoCase(remote, s.containerName)) {
        e->kind = Enumeration::Kind::kViews;
        if (!RegisteredEntries(s, true, e.get())) {
            return kErrUnexpectedNetError;
        }
    } else if (StartsWithNoCase(remote, s.netnamePrefix + u"\\")) {
        return kErrNotContainer;
    } else {
        reporter_.Debug(Format("NPOpenEnum(%u,%u,%u,%s): Unxpected request", scope, type, usage,
                               remotePtr != nullptr ? Narrow(remote).c_str() : "<Null>"));
        return kErrBadNetName;
    }
    StateLock lock(system_);
    Enumeration* raw = e.release();
    open_.insert(raw);
    *handle = raw;
    return kOk;
}

Enumeration* Provider::FindEnumeration(void* handle) {
    auto* e = static_cast<Enumeration*>(handle);
    return open_.count(e) != 0 ? e : nullptr;
}

long Provider::EnumResource(void* handle, std::uint32_t* count, void* buffer, std::uint32_t* size) {
    if (handle == nullptr || count == nullptr || size == nullptr) {
        return kErrInvalidAddress;
    }
    const Settings s = CurrentSettings();
    StateLock lock(system_);
    Enumeration* e = FindEnumeration(handle);
    if (e == nullptr) {
        return kErrInvalidAddress;
    }
    const Enumeration::Entry* entry = e->Current();
    if (entry == nullptr) {
        *count = 0;
        return kErrNoMoreItems;
    }
    // A buffer too small leaves the position alone: the caller retries.
    if (const long error = PackResource(e->ResourceFor(*entry, s), buffer, size); error != 0) {
        return error;
    }
    *count = 1;
    e->Advance();
    return kOk;
}

long Provider::CloseEnum(void* handle) {
    if (handle == nullptr) {
        return kErrInvalidAddress;
    }
    StateLock lock(system_);
    Enumeration* e = FindEnumeration(handle);
    if (e == nullptr) {
        return kErrInvalidAddress;
    }
    open_.erase(e);
    delete e;
    return kOk;
}

long Provider::FormatNetworkName(const char16_t* remoteName, char16_t* buffer, std::uint32_t* size,
                                 std::uint32_t, std::uint32_t) {
    Settings s;
    if (const long error = Begin(&s); error != kOk) {
        return error;
    }
    if (remoteName == nullptr || size == nullptr) {
        return kErrBadNetName;
    }
    WString name = FromCaller(remoteName);
    if (StartsWithNoCase(name, s.netnamePrefix + u"\\")) {
        name.erase(0, s.netnamePrefix.size() + 1);
    }
    const std::uint32_t needed = static_cast<std::uint32_t>(2 * name.size() + 2);
    if (*size < needed) {
        *size = needed;
        return kErrMoreData;
    }
    if (buffer == nullptr) {
        return kErrInvalidAddress;
    }
    std::copy(name.c_str(), name.c_str() + name.size() + 1, buffer);
    return kOk;
}

long Provider::GetResourceInformation(const NetResourceIn* resource, void* buffer,
                                      std::uint32_t* size, char16_t** systemPart) {
    Settings s;
    if (const long error = Begin(&s); error != kOk) {
        return error;
    }
    if (const long error = CheckResource(resource, size, false); error != kOk) {
        return error;
    }
    const WString remote = FromCaller(resource->remoteName);
    Resource r;
    r.scope = kScopeGlobal;
    r.provider = WString(kProviderName);
    r.remoteName = remote;
    std::optional<WString> further;
    if (StartsWithNoCase(remote, s.netnamePrefix + u"\\")) {
        WString rest = remote.substr(s.netnamePrefix.size() + 1);
        const std::size_t slash = rest.find(u'\\');
        const WString tag = rest.substr(0, slash);
        if (tag.empty()) {
            return kErrBadNetName;
        }
        std::string host;
        if (views_.Find(system_.WideToAnsi(tag), &host) != ViewRegistry::Lookup::kFound) {
            return kErrBadNetName;
        }
        if (slash != WString::npos) {
            WString path = rest.substr(slash);
            if (path.back() == u'\\') {
                path.pop_back();
            }
            if (!path.empty()) {
                further = path;
            }
        }
        WString wideHost;
        if (system_.AnsiToWide(host, &wideHost) != 0) {
            wideHost.clear();
        }
        r.type = kTypeDisk;
        r.displayType = kDisplayShare;
        r.usage = kUsageConnectable;
        r.remoteName = s.netnamePrefix + u"\\" + tag;
        r.comment = wideHost;
    } else if (EqualNoCase(remote, s.netnamePrefix)) {
        r.displayType = kDisplayServer;
        r.usage = kUsageContainer;
    } else if (EqualNoCase(remote, kProviderName)) {
        r.displayType = kDisplayNetwork;
        r.usage = kUsageProviderTop;
    } else if (IsTopName(remote, s)) {
        r.displayType = kDisplayContainer;
        r.usage = kUsageContainer;
    } else {
        return kErrBadNetName;
    }
    char16_t* system = nullptr;
    const long error = PackResource(r, buffer, size, &further, &system);
    if (error == kOk && systemPart != nullptr) {
        *systemPart = system;
    }
    return error;
}

long Provider::GetResourceParent(const NetResourceIn* resource, void* buffer, std::uint32_t* size) {
    Settings s;
    if (const long error = Begin(&s); error != kOk) {
        return error;
    }
    if (const long error = CheckResource(resource, size, true); error != kOk) {
        return error;
    }
    const WString remote = FromCaller(resource->remoteName);
    Resource r;
    r.scope = kScopeGlobal;
    r.provider = WString(kProviderName);
    if (StartsWithNoCase(remote, s.netnamePrefix + u"\\")) {
        WString rest = remote.substr(s.netnamePrefix.size() + 1);
        while (!rest.empty() && rest.back() == u'\\') {
            rest.pop_back();
        }
        if (rest.empty()) {
            return kErrBadNetName;
        }
        const std::size_t slash = rest.find(u'\\');
        if (slash == WString::npos) {
            // A view: its parent is the view netname.
            r.remoteName = s.netnamePrefix;
            r.displayType = kDisplayServer;
            r.usage = kUsageContainer;
        } else {
            // A path inside a view: its parent is the view.
            r.remoteName = s.netnamePrefix + u"\\" + rest.substr(0, slash);
            r.type = kTypeDisk;
            r.displayType = kDisplayShare;
            r.usage = kUsageConnectable;
            r.comment = WString(kViewComment);
        }
    } else if (EqualNoCase(remote, s.netnamePrefix)) {
        r.remoteName = WString(kAllViews);
        r.displayType = kDisplayContainer;
        r.usage = kUsageContainer;
    } else if (IsTopName(remote, s)) {
        r.remoteName = WString(kProviderName);
        r.displayType = kDisplayNetwork;
        r.usage = kUsageProviderTop;
    } else {
        return kErrBadNetName;
    }
    return PackResource(r, buffer, size);
}

long Provider::GetUniversalName(const char16_t* localPath, std::uint32_t level, void* buffer,
                                std::uint32_t* size) {
    Settings s;
    if (const long error = Begin(&s); error != kOk) {
        return error;
    }
    constexpr std::uint32_t kUniversalNameLevel = 1;
    constexpr std::uint32_t kRemoteNameLevel = 2;
    if (level != kUniversalNameLevel && level != kRemoteNameLevel) {
        reporter_.Debug(Format("NPGetUniversalName Infolevel  %u", level));
        return kErrInvalidLevel;
    }
    if (localPath == nullptr) {
        return kErrBadNetName;
    }
    if (size == nullptr) {
        return kErrInvalidAddress;
    }
    const WString path = FromCaller(localPath);
    if (path.size() < 2 || path[1] != u':' || !IsDriveLetter(path[0])) {
        reporter_.Debug("NPGetUniversalName bad localpath name  " + Narrow(path));
        return kErrBadDevice;
    }
    ProviderDrive found;
    if (const long error = CheckDrive(*DriveName(path.substr(0, 2)), &found); error != kOk) {
        return error;
    }
    const std::optional<WString> connection = Joined(s.netnamePrefix, found.tag);
    WString rest = path.substr(2);
    if (!rest.empty() && rest[0] != u'\\' && rest[0] != u'/') {
        rest.insert(rest.begin(), u'\\');  // "Q:dir" is "Q:\dir" on a network drive
    }
    const std::optional<WString> universal = *connection + rest;
    const std::optional<WString> remaining = rest;
    if (level == kUniversalNameLevel) {
        char16_t* record[1] = {nullptr};
        return PackStrings(record, sizeof record, {{0, &universal}}, buffer, size);
    }
    char16_t* record[3] = {nullptr, nullptr, nullptr};
    return PackStrings(
        record, sizeof record,
        {{0, &universal}, {sizeof(char16_t*), &connection}, {2 * sizeof(char16_t*), &remaining}},
        buffer, size);
}

void Provider::CreateDriverDrive(const Settings& s) {
    if (s.driverDrive.empty()) {
        reporter_.Event("vtnp_create_dlfs_dosdevice(): unable to determine DLFS drive letter");
        reporter_.Event("NPLogonNotify(): Unable to create DLFS DosDevice");
        return;
    }
    if (drives_.InUse(s.driverDrive)) {
        return;
    }
    if (const long error = system_.DefineDevice(s.driverDrive, kDriverDevice); error != 0) {
        reporter_.Event(
            Format("vtnp_create_dlfs_dosdevice(): unable to create DLFS DosDevice - [%lu]",
                   static_cast<unsigned long>(error)));
        reporter_.Event("NPLogonNotify(): Unable to create DLFS DosDevice");
    }
}

long Provider::LogonNotify(char16_t** logonScript) {
    Settings s;
    if (const long error = Begin(&s); error != kOk) {
        return error;
    }
    if (logonScript != nullptr) {
        *logonScript = nullptr;
    }
    try {
        GlobalSection section(libraries_);
        try {
            libraries_.FlushGlobalTables();
        } catch (const AbnormalEnd&) {
            reporter_.Event("NPLogonNotify(): Abnormal termination of phash_*() call detected");
        }
        CreateDriverDrive(s);
        if (!s.logonProgram) {
            reporter_.Debug("NPLogonNotify(): no ProductHome, no logon program to run");
        } else if (logonScript != nullptr) {
            *logonScript = system_.LocalCopy(*s.logonProgram);
            if (*logonScript == nullptr) {
                reporter_.Event("NPLogonNotify(): can not allocate memory");
            }
        }
    } catch (const AbnormalEnd&) {
        reporter_.Event("NPLogonNotify(): Abnormal termination of nt_*() call detected");
    }
    return kOk;
}

}  // namespace vtrelnp
