#include "libkorvant/FakeSharedObjects.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <deque>

namespace korvant::testing {

namespace {

constexpr long kErrAccessDenied = 5;
constexpr long kErrFileNotFound = 2;
constexpr long kErrInvalidData = 13;
constexpr long kErrUserMappedFile = 1224;

// Address space kept inaccessible after a view: more than the largest
// 32-bit offset plus the largest 32-bit size.
constexpr std::uint64_t kGuardAfter = std::uint64_t{1} << 33;

std::size_t PageSize() {
    static const std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    return page;
}

// Unmapped views stay inaccessible for a while, so that a late access
// faults instead of reaching whatever is mapped there next.
struct Quarantine {
    std::mutex lock;
    std::deque<std::pair<void*, std::size_t>> reservations;
    void Add(void* start, std::size_t length) {
        std::lock_guard<std::mutex> hold(lock);
        reservations.emplace_back(start, length);
        while (reservations.size() > 16) {
            munmap(reservations.front().first, reservations.front().second);
            reservations.pop_front();
        }
    }
};

Quarantine& TheQuarantine() {
    static Quarantine* quarantine = new Quarantine;  // outlives every process object
    return *quarantine;
}

bool IsGlobalName(const std::string& name) {
    return name.rfind("Global\\", 0) == 0;
}

}  // namespace

void FakeMachine::Kill(int pid) {
    std::lock_guard<std::mutex> hold(lock);
    for (auto& [name, mutex] : mutexes) {
        if (mutex.count > 0 && mutex.pid == pid) {
            mutex.count = 0;
            mutex.abandoned = true;
        }
    }
    released.notify_all();
}

void FakeMachine::Reboot() {
    std::lock_guard<std::mutex> hold(lock);
    mutexes.clear();
    mappings.clear();
}

void FakeMachine::PutFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    auto file = std::make_shared<FakeFile>(bytes);
    std::lock_guard<std::mutex> hold(lock);
    files[path] = file;
}

std::shared_ptr<FakeFile> FakeMachine::File(const std::string& path) {
    std::lock_guard<std::mutex> hold(lock);
    auto it = files.find(path);
    return it == files.end() ? nullptr : it->second;
}

std::vector<std::uint8_t> FakeMachine::FileBytes(const std::string& path) {
    auto file = File(path);
    return file ? file->Bytes() : std::vector<std::uint8_t>();
}

bool FakeMachine::MutexExists(const std::string& name) {
    std::lock_guard<std::mutex> hold(lock);
    return mutexes.count(name) != 0;
}

bool FakeMachine::MutexOwned(const std::string& name) {
    std::lock_guard<std::mutex> hold(lock);
    auto it = mutexes.find(name);
    return it != mutexes.end() && it->second.count > 0;
}

bool FakeMachine::HasMappings() {
    std::lock_guard<std::mutex> hold(lock);
    return !mappings.empty();
}

FakeSharedObjects::~FakeSharedObjects() {
    // A process that ends unmaps what it left mapped.
    while (true) {
        MappedView view;
        {
            std::lock_guard<std::mutex> hold(machine_.lock);
            if (views_.empty()) {
                break;
            }
            view.mapping = views_.begin()->first;
        }
        Unmap(&view);
    }
}

ObjHandle FakeSharedObjects::CreateOwnedMutex(const std::string& name, bool, bool* existed) {
    std::lock_guard<std::mutex> hold(machine_.lock);
    auto it = machine_.mutexes.find(name);
    *existed = it != machine_.mutexes.end();
    FakeMachine::Mutex& mutex = machine_.mutexes[name];
    if (!*existed) {
        mutex.pid = pid_;
        mutex.thread = std::this_thread::get_id();
        mutex.count = 1;
    }
    ++mutex.handles;
    const ObjHandle handle = next_++;
    mutexHandles_[handle] = name;
    return handle;
}

WaitResult FakeSharedObjects::Wait(ObjHandle handle, std::uint32_t timeoutMs) {
    const WaitResult result = WaitLocked(handle, timeoutMs);
    if (interleave && (result == WaitResult::kTaken || result == WaitResult::kAbandoned)) {
        interleave();
    }
    return result;
}

