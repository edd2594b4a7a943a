#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "libkorvant/SharedObjects.h"

namespace korvant::testing {

// The machine several fake processes share: named mutexes, named mappings
// and the files on disk. A reboot drops mutexes and mappings and keeps files.
struct FakeMachine {
    using Bytes = std::shared_ptr<std::vector<std::uint8_t>>;
    struct Mutex {
        int owner = 0;
        int count = 0;
        bool abandoned = false;
        int handles = 0;
    };
    struct Mapping {
        Bytes memory;
        int refs = 0;
    };

    // The process dies: the mutexes it owns become abandoned.
    void Kill(int pid);
    void Reboot();

    std::map<std::string, Mutex> mutexes;
    std::map<std::string, Mapping> mappings;
    std::map<std::string, Bytes> files;
    std::set<std::string> directories;
    std::uint32_t clock = 0x5F000000;
};

// One process of the fake machine. A mutex owned by another process makes
// a wait time out at once (processes here do not run concurrently).
class FakeSharedObjects : public SharedObjects {
public:
    FakeSharedObjects(FakeMachine& machine, int pid) : machine_(machine), pid_(pid) {}

    ObjHandle CreateOwnedMutex(const std::string& name, bool global, bool* existed) override;
    WaitResult Wait(ObjHandle mutex, std::uint32_t timeoutMs) override;
    void Release(ObjHandle mutex) override;
    void CloseMutex(ObjHandle mutex) override;
    bool OpenMapping(const std::string& name, std::uint64_t size, MappedView* view) override;
    long MapFile(const std::string& path, const std::string& name, std::uint64_t size,
                 bool readOnly, bool global, MappedView* view, bool* created) override;
    bool Flush(const MappedView& view, std::uint64_t offset, std::uint64_t size) override;
    void Unmap(MappedView* view) override;
    bool IsDirectory(const std::string& path) override { return machine_.directories.count(path); }
    std::uint32_t UnixTime() override { return machine_.clock; }
    void Out(const std::string& text) override { out += text; }
    void Err(const std::string& text) override { err += text; }

    std::string out;
    std::string err;
    int flushes = 0;
    int waits = 0;
    bool failMapFile = false;

private:
    FakeMachine& machine_;
    int pid_;
    std::map<ObjHandle, std::string> mutexHandles_;
    std::map<ObjHandle, std::string> mappingHandles_;
    std::map<ObjHandle, FakeMachine::Bytes> privateCopies_;
    ObjHandle next_ = 0x100;
};

}  // namespace korvant::testing
