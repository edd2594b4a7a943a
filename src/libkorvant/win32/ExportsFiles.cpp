// File functions with POSIX behaviour on Windows.
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <sys/utime.h>
#include <time.h>
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "libkorvant/ErrnoMap.h"
#include "libkorvant/TimeOfDay.h"
#include "libkorvant/korvant_posix.h"
#include "libkorvant/win32/Library.h"

using namespace korvant;
using namespace korvant::win32;

namespace {

std::int64_t FileTimeToUnix(const FILETIME& t) {
    const std::int64_t units = static_cast<std::int64_t>(
        (static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime);
    return (units - TimeOfDay::kEpochDifference) / 10000000;
}

// False for a time a FILETIME cannot hold (before 1601 or past its range);
// the arithmetic would overflow.
bool UnixToFileTime(std::int64_t seconds, FILETIME* out) {
    constexpr std::int64_t kUnitsPerSecond = 10000000;
    constexpr std::int64_t kEarliest = -(TimeOfDay::kEpochDifference / kUnitsPerSecond);
    constexpr std::int64_t kLatest = (INT64_MAX - TimeOfDay::kEpochDifference) / kUnitsPerSecond;
    if (seconds < kEarliest || seconds > kLatest) {
        return false;
    }
    const auto units =
        static_cast<std::uint64_t>(seconds * kUnitsPerSecond + TimeOfDay::kEpochDifference);
    *out = FILETIME{static_cast<DWORD>(units), static_cast<DWORD>(units >> 32)};
    return true;
}

// Sets the end of an open file. The offset stays where it was, except that
// cutting to 0 rewinds, as callers that rewrite a file from the start expect.
int TruncateHandle(HANDLE handle, std::int64_t length) {
    LARGE_INTEGER zero{};
    LARGE_INTEGER current{};
    if (!SetFilePointerEx(handle, zero, &current, FILE_CURRENT)) {
        return FailWithWin32Error(GetLastError());
    }
    LARGE_INTEGER target{};
    target.QuadPart = length;
    if (!SetFilePointerEx(handle, target, nullptr, FILE_BEGIN) || !SetEndOfFile(handle)) {
        const DWORD error = GetLastError();
        SetFilePointerEx(handle, current, nullptr, FILE_BEGIN);
        return FailWithWin32Error(error);
    }
    if (length != 0) {
        SetFilePointerEx(handle, current, nullptr, FILE_BEGIN);
    }
    return 0;
}

int TruncateFd(int fd, std::int64_t length) {
    if (length < 0) {
        return FailWithErrno(kEINVAL);
    }
    const intptr_t handle = _get_osfhandle(fd);
    if (handle == -1) {
        return FailWithErrno(kEBADF);
    }
    return TruncateHandle(reinterpret_cast<HANDLE>(handle), length);
}

// Drops trailing separators the C runtime's stat refuses, keeping roots.
std::string StatPath(const char* path) {
    std::string p(path);
    auto isSep = [](char c) { return c == '\\' || c == '/'; };
    while (p.size() > 1 && isSep(p.back()) && !(p.size() == 3 && p[1] == ':')) {
        p.pop_back();
    }
    return p;
}

}  // namespace

KORVANT_EXPORT int korvant_ftruncate(int fd, long length) {
    return TruncateFd(fd, length);
}

KORVANT_EXPORT int korvant_ftruncate64(int fd, int64_t length) {
    return TruncateFd(fd, length);
}

KORVANT_EXPORT int korvant_fseeko64(FILE* stream, int64_t offset, int whence) {
    if (stream == nullptr) {
        return FailWithErrno(kEINVAL);
    }
    std::fflush(stream);
    return _fseeki64(stream, offset, whence) == 0 ? 0 : -1;
}

KORVANT_EXPORT int korvant_truncate(const char* path, long length) {
    if (path == nullptr || length < 0) {
        return FailWithErrno(kEINVAL);
    }
    HANDLE file =
        CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return FailWithWin32Error(GetLastError());
    }
    const int result = TruncateHandle(file, length);
    CloseHandle(file);
    return result;
}

extern "C" int unix_nt_stat(const char* path, struct _stat64* buffer) {
    if (path == nullptr || buffer == nullptr) {
        return FailWithErrno(kEINVAL);
    }
    return _stat64(StatPath(path).c_str(), buffer);
}

