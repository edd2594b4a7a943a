#include "editor/ToneRules.h"

#include <algorithm>
#include <cmath>

#include "codeplug/CChannelData.h"
#include "codeplug/CToneCode.h"
#include "codeplug/CodeplugContext.h"

std::string FormatTone(double hz) {
    return FormatFieldNumber(hz, "%.1f");
}

FieldNumber ParseTone(std::string_view text) {
    return ParseFieldNumber(text);
}

bool ToneInRange(double hz) {
    return hz == 0.0 || (hz >= kToneMinHz && hz <= kToneMaxHz);
}

std::string ToneRangeMessage() {
    return RangeMessage(kToneMinHz, kToneMaxHz);
}

double NormalizeTone(double hz, int clockIndex) {
    return CToneCode::Encode(hz, clockIndex).Decode(clockIndex);
}

double NormalizeTone(CChannelData& record, int slot, double hz) {
    record.SetTone(slot, hz);
    return record.GetTone(slot);
}

double ToneSpacingThreshold(int bandwidth) {
    return CChannelData::Threshold(bandwidth);
}

namespace {

// Relative distance of two tones; an empty partner is as far as can be.
bool FarEnough(double a, double b, double r) {
    const double m = std::max(a, b);
    if (!(m > 0.0)) return false;  // only negative or NaN values get here
    return std::fabs(a - b) / m > r;
}

}  // namespace

bool SameCallSpacingOk(double a, double b, double r) {
    if (a < 0.01) return true;
    return FarEnough(a, b, r);
}

bool CrossCallSpacingOk(double a, double b, double r) {
    if (std::fabs(a - b) < 0.05) return true;
    return FarEnough(a, b, r);
}

const char* ToneTableCaption(int toneSystem) {
    switch (toneSystem) {
        case TONE_CORVANE:
            return "Corvane Tone Table";
        case TONE_GE:
            return "GE Tone Table";
        case TONE_PLECTRON:
        case TONE_FAST_PLECTRON:
            return "Plectron Tone Table";
        default:
            return "";
    }
}

int ToneFieldSlot(int field) {
    if (field < 0 || field >= kToneFields) return -1;
    if (field < 16) return (field % 2 == 0) ? field / 2 : 12 + field / 2;
    return 8 + (field - 16);
}

int ToneFieldPartner(int field) {
    if (field < 0 || field >= 16) return -1;
    return field ^ 1;
}

ToneSpacingOutcome ResolveToneSpacing(const ToneFieldValues& fields, int field, double normalized,
                                      double previous, double r, ToneFieldMask skip) {
    ToneSpacingOutcome out;
    out.value = normalized;
    if (field < 0 || field >= kToneFields) return out;
    const int partner = ToneFieldPartner(field);
    if (partner >= 0 && !SameCallSpacingOk(normalized, fields[partner], r)) {
        out.value = previous;
        out.refused = true;
        return out;
    }
    for (int other = 0; other < kToneFields; ++other) {
        if (other == field || other == partner || (skip >> other) & 1u) continue;
        if (!CrossCallSpacingOk(normalized, fields[other], r)) {
            out.value = fields[other];
            out.mergedWith = other;
            break;
        }
    }
    return out;
}
