#include "editor/FieldNumber.h"

#include "ui/DataExchange.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

FieldNumber ParseFieldNumber(std::string_view text) {
    text = text.substr(0, kFieldChars);
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    const std::size_t start = i;
    while (i < text.size() && !IsBlank(text[i])) {
        if (!IsDigit(text[i]) && text[i] != '.') return {false, 0.0};
        ++i;
    }
    // At most 8 digits: the digits form an exact integer and the power of
    // ten is exact too, so one division rounds exactly as strtod would.
    double digits = 0.0;
    double scale = 1.0;
    std::size_t k = start;
    for (; k < i && IsDigit(text[k]); ++k) digits = digits * 10.0 + (text[k] - '0');
    if (k < i && text[k] == '.') {
        for (++k; k < i && IsDigit(text[k]); ++k) {
            digits = digits * 10.0 + (text[k] - '0');
            scale *= 10.0;
        }
    }
    return {true, digits / scale};
}

std::string FormatFieldNumber(double value, const char* format) {
    if (value == 0.0) return {};
    std::string text = FormatDouble(format, value);
    if (text.size() > kFieldChars) text.resize(kFieldChars);
    return text;
}

std::string RangeMessage(double lo, double hi) { return ui::RangeMessage(lo, hi); }
