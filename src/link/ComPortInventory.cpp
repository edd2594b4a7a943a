#include "link/ComPortInventory.h"

#include <algorithm>
#include <cctype>
#include <map>

namespace {

constexpr int kHighestPort = 256;

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

// n of "COMn" (any letter case, blanks around allowed); 0 for anything else.
int PortNumber(const std::string& raw) {
    const std::string name = Trimmed(raw);
    if (name.size() < 4 || name.size() > 6) return 0;
    for (int i = 0; i < 3; ++i) {
        if (std::toupper(static_cast<unsigned char>(name[i])) != "COM"[i]) return 0;
    }
    if (name[3] == '0') return 0;
    int n = 0;
    for (std::size_t i = 3; i < name.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(name[i]))) return 0;
        n = n * 10 + (name[i] - '0');
    }
    return n <= kHighestPort ? n : 0;
}

// "USB Serial Port (COM5)" -> "USB Serial Port": the list shows the port
// name already.
std::string WithoutPortSuffix(std::string name, int number) {
    name = Trimmed(name);
    const std::string suffix = "(COM" + std::to_string(number) + ")";
    if (name.size() >= suffix.size()) {
        std::string tail = name.substr(name.size() - suffix.size());
        std::transform(tail.begin(), tail.end(), tail.begin(),
                       [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        if (tail == suffix) name = Trimmed(name.substr(0, name.size() - suffix.size()));
    }
    return name;
}

}  // namespace

std::vector<PresentPort> PresentComPorts(const ComPortSource& source) {
    std::map<int, std::string> found;  // number -> description
    for (const auto& d : source.InstalledPorts()) {
        const int n = PortNumber(d.port);
        if (n == 0) continue;
        std::string description = WithoutPortSuffix(d.friendlyName, n);
        if (description.empty()) description = Trimmed(d.description);
        std::string& known = found[n];
        if (known.empty()) known = description;
    }
    for (const auto& name : source.AnnouncedPorts()) {
        const int n = PortNumber(name);
        if (n != 0) found.emplace(n, std::string());
    }
    std::vector<PresentPort> ports;
    for (const auto& [n, description] : found) {
        ports.push_back(
            {"COM" + std::to_string(n), description.empty() ? "Serial port" : description});
    }
    return ports;
}
