#pragma once

#include "libkorvant/SharedObjects.h"

namespace korvant::win32 {

// Named mutexes, files and file mappings of the real system. Objects of the
// global area get a security descriptor that lets every process open them.
class Win32SharedObjects : public SharedObjects {
public:
    ObjHandle CreateOwnedMutex(const std::string& name, bool global, bool* existed) override;
    WaitResult Wait(ObjHandle mutex, std::uint32_t timeoutMs) override;
    void Release(ObjHandle mutex) override;
    void CloseMutex(ObjHandle mutex) override;
    bool OpenMapping(const std::string& name, std::uint64_t size, MappedView* view) override;
    long MapFile(const std::string& path, const std::string& name, std::uint64_t size,
                 bool readOnly, bool global, MappedView* view, bool* created) override;
    bool MadeByThisUser(const MappedView& view) override;
    bool Flush(const MappedView& view, std::uint64_t offset, std::uint64_t size) override;
    void Unmap(MappedView* view) override;
    bool IsDirectory(const std::string& path) override;
    std::uint32_t UnixTime() override;
    void Out(const std::string& text) override;
    void Err(const std::string& text) override;
    void Trace(const char* call, int line, unsigned long status) override;
};

}  // namespace korvant::win32
