#pragma once

#include <cstdint>
#include <memory>
#include <set>

#include "vtrelnp/Drives.h"
#include "vtrelnp/Enumeration.h"
#include "vtrelnp/Libraries.h"
#include "vtrelnp/NetResource.h"
#include "vtrelnp/Reporter.h"
#include "vtrelnp/Settings.h"
#include "vtrelnp/System.h"
#include "vtrelnp/ViewRegistry.h"

namespace vtrelnp {

// The network provider's entry points, on top of the system and the
// product's libraries. Results are Win32 error codes.
class Provider {
public:
    Provider(System& system, Libraries& libraries);
    ~Provider();

    std::uint32_t GetCaps(std::uint32_t index);
    long AddConnection(const NetResourceIn* resource, const char16_t* password,
                       const char16_t* user);
    long CancelConnection(const char16_t* name, bool force);
    long GetConnection(const char16_t* localName, char16_t* remoteName, std::uint32_t* size);
    long OpenEnum(std::uint32_t scope, std::uint32_t type, std::uint32_t usage,
                  const NetResourceIn* resource, void** handle);
    long EnumResource(void* handle, std::uint32_t* count, void* buffer, std::uint32_t* size);
    long CloseEnum(void* handle);
    long FormatNetworkName(const char16_t* remoteName, char16_t* buffer, std::uint32_t* size,
                           std::uint32_t flags, std::uint32_t availableChars);
    long GetResourceInformation(const NetResourceIn* resource, void* buffer, std::uint32_t* size,
                                char16_t** systemPart);
    long GetResourceParent(const NetResourceIn* resource, void* buffer, std::uint32_t* size);
    long GetUniversalName(const char16_t* localPath, std::uint32_t level, void* buffer,
                          std::uint32_t* size);
    long LogonNotify(char16_t** logonScript);
    long PasswordChangeNotify() { return kOk; }

    Reporter& reporter() { return reporter_; }
    // Initialises on first use; false when that failed (now or before).
    bool EnsureInit();
    // A copy of the settings (valid after EnsureInit).
    Settings CurrentSettings();

private:
    // Every entry point but the capabilities starts here: initialises on
    // first use and takes a copy of the settings; 1222 once that failed.
    long Begin(Settings* settings);
    // Drives::Check inside the global critical section.
    long CheckDrive(const WString& drive, ProviderDrive* found);
    // The arguments of the resource information and parent calls: 487 for
    // null pointers, 67 for another provider's name (or none where one is
    // required) or no remote name, 66 for a type other than any or disk.
    long CheckResource(const NetResourceIn* resource, const std::uint32_t* size,
                       bool providerRequired);
    long StartView(const WString& tag, const std::string& narrowTag);
    void CreateDriverDrive(const Settings& settings);
    long ConnectedEntries(const Settings& settings, Enumeration* e);
    bool RecentEntries(Enumeration* e);
    bool RegisteredEntries(const Settings& settings, bool thisComputerOnly, Enumeration* e);
    Enumeration* FindEnumeration(void* handle);

    System& system_;
    Libraries& libraries_;
    Reporter reporter_;
    Drives drives_;
    ViewRegistry views_;
    bool initialised_ = false;
    bool initFailed_ = false;
    Settings settings_;
    std::set<Enumeration*> open_;
};

}  // namespace vtrelnp
