#include "libkorvant/ValueFormats.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "libkorvant/TextUtil.h"

namespace korvant {

bool ParseGeometry(const char* text, std::int32_t out[4]) {
    if (text == nullptr) {
        return false;
    }
    const char* p = text;
    for (int i = 0; i < 4; ++i) {
        char* end = nullptr;
        errno = 0;
        const long long value = std::strtoll(p, &end, 10);
        if (end == p || errno == ERANGE || value < INT32_MIN || value > INT32_MAX) {
            return false;
        }
        out[i] = static_cast<std::int32_t>(value);
        p = end;
    }
    return true;
}

std::string FormatGeometry(std::int32_t x, std::int32_t y, std::int32_t width,
                           std::int32_t height) {
    char text[64];
    std::snprintf(text, sizeof text, "%ld %ld %ld %ld", static_cast<long>(x), static_cast<long>(y),
                  static_cast<long>(width), static_cast<long>(height));
    return text;
}

std::string MultiStringFromText(const char* text) {
    std::string result;
    std::string line;
    for (const char* p = text; p != nullptr && *p != '\0'; ++p) {
        const unsigned char c = static_cast<unsigned char>(*p);
        if (c == '\n') {
            if (!line.empty()) {
                result += line;
                result += '\0';
            }
            line.clear();
        } else if (c >= 0x20 && c < 0x7f) {
            line += static_cast<char>(c);
        }
    }
    result += '\0';
    return result;
}

std::size_t MultiStringLength(const char* strings) {
    std::size_t total = 0;
    for (const char* p = strings; p != nullptr && *p != '\0';) {
        const std::size_t n = std::strlen(p) + 1;
        total += n;
        p += n;
    }
    return total;
}

std::string AdminsValueName(const std::string& computerName) {
    char name[64];
    std::snprintf(name, sizeof name, "%s_%d", "AdminsArePrivileged",
                  static_cast<int>(StringHash(computerName.c_str())));
    return name;
}

}  // namespace korvant
