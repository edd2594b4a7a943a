#include <windows.h>

#include <atomic>
#include <cstring>
#include <string>

#include "libkorvant/wine/KorvantDll.h"

namespace {

using ErrorStringFn = char* (*)(DWORD, int, char*, DWORD);
using CvtFn = DWORD (*)(const char*, char*, DWORD);
using CvtWFn = DWORD (*)(const wchar_t*, wchar_t*, DWORD);
using VoidFn = void (*)();

TEST(Errors, Win32ToErrno) {
    auto map = KorvantDll::Fn<int (*)(DWORD)>("nt_win32error2errno");
    EXPECT_EQ(map(0), 0);
    EXPECT_EQ(map(5), 13);
    EXPECT_EQ(map(20), 13);
    EXPECT_EQ(map(190), 8);
    EXPECT_EQ(map(1000), 22);
    EXPECT_EQ(map(183), 17);
}

TEST(Errors, TextsFromSystemNetworkLibraryOrFallback) {
    auto text = KorvantDll::Fn<ErrorStringFn>("nt_get_error_string");
    char buffer[512];
    ASSERT_EQ(text(5, 0, buffer, sizeof buffer), buffer);
    const std::string denied = buffer;
    EXPECT_FALSE(denied.empty());
    EXPECT_NE(denied.back(), '\n');
    EXPECT_NE(denied.back(), '\r');

    // 2102 comes from the network message library when the system has one.
    std::string expected = "Error 2102: No additional description available for this system error.";
    if (HMODULE netmsg = LoadLibraryExA("netmsg.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE)) {
        char* message = nullptr;
        if (FormatMessageA(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_IGNORE_INSERTS |
                               FORMAT_MESSAGE_ALLOCATE_BUFFER,
                           netmsg, 2102, 0, reinterpret_cast<char*>(&message), 0, nullptr) > 0) {
            expected = message;
            while (!expected.empty() && (expected.back() == '\n' || expected.back() == '\r')) {
                expected.pop_back();
            }
            LocalFree(message);
        }
    }
    EXPECT_STREQ(text(2102, 0, buffer, sizeof buffer), expected.c_str());

    EXPECT_STREQ(text(0x2FFFFFF0, 0, buffer, sizeof buffer),
                 "Error 805306352: No additional description available for this system error.");
    char small[6];
    std::memset(small, 'Z', sizeof small);
    text(0x2FFFFFF0, 0, small, sizeof small);
    EXPECT_STREQ(small, "Error");
    EXPECT_EQ(text(5, 0, nullptr, 10), nullptr);
}

TEST(Platform, WordAndLock) {
    const DWORD word = KorvantDll::Fn<DWORD (*)()>("nt_osinfo")();
    EXPECT_NE(word & 0x700, 0u);
    EXPECT_EQ(KorvantDll::Fn<int (*)()>("nt_win32_platform")(), 2);
    EXPECT_EQ(KorvantDll::Fn<int (*)()>("nt_ob_has_global_prefix")(), 1);

    auto enter = KorvantDll::Fn<VoidFn>("nt_enter_critical_section");
    auto leave = KorvantDll::Fn<VoidFn>("nt_leave_critical_section");
    enter();
    enter();  // recursive for the owner
    static std::atomic<bool> inside{false};
    static VoidFn enterFn, leaveFn;
    enterFn = enter;
    leaveFn = leave;
    HANDLE thread = CreateThread(
        nullptr, 0,
        [](void*) -> DWORD {
            enterFn();
            inside = true;
            leaveFn();
            return 0;
        },
        nullptr, 0, nullptr);
    Sleep(100);
    EXPECT_FALSE(inside) << "another thread must wait";
    leave();
    Sleep(50);
    EXPECT_FALSE(inside) << "still held once";
    leave();
    WaitForSingleObject(thread, 5000);
    CloseHandle(thread);
    EXPECT_TRUE(inside);
}

// Finds a drive letter nobody uses.
std::string FreeDrive(char after) {
    const DWORD used = GetLogicalDrives();
    for (char c = after; c <= 'Y'; ++c) {
        char name[3] = {c, ':', '\0'};
        char target[256];
        if (!(used & (1u << (c - 'A'))) && QueryDosDeviceA(name, target, sizeof target) == 0) {
            return name;
        }
    }
    return std::string();
}

TEST(ObjectPaths, DriveLettersThroughTheDeviceTable) {
    const std::string driver = FreeDrive('K');
    ASSERT_FALSE(driver.empty());
    ASSERT_TRUE(DefineDosDeviceA(DDD_RAW_TARGET_PATH, driver.c_str(), "\\Device\\dlfs"));
    const std::string view = FreeDrive(driver[0] + 1);
    ASSERT_FALSE(view.empty());
    const std::string substTarget = driver + "\\t1";
    ASSERT_TRUE(DefineDosDeviceA(0, view.c_str(), substTarget.c_str()));

    auto cvt = KorvantDll::Fn<CvtFn>("ntx_cvt_to_ob_pname");
    auto cvtW = KorvantDll::Fn<CvtWFn>("ntx_cvt_to_ob_pname_w");
    char out[520];
    EXPECT_EQ(cvt((driver + "\\").c_str(), out, sizeof out), 0u);
    EXPECT_STREQ(out, "\\Device\\dlfs\\");
    EXPECT_EQ(cvt((view + "\\src\\a.c").c_str(), out, sizeof out), 0u);
    EXPECT_STREQ(out, "\\Device\\dlfs\\t1\\src\\a.c");
    EXPECT_EQ(cvt((driver + "\\").c_str(), out, 5), DWORD{ERROR_INSUFFICIENT_BUFFER});
    wchar_t wide[520];
    const std::wstring wideDrive(view.begin(), view.end());
    EXPECT_EQ(cvtW((wideDrive + L"\\").c_str(), wide, 520), 0u);
    EXPECT_STREQ(wide, L"\\Device\\dlfs\\t1\\");
    EXPECT_EQ(cvt(nullptr, out, sizeof out), DWORD{ERROR_INVALID_PARAMETER});

    auto back =
        KorvantDll::Fn<int (*)(const char*, char*, DWORD)>("nt_kernel_to_dosdevice_user_path");
    EXPECT_EQ(back("\\Device\\dlfs\\t1\\f", out, sizeof out), 0);
    EXPECT_EQ(std::string(out), driver + "\\t1\\f");
    EXPECT_EQ(back("\\??\\C:\\x", out, sizeof out), 0);
    EXPECT_STREQ(out, "C:\\x");

    DefineDosDeviceA(DDD_REMOVE_DEFINITION | DDD_EXACT_MATCH_ON_REMOVE, view.c_str(),
                     substTarget.c_str());
    DefineDosDeviceA(DDD_RAW_TARGET_PATH | DDD_REMOVE_DEFINITION | DDD_EXACT_MATCH_ON_REMOVE,
                     driver.c_str(), "\\Device\\dlfs");
}

TEST(FileUtilities, AttributesRootsAndNames) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string file =
        std::string(temp) + "korvant_attr_" + std::to_string(GetCurrentProcessId()) + ".txt";
    CloseHandle(CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    auto getReadonly = KorvantDll::Fn<int (*)(const char*)>("nt_get_file_readonly");
    EXPECT_EQ(getReadonly(file.c_str()), 0);
    EXPECT_EQ(KorvantDll::Fn<int (*)(const char*)>("nt_set_file_readonly")(file.c_str()), 0);
    EXPECT_EQ(getReadonly(file.c_str()), 1);
    EXPECT_EQ(KorvantDll::Fn<int (*)(const char*)>("nt_set_file_hidden")(file.c_str()), 0);
    EXPECT_TRUE(GetFileAttributesA(file.c_str()) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(KorvantDll::Fn<int (*)(const char*)>("nt_unset_file_readonly")(file.c_str()), 0);
    EXPECT_EQ(getReadonly(file.c_str()), 0);
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(file.c_str());
    EXPECT_EQ(getReadonly(file.c_str()), -1);

    auto split =
        KorvantDll::Fn<int (*)(const char*, char*, DWORD, const char**)>("nt_file_root_split");
    char root[16];
    const char* rest = nullptr;
    const char* path = "\\\\server\\share\\dir\\f";
    EXPECT_EQ(split(path, root, sizeof root, &rest), 0);
    EXPECT_STREQ(root, "\\\\server\\share\\");
    EXPECT_STREQ(rest, "dir\\f");
    EXPECT_EQ(split(path, root, 4, &rest), ERROR_INSUFFICIENT_BUFFER);

    wchar_t wide[8];
    EXPECT_EQ(
        KorvantDll::Fn<int (*)(const char*, wchar_t*, DWORD)>("nt_sz_to_unicode")("view", wide, 8),
        4);
    EXPECT_STREQ(wide, L"view");
    EXPECT_EQ(KorvantDll::Fn<UINT (*)(const char*)>("nt_get_drive_type")("C:\\"),
              UINT{DRIVE_FIXED});
    char fsType[32] = {};
    EXPECT_EQ(KorvantDll::Fn<int (*)(const char*, char*, DWORD)>("nt_get_fs_type")(
                  "C:\\windows", fsType, sizeof fsType),
              0);
    EXPECT_NE(fsType[0], '\0');
    EXPECT_EQ(KorvantDll::Fn<int (*)(const char*)>("nt_is_gui_app")(nullptr), 0);
    char name[64];
    EXPECT_EQ(KorvantDll::Fn<int (*)(const char*, char*, DWORD)>("nt_find_vb_resource_app_name")(
                  nullptr, name, sizeof name),
              0);
    EXPECT_STREQ(name, "korvant_dll_tests");
}

TEST(FileUtilities, SharePathFromTheServerTable) {
    constexpr const char* kShares = "SYSTEM\\CurrentControlSet\\Services\\LanmanServer\\Shares";
    const char entry[] = "CSCFlags=0\0MaxUses=4294967295\0Path=C:\\export\\src\0Type=0\0";
    ASSERT_EQ(
        RegSetKeyValueA(HKEY_LOCAL_MACHINE, kShares, "korvsrc", REG_MULTI_SZ, entry, sizeof entry),
        0);
    auto share = KorvantDll::Fn<int (*)(const char*, char*, DWORD)>("nt_get_local_sharename_path");
    char path[64];
    EXPECT_EQ(share("korvsrc", path, sizeof path), 0);
    EXPECT_STREQ(path, "C:\\export\\src");
    EXPECT_EQ(share("korvsrc", path, 4), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(share("nosuchshare", path, sizeof path), 2310);
    RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kShares, "korvsrc");
}

TEST(Processes, ParentOfAChildIsThisProcess) {
    char command[] = "korvant_getpass_probe.exe";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                               nullptr, &startup, &process));
    EXPECT_EQ(KorvantDll::Fn<DWORD (*)(DWORD)>("ntx_get_ppid")(process.dwProcessId),
              GetCurrentProcessId());
    TerminateProcess(process.hProcess, 0);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    EXPECT_EQ(
        KorvantDll::Fn<int (*)(const char*, DWORD)>("ntx_ping_host")("no-such-host.invalid", 200),
        0);
    unsigned char macs[8][6];
    EXPECT_GE(KorvantDll::Fn<int (*)(unsigned char(*)[6], int)>("ntx_my_mac_addresses")(macs, 8),
              0);
}

// getpass in a child whose standard input is a pipe: no echo, cut to 8.
std::string RunGetpass(const std::string& typed, int calls = 1) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE inRead, inWrite, outRead, outWrite;
    CreatePipe(&inRead, &inWrite, &inherit, 0);
    CreatePipe(&outRead, &outWrite, &inherit, 0);
    SetHandleInformation(inWrite, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = inRead;
    startup.hStdOutput = outWrite;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    std::string command = "korvant_getpass_probe.exe " + std::to_string(calls);
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return "<no child>";
    }
    CloseHandle(inRead);
    CloseHandle(outWrite);
    DWORD written = 0;
    WriteFile(inWrite, typed.data(), static_cast<DWORD>(typed.size()), &written, nullptr);
    CloseHandle(inWrite);
    std::string output;
    char buffer[256];
    DWORD got = 0;
    while (ReadFile(outRead, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        output.append(buffer, got);
    }
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(outRead);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    std::string plain;
    for (char c : output) {
        if (c != '\r') {
            plain += c;
        }
    }
    return plain;
}

TEST(Getpass, ReadsWithoutEchoAndCutsToEight) {
    EXPECT_EQ(RunGetpass("abcdefghijkl\r\nrest"), "Password: \n[abcdefgh]\n");
    EXPECT_EQ(RunGetpass("ab\bc\n"), "Password: \n[ac]\n");
}

TEST(Getpass, CarriageReturnLineFeedEndsOneLine) {
    EXPECT_EQ(RunGetpass("one\r\ntwo\r\n", 2), "Password: \n[one]\nPassword: \n[two]\n");
}

}  // namespace
