#include "codeplug/NumberText.h"

#include <clocale>
#include <cstdio>
#include <cstring>

std::string FormatDouble(const char* format, double value) {
    char buf[64];
    const int n = std::snprintf(buf, sizeof buf, format, value);
    if (n < 0) return {};
    std::string text(buf, static_cast<std::size_t>(n) < sizeof buf ? n : sizeof buf - 1);
    const char* point = std::localeconv()->decimal_point;
    if (point != nullptr && std::strcmp(point, ".") != 0 && point[0] != '\0') {
        const std::size_t at = text.find(point);
        if (at != std::string::npos) {
            std::string fixed = text.substr(0, at);
            fixed += '.';
            fixed += text.substr(at + std::strlen(point));
            text = fixed;
        }
    }
    return text;
}
