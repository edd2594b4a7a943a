// Processes that use every cache and account export of LIBKORVANT.dll while
// another process writes the area without the mutex, while the debug file
// changes under them, or while their own threads open and close tables.
#include "libkorvant/wine/ShmemVictim.h"

#include <atomic>
#include <cstdlib>
#include <random>
#include <thread>

#include "libkorvant/Sid.h"
#include "libkorvant/wine/ShmemWine.h"

namespace shmemwine {

namespace {

using Area = void*;
using Subarea = void*;
using WalkFn = int (*)(int, const char*, DWORD, DWORD, void*);

// The exports beyond those of Api, by their undecorated names.
struct Exports {
    Area (*createArea)(int);
    void (*freeArea)(Area);
    int (*commitArea)(Area);
    int (*isReadOnly)(Area);
    Subarea (*createSubarea)(Area, const char*, DWORD);
    void (*freeSubarea)(Subarea);
    int (*commitSubarea)(Subarea);
    void* (*subareaAddr)(Subarea);
    DWORD (*subareaSize)(Subarea);
    int (*walk)(Area, WalkFn, void*);
    int (*lockArea)(Area);
    void (*unlockArea)(Area);
    int (*lockMutex)(HANDLE, const char*);
    void (*unlockMutex)(HANDLE);
    int (*flushPrivate)();
    void (*displayStats)();
    HashFn sidHash;
    CmpFn sidCmp;
    void (*init)();
    int (*sidToUid)(PSID);
    int (*uidToSid)(int, PSID*);
    int (*lookupName)(const char*, PSID, DWORD*, char*, DWORD*, SID_NAME_USE*, char*);
    PSID (*enumSid)(int);
    int (*isPrivileged)();
    void* (*getpwnam)(const char*);
    void* (*getgrnam)(const char*);
    void (*dumpCache)();
    void (*dumpCacheX)();
    DWORD (*trustedOffset)(PSID, char*);
    PSID (*offsetToSid)(DWORD, void*);
    int (*reloadOffsets)();
    PSID (*primaryGroup)();
    int (*groups)(PSID**);
    int (*userSid)(PSID, DWORD);

