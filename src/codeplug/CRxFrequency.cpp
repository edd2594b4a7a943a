#include "codeplug/CRxFrequency.h"

#include <cmath>

#include "codeplug/CodeplugContext.h"

namespace {

void PutLe32(CRxFrequency::Record& rec, int offset, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) rec[offset + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::uint32_t GetLe32(const CRxFrequency::Record& rec, int offset) {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(rec[offset + i]) << (8 * i);
    return v;
}

// N must fit bits 31-7 of the word as a signed value.
constexpr double kMaxN = 16777215.0;

}  // namespace

double CRxFrequency::StepKHz(int band) {
    switch (band) {
        case 0: return 5.0;
        case 2: return 2.5;
        case 3: return 12.5;
        default: return 0.0;
    }
}

double CRxFrequency::IfMHz(std::uint8_t ifSel) {
    switch (ifSel >> 5) {
        case 0: return 14.575;
        case 1: return 21.4;
        case 2: return 45.0;
        default: return 0.0;
    }
}

CRxFrequency::Record CRxFrequency::Encode(double mhz, int band, std::uint8_t ifSel) {
    Record rec{};
    const double step = StepKHz(band);
    const double s = InjectionSign(ifSel);
    if (step > 0.0 && mhz > 0.0001) {
        double n = std::trunc((mhz - 2.0 * s * IfMHz(ifSel)) * 1000.0 / step + 0.5);
        if (!(n >= -kMaxN)) n = -kMaxN;  // also NaN
        if (n > kMaxN) n = kMaxN;
        const std::int32_t ni = static_cast<std::int32_t>(n);
        PutLe32(rec, 0, static_cast<std::uint32_t>(ni) << 7);
    }
    const int d = ifSel & 0x0F;
    std::uint32_t r = 0;
    if (step > 0.0 && d > 0) r = static_cast<std::uint32_t>(std::trunc(12.8 * 250.0 / (step / d) + 0.5));
    PutLe32(rec, 4, r * 256u + 17u);
    return rec;
}

double CRxFrequency::Decode(const Record& rec, int band, std::uint8_t ifSel) {
    const std::int32_t word = static_cast<std::int32_t>(GetLe32(rec, 0));
    const std::int32_t n = word >> 7;
    const double step = StepKHz(band);
    if (n == 0 || step == 0.0) return 0.0;
    return n * step * 0.001 + 2.0 * InjectionSign(ifSel) * IfMHz(ifSel);
}

CRxFrequency::Record CRxFrequency::Encode(double mhz, std::uint8_t ifSel) {
    return Encode(mhz, CodeplugContext::Get().band, ifSel);
}

double CRxFrequency::Decode(const Record& rec, std::uint8_t ifSel) {
    return Decode(rec, CodeplugContext::Get().band, ifSel);
}
