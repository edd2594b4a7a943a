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

std::uint16_t TypedToneCode(double hz, int clockIndex) {
    const CToneCode code = CToneCode::Encode(hz, clockIndex);
    if (code.IsEmpty() || !ToneInRange(hz)) return code.Code14();
    const auto shown = [clockIndex](const CToneCode& c) {
        return ParseTone(FormatTone(c.Decode(clockIndex))).value;
    };
    const auto inRange = [&](const CToneCode& c) { return ToneInRange(shown(c)); };
    if (inRange(code)) return code.Code14();
    // Codes lie at most 3.5 Hz apart within the range: small steps of the
    // typed tone toward the range reach the neighbouring code.
    const double toward = shown(code) < kToneMinHz ? 1.0 : -1.0;
    constexpr double kStep = 0.05, kReach = 8.0;
    for (double d = kStep; d <= kReach; d += kStep) {
        const CToneCode next = CToneCode::Encode(hz + toward * d, clockIndex);
        if (inRange(next)) return next.Code14();
    }
    return code.Code14();
}

double NormalizeTone(double hz, int clockIndex) {
    return CToneCode::FromCode(TypedToneCode(hz, clockIndex)).Decode(clockIndex);
}

double NormalizeTone(CChannelData& record, int slot, double hz) {
    record.SetSlotCode(slot, TypedToneCode(hz, record.GetClockIndex()));
    return record.GetTone(slot);
}

void StoreShownTone(CChannelData& record, int slot, double shown, std::uint16_t code) {
    if (shown != 0.0 && CodeplugContext::Get().toneSystem == TONE_USER)
        record.SetSlotCode(slot, code);
    else
        record.SetTone(slot, shown);
}

std::string ToneTextShowing(double shown, int clockIndex) {
    const std::string want = FormatTone(shown);
    // Tenths out from the tone itself, nearest first.
    for (int k = 0; k <= 40; ++k) {
        for (int sign : {-1, 1}) {
            if (k == 0 && sign > 0) continue;
            const std::string typed = FormatTone(shown + sign * k * 0.1);
            const FieldNumber n = ParseTone(typed);
            if (n.ok && ToneInRange(n.value) &&
                FormatTone(NormalizeTone(n.value, clockIndex)) == want)
                return typed;
        }
    }
    return want;
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
    for (int copy = 0; copy < kToneFields; ++copy) {
        if (!((skip >> copy) & 1u)) continue;
        const int own = ToneFieldPartner(copy);
        if (own < 0 || own == field || (skip >> own) & 1u) continue;
        if (!SameCallSpacingOk(out.value, fields[own], r)) {
            out.value = previous;
            out.refused = true;
            out.mergedWith = -1;
            return out;
        }
    }
    return out;
}
