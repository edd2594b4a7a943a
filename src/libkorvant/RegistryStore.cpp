#include "libkorvant/RegistryStore.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include "libkorvant/TextUtil.h"
#include "libkorvant/ValueFormats.h"

namespace korvant {

namespace {

// A caller walks a list to its empty string, so a list read into its buffer
// must end with two zero bytes there (one for the empty list); the library
// itself stores lists without the final one. Adds what is missing, or 234
// when the buffer has no room for it.
long EndMultiString(char* bytes, std::uint32_t n, std::uint32_t capacity) {
    std::uint32_t missing = 2;
    if ((n == 1 && bytes[0] == '\0') || (n >= 2 && bytes[n - 1] == '\0' && bytes[n - 2] == '\0')) {
        missing = 0;
    } else if (n >= 1 && bytes[n - 1] == '\0') {
        missing = 1;
    }
    if (n > capacity || capacity - n < missing) {
        return kErrMoreData;
    }
    std::memset(bytes + n, 0, missing);
    return 0;
}

}  // namespace

long RegistryStore::CloseKey(RegKey key) {
    if (OnProfile() || key == 0) {
        return 0;
    }
    return platform_.RegClose(key);
}

long RegistryStore::ConnectRemote(const char* machine, RegKey root, RegKey* out) {
    if (OnProfile()) {
        return kErrCallNotImplemented;
    }
    if (out == nullptr) {
        return kErrInvalidParameter;
    }
    *out = 0;
    return platform_.RegConnect(machine, root, out);
}

long RegistryStore::GetHandle(RegKey root, const char* path, std::uint32_t access, RegKey* out) {
    if (path == nullptr || out == nullptr) {
        return kErrInvalidParameter;
    }
    *out = 0;
    return platform_.RegOpen(root, SkipBackslashes(path), access, out);
}

long RegistryStore::GetValue(RegKey root, const char* path, const char* name, void* buffer,
                             std::uint32_t* size, RegKey* out) {
    if (out != nullptr) {
        *out = 0;
    }
    if (OnProfile()) {
        if (buffer == nullptr) {
            return 0;
        }
        return ReadProfile(name != nullptr ? name : "", 0, buffer, size);
    }
    RegKey key = 0;
    if (const long error = GetHandle(root, path, kKeyRead, &key); error != 0) {
        return error;
    }
    if (buffer != nullptr) {
        if (size == nullptr) {
            platform_.RegClose(key);
            return kErrInvalidParameter;
        }
        const std::uint32_t capacity = *size;
        std::uint32_t type = 0;
        long error = platform_.RegQuery(key, name, &type, buffer, size);
        if (error == 0 && type == kRegMultiSz) {
            error = EndMultiString(static_cast<char*>(buffer), *size, capacity);
        }
        if (error != 0) {
            platform_.RegClose(key);
            return error;
        }
    }
    if (out != nullptr) {
        *out = key;
    } else {
        platform_.RegClose(key);
    }
    return 0;
}

long RegistryStore::CreateValue(RegKey root, const char* path, const char* name, const void* data,
                                std::uint32_t size, std::uint32_t type, RegKey* out) {
    if (out != nullptr) {
        *out = 0;
    }
    if (OnProfile()) {
        return WriteProfile(name != nullptr ? name : "", type, data, size);
    }
    if (path == nullptr || (data == nullptr && size != 0)) {
        return kErrInvalidParameter;
    }
    const std::vector<std::string> parts = SplitPath(path);
    RegKey current = root;
    bool creating = false;
    long error = 0;
    for (const std::string& part : parts) {
        RegKey next = 0;
        if (!creating) {
            error = platform_.RegOpen(current, part.c_str(), kKeyRead, &next);
            if (error == kErrFileNotFound) {
                creating = true;
            }
        }
        if (creating) {
            error = platform_.RegCreate(current, part.c_str(), kKeyWrite, &next);
        }
        if (current != root) {
            platform_.RegClose(current);
        }
        if (error != 0) {
            return error;
        }
        current = next;
    }
    if (!creating) {
        // Everything existed and was opened for reading only.
        RegKey writable = 0;
        error = platform_.RegOpen(root, SkipBackslashes(path), kKeyWrite | kKeyRead, &writable);
        if (current != root) {
            platform_.RegClose(current);
        }
        if (error != 0) {
            return error;
        }
        current = writable;
    }
    error = platform_.RegSet(current, name, type, data, size);
    if (error != 0 || out == nullptr) {
        platform_.RegClose(current);
    } else {
        *out = current;
    }
    return error;
}

long RegistryStore::DelValue(RegKey root, const char* path, const char* name) {
    if (OnProfile()) {
        return platform_.ProfileSet(kProfileSection, name != nullptr ? name : "", nullptr);
    }
    RegKey key = 0;
    if (const long error = GetHandle(root, path, kKeyWrite, &key); error != 0) {
        return error;
    }
    const long error = platform_.RegDelValue(key, name);
    platform_.RegClose(key);
    return error;
}

long RegistryStore::DelKey(RegKey root, const char* path) {
    if (path == nullptr) {
        return kErrInvalidParameter;
    }
    if (OnProfile()) {
        return 0;  // the profile has no keys
    }
    std::string full = SkipBackslashes(path);
    while (!full.empty() && full.back() == '\\') {
        full.pop_back();
    }
    if (full.empty()) {
        return kErrInvalidParameter;
    }
    const std::size_t slash = full.find_last_of('\\');
    if (slash == std::string::npos) {
        return platform_.RegDelKey(root, full.c_str());
    }
    RegKey parent = 0;
    if (const long error =
            platform_.RegOpen(root, full.substr(0, slash).c_str(), kKeyWrite | kKeyRead, &parent);
        error != 0) {
        return error;
    }
    const long error = platform_.RegDelKey(parent, full.c_str() + slash + 1);
    platform_.RegClose(parent);
    return error;
}

long RegistryStore::EnumSubkeys(RegKey key, std::uint32_t index, char* name,
                                std::uint32_t* length) {
    if (name == nullptr || length == nullptr) {
        return kErrInvalidParameter;
    }
    return platform_.RegEnumSubkey(key, index, name, length);
}

long RegistryStore::EnumValue(RegKey key, std::uint32_t index, char* name,
                              std::uint32_t* nameLength, std::uint32_t* type, void* data,
                              std::uint32_t* dataLength) {
    if (name == nullptr || nameLength == nullptr || (data != nullptr && dataLength == nullptr)) {
        return kErrInvalidParameter;
    }
    const std::uint32_t capacity = dataLength != nullptr ? *dataLength : 0;
    const long error = platform_.RegEnumVal(key, index, name, nameLength, type, data, dataLength);
    if (error == 0 && data != nullptr && *dataLength < capacity) {
        static_cast<char*>(data)[*dataLength] = '\0';
    }
    return error;
}

long RegistryStore::OpenRoot(const char* machine, RegKey root, RegKey* effective) {
    *effective = root;
    if (machine == nullptr) {
        return 0;
    }
    return platform_.RegConnect(machine, root, effective);
}

void RegistryStore::CloseRoot(const char* machine, RegKey effective) {
    if (machine != nullptr && effective != 0) {
        platform_.RegClose(effective);
    }
}

long RegistryStore::ReadTyped(RegKey root, const std::string& path, const char* name,
                              std::uint32_t expected, void* buffer, std::uint32_t* size,
                              const char* machine, const std::string& profileKey) {
    if (buffer == nullptr || size == nullptr || name == nullptr) {
        return kErrInvalidParameter;
    }
    if (OnProfile()) {
        return machine != nullptr ? kErrCallNotImplemented
                                  : ReadProfile(profileKey, expected, buffer, size);
    }
    RegKey base = 0;
    if (const long error = OpenRoot(machine, root, &base); error != 0) {
        return error;
    }
    RegKey key = 0;
    long error = GetHandle(base, path.c_str(), kKeyRead, &key);
    if (error == 0) {
        const std::uint32_t capacity = *size;
        std::uint32_t type = 0;
        error = platform_.RegQuery(key, name, &type, buffer, size);
        platform_.RegClose(key);
        const bool wantString = expected == kRegSz || expected == kRegMultiSz || expected == 0;
        // A value of the wrong type is refused as such, also when it would
        // not have fitted the buffer either.
        const bool read = error == 0 || error == kErrMoreData;
        if (read && expected == kRegDword && type != kRegDword) {
            error = kErrInvalidData;
        } else if (error == 0 && expected == kRegDword && *size != 4) {
            error = kErrInvalidData;
        } else if (read && expected == kRegSz && type != kRegSz && type != kRegExpandSz) {
            error = kErrInvalidData;
        } else if (read && expected == kRegMultiSz && type != kRegMultiSz) {
            error = kErrInvalidData;
        } else if (error == 0 && wantString && type == kRegMultiSz) {
            error = EndMultiString(static_cast<char*>(buffer), *size, capacity);
        } else if (error == 0 && wantString && (type == kRegSz || type == kRegExpandSz)) {
            char* bytes = static_cast<char*>(buffer);
            if (*size < capacity) {
                bytes[*size] = '\0';
            } else if (*size == 0 || bytes[*size - 1] != '\0') {
                error = kErrMoreData;
            }
        }
    }
    CloseRoot(machine, base);
    return error;
}

long RegistryStore::WriteTyped(RegKey root, const std::string& path, const char* name,
                               std::uint32_t type, const void* data, std::uint32_t size,
                               const char* machine, const std::string& profileKey) {
    if (OnProfile()) {
        return machine != nullptr ? kErrCallNotImplemented
                                  : WriteProfile(profileKey, type, data, size);
    }
    RegKey base = 0;
    if (const long error = OpenRoot(machine, root, &base); error != 0) {
        return error;
    }
    RegKey key = 0;
    const long error = CreateValue(base, path.c_str(), name, data, size, type, &key);
    if (error == 0) {
        platform_.RegClose(key);
    }
    CloseRoot(machine, base);
    return error;
}

long RegistryStore::ReadProfile(const std::string& key, std::uint32_t expected, void* buffer,
                                std::uint32_t* size) {
    if (buffer == nullptr || size == nullptr) {
        return kErrInvalidParameter;
    }
    std::string text = platform_.ProfileGet(kProfileSection, key.c_str());
    if (text.empty()) {
        return kErrFileNotFound;
    }
    if (expected == kRegDword || expected == kRegDwordBigEndian) {
        char* end = nullptr;
        const unsigned long value = std::strtoul(text.c_str(), &end, 0);
        if (end == text.c_str() || *end != '\0') {
            return kErrInvalidData;  // not a number: a damaged profile entry
        }
        if (*size < 4) {
            *size = 4;
            return kErrMoreData;
        }
        const std::uint32_t number = static_cast<std::uint32_t>(value);
        std::memcpy(buffer, &number, 4);
        *size = 4;
        return 0;
    }
    std::uint32_t needed = static_cast<std::uint32_t>(text.size()) + 1;
    if (expected == kRegMultiSz) {
        for (char& c : text) {
            if (c == ',') {
                c = '\0';
            }
        }
        text += '\0';
        needed += 1;
    }
    if (*size < needed) {
        *size = needed;
        return kErrMoreData;
    }
    std::memcpy(buffer, text.c_str(), needed);
    *size = needed;
    return 0;
}

long RegistryStore::WriteProfile(const std::string& key, std::uint32_t type, const void* data,
                                 std::uint32_t size) {
    std::string text;
    if (type == kRegDword || type == kRegDwordBigEndian) {
        if (data == nullptr || size < 4) {
            return kErrInvalidParameter;
        }
        std::uint32_t number = 0;
        std::memcpy(&number, data, 4);
        if (type == kRegDwordBigEndian) {
            // The data holds the number's bytes high byte first: the text is
            // the number itself.
            number = (number >> 24) | ((number >> 8) & 0xFF00u) | ((number << 8) & 0xFF0000u) |
                     (number << 24);
        }
        text = std::to_string(number);
    } else if (data != nullptr) {
        const char* bytes = static_cast<const char*>(data);
        std::size_t i = 0;
        while (i < size) {
            const std::size_t n = strnlen(bytes + i, size - i);
            if (n == 0) {
                break;
            }
            if (!text.empty()) {
                text += ',';
            }
            text.append(bytes + i, n);
            i += n + 1;
            if (type != kRegMultiSz) {
                break;
            }
        }
    }
    return platform_.ProfileSet(kProfileSection, key.c_str(), text.c_str());
}

}  // namespace korvant
