#pragma once
// Rules a typed receiver frequency (MHz) must pass before a channel takes it.
// Band, band split and crystal index come from CodeplugContext at the moment
// of the check.
#include <cstdint>
#include <string>
#include <string_view>

#include "editor/FieldNumber.h"

// Field text of a frequency: "" for 0, else "%.4f" (at most 8 characters).
std::string FormatFrequency(double mhz);

// Field syntax; 0 for an empty or all-blank field. On failure the page shows
// rule_text::kInvalidReceiverFrequency.
FieldNumber ParseFrequency(std::string_view text);

// Range check of the page's data exchange: 0 always passes, as does any
// frequency of a split without a range (UHF codes 3 and 7, unknown bands).
bool FrequencyInRange(double mhz);
// The message a refused value draws: the framework's range message naming
// the split's limits; "" when the split has no range.
std::string FrequencyRangeMessage();

// On the synthesizer raster of the band for the IF and injection side of the
// IF byte. A blank field (0) always passes; a band without a step takes no
// other frequency.
bool IsOnRaster(double mhz, std::uint8_t ifByte);

// Just outside the current split: below its low edge or above its high edge
// by no more than the band's margin.
bool IsOutOfBand(double mhz);

// Outcome of the whole check of a typed frequency, in the order a channel
// page runs it.
enum class FrequencyVerdict {
    Invalid,           // field syntax: kInvalidReceiverFrequency, application caption
    OutOfRange,        // FrequencyRangeMessage(), application caption
    Spur,              // kSpurFrequency under kReceiverFrequencyCaption, error icon
    OffRaster,         // kInvalidReceiverFrequency under kReceiverFrequencyCaption, error icon
    OutOfBandWarning,  // kOutOfBandWarning under kReceiverFrequencyCaption, warning; taken
    Ok,
};

struct FrequencyCheck {
    FrequencyVerdict verdict = FrequencyVerdict::Invalid;
    double value = 0.0;  // the parsed value (0 when the text is invalid)

    // The frequency goes into the channel record.
    bool Accepted() const {
        return verdict == FrequencyVerdict::Ok || verdict == FrequencyVerdict::OutOfBandWarning;
    }
};

FrequencyCheck CheckReceiverFrequency(double mhz, std::uint8_t ifByte);
FrequencyCheck CheckReceiverFrequency(std::string_view text, std::uint8_t ifByte);