extern "C" int unix_nt_fstat(int fd, struct _stat64* buffer) {
    if (buffer == nullptr) {
        return FailWithErrno(kEINVAL);
    }
    return _fstat64(fd, buffer);
}

// Works on directories too, which the C runtime's utime refuses.
extern "C" int unix_nt_utime(const char* path, struct __utimbuf64* times) {
    if (path == nullptr) {
        return FailWithErrno(kEINVAL);
    }
    FILETIME access{};
    FILETIME modified{};
    if (times != nullptr) {
        if (!UnixToFileTime(times->actime, &access) || !UnixToFileTime(times->modtime, &modified)) {
            return FailWithErrno(kEINVAL);
        }
    } else {
        GetSystemTimeAsFileTime(&access);
        modified = access;
    }
    HANDLE file = CreateFileA(StatPath(path).c_str(), FILE_WRITE_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return FailWithWin32Error(GetLastError());
    }
    const BOOL ok = SetFileTime(file, nullptr, &access, &modified);
    const DWORD error = GetLastError();
    CloseHandle(file);
    return ok ? 0 : FailWithWin32Error(error);
}

// Opens with every sharing mode, so the file may be renamed or removed while
// open, as on POSIX systems.
extern "C" FILE* unix_nt_fopen(const char* path, const char* mode) {
    if (path == nullptr || mode == nullptr || std::strchr("rwa", mode[0]) == nullptr ||
        mode[0] == '\0') {
        FailWithErrno(kEINVAL);
        return nullptr;
    }
    const bool plus = std::strchr(mode, '+') != nullptr;
    DWORD access = 0;
    DWORD disposition = 0;
    int flags = std::strchr(mode, 'b') != nullptr ? _O_BINARY : _O_TEXT;
    switch (mode[0]) {
        case 'r':
            access = GENERIC_READ | (plus ? GENERIC_WRITE : 0);
            disposition = OPEN_EXISTING;
            flags |= plus ? _O_RDWR : _O_RDONLY;
            break;
        case 'w':
            access = GENERIC_WRITE | (plus ? GENERIC_READ : 0);
            disposition = CREATE_ALWAYS;
            flags |= plus ? _O_RDWR : _O_WRONLY;
            break;
        default:
            access = GENERIC_WRITE | (plus ? GENERIC_READ : 0);
            disposition = OPEN_ALWAYS;
            flags |= (plus ? _O_RDWR : _O_WRONLY) | _O_APPEND;
            break;
    }
    HANDLE file = CreateFileA(path, access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        FailWithWin32Error(GetLastError());
        return nullptr;
    }
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(file), flags);
    if (fd == -1) {
        CloseHandle(file);
        FailWithErrno(kEBADF);
        return nullptr;
    }
    FILE* stream = _fdopen(fd, mode);
    if (stream == nullptr) {
        _close(fd);
    }
    return stream;
}

// Replaces an existing target, as POSIX rename does.
extern "C" int unix_nt_rename(const char* from, const char* to) {
    if (from == nullptr || to == nullptr) {
        return FailWithErrno(kEINVAL);
    }
    if (!MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED)) {
        return FailWithWin32Error(GetLastError());
    }
    return 0;
}

// Removes read-only files too, as POSIX unlink does in a writable directory.
extern "C" int unix_nt_unlink(const char* path) {
    if (path == nullptr) {
        return FailWithErrno(kEINVAL);
    }
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return FailWithWin32Error(GetLastError());
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        return FailWithErrno(kEACCES);
    }
    if (attributes & FILE_ATTRIBUTE_READONLY) {
        SetFileAttributesA(path, attributes & ~FILE_ATTRIBUTE_READONLY);
    }
    if (!DeleteFileA(path)) {
        const DWORD error = GetLastError();
        SetFileAttributesA(path, attributes);
        return FailWithWin32Error(error);
    }
    return 0;
}

extern "C" int64_t unix_nt_time(int64_t* out) {
    std::int64_t now = 0;
    if (TheSystem().Win32Platform() == 0) {
        now = _time64(nullptr);
    } else {
        FILETIME ft{};
        GetSystemTimeAsFileTime(&ft);
        now = FileTimeToUnix(ft);
    }
    if (out != nullptr) {
        *out = now;
    }
    return now;
}
