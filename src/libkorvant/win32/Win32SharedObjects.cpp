#include "libkorvant/win32/Win32SharedObjects.h"

#include <windows.h>

#include <aclapi.h>

#include <cstdio>
#include <ctime>
#include <vector>

#include "libkorvant/win32/Library.h"

namespace korvant::win32 {

namespace {

// Every process of the machine, whichever user runs it, shares the global
// area: its objects carry a descriptor without a DACL. Private areas keep
// the default descriptor of the user's token.
struct Security {
    explicit Security(bool open) {
        if (open && InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION) &&
            SetSecurityDescriptorDacl(&descriptor, TRUE, nullptr, FALSE)) {
            attributes.lpSecurityDescriptor = &descriptor;
        }
    }
    SECURITY_DESCRIPTOR descriptor{};
    SECURITY_ATTRIBUTES attributes{sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
};

HANDLE AsHandle(ObjHandle h) {
    return reinterpret_cast<HANDLE>(h);
}

ObjHandle FromHandle(HANDLE h) {
    return reinterpret_cast<ObjHandle>(h);
}

void CreateParentDirectories(const std::string& path) {
    for (std::size_t i = 3; i < path.size(); ++i) {
        if (path[i] == '\\' || path[i] == '/') {
            CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
        }
    }
}

}  // namespace

ObjHandle Win32SharedObjects::CreateOwnedMutex(const std::string& name, bool global,
                                               bool* existed) {
    Security security(global);
    HANDLE h = CreateMutexA(&security.attributes, TRUE, name.c_str());
    const DWORD error = GetLastError();
    if (h == nullptr) {
        win32::Trace("CreateMutex", "shmem", __LINE__, error);
        return 0;
    }
    *existed = error == ERROR_ALREADY_EXISTS;
    return FromHandle(h);
}

WaitResult Win32SharedObjects::Wait(ObjHandle mutex, std::uint32_t timeoutMs) {
    switch (WaitForSingleObject(AsHandle(mutex), timeoutMs)) {
        case WAIT_OBJECT_0:
            return WaitResult::kTaken;
        case WAIT_ABANDONED:
            return WaitResult::kAbandoned;
        case WAIT_TIMEOUT:
            return WaitResult::kTimeout;
        default:
            win32::Trace("WaitForSingleObject", "shmem", __LINE__, GetLastError());
            return WaitResult::kFailed;
    }
}

void Win32SharedObjects::Release(ObjHandle mutex) {
    ReleaseMutex(AsHandle(mutex));
}

void Win32SharedObjects::CloseMutex(ObjHandle mutex) {
    CloseHandle(AsHandle(mutex));
}

bool Win32SharedObjects::OpenMapping(const std::string& name, std::uint64_t size,
                                     MappedView* view) {
    HANDLE mapping = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, name.c_str());
    if (mapping == nullptr) {
        return false;
    }
    void* base = MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, static_cast<SIZE_T>(size));
    if (base == nullptr) {
        win32::Trace("MapViewOfFile", "shmem", __LINE__, GetLastError());
        CloseHandle(mapping);
        return false;
    }
    view->base = static_cast<std::uint8_t*>(base);
    view->size = size;
    view->readOnly = false;
    view->mapping = FromHandle(mapping);
    view->file = 0;
    return true;
}

