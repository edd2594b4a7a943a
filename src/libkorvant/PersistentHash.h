#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "libkorvant/AreaLease.h"
#include "libkorvant/ShmemArea.h"

namespace korvant {

// Hash and key comparison of a table; a comparison answers 1 for equal.
// Both are given the table's key size and read no further.
using PhashHashFn = std::uint32_t (*)(const void* key, int keySize);
using PhashKeyCmpFn = int (*)(const void* a, const void* b, int keySize);

std::uint32_t PhashStrHash(const void* key, int keySize);
int PhashStrKeyCmp(const void* a, const void* b, int keySize);
std::uint32_t PhashIntHash(const void* key, int keySize);
int PhashIntKeyCmp(const void* a, const void* b, int keySize);
std::uint32_t PhashSidHash(const void* key, int keySize);
int PhashSidKeyCmp(const void* a, const void* b, int keySize);

struct PhashParams {
    std::uint32_t capacity = 0;
    std::uint32_t keySize = 0;
    std::uint32_t dataSize = 0;
};

struct PhashStats {
    std::string name;
    std::uint32_t lookups = 0, hits = 0, enters = 0, replaces = 0, deletes = 0, capacity = 0;
};

// A fixed-size chained hash table in a sub-area of a shared area. Every
// call takes the area mutex. Where the table lies and its geometry come from
// the handle, never again from the mapping; every index read from the table
// is checked where it is followed, and a table found damaged (on attaching,
// or by any call) is emptied (writable area) or refused (read-only area).
class PersistentHash {
public:
    static std::uint32_t BucketCountFor(std::uint32_t capacity);
    static std::uint64_t EntrySizeFor(std::uint32_t keySize, std::uint32_t dataSize);
    static std::uint64_t TableBytes(const PhashParams& p);

    // Attaches the table stored under the identifier, or builds it. Null
    // when the arguments, the area or a stored table of other key or data
    // size do not allow it.
    static std::unique_ptr<PersistentHash> Create(ShmemArea& area, const char* uuid, int capacity,
                                                  int keySize, int dataSize, PhashHashFn hash,
                                                  PhashKeyCmpFn keyCmp, const char* name,
                                                  bool global);

    // *length in: the buffer size; out: the table's data size. True when
    // found and the whole data fitted.
    bool Lookup(const void* key, void* data, int* length);
    bool Enter(const void* key, const void* data, int length);
    bool Delete(const void* key);
    // The next entry in use after the scan cursor; false at the end.
    bool Next(void* key, void* data);
    void TermScan() { cursor_ = 0; }
    bool Lock();
    void Unlock() { area_.Unlock(); }
    // Empties the table.
    bool Flush();
    bool Stats(PhashStats* stats);

    const PhashParams& Params() const { return p_; }
    ShmemArea& Area() { return area_; }
    // The table keeps its area mapped until it is closed.
    void Keep(AreaLease lease) { lease_ = std::move(lease); }

    // Raw table helpers, also used by the flush of a whole area and by the
    // audits of the tests.
    static void Build(std::uint8_t* t, const PhashParams& p, const char* name, bool global);
    static bool StoredParams(const std::uint8_t* t, std::uint64_t size, PhashParams* p);
    static bool ReadStats(const std::uint8_t* t, std::uint64_t size, PhashStats* stats);
    // Checks every invariant of a stored table: "" when sound, else the fault.
    static std::string Audit(const std::uint8_t* t, std::uint64_t size);

private:
    enum class Found { kYes, kNo, kDamaged };

    PersistentHash(ShmemArea& area, const Uuid& id, std::uint32_t offset, const PhashParams& p,
                   PhashHashFn hash, PhashKeyCmpFn keyCmp, const char* name, bool global);
    std::uint8_t* Begin();
    bool HeaderMatches(const std::uint8_t* t) const;
    void Rebuild(std::uint8_t* t);
    Found Find(const std::uint8_t* t, const void* key, std::uint32_t* index,
               std::uint32_t* prev) const;
    std::uint8_t* Entry(std::uint8_t* t, std::uint32_t i) const {
        return t + table::kBucketArray + 4ull * buckets_ + entrySize_ * i;
    }
    const std::uint8_t* Entry(const std::uint8_t* t, std::uint32_t i) const {
        return t + table::kBucketArray + 4ull * buckets_ + entrySize_ * i;
    }
    std::uint32_t Bucket(const void* key) const {
        return hash_(key, static_cast<int>(p_.keySize)) % buckets_;
    }
    void Commit(std::uint64_t size) { area_.CommitRange(offset_, size); }
    void Count(std::uint8_t* t, std::uint32_t field) { Store32(t, field, Load32(t, field) + 1); }

    ShmemArea& area_;
    Uuid id_;
    std::uint32_t offset_;
    PhashParams p_;
    std::uint32_t buckets_;
    std::uint64_t entrySize_;
    std::uint64_t bytes_;
    PhashHashFn hash_;
    PhashKeyCmpFn keyCmp_;
    std::string name_;
    bool global_;
    std::uint32_t cursor_ = 0;
    AreaLease lease_;
};

}  // namespace korvant
