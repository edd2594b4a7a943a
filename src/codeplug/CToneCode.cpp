#include "codeplug/CToneCode.h"

#include <cmath>

#include "codeplug/CodeplugContext.h"
#include "codeplug/ToneSets.h"

namespace {

// Truncation of a double to an int that stays defined for any input: values
// that no 7-bit field could hold are clamped first.
int TruncClamped(double v) {
    if (!(v > -1.0e6)) return -1000000;  // also NaN
    if (v > 1.0e6) return 1000000;
    return static_cast<int>(v);
}

}  // namespace

double CToneCode::ClockHz(int clockIndex) { return clockIndex == 1 ? 3578545.0 : 3579545.0; }

CToneCode CToneCode::Encode(double hz, int clockIndex) {
    if (hz == 0.0 || !(hz > 0.0)) return CToneCode();
    const double k = ClockHz(clockIndex);
    const int coarse = TruncClamped(hz * 118920.0 / k);
    const int fine = TruncClamped((29730.0 / k - coarse / (4.0 * hz)) * 119318.1667 + 0.5);
    return CToneCode(coarse, fine);
}

double CToneCode::DecodeRaw(int clockIndex) const {
    if (IsEmpty()) return 0.0;
    return ClockHz(clockIndex) * m_coarse / (118920.0 - 120.0 * m_fine) + 0.05;
}

double CToneCode::Decode(int clockIndex, int toneSystem) const {
    const double t = DecodeRaw(clockIndex);
    if (t == 0.0 || toneSystem == TONE_USER) return t;
    return SnapTone(toneSystem, t);
}

double CToneCode::Decode(int clockIndex) const {
    return Decode(clockIndex, CodeplugContext::Get().toneSystem);
}
