#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <sys/utime.h>
#include <windows.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>

#include "libkorvant/wine/KorvantDll.h"

namespace {

struct Dirent {
    long d_ino;
    unsigned short d_reclen;
    unsigned short d_namlen;
    char d_name[260];
};
struct Timeval {
    long tv_sec;
    long tv_usec;
};
struct Timezone {
    int minutesWest;
    int dst;
};
struct Utsname {
    char sysname[65], nodename[65], release[65], version[65], machine[65];
};

using GetoptFn = int (*)(int, char* const*, const char*);
using OpendirFn = void* (*)(const char*);
using ReaddirFn = Dirent* (*)(void*);
using ClosedirFn = int (*)(void*);
using GettimeofdayFn = int (*)(Timeval*, Timezone*);
using LongIntFn = long (*)(int);
using FpathconfFn = long (*)(int, int);
using FtruncateFn = int (*)(int, long);
using Ftruncate64Fn = int (*)(int, long long);
using TruncateFn = int (*)(const char*, long);
using SbrkFn = void* (*)(intptr_t);

// A scratch directory below the prefix's temporary folder.
class Scratch {
public:
    Scratch() {
        char base[MAX_PATH];
        GetTempPathA(MAX_PATH, base);
        path_ = std::string(base) + "korvant_test_" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~Scratch() {
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA((path_ + "\\*").c_str(), &data);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                const std::string file = path_ + "\\" + data.cFileName;
                SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    RemoveDirectoryA(file.c_str());
                } else {
                    DeleteFileA(file.c_str());
                }
            } while (FindNextFileA(find, &data));
            FindClose(find);
        }
        RemoveDirectoryA(path_.c_str());
    }
    std::string File(const char* name, const std::string& content = "") const {
        const std::string file = path_ + "\\" + name;
        FILE* f = std::fopen(file.c_str(), "wb");
        std::fwrite(content.data(), 1, content.size(), f);
        std::fclose(f);
        return file;
    }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

long long FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) {
        return -1;
    }
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// Runs fn with standard error redirected to a file and returns what was written.
template <typename Fn>
std::string CaptureStderr(Fn fn) {
    Scratch scratch;
    const std::string file = scratch.Path() + "\\stderr.txt";
    std::fflush(stderr);
    const int saved = _dup(2);
    const int fd = _open(file.c_str(), _O_CREAT | _O_TRUNC | _O_WRONLY | _O_BINARY, 0600);
    _dup2(fd, 2);
    fn();
    std::fflush(stderr);
    _dup2(saved, 2);
    _close(saved);
    _close(fd);
    std::string text;
    if (FILE* f = std::fopen(file.c_str(), "rb")) {
        char buffer[512];
        const std::size_t n = std::fread(buffer, 1, sizeof buffer, f);
        text.assign(buffer, n);
        std::fclose(f);
    }
    return text;
}

