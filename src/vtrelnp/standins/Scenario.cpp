#include "vtrelnp/standins/Scenario.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

namespace standin {

namespace {

// The folder of the stand-in DLL this code lives in.
std::string OwnFolder() {
    HMODULE self = nullptr;
    GetModuleHandleExA(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<LPCSTR>(&OwnFolder), &self);
    char path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameA(self, path, MAX_PATH);
    std::string folder(path, n);
    const std::size_t slash = folder.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
}

std::string PathFrom(const char* variable, const char* fileName) {
    char value[MAX_PATH] = {};
    const DWORD n = GetEnvironmentVariableA(variable, value, MAX_PATH);
    if (n != 0 && n < MAX_PATH) {
        return value;
    }
    return OwnFolder() + fileName;
}

korva_status_t ParseStatus(const std::string& text) {
    if (text == "RGY_S_NOT_FOUND") return RGY_S_NOT_FOUND;
    if (text == "RGY_S_SERVER_DOWN") return RGY_S_SERVER_DOWN;
    if (text == "RGY_S_NO_MORE_ENTRIES") return RGY_S_NO_MORE_ENTRIES;
    if (text == "CMD_S_START_FAILED") return kStartFailed;
    if (text == "KS_S_INIT_FAILED") return kKsInitFailed;
    return std::strtol(text.c_str(), nullptr, 0);
}

}  // namespace

korva_status_t Scenario::FailureFor(const char* function, const std::string& argument) const {
    for (const Failure& f : failures) {
        if (f.function == function && (f.argument.empty() || f.argument == argument)) {
            return f.status;
        }
    }
    return 0;
}

rgy_uuid_t UuidOf(const std::string& tag) {
    rgy_uuid_t uuid{};
    std::uint64_t h = 1469598103934665603ull;
    for (int round = 0; round < 2; ++round) {
        for (char c : tag) {
            h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
        }
        h = (h ^ static_cast<unsigned>(round)) * 1099511628211ull;
        std::memcpy(uuid.bytes + 8 * round, &h, 8);
    }
    return uuid;
}

Scenario Load() {
    Scenario s;
    const std::string path = PathFrom("KORVA_STANDIN_SCENARIO", "korva-standin.txt");
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return s;
    }
    std::string content;
    char chunk[4096];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;) {
        content.append(chunk, n);
    }
    std::fclose(file);
    s.stamp = 1469598103934665603ull;
    for (char c : content) {
        s.stamp = (s.stamp ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    }
    std::istringstream lines(content);
    std::string line;
    while (std::getline(lines, line)) {
        if (const std::size_t hash = line.find('#'); hash != std::string::npos) {
            line.erase(hash);
        }
        std::istringstream words(line);
        std::string verb;
        if (!(words >> verb)) {
            continue;
        }
        if (verb == "view") {
            View v;
            std::string flag;
            words >> v.tag >> v.host >> flag;
            v.workspace = flag == "workspace";
            v.uuid = UuidOf(v.tag);
            if (!v.tag.empty()) {
                s.views.push_back(v);
            }
        } else if (verb == "region") {
            words >> s.region;
        } else if (verb == "server") {
            std::string state;
            words >> state;
            s.serverDown = state == "down";
        } else if (verb == "fail") {
            Failure f;
            std::string status;
            words >> f.function >> status >> f.argument;
            f.status = ParseStatus(status);
            s.failures.push_back(f);
        }
    }
    return s;
}

void Log(const std::string& line) {
    const std::string path = PathFrom("KORVA_STANDIN_LOG", "korva-standin.log");
    HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    const std::string text = line + "\r\n";
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

std::string StatusName(korva_status_t status) {
    switch (status) {
        case 0:
            return "0";
        case RGY_S_NOT_FOUND:
            return "RGY_S_NOT_FOUND";
        case RGY_S_SERVER_DOWN:
            return "RGY_S_SERVER_DOWN";
        case RGY_S_NO_MORE_ENTRIES:
            return "RGY_S_NO_MORE_ENTRIES";
        case kStartFailed:
            return "CMD_S_START_FAILED";
        case kKsInitFailed:
            return "KS_S_INIT_FAILED";
        default: {
            char text[32];
            std::snprintf(text, sizeof text, "0x%08lx", static_cast<unsigned long>(status));
            return text;
        }
    }
}

}  // namespace standin
