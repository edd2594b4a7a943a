// What a program sees through the router after the installer ran: the
// providers it knows by network type, the provider files it loaded, and a
// drive mapped through Vantrel's provider. One line a fact, for the
// installer tests to compare.
//
//   router_probe <drive> <remote name>
#include <windows.h>
#include <winnetwk.h>

#include <cstdio>
#include <string>

namespace {

void Provider(DWORD type) {
    wchar_t name[128] = {};
    DWORD size = 128;
    const DWORD error = WNetGetProviderNameW(type, name, &size);
    std::printf("provider 0x%08lx %ls\n", type, error == NO_ERROR ? name : L"<none>");
}

void Module(const char* name) {
    char path[MAX_PATH] = "<not loaded>";
    if (HMODULE module = GetModuleHandleA(name); module != nullptr) {
        GetModuleFileNameA(module, path, MAX_PATH);
    }
    std::printf("module %s %s\n", name, path);
}

// The router does not pass logons on under Wine: the provider's own entry
// creates the driver drive that view drives are substituted on.
void Logon() {
    using LogonFn = DWORD(WINAPI*)(PLUID, LPCWSTR, LPVOID, LPCWSTR, LPVOID, LPWSTR, LPVOID,
                                   LPWSTR*);
    HMODULE provider = GetModuleHandleA("VTRELNP.dll");
    auto logon = provider == nullptr ? nullptr
                                     : reinterpret_cast<LogonFn>(reinterpret_cast<void*>(
                                           GetProcAddress(provider, "NPLogonNotify")));
    LPWSTR script = nullptr;
    const DWORD error = logon == nullptr
                            ? ERROR_PROC_NOT_FOUND
                            : logon(nullptr, L"MSV1_0:Interactive", nullptr, nullptr, nullptr,
                                    nullptr, nullptr, &script);
    LocalFree(script);
    std::printf("logon %lu\n", error);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: router_probe <drive> <remote name>\n");
        return 2;
    }
    Provider(0x00160000);
    Provider(0x00FE0000);
    Logon();  // the provider binds LIBKORVANT here
    Module("VTRELNP.dll");
    Module("LIBKORVANT.dll");

    std::wstring local = argv[1];
    std::wstring remote = argv[2];
    NETRESOURCEW r{};
    r.dwType = RESOURCETYPE_DISK;
    r.lpLocalName = local.data();
    r.lpRemoteName = remote.data();
    std::printf("use %lu\n", WNetAddConnection2W(&r, nullptr, nullptr, 0));
    wchar_t target[512] = {};
    if (QueryDosDeviceW(local.c_str(), target, 512) == 0) {
        target[0] = 0;
    }
    std::printf("device %ls\n", target);
    std::printf("cancel %lu\n", WNetCancelConnection2W(local.c_str(), 0, TRUE));
    return 0;
}
