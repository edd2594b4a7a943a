#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <string>

namespace korvant {

static_assert(std::endian::native == std::endian::little, "the area layout is little-endian");

// Reads and writes of the shared area. Offsets come from memory other
// processes write, so nothing is ever accessed through a cast pointer. A
// read is volatile: the compiler may not fetch a field again where the code
// checked the value it read once (another process may have changed it).
inline std::uint32_t Load32(const std::uint8_t* base, std::uint64_t offset) {
    const volatile std::uint8_t* p = base + offset;
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
           std::uint32_t{p[3]} << 24;
}
inline void Store32(std::uint8_t* base, std::uint64_t offset, std::uint32_t v) {
    std::memcpy(base + offset, &v, 4);
}
inline bool HasMagic(const std::uint8_t* base, std::uint64_t offset, const char* magic) {
    return std::memcmp(base + offset, magic, 4) == 0;
}

// Area header.
namespace area {
inline constexpr std::uint32_t kHeaderSize = 608;
inline constexpr std::uint32_t kVersion = 3;
inline constexpr std::uint32_t kSlots = 24;
inline constexpr std::uint32_t kSlotSize = 24;
inline constexpr std::uint32_t kMagic = 0;
inline constexpr std::uint32_t kVersionOff = 4;
inline constexpr std::uint32_t kUpdateTime = 8;
inline constexpr std::uint32_t kSlotCount = 12;
inline constexpr std::uint32_t kInUse = 16;
inline constexpr std::uint32_t kSlotTable = 20;
inline constexpr std::uint32_t kTotalSize = 596;
inline constexpr std::uint32_t kUsed = 600;
inline constexpr std::uint32_t kMagic2 = 604;
inline constexpr const char* kMagicText = "VTsh";
inline constexpr const char* kMagic2Text = "mem2";
inline constexpr std::uint32_t kDefaultSize = 0x180000;
inline constexpr std::uint32_t kMaxSize = 0x3FFFFFFF;
}  // namespace area

// Hash table sub-area.
namespace table {
inline constexpr std::uint32_t kMagic = 0;
inline constexpr std::uint32_t kCapacity = 4;
inline constexpr std::uint32_t kBuckets = 8;
inline constexpr std::uint32_t kEntrySize = 12;
inline constexpr std::uint32_t kKeySize = 16;
inline constexpr std::uint32_t kDataSize = 20;
inline constexpr std::uint32_t kFreeHead = 24;
inline constexpr std::uint32_t kName = 28;
inline constexpr std::uint32_t kNameSize = 31;
inline constexpr std::uint32_t kLookups = 60;
inline constexpr std::uint32_t kHits = 64;
inline constexpr std::uint32_t kEnters = 68;
inline constexpr std::uint32_t kReplaces = 72;
inline constexpr std::uint32_t kDeletes = 76;
inline constexpr std::uint32_t kConsistent = 80;
inline constexpr std::uint32_t kGlobal = 84;
inline constexpr std::uint32_t kMagic2 = 88;
inline constexpr std::uint32_t kBucketArray = 92;
inline constexpr const char* kMagicText = "Phas";
inline constexpr const char* kMagic2Text = "hTbl";
inline constexpr std::uint32_t kNone = 0xFFFFFFFFu;
}  // namespace table

// A 16-byte identifier in the layout Windows gives a GUID.
struct Uuid {
    std::uint8_t bytes[16] = {};
    bool operator==(const Uuid&) const = default;
};

// "{C7534560-08F7-11D1-BE5D-00609730D47D}", braces optional.
bool ParseUuid(const char* text, Uuid* out);
// "{C7534560-08F7-11D1-BE5D-00609730D47D}".
std::string FormatUuid(const Uuid& id);
// The slot line form "%08X.%04X%04X.%02X%02X.%02X:%02X:%02X:%02X:%02X:%02X".
std::string FormatUuidDotted(const Uuid& id);

}  // namespace korvant
