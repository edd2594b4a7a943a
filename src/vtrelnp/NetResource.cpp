#include "vtrelnp/NetResource.h"

#include <cstring>

#include "vtrelnp/System.h"

namespace vtrelnp {

long PackStrings(const void* record, std::size_t recordSize,
                 const std::vector<PackedString>& strings, void* buffer, std::uint32_t* size) {
    if (size == nullptr) {
        return kErrInvalidAddress;
    }
    std::size_t needed = recordSize;
    for (const PackedString& s : strings) {
        if (s.text != nullptr && s.text->has_value()) {
            needed += ((*s.text)->size() + 1) * sizeof(char16_t);
        }
    }
    needed = (needed + 3) & ~static_cast<std::size_t>(3);
    if (*size < needed) {
        *size = static_cast<std::uint32_t>(needed);
        return kErrMoreData;
    }
    if (buffer == nullptr) {
        return kErrInvalidAddress;
    }
    auto* base = static_cast<unsigned char*>(buffer);
    std::memcpy(base, record, recordSize);
    std::size_t at = recordSize;
    for (const PackedString& s : strings) {
        char16_t* where = nullptr;
        if (s.text != nullptr && s.text->has_value()) {
            const WString& text = **s.text;
            where = reinterpret_cast<char16_t*>(base + at);
            std::memcpy(where, text.c_str(), (text.size() + 1) * sizeof(char16_t));
            at += (text.size() + 1) * sizeof(char16_t);
        }
        if (s.external != nullptr) {
            *s.external = where;
        } else {
            std::memcpy(base + s.slot, &where, sizeof where);
        }
    }
    return kOk;
}

long PackResource(const Resource& resource, void* buffer, std::uint32_t* size,
                  const std::optional<WString>* extra, char16_t** extraOut) {
    NetResourceRecord record{};
    record.scope = resource.scope;
    record.type = resource.type;
    record.displayType = resource.displayType;
    record.usage = resource.usage;
    std::vector<PackedString> strings = {
        {offsetof(NetResourceRecord, localName), &resource.localName},
        {offsetof(NetResourceRecord, remoteName), &resource.remoteName},
        {offsetof(NetResourceRecord, comment), &resource.comment},
        {offsetof(NetResourceRecord, provider), &resource.provider},
    };
    char16_t* extraAt = nullptr;
    if (extra != nullptr) {
        strings.push_back({0, extra, &extraAt});
    }
    const long result = PackStrings(&record, sizeof record, strings, buffer, size);
    if (result == kOk && extraOut != nullptr) {
        *extraOut = extraAt;
    }
    return result;
}

}  // namespace vtrelnp