    bool Load() {
        HMODULE m = LoadLibraryA("LIBKORVANT.dll");
        bool ok = m != nullptr;
        auto get = [&](auto& fn, const char* name) { ok = Bind(m, fn, name) && ok; };
        get(createArea, "shmem_create_area");
        get(freeArea, "shmem_free_area");
        get(commitArea, "shmem_commit_area");
        get(isReadOnly, "shmem_is_area_readonly");
        get(createSubarea, "shmem_create_subarea");
        get(freeSubarea, "shmem_free_subarea");
        get(commitSubarea, "shmem_commit_subarea");
        get(subareaAddr, "shmem_get_subarea_addr");
        get(subareaSize, "shmem_get_subarea_size");
        get(walk, "shmem_walk_subarea_info");
        get(lockArea, "shmem_lock_area_mutex");
        get(unlockArea, "shmem_unlock_area_mutex");
        get(lockMutex, "shmem_lock_mutex");
        get(unlockMutex, "shmem_unlock_mutex");
        get(flushPrivate, "phash_flush_private_tables");
        get(displayStats, "phash_display_stats");
        get(sidHash, "phash_sid_hash_fn");
        get(sidCmp, "phash_sid_keycmp_fn");
        get(init, "nt_init");
        get(sidToUid, "nt_sid_to_uid");
        get(uidToSid, "ntx_uid_to_sid");
        get(lookupName, "nt_lookup_account_name");
        get(enumSid, "nt_get_enum_sid");
        get(isPrivileged, "nt_is_privileged");
        get(getpwnam, "nt_getpwnam_sid");
        get(getgrnam, "nt_getgrnam_sid");
        get(dumpCache, "nt_dump_cache");
        get(dumpCacheX, "ntx_dump_cache");
        get(trustedOffset, "ntx_get_trusted_posix_offset");
        get(offsetToSid, "ntx_trusted_posix_offset_to_domain_sid");
        get(reloadOffsets, "ntx_set_cached_tpo_db");
        get(primaryGroup, "nt_get_primary_group_from_env");
        get(groups, "nt_get_prioritized_groups_list");
        get(userSid, "nt_get_user_sid");
        return ok;
    }
};

Api api;
Exports dll;

constexpr const char* kPassingId = "{0E4C1A10-5A5A-4C3B-9F00-0000000000A6}";
constexpr const char* kSubareaId = "{0E4C1A10-5A5A-4C3B-9F00-0000000000C1}";
constexpr const char* kGuardId = "{0E4C1A10-5A5A-4C3B-9F00-0000000000C2}";
constexpr const char* kMutexName = "Global\\VTshmemV3_mutex";
constexpr std::uint64_t kGranularity = 0x10000;

// Reserves inaccessible address space after (and before) the view that
// holds `inside`, so that an access outside the view faults instead of
// landing in whatever lies next to it. False when nothing after the view
// could be reserved.
bool Guard(const void* inside) {
    std::uint8_t* base = nullptr;
    const std::uint64_t extent = ViewExtent(inside, &base);
    if (extent == 0) {
        std::fprintf(stderr, "victim: no view at %p\n", inside);
        return false;
    }
    const std::uint64_t end = reinterpret_cast<std::uint64_t>(base) + extent;
    const std::uint64_t after = (end + kGranularity - 1) & ~(kGranularity - 1);
    std::uint64_t reserved = 0;
    for (std::uint64_t size = std::uint64_t{1} << 33; size >= kGranularity && reserved == 0;
         size /= 2) {
        if (VirtualAlloc(reinterpret_cast<void*>(after), size, MEM_RESERVE, PAGE_NOACCESS)) {
            reserved = size;
        }
    }
    for (std::uint64_t size = std::uint64_t{1} << 30; size >= kGranularity; size /= 2) {
        if (VirtualAlloc(base - size, size, MEM_RESERVE, PAGE_NOACCESS)) {
            break;
        }
    }
    if (reserved == 0) {
        MEMORY_BASIC_INFORMATION next{};
        VirtualQuery(reinterpret_cast<void*>(after), &next, sizeof next);
        std::fprintf(stderr,
                     "victim: view %p + 0x%llx: nothing reserved after it (next: state 0x%lx, "
                     "base %p, size 0x%llx)\n",
                     static_cast<void*>(base), static_cast<unsigned long long>(extent),
                     static_cast<unsigned long>(next.State), next.AllocationBase,
                     static_cast<unsigned long long>(next.RegionSize));
    }
    return reserved != 0;
}

bool GuardArea(Area area) {
    Subarea sub = area != nullptr ? dll.createSubarea(area, kGuardId, 64) : nullptr;
    const bool ok = sub != nullptr && Guard(dll.subareaAddr(sub));
    if (sub != nullptr) {
        dll.freeSubarea(sub);
    }
    return ok;
}

int CountSlot(int, const char*, DWORD, DWORD, void* count) {
    ++*static_cast<int*>(count);
    return 1;
}

void Tables(Handle table, std::mt19937& rng) {
    for (int i = 0; i < 6; ++i) {
        const Key key("v" + std::to_string(rng() % 40));
        Record rec{1, 2, Record::CheckOf(key, 3), 3};
        int length = sizeof rec;
        api.enter(table, key.text, &rec, sizeof rec);
        api.lookup(table, key.text, &rec, &length);
        if (rng() % 3 == 0) {
            api.remove(table, key.text);
        }
    }
    Key key("");
    Record rec;
    for (int i = 0; i < 50 && api.next(table, key.text, &rec) == 1; ++i) {
    }
    api.termScan(table);
    if (api.lock(table) == 1) {
        api.unlock(table);
    }
}

void Areas(std::mt19937& rng, int pass) {
    Area area = dll.createArea(static_cast<int>(rng() % 2));
    if (area != nullptr) {
        dll.isReadOnly(area);
        Subarea sub = dll.createSubarea(area, kSubareaId, 32 + rng() % 200);
        if (sub != nullptr) {
            // What a caller does with a sub-area: write all of it.
            std::memset(dll.subareaAddr(sub), 0x5A, dll.subareaSize(sub));
            dll.commitSubarea(sub);
            dll.freeSubarea(sub);
        }
        int count = 0;
        dll.walk(area, CountSlot, &count);
        if (dll.lockArea(area) == 1) {
            dll.unlockArea(area);
        }
        if (pass % 16 == 0) {
            dll.commitArea(area);
        }
        dll.freeArea(area);
    }
    HANDLE mutex = OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, kMutexName);
    if (mutex != nullptr) {
        if (dll.lockMutex(mutex, kMutexName) == 1) {
            dll.unlockMutex(mutex);
        }
        CloseHandle(mutex);
    }
}

void Accounts(std::mt19937& rng, int pass, PSID me) {
    BYTE sid[68];
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    PSID account = nullptr;
    if (AllocateAndInitializeSid(&nt, 5, 21, 0, 0, 0, 1000 + rng() % 40, 0, 0, 0, &account)) {
        dll.sidToUid(account);
        FreeSid(account);
    }
    dll.sidToUid(me);
    PSID back = nullptr;
    if (dll.uidToSid(0x30000 | (1000 + rng() % 40), &back) == 0) {
        std::free(back);
    }
    if (dll.uidToSid(0x200005, &back) == 0) {
        std::free(back);
    }
    DWORD sidSize = sizeof sid;
    dll.lookupName("Administrators", sid, &sidSize, nullptr, nullptr, nullptr, nullptr);
    dll.enumSid(1);
    dll.enumSid(4);
    dll.enumSid(14);
    dll.isPrivileged();
    dll.getgrnam("Administrators");
    char user[64] = {};
    DWORD size = sizeof user;
    GetUserNameA(user, &size);
    dll.getpwnam(user);
    char domain[80];
    BYTE domainSid[68];
    if (dll.userSid(domainSid, sizeof domainSid) == 1) {
        *GetSidSubAuthorityCount(domainSid) -= 1;
        dll.trustedOffset(domainSid, domain);
    }
    BYTE record[256];
    dll.offsetToSid(0x200000, record);
    dll.primaryGroup();
    PSID* groups = nullptr;
    dll.groups(&groups);
    if (pass % 8 == 0) {
        dll.reloadOffsets();
        dll.dumpCache();
        dll.dumpCacheX();
    }
}

bool OpenTables(Handle* records, Handle* counter, Handle* small, Handle* mine) {
    return OpenRecords(api, records) && OpenCounter(api, counter) &&
           api.create(kSmallId, 16, kKeySize, sizeof(Record), api.strHash, api.strCmp, "Small", 1,
                      small) == 1 &&
           api.create(kSmallId, 16, kKeySize, sizeof(Record), api.strHash, api.strCmp, "Mine", 0,
                      mine) == 1;
}

// One pass over every export, as a process of the product would make them.
void Pass(Handle records, Handle counter, Handle small, Handle mine, std::mt19937& rng, int pass,
          PSID me) {
    for (Handle table : {records, small, mine}) {
        Tables(table, rng);
    }
    std::uint32_t zero = 0, n = 0;
    int length = 4;
    if (api.lock(counter) == 1) {
        api.lookup(counter, &zero, &n, &length);
        ++n;
        api.enter(counter, &zero, &n, 4);
        api.unlock(counter);
    }
    Handle passing = nullptr;
    if (api.create(kPassingId, 8 + static_cast<int>(rng() % 56), kKeySize, sizeof(Record),
                   api.strHash, api.strCmp, "Passing", 1, &passing) == 1) {
        Tables(passing, rng);
        api.close(passing);
    }
    Areas(rng, pass);
    dll.flushPrivate();
    if (pass % 4 == 0) {
        api.flushGlobal();
        dll.displayStats();
    }
    Key key("hash me");
    api.strHash(key.text, kKeySize);
    api.strCmp(key.text, key.text, kKeySize);
    api.intHash(&zero, 4);
    api.intCmp(&zero, &zero, 4);
    dll.sidHash(me, 68);
    dll.sidCmp(me, me, 68);
    Accounts(rng, pass, me);
}

void Quiet() {
    // Statistics and cache dumps print a lot; the exit code tells.
    std::freopen("NUL", "w", stdout);
    std::freopen("NUL", "w", stderr);
}

bool Stopped(HANDLE stop) {
    return stop == nullptr || WaitForSingleObject(stop, 0) != WAIT_TIMEOUT;
}

}  // namespace

