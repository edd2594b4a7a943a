#include "libkorvant/TextUtil.h"

#include <cstring>

namespace korvant {

namespace {

unsigned char Fold(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c;
}

}  // namespace

int AsciiCaseCompare(const char* a, const char* b) {
    return AsciiCaseCompareN(a, b, static_cast<std::size_t>(-1));
}

int AsciiCaseCompareN(const char* a, const char* b, std::size_t n) {
    if (a == nullptr || b == nullptr) {
        return a == b ? 0 : (a == nullptr ? -1 : 1);
    }
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char ca = Fold(static_cast<unsigned char>(a[i]));
        const unsigned char cb = Fold(static_cast<unsigned char>(b[i]));
        if (ca != cb) {
            return ca < cb ? -1 : 1;
        }
        if (ca == 0) {
            break;
        }
    }
    return 0;
}

std::int32_t StringHash(const char* text) {
    std::uint32_t h = 0;
    for (const char* p = text; p != nullptr && *p != '\0'; ++p) {
        const std::int32_t c = static_cast<signed char>(*p);
        h = h + ((h << 7) ^ static_cast<std::uint32_t>(c));
    }
    return static_cast<std::int32_t>(h);
}

bool CopyTruncated(char* buffer, std::size_t size, const std::string& text) {
    if (buffer == nullptr || size == 0) {
        return text.empty() && buffer != nullptr;
    }
    const std::size_t n = text.size() < size ? text.size() : size - 1;
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    return n == text.size();
}

std::vector<std::string> SplitPath(const std::string& path) {
    std::vector<std::string> parts;
    std::string current;
    for (char c : path) {
        if (c == '\\') {
            if (!current.empty()) {
                parts.push_back(current);
                current.clear();
            }
        } else {
            current += c;
        }
    }
    if (!current.empty()) {
        parts.push_back(current);
    }
    return parts;
}

const char* SkipBackslashes(const char* path) {
    while (path != nullptr && *path == '\\') {
        ++path;
    }
    return path;
}

bool FileRootSplit(const std::string& path, std::string* root, std::string* rest) {
    if (path.empty()) {
        return false;
    }
    auto isSep = [](char c) { return c == '\\' || c == '/'; };
    std::size_t split = 0;
    if (path.size() >= 2 && path[1] == ':') {
        split = (path.size() >= 3 && isSep(path[2])) ? 3 : 2;
    } else if (path.size() >= 2 && isSep(path[0]) && isSep(path[1])) {
        // \\server\share\ : the root ends after the separator behind the share.
        std::size_t i = 2;
        int separators = 0;
        while (i < path.size() && separators < 2) {
            if (isSep(path[i])) {
                ++separators;
            }
            ++i;
        }
        split = i;
    } else if (isSep(path[0])) {
        split = 1;
    }
    if (root != nullptr) {
        *root = path.substr(0, split);
    }
    if (rest != nullptr) {
        *rest = path.substr(split);
    }
    return true;
}

}  // namespace korvant
