// The areas of a process: settings, attaching, flushing and statistics.
#include "libkorvant/SharedCache.h"

#include <cstdio>
#include <cstring>

namespace korvant {

namespace {

constexpr int kHostData = 16;
constexpr int kProductHome = 8;
constexpr int kShmemTotalAreaSize = 45;

std::string ReadString(RegistryStore& store, int index) {
    char buffer[1024] = {};
    std::uint32_t size = sizeof buffer;
    if (store.GetParam(index, &size, buffer, nullptr) != 0) {
        return std::string();
    }
    return buffer;
}

}  // namespace

CacheSettings ReadCacheSettings(Platform& platform, RegistryStore& store, SystemInfo& system,
                                const std::string& userSid) {
    std::string base = ReadString(store, kHostData);
    if (base.empty()) {
        base = ReadString(store, kProductHome);
    }
    std::uint32_t size = 0;
    std::uint32_t sizeLength = sizeof size;
    const bool present = store.GetParam(kShmemTotalAreaSize, &sizeLength, &size, nullptr) == 0;
    const std::uint32_t total = AreaSizeFromParam(present, size);
    const bool prefix = system.HasGlobalPrefix();
    CacheSettings settings;
    settings.global = MakeAreaConfig(base, "", prefix, total);
    settings.privateIsGlobal = system.Win32Platform() != 2 || userSid.empty();
    settings.priv =
        settings.privateIsGlobal ? settings.global : MakeAreaConfig(base, userSid, prefix, total);
    if (base.empty()) {
        // Without the product's folder the file would land wherever the
        // process happens to run: no area then.
        settings.global.fileName.clear();
        settings.priv.fileName.clear();
    }
    std::string debug;
    if (platform.GetEnv("KORVA_DEBUG_SHMEM_FILE", &debug) && !debug.empty()) {
        settings.global.debugFile = debug;
        settings.priv = settings.global;
        settings.privateIsGlobal = true;
    }
    return settings;
}

AreaLease AreaLease::Share() const {
    if (cache_ == nullptr || area_ == nullptr) {
        return AreaLease();
    }
    cache_->AddUse(area_);
    return AreaLease(cache_, area_);
}

void AreaLease::Reset() {
    if (cache_ != nullptr && area_ != nullptr) {
        cache_->Release(area_);
    }
    cache_ = nullptr;
    area_ = nullptr;
}

// Under lock_.
const CacheSettings& SharedCache::Settings() {
    if (!haveSettings_) {
        settings_ = settingsSource_();
        haveSettings_ = true;
    }
    return settings_;
}

AreaLease SharedCache::Lease(bool global) {
    std::lock_guard<std::mutex> hold(lock_);
    const CacheSettings& settings = Settings();
    if (!global && settings.privateIsGlobal) {
        global = true;
    }
    std::unique_ptr<ShmemArea>& slot = global ? global_ : private_;
    if (!slot) {
        slot = std::make_unique<ShmemArea>(os_, global ? settings.global : settings.priv);
    }
    // The first use attaches; the area stays attached while any lease lives.
    if (!slot->Attach()) {
        return AreaLease();
    }
    ++(global ? globalRefs_ : privateRefs_);
    return AreaLease(this, slot.get());
}

void SharedCache::AddUse(ShmemArea* area) {
    std::lock_guard<std::mutex> hold(lock_);
    ++(area == global_.get() ? globalRefs_ : privateRefs_);
}

void SharedCache::Release(ShmemArea* area) {
    std::lock_guard<std::mutex> hold(lock_);
    const bool isGlobal = area == global_.get();
    int& refs = isGlobal ? globalRefs_ : privateRefs_;
    if (refs > 0 && --refs == 0) {
        area->Detach();
    }
}

bool SharedCache::HasPrivateArea() {
    std::lock_guard<std::mutex> hold(lock_);
    return !Settings().privateIsGlobal;
}

std::unique_ptr<PersistentHash> SharedCache::OpenTable(bool global, const char* uuid, int capacity,
                                                       int keySize, int dataSize, PhashHashFn hash,
                                                       PhashKeyCmpFn keyCmp, const char* name) {
    AreaLease lease = Lease(global);
    if (!lease) {
        return nullptr;
    }
    auto table = PersistentHash::Create(*lease, uuid, capacity, keySize, dataSize, hash, keyCmp,
                                        name, global);
    if (table) {
        table->Keep(std::move(lease));
    }
    return table;
}

bool SharedCache::FlushTables(bool global) {
    AreaLease lease = Lease(global);
    if (!lease || lease->ReadOnly() || !lease->Lock()) {
        return false;
    }
    for (const SubareaInfo& slot : lease->Slots()) {
        std::uint8_t* t = lease->Span(slot.offset, slot.size);
        PhashParams p;
        if (t != nullptr && PersistentHash::StoredParams(t, slot.size, &p)) {
            char name[table::kNameSize + 1] = {};
            std::memcpy(name, t + table::kName, table::kNameSize);
            PersistentHash::Build(t, p, name, Load32(t, table::kGlobal) == 1);
            lease->CommitRange(slot.offset, PersistentHash::TableBytes(p));
        }
    }
    lease->Unlock();
    return true;
}

std::string SharedCache::TableStatsText(ShmemArea& area) {
    std::string text =
        "\n------------------- Persistent Hash Table Statistics --------------------------\n"
        "      Table Name       Lookups    Hits  Enters Replaces Deletes    Size    Used\n";
    for (const SubareaInfo& slot : area.Slots()) {
        PhashStats s;
        const std::uint8_t* t = area.Span(slot.offset, slot.size);
        if (t == nullptr || !PersistentHash::ReadStats(t, slot.size, &s)) {
            continue;
        }
        const double used =
            (static_cast<double>(s.enters) - static_cast<double>(s.deletes)) * 100.0 / s.capacity;
        char line[256];
        std::snprintf(line, sizeof line, "%-22s %7d %7d %7d  %7d %7d %7d %6.2f%%\n", s.name.c_str(),
                      static_cast<int>(s.lookups), static_cast<int>(s.hits),
                      static_cast<int>(s.enters), static_cast<int>(s.replaces),
                      static_cast<int>(s.deletes), static_cast<int>(s.capacity), used);
        text += line;
    }
    return text;
}

void SharedCache::DisplayStats() {
    bool single = false;
    {
        std::lock_guard<std::mutex> hold(lock_);
        single = Settings().privateIsGlobal;
    }
    for (int pass = 0; pass < (single ? 1 : 2); ++pass) {
        const bool global = pass == 0;
        std::string text = "\n==========================================================\n";
        text += global ? "=====================  Global Cache  =====================\n"
                       : "=====================  Private Cache =====================\n";
        text += "==========================================================\n\n";
        os_.Out(text);
        AreaLease area = Lease(global);
        if (!area) {
            os_.Err(global ? "Can not attach to the global persistent hash table.\n"
                           : "Can not attach to the private persistent hash table.\n");
            os_.Out("Can not attach to the shared memory\n");
            continue;
        }
        switch (area->TryLock()) {
            case ShmemArea::LockResult::kLocked:
                break;
            case ShmemArea::LockResult::kDamaged:
                os_.Out("Data integrity check failed on the shared memory.\nPlease remove \"" +
                        area->Config().fileName + "\" and reboot.\n");
                continue;
            default:
                os_.Out("Can not lock the shared memory.\n");
                continue;
        }
        os_.Out(area->SummaryText() + TableStatsText(*area));
        area->Unlock();
    }
}

}  // namespace korvant
