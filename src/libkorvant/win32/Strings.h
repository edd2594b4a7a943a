#pragma once

#include <string>

namespace korvant::win32 {

// Conversions between the ANSI code page, UTF-8 and UTF-16.
std::wstring Utf8ToWide(const std::string& text);
std::string WideToUtf8(const std::wstring& text);
std::wstring AnsiToWide(const std::string& text);
std::string WideToAnsi(const std::wstring& text);

}  // namespace korvant::win32
