#pragma once
// Rules a typed call tone (Hz) passes on a channel page: field syntax and
// range, normalisation through the pager's tone code, and tone spacing.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "editor/FieldNumber.h"

class CChannelData;

inline constexpr double kToneMinHz = 280.0;
inline constexpr double kToneMaxHz = 3400.0;

// Field text of a tone: "" for 0, else "%.1f" (at most 8 characters).
std::string FormatTone(double hz);
// Same syntax as the frequency field; on failure the page shows
// rule_text::kInvalidToneFrequency.
FieldNumber ParseTone(std::string_view text);

// 0 (empty) or within 280.0 to 3400.0 Hz.
bool ToneInRange(double hz);
std::string ToneRangeMessage();

// The tone code a typed tone gets with a clock index. A tone typed within
// the range never gets a code whose tone the field shows outside it (280
// with the second clock would show 279.9 and then be refused as a value the
// user never typed): such a code moves to its neighbour inside the range.
std::uint16_t TypedToneCode(double hz, int clockIndex);
// The tone as the pager will hold it: its typed tone code decoded again and
// snapped onto the set of the current tone system (kept as it comes back
// under "User").
double NormalizeTone(double hz, int clockIndex);
// Stores the tone into a slot of the channel record (as its typed tone code,
// with the record's clock index) and gives the slot's decoded value.
double NormalizeTone(CChannelData& record, int slot, double hz);
// Stores the tone a field shows into a slot. Under "User" the field shows
// what comes back from a tone code, and encoding that value again can give
// another code (3130.4 shows 3132.0, which encodes as 3130.5): the slot
// takes `code`, the code that produced the shown tone. Under a tone set the
// set tone itself is encoded.
void StoreShownTone(CChannelData& record, int slot, double shown, std::uint16_t code);
// The text to type into a tone field so that it shows `shown` with the
// current tone system: `shown` itself when that works (always under a tone
// set), else the nearest tenth within 4 Hz that does, else `shown`.
std::string ToneTextShowing(double shown, int clockIndex);

// Relative spacing two tones of a channel need, from the tone decoder
// bandwidth (BANDWIDTH field): 0.004 * B + 0.0035.
double ToneSpacingThreshold(int bandwidth);

// The two tones of one call: a changed tone `a` that is empty passes,
// otherwise the tones must differ by more than r of the larger one.
bool SameCallSpacingOk(double a, double b, double r);
// Tones of different calls: practically equal tones (< 0.05 Hz apart) may be
// shared; otherwise as above.
bool CrossCallSpacingOk(double a, double b, double r);

// The 20 tone fields of a channel page in page order: Call 1 Tone 1, Call 1
// Tone 2, ..., Call 8 Tone 2, Group Call 1 ... Group Call 4.
inline constexpr int kToneFields = 20;
using ToneFieldValues = std::array<double, kToneFields>;

// Caption of the tone picker of a tone system: "Corvane Tone Table", "GE Tone
// Table", "Plectron Tone Table" (also for "Fast Plectron"); "" for "User",
// which has no picker, and for unknown systems.
const char* ToneTableCaption(int toneSystem);

// Slot of the channel record behind a field: Tone 1 of call k -> k-1,
// Tone 2 of call k -> 11+k, group call g -> 7+g.
int ToneFieldSlot(int field);
// The other tone of the same call; -1 for group calls.
int ToneFieldPartner(int field);

struct ToneSpacingOutcome {
    double value = 0.0;    // the field's final value
    bool refused = false;  // too close to its partner: show kToneSpacingError
    int mergedWith = -1;   // field whose tone the changed field took over
};

// Fields left out of the comparison with other calls, one bit per field
// (bit n = field n): the copies of the changed field that the coding option
// will overwrite with its new value anyway.
using ToneFieldMask = unsigned;

// Spacing steps of a tone change: `normalized` is the field's new value,
// `previous` the value it held before the edit, `fields` the page's values.
// The fields in `skip` take the final value too: each is checked against
// the other tone of its own call with the same-call test, so that no copy
// gives a call two equal tones (refused like a typed duplicate).
ToneSpacingOutcome ResolveToneSpacing(const ToneFieldValues& fields, int field, double normalized,
                                      double previous, double r, ToneFieldMask skip = 0);
