#include "fleet/IndividualCalls.h"

#include <algorithm>
#include <cmath>

#include "codeplug/CPagerData.h"
#include "codeplug/NumberText.h"
#include "editor/pages/CodingPattern.h"

namespace {

// As the tone rules compare tones of different calls: practically equal, or
// within the decoder's spacing.
bool TonesAlike(double a, double b, double spacing) {
    const double d = std::fabs(a - b);
    return d < 0.05 || d / std::max(a, b) <= spacing;
}

}  // namespace

std::string IndividualCall::Where() const {
    return channel + " call " + std::to_string(call);
}

std::string IndividualCall::What() const {
    return FormatDouble("%.1f", tone1) + " - " + FormatDouble("%.1f", tone2) + " Hz on " +
           frequency + " MHz";
}

bool IndividualCall::Alike(const IndividualCall& other) const {
    const double r = std::max(spacing, other.spacing);
    return frequency == other.frequency && TonesAlike(tone1, other.tone1, r) &&
           TonesAlike(tone2, other.tone2, r);
}

std::vector<IndividualCall> IndividualCallsOf(const CCodeplug& plug) {
    CPagerData d;
    d.Decode(plug);
    std::vector<IndividualCall> calls;
    for (Channel which : {F1, F2}) {
        if (which == F2 && !d.model.IsTwoFrequency()) continue;
        const CChannelData& ch = d.ChannelData(which);
        const CodingPattern& pattern = PatternOf(ch.GetCodingOption());
        const std::string frequency = FormatDouble("%.4f", ch.GetFrequency());
        for (int call = 0; call < 8; ++call) {
            if (!pattern.rowUsed[static_cast<std::size_t>(call)]) continue;
            const double t1 = ch.GetTone(call), t2 = ch.GetTone(call + 12);
            if (t1 == 0.0 || t2 == 0.0) continue;
            calls.push_back({which == F1 ? "F1" : "F2", call + 1, frequency, t1, t2,
                             ch.GetThreshold()});
        }
    }
    return calls;
}
