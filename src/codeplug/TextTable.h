#pragma once
// Lookups in the fixed text tables that are indexed by a stored value. A
// value beyond the table gives `beyond` (an empty text unless the field has
// its own placeholder), never a read outside the table.
#include <cstddef>
#include <cstdint>

namespace texts {

template <std::size_t N>
const char* Lookup(const char* const (&table)[N], long index, const char* beyond = "") {
    if (index < 0 || static_cast<std::size_t>(index) >= N) return beyond;
    return table[index];
}

inline const char* OnOff(bool on) {
    return on ? "ON" : "OFF";
}

// Bit-field helpers for one byte of a record.
inline int GetBits(std::uint8_t byte, int shift, int width) {
    return (byte >> shift) & ((1 << width) - 1);
}
inline std::uint8_t SetBits(std::uint8_t byte, int shift, int width, int value) {
    const int mask = ((1 << width) - 1) << shift;
    return static_cast<std::uint8_t>((byte & ~mask) | ((value << shift) & mask));
}
// True when `value` fits an unsigned field of `width` bits.
inline bool Fits(long value, int width) {
    return value >= 0 && value < (1L << width);
}

}  // namespace texts
