#pragma once

#include <cstdint>
#include <string>
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
// process of the machine and survives on disk, so the header is checked
// whenever the mutex is taken and every offset is bounded by the view.
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

    // Takes the mutex (30 s, an abandoned mutex counts as taken) and checks
    // the header; false, with the mutex released, when either fails.
    bool Lock();
    void Unlock();

    // Under the lock: a slot by identifier.
    bool FindSubarea(const Uuid& id, SubareaInfo* info);
    // Finds the slot or allocates `size` bytes for it (takes the lock).
    bool CreateSubarea(const Uuid& id, std::uint32_t size, SubareaInfo* info);
    // Under the lock: the slots in use.
    std::vector<SubareaInfo> Slots();

    std::uint8_t* Base() { return view_.base; }
    std::uint64_t ViewSize() const { return view_.size; }
    bool Commit();
    bool CommitRange(std::uint64_t offset, std::uint64_t size);

    // The "Shared Memory Area Statistics" block.
    std::string SummaryText();

    static bool HeaderValid(const std::uint8_t* base, std::uint64_t viewSize,
                            std::uint32_t expectedTotal);
    static void WriteFreshHeader(std::uint8_t* base, std::uint32_t totalSize, std::uint32_t now);

    static constexpr std::uint32_t kWaitMs = 30000;

private:
    bool WaitForMutex();
    void IntegrityMessage();
    std::uint32_t ExpectedTotal() const {
        return config_.debugFile.empty() ? config_.totalSize : 0;
    }

    SharedObjects& os_;
    AreaConfig config_;
    ObjHandle mutex_ = 0;
    MappedView view_;
};

}  // namespace korvant
