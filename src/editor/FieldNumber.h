#pragma once
// The numeric edit fields of the channel pages (receiver frequency, tones):
// their text syntax, their display text and the range message that a
// refused value draws.
#include <string>
#include <string_view>

#include "codeplug/NumberText.h"

// Only this many characters of a field's text are ever looked at or shown.
inline constexpr std::size_t kFieldChars = 8;

struct FieldNumber {
    bool ok = false;
    double value = 0.0;
};

// Reads the first kFieldChars characters: leading blanks are skipped, an
// all-blank text is 0; from the first non-blank up to the next blank only
// digits and "." are allowed, and what follows a blank is not looked at. The
// value is the decimal number at the start of that run (a second "." ends it).
FieldNumber ParseFieldNumber(std::string_view text);

// "" for exactly 0, else printf `format` of the value, cut to kFieldChars.
// The decimal point is always ".", whatever the C locale says.
std::string FormatFieldNumber(double value, const char* format);

// The framework's standard message for a number outside [lo, hi], with both
// limits printed to 15 significant digits; shown with the exclamation icon
// under the application's caption.
std::string RangeMessage(double lo, double hi);
