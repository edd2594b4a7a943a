#pragma once

#include <gtest/gtest.h>
#include <windows.h>

// The DLL as a consumer binds it: loaded by name, entry points looked up by
// their undecorated names. No LIBKORVANT or mingw POSIX header is included.
class KorvantDll {
public:
    static HMODULE Module() {
        static HMODULE module = LoadLibraryA("LIBKORVANT.dll");
        return module;
    }

    template <typename F>
    static F Fn(const char* name) {
        HMODULE module = Module();
        if (module == nullptr) {
            ADD_FAILURE() << "LIBKORVANT.dll did not load: " << GetLastError();
            return nullptr;
        }
        auto address = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
        if (address == nullptr) {
            ADD_FAILURE() << name << " is not exported";
        }
        return address;
    }

    template <typename T>
    static T* Data(const char* name) {
        return reinterpret_cast<T*>(GetProcAddress(Module(), name));
    }
};

// Removes the product's keys so each test starts and ends clean.
inline void RemoveProductKeys() {
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\Korva");
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Korva");
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Services\\dlfs");
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Services\\VxD\\dlfs");
}

inline bool Win32sRun() {
    char value[16] = {};
    return GetEnvironmentVariableA("KORVA_FORCE_PLATFORM", value, sizeof value) > 0;
}