int Victim(unsigned seed) {
    if (!api.Load() || !dll.Load()) {
        return 10;
    }
    // Each area is guarded as soon as it is mapped, before anything else
    // is placed next to it; the handles keep the views where they are.
    Area global = dll.createArea(1);
    if (!GuardArea(global)) {
        return 20;
    }
    Area own = dll.createArea(0);
    if (!GuardArea(own)) {
        return 20;
    }
    SetEnvironmentVariableA("VANTREL_PRIMARY_GROUP", "Administrators");
    SetEnvironmentVariableA("VANTREL_GROUPS", "Administrators;Users;nobody");
    dll.init();
    Handle records = nullptr, counter = nullptr, small = nullptr, mine = nullptr;
    if (!OpenTables(&records, &counter, &small, &mine)) {
        return 11;
    }
    BYTE me[68];
    if (dll.userSid(me, sizeof me) != 1) {
        return 12;
    }
    HANDLE ready = OpenSemaphoreA(SEMAPHORE_MODIFY_STATE, FALSE, kReadyName);
    HANDLE stop = OpenEventA(SYNCHRONIZE, FALSE, kStopName);
    if (ready == nullptr || stop == nullptr) {
        return 13;
    }
    Quiet();
    ReleaseSemaphore(ready, 1, nullptr);
    std::mt19937 rng(seed);
    for (int pass = 0; !Stopped(stop); ++pass) {
        Pass(records, counter, small, mine, rng, pass, me);
    }
    for (Handle h : {records, counter, small, mine}) {
        api.close(h);
    }
    dll.freeArea(global);
    dll.freeArea(own);
    return 0;
}

