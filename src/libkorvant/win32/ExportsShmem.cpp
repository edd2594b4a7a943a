// The shared area (shmem_*) and persistent hash table (phash_*) exports.
#include <windows.h>

#include <cstdio>

#include "libkorvant/PersistentHash.h"
#include "libkorvant/libkorvant.h"
#include "libkorvant/win32/Library.h"

using namespace korvant;
using namespace korvant::win32;

// Every handle holds its own use of the area: the area stays mapped until
// the last handle of the process is closed, whichever thread closes it.
struct shmem_area {
    AreaLease lease;
};
struct shmem_subarea {
    AreaLease lease;
    SubareaInfo info;
};
struct phash_table {
    std::unique_ptr<PersistentHash> table;
};

namespace {

ShmemArea* AreaOf(SHMEM_AREA handle) {
    return handle != nullptr ? handle->lease.get() : nullptr;
}

}  // namespace

KORVANT_EXPORT SHMEM_AREA shmem_create_area(int global) {
    AreaLease lease = TheCache().Lease(global != 0);
    return lease ? new shmem_area{std::move(lease)} : nullptr;
}

KORVANT_EXPORT void shmem_free_area(SHMEM_AREA area) {
    delete area;
}

KORVANT_EXPORT int shmem_commit_area(SHMEM_AREA area) {
    return area != nullptr && AreaOf(area)->Commit() ? 1 : 0;
}

KORVANT_EXPORT int shmem_is_area_readonly(SHMEM_AREA area) {
    return area != nullptr && AreaOf(area)->ReadOnly() ? 1 : 0;
}

KORVANT_EXPORT SHMEM_SUBAREA shmem_create_subarea(SHMEM_AREA area, const char* uuid, DWORD size) {
    Uuid id;
    SubareaInfo info;
    if (area == nullptr || !ParseUuid(uuid, &id) || !AreaOf(area)->CreateSubarea(id, size, &info)) {
        return nullptr;
    }
    return new shmem_subarea{area->lease.Share(), info};
}

KORVANT_EXPORT void shmem_free_subarea(SHMEM_SUBAREA subarea) {
    delete subarea;
}

KORVANT_EXPORT int shmem_commit_subarea(SHMEM_SUBAREA subarea) {
    return subarea != nullptr &&
                   subarea->lease->CommitRange(subarea->info.offset, subarea->info.size)
               ? 1
               : 0;
}

KORVANT_EXPORT void* shmem_get_subarea_addr(SHMEM_SUBAREA subarea) {
    return subarea != nullptr ? subarea->lease->Span(subarea->info.offset, subarea->info.size)
                              : nullptr;
}

KORVANT_EXPORT DWORD shmem_get_subarea_size(SHMEM_SUBAREA subarea) {
    return subarea != nullptr ? subarea->info.size : 0;
}

KORVANT_EXPORT int shmem_walk_subarea_info(SHMEM_AREA area, shmem_walk_fn callback, void* context) {
    if (area == nullptr || callback == nullptr || !AreaOf(area)->Lock()) {
        return -1;
    }
    const std::vector<SubareaInfo> slots = AreaOf(area)->Slots();
    AreaOf(area)->Unlock();
    int walked = 0;
    for (const SubareaInfo& slot : slots) {
        ++walked;
        if (callback(slot.index, FormatUuid(slot.id).c_str(), slot.offset, slot.size, context) ==
            0) {
            break;
        }
    }
    return walked;
}

KORVANT_EXPORT int shmem_lock_area_mutex(SHMEM_AREA area) {
    return area != nullptr && AreaOf(area)->Lock() ? 1 : 0;
}

KORVANT_EXPORT void shmem_unlock_area_mutex(SHMEM_AREA area) {
    if (area != nullptr) {
        AreaOf(area)->Unlock();
    }
}

