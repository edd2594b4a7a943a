#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "libkorvant/AreaLease.h"
#include "libkorvant/PersistentHash.h"
#include "libkorvant/Platform.h"
#include "libkorvant/RegistryStore.h"
#include "libkorvant/ShmemArea.h"

namespace korvant {

// Where the two areas of a process live.
struct CacheSettings {
    AreaConfig global;
    AreaConfig priv;
    // Outside the NT family (and for a debug file) there is one area only.
    bool privateIsGlobal = false;
};

// The settings from the registry and the environment: the base directory
// (HostData, else ProductHome), the area size, the debug file and the
// user's SID string for the private names.
CacheSettings ReadCacheSettings(Platform& platform, RegistryStore& store, SystemInfo& system,
                                const std::string& userSid);

// The areas of one process, attached while anything uses them, and the
// operations that span every table of an area. Threads of the process may
// lease, use and let go of areas at the same time.
class SharedCache {
public:
    SharedCache(SharedObjects& os, std::function<CacheSettings()> settings)
        : os_(os), settingsSource_(std::move(settings)) {}

    // A use of the area of that kind, attached for it; empty when the area
    // cannot be attached. Where the process has no area of its own (outside
    // the NT family, no user SID, a debug file) the private kind is the
    // global area.
    AreaLease Lease(bool global);
    // Whether private tables would be the process's own and no one else's.
    bool HasPrivateArea();
    // Builds or attaches a table in the area of that kind; the table keeps
    // the area mapped until it is destroyed.
    std::unique_ptr<PersistentHash> OpenTable(bool global, const char* uuid, int capacity,
                                              int keySize, int dataSize, PhashHashFn hash,
                                              PhashKeyCmpFn keyCmp, const char* name);
    // Empties every table of the area; false when it cannot be attached or locked.
    bool FlushTables(bool global);
    // The statistics of both areas (standard output), failures on standard error.
    void DisplayStats();
    // Under the area's lock: the table lines of the statistics.
    std::string TableStatsText(ShmemArea& area);

private:
    friend class AreaLease;
    const CacheSettings& Settings();
    void AddUse(ShmemArea* area);
    void Release(ShmemArea* area);

    SharedObjects& os_;
    std::function<CacheSettings()> settingsSource_;
    std::mutex lock_;
    bool haveSettings_ = false;
    CacheSettings settings_;
    std::unique_ptr<ShmemArea> global_;
    std::unique_ptr<ShmemArea> private_;
    int globalRefs_ = 0;
    int privateRefs_ = 0;
};

}  // namespace korvant
