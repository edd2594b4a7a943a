#pragma once
// The settings file: two lines, "CommPort = <port name>" and
// "USBDelay = <milliseconds>", the second without a line end.
#include <istream>
#include <string>

struct CommSettings {
    std::string portName = "COM1";
    int delay = 3000;
};

// Longest word kept from the file; longer words are cut to this length.
inline constexpr std::size_t kMaxSettingsWord = 255;

// Reads whitespace-separated words in a fixed order: "CommPort", "=", the
// port name, then "USBDelay", "=", a decimal integer. A word that does not
// match is dropped and the next test reads on from there, so each value
// whose words do not match keeps what `settings` held.
void ReadSettings(std::istream& in, CommSettings& settings);

// Why the settings file cannot keep `name` as the port ("" when it can). The
// file is read word by word, so a name with a blank would come back cut at
// the blank, and the delay after it would be lost; an over-long one would
// come back cut.
std::string PortNameUnstorable(const std::string& name);

// The file's text, with `lineEnd` after the first line only.
std::string FormatSettings(const CommSettings& settings, const char* lineEnd);

// The platform's line end: "\r\n" on Windows, "\n" elsewhere.
const char* SettingsLineEnd();
