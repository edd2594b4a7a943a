#include "libkorvant/Sid.h"

#include <cstdio>
#include <cstring>

namespace korvant {

bool Sid::ToBuffer(void* out, std::size_t size) const {
    if (!Valid() || out == nullptr || size < Length()) {
        return false;
    }
    const std::vector<std::uint8_t> bytes = Bytes();
    std::memcpy(out, bytes.data(), bytes.size());
    return true;
}

std::vector<std::uint8_t> Sid::Bytes() const {
    std::vector<std::uint8_t> b(Length());
    b[0] = revision;
    b[1] = static_cast<std::uint8_t>(subs.size());
    for (int i = 0; i < 6; ++i) {
        b[2 + i] = static_cast<std::uint8_t>(authority >> (8 * (5 - i)));
    }
    for (std::size_t i = 0; i < subs.size(); ++i) {
        std::memcpy(&b[8 + 4 * i], &subs[i], 4);
    }
    return b;
}

bool Sid::FromBytes(const void* p, std::size_t available, Sid* out) {
    const auto* b = static_cast<const std::uint8_t*>(p);
    if (b == nullptr || available < 8 || b[0] != 1 || b[1] > kMaxSubs ||
        available < 8 + 4 * std::size_t{b[1]}) {
        return false;
    }
    Sid sid;
    sid.revision = b[0];
    for (int i = 0; i < 6; ++i) {
        sid.authority = (sid.authority << 8) | b[2 + i];
    }
    sid.subs.resize(b[1]);
    for (std::size_t i = 0; i < sid.subs.size(); ++i) {
        std::memcpy(&sid.subs[i], b + 8 + 4 * i, 4);
    }
    *out = sid;
    return true;
}

std::string Sid::ToString() const {
    char part[32];
    if (authority < (std::uint64_t{1} << 32)) {
        std::snprintf(part, sizeof part, "S-%u-%llu", revision,
                      static_cast<unsigned long long>(authority));
    } else {
        std::snprintf(part, sizeof part, "S-%u-0x%012llX", revision,
                      static_cast<unsigned long long>(authority));
    }
    std::string text = part;
    for (std::uint32_t sub : subs) {
        std::snprintf(part, sizeof part, "-%u", sub);
        text += part;
    }
    return text;
}

bool Sid::Parse(const std::string& text, Sid* out) {
    if (text.size() < 4 || (text[0] != 'S' && text[0] != 's') || text[1] != '-') {
        return false;
    }
    std::vector<std::string> parts;
    std::size_t start = 2;
    while (true) {
        const std::size_t dash = text.find('-', start);
        parts.push_back(text.substr(start, dash - start));
        if (dash == std::string::npos) {
            break;
        }
        start = dash + 1;
    }
    if (parts.size() < 2 || parts.size() - 2 > kMaxSubs) {
        return false;
    }
    auto number = [](const std::string& s, std::uint64_t limit, std::uint64_t* value) {
        if (s.empty() || s.size() > 20) {
            return false;
        }
        int base = 10;
        std::size_t i = 0;
        if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
            base = 16;
            i = 2;
        }
        std::uint64_t v = 0;
        for (; i < s.size(); ++i) {
            int digit;
            const char c = s[i];
            if (c >= '0' && c <= '9') {
                digit = c - '0';
            } else if (base == 16 && c >= 'a' && c <= 'f') {
                digit = c - 'a' + 10;
            } else if (base == 16 && c >= 'A' && c <= 'F') {
                digit = c - 'A' + 10;
            } else {
                return false;
            }
            v = v * base + digit;
            if (v > limit) {
                return false;
            }
        }
        *value = v;
        return true;
    };
    Sid sid;
    std::uint64_t v = 0;
    if (!number(parts[0], 255, &v) || v != 1) {
        return false;
    }
    if (!number(parts[1], 0xFFFFFFFFFFFFull, &sid.authority)) {
        return false;
    }
    for (std::size_t i = 2; i < parts.size(); ++i) {
        if (!number(parts[i], 0xFFFFFFFFull, &v)) {
            return false;
        }
        sid.subs.push_back(static_cast<std::uint32_t>(v));
    }
    *out = sid;
    return true;
}

Sid Sid::Domain() const {
    Sid domain = *this;
    if (!domain.subs.empty()) {
        domain.subs.pop_back();
    }
    return domain;
}

bool Sid::WithRid(std::uint32_t rid, Sid* out) const {
    if (subs.size() >= kMaxSubs) {
        return false;
    }
    *out = *this;
    out->subs.push_back(rid);
    return true;
}

Sid MakeSid(std::uint64_t authority, std::initializer_list<std::uint32_t> subs) {
    Sid sid;
    sid.authority = authority;
    sid.subs = subs;
    return sid;
}

}  // namespace korvant
