#pragma once

#include <gtest/gtest.h>
#include <windows.h>
#include <winnetwk.h>

#include <fstream>
#include <sstream>
#include <string>

// The provider DLL as the router binds it: loaded by name, entry points by
// their undecorated names. The stand-ins answer from a scenario file and
// log their calls into files named after the test program.
class VtrelnpDll {
public:
    static HMODULE Module() {
        static HMODULE module = LoadLibraryA("VTRELNP.dll");
        return module;
    }

    template <typename F>
    static F Fn(const char* name) {
        auto address = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(Module(), name)));
        if (address == nullptr) {
            ADD_FAILURE() << name << " is not exported";
        }
        return address;
    }
};

// The stand-ins' scenario and call log for this process.
class StandIns {
public:
    static void Use(const std::string& prefix) {
        scenario() = Folder() + prefix + "-scenario.txt";
        log() = Folder() + prefix + "-calls.log";
        SetEnvironmentVariableA("KORVA_STANDIN_SCENARIO", scenario().c_str());
        SetEnvironmentVariableA("KORVA_STANDIN_LOG", log().c_str());
        DeleteFileA(log().c_str());
    }
    static void Scenario(const std::string& text) {
        std::ofstream(scenario(), std::ios::binary | std::ios::trunc) << text;
    }
    static std::string Log() {
        std::ifstream in(log(), std::ios::binary);
        std::ostringstream all;
        all << in.rdbuf();
        return all.str();
    }
    static void ClearLog() { DeleteFileA(log().c_str()); }
    static bool Logged(const std::string& line) {
        return Log().find(line + "\r\n") != std::string::npos;
    }

private:
    static std::string Folder() {
        char exe[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, exe, MAX_PATH);
        std::string dir(exe);
        return dir.substr(0, dir.find_last_of('\\') + 1);
    }
    static std::string& scenario() {
        static std::string path;
        return path;
    }
    static std::string& log() {
        static std::string path;
        return path;
    }
};

inline std::wstring DeviceTarget(const wchar_t* device) {
    wchar_t buffer[1024] = {};
    if (QueryDosDeviceW(device, buffer, 1024) == 0) {
        return std::wstring();
    }
    return buffer;
}

// Removes every definition of a drive letter this test run may have made.
inline void ForgetDevice(const wchar_t* device) {
    for (int i = 0; i < 8 && !DeviceTarget(device).empty(); ++i) {
        DefineDosDeviceW(DDD_REMOVE_DEFINITION, device, nullptr);
    }
}

inline std::string Narrow(const wchar_t* text) {
    std::string out;
    for (; text != nullptr && *text != 0; ++text) {
        out.push_back(static_cast<char>(*text));
    }
    return text == nullptr ? "<null>" : out;
}

// The product's registry values these tests set.
inline void SetProductValue(const char* name, const char* value) {
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Korva\\Vantrel\\CurrentVersion", 0, nullptr, 0,
                    KEY_WRITE, nullptr, &key, nullptr);
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                   static_cast<DWORD>(strlen(value) + 1));
    RegCloseKey(key);
}

inline std::string UserValue(const char* name) {
    char value[2048] = {};
    DWORD size = sizeof value;
    if (RegGetValueA(HKEY_CURRENT_USER, "Software\\Korva\\Vantrel\\CurrentVersion", name,
                     RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS) {
        return "<missing>";
    }
    return value;
}

inline void SetUserValue(const char* name, const char* value) {
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Korva\\Vantrel\\CurrentVersion", 0, nullptr, 0,
                    KEY_WRITE, nullptr, &key, nullptr);
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                   static_cast<DWORD>(strlen(value) + 1));
    RegCloseKey(key);
}

// LIBKORVANT's global lookup cache (nt_init creates it) outlives this
// process in the wineserver; keep its file where the cache's own tests
// expect it: HostData = <bin>\shmemhost.
inline void UseSharedCacheFolder() {
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string dir(exe);
    dir.erase(dir.find_last_of('\\'));
    const std::size_t last = dir.find_last_of('\\');
    if (last != std::string::npos && dir.compare(last + 1, 8, "missing-") == 0) {
        dir.erase(last);
    }
    SetProductValue("HostData", (dir + "\\shmemhost").c_str());
}

// The product's keys are shared by every test program of the prefix: each
// program starts and ends without them.
class ProductKeysCleanup : public ::testing::Environment {
public:
    void SetUp() override { Remove(); }
    void TearDown() override { Remove(); }
    static void Remove() {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\Korva");
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Korva");
    }
};
inline ::testing::Environment* const kProductKeysCleanup =
    ::testing::AddGlobalTestEnvironment(new ProductKeysCleanup);

inline bool KorvantHasAccounts() {
    HMODULE korvant = LoadLibraryA("LIBKORVANT.dll");
    return korvant != nullptr && GetProcAddress(korvant, "nt_init") != nullptr;
}

inline constexpr char kScenario[] =
    "view t1 BUILDHOST\n"
    "view t2 otherhost\n"
    "view ws1 otherhost workspace\n";
