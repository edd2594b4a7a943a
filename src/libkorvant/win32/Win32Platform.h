#pragma once

#include "libkorvant/Platform.h"

namespace korvant::win32 {

// The platform seam bound to the real Win32 registry, profile and system.
class Win32Platform : public Platform {
public:
    long RegConnect(const char* machine, RegKey root, RegKey* out) override;
    long RegOpen(RegKey parent, const char* path, std::uint32_t access, RegKey* out) override;
    long RegCreate(RegKey parent, const char* path, std::uint32_t access, RegKey* out) override;
    long RegClose(RegKey key) override;
    long RegQuery(RegKey key, const char* name, std::uint32_t* type, void* data,
                  std::uint32_t* size) override;
    long RegSet(RegKey key, const char* name, std::uint32_t type, const void* data,
                std::uint32_t size) override;
    long RegDelValue(RegKey key, const char* name) override;
    long RegDelKey(RegKey parent, const char* path) override;
    long RegEnumSubkey(RegKey key, std::uint32_t index, char* name,
                       std::uint32_t* nameLen) override;
    long RegEnumVal(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameLen,
                    std::uint32_t* type, void* data, std::uint32_t* dataLen) override;
    long RegKeyWriteTime(RegKey key, std::uint64_t* fileTime) override;

    std::string ProfileGet(const char* section, const char* key) override;
    long ProfileSet(const char* section, const char* key, const char* value) override;
    bool ProfileWriteTime(std::uint64_t* fileTime) override;

    bool GetEnv(const char* name, std::string* value) override;
    bool ComputerName(std::string* name) override;
    OsVersion Version() override;
    bool IsTerminalServerSuite() override;
    bool NetworkProviderType(const char* provider, std::uint32_t* type) override;
    // Device names and targets in UTF-8.
    long QueryDevice(const char* device, std::string* target) override;
    void DebugOutput(const char* text) override;
};

}  // namespace korvant::win32
