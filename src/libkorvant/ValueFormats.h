#pragma once

#include <cstdint>
#include <string>

namespace korvant {

inline constexpr std::size_t kGeometryBufferSize = 50;

// "Geometry" values: four integers "%ld %ld %ld %ld".
bool ParseGeometry(const char* text, std::int32_t out[4]);
std::string FormatGeometry(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height);

// Lines ending in a newline become the strings of a REG_MULTI_SZ (printable
// characters only; lines left empty are dropped). The result holds every
// string with its terminator plus the final terminator.
std::string MultiStringFromText(const char* text);
// Bytes of a multi-string up to and including its last string's terminator,
// without the final empty string.
std::size_t MultiStringLength(const char* strings);

// "AdminsArePrivileged_<hash of the computer name>".
std::string AdminsValueName(const std::string& computerName);

}  // namespace korvant
