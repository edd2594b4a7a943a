#include "editor/BandSplits.h"

#include <iterator>

namespace {

constexpr BandSplit kSplits[] = {
    {0, 0, "A: 33 - 36.995 MHz", 33.0, 36.995},
    {0, 1, "B: 37 - 40.995 MHz", 37.0, 40.995},
    {0, 2, "C: 41 - 44.995 MHz", 41.0, 44.995},
    {0, 3, "D: 45 - 48.995 MHz", 45.0, 48.995},
    {2, 0, "A: 143 - 150.9975 MHz", 143.0, 150.9975},
    {2, 1, "B: 151 - 158.9975 MHz", 151.0, 158.9975},
    {2, 2, "C: 159 - 166.9975 MHz", 159.0, 166.9975},
    {2, 3, "D: 167 - 174.0000 MHz", 167.0, 174.0},
    {3, 0, "A: 406 - 413.9875 MHz", 406.0, 413.9875},
    {3, 1, "B: 414 - 421.9875 MHz", 414.0, 421.9875},
    {3, 2, "C: 422 - 430.0000 MHz", 422.0, 430.0},
    {3, 4, "D: 450 - 457.9875 MHz", 450.0, 457.9875},
    {3, 5, "E: 453 - 461.9875 MHz", 453.0, 461.9875},
    {3, 6, "F: 462 - 469.9875 MHz", 462.0, 469.9875},
    {3, 8, "H: 470 - 477.9875 MHz", 470.0, 477.9875},
    {3, 9, "I: 478 - 485.9875 MHz", 478.0, 485.9875},
    {3, 10, "J: 486 - 493.9875 MHz", 486.0, 493.9875},
    {3, 11, "K: 494 - 503.9875 MHz", 494.0, 503.9875},
    {3, 12, "L: 504 - 512.0000 MHz", 504.0, 512.0},
};

}  // namespace

std::optional<BandSplit> FindBandSplit(int band, int code) {
    for (const BandSplit& s : kSplits) {
        if (s.band == band && s.code == code) return s;
    }
    return std::nullopt;
}

std::string BandSplitName(int band, int code) {
    const auto split = FindBandSplit(band, code);
    return split ? split->name : "";
}

double OutOfBandMargin(int band) {
    switch (band) {
        case 0: return 0.5;
        case 2: return 0.6;
        case 3: return 0.7;
        default: return 0.0;
    }
}

std::optional<FrequencyLimits> FrequencyLimitsOf(int band, int code) {
    const auto split = FindBandSplit(band, code);
    if (!split) return std::nullopt;
    const double m = OutOfBandMargin(band);
    return FrequencyLimits{split->low - m, split->high + m};
}
