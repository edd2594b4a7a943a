#include "link/SettingsFile.h"

#include <cctype>
#include <climits>
#include <string>

namespace {

// The next whitespace-separated word, cut to kMaxSettingsWord characters
// (the rest of an over-long word is skipped). Empty at the end of the input.
std::string NextWord(std::istream& in) {
    std::string word;
    int c;
    while ((c = in.get()) != EOF && std::isspace(c)) {
    }
    while (c != EOF && !std::isspace(c)) {
        if (word.size() < kMaxSettingsWord) word += static_cast<char>(c);
        c = in.get();
    }
    return word;
}

// A decimal integer at the start of `word` (optional sign, digits); false
// when there is none or it does not fit.
bool ParseInt(const std::string& word, int& value) {
    std::size_t i = 0;
    bool negative = false;
    if (i < word.size() && (word[i] == '+' || word[i] == '-')) negative = word[i++] == '-';
    if (i >= word.size() || !std::isdigit(static_cast<unsigned char>(word[i]))) return false;
    long long v = 0;
    for (; i < word.size() && std::isdigit(static_cast<unsigned char>(word[i])); ++i) {
        v = v * 10 + (word[i] - '0');
        if (v > static_cast<long long>(INT_MAX) + 1) return false;
    }
    if (negative) v = -v;
    if (v > INT_MAX || v < INT_MIN) return false;
    value = static_cast<int>(v);
    return true;
}

}  // namespace

void ReadSettings(std::istream& in, CommSettings& settings) {
    if (NextWord(in) == "CommPort" && NextWord(in) == "=") {
        const std::string port = NextWord(in);
        if (!port.empty()) settings.portName = port;
    }
    if (NextWord(in) == "USBDelay" && NextWord(in) == "=") {
        int delay = 0;
        if (ParseInt(NextWord(in), delay)) settings.delay = delay;
    }
}

std::string PortNameUnstorable(const std::string& name) {
    for (const char c : name) {
        if (std::isspace(static_cast<unsigned char>(c))) {
            return "The port name \"" + name +
                   "\" contains a blank, which the settings file cannot keep. Choose a name "
                   "without blanks (for example /dev/ttyUSB0 or a link to it).";
        }
    }
    if (name.size() > kMaxSettingsWord) {
        return "The port name \"" + name + "\" is longer than " + std::to_string(kMaxSettingsWord) +
               " characters, which the settings file cannot keep.";
    }
    return {};
}

std::string FormatSettings(const CommSettings& settings, const char* lineEnd) {
    return "CommPort = " + settings.portName + lineEnd +
           "USBDelay = " + std::to_string(settings.delay);
}

const char* SettingsLineEnd() {
#ifdef _WIN32
    return "\r\n";
#else
    return "\n";
#endif
}
