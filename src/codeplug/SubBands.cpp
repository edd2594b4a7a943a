#include "codeplug/SubBands.h"

namespace {

constexpr SubBand kLow[] = {
    {"A: 33 - 36.995 MHz", 33.0, 36.995},
    {"B: 37 - 40.995 MHz", 37.0, 40.995},
    {"C: 41 - 44.995 MHz", 41.0, 44.995},
    {"D: 45 - 48.995 MHz", 45.0, 48.995},
};

constexpr SubBand kVhf[] = {
    {"A: 143 - 150.9975 MHz", 143.0, 150.9975},
    {"B: 151 - 158.9975 MHz", 151.0, 158.9975},
    {"C: 159 - 166.9975 MHz", 159.0, 166.9975},
    {"D: 167 - 174.0000 MHz", 167.0, 174.0},
};

// Codes 3 and 7 are not used; there is no split named G.
// clang-format off
constexpr SubBand kUhf[] = {
    {"A: 406 - 413.9875 MHz", 406.0, 413.9875},
    {"B: 414 - 421.9875 MHz", 414.0, 421.9875},
    {"C: 422 - 430.0000 MHz", 422.0, 430.0},
    {nullptr, 0.0, 0.0},
    {"D: 450 - 457.9875 MHz", 450.0, 457.9875},
    {"E: 453 - 461.9875 MHz", 453.0, 461.9875},
    {"F: 462 - 469.9875 MHz", 462.0, 469.9875},
    {nullptr, 0.0, 0.0},
    {"H: 470 - 477.9875 MHz", 470.0, 477.9875},
    {"I: 478 - 485.9875 MHz", 478.0, 485.9875},
    {"J: 486 - 493.9875 MHz", 486.0, 493.9875},
    {"K: 494 - 503.9875 MHz", 494.0, 503.9875},
    {"L: 504 - 512.0000 MHz", 504.0, 512.0},
};
// clang-format on

}  // namespace

std::span<const SubBand> SubBandsOf(int band) {
    switch (band) {
        case 0:
            return kLow;
        case 2:
            return kVhf;
        case 3:
            return kUhf;
        default:
            return {};
    }
}

const SubBand* FindSubBand(int band, int code) {
    const std::span<const SubBand> splits = SubBandsOf(band);
    if (code < 0 || static_cast<std::size_t>(code) >= splits.size()) return nullptr;
    return splits[code].name ? &splits[code] : nullptr;
}
