#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace korvant {

// A security identifier: revision, 48-bit authority, up to 15 sub-authorities.
struct Sid {
    static constexpr std::size_t kMaxSubs = 15;
    static constexpr std::size_t kMaxBytes = 68;

    std::uint8_t revision = 1;
    std::uint64_t authority = 0;
    std::vector<std::uint32_t> subs;

    std::size_t Length() const { return 8 + 4 * subs.size(); }
    bool Valid() const { return revision == 1 && subs.size() <= kMaxSubs; }
    // The binary form; false when it does not fit `size` bytes.
    bool ToBuffer(void* out, std::size_t size) const;
    std::vector<std::uint8_t> Bytes() const;
    // The binary SID at p, of which at most `available` bytes may be read.
    static bool FromBytes(const void* p, std::size_t available, Sid* out);
    // "S-1-5-21-..."; authorities of 2^32 and above in hex as Windows writes them.
    std::string ToString() const;
    static bool Parse(const std::string& text, Sid* out);

    bool HasRid() const { return !subs.empty(); }
    std::uint32_t Rid() const { return subs.empty() ? 0 : subs.back(); }
    Sid Domain() const;
    // False when the SID already holds 15 sub-authorities.
    bool WithRid(std::uint32_t rid, Sid* out) const;

    bool operator==(const Sid& other) const = default;
};

Sid MakeSid(std::uint64_t authority, std::initializer_list<std::uint32_t> subs);

}  // namespace korvant
