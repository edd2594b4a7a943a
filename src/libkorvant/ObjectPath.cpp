#include "libkorvant/ObjectPath.h"

#include "libkorvant/TextUtil.h"

namespace korvant {

namespace {

constexpr int kMaxLinks = 8;  // substitutions of substitutions, bounded against loops

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

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
        if (platform.QueryDevice("UNC", &unc) != 0 || unc.empty()) {
            unc = "\\Device\\Mup";
        }
        *out = unc + path.substr(1);
        return 0;
    }
    if (input.size() >= 8 && AsciiCaseCompareN(input.c_str(), "\\\\?\\UNC\\", 8) == 0) {
        std::string unc;
        if (platform.QueryDevice("UNC", &unc) != 0 || unc.empty()) {
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
        if (const long error = platform.QueryDevice(device.c_str(), &target); error != 0) {
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

long ToDosPath(Platform& platform, const std::string& kernelPath, std::string* out) {
    if (out == nullptr || kernelPath.empty()) {
        return kErrInvalidParameter;
    }
    std::string path = kernelPath;
    if (StripPrefix(&path, "\\??\\") || StripPrefix(&path, "\\DosDevices\\") ||
        StripPrefix(&path, "\\GLOBAL??\\")) {
        *out = path;
        return 0;
    }
    std::size_t best = 0;
    std::string result;
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        const char device[3] = {letter, ':', '\0'};
        std::string target;
        if (platform.QueryDevice(device, &target) != 0 || target.empty() || target.size() <= best) {
            continue;
        }
        if (target.back() == '\\') {
            target.pop_back();
        }
        if (path.size() >= target.size() &&
            AsciiCaseCompareN(path.c_str(), target.c_str(), target.size()) == 0 &&
            (path.size() == target.size() || path[target.size()] == '\\')) {
            best = target.size();
            const std::string rest = path.substr(target.size());
            result = std::string(device) + (rest.empty() ? "\\" : rest);
        }
    }
    if (best == 0) {
        return kErrFileNotFound;
    }
    *out = result;
    return 0;
}

}  // namespace korvant
