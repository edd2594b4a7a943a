#include "link/DeviceNames.h"

#include <cctype>
#include <cstdlib>

std::string Win32DeviceName(const std::string& portName) {
    if (portName.size() > 4) return "\\\\.\\" + portName;
    return portName;
}

namespace {

// The number n of a "COMn" name (any letter case), or -1.
long ComNumber(const std::string& name) {
    if (name.size() < 4 || name.size() > 12) return -1;
    for (int i = 0; i < 3; ++i) {
        if (std::toupper(static_cast<unsigned char>(name[i])) != "COM"[i]) return -1;
    }
    long n = 0;
    for (std::size_t i = 3; i < name.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(name[i]))) return -1;
        n = n * 10 + (name[i] - '0');
    }
    return n;
}

}  // namespace

std::string PosixDevicePath(const std::string& portName) {
    if (portName.empty()) return {};
    if (portName[0] == '/') return portName;
    const long n = ComNumber(portName);
    if (n == 0) return {};
    if (n > 0) {
        const std::string var = "CALVEX_COM" + std::to_string(n);
        if (const char* env = std::getenv(var.c_str()); env && *env) return env;
        return "/dev/ttyS" + std::to_string(n - 1);
    }
    return "/dev/" + portName;
}
