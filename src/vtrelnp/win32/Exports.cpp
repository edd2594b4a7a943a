// The network-provider entry points the router calls, DllMain and the
// message catalog export. Each entry point hands over to the portable
// provider.
// The entry points follow the router's prototypes (npapi.h, whose C++
// declarations lack C linkage, so it is not included).
#include <windows.h>
#include <winnetwk.h>

#include <cstddef>

#include "vtrelnp/MessageCatalog.h"
#include "vtrelnp/Provider.h"
#include "vtrelnp/win32/Win32Libraries.h"
#include "vtrelnp/win32/Win32System.h"

namespace vtrelnp::win32 {
namespace {

static_assert(sizeof(NETRESOURCEW) == sizeof(NetResourceRecord));
static_assert(offsetof(NETRESOURCEW, lpLocalName) == offsetof(NetResourceRecord, localName));
static_assert(offsetof(NETRESOURCEW, lpRemoteName) == offsetof(NetResourceRecord, remoteName));
static_assert(offsetof(NETRESOURCEW, lpComment) == offsetof(NetResourceRecord, comment));
static_assert(offsetof(NETRESOURCEW, lpProvider) == offsetof(NetResourceRecord, provider));
static_assert(sizeof(NETRESOURCEW) == sizeof(NetResourceIn));
static_assert(sizeof(UNIVERSAL_NAME_INFOW) == sizeof(char16_t*));
static_assert(sizeof(REMOTE_NAME_INFOW) == 3 * sizeof(char16_t*));

// Created at process attach, gone at detach.
struct Instance {
    explicit Instance(HMODULE self) : libraries(self), provider(system, libraries) {}
    Win32System system;
    Win32Libraries libraries;
    Provider provider;
};

Instance* gInstance = nullptr;

Provider& Np() {
    return gInstance->provider;
}

const NetResourceIn* In(const NETRESOURCEW* resource) {
    return reinterpret_cast<const NetResourceIn*>(resource);
}

const char16_t* In(const wchar_t* text) {
    return reinterpret_cast<const char16_t*>(text);
}

DWORD Out(long result) {
    return static_cast<DWORD>(result);
}

std::string ModuleName(HMODULE module) {
    char path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameA(module, path, MAX_PATH);
    return n != 0 && n < MAX_PATH ? std::string(path, n) : std::string("VTRELNP.dll");
}

}  // namespace
}  // namespace vtrelnp::win32

using namespace vtrelnp;
using namespace vtrelnp::win32;

extern "C" {

DWORD WINAPI NPGetCaps(DWORD index) {
    return Np().GetCaps(index);
}

DWORD WINAPI NPAddConnection(LPNETRESOURCEW resource, LPWSTR password, LPWSTR user) {
    return Out(Np().AddConnection(In(resource), In(password), In(user)));
}

DWORD WINAPI NPCancelConnection(LPWSTR name, WINBOOL force) {
    return Out(Np().CancelConnection(In(name), force != FALSE));
}

DWORD WINAPI NPGetConnection(LPWSTR localName, LPWSTR remoteName, LPDWORD size) {
    return Out(Np().GetConnection(In(localName), reinterpret_cast<char16_t*>(remoteName),
                                  reinterpret_cast<std::uint32_t*>(size)));
}

DWORD WINAPI NPOpenEnum(DWORD scope, DWORD type, DWORD usage, LPNETRESOURCEW resource,
                        LPHANDLE handle) {
    return Out(Np().OpenEnum(scope, type, usage, In(resource), handle));
}

DWORD WINAPI NPEnumResource(HANDLE handle, LPDWORD count, LPVOID buffer, LPDWORD size) {
    return Out(Np().EnumResource(handle, reinterpret_cast<std::uint32_t*>(count), buffer,
                                 reinterpret_cast<std::uint32_t*>(size)));
}

DWORD WINAPI NPCloseEnum(HANDLE handle) {
    return Out(Np().CloseEnum(handle));
}

DWORD WINAPI NPFormatNetworkName(LPWSTR remoteName, LPWSTR formatted, LPDWORD length, DWORD flags,
                                 DWORD averageCharsPerLine) {
    return Out(Np().FormatNetworkName(In(remoteName), reinterpret_cast<char16_t*>(formatted),
                                      reinterpret_cast<std::uint32_t*>(length), flags,
                                      averageCharsPerLine));
}

DWORD WINAPI NPGetResourceInformation(LPNETRESOURCEW resource, LPVOID buffer, LPDWORD size,
                                      LPWSTR* systemPart) {
    return Out(Np().GetResourceInformation(In(resource), buffer,
                                           reinterpret_cast<std::uint32_t*>(size),
                                           reinterpret_cast<char16_t**>(systemPart)));
}

DWORD WINAPI NPGetResourceParent(LPNETRESOURCEW resource, LPVOID buffer, LPDWORD size) {
    return Out(
        Np().GetResourceParent(In(resource), buffer, reinterpret_cast<std::uint32_t*>(size)));
}

DWORD WINAPI NPGetUniversalName(LPWSTR localPath, DWORD level, LPVOID buffer, LPDWORD size) {
    return Out(Np().GetUniversalName(In(localPath), level, buffer,
                                     reinterpret_cast<std::uint32_t*>(size)));
}

DWORD WINAPI NPLogonNotify(PLUID, LPCWSTR, LPVOID, LPCWSTR, LPVOID, LPWSTR, LPVOID,
                           LPWSTR* logonScript) {
    return Out(Np().LogonNotify(reinterpret_cast<char16_t**>(logonScript)));
}

DWORD WINAPI NPPasswordChangeNotify(LPCWSTR, LPVOID, LPCWSTR, LPVOID, LPWSTR, LPVOID, DWORD) {
    return Out(Np().PasswordChangeNotify());
}

const vtrelnp_msg_catalog* _vtrelnp_np_msg_table_adr(void) {
    return &MessageCatalog();
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    const std::string name = ModuleName(instance);
    switch (reason) {
        case DLL_PROCESS_ATTACH:
            gInstance = new Instance(instance);
            Np().reporter().Debug(
                Format("DllMain(%s): %s\\%d: PROCESS_ATTACH", name.c_str(), "vtrelnp", __LINE__));
            break;
        case DLL_PROCESS_DETACH:
            if (gInstance != nullptr) {
                Np().reporter().Debug(Format("DllMain(%s): %s\\%d: PROCESS_DETACH", name.c_str(),
                                             "vtrelnp", __LINE__));
                // At process exit other threads may still be inside: leave it.
                if (reserved == nullptr) {
                    delete gInstance;
                    gInstance = nullptr;
                }
            }
            break;
        default:
            if (gInstance != nullptr) {
                Np().reporter().Debug(Format("DllMain(%s): %s\\%d: Unknown Reason", name.c_str(),
                                             "vtrelnp", __LINE__));
            }
            break;
    }
    return TRUE;
}

}  // extern "C"