TEST(Getopt, ExportedStateAndMessages) {
    auto getopt = KorvantDll::Fn<GetoptFn>("getopt");
    int* optind = KorvantDll::Data<int>("optind");
    char** optarg = KorvantDll::Data<char*>("optarg");
    int* optopt = KorvantDll::Data<int>("optopt");
    int* opterr = KorvantDll::Data<int>("opterr");
    ASSERT_TRUE(getopt && optind && optarg && optopt && opterr);
    EXPECT_EQ(*opterr, 1);
    EXPECT_EQ(*optind, 1);

    char a0[] = "C:/bin/mktool", a1[] = "-a", a2[] = "-ofile", a3[] = "-b";
    char* argv[] = {a0, a1, a2, a3, nullptr};
    EXPECT_EQ(getopt(4, argv, "ao:b:"), 'a');
    EXPECT_EQ(getopt(4, argv, "ao:b:"), 'o');
    EXPECT_STREQ(*optarg, "file");
    int result = 0;
    const std::string message = CaptureStderr([&] { result = getopt(4, argv, "ao:b:"); });
    EXPECT_EQ(result, '?');
    EXPECT_EQ(*optopt, 'b');
    EXPECT_EQ(message, "mktool: option requires an argument -- b\n");

    *optind = 1;
    char b1[] = "-z", b2[] = "--", b3[] = "-a";
    char* argv2[] = {a0, b1, b2, b3, nullptr};
    EXPECT_EQ(CaptureStderr([&] { result = getopt(4, argv2, "a"); }),
              "mktool: illegal option -- z\n");
    EXPECT_EQ(result, '?');
    EXPECT_EQ(getopt(4, argv2, "a"), -1);
    EXPECT_EQ(*optind, 3);
    *opterr = 0;
    *optind = 1;
    EXPECT_EQ(CaptureStderr([&] { getopt(4, argv2, "a"); }), "");
    *opterr = 1;

    // Starting over on another vector after stopping inside a group.
    *optind = 1;
    char c1[] = "-ab", d1[] = "-xy";
    char* argv3[] = {a0, c1, nullptr};
    char* argv4[] = {a0, d1, nullptr};
    EXPECT_EQ(getopt(2, argv3, "ab"), 'a');
    *optind = 1;
    EXPECT_EQ(getopt(2, argv4, "xy"), 'x');
    EXPECT_EQ(getopt(2, argv4, "xy"), 'y');
    EXPECT_EQ(getopt(2, argv4, "xy"), -1);
    *optind = 1;
}

TEST(Directories, ListsEntriesAndReportsErrors) {
    auto opendir = KorvantDll::Fn<OpendirFn>("opendir");
    auto readdir = KorvantDll::Fn<ReaddirFn>("readdir");
    auto closedir = KorvantDll::Fn<ClosedirFn>("closedir");
    Scratch scratch;
    scratch.File("alpha.txt");
    scratch.File("beta");
    for (const std::string& path : {scratch.Path(), scratch.Path() + "\\", scratch.Path() + "/"}) {
        void* dir = opendir(path.c_str());
        ASSERT_NE(dir, nullptr) << path;
        std::set<std::string> names;
        while (Dirent* entry = readdir(dir)) {
            EXPECT_EQ(entry->d_namlen, std::strlen(entry->d_name));
            names.insert(entry->d_name);
        }
        EXPECT_EQ(readdir(dir), nullptr);
        EXPECT_EQ(closedir(dir), 0);
        EXPECT_EQ(names.count("alpha.txt"), 1u);
        EXPECT_EQ(names.count("beta"), 1u);
    }
    errno = 0;
    EXPECT_EQ(opendir((scratch.Path() + "\\missing").c_str()), nullptr);
    EXPECT_EQ(errno, ENOENT);
    errno = 0;
    EXPECT_EQ(opendir(std::string(256, 'x').c_str()), nullptr);
    EXPECT_EQ(errno, ENAMETOOLONG);
    EXPECT_EQ(opendir(nullptr), nullptr);
    EXPECT_EQ(readdir(nullptr), nullptr);
    EXPECT_EQ(closedir(nullptr), -1);
}

TEST(Time, GettimeofdayNeverRepeatsAndGivesTheZone) {
    auto gettimeofday = KorvantDll::Fn<GettimeofdayFn>("gettimeofday");
    Timeval previous{};
    ASSERT_EQ(gettimeofday(&previous, nullptr), 0);
    for (int i = 0; i < 2000; ++i) {
        Timeval now{};
        gettimeofday(&now, nullptr);
        const long long a = previous.tv_sec * 1000000LL + previous.tv_usec;
        const long long b = now.tv_sec * 1000000LL + now.tv_usec;
        ASSERT_GT(b, a);
        ASSERT_LT(now.tv_usec, 1000000);
        previous = now;
    }
    EXPECT_LE(std::abs(previous.tv_sec - static_cast<long>(std::time(nullptr))), 2);
    TIME_ZONE_INFORMATION info{};
    GetTimeZoneInformation(&info);
    Timezone zone{};
    EXPECT_EQ(gettimeofday(nullptr, &zone), 0);
    EXPECT_EQ(zone.minutesWest,
              info.Bias + (info.StandardDate.wMonth != 0 ? info.StandardBias : 0));

    auto unixTime = KorvantDll::Fn<long long (*)(long long*)>("unix_nt_time");
    long long stored = 0;
    const long long now = unixTime(&stored);
    EXPECT_EQ(now, stored);
    EXPECT_LE(std::llabs(now - static_cast<long long>(std::time(nullptr))), 2);
    EXPECT_GT(KorvantDll::Fn<long (*)(void*)>("times")(nullptr), 0);
}

