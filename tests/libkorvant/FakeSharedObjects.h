#pragma once

#include <array>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "libkorvant/FakeFile.h"
#include "libkorvant/SharedObjects.h"

namespace korvant::testing {

// The machine several fake processes share: named mutexes, named mappings
// and the files on disk. Processes and their threads run at the same time;
// a reboot drops mutexes and mappings and keeps files.
struct FakeMachine {
    struct Mutex {
        int pid = 0;
        std::thread::id thread;
        int count = 0;  // owned while above 0, by that thread of that process
        bool abandoned = false;
        int handles = 0;
    };
    struct Mapping {
        std::shared_ptr<FakeFile> file;
        int refs = 0;
        std::string owner;  // the user who made it
    };

    // The process dies: the mutexes its threads own become abandoned.
    void Kill(int pid);
    void Reboot();

    void PutFile(const std::string& path, const std::vector<std::uint8_t>& bytes);
    std::shared_ptr<FakeFile> File(const std::string& path);
    std::vector<std::uint8_t> FileBytes(const std::string& path);
    bool MutexExists(const std::string& name);
    bool MutexOwned(const std::string& name);
    bool HasMappings();

    std::set<std::string> directories;
    std::uint32_t clock = 0x5F000000;
    // A wait lasts this many real milliseconds per second asked for, so a
    // 30 s time-out is over in 30 ms.
    std::uint32_t waitMsPerSecond = 1;

    std::mutex lock;
    std::condition_variable released;
    std::map<std::string, Mutex> mutexes;
    std::map<std::string, Mapping> mappings;
    std::map<std::string, std::shared_ptr<FakeFile>> files;
};

// One process of the fake machine. Views are real mappings of the file with
// inaccessible address space after them (more than any 32-bit offset plus
// size reaches) and are made inaccessible when unmapped, so a stray or late
// access faults as it would on Windows. Mutexes are owned per thread.
class FakeSharedObjects : public SharedObjects {
public:
    FakeSharedObjects(FakeMachine& machine, int pid) : machine_(machine), pid_(pid) {}
    ~FakeSharedObjects() override;

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
    std::uint32_t UnixTime() override { return machine_.clock; }
    void Out(const std::string& text) override;
    void Err(const std::string& text) override;
    void Trace(const char* call, int line, unsigned long status) override;

    // What the process printed and traced, and the time-outs of its last waits.
    std::string Output();
    std::string Errors();
    std::vector<std::string> Traces();
    std::vector<std::uint32_t> WaitTimeouts();

    int flushes = 0;
    bool failMapFile = false;
    // Called right after this process takes a mutex and after each flush:
    // where the writes of a process that ignores the mutex can be put.
    std::function<void()> interleave;
    // Standard users (and administrators without elevation) may not create
    // a file mapping in the Global\ namespace; opening one works.
    bool mayCreateGlobal = true;
    // The user the process runs as: files and mappings it makes are that
    // user's. "Administrators" and "SYSTEM" stand for those owners.
    std::string user = "user";

private:
    struct View {
        std::shared_ptr<FakeFile> file;
        std::string mapping;  // empty for the debug file
        void* reserved = nullptr;
        std::size_t reservedLength = 0;
        std::shared_ptr<FakeFile> opened;  // the file this process opened, if it did
    };
    WaitResult WaitLocked(ObjHandle mutex, std::uint32_t timeoutMs);
    bool MapView(const std::shared_ptr<FakeFile>& file, std::uint64_t size, bool writable,
                 const std::string& mapping, MappedView* view);

    FakeMachine& machine_;
    int pid_;
    std::map<ObjHandle, std::string> mutexHandles_;
    std::map<ObjHandle, View> views_;
    ObjHandle next_ = 0x100;

    std::mutex printLock_;
    std::string out_, err_;
    std::vector<std::string> traces_;
    std::array<std::uint32_t, 64> waitTimeouts_{};
    std::size_t waits_ = 0;
};

}  // namespace korvant::testing
