#include "editor/SpurTable.h"

#include <cmath>
#include <vector>

#include "codeplug/CodeplugContext.h"

namespace {

// A single spur has low == high; a range is every frequency strictly
// between its ends, plus the ends themselves by the tolerance.
struct Spur {
    double low;
    double high;
    constexpr Spur(double f) : low(f), high(f) {}  // NOLINT: lists read best bare
    constexpr Spur(double lo, double hi) : low(lo), high(hi) {}
};

enum Crystal { ANY, OTHER, ONE };

struct SpurList {
    int band;
    int split;
    Crystal crystal;
    std::vector<Spur> spurs;
};

// Split codes: band 3 D = 4, E = 5, F = 6, H = 8, I = 9, J = 10, K = 11, L = 12.
const SpurList kLists[] = {
    {0, 0, ANY, {35.805}},
    {0, 1, ANY, {38.405, 39.365, 39.385}},
    {0, 2, ANY, {41.165, 42.945, 42.965, 44.745, 45.085}},
    {0, 3, OTHER, {46.525, 46.545, 48.325}},
    {0, 3, ONE, {45.085, 45.09, {46.51, 46.53}, 48.31}},
    {2, 0, ANY, {143.1875, 144.975, 146.6125, 146.7625, 148.55, 148.5625, 150.3375, 150.35}},
    {2, 1, OTHER, {152.125, 152.1375, 153.92, 153.925, 155.7125, 157.5, 157.5125}},
    {2, 1, ONE, {152.0825, 152.0925, 153.8725, 153.8825, 155.8825, 157.4525, 158.9025}},
    {2, 2, ANY, {159.2875, 159.3, 161.075, 161.0875, 162.875, 164.6625, 166.45}},
    {2, 3, ANY, {167.55, 167.5625, 168.2375, 168.25, 170.025, 170.0375, 171.8125, 171.825,
                 173.6125}},
    {3, 0, OTHER, {406.0, 406.2875, 406.4, 408.075, 408.0875, 409.8625, 409.875, 411.65,
                   411.6625, 413.45}},
    {3, 0, ONE, {406.125, 406.1625, 406.4, 406.45, 406.7375, 407.15, 407.95, 408.4,
                 {408.625, 408.6875}, {409.3125, 409.375}, 409.6, 409.7375, 410.1375,
                 410.3125, 410.3875, 411.525, 412.6, 412.7625, 412.875, 413.225, 413.3125,
                 {414.35, 414.375}}},
    {3, 1, ANY, {415.2375, 417.025, 418.8125, 418.825, 420.6, 420.6125}},
    {3, 2, ANY, {422.4, 424.1875, 425.975, 425.9875, 427.7625, 427.775, 429.55, 429.5625}},
    {3, 4, ANY, {451.025, 451.0375, 452.825, 454.6125, 456.375, 456.3875, 456.4, 456.4125,
                 456.425, 456.4375, 456.45, 456.4625, 456.475, 456.4875, 456.5, 456.5125}},
    {3, 5, ANY, {454.6125, 454.625, 456.35, 456.3625, 456.375, 456.3875, 456.4, 456.4125,
                 456.425, 456.4375, 456.45, 456.4625, 456.475, 456.4875, 456.5, 456.5125,
                 456.525, 458.1875, 458.2, 459.0375, 459.9875, 460.6375, 460.675, 460.8,
                 461.775}},
    {3, 6, ANY, {463.5625, 464.0, 465.35, 466.9875, 467.1375, 467.15, 468.65, 468.925,
                 468.9375, 469.625, 469.7, 469.5}},
    {3, 8, ANY, {470.725, 472.5, 472.5125, 472.525, 473.6, 474.2875, 474.3, 474.3125,
                 476.0875, 476.1, 477.875, 477.8875}},
    {3, 9, ANY, {479.6625, 479.675, 480.0, 480.0125, 481.4625, 483.2375, 483.25, 483.2625,
                 483.7, 485.0375, 485.05, 485.9375}},
    {3, 10, ANY, {486.1875, 486.4, 486.4125, 486.425, 486.75, 486.825, 486.8375, 488.6125,
                  488.625, 489.9875, 490.0, 490.4125, 492.2, 493.9875, 494.0}},
    {3, 11, ANY, {495.775, 497.5625, 497.575, 499.2, 499.35, 499.3625, 501.1375, 501.15,
                  502.9375}},
    {3, 12, ANY, {504.725, 504.7375, 505.6, 506.5125, 506.525, 508.3, 508.3125, 510.1,
                  511.875, 511.8875}},
};

// 0.0001 MHz, inclusive; the extra nano-MHz keeps a frequency typed exactly
// 0.0001 away from failing on the rounding of the subtraction.
constexpr double kTolerance = 0.0001 + 1e-9;

bool Applies(const SpurList& list, int band, int split, int crystal) {
    if (list.band != band || list.split != split) return false;
    switch (list.crystal) {
        case ONE: return crystal == 1;
        case OTHER: return crystal != 1;
        default: return true;
    }
}

}  // namespace

bool IsSpur(double f, int band, int split, int crystal) {
    for (const SpurList& list : kLists) {
        if (!Applies(list, band, split, crystal)) continue;
        for (const Spur& s : list.spurs) {
            if (std::fabs(f - s.low) <= kTolerance || std::fabs(f - s.high) <= kTolerance) {
                return true;
            }
            if (s.low < f && f < s.high) return true;
        }
    }
    return false;
}

bool IsSpur(double f) {
    const CodeplugContext& ctx = CodeplugContext::Get();
    return IsSpur(f, ctx.band, ctx.subBand, ctx.crystal);
}
