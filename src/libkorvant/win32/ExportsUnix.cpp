// POSIX functions Windows lacks. They are defined under korvant_* names and
// exported under their POSIX names by LIBKORVANT.def, so they never meet the
// C runtime's own declarations.
#include <sys/timeb.h>
#include <windows.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <string>

#include "libkorvant/ErrnoMap.h"
#include "libkorvant/Getopt.h"
#include "libkorvant/PasswordReader.h"
#include "libkorvant/TextUtil.h"
#include "libkorvant/TimeOfDay.h"
#include "libkorvant/korvant_posix.h"
#include "libkorvant/win32/Library.h"

using namespace korvant;
using namespace korvant::win32;

extern "C" {
char* korvant_optarg = nullptr;
int korvant_opterr = 1;
int korvant_optind = 1;
int korvant_optopt = 0;
}

namespace {

int gOptionPosition = 1;
const char* gOptionWord = nullptr;

constexpr int kSysconfClockTicks = 2;
constexpr int kSysconfOpenMax = 4;
constexpr int kPathconfNameMax = 3;

int ReadKey(HANDLE input, bool console) {
    char c = 0;
    DWORD got = 0;
    const BOOL ok =
        console ? ReadConsoleA(input, &c, 1, &got, nullptr) : ReadFile(input, &c, 1, &got, nullptr);
    if (!ok || got == 0) {
        return -1;
    }
    return static_cast<unsigned char>(c);
}

}  // namespace

KORVANT_EXPORT int korvant_getopt(int argc, char* const argv[], const char* options) {
    const GetoptVars vars{&korvant_optarg, &korvant_opterr,  &korvant_optind,
                          &korvant_optopt, &gOptionPosition, &gOptionWord};
    return Getopt(vars, argc, argv, options, [](const std::string& message) {
        std::fputs(message.c_str(), stderr);
        std::fflush(stderr);
    });
}

KORVANT_EXPORT char* korvant_getpass(const char* prompt) {
    static PasswordReader reader;
    if (prompt != nullptr && *prompt != '\0') {
        std::fputs(prompt, stdout);
        std::fflush(stdout);
    }
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    DWORD mode = 0;
    const bool console = GetConsoleMode(input, &mode) != FALSE;
    if (console) {
        SetConsoleMode(input, mode & ~(ENABLE_ECHO_INPUT | ENABLE_LINE_INPUT));
    }
    const char* answer = reader.Read([&] { return ReadKey(input, console); });
    if (console) {
        SetConsoleMode(input, mode);
    }
    std::fputs("\n", stdout);
    std::fflush(stdout);
    return const_cast<char*>(answer);
}

struct korvant_dir {
    HANDLE find = INVALID_HANDLE_VALUE;
    WIN32_FIND_DATAA data{};
    bool pending = false;  // data holds an entry not yet returned
    korvant_dirent entry{};
};

KORVANT_EXPORT korvant_DIR* korvant_opendir(const char* path) {
    if (path == nullptr) {
        FailWithErrno(kENOENT);
        return nullptr;
    }
    const std::size_t length = std::strlen(path);
    if (length + 4 >= MAX_PATH) {
        FailWithErrno(kENAMETOOLONG);
        return nullptr;
    }
    std::string pattern(path);
    if (!pattern.empty()) {
        // The last character, stepping back over double-byte characters.
        const char* last = CharPrevA(pattern.c_str(), pattern.c_str() + pattern.size());
        if (last + 1 == pattern.c_str() + pattern.size() && (*last == '/' || *last == '\\')) {
            pattern.pop_back();
        }
    }
    pattern += "\\*.*";
    auto* dir = new (std::nothrow) korvant_dir;
    if (dir == nullptr) {
        FailWithErrno(kENOMEM);
        return nullptr;
    }
    dir->find = FindFirstFileA(pattern.c_str(), &dir->data);
    if (dir->find == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_NO_MORE_FILES) {
            delete dir;
            FailWithWin32Error(error);
            return nullptr;
        }
    } else {
        dir->pending = true;
    }
    return dir;
}

KORVANT_EXPORT korvant_dirent* korvant_readdir(korvant_DIR* dir) {
    if (dir == nullptr) {
        FailWithErrno(kEBADF);
        return nullptr;
    }
    if (dir->find == INVALID_HANDLE_VALUE) {
        return nullptr;
    }
    if (!dir->pending && !FindNextFileA(dir->find, &dir->data)) {
        return nullptr;
    }
    dir->pending = false;
    CopyTruncated(dir->entry.d_name, sizeof dir->entry.d_name, dir->data.cFileName);
    dir->entry.d_namlen = static_cast<unsigned short>(std::strlen(dir->entry.d_name));
    dir->entry.d_reclen = sizeof dir->entry;
    return &dir->entry;
}

KORVANT_EXPORT int korvant_closedir(korvant_DIR* dir) {
    if (dir == nullptr) {
        return FailWithErrno(kEBADF);
    }
    if (dir->find != INVALID_HANDLE_VALUE) {
        FindClose(dir->find);
    }
    delete dir;
    return 0;
}

