#pragma once

#include <cstdint>
#include <string>

namespace korvant {

// Registry keys cross the platform seam as plain integers; the predefined
// roots carry the values Windows gives them, so the Win32 layer can cast.
using RegKey = std::uintptr_t;

inline constexpr RegKey kHkeyClassesRoot = 0x80000000u;
inline constexpr RegKey kHkeyCurrentUser = 0x80000001u;
inline constexpr RegKey kHkeyLocalMachine = 0x80000002u;
inline constexpr RegKey kHkeyUsers = 0x80000003u;

enum RegType : std::uint32_t {
    kRegNone = 0,
    kRegSz = 1,
    kRegExpandSz = 2,
    kRegBinary = 3,
    kRegDword = 4,
    kRegDwordBigEndian = 5,
    kRegMultiSz = 7,
};

// Access masks as Windows defines them.
inline constexpr std::uint32_t kKeyRead = 0x20019;
inline constexpr std::uint32_t kKeyWrite = 0x20006;

// Win32 error codes the library produces or reacts to.
inline constexpr long kErrSuccess = 0;
inline constexpr long kErrFileNotFound = 2;
inline constexpr long kErrAccessDenied = 5;
inline constexpr long kErrNotEnoughMemory = 8;
inline constexpr long kErrInvalidData = 13;
inline constexpr long kErrBadNetPath = 53;
inline constexpr long kErrInvalidParameter = 87;
inline constexpr long kErrCallNotImplemented = 120;
inline constexpr long kErrInsufficientBuffer = 122;
inline constexpr long kErrBadArguments = 160;
inline constexpr long kErrMoreData = 234;

struct OsVersion {
    std::uint32_t platformId = 2;  // 0 Win32s, 1 Windows 95 family, 2 NT family
    std::uint32_t major = 6;
    std::uint32_t minor = 1;
};

// The narrow set of system services the portable logic needs. The Win32
// implementation lives in win32/; tests use an in-memory fake.
class Platform {
public:
    virtual ~Platform() = default;

    // Registry. Paths are relative to the given key and never start with '\'.
    virtual long RegConnect(const char* machine, RegKey root, RegKey* out) = 0;
    virtual long RegOpen(RegKey parent, const char* path, std::uint32_t access, RegKey* out) = 0;
    virtual long RegCreate(RegKey parent, const char* path, std::uint32_t access, RegKey* out) = 0;
    virtual long RegClose(RegKey key) = 0;
    virtual long RegQuery(RegKey key, const char* name, std::uint32_t* type, void* data,
                          std::uint32_t* size) = 0;
    virtual long RegSet(RegKey key, const char* name, std::uint32_t type, const void* data,
                        std::uint32_t size) = 0;
    virtual long RegDelValue(RegKey key, const char* name) = 0;
    virtual long RegDelKey(RegKey parent, const char* path) = 0;
    virtual long RegEnumSubkey(RegKey key, std::uint32_t index, char* name,
                               std::uint32_t* nameLen) = 0;
    virtual long RegEnumVal(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameLen,
                            std::uint32_t* type, void* data, std::uint32_t* dataLen) = 0;
    virtual long RegKeyWriteTime(RegKey key, std::uint64_t* fileTime) = 0;

    // The WIN.INI profile. A null value removes the entry.
    virtual std::string ProfileGet(const char* section, const char* key) = 0;
    virtual long ProfileSet(const char* section, const char* key, const char* value) = 0;
    virtual bool ProfileWriteTime(std::uint64_t* fileTime) = 0;

    // System facts.
    virtual bool GetEnv(const char* name, std::string* value) = 0;
    virtual bool ComputerName(std::string* name) = 0;
    virtual OsVersion Version() = 0;
    virtual bool IsTerminalServerSuite() = 0;
    virtual bool NetworkProviderType(const char* provider, std::uint32_t* type) = 0;
    virtual long QueryDevice(const char* device, std::string* target) = 0;
    virtual void DebugOutput(const char* text) = 0;
};

}  // namespace korvant