TEST(Limits, OrdinaryRequestsFailThePosixWay) {
    auto sysconf = KorvantDll::Fn<LongIntFn>("sysconf");
    auto fpathconf = KorvantDll::Fn<FpathconfFn>("fpathconf");
    auto sbrk = KorvantDll::Fn<SbrkFn>("sbrk");
    EXPECT_EQ(sysconf(2), 1000);
    EXPECT_EQ(sysconf(4), INT_MAX);
    errno = 0;
    EXPECT_EQ(sysconf(30), -1);
    EXPECT_EQ(errno, EINVAL);
    EXPECT_EQ(fpathconf(0, 3), 255);
    errno = 0;
    EXPECT_EQ(fpathconf(0, 4), -1);
    EXPECT_EQ(errno, EINVAL);
    EXPECT_NE(sbrk(0), nullptr);
    errno = 0;
    EXPECT_EQ(sbrk(4096), reinterpret_cast<void*>(-1));
    EXPECT_EQ(errno, ENOMEM);
    EXPECT_EQ(KorvantDll::Fn<unsigned (*)(unsigned)>("sleep")(0), 0u);
}

TEST(Files, TruncationToAnyLength) {
    auto ftruncate = KorvantDll::Fn<FtruncateFn>("ftruncate");
    auto ftruncate64 = KorvantDll::Fn<Ftruncate64Fn>("ftruncate64");
    auto truncate = KorvantDll::Fn<TruncateFn>("truncate");
    Scratch scratch;
    const std::string path = scratch.File("data.bin", std::string(100, 'd'));
    const int fd = _open(path.c_str(), _O_RDWR | _O_BINARY);
    ASSERT_GE(fd, 0);
    _lseek(fd, 60, SEEK_SET);
    EXPECT_EQ(ftruncate(fd, 10), 0);
    EXPECT_EQ(_filelength(fd), 10);
    EXPECT_EQ(_lseek(fd, 0, SEEK_CUR), 60) << "the offset stays";
    EXPECT_EQ(ftruncate64(fd, 5000000000LL), 0);
    EXPECT_EQ(_filelengthi64(fd), 5000000000LL);
    EXPECT_EQ(ftruncate(fd, 0), 0);
    EXPECT_EQ(_filelength(fd), 0);
    EXPECT_EQ(_lseek(fd, 0, SEEK_CUR), 0) << "cutting to 0 rewinds";
    errno = 0;
    EXPECT_EQ(ftruncate(fd, -1), -1);
    EXPECT_EQ(errno, EINVAL);
    _close(fd);
    errno = 0;
    EXPECT_EQ(ftruncate(fd, 0), -1);
    EXPECT_EQ(errno, EBADF);

    scratch.File("data.bin", "0123456789");
    EXPECT_EQ(truncate(path.c_str(), 3), 0);
    EXPECT_EQ(FileSize(path), 3);
    errno = 0;
    EXPECT_EQ(truncate((scratch.Path() + "\\none").c_str(), 0), -1);
    EXPECT_EQ(errno, ENOENT);

    FILE* stream = std::fopen(path.c_str(), "rb+");
    ASSERT_NE(stream, nullptr);
    std::fputc('X', stream);  // buffered until the seek flushes it
    EXPECT_EQ(KorvantDll::Fn<int (*)(FILE*, long long, int)>("fseeko64")(stream, 2, SEEK_SET), 0);
    EXPECT_EQ(std::fgetc(stream), '2');
    std::fclose(stream);
}

