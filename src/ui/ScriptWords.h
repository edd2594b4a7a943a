#pragma once
// The small words of the command-line edit scripts (calvex set/apply): keys
// split at dots, values trimmed, list entries found by their text.
#include <cctype>
#include <optional>
#include <string>
#include <vector>

namespace ui::script {

inline std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

inline std::string Trim(const std::string& s) {
    const std::size_t a = s.find_first_not_of(" \t");
    if (a == std::string::npos) return {};
    const std::size_t b = s.find_last_not_of(" \t");
    return s.substr(a, b - a + 1);
}

// "channels.F1.calls.3.tone1" -> {"channels", "F1", "calls", "3", "tone1"}.
inline std::vector<std::string> SplitKey(const std::string& key) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t dot = key.find('.', start);
        parts.push_back(key.substr(start, dot - start));
        if (dot == std::string::npos) break;
        start = dot + 1;
    }
    return parts;
}

// Up to three decimal digits, nothing else, within lo..hi.
inline std::optional<int> SmallNumber(const std::string& s, int lo, int hi) {
    if (s.empty() || s.size() > 3) return std::nullopt;
    int v = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + (c - '0');
    }
    if (v < lo || v > hi) return std::nullopt;
    return v;
}

// The list entry a value names: exact, then ignoring case; -1 for none.
inline int FindEntry(const std::vector<std::string>& items, const std::string& value) {
    const std::string v = Trim(value);
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i] == v) return static_cast<int>(i);
    for (std::size_t i = 0; i < items.size(); ++i)
        if (Lower(items[i]) == Lower(v)) return static_cast<int>(i);
    return -1;
}

// "\"a\", \"b\"" for a message that lists what a key takes.
inline std::string JoinItems(const std::vector<std::string>& items) {
    std::string s;
    for (const auto& i : items) s += (s.empty() ? "" : ", ") + ("\"" + i + "\"");
    return s;
}

}  // namespace ui::script
