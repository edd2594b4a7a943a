#pragma once

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <random>

#include "libkorvant/ShmemLayout.h"

namespace korvant::testing {

// What a process that maps the area by its name and ignores the mutex can
// do to it: flip header fields, slots, used, total, and table headers,
// bucket heads and first entries, and put the old value back a moment later
// (always in the area's header, so that the area stays usable and the
// processes that share it keep working; not always in the tables).
class AreaIntruder {
public:
    AreaIntruder(std::uint8_t* base, std::uint64_t size, unsigned seed)
        : base_(base), size_(size), rng_(seed) {}

    void Step() {
        bool restore = true;
        const std::uint64_t at = Target(&restore);
        const std::uint32_t old = Load32(base_, at);
        Store32(base_, at, Nasty());
        ++flips;
        volatile std::uint32_t spin = static_cast<std::uint32_t>(rng_() % 4000);
        while (spin != 0) {
            spin = spin - 1;
        }
        if (restore) {
            Store32(base_, at, old);
        }
    }

    long flips = 0;

private:
    std::uint32_t Nasty() {
        static const std::uint32_t kValues[] = {
            0, 1, 7, 24, 25, 607, 608, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 0xFFFFFF00u};
        if (rng_() % 4 == 0) {
            return static_cast<std::uint32_t>(size_ - rng_() % 64);  // near the view's end
        }
        return rng_() % 3 == 0 ? static_cast<std::uint32_t>(rng_())
                               : kValues[rng_() % std::size(kValues)];
    }

    std::uint64_t Target(bool* restore) {
        const std::uint32_t inUse = std::min<std::uint32_t>(Load32(base_, area::kInUse), 24);
        const std::uint32_t slot = inUse > 0 ? static_cast<std::uint32_t>(rng_() % inUse) : 0;
        const std::uint64_t slotAt = area::kSlotTable + std::uint64_t{area::kSlotSize} * slot;
        *restore = true;
        switch (rng_() % 5) {
            case 0: {
                static const std::uint32_t kFields[] = {
                    area::kMagic,     area::kVersionOff, area::kSlotCount, area::kInUse,
                    area::kTotalSize, area::kUsed,       area::kMagic2};
                return kFields[rng_() % std::size(kFields)];
            }
            case 1:
            case 2:
                return slotAt + 16 + 4 * (rng_() % 2);  // offset or size
            default: {
                // As far as the slot says where its table is.
                const std::uint64_t offset = Load32(base_, slotAt + 16);
                const std::uint64_t field = 4 * (rng_() % 48);
                *restore = rng_() % 10 != 0;
                return offset + field + 4 <= size_ ? offset + field : area::kUsed;
            }
        }
    }

    std::uint8_t* base_;
    std::uint64_t size_;
    std::mt19937 rng_;
};

}  // namespace korvant::testing