WaitResult FakeSharedObjects::WaitLocked(ObjHandle handle, std::uint32_t timeoutMs) {
    std::unique_lock<std::mutex> hold(machine_.lock);
    // The last few are enough for any test; a benchmark waits millions of times.
    waitTimeouts_[waits_++ % waitTimeouts_.size()] = timeoutMs;
    auto it = mutexHandles_.find(handle);
    auto found =
        it == mutexHandles_.end() ? machine_.mutexes.end() : machine_.mutexes.find(it->second);
    if (found == machine_.mutexes.end()) {
        return WaitResult::kFailed;
    }
    FakeMachine::Mutex& mutex = found->second;  // map entries stay where they are
    const std::thread::id me = std::this_thread::get_id();
    std::chrono::steady_clock::time_point deadline;
    bool waited = false;
    while (true) {
        if (mutex.count > 0 && mutex.pid == pid_ && mutex.thread == me) {
            ++mutex.count;
            return WaitResult::kTaken;
        }
        if (mutex.count == 0) {
            mutex.pid = pid_;
            mutex.thread = me;
            mutex.count = 1;
            if (mutex.abandoned) {
                mutex.abandoned = false;
                return WaitResult::kAbandoned;
            }
            return WaitResult::kTaken;
        }
        if (!waited) {
            waited = true;
            deadline =
                std::chrono::steady_clock::now() +
                std::chrono::microseconds(std::uint64_t{timeoutMs} * machine_.waitMsPerSecond);
        }
        if (machine_.released.wait_until(hold, deadline) == std::cv_status::timeout &&
            mutex.count > 0) {
            return WaitResult::kTimeout;
        }
    }
}

void FakeSharedObjects::Release(ObjHandle handle) {
    std::lock_guard<std::mutex> hold(machine_.lock);
    auto it = mutexHandles_.find(handle);
    if (it == mutexHandles_.end()) {
        return;
    }
    auto found = machine_.mutexes.find(it->second);
    if (found == machine_.mutexes.end()) {
        return;
    }
    FakeMachine::Mutex& mutex = found->second;
    // Only the owning thread can release, as ReleaseMutex demands.
    if (mutex.count > 0 && mutex.pid == pid_ && mutex.thread == std::this_thread::get_id() &&
        --mutex.count == 0) {
        machine_.released.notify_all();
    }
}

void FakeSharedObjects::CloseMutex(ObjHandle handle) {
    std::lock_guard<std::mutex> hold(machine_.lock);
    auto it = mutexHandles_.find(handle);
    if (it == mutexHandles_.end()) {
        return;
    }
    auto m = machine_.mutexes.find(it->second);
    if (m != machine_.mutexes.end() && --m->second.handles == 0 && m->second.count == 0) {
        machine_.mutexes.erase(m);
    }
    mutexHandles_.erase(it);
}

