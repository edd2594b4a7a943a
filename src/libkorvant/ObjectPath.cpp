#include "libkorvant/ObjectPath.h"

#include "libkorvant/TextUtil.h"

namespace korvant {

namespace {

constexpr int kMaxLinks = 8;  // substitutions of substitutions, bounded against loops

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsDriveSpec(const std::string& path) {
    return path.size() >= 2 && path[1] == ':' &&
           ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) &&
           (path.size() == 2 || IsSeparator(path[2]));
}

bool StripPrefix(std::string* path, const char* prefix) {
    const std::size_t n = std::char_traits<char>::length(prefix);
    if (path->size() >= n && AsciiCaseCompareN(path->c_str(), prefix, n) == 0) {
        path->erase(0, n);
        return true;
    }
    return false;
}

std::string Backslashes(std::string path) {
    for (char& c : path) {
        if (c == '/') {
            c = '\\';
        }
    }
    return path;
}

}  // namespace

long ToObjectPath(Platform& platform, const std::string& input, std::string* out) {
    if (out == nullptr || input.empty()) {
        return kErrInvalidParameter;
    }
    std::string path = Backslashes(input);
    if (!StripPrefix(&path, "\\\\?\\UNC\\") && !StripPrefix(&path, "\\\\?\\")) {
        StripPrefix(&path, "\\\\.\\");
    }
    if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') {
        std::string unc;
        if (platform.QueryDosDevice("UNC", &unc) != 0 || unc.empty()) {
            unc = "\\Device\\Mup";
        }
        *out = unc + path.substr(1);
        return 0;
    }
    if (input.size() >= 8 && AsciiCaseCompareN(input.c_str(), "\\\\?\\UNC\\", 8) == 0) {
        std::string unc;
        if (platform.QueryDosDevice("UNC", &unc) != 0 || unc.empty()) {
            unc = "\\Device\\Mup";
        }
        *out = unc + "\\" + path;
        return 0;
    }
    for (int link = 0; link <= kMaxLinks; ++link) {
        if (!IsDriveSpec(path)) {
            *out = path;  // already an object path (or not one we can resolve)
            return 0;
        }
        const std::string device = path.substr(0, 2);
        const std::string rest = path.substr(2);
        std::string target;
        if (const long error = platform.QueryDosDevice(device.c_str(), &target); error != 0) {
            return error;
        }
        std::string next = target;
        if (!StripPrefix(&next, "\\??\\") && !StripPrefix(&next, "\\DosDevices\\") &&
            !StripPrefix(&next, "\\GLOBAL??\\")) {
            *out = target + rest;
            return 0;
        }
        if (!IsDriveSpec(next) || AsciiCaseCompare(next.c_str(), device.c_str()) == 0) {
            *out = target + rest;  // a device naming itself: nothing more to follow
            return 0;
        }
        if (!next.empty() && IsSeparator(next.back()) && !rest.empty()) {
            next.pop_back();
        }
        path = next + rest;
    }
    return 1921;  // ERROR_CANT_RESOLVE_FILENAME: too many levels of links
}

}  // namespace korvant
