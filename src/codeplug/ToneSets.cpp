#include "codeplug/ToneSets.h"

#include <algorithm>
#include <array>

#include "codeplug/CodeplugContext.h"

namespace {

constexpr ToneSetEntry kCorvane[] = {
    // group 1
    {330.5, 110}, {349.0, 111}, {368.5, 112}, {389.0, 113}, {410.8, 114},
    {433.7, 115}, {457.9, 116}, {483.5, 117}, {510.5, 118}, {539.0, 119},
    // group 2
    {569.1, 120}, {600.9, 121}, {634.5, 122}, {669.9, 123}, {707.3, 124},
    {746.8, 125}, {788.5, 126}, {832.5, 127}, {879.0, 128}, {928.1, 129},
    // group 3
    {288.5, 138}, {296.5, 108}, {304.7, 139}, {313.0, 109}, {953.7, 160},
    {979.9, 130}, {1006.9, 161}, {1034.7, 131}, {1063.2, 162}, {1092.4, 189},
    // group 4
    {321.7, 140}, {339.6, 141}, {358.6, 142}, {378.6, 143}, {399.8, 144},
    {422.1, 145}, {445.7, 146}, {470.5, 147}, {496.8, 148}, {524.6, 149},
    // group 5
    {553.9, 150}, {584.8, 151}, {617.4, 152}, {651.9, 153}, {688.3, 154},
    {726.8, 155}, {767.4, 156}, {810.2, 157}, {855.5, 158}, {903.2, 159},
    // group 6
    {1122.5, 190}, {1153.4, 191}, {1185.2, 192}, {1217.8, 193}, {1251.4, 194},
    {1285.8, 195}, {1321.2, 196}, {1357.6, 197}, {1395.0, 198}, {1433.4, 199},
    // group 10
    {1472.9, 170}, {1513.5, 171}, {1555.2, 172}, {1598.0, 173}, {1642.0, 174},
    {1687.2, 175}, {1733.7, 176}, {1781.5, 177}, {1830.5, 178}, {1881.0, 179},
    // group 11
    {1930.2, 200}, {1989.0, 201}, {2043.8, 202}, {2094.5, 203}, {2155.6, 204},
    {2212.2, 205}, {2271.7, 206}, {2334.6, 207}, {2401.0, 208}, {2468.2, 209},
};

constexpr std::array<ToneSetEntry, 31> MakeGe() {
    std::array<ToneSetEntry, 31> ge{};
    for (int n = 1; n <= 31; ++n) ge[n - 1] = {517.5 + 15.0 * (n - 1), n};
    return ge;
}
constexpr auto kGe = MakeGe();

constexpr ToneSetEntry kPlectron[] = {
    {643.0, 1},   {672.0, 2},   {701.0, 3},   {732.0, 4},   {765.0, 5},   {799.0, 6},
    {834.0, 7},   {871.0, 8},   {910.0, 9},   {950.0, 10},  {992.0, 11},  {1036.0, 12},
    {1082.0, 13}, {1130.0, 14}, {1180.0, 15}, {1232.0, 16}, {1287.0, 17}, {1344.0, 18},
    {1403.0, 19}, {1465.0, 20}, {1530.0, 21}, {1598.0, 22}, {1669.0, 23}, {1743.0, 24},
    {1820.0, 25}, {1901.0, 26}, {1985.0, 27}, {2073.0, 28}, {2164.0, 29}, {2260.0, 30},
    {2361.0, 31}, {2465.0, 32}, {2575.0, 33}, {2688.0, 34}, {2807.0, 35}, {2932.0, 36},
    {3062.0, 37},
    {307.8, 40},  {321.4, 41},  {335.6, 42},  {350.5, 43},  {366.0, 44},  {382.3, 45},
    {399.2, 46},  {416.9, 47},  {435.3, 48},  {454.6, 49},  {474.8, 50},  {495.8, 51},
    {517.8, 52},  {540.7, 53},  {564.7, 54},  {589.7, 55},  {615.8, 56},
};

template <std::size_t N>
std::array<double, N> Sorted(const ToneSetEntry (&set)[N]) {
    std::array<double, N> f{};
    for (std::size_t i = 0; i < N; ++i) f[i] = set[i].frequency;
    std::sort(f.begin(), f.end());
    return f;
}

const std::array<double, 80>& CorvaneSorted() {
    static const auto list = Sorted(kCorvane);
    return list;
}

const std::array<double, 31>& GeSorted() {
    static const auto list = [] {
        std::array<double, 31> f{};
        for (std::size_t i = 0; i < 31; ++i) f[i] = kGe[i].frequency;
        return f;
    }();
    return list;
}

const std::array<double, 54>& PlectronSorted() {
    static const auto list = Sorted(kPlectron);
    return list;
}

}  // namespace

std::span<const ToneSetEntry> CorvaneToneSet() { return kCorvane; }
std::span<const ToneSetEntry> GeToneSet() { return kGe; }
std::span<const ToneSetEntry> PlectronToneSet() { return kPlectron; }

std::span<const double> SnapList(int toneSystem) {
    switch (toneSystem) {
        case TONE_CORVANE: return CorvaneSorted();
        case TONE_GE: return GeSorted();
        case TONE_PLECTRON:
        case TONE_FAST_PLECTRON: return PlectronSorted();
        default: return {};
    }
}

double SnapTone(int toneSystem, double t) {
    if (t == 0.0) return 0.0;
    const std::span<const double> set = SnapList(toneSystem);
    if (set.empty()) return t;
    const auto it = std::find_if(set.begin(), set.end(), [t](double f) { return f >= t; });
    if (it == set.end()) return set.back();
    if (it == set.begin()) return set.front();
    const double high = *it;
    const double low = *(it - 1);
    return (high - t <= t - low) ? high : low;
}
