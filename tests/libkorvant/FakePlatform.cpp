#include "libkorvant/FakePlatform.h"

#include <cstring>

#include "libkorvant/TextUtil.h"

namespace korvant::testing {

namespace {

constexpr long kInvalidHandle = 6;
constexpr long kNoMoreItems = 259;

}  // namespace

bool CaseLess::operator()(const std::string& a, const std::string& b) const {
    return AsciiCaseCompare(a.c_str(), b.c_str()) < 0;
}

FakePlatform::FakePlatform() {
    roots_[kHkeyLocalMachine];
    roots_[kHkeyCurrentUser];
    roots_[kHkeyUsers];
    roots_[kHkeyClassesRoot];
}

FakePlatform::Node* FakePlatform::Resolve(RegKey key) {
    if (auto it = roots_.find(key); it != roots_.end()) {
        return &it->second;
    }
    if (auto it = handles_.find(key); it != handles_.end()) {
        return it->second;
    }
    return nullptr;
}

long FakePlatform::RegConnect(const char* machine, RegKey root, RegKey* out) {
    ++connects;
    if (machine != nullptr && *machine != '\0' && machines.count(SkipBackslashes(machine)) == 0) {
        return kErrBadNetPath;
    }
    Node* node = Resolve(root);
    if (node == nullptr) {
        return kInvalidHandle;
    }
    *out = nextHandle_++;
    handles_[*out] = node;
    return 0;
}

long FakePlatform::RegOpen(RegKey parent, const char* path, std::uint32_t, RegKey* out) {
    Node* node = Resolve(parent);
    if (node == nullptr) {
        return kInvalidHandle;
    }
    for (const std::string& part : SplitPath(path != nullptr ? path : "")) {
        auto it = node->keys.find(part);
        if (it == node->keys.end()) {
            return kErrFileNotFound;
        }
        node = it->second.get();
    }
    *out = nextHandle_++;
    handles_[*out] = node;
    return 0;
}

long FakePlatform::RegCreate(RegKey parent, const char* path, std::uint32_t, RegKey* out) {
    Node* node = Resolve(parent);
    if (node == nullptr) {
        return kInvalidHandle;
    }
    for (const std::string& part : SplitPath(path != nullptr ? path : "")) {
        std::unique_ptr<Node>& child = node->keys[part];
        if (!child) {
            child = std::make_unique<Node>();
            child->writeTime = ++clock_;
        }
        node = child.get();
    }
    *out = nextHandle_++;
    handles_[*out] = node;
    return 0;
}

long FakePlatform::RegClose(RegKey key) {
    if (roots_.count(key) != 0) {
        return 0;
    }
    return handles_.erase(key) != 0 ? 0 : kInvalidHandle;
}

long FakePlatform::RegQuery(RegKey key, const char* name, std::uint32_t* type, void* data,
                            std::uint32_t* size) {
    Node* node = Resolve(key);
    if (node == nullptr) {
        return kInvalidHandle;
    }
    auto it = node->values.find(name != nullptr ? name : "");
    if (it == node->values.end()) {
        return kErrFileNotFound;
    }
    const Value& value = it->second;
    if (type != nullptr) {
        *type = value.type;
    }
    const auto length = static_cast<std::uint32_t>(value.data.size());
    if (data != nullptr) {
        if (size == nullptr || *size < length) {
            if (size != nullptr) {
                *size = length;
            }
            return kErrMoreData;
        }
        std::memcpy(data, value.data.data(), length);
    }
    if (size != nullptr) {
        *size = length;
    }
    return 0;
}

long FakePlatform::RegSet(RegKey key, const char* name, std::uint32_t type, const void* data,
                          std::uint32_t size) {
    Node* node = Resolve(key);
    if (node == nullptr) {
        return kInvalidHandle;
    }
    Value& value = node->values[name != nullptr ? name : ""];
    value.type = type;
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    value.data.assign(bytes, bytes + (data != nullptr ? size : 0));
    node->writeTime = ++clock_;
    return 0;
}

long FakePlatform::RegDelValue(RegKey key, const char* name) {
    Node* node = Resolve(key);
    if (node == nullptr) {
        return kInvalidHandle;
    }
    return node->values.erase(name != nullptr ? name : "") != 0 ? 0 : kErrFileNotFound;
}

long FakePlatform::RegDelKey(RegKey parent, const char* path) {
    Node* node = Resolve(parent);
    if (node == nullptr) {
        return kInvalidHandle;
    }
    const std::vector<std::string> parts = SplitPath(path != nullptr ? path : "");
    if (parts.empty()) {
        return kErrInvalidParameter;
    }
    for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
        auto it = node->keys.find(parts[i]);
        if (it == node->keys.end()) {
            return kErrFileNotFound;
        }
        node = it->second.get();
    }
    auto it = node->keys.find(parts.back());
    if (it == node->keys.end()) {
        return kErrFileNotFound;
    }
    if (!it->second->keys.empty() || it->second->denyDelete) {
        return kErrAccessDenied;
    }
    for (auto h = handles_.begin(); h != handles_.end();) {
        h = h->second == it->second.get() ? handles_.erase(h) : std::next(h);
    }
    node->keys.erase(it);
    return 0;
}

