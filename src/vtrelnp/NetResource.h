#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "vtrelnp/Text.h"

namespace vtrelnp {

// The NETRESOURCEW record as the router lays it out (4 DWORDs, 4 string
// pointers); the Win32 layer checks that the layouts agree.
struct NetResourceRecord {
    std::uint32_t scope;
    std::uint32_t type;
    std::uint32_t displayType;
    std::uint32_t usage;
    char16_t* localName;
    char16_t* remoteName;
    char16_t* comment;
    char16_t* provider;
};

// The NETRESOURCEW that comes in from the caller.
struct NetResourceIn {
    std::uint32_t scope;
    std::uint32_t type;
    std::uint32_t displayType;
    std::uint32_t usage;
    const char16_t* localName;
    const char16_t* remoteName;
    const char16_t* comment;
    const char16_t* provider;
};

inline constexpr std::uint32_t kScopeConnected = 1;
inline constexpr std::uint32_t kScopeGlobal = 2;
inline constexpr std::uint32_t kScopeContext = 5;
inline constexpr std::uint32_t kTypeAny = 0;
inline constexpr std::uint32_t kTypeDisk = 1;
inline constexpr std::uint32_t kDisplayServer = 2;
inline constexpr std::uint32_t kDisplayShare = 3;
inline constexpr std::uint32_t kDisplayNetwork = 6;
inline constexpr std::uint32_t kDisplayContainer = 9;
inline constexpr std::uint32_t kUsageConnectable = 1;
inline constexpr std::uint32_t kUsageContainer = 2;
inline constexpr std::uint32_t kUsageProviderTop = 0x80000002u;

// One resource to hand out, its strings owned here.
struct Resource {
    std::uint32_t scope = 0;
    std::uint32_t type = kTypeAny;
    std::uint32_t displayType = 0;
    std::uint32_t usage = 0;
    std::optional<WString> localName;
    std::optional<WString> remoteName;
    std::optional<WString> comment;
    std::optional<WString> provider;
};

// Places a fixed record and the strings it points to into the caller's
// buffer: the record first, then each string with its terminator; the
// pointer of string i is written at byte offset slots[i] of the record.
// The size needed is the record plus all strings, rounded up to 4 bytes.
// When the caller's size is smaller it is set to the size needed and 234
// comes back; nothing is written then.
struct PackedString {
    std::size_t slot;
    const std::optional<WString>* text;
    char16_t** external = nullptr;  // when set, the address goes here instead
};
long PackStrings(const void* record, std::size_t recordSize,
                 const std::vector<PackedString>& strings, void* buffer, std::uint32_t* size);

// A Resource as a NETRESOURCEW, optionally followed by one more string
// (the system part of a resource-information answer) whose address is
// stored in *extraOut.
long PackResource(const Resource& resource, void* buffer, std::uint32_t* size,
                  const std::optional<WString>* extra = nullptr, char16_t** extraOut = nullptr);

}  // namespace vtrelnp