// Under the machine's lock.
bool FakeSharedObjects::MapView(const std::shared_ptr<FakeFile>& file, std::uint64_t size,
                                bool writable, const std::string& mapping, MappedView* view) {
    const std::size_t page = PageSize();
    const std::size_t rounded = (size + page - 1) / page * page;
    const std::size_t length = page + rounded + kGuardAfter;
    void* reserved =
        mmap(nullptr, length, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (reserved == MAP_FAILED) {
        return false;
    }
    auto* base = static_cast<std::uint8_t*>(reserved) + page;
    if (mmap(base, size, writable ? PROT_READ | PROT_WRITE : PROT_READ, MAP_SHARED | MAP_FIXED,
             file->Descriptor(), 0) == MAP_FAILED) {
        munmap(reserved, length);
        return false;
    }
    ++file->views;
    view->base = base;
    view->size = size;
    view->readOnly = !writable;
    view->mapping = next_++;
    view->file = 0;
    views_[view->mapping] = View{file, mapping, reserved, length, nullptr};
    return true;
}

bool FakeSharedObjects::OpenMapping(const std::string& name, std::uint64_t size, MappedView* view) {
    std::lock_guard<std::mutex> hold(machine_.lock);
    auto it = machine_.mappings.find(name);
    if (it == machine_.mappings.end() || it->second.file->Size() < size) {
        return false;
    }
    if (!MapView(it->second.file, size, true, name, view)) {
        return false;
    }
    ++it->second.refs;
    return true;
}

long FakeSharedObjects::MapFile(const std::string& path, const std::string& name,
                                std::uint64_t size, bool readOnly, bool, MappedView* view,
                                bool* created) {
    std::lock_guard<std::mutex> hold(machine_.lock);
    *created = false;
    if (failMapFile) {
        return kErrAccessDenied;
    }
    auto it = machine_.files.find(path);
    if (readOnly) {
        if (it == machine_.files.end()) {
            return kErrFileNotFound;
        }
        const std::uint64_t whole = it->second->Size();
        if (whole == 0) {
            return kErrInvalidData;
        }
        return MapView(it->second, whole, false, "", view) ? 0 : kErrInvalidData;
    }
    if (it == machine_.files.end()) {
        it = machine_.files.emplace(path, std::make_shared<FakeFile>()).first;
        it->second->owner = user;
        *created = true;
    }
    std::shared_ptr<FakeFile> file = it->second;
    if (file->Size() < size && !file->Resize(size)) {
        return kErrUserMappedFile;
    }
    auto mapping = machine_.mappings.find(name);
    if (mapping == machine_.mappings.end()) {
        if (IsGlobalName(name) && !mayCreateGlobal) {
            return kErrAccessDenied;
        }
        mapping = machine_.mappings.emplace(name, FakeMachine::Mapping{file, 0, user}).first;
    }
    if (!MapView(mapping->second.file, size, true, name, view)) {
        if (mapping->second.refs == 0) {
            machine_.mappings.erase(mapping);
        }
        return kErrInvalidData;
    }
    ++mapping->second.refs;
    // The file this process opened, which may not be the one behind a
    // mapping another process made first under this name.
    views_[view->mapping].opened = file;
    return 0;
}

bool FakeSharedObjects::MadeByThisUser(const MappedView& view) {
    std::lock_guard<std::mutex> hold(machine_.lock);
    auto trusted = [&](const std::string& owner) {
        return owner == user || owner == "Administrators" || owner == "SYSTEM";
    };
    auto it = views_.find(view.mapping);
    if (it == views_.end()) {
        return false;
    }
    if (it->second.opened && !trusted(it->second.opened->owner)) {
        return false;
    }
    auto mapping = machine_.mappings.find(it->second.mapping);
    return mapping == machine_.mappings.end() || trusted(mapping->second.owner);
}

bool FakeSharedObjects::Flush(const MappedView& view, std::uint64_t offset, std::uint64_t size) {
    {
        std::lock_guard<std::mutex> hold(machine_.lock);
        ++flushes;
    }
    if (interleave) {
        interleave();
    }
    return !view.readOnly && offset <= view.size && size <= view.size - offset;
}

void FakeSharedObjects::Unmap(MappedView* view) {
    std::lock_guard<std::mutex> hold(machine_.lock);
    auto it = views_.find(view->mapping);
    if (it == views_.end()) {
        *view = MappedView();
        return;
    }
    View& v = it->second;
    const std::size_t page = PageSize();
    // The pages become inaccessible at once; the address space is given
    // back only after a while.
    mmap(static_cast<std::uint8_t*>(v.reserved) + page, v.reservedLength - page, PROT_NONE,
         MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED | MAP_NORESERVE, -1, 0);
    TheQuarantine().Add(v.reserved, v.reservedLength);
    --v.file->views;
    if (!v.mapping.empty()) {
        auto m = machine_.mappings.find(v.mapping);
        if (m != machine_.mappings.end() && --m->second.refs == 0) {
            machine_.mappings.erase(m);
        }
    }
    views_.erase(it);
    *view = MappedView();
}

bool FakeSharedObjects::IsDirectory(const std::string& path) {
    std::lock_guard<std::mutex> hold(machine_.lock);
    return machine_.directories.count(path) != 0;
}

void FakeSharedObjects::Out(const std::string& text) {
    std::lock_guard<std::mutex> hold(printLock_);
    out_ += text;
}

void FakeSharedObjects::Err(const std::string& text) {
    std::lock_guard<std::mutex> hold(printLock_);
    err_ += text;
}

void FakeSharedObjects::Trace(const char* call, int, unsigned long status) {
    std::lock_guard<std::mutex> hold(printLock_);
    traces_.push_back(std::string(call) + " " + std::to_string(status));
}

std::string FakeSharedObjects::Output() {
    std::lock_guard<std::mutex> hold(printLock_);
    return out_;
}

std::string FakeSharedObjects::Errors() {
    std::lock_guard<std::mutex> hold(printLock_);
    return err_;
}

std::vector<std::string> FakeSharedObjects::Traces() {
    std::lock_guard<std::mutex> hold(printLock_);
    return traces_;
}

std::vector<std::uint32_t> FakeSharedObjects::WaitTimeouts() {
    std::lock_guard<std::mutex> hold(machine_.lock);
    std::vector<std::uint32_t> last;
    const std::size_t n = std::min<std::size_t>(waits_, waitTimeouts_.size());
    for (std::size_t i = waits_ - n; i < waits_; ++i) {
        last.push_back(waitTimeouts_[i % waitTimeouts_.size()]);
    }
    return last;
}

}  // namespace korvant::testing