long FakePlatform::RegEnumSubkey(RegKey key, std::uint32_t index, char* name,
                                 std::uint32_t* nameLen) {
    Node* node = Resolve(key);
    if (node == nullptr) {
        return kInvalidHandle;
    }
    if (index >= node->keys.size()) {
        return kNoMoreItems;
    }
    auto it = std::next(node->keys.begin(), index);
    if (*nameLen <= it->first.size()) {
        return kErrMoreData;
    }
    std::memcpy(name, it->first.c_str(), it->first.size() + 1);
    *nameLen = static_cast<std::uint32_t>(it->first.size());
    return 0;
}

long FakePlatform::RegEnumVal(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameLen,
                              std::uint32_t* type, void* data, std::uint32_t* dataLen) {
    Node* node = Resolve(key);
    if (node == nullptr) {
        return kInvalidHandle;
    }
    if (index >= node->values.size()) {
        return kNoMoreItems;
    }
    auto it = std::next(node->values.begin(), index);
    const auto length = static_cast<std::uint32_t>(it->second.data.size());
    if (*nameLen <= it->first.size() || (data != nullptr && *dataLen < length)) {
        return kErrMoreData;
    }
    std::memcpy(name, it->first.c_str(), it->first.size() + 1);
    *nameLen = static_cast<std::uint32_t>(it->first.size());
    if (type != nullptr) {
        *type = it->second.type;
    }
    if (data != nullptr) {
        std::memcpy(data, it->second.data.data(), length);
    }
    if (dataLen != nullptr) {
        *dataLen = length;
    }
    return 0;
}

long FakePlatform::RegKeyWriteTime(RegKey key, std::uint64_t* fileTime) {
    Node* node = Resolve(key);
    if (node == nullptr) {
        return kInvalidHandle;
    }
    *fileTime = node->writeTime;
    return 0;
}

std::string FakePlatform::ProfileGet(const char* section, const char* key) {
    auto s = profile.find(section);
    if (s == profile.end()) {
        return std::string();
    }
    auto k = s->second.find(key);
    return k == s->second.end() ? std::string() : k->second;
}

long FakePlatform::ProfileSet(const char* section, const char* key, const char* value) {
    if (value == nullptr) {
        profile[section].erase(key);
    } else {
        profile[section][key] = value;
    }
    ++clock_;
    return 0;
}

bool FakePlatform::ProfileWriteTime(std::uint64_t* fileTime) {
    *fileTime = clock_;
    return true;
}

bool FakePlatform::GetEnv(const char* name, std::string* value) {
    auto it = env.find(name);
    if (it == env.end()) {
        return false;
    }
    *value = it->second;
    return true;
}

bool FakePlatform::ComputerName(std::string* name) {
    if (!haveComputerName) {
        return false;
    }
    *name = computerName;
    return true;
}

bool FakePlatform::NetworkProviderType(const char* provider, std::uint32_t* type) {
    auto it = providerTypes.find(provider);
    if (it == providerTypes.end()) {
        return false;
    }
    *type = it->second;
    return true;
}

long FakePlatform::QueryDevice(const char* device, std::string* target) {
    auto it = dosDevices.find(device);
    if (it == dosDevices.end()) {
        return kErrFileNotFound;
    }
    *target = it->second;
    return 0;
}

FakePlatform::Node* FakePlatform::Find(const std::string& path) {
    const std::vector<std::string> parts = SplitPath(path);
    if (parts.empty()) {
        return nullptr;
    }
    Node* node = Resolve(parts[0] == "HKCU" ? kHkeyCurrentUser : kHkeyLocalMachine);
    for (std::size_t i = 1; i < parts.size(); ++i) {
        auto it = node->keys.find(parts[i]);
        if (it == node->keys.end()) {
            return nullptr;
        }
        node = it->second.get();
    }
    return node;
}

void FakePlatform::Put(const std::string& path, const std::string& name, std::uint32_t type,
                       const void* data, std::size_t size) {
    const std::vector<std::string> parts = SplitPath(path);
    Node* node = Resolve(parts[0] == "HKCU" ? kHkeyCurrentUser : kHkeyLocalMachine);
    for (std::size_t i = 1; i < parts.size(); ++i) {
        std::unique_ptr<Node>& child = node->keys[parts[i]];
        if (!child) {
            child = std::make_unique<Node>();
        }
        node = child.get();
    }
    Value& value = node->values[name];
    value.type = type;
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    value.data.assign(bytes, bytes + size);
}

void FakePlatform::PutString(const std::string& path, const std::string& name,
                             const std::string& text) {
    Put(path, name, kRegSz, text.c_str(), text.size() + 1);
}

void FakePlatform::PutDword(const std::string& path, const std::string& name, std::uint32_t value) {
    Put(path, name, kRegDword, &value, sizeof value);
}

const FakePlatform::Value* FakePlatform::Get(const std::string& path, const std::string& name) {
    Node* node = Find(path);
    if (node == nullptr) {
        return nullptr;
    }
    auto it = node->values.find(name);
    return it == node->values.end() ? nullptr : &it->second;
}

std::string FakePlatform::GetString(const std::string& path, const std::string& name) {
    const Value* value = Get(path, name);
    if (value == nullptr || value->data.empty()) {
        return std::string();
    }
    return std::string(
        reinterpret_cast<const char*>(value->data.data()),
        strnlen(reinterpret_cast<const char*>(value->data.data()), value->data.size()));
}

}  // namespace korvant::testing