KORVANT_EXPORT int shmem_lock_mutex(HANDLE mutex, const char* name) {
    const DWORD result = WaitForSingleObject(mutex, ShmemArea::kWaitMs);
    if (result == WAIT_OBJECT_0 || result == WAIT_ABANDONED) {
        return 1;
    }
    if (result == WAIT_TIMEOUT) {
        std::fprintf(stderr,
                     "Internal error: shmem_win32_lock_area_mutex(%s) timed out waiting for "
                     "mutex.\nReboot if this problem persists.\n",
                     name != nullptr ? name : "");
    }
    return 0;
}

KORVANT_EXPORT void shmem_unlock_mutex(HANDLE mutex) {
    ReleaseMutex(mutex);
}

KORVANT_EXPORT int phash_create(const char* uuid, int capacity, int keySize, int dataSize,
                                phash_hash_fn hash, phash_keycmp_fn keyCmp, const char* name,
                                int global, PHASH_HANDLE* out) {
    if (out == nullptr) {
        return 0;
    }
    *out = nullptr;
    auto table =
        TheCache().OpenTable(global != 0, uuid, capacity, keySize, dataSize, hash, keyCmp, name);
    if (!table) {
        return 0;
    }
    *out = new phash_table{std::move(table)};
    return 1;
}

KORVANT_EXPORT int phash_lookup(PHASH_HANDLE h, const void* key, void* data, int* length) {
    return h != nullptr && h->table->Lookup(key, data, length) ? 1 : 0;
}

KORVANT_EXPORT int phash_enter(PHASH_HANDLE h, const void* key, const void* data, int length) {
    return h != nullptr && h->table->Enter(key, data, length) ? 1 : 0;
}

KORVANT_EXPORT int phash_delete(PHASH_HANDLE h, const void* key) {
    return h != nullptr && h->table->Delete(key) ? 1 : 0;
}

KORVANT_EXPORT int phash_next(PHASH_HANDLE h, void* key, void* data) {
    return h != nullptr && h->table->Next(key, data) ? 1 : 0;
}

KORVANT_EXPORT void phash_term_scan(PHASH_HANDLE h) {
    if (h != nullptr) {
        h->table->TermScan();
    }
}

KORVANT_EXPORT int phash_lock(PHASH_HANDLE h) {
    return h != nullptr && h->table->Lock() ? 1 : 0;
}

KORVANT_EXPORT void phash_unlock(PHASH_HANDLE h) {
    if (h != nullptr) {
        h->table->Unlock();
    }
}

KORVANT_EXPORT void phash_close(PHASH_HANDLE h) {
    delete h;  // the table lets go of its area
}

KORVANT_EXPORT int phash_flush_global_tables(void) {
    return TheCache().FlushTables(true) ? 1 : 0;
}

KORVANT_EXPORT int phash_flush_private_tables(void) {
    return TheCache().FlushTables(false) ? 1 : 0;
}

KORVANT_EXPORT void phash_display_stats(void) {
    TheCache().DisplayStats();
}

KORVANT_EXPORT unsigned int phash_str_hash_fn(const void* key, int keySize) {
    return PhashStrHash(key, keySize);
}

KORVANT_EXPORT int phash_str_keycmp_fn(const void* a, const void* b, int keySize) {
    return PhashStrKeyCmp(a, b, keySize);
}

KORVANT_EXPORT unsigned int phash_int_hash_fn(const void* key, int keySize) {
    return PhashIntHash(key, keySize);
}

KORVANT_EXPORT int phash_int_keycmp_fn(const void* a, const void* b, int keySize) {
    return PhashIntKeyCmp(a, b, keySize);
}

KORVANT_EXPORT unsigned int phash_sid_hash_fn(const void* key, int keySize) {
    return PhashSidHash(key, keySize);
}

KORVANT_EXPORT int phash_sid_keycmp_fn(const void* a, const void* b, int keySize) {
    return PhashSidKeyCmp(a, b, keySize);
}
