#pragma once

#include <cstdint>
#include <string>

namespace korvant {

using ObjHandle = std::uintptr_t;

enum class WaitResult { kTaken, kAbandoned, kTimeout, kFailed };

// One mapped view of a named file mapping.
struct MappedView {
    std::uint8_t* base = nullptr;
    std::uint64_t size = 0;
    bool readOnly = false;
    ObjHandle mapping = 0;
    ObjHandle file = 0;
};

// The machine-wide named objects the shared cache is built on: named
// mutexes, files and file mappings. The Win32 implementation lives in
// win32/; tests use a fake in which several "processes" share the objects.
class SharedObjects {
public:
    virtual ~SharedObjects() = default;

    // Creates the named mutex owned by the caller. When it already existed
    // *existed is set and the caller does not own it. 0 on failure.
    virtual ObjHandle CreateOwnedMutex(const std::string& name, bool global, bool* existed) = 0;
    virtual WaitResult Wait(ObjHandle mutex, std::uint32_t timeoutMs) = 0;
    virtual void Release(ObjHandle mutex) = 0;
    virtual void CloseMutex(ObjHandle mutex) = 0;

    // Maps `size` bytes of an existing named mapping; false when there is none.
    virtual bool OpenMapping(const std::string& name, std::uint64_t size, MappedView* view) = 0;
    // Opens or creates the file, grows it to at least `size` bytes (never
    // shrinks it), creates the named mapping (or opens it when it exists)
    // and maps `size` bytes. With readOnly the file must exist, is not
    // changed, and the whole file is mapped read-only without a name (size
    // and name are ignored); the view shows what others write to the file.
    // *created tells whether the file is new. 0 or a Win32 error: 5 when
    // the mapping's namespace does not let this process create it.
    virtual long MapFile(const std::string& path, const std::string& name, std::uint64_t size,
                         bool readOnly, bool global, MappedView* view, bool* created) = 0;
    // Whether the objects behind a view (the named mapping, and the file
    // when this process opened it) were made by this process's user, the
    // administrators or the system, and so by no other user of the machine.
    virtual bool MadeByThisUser(const MappedView& view) = 0;
    virtual bool Flush(const MappedView& view, std::uint64_t offset, std::uint64_t size) = 0;
    virtual void Unmap(MappedView* view) = 0;

    virtual bool IsDirectory(const std::string& path) = 0;
    virtual std::uint32_t UnixTime() = 0;
    // Standard output and standard error.
    virtual void Out(const std::string& text) = 0;
    virtual void Err(const std::string& text) = 0;
    // The NT_TRACE line of a failed system call.
    virtual void Trace(const char* call, int line, unsigned long status) = 0;
};

}  // namespace korvant