int DebugReader(unsigned seed) {
    if (!api.Load() || !dll.Load()) {
        return 10;
    }
    HANDLE ready = OpenSemaphoreA(SEMAPHORE_MODIFY_STATE, FALSE, kReadyName);
    HANDLE stop = OpenEventA(SYNCHRONIZE, FALSE, kStopName);
    if (ready == nullptr || stop == nullptr) {
        return 13;
    }
    Area area = dll.createArea(1);
    if (area == nullptr || dll.isReadOnly(area) != 1) {
        return 11;
    }
    // The view of the debug file is guarded as the live area's: a table the
    // copy holds gives an address inside it.
    Subarea inside = dll.createSubarea(area, kRecordsId, 1);
    if (inside == nullptr || !Guard(dll.subareaAddr(inside))) {
        return 20;
    }
    dll.freeSubarea(inside);
    Handle records = nullptr;
    if (!OpenRecords(api, &records)) {
        return 12;
    }
    Quiet();
    ReleaseSemaphore(ready, 1, nullptr);
    std::mt19937 rng(seed);
    for (int pass = 0; !Stopped(stop); ++pass) {
        Tables(records, rng);
        Handle again = nullptr;
        if (OpenRecords(api, &again)) {
            api.close(again);
        }
        int count = 0;
        dll.walk(area, CountSlot, &count);
        if (pass % 8 == 0) {
            dll.displayStats();
        }
    }
    api.close(records);
    dll.freeArea(area);
    return 0;
}

int Threads(int milliseconds) {
    if (!api.Load() || !dll.Load()) {
        return 10;
    }
    dll.init();
    BYTE me[68];
    if (dll.userSid(me, sizeof me) != 1) {
        return 12;
    }
    // The account domain's SID: the user's without its RID.
    const BYTE count = *GetSidSubAuthorityCount(me);
    std::atomic<bool> stop{false};
    std::atomic<int> opened{0};
    std::thread churn([&] {
        while (!stop) {
            // Each close below is the process's last handle of its own: the
            // tables nt_init made must keep the area mapped.
            Handle h = nullptr;
            if (api.create(kPassingId, 16, kKeySize, sizeof(Record), api.strHash, api.strCmp,
                           "Passing", 1, &h) == 1) {
                ++opened;
                api.close(h);
            }
            Area area = dll.createArea(1);
            if (area != nullptr) {
                dll.freeArea(area);
            }
        }
    });
    int wrong = 0, rid = 1000;
    BYTE last[68];
    std::memcpy(last, me, sizeof last);
    const DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
    while (static_cast<int>(end - GetTickCount()) > 0) {
        std::memcpy(last, me, sizeof last);
        *GetSidSubAuthority(last, count - 1) = static_cast<DWORD>(rid);
        wrong += dll.sidToUid(last) == (0x30000 | rid) ? 0 : 1;
        rid = rid < 1040 ? rid + 1 : 1000;
    }
    stop = true;
    churn.join();
    // The last id mapped is in the shared table.
    Handle table = nullptr;
    int id = -1, length = sizeof id;
    const bool cached = api.create("{A461E5E0-0D99-11D1-BE5D-00609730D47D}", 100, 68, 4,
                                   dll.sidHash, dll.sidCmp, "Sid->Uid", 1, &table) == 1 &&
                        api.lookup(table, last, &id, &length) == 1 &&
                        id == static_cast<int>(0x30000 | *GetSidSubAuthority(last, count - 1));
    api.close(table);
    std::printf("threads: %d handles opened, %d wrong ids, last id %s\n", opened.load(), wrong,
                cached ? "cached" : "NOT cached");
    return wrong == 0 && opened > 0 && cached ? 0 : 1;
}

int Privileged() {
    if (!api.Load() || !dll.Load()) {
        return 10;
    }
    dll.init();
    PSID group = dll.enumSid(1);
    korvant::Sid sid;
    std::printf("product group %s\n",
                group != nullptr && korvant::Sid::FromBytes(group, GetLengthSid(group), &sid)
                    ? sid.ToString().c_str()
                    : "none");
    return dll.isPrivileged();
}

}  // namespace shmemwine