KORVANT_EXPORT int korvant_gettimeofday(korvant_timeval* tv, korvant_timezone* tz) {
    static SRWLOCK lock = SRWLOCK_INIT;
    static TimeOfDay clock;
    if (TheSystem().Win32Platform() == 0) {
        __timeb64 now{};
        _ftime64(&now);
        if (tv != nullptr) {
            tv->tv_sec = static_cast<long>(now.time);
            tv->tv_usec = now.millitm * 1000L;
        }
        if (tz != nullptr) {
            tz->tz_minuteswest = now.timezone;
            tz->tz_dsttime = now.dstflag;
        }
        return 0;
    }
    FILETIME ft{};
    GetSystemTimeAsFileTime(&ft);
    SYSTEMTIME local{};
    GetLocalTime(&local);
    const std::uint32_t date = local.wYear * 10000u + local.wMonth * 100u + local.wDay;
    AcquireSRWLockExclusive(&lock);
    const std::int64_t micros =
        clock.Next((static_cast<std::uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime);
    int west = 0;
    int dst = 0;
    clock.Zone(
        date,
        [] {
            TIME_ZONE_INFORMATION info{};
            const DWORD id = GetTimeZoneInformation(&info);
            ZoneInfo zone;
            zone.bias = info.Bias;
            zone.standardBias = info.StandardBias;
            zone.daylightBias = info.DaylightBias;
            zone.standardDateDefined = info.StandardDate.wMonth != 0;
            zone.daylightActive = id == TIME_ZONE_ID_DAYLIGHT;
            return zone;
        },
        &west, &dst);
    ReleaseSRWLockExclusive(&lock);
    if (tv != nullptr) {
        tv->tv_sec = static_cast<long>(micros / 1000000);
        tv->tv_usec = static_cast<long>(micros % 1000000);
    }
    if (tz != nullptr) {
        tz->tz_minuteswest = west;
        tz->tz_dsttime = dst;
    }
    return 0;
}

KORVANT_EXPORT long korvant_times(korvant_tms* buffer) {
    if (buffer != nullptr) {
        FILETIME created, exited, kernel, user;
        if (GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) {
            auto ms = [](const FILETIME& t) {
                return static_cast<long>(
                    ((static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime) /
                    10000);
            };
            buffer->tms_utime = ms(user);
            buffer->tms_stime = ms(kernel);
            buffer->tms_cutime = buffer->tms_utime;
            buffer->tms_cstime = buffer->tms_stime;
        }
    }
    return static_cast<long>(GetTickCount());
}

KORVANT_EXPORT int korvant_uname(korvant_utsname* name) {
    if (name == nullptr) {
        return FailWithErrno(kEINVAL);
    }
    std::memset(name, 0, sizeof *name);
    const int platform = TheSystem().Win32Platform();
    CopyTruncated(name->sysname, sizeof name->sysname,
                  platform == 2 ? "Windows_NT" : (platform == 1 ? "Windows_95" : "Win32s"));
    std::string computer;
    if (ThePlatform().ComputerName(&computer)) {
        CopyTruncated(name->nodename, 16, computer);  // at most 15 characters
    }
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    if (GetVersionExA(&version)) {
        std::snprintf(name->release, sizeof name->release, "%d.%d",
                      static_cast<int>(version.dwMajorVersion),
                      static_cast<int>(version.dwMinorVersion));
        std::snprintf(name->version, sizeof name->version, "%lu", version.dwBuildNumber);
    }
    SYSTEM_INFO info{};
    GetNativeSystemInfo(&info);
    const char* machine = "unknown";
    switch (info.dwProcessorType) {
        case 486:
            machine = "i486";
            break;
        case 586:
            machine = "i586";
            break;
        case 4000:
            machine = "mips";
            break;
        case 21064:
            machine = "alpha";
            break;
        default:
            if (info.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64) {
                machine = "x86_64";
            } else if (info.wProcessorArchitecture == 12) {  // ARM64
                machine = "aarch64";
            }
            break;
    }
    CopyTruncated(name->machine, sizeof name->machine, machine);
    return 0;
}

// Requests outside the few answered here are refused the POSIX way.
KORVANT_EXPORT long korvant_sysconf(int request) {
    switch (request) {
        case kSysconfClockTicks:
            return 1000;
        case kSysconfOpenMax:
            return INT_MAX;
        default:
            return FailWithErrno(kEINVAL);
    }
}

KORVANT_EXPORT long korvant_fpathconf(int fd, int request) {
    if (request == kPathconfNameMax) {
        return 255;
    }
    return FailWithErrno(kEINVAL);
}

// There is no program break to move on Windows: sbrk(0) reports the process
// heap's base, a growth request fails with ENOMEM.
KORVANT_EXPORT void* korvant_sbrk(intptr_t increment) {
    if (increment == 0) {
        return GetProcessHeap();
    }
    FailWithErrno(kENOMEM);
    return reinterpret_cast<void*>(-1);
}

KORVANT_EXPORT unsigned korvant_sleep(unsigned seconds) {
    while (seconds > 0) {
        const unsigned step = seconds > 3600 ? 3600 : seconds;
        Sleep(step * 1000u);
        seconds -= step;
    }
    return 0;
}

KORVANT_EXPORT int korvant_strcasecmp(const char* a, const char* b) {
    return AsciiCaseCompare(a, b);
}

KORVANT_EXPORT int korvant_strncasecmp(const char* a, const char* b, size_t n) {
    return AsciiCaseCompareN(a, b, n);
}
