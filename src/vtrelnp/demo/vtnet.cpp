// vtnet: a small "net use" for trying the provider through the router
// (mpr.dll), as any program would reach it. Under Wine the system's net.exe
// cannot map drives, so this stands in for it.
//
//   vtnet logon                 create the driver drive, as at user logon
//   vtnet use Q: \\view\t1      map a drive letter (or none) to a view
//   vtnet delete Q: [/force]    unmap it
//   vtnet list                  connected drives and started views
//   vtnet browse [container]    the browse tree, or one container of it
#include <windows.h>
#include <winnetwk.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

constexpr wchar_t kProvider[] = L"Vantrel Dynamic Views";

int Fail(const char* what, DWORD error) {
    char text[256] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                   text, sizeof text, nullptr);
    std::fprintf(stderr, "vtnet: %s failed: %lu %s", what, error, text);
    if (text[0] == '\0') {
        std::fprintf(stderr, "\n");
    }
    return 1;
}

// Lists one level; returns the error that ended it (0 when all went well).
DWORD List(DWORD scope, const wchar_t* remote, int depth, bool recurse) {
    NETRESOURCEW r{};
    r.lpRemoteName = const_cast<LPWSTR>(remote);
    r.lpProvider = const_cast<LPWSTR>(kProvider);
    HANDLE handle = nullptr;
    DWORD error = WNetOpenEnumW(scope, RESOURCETYPE_ANY, 0,
                                scope == RESOURCE_CONNECTED ? nullptr : &r, &handle);
    if (error != NO_ERROR) {
        return error;
    }
    for (;;) {
        alignas(8) BYTE buffer[16384];
        DWORD count = static_cast<DWORD>(-1);
        DWORD size = sizeof buffer;
        error = WNetEnumResourceW(handle, &count, buffer, &size);
        if (error != NO_ERROR) {
            break;
        }
        const auto* records = reinterpret_cast<const NETRESOURCEW*>(buffer);
        for (DWORD i = 0; i < count; ++i) {
            const NETRESOURCEW& rec = records[i];
            std::wprintf(L"%*s%-4ls %ls%ls%ls\n", depth * 2, L"",
                         rec.lpLocalName != nullptr ? rec.lpLocalName : L"",
                         rec.lpRemoteName != nullptr ? rec.lpRemoteName : L"",
                         rec.lpComment != nullptr ? L"  - " : L"",
                         rec.lpComment != nullptr ? rec.lpComment : L"");
            if (recurse && (rec.dwUsage & RESOURCEUSAGE_CONTAINER) != 0 &&
                rec.lpRemoteName != nullptr) {
                List(scope, rec.lpRemoteName, depth + 1, false);
            }
        }
    }
    WNetCloseEnum(handle);
    return error == ERROR_NO_MORE_ITEMS ? NO_ERROR : error;
}

std::wstring Arg(int argc, wchar_t** argv, int i) {
    return i < argc ? argv[i] : L"";
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring verb = Arg(argc, argv, 1);
    if (verb == L"logon") {
        // The router does not pass logons on under Wine; call the provider.
        HMODULE provider = GetModuleHandleA("VTRELNP.dll");
        if (provider == nullptr) {
            std::fprintf(stderr, "vtnet: the router has not loaded VTRELNP.dll; register it\n");
            return 1;
        }
        using LogonFn =
            DWORD(WINAPI*)(PLUID, LPCWSTR, LPVOID, LPCWSTR, LPVOID, LPWSTR, LPVOID, LPWSTR*);
        auto logon = reinterpret_cast<LogonFn>(
            reinterpret_cast<void*>(GetProcAddress(provider, "NPLogonNotify")));
        LPWSTR script = nullptr;
        const DWORD error = logon(nullptr, L"MSV1_0:Interactive", nullptr, nullptr, nullptr,
                                  nullptr, nullptr, &script);
        if (error != NO_ERROR) {
            return Fail("logon", error);
        }
        std::wprintf(L"logon program: %ls\n", script != nullptr ? script : L"(none)");
        LocalFree(script);
        return 0;
    }
    if (verb == L"use" && argc >= 3) {
        NETRESOURCEW r{};
        r.dwType = RESOURCETYPE_DISK;
        const bool local = argc >= 4;
        std::wstring localName = local ? Arg(argc, argv, 2) : L"";
        std::wstring remote = Arg(argc, argv, local ? 3 : 2);
        r.lpLocalName = local ? localName.data() : nullptr;
        r.lpRemoteName = remote.data();
        const DWORD error = WNetAddConnection2W(&r, nullptr, nullptr, 0);
        if (error != NO_ERROR) {
            return Fail("use", error);
        }
        std::wprintf(L"%ls is now %ls\n", local ? localName.c_str() : L"(no drive)",
                     remote.c_str());
        return 0;
    }
    if (verb == L"delete" && argc >= 3) {
        const bool force = Arg(argc, argv, 3) == L"/force";
        const DWORD error = WNetCancelConnection2W(argv[2], 0, force);
        if (error != NO_ERROR) {
            return Fail("delete", error);
        }
        std::wprintf(L"%ls deleted\n", argv[2]);
        return 0;
    }
    if (verb == L"list") {
        const DWORD error = List(RESOURCE_CONNECTED, nullptr, 0, false);
        return error == NO_ERROR ? 0 : Fail("list", error);
    }
    if (verb == L"browse") {
        const std::wstring name = Arg(argc, argv, 2);
        std::wprintf(L"%ls\n", name.empty() ? kProvider : name.c_str());
        const DWORD error =
            List(RESOURCE_GLOBALNET, name.empty() ? nullptr : name.c_str(), 1, name.empty());
        return error == NO_ERROR ? 0 : Fail("browse", error);
    }
    std::fprintf(stderr,
                 "usage: vtnet logon | use [Q:] \\\\view\\tag | delete Q: [/force] | list | "
                 "browse [container]\n");
    return 2;
}