long Win32SharedObjects::MapFile(const std::string& path, const std::string& name,
                                 std::uint64_t size, bool readOnly, bool global, MappedView* view,
                                 bool* created) {
    Security security(global);
    *created = false;
    if (!readOnly) {
        CreateParentDirectories(path);
    }
    HANDLE file =
        CreateFileA(path.c_str(), readOnly ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE,
                    FILE_SHARE_READ | FILE_SHARE_WRITE, readOnly ? nullptr : &security.attributes,
                    readOnly ? OPEN_EXISTING : OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD error = GetLastError();
    if (file == INVALID_HANDLE_VALUE) {
        win32::Trace("CreateFile", "shmem", __LINE__, error);
        return static_cast<long>(error);
    }
    *created = !readOnly && error != ERROR_ALREADY_EXISTS;
    LARGE_INTEGER current{};
    if (!GetFileSizeEx(file, &current)) {
        error = GetLastError();
        CloseHandle(file);
        return static_cast<long>(error);
    }
    if (readOnly) {
        size = static_cast<std::uint64_t>(current.QuadPart);
    } else if (static_cast<std::uint64_t>(current.QuadPart) < size) {
        // Grown, never shrunk: a larger file may hold an area of another size.
        LARGE_INTEGER end;
        end.QuadPart = static_cast<LONGLONG>(size);
        if (!SetFilePointerEx(file, end, nullptr, FILE_BEGIN) || !SetEndOfFile(file)) {
            error = GetLastError();
            win32::Trace("SetEndOfFile", "shmem", __LINE__, error);
            CloseHandle(file);
            return static_cast<long>(error);
        }
    }
    if (size == 0) {
        CloseHandle(file);
        return ERROR_INVALID_DATA;
    }
    HANDLE mapping = CreateFileMappingA(file, readOnly ? nullptr : &security.attributes,
                                        readOnly ? PAGE_READONLY : PAGE_READWRITE,
                                        static_cast<DWORD>(size >> 32), static_cast<DWORD>(size),
                                        readOnly ? nullptr : name.c_str());
    if (mapping == nullptr) {
        error = GetLastError();
        // Refused for lack of the right to create it in Global\: the area
        // traces that once and goes on without it.
        if (error != ERROR_ACCESS_DENIED) {
            win32::Trace("CreateFileMapping", "shmem", __LINE__, error);
        }
        CloseHandle(file);
        return static_cast<long>(error);
    }
    void* base = MapViewOfFile(mapping, readOnly ? FILE_MAP_READ : FILE_MAP_ALL_ACCESS, 0, 0,
                               static_cast<SIZE_T>(size));
    if (base == nullptr) {
        error = GetLastError();
        win32::Trace("MapViewOfFile", "shmem", __LINE__, error);
        CloseHandle(mapping);
        CloseHandle(file);
        return static_cast<long>(error);
    }
    view->base = static_cast<std::uint8_t*>(base);
    view->size = size;
    view->readOnly = readOnly;
    view->mapping = FromHandle(mapping);
    view->file = FromHandle(file);
    return 0;
}

namespace {

// One piece of the process token's information (the user, the default
// owner of what the process makes); empty when it cannot be read.
std::vector<BYTE> TokenPart(HANDLE token, TOKEN_INFORMATION_CLASS part) {
    DWORD length = 0;
    GetTokenInformation(token, part, nullptr, 0, &length);
    std::vector<BYTE> buffer(length);
    if (length == 0 || !GetTokenInformation(token, part, buffer.data(), length, &length)) {
        buffer.clear();
    }
    return buffer;
}

// Whether the object's owner is the process's user, its default owner (the
// administrators, for an elevated administrator), the administrators or the
// system: anyone else made it.
bool OwnedByUs(HANDLE object, SE_OBJECT_TYPE type, PSID user, PSID defaultOwner) {
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const DWORD status = GetSecurityInfo(object, type, OWNER_SECURITY_INFORMATION, &owner, nullptr,
                                         nullptr, nullptr, &descriptor);
    if (status != ERROR_SUCCESS) {
        win32::Trace("GetSecurityInfo", "shmem", __LINE__, status);
        return false;
    }
    // Windows gives every object an owner; Wine keeps none for kernel
    // objects, and nothing then says another user made it.
    const bool ours = owner == nullptr ||
                      (IsValidSid(owner) &&
                       (EqualSid(owner, user) ||
                       (defaultOwner != nullptr && EqualSid(owner, defaultOwner)) ||
                       IsWellKnownSid(owner, WinBuiltinAdministratorsSid) ||
                       IsWellKnownSid(owner, WinLocalSystemSid)));
    LocalFree(descriptor);
    return ours;
}

}  // namespace

bool Win32SharedObjects::MadeByThisUser(const MappedView& view) {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
        win32::Trace("OpenProcessToken", "shmem", __LINE__, GetLastError());
        return false;
    }
    const std::vector<BYTE> user = TokenPart(token, TokenUser);
    const std::vector<BYTE> owner = TokenPart(token, TokenOwner);
    CloseHandle(token);
    if (user.empty()) {
        return false;
    }
    PSID userSid = reinterpret_cast<const TOKEN_USER*>(user.data())->User.Sid;
    PSID ownerSid =
        owner.empty() ? nullptr : reinterpret_cast<const TOKEN_OWNER*>(owner.data())->Owner;
    if (view.mapping != 0 &&
        !OwnedByUs(AsHandle(view.mapping), SE_KERNEL_OBJECT, userSid, ownerSid)) {
        return false;
    }
    return view.file == 0 || OwnedByUs(AsHandle(view.file), SE_FILE_OBJECT, userSid, ownerSid);
}

bool Win32SharedObjects::Flush(const MappedView& view, std::uint64_t offset, std::uint64_t size) {
    if (view.readOnly || view.base == nullptr || offset > view.size || size > view.size - offset) {
        return false;
    }
    return FlushViewOfFile(view.base + offset, static_cast<SIZE_T>(size)) != 0;
}

void Win32SharedObjects::Unmap(MappedView* view) {
    if (view->base != nullptr) {
        UnmapViewOfFile(view->base);
    }
    if (view->mapping != 0) {
        CloseHandle(AsHandle(view->mapping));
    }
    if (view->file != 0) {
        CloseHandle(AsHandle(view->file));
    }
    *view = MappedView();
}

bool Win32SharedObjects::IsDirectory(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::uint32_t Win32SharedObjects::UnixTime() {
    return static_cast<std::uint32_t>(std::time(nullptr));
}

void Win32SharedObjects::Out(const std::string& text) {
    std::fputs(text.c_str(), stdout);
    std::fflush(stdout);
}

void Win32SharedObjects::Err(const std::string& text) {
    std::fputs(text.c_str(), stderr);
    std::fflush(stderr);
}

void Win32SharedObjects::Trace(const char* call, int line, unsigned long status) {
    korvant::win32::Trace(call, "shmem", line, status);
}

}  // namespace korvant::win32