TEST(Files, UnixNamesBehaveAsOnPosix) {
    auto stat = KorvantDll::Fn<int (*)(const char*, struct _stat64*)>("unix_nt_stat");
    auto fopen = KorvantDll::Fn<FILE* (*)(const char*, const char*)>("unix_nt_fopen");
    auto rename = KorvantDll::Fn<int (*)(const char*, const char*)>("unix_nt_rename");
    auto unlink = KorvantDll::Fn<int (*)(const char*)>("unix_nt_unlink");
    auto utime = KorvantDll::Fn<int (*)(const char*, struct __utimbuf64*)>("unix_nt_utime");
    Scratch scratch;
    struct _stat64 info {};
    EXPECT_EQ(stat((scratch.Path() + "\\").c_str(), &info), 0);
    EXPECT_TRUE(info.st_mode & _S_IFDIR);

    const std::string from = scratch.File("from.txt", "new");
    const std::string to = scratch.File("to.txt", "old");
    EXPECT_EQ(rename(from.c_str(), to.c_str()), 0);
    EXPECT_EQ(FileSize(to), 3);
    EXPECT_EQ(FileSize(from), -1);

    FILE* open = fopen(to.c_str(), "r");
    ASSERT_NE(open, nullptr);
    const std::string moved = scratch.Path() + "\\moved.txt";
    EXPECT_EQ(rename(to.c_str(), moved.c_str()), 0) << "renamed while open";
    char text[8] = {};
    EXPECT_EQ(std::fread(text, 1, 3, open), 3u);
    EXPECT_STREQ(text, "new");
    std::fclose(open);

    SetFileAttributesA(moved.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(unlink(moved.c_str()), 0);
    EXPECT_EQ(FileSize(moved), -1);
    errno = 0;
    EXPECT_EQ(unlink(moved.c_str()), -1);
    EXPECT_EQ(errno, ENOENT);

    struct __utimbuf64 times {
        1000000000, 1000000000
    };
    EXPECT_EQ(utime(scratch.Path().c_str(), &times), 0) << "directories too";
    EXPECT_EQ(stat(scratch.Path().c_str(), &info), 0);
    EXPECT_EQ(info.st_mtime, 1000000000);
    // Seconds whose 100-ns count overflows must not wrap round to some time near 1970.
    struct __utimbuf64 huge {
        1844674407370LL, 1844674407370LL
    };
    errno = 0;
    EXPECT_EQ(utime(scratch.Path().c_str(), &huge), -1);
    EXPECT_EQ(errno, EINVAL);
    const long long before1601 = -11644473601LL;
    struct __utimbuf64 early {
        before1601, before1601
    };
    EXPECT_EQ(utime(scratch.Path().c_str(), &early), -1);
    EXPECT_EQ(stat(scratch.Path().c_str(), &info), 0);
    EXPECT_EQ(info.st_mtime, 1000000000);
    EXPECT_EQ(fopen(nullptr, "r"), nullptr);
    EXPECT_EQ(fopen(to.c_str(), "q"), nullptr);
}

TEST(Strings, CaseInsensitiveComparisonAndUname) {
    auto strcasecmp = KorvantDll::Fn<int (*)(const char*, const char*)>("strcasecmp");
    auto strncasecmp = KorvantDll::Fn<int (*)(const char*, const char*, size_t)>("strncasecmp");
    EXPECT_EQ(strcasecmp("Vantrel", "vANTREL"), 0);
    EXPECT_LT(strcasecmp("a", "B"), 0);
    EXPECT_EQ(strncasecmp("ViewA", "viewB", 4), 0);
    EXPECT_NE(strncasecmp("ViewA", "viewB", 5), 0);

    Utsname name{};
    ASSERT_EQ(KorvantDll::Fn<int (*)(Utsname*)>("uname")(&name), 0);
    char computer[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD length = sizeof computer;
    GetComputerNameA(computer, &length);
    EXPECT_EQ(std::string(name.nodename), std::string(computer).substr(0, 15));
    EXPECT_STREQ(name.sysname, "Windows_NT");
    EXPECT_NE(std::strchr(name.release, '.'), nullptr);
    EXPECT_NE(name.machine[0], '\0');
    EXPECT_EQ(KorvantDll::Fn<int (*)(Utsname*)>("uname")(nullptr), -1);
}

}  // namespace
