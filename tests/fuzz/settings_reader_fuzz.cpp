// Fuzz target: any bytes as the settings file. The reader must take at most
// one word per value, never keep a port name with blanks or one longer than
// its limit, and what it read must survive a save and a reload unchanged.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "link/SettingsFile.h"

namespace {

void Require(bool ok) {
    if (!ok) std::abort();
}

// A stream over the fuzzer's bytes without copying them.
class MemoryBuf : public std::streambuf {
public:
    MemoryBuf(const std::uint8_t* data, std::size_t size) {
        char* p = reinterpret_cast<char*>(const_cast<std::uint8_t*>(data));
        setg(p, p, p + size);
    }
};

bool HasBlank(const std::string& s) {
    for (unsigned char c : s)
        if (std::isspace(c)) return true;
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    MemoryBuf buf(data, size);
    std::istream in(&buf);
    CommSettings read;
    ReadSettings(in, read);
    Require(!read.portName.empty() && read.portName.size() <= kMaxSettingsWord);
    Require(!HasBlank(read.portName));

    // Saved and loaded again, with either line end, the values stay.
    for (const char* end : {"\n", "\r\n"}) {
        std::istringstream again(FormatSettings(read, end));
        CommSettings back;
        back.portName = "unchanged?";
        back.delay = -12345;
        ReadSettings(again, back);
        Require(back.portName == read.portName && back.delay == read.delay);
    }

    // A file without the two lines leaves the defaults as they were.
    CommSettings defaults;
    std::istringstream empty("");
    ReadSettings(empty, defaults);
    Require(defaults.portName == "COM1" && defaults.delay == 3000);
    return 0;
}
