#pragma once

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "libkorvant/PersistentHash.h"
#include "libkorvant/ShmemLayout.h"

// What the shared-cache tests under Wine share between the test program and
// its worker processes: the DLL's entry points, the tables and their records.
namespace shmemwine {

using HashFn = unsigned (*)(const void*, int);
using CmpFn = int (*)(const void*, const void*, int);
using Handle = void*;

// Looks an export up by its undecorated name; false when it is missing.
template <typename F>
bool Bind(HMODULE module, F& fn, const char* name) {
    fn = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    return fn != nullptr;
}

// Starts a program of this folder with its handles inherited; null on failure.
inline HANDLE StartProcess(const std::string& commandLine) {
    std::string line = commandLine;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si,
                        &pi)) {
        return nullptr;
    }
    CloseHandle(pi.hThread);
    return pi.hProcess;
}

struct Api {
    int (*create)(const char*, int, int, int, HashFn, CmpFn, const char*, int, Handle*);
    int (*lookup)(Handle, const void*, void*, int*);
    int (*enter)(Handle, const void*, const void*, int);
    int (*remove)(Handle, const void*);
    int (*next)(Handle, void*, void*);
    void (*termScan)(Handle);
    int (*lock)(Handle);
    void (*unlock)(Handle);
    void (*close)(Handle);
    int (*flushGlobal)();
    HashFn strHash;
    CmpFn strCmp;
    HashFn intHash;
    CmpFn intCmp;

    bool Load() {
        HMODULE m = LoadLibraryA("LIBKORVANT.dll");
        if (m == nullptr) {
            return false;
        }
        bool ok = true;
        auto get = [&](auto& fn, const char* name) { ok = Bind(m, fn, name) && ok; };
        get(create, "phash_create");
        get(lookup, "phash_lookup");
        get(enter, "phash_enter");
        get(remove, "phash_delete");
        get(next, "phash_next");
        get(termScan, "phash_term_scan");
        get(lock, "phash_lock");
        get(unlock, "phash_unlock");
        get(close, "phash_close");
        get(flushGlobal, "phash_flush_global_tables");
        get(strHash, "phash_str_hash_fn");
        get(strCmp, "phash_str_keycmp_fn");
        get(intHash, "phash_int_hash_fn");
        get(intCmp, "phash_int_keycmp_fn");
        return ok;
    }
};

inline constexpr const char* kRecordsId = "{0E4C1A10-5A5A-4C3B-9F00-0000000000A1}";
inline constexpr const char* kCounterId = "{0E4C1A10-5A5A-4C3B-9F00-0000000000A2}";
inline constexpr const char* kSmallId = "{0E4C1A10-5A5A-4C3B-9F00-0000000000A5}";
inline constexpr int kRecordsCapacity = 2000;
inline constexpr int kKeySize = 32;

struct Key {
    char text[kKeySize] = {};
    explicit Key(const std::string& s) { std::snprintf(text, sizeof text, "%s", s.c_str()); }
};

// A record that proves it belongs to its key.
struct Record {
    std::uint32_t worker = 0;
    std::uint32_t serial = 0;
    std::uint32_t check = 0;
    std::uint32_t version = 0;
    static std::uint32_t CheckOf(const Key& key, std::uint32_t version) {
        return korvant::PhashStrHash(key.text, kKeySize) * 2654435761u ^ version;
    }
    bool Fits(const Key& key) const { return check == CheckOf(key, version); }
};

inline bool OpenRecords(Api& api, Handle* h) {
    return api.create(kRecordsId, kRecordsCapacity, kKeySize, sizeof(Record), api.strHash,
                      api.strCmp, "Torture records", 1, h) == 1;
}

inline bool OpenCounter(Api& api, Handle* h) {
    return api.create(kCounterId, 8, 4, 4, api.intHash, api.intCmp, "Torture counter", 1, h) == 1;
}

// The size of the view (or allocation) that holds `inside`.
inline std::uint64_t ViewExtent(const void* inside, std::uint8_t** base) {
    MEMORY_BASIC_INFORMATION info{};
    if (VirtualQuery(inside, &info, sizeof info) == 0) {
        return 0;
    }
    auto* start = static_cast<std::uint8_t*>(info.AllocationBase);
    std::uint8_t* end = start;
    while (VirtualQuery(end, &info, sizeof info) != 0 && info.AllocationBase == start &&
           info.State != MEM_FREE) {
        end += info.RegionSize;
    }
    if (base != nullptr) {
        *base = start;
    }
    return static_cast<std::uint64_t>(end - start);
}

// The raw bytes of a table, read as an outsider would: through a view of
// the named mapping of this process's own, from a copy of the header, and
// only as far as the view goes.
struct RawTable {
    HANDLE mapping = nullptr;
    std::uint8_t* base = nullptr;
    std::uint64_t viewSize = 0;
    std::uint8_t header[korvant::area::kHeaderSize] = {};
    std::uint8_t* table = nullptr;
    std::uint32_t size = 0;
    explicit RawTable(const char* id) {
        mapping = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, "Global\\VTshmemV3_area");
        if (mapping == nullptr) {
            return;
        }
        base = static_cast<std::uint8_t*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0));
        korvant::Uuid uuid;
        if (base == nullptr || !korvant::ParseUuid(id, &uuid)) {
            return;
        }
        viewSize = ViewExtent(base, nullptr);
        if (viewSize < sizeof header) {
            return;
        }
        std::memcpy(header, base, sizeof header);
        const std::uint32_t inUse = korvant::Load32(header, korvant::area::kInUse);
        for (std::uint32_t i = 0; i < inUse && i < 24; ++i) {
            const std::uint64_t offset = korvant::Load32(header, 20 + 24 * i + 16);
            const std::uint64_t bytes = korvant::Load32(header, 20 + 24 * i + 20);
            if (std::memcmp(header + 20 + 24 * i, uuid.bytes, 16) == 0 &&
                offset + bytes <= viewSize) {
                table = base + offset;
                size = static_cast<std::uint32_t>(bytes);
                break;
            }
        }
    }
    ~RawTable() {
        if (base != nullptr) {
            UnmapViewOfFile(base);
        }
        if (mapping != nullptr) {
            CloseHandle(mapping);
        }
    }
    bool HeaderValid() const { return korvant::ShmemArea::HeaderValid(header, viewSize, 0x180000); }
    std::string Audit() const {
        return table == nullptr ? "no table" : korvant::PersistentHash::Audit(table, size);
    }
};

// HostData names the folder the area file lives in.
inline void UseHostFolder(const std::string& folder) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Korva\\Vantrel\\CurrentVersion", 0, nullptr,
                        0, KEY_WRITE, nullptr, &key, nullptr) == ERROR_SUCCESS) {
        RegSetValueExA(key, "HostData", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                       static_cast<DWORD>(folder.size() + 1));
        RegCloseKey(key);
    }
}

}  // namespace shmemwine
