// Persistent hash tables in the shared area.
#include "libkorvant/PersistentHash.h"

#include <cstring>
#include <vector>

namespace korvant {

namespace {

constexpr std::uint32_t kNone = table::kNone;

// Length of the SID at p as far as a key of keySize bytes holds it.
std::size_t SidLength(const std::uint8_t* p, int keySize) {
    const std::size_t limit = keySize > 0 ? static_cast<std::size_t>(keySize) : 0;
    if (limit < 8) {
        return limit;
    }
    const std::size_t n = 8 + 4 * std::size_t{p[1]};
    return n < limit ? n : limit;
}

std::uint32_t Mix(std::uint32_t h, std::uint32_t c) {
    return h + ((h << 7) ^ c);
}

}  // namespace

std::uint32_t PhashStrHash(const void* key, int keySize) {
    const auto* p = static_cast<const signed char*>(key);
    std::uint32_t h = 0;
    for (int i = 0; i < keySize && p[i] != 0; ++i) {
        h = Mix(h, static_cast<std::uint32_t>(static_cast<std::int32_t>(p[i])));
    }
    return h;
}

int PhashStrKeyCmp(const void* a, const void* b, int keySize) {
    return keySize > 0 && std::strncmp(static_cast<const char*>(a), static_cast<const char*>(b),
                                       static_cast<std::size_t>(keySize)) == 0
               ? 1
               : 0;
}

std::uint32_t PhashIntHash(const void* key, int keySize) {
    std::uint32_t v = 0;
    std::memcpy(&v, key, keySize >= 4 ? 4 : (keySize > 0 ? keySize : 0));
    return v;
}

int PhashIntKeyCmp(const void* a, const void* b, int keySize) {
    const std::size_t n = keySize >= 4 ? 4 : (keySize > 0 ? keySize : 0);
    return std::memcmp(a, b, n) == 0 ? 1 : 0;
}

std::uint32_t PhashSidHash(const void* key, int keySize) {
    const auto* p = static_cast<const std::uint8_t*>(key);
    const std::size_t n = SidLength(p, keySize);
    std::uint32_t h = 0;
    for (std::size_t i = 0; i < n; ++i) {
        h = Mix(h, p[i]);
    }
    return h;
}

int PhashSidKeyCmp(const void* a, const void* b, int keySize) {
    const auto* pa = static_cast<const std::uint8_t*>(a);
    const auto* pb = static_cast<const std::uint8_t*>(b);
    const std::size_t n = SidLength(pa, keySize);
    return n == SidLength(pb, keySize) && std::memcmp(pa, pb, n) == 0 ? 1 : 0;
}

std::uint32_t PersistentHash::BucketCountFor(std::uint32_t capacity) {
    static const std::uint32_t kPrimes[] = {7, 17, 31, 61, 127, 257, 509, 1021, 2053};
    for (std::uint32_t prime : kPrimes) {
        if (prime >= capacity) {
            return prime;
        }
    }
    return 4093;
}

std::uint64_t PersistentHash::EntrySizeFor(std::uint32_t keySize, std::uint32_t dataSize) {
    return ((std::uint64_t{keySize} + dataSize) & ~std::uint64_t{3}) + 8;
}

std::uint64_t PersistentHash::TableBytes(const PhashParams& p) {
    return table::kBucketArray + 4ull * BucketCountFor(p.capacity) +
           std::uint64_t{p.capacity} * EntrySizeFor(p.keySize, p.dataSize);
}

void PersistentHash::Build(std::uint8_t* t, const PhashParams& p, const char* name, bool global) {
    const std::uint32_t buckets = BucketCountFor(p.capacity);
    const std::uint64_t entrySize = EntrySizeFor(p.keySize, p.dataSize);
    Store32(t, table::kConsistent, 0);
    std::memset(t, 0, table::kBucketArray);
    std::memcpy(t + table::kMagic, table::kMagicText, 4);
    Store32(t, table::kCapacity, p.capacity);
    Store32(t, table::kBuckets, buckets);
    Store32(t, table::kEntrySize, static_cast<std::uint32_t>(entrySize));
    Store32(t, table::kKeySize, p.keySize);
    Store32(t, table::kDataSize, p.dataSize);
    Store32(t, table::kFreeHead, 0);
    if (name != nullptr) {
        std::strncpy(reinterpret_cast<char*>(t + table::kName), name, table::kNameSize - 1);
    }
    Store32(t, table::kGlobal, global ? 1 : 0);
    std::memcpy(t + table::kMagic2, table::kMagic2Text, 4);
    std::memset(t + table::kBucketArray, 0xFF, 4ull * buckets);
    std::uint8_t* entries = t + table::kBucketArray + 4ull * buckets;
    std::memset(entries, 0, entrySize * p.capacity);
    for (std::uint32_t i = 0; i < p.capacity; ++i) {
        Store32(entries, entrySize * i, i + 1 < p.capacity ? i + 1 : kNone);
    }
    Store32(t, table::kConsistent, 1);
}

bool PersistentHash::StoredParams(const std::uint8_t* t, std::uint64_t size, PhashParams* p) {
    if (size < table::kBucketArray || !HasMagic(t, table::kMagic, table::kMagicText) ||
        !HasMagic(t, table::kMagic2, table::kMagic2Text)) {
        return false;
    }
    PhashParams stored;
    stored.capacity = Load32(t, table::kCapacity);
    stored.keySize = Load32(t, table::kKeySize);
    stored.dataSize = Load32(t, table::kDataSize);
    if (stored.capacity < 1 || stored.keySize < 1 || stored.keySize > 0x7FFFFFFF ||
        stored.dataSize > 0x7FFFFFFF ||
        Load32(t, table::kBuckets) != BucketCountFor(stored.capacity) ||
        Load32(t, table::kEntrySize) != EntrySizeFor(stored.keySize, stored.dataSize) ||
        TableBytes(stored) > size) {
        return false;
    }
    *p = stored;
    return true;
}

bool PersistentHash::ReadStats(const std::uint8_t* t, std::uint64_t size, PhashStats* stats) {
    PhashParams p;
    if (!StoredParams(t, size, &p)) {
        return false;
    }
    char name[table::kNameSize + 1] = {};
    std::memcpy(name, t + table::kName, table::kNameSize);
    stats->name = name;
    stats->lookups = Load32(t, table::kLookups);
    stats->hits = Load32(t, table::kHits);
    stats->enters = Load32(t, table::kEnters);
    stats->replaces = Load32(t, table::kReplaces);
    stats->deletes = Load32(t, table::kDeletes);
    stats->capacity = p.capacity;
    return true;
}

std::string PersistentHash::Audit(const std::uint8_t* t, std::uint64_t size) {
    PhashParams p;
    if (!StoredParams(t, size, &p)) {
        return "header";
    }
    if (Load32(t, table::kConsistent) != 1) {
        return "consistent flag clear";
    }
    const std::uint32_t buckets = BucketCountFor(p.capacity);
    const std::uint64_t entrySize = EntrySizeFor(p.keySize, p.dataSize);
    const std::uint8_t* entries = t + table::kBucketArray + 4ull * buckets;
    std::vector<std::uint8_t> seen(p.capacity, 0);
    std::uint32_t reached = 0;
    auto walk = [&](std::uint32_t index, std::uint8_t inUse) -> std::string {
        while (index != kNone) {
            if (index >= p.capacity) {
                return "index out of range";
            }
            if (seen[index]) {
                return "entry reached twice";
            }
            seen[index] = 1;
            ++reached;
            const std::uint8_t* e = entries + entrySize * index;
            if (e[4 + p.keySize] != inUse) {
                return "in-use byte wrong";
            }
            index = Load32(e, 0);
        }
        return "";
    };
    for (std::uint32_t b = 0; b < buckets; ++b) {
        const std::string fault = walk(Load32(t, table::kBucketArray + 4ull * b), 1);
        if (!fault.empty()) {
            return "bucket chain: " + fault;
        }
    }
    const std::string fault = walk(Load32(t, table::kFreeHead), 0);
    if (!fault.empty()) {
        return "free list: " + fault;
    }
    if (reached != p.capacity) {
        return "entries lost";
    }
    return "";
}

PersistentHash::PersistentHash(ShmemArea& area, const Uuid& id, std::uint32_t offset,
                               const PhashParams& p, PhashHashFn hash, PhashKeyCmpFn keyCmp,
                               const char* name, bool global)
    : area_(area),
      id_(id),
      offset_(offset),
      p_(p),
      buckets_(BucketCountFor(p.capacity)),
      entrySize_(EntrySizeFor(p.keySize, p.dataSize)),
      bytes_(TableBytes(p)),
      hash_(hash),
      keyCmp_(keyCmp),
      name_(name != nullptr ? name : ""),
      global_(global) {}

std::unique_ptr<PersistentHash> PersistentHash::Create(ShmemArea& area, const char* uuid,
                                                       int capacity, int keySize, int dataSize,
                                                       PhashHashFn hash, PhashKeyCmpFn keyCmp,
                                                       const char* name, bool global) {
    Uuid id;
    if (capacity < 1 || keySize < 1 || dataSize < 0 || hash == nullptr || keyCmp == nullptr ||
        !ParseUuid(uuid, &id)) {
        return nullptr;
    }
    PhashParams p{static_cast<std::uint32_t>(capacity), static_cast<std::uint32_t>(keySize),
                  static_cast<std::uint32_t>(dataSize)};
    const std::uint64_t bytes = TableBytes(p);
    if (bytes > area::kMaxSize || !area.Attach()) {
        return nullptr;
    }
    SubareaInfo info;
    // An existing table keeps the size it was made with.
    if (!area.CreateSubarea(id, static_cast<std::uint32_t>(bytes), &info,
                            ShmemArea::Existing::kAnySize) ||
        !area.Lock()) {
        return nullptr;
    }
    std::unique_ptr<PersistentHash> handle;
    std::uint8_t* t = area.FindSubarea(id, &info) && info.size >= table::kBucketArray
                          ? area.Span(info.offset, info.size)
                          : nullptr;
    PhashParams stored;
    if (t == nullptr) {
        // no usable sub-area
    } else if (Load32(t, table::kBuckets) != 0 && StoredParams(t, info.size, &stored)) {
        // An existing table keeps its capacity; other key or data sizes
        // would make every access read the wrong bytes.
        if (stored.keySize == p.keySize && stored.dataSize == p.dataSize) {
            handle.reset(
                new PersistentHash(area, id, info.offset, stored, hash, keyCmp, name, global));
            // Whatever a writer that stopped half-way, or a process that
            // wrote without the lock, left behind: a table that does not
            // hold together is emptied before anyone uses it, or refused
            // where it cannot be written.
            if (!Audit(t, handle->bytes_).empty()) {
                if (area.ReadOnly()) {
                    handle.reset();
                } else {
                    handle->Rebuild(t);
                }
            }
        }
    } else if (!area.ReadOnly() && info.size >= bytes) {
        // New (bucket count 0), or a header that describes no table we can use.
        Build(t, p, name, global);
        area.CommitRange(info.offset, bytes);
        handle.reset(new PersistentHash(area, id, info.offset, p, hash, keyCmp, name, global));
    }
    area.Unlock();
    return handle;
}

bool PersistentHash::HeaderMatches(const std::uint8_t* t) const {
    if (!HasMagic(t, table::kMagic, table::kMagicText) ||
        !HasMagic(t, table::kMagic2, table::kMagic2Text) ||
        Load32(t, table::kCapacity) != p_.capacity || Load32(t, table::kBuckets) != buckets_ ||
        Load32(t, table::kEntrySize) != entrySize_ || Load32(t, table::kKeySize) != p_.keySize ||
        Load32(t, table::kDataSize) != p_.dataSize || Load32(t, table::kConsistent) != 1) {
        return false;
    }
    const std::uint32_t head = Load32(t, table::kFreeHead);
    return head == kNone || head < p_.capacity;
}

void PersistentHash::Rebuild(std::uint8_t* t) {
    char name[table::kNameSize + 1] = {};
    std::memcpy(name, t + table::kName, table::kNameSize);
    Build(t, p_, name[0] != 0 ? name : name_.c_str(), global_);
    Commit(bytes_);
}

// Takes the lock and answers the table, emptied first when a writer stopped
// half-way or its header no longer describes it. Null (unlocked) when the
// table cannot be used.
std::uint8_t* PersistentHash::Begin() {
    if (!area_.Lock()) {
        return nullptr;
    }
    // The slot as the checked header copy has it, and the table's bytes
    // as this handle knows them: nothing read from the table itself decides
    // where the table is or how large.
    SubareaInfo info;
    std::uint8_t* t = nullptr;
    if (area_.FindSubarea(id_, &info) && info.offset == offset_ && info.size >= bytes_) {
        t = area_.Span(offset_, bytes_);
    }
    if (t == nullptr) {
        area_.Unlock();
        return nullptr;
    }
    if (!HeaderMatches(t)) {
        if (area_.ReadOnly()) {
            area_.Unlock();
            return nullptr;
        }
        Rebuild(t);
    }
    return t;
}

bool PersistentHash::Lock() {
    return Begin() != nullptr;
}

PersistentHash::Found PersistentHash::Find(const std::uint8_t* t, const void* key,
                                           std::uint32_t* index, std::uint32_t* prev) const {
    std::uint32_t i = Load32(t, table::kBucketArray + 4ull * Bucket(key));
    *prev = kNone;
    for (std::uint32_t steps = 0; i != kNone; ++steps) {
        if (i >= p_.capacity || steps >= p_.capacity) {
            return Found::kDamaged;
        }
        const std::uint8_t* e = Entry(t, i);
        if (e[4 + p_.keySize] != 1) {
            return Found::kDamaged;
        }
        if (keyCmp_(key, e + 4, static_cast<int>(p_.keySize)) == 1) {
            *index = i;
            return Found::kYes;
        }
        *prev = i;
        i = Load32(e, 0);
    }
    return Found::kNo;
}

bool PersistentHash::Lookup(const void* key, void* data, int* length) {
    if (key == nullptr || length == nullptr || *length < 0 || (data == nullptr && *length > 0)) {
        return false;
    }
    std::uint8_t* t = Begin();
    if (t == nullptr) {
        return false;
    }
    const bool writable = !area_.ReadOnly();
    if (writable) {
        Count(t, table::kLookups);
    }
    std::uint32_t index = 0, prev = 0;
    const Found found = Find(t, key, &index, &prev);
    bool ok = false;
    if (found == Found::kYes) {
        if (writable) {
            Count(t, table::kHits);
        }
        const std::uint32_t n =
            static_cast<std::uint32_t>(*length) < p_.dataSize ? *length : p_.dataSize;
        if (n > 0) {
            std::memcpy(data, Entry(t, index) + 5 + p_.keySize, n);
        }
        ok = static_cast<std::uint32_t>(*length) >= p_.dataSize;
        *length = static_cast<int>(p_.dataSize);
    } else if (found == Found::kDamaged && writable) {
        Rebuild(t);
    }
    area_.Unlock();
    return ok;
}

bool PersistentHash::Enter(const void* key, const void* data, int length) {
    if (key == nullptr || length < 0 || static_cast<std::uint32_t>(length) > p_.dataSize ||
        (data == nullptr && length > 0) || area_.ReadOnly()) {
        return false;
    }
    std::uint8_t* t = Begin();
    if (t == nullptr) {
        return false;
    }
    Store32(t, table::kConsistent, 0);
    Commit(table::kBucketArray);
    std::uint32_t index = 0, prev = 0;
    Found found = Find(t, key, &index, &prev);
    if (found == Found::kDamaged) {
        Rebuild(t);
        Store32(t, table::kConsistent, 0);
        found = Found::kNo;
    }
    bool ok = true;
    if (found == Found::kYes) {
        Count(t, table::kReplaces);
    } else {
        index = Load32(t, table::kFreeHead);
        const std::uint8_t* e = index < p_.capacity ? Entry(t, index) : nullptr;
        std::uint32_t nextFree = e != nullptr ? Load32(e, 0) : kNone;
        if (index == kNone) {
            ok = false;  // full: nothing is evicted
        } else if (e == nullptr || e[4 + p_.keySize] != 0 ||
                   (nextFree != kNone && nextFree >= p_.capacity)) {
            // A free list that leads astray: start again empty, the entries
            // chained in order.
            Rebuild(t);
            Store32(t, table::kConsistent, 0);
            index = 0;
            nextFree = p_.capacity > 1 ? 1 : kNone;
        }
        if (ok) {
            // The link checked above, not a second read of it.
            Store32(t, table::kFreeHead, nextFree);
            Count(t, table::kEnters);
        }
    }
    if (ok) {
        std::uint8_t* e = Entry(t, index);
        if (found != Found::kYes) {
            std::memcpy(e + 4, key, p_.keySize);
            e[4 + p_.keySize] = 1;
            const std::uint64_t head = table::kBucketArray + 4ull * Bucket(key);
            Store32(e, 0, Load32(t, head));
            Store32(t, head, index);
        }
        std::uint8_t* field = e + 5 + p_.keySize;
        if (length > 0) {
            std::memcpy(field, data, static_cast<std::size_t>(length));
        }
        std::memset(field + length, 0, p_.dataSize - static_cast<std::uint32_t>(length));
    }
    Store32(t, table::kConsistent, 1);
    Commit(bytes_);
    area_.Unlock();
    return ok;
}

bool PersistentHash::Delete(const void* key) {
    if (key == nullptr || area_.ReadOnly()) {
        return false;
    }
    std::uint8_t* t = Begin();
    if (t == nullptr) {
        return false;
    }
    std::uint32_t index = 0, prev = 0;
    const Found found = Find(t, key, &index, &prev);
    bool ok = false;
    if (found == Found::kYes) {
        Store32(t, table::kConsistent, 0);
        Commit(table::kBucketArray);
        std::uint8_t* e = Entry(t, index);
        const std::uint32_t next = Load32(e, 0);
        if (prev == kNone) {
            Store32(t, table::kBucketArray + 4ull * Bucket(key), next);
        } else {
            Store32(Entry(t, prev), 0, next);
        }
        std::memset(e + 4, 0, entrySize_ - 4);
        Store32(e, 0, Load32(t, table::kFreeHead));
        Store32(t, table::kFreeHead, index);
        Count(t, table::kDeletes);
        Store32(t, table::kConsistent, 1);
        Commit(bytes_);
        ok = true;
    } else if (found == Found::kDamaged) {
        Rebuild(t);
    }
    area_.Unlock();
    return ok;
}

bool PersistentHash::Next(void* key, void* data) {
    std::uint8_t* t = Begin();
    if (t == nullptr) {
        return false;
    }
    bool ok = false;
    for (; cursor_ < p_.capacity; ++cursor_) {
        const std::uint8_t* e = Entry(t, cursor_);
        if (e[4 + p_.keySize] == 1) {
            if (key != nullptr) {
                std::memcpy(key, e + 4, p_.keySize);
            }
            if (data != nullptr) {
                std::memcpy(data, e + 5 + p_.keySize, p_.dataSize);
            }
            ++cursor_;
            ok = true;
            break;
        }
    }
    area_.Unlock();
    return ok;
}

bool PersistentHash::Flush() {
    if (area_.ReadOnly()) {
        return false;
    }
    std::uint8_t* t = Begin();
    if (t == nullptr) {
        return false;
    }
    Rebuild(t);
    cursor_ = 0;
    area_.Unlock();
    return true;
}

bool PersistentHash::Stats(PhashStats* stats) {
    std::uint8_t* t = Begin();
    if (t == nullptr) {
        return false;
    }
    const bool ok = ReadStats(t, bytes_, stats);
    area_.Unlock();
    return ok;
}

}  // namespace korvant
