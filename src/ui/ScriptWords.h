#pragma once
// The small words of the command-line edit scripts (calvex set/apply): keys
// split at dots, values trimmed, list entries found by their text; what a
// run reports and how it is told to judge a document.
#include <cctype>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class CCodeplug;

namespace ui::script {

// How a script run ended: every change taken, a dialog refused one (nothing
// is written), or the input itself is wrong (a usage error).
enum class Outcome { Changed, Refused, BadInput };

// A box a dialog showed while a script ran.
struct Message {
    std::string text;
    std::string caption;
    bool refusal = false;  // false: informs only (the change was taken)
};

// The field a refusal is about. `asked` is false for a field no change
// named: a stored value the dialog will not take (a codeplug read from a
// pager can hold one) stops the run, and `value` is what the field holds.
struct Refusal {
    std::string key;
    std::string value;
    bool asked = true;
};

// A field's value in a codeplug as `calvex show --json` names and spells it
// (strings as they are, null as empty, numbers in their JSON spelling);
// nothing for a key the description does not have.
using FieldValue = std::function<std::optional<std::string>(const CCodeplug&, const std::string&)>;

struct Options {
    // The values are a document's (calvex apply): what each field is to show
    // when the run is over. A change whose control already shows its value
    // (after the changes before it) is satisfied without touching it.
    bool document = false;
    // When given, a field no control changes (it follows other fields, or
    // only the engineer tools change it) is satisfied when it holds the value
    // asked for after the run, and refused otherwise.
    FieldValue fieldValue;
};

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
