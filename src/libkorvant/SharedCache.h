#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <string>

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

// The areas of one process, attached on first use, and the operations that
// span every table of an area.
class SharedCache {
public:
    SharedCache(SharedObjects& os, std::function<CacheSettings()> settings)
        : os_(os), settingsSource_(std::move(settings)) {}

    // The attached area of that kind, or null.
    ShmemArea* Area(bool global);
    // Area() counted for a user that keeps it (a table handle, an area
    // handle); the area is detached when the last one lets go.
    ShmemArea* Acquire(bool global);
    void Release(ShmemArea* area);
    // Empties every table of the area; false when it cannot be attached or locked.
    bool FlushTables(bool global);
    // The statistics of both areas (standard output), failures on standard error.
    void DisplayStats();
    std::string TableStatsText(ShmemArea& area);
    // Detaches both areas (tests simulating a process end).
    void Reset();

private:
    const CacheSettings& Settings();

    SharedObjects& os_;
    std::function<CacheSettings()> settingsSource_;
    bool haveSettings_ = false;
    CacheSettings settings_;
    std::unique_ptr<ShmemArea> global_;
    std::unique_ptr<ShmemArea> private_;
    int globalRefs_ = 0;
    int privateRefs_ = 0;
    std::recursive_mutex lock_;
};

}  // namespace korvant
