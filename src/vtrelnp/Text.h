#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vtrelnp {

// UTF-16 text as the network-provider interface passes it.
using WString = std::u16string;
using WStringView = std::u16string_view;

WString Widen(std::string_view utf8);
std::string Narrow(WStringView text);

// The caller's string up to its terminator; null gives an empty string.
WString FromCaller(const char16_t* text);

char16_t UpperAscii(char16_t c);
bool EqualNoCase(WStringView a, WStringView b);
bool StartsWithNoCase(WStringView text, WStringView prefix);
bool EndsWithNoCase(WStringView text, WStringView suffix);
bool IsDriveLetter(char16_t c);

// printf into a std::string (UTF-8).
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Splits at commas, dropping empty pieces.
std::vector<std::string> SplitCommas(const std::string& list);

}  // namespace vtrelnp
