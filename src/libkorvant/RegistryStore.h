#pragma once

#include <cstdint>
#include <string>

#include "libkorvant/Platform.h"
#include "libkorvant/SystemInfo.h"

namespace korvant {

// The product's registry parameter store: typed wrappers over the registry,
// the product and driver parameter tables, per-application values, the
// per-user name lists and the removal of the product's key tree. Every
// result is a Win32 error code. On Win32s (platform 0) values live in the
// "Korva" section of WIN.INI instead.
class RegistryStore {
public:
    RegistryStore(Platform& platform, SystemInfo& system) : platform_(platform), system_(system) {}

    // Plain registry wrappers.
    long CloseKey(RegKey key);
    long ConnectRemote(const char* machine, RegKey root, RegKey* out);
    long GetHandle(RegKey root, const char* path, std::uint32_t access, RegKey* out);
    long GetValue(RegKey root, const char* path, const char* name, void* buffer,
                  std::uint32_t* size, RegKey* out);
    long CreateValue(RegKey root, const char* path, const char* name, const void* data,
                     std::uint32_t size, std::uint32_t type, RegKey* out);
    long DelValue(RegKey root, const char* path, const char* name);
    long DelKey(RegKey root, const char* path);
    long EnumSubkeys(RegKey key, std::uint32_t index, char* name, std::uint32_t* length);
    long EnumValue(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameLength,
                   std::uint32_t* type, void* data, std::uint32_t* dataLength);

    // Product parameters by index. For REG_DWORD parameters data is the
    // number itself; otherwise it points to the string or multi-string.
    long GetParam(int index, std::uint32_t* size, void* buffer, const char* machine);
    long SetParam(int index, std::uintptr_t data, const char* machine);
    long DelParam(int index, const char* machine);
    std::uint32_t GetDatatype(int index);

    // Driver parameters.
    long GetDlfsParam(int index, void* buffer, std::uint32_t* size, const char* machine);
    long SetDlfsParam(int index, std::uintptr_t value, const char* machine);
    long DefaultDlfsParam(int index, const char* machine);
    long GetDefaultParam(int index, void* buffer, std::uint32_t size);
    std::string DriverKey();

    // Per-application values below the HKCU product key.
    long GetAppParam(const char* app, const char* name, std::uint32_t* size, void* buffer,
                     const char* machine);
    long SetAppParam(const char* app, const char* name, std::uint32_t type, std::uintptr_t data,
                     const char* machine);
    long GetAppGeometry(const char* app, std::int32_t* x, std::int32_t* y, std::int32_t* width,
                        std::int32_t* height, const char* machine);
    long SetAppGeometry(const char* app, std::int32_t x, std::int32_t y, std::int32_t width,
                        std::int32_t height, const char* machine);

    // Product key naming.
    const char* CommonKey();
    const char* CommonKeyMfcStyle();
    long SetProductType(const char* company, const char* product, const char* version);
    void GetProductType(const char** company, const char** product, const char** version);
    long CommonKeyModtime(std::uint64_t* fileTime, const char* machine);
    long UpdateProductInfoKeys(const char* text, const char* machine);

    // Registry-server password and server type.
    long GetRgyPasswd(char* buffer, std::uint32_t* size, const char* machine);
    long SetRgyPasswd(const char* password, const char* machine);
    long DelRgySvrtype(const char* machine);

    // Per-user name lists.
    long AddPersistentKiv(const char* name);
    long RemovePersistentKiv(const char* name);
    long AddToRecentViews(const char* tag);
    long DelFromRecentViews(const char* tag);

    long DelVantrelTree(const char* machine);
    int AdminsArePrivileged();

    static constexpr std::size_t kMaxProductName = 64;
    static constexpr const char* kProfileSection = "Korva";

private:
    // Reads a value and checks it against the expected type (0 accepts any),
    // making sure strings come back terminated inside the caller's buffer.
    long ReadTyped(RegKey root, const std::string& path, const char* name, std::uint32_t expected,
                   void* buffer, std::uint32_t* size, const char* machine,
                   const std::string& profileKey);
    long WriteTyped(RegKey root, const std::string& path, const char* name, std::uint32_t type,
                    const void* data, std::uint32_t size, const char* machine,
                    const std::string& profileKey);
    long ReadProfile(const std::string& key, std::uint32_t expected, void* buffer,
                     std::uint32_t* size);
    long WriteProfile(const std::string& key, std::uint32_t type, const void* data,
                      std::uint32_t size);
    long ReadList(int index, std::string* list);
    long WriteList(int index, const std::string& list);
    long OpenRoot(const char* machine, RegKey root, RegKey* effective);
    void CloseRoot(const char* machine, RegKey effective);
    bool OnProfile() { return system_.Win32Platform() == 0; }
    std::string AppKey(const char* app);

    Platform& platform_;
    SystemInfo& system_;
    std::string company_ = "Korva";
    std::string product_ = "Vantrel";
    std::string version_ = "CurrentVersion";
    bool haveCommonKey_ = false;
    char commonKey_[256] = {};
    bool haveMfcKey_ = false;
    char mfcKey_[256] = {};
    bool haveAdmins_ = false;
    int admins_ = 0;
};

}  // namespace korvant
