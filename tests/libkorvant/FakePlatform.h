#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "libkorvant/Platform.h"

namespace korvant::testing {

struct CaseLess {
    bool operator()(const std::string& a, const std::string& b) const;
};

// An in-memory stand-in for the system: a registry with NT's rules (keys
// with subkeys cannot be deleted, missing keys and values give 2, short
// buffers 234), a WIN.INI, environment, DOS devices and debugger output.
class FakePlatform : public Platform {
public:
    struct Value {
        std::uint32_t type = 0;
        std::vector<std::uint8_t> data;
    };
    struct Node {
        std::map<std::string, std::unique_ptr<Node>, CaseLess> keys;
        std::map<std::string, Value, CaseLess> values;
        std::uint64_t writeTime = 0;
        bool denyDelete = false;
    };

    FakePlatform();

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
    OsVersion Version() override { return version; }
    bool IsTerminalServerSuite() override { return terminalSuite; }
    bool NetworkProviderType(const char* provider, std::uint32_t* type) override;
    long QueryDevice(const char* device, std::string* target) override;
    void DebugOutput(const char* text) override { debugLines.push_back(text); }

    // Test helpers: paths are "HKLM\a\b" or "HKCU\a\b".
    Node* Find(const std::string& path);
    bool HasKey(const std::string& path) { return Find(path) != nullptr; }
    void Put(const std::string& path, const std::string& name, std::uint32_t type, const void* data,
             std::size_t size);
    void PutString(const std::string& path, const std::string& name, const std::string& text);
    void PutDword(const std::string& path, const std::string& name, std::uint32_t value);
    const Value* Get(const std::string& path, const std::string& name);
    std::string GetString(const std::string& path, const std::string& name);
    std::size_t OpenHandles() const { return handles_.size(); }

    std::map<std::string, std::string, CaseLess> env;
    std::map<std::string, std::map<std::string, std::string, CaseLess>, CaseLess> profile;
    std::map<std::string, std::string, CaseLess> dosDevices;
    std::map<std::string, std::uint32_t, CaseLess> providerTypes;
    std::set<std::string, CaseLess> machines;  // reachable remote machine names
    std::vector<std::string> debugLines;
    std::string computerName = "HOST1";
    bool haveComputerName = true;
    OsVersion version;
    bool terminalSuite = false;
    int connects = 0;

private:
    Node* Resolve(RegKey key);
    std::map<RegKey, Node> roots_;
    std::map<RegKey, Node*> handles_;
    RegKey nextHandle_ = 0x1000;
    std::uint64_t clock_ = 100;
};

}  // namespace korvant::testing
