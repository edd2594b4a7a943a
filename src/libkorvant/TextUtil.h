#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace korvant {

// strcasecmp / strncasecmp semantics in the C locale (bytes compared as
// unsigned after folding A-Z).
int AsciiCaseCompare(const char* a, const char* b);
int AsciiCaseCompareN(const char* a, const char* b, std::size_t n);

// The library's string hash: h += (h << 7) ^ c over signed bytes, 32 bits.
std::int32_t StringHash(const char* text);

// Copies text into a caller's buffer of size bytes, always terminated when
// size > 0. Returns false when the text had to be cut.
bool CopyTruncated(char* buffer, std::size_t size, const std::string& text);

// Splits at backslashes, dropping empty components.
std::vector<std::string> SplitPath(const std::string& path);

// Skips leading backslashes of a registry path.
const char* SkipBackslashes(const char* path);

// Splits a file path into its root ("C:\", "\\server\share\", "\") and the
// rest. Returns false for an empty or null path.
bool FileRootSplit(const std::string& path, std::string* root, std::string* rest);

}  // namespace korvant
