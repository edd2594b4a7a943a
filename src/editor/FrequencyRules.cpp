#include "editor/FrequencyRules.h"

#include <cmath>
#include <cstdint>

#include "codeplug/CRxFrequency.h"
#include "codeplug/CodeplugContext.h"
#include "editor/BandSplits.h"
#include "editor/SpurTable.h"

namespace {

// The limits are sums of decimal fractions; a frequency typed exactly on a
// limit must not fail on the last bit of that sum.
constexpr double kLimitSlack = 1e-7;

}  // namespace

std::string FormatFrequency(double mhz) { return FormatFieldNumber(mhz, "%.4f"); }

FieldNumber ParseFrequency(std::string_view text) { return ParseFieldNumber(text); }

bool FrequencyInRange(double mhz) {
    if (mhz == 0.0) return true;
    const CodeplugContext& ctx = CodeplugContext::Get();
    const auto limits = FrequencyLimitsOf(ctx.band, ctx.subBand);
    if (!limits) return true;
    return mhz >= limits->low - kLimitSlack && mhz <= limits->high + kLimitSlack;
}

std::string FrequencyRangeMessage() {
    const CodeplugContext& ctx = CodeplugContext::Get();
    const auto limits = FrequencyLimitsOf(ctx.band, ctx.subBand);
    return limits ? RangeMessage(limits->low, limits->high) : std::string();
}

bool IsOnRaster(double mhz, std::uint8_t ifByte) {
    if (mhz == 0.0) return true;
    const double stepKHz = CRxFrequency::StepKHz(CodeplugContext::Get().band);
    const std::int32_t s = static_cast<std::int32_t>(std::trunc(stepKHz * 1000.0 + 0.1));
    if (s <= 0) return false;
    const double ifMHz = CRxFrequency::IfMHz(ifByte);
    const double lo = (ifByte & 0x10) ? mhz + ifMHz : mhz - ifMHz;
    const double hz = std::trunc(lo * 1000000.0 + 0.1);
    // Beyond 32 bits (or NaN) no synthesizer setting exists.
    if (!(hz >= -2147483648.0 && hz <= 2147483647.0)) return false;
    return static_cast<std::int32_t>(hz) % s == 0;
}

bool IsOutOfBand(double mhz) {
    const CodeplugContext& ctx = CodeplugContext::Get();
    const auto split = FindBandSplit(ctx.band, ctx.subBand);
    if (!split) return false;
    const double m = OutOfBandMargin(ctx.band);
    return (split->low - m - 0.00001 < mhz && mhz < split->low) ||
           (split->high < mhz && mhz < split->high + m + 0.00001);
}

FrequencyCheck CheckReceiverFrequency(double mhz, std::uint8_t ifByte) {
    FrequencyCheck check{FrequencyVerdict::Ok, mhz};
    if (!FrequencyInRange(mhz)) {
        check.verdict = FrequencyVerdict::OutOfRange;
    } else if (IsSpur(mhz)) {
        check.verdict = FrequencyVerdict::Spur;
    } else if (!IsOnRaster(mhz, ifByte)) {
        check.verdict = FrequencyVerdict::OffRaster;
    } else if (IsOutOfBand(mhz)) {
        check.verdict = FrequencyVerdict::OutOfBandWarning;
    }
    return check;
}

FrequencyCheck CheckReceiverFrequency(std::string_view text, std::uint8_t ifByte) {
    const FieldNumber parsed = ParseFrequency(text);
    if (!parsed.ok) return {FrequencyVerdict::Invalid, 0.0};
    return CheckReceiverFrequency(parsed.value, ifByte);
}
