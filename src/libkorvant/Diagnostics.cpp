#include "libkorvant/Diagnostics.h"

#include <cstdio>

namespace korvant {

std::string FormatTrace(const char* tag, const char* call, const char* file, int line,
                        unsigned long status) {
    char text[512];
    std::snprintf(text, sizeof text, "%s: Call to %s() at %s\\%d failed with status=0x%x\n",
                  tag != nullptr ? tag : "NT_TRACE", call != nullptr ? call : "?",
                  file != nullptr ? file : "?", line, static_cast<unsigned>(status));
    return text;
}

void TraceFailure(Platform& platform, const char* tag, const char* call, const char* file, int line,
                  unsigned long status) {
    platform.DebugOutput(FormatTrace(tag, call, file, line, status).c_str());
}

int MessageModuleFor(unsigned long code, int source) {
    switch (source) {
        case 0:
            return (code >= 2100 && code <= 2999) ? 1 : 0;
        case 1:
            return 1;
        case 2:
        case 3:
            return 2;
        default:
            return 0;
    }
}

std::string TrimMessageEnd(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
        text.pop_back();
    }
    return text;
}

std::string NoDescriptionText(unsigned long code) {
    char text[128];
    std::snprintf(text, sizeof text,
                  "Error %d: No additional description available for this system error.",
                  static_cast<int>(code));
    return text;
}

std::string ResourceDllPath(const std::string& modulePath, const std::string& language, int flag) {
    const std::size_t slash = modulePath.find_last_of("\\/");
    const std::string dir = slash == std::string::npos ? "." : modulePath.substr(0, slash);
    std::string name = slash == std::string::npos ? modulePath : modulePath.substr(slash + 1);
    const std::size_t dot = name.find_last_of('.');
    if (dot != std::string::npos) {
        name.erase(dot);
    }
    // Flag set: the Unicode build of the resources.
    const char* suffix = flag != 0 ? "u" : "";
    std::string path(dir.size() + name.size() + language.size() + 32, '\0');
    const int n = std::snprintf(path.data(), path.size(), "%s\\resdll\\%s_%s%s.rsc", dir.c_str(),
                                name.c_str(), language.c_str(), suffix);
    path.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return path;
}

}  // namespace korvant
