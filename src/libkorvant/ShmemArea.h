#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "libkorvant/SharedObjects.h"
#include "libkorvant/ShmemLayout.h"

namespace korvant {

// Names, file and size of one area.
struct AreaConfig {
    std::string mutexName;
    std::string mappingName;
    std::string fileName;
    std::uint32_t totalSize = area::kDefaultSize;
    bool global = true;
    // Non-empty: this file is mapped read-only instead of the shared area.
    std::string debugFile;
};

// The area size from ShmemTotalAreaSize: used only when present and inside
// the accepted range.
std::uint32_t AreaSizeFromParam(bool present, std::uint32_t value);
// Mutex, mapping and file names of the global area (userSid empty) or of a
// user's private area; without the "Global\" namespace the prefix is left off.
AreaConfig MakeAreaConfig(const std::string& base, const std::string& userSid, bool hasGlobalPrefix,
                          std::uint32_t totalSize);

struct SubareaInfo {
    int index = -1;
    Uuid id;
    std::uint32_t offset = 0;
    std::uint32_t size = 0;
};

// One shared area: a file-backed named mapping with a header and up to 24
// sub-areas, guarded by a named mutex. The mapping is written by every
// process of the machine (and by any of them without taking the mutex), so
// whoever takes the lock copies the header into process memory, checks the
// copy and from then on reads offsets, sizes and counts only from it; every
// range handed out is bounded by the view in 64-bit arithmetic.
//
// The mutex is owned per thread: threads of one process exclude each other
// as processes do, and the copy belongs to the thread holding the lock.
class ShmemArea {
public:
    ShmemArea(SharedObjects& os, AreaConfig config) : os_(os), config_(std::move(config)) {}
    ~ShmemArea() { Detach(); }
    ShmemArea(const ShmemArea&) = delete;
    ShmemArea& operator=(const ShmemArea&) = delete;

    // Attaches once; false (with the message printed) when it cannot.
    bool Attach();
    void Detach();
    bool Attached() const { return view_.base != nullptr; }
    bool ReadOnly() const { return view_.readOnly; }
    const AreaConfig& Config() const { return config_; }

    enum class LockResult { kLocked, kTimeout, kDamaged, kFailed };
    // Takes the mutex (30 s, an abandoned mutex counts as taken; after a
    // time-out, later calls only try it until it is taken again) and, when
    // this thread did not hold it already, copies and checks the header.
    // Anything but kLocked leaves the mutex released.
    LockResult TryLock();
    bool Lock() { return TryLock() == LockResult::kLocked; }
    // Releases one Lock() of this thread; a thread that does not hold the
    // lock releases nothing.
    void Unlock();

    // Under the lock, from the checked copy: a slot by identifier.
    bool FindSubarea(const Uuid& id, SubareaInfo* info) const;
    // Whether a sub-area found under the identifier may be smaller than asked.
    enum class Existing { kAtLeastAsked, kAnySize };
    // Finds the slot or allocates `size` bytes for it (takes the lock). An
    // existing sub-area smaller than `size` is refused unless kAnySize.
    bool CreateSubarea(const Uuid& id, std::uint32_t size, SubareaInfo* info,
                       Existing existing = Existing::kAtLeastAsked);
    // Under the lock, from the checked copy: the slots in use.
    std::vector<SubareaInfo> Slots() const;

    // The bytes [offset, offset + size) of the view, null when they are not
    // all inside it.
    std::uint8_t* Span(std::uint64_t offset, std::uint64_t size);
    std::uint64_t ViewSize() const { return view_.size; }
    bool Commit();
    bool CommitRange(std::uint64_t offset, std::uint64_t size);

    // Under the lock: the "Shared Memory Area Statistics" block.
    std::string SummaryText() const;

    static bool HeaderValid(const std::uint8_t* base, std::uint64_t viewSize,
                            std::uint32_t expectedTotal);
    static void WriteFreshHeader(std::uint8_t* base, std::uint32_t totalSize, std::uint32_t now);

    static constexpr std::uint32_t kWaitMs = 30000;

private:
    LockResult WaitForMutex();
    void CopyHeader();
    bool MapArea(std::uint64_t mapSize, bool* created);
    bool OwnArea();
    void IntegrityMessage();
    std::uint32_t ExpectedTotal() const {
        return config_.debugFile.empty() ? config_.totalSize : 0;
    }
    std::uint32_t Field(std::uint32_t offset) const { return Load32(header_.data(), offset); }

    SharedObjects& os_;
    AreaConfig config_;
    ObjHandle mutex_ = 0;
    MappedView view_;

    // The read-only debug view has no named mutex; its threads take this.
    std::recursive_timed_mutex local_;
    // Set by a time-out, cleared when the mutex is taken again.
    std::atomic<bool> skipWaits_{false};
    // The thread holding the lock, how often it took it, and its copy.
    std::atomic<std::thread::id> owner_{};
    int depth_ = 0;
    std::array<std::uint8_t, area::kHeaderSize> header_{};
    // Lack of the right to create Global\ mappings is traced once.
    bool globalDenied_ = false;
    // So is a user's own area that another user made.
    bool foreignReported_ = false;
};

}  // namespace korvant
