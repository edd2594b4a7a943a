// A process of the shared-cache tests: loads LIBKORVANT.dll by name and
// works on the shared tables as the test program tells it.
#include <map>
#include <random>

#include "libkorvant/AreaIntruder.h"
#include "libkorvant/wine/ShmemVictim.h"
#include "libkorvant/wine/ShmemWine.h"

using namespace shmemwine;

namespace {

Api api;
int failures = 0;

void Fail(const char* what, const std::string& detail) {
    ++failures;
    std::printf("worker %lu: %s %s\n", GetCurrentProcessId(), what, detail.c_str());
}

Record MakeRecord(const Key& key, std::uint32_t worker, std::uint32_t serial,
                  std::uint32_t version) {
    Record r;
    r.worker = worker;
    r.serial = serial;
    r.version = version;
    r.check = Record::CheckOf(key, version);
    return r;
}

bool Increment(Handle counter) {
    if (api.lock(counter) != 1) {
        return false;
    }
    std::uint32_t zero = 0, n = 0;
    int length = 4;
    if (api.lookup(counter, &zero, &n, &length) != 1) {
        n = 0;
    }
    ++n;
    const bool ok = api.enter(counter, &zero, &n, 4) == 1;
    api.unlock(counter);
    return ok;
}

int Torture(std::uint32_t worker, int ops, unsigned seed) {
    Handle records = nullptr, counter = nullptr;
    if (!OpenRecords(api, &records) || !OpenCounter(api, &counter)) {
        Fail("open", "");
        return 1;
    }
    std::mt19937 rng(seed);
    std::map<std::uint32_t, std::uint32_t> mine;  // serial -> version
    std::uint32_t version = 0;
    int increments = 0;
    for (int op = 0; op < ops; ++op) {
        if (op % 10 == 0) {
            increments += Increment(counter) ? 1 : 0;
            continue;
        }
        const unsigned r = rng() % 100;
        const std::uint32_t serial = rng() % 150;
        const Key key("w" + std::to_string(worker) + "-" + std::to_string(serial));
        if (r < 35) {
            const Record rec = MakeRecord(key, worker, serial, ++version);
            if (api.enter(records, key.text, &rec, sizeof rec) != 1) {
                Fail("enter", key.text);
            } else {
                mine[serial] = version;
            }
        } else if (r < 65) {
            Record rec;
            int length = sizeof rec;
            const bool found = api.lookup(records, key.text, &rec, &length) == 1;
            const auto it = mine.find(serial);
            if (found != (it != mine.end())) {
                Fail(found ? "found deleted" : "lost", key.text);
            } else if (found && (!rec.Fits(key) || rec.version != it->second)) {
                Fail("wrong record", key.text);
            }
        } else if (r < 80) {
            const bool removed = api.remove(records, key.text) == 1;
            if (removed != (mine.count(serial) == 1)) {
                Fail("delete", key.text);
            }
            mine.erase(serial);
        } else if (r < 90) {
            const std::uint32_t other = rng() % 8;
            const Key theirs("w" + std::to_string(other) + "-" + std::to_string(serial));
            Record rec;
            int length = sizeof rec;
            if (api.lookup(records, theirs.text, &rec, &length) == 1 &&
                (!rec.Fits(theirs) || rec.worker != other || rec.serial != serial)) {
                Fail("foreign record", theirs.text);
            }
        } else if (r < 97) {
            Key k("");
            Record rec;
            for (int i = 0; i < 40 && api.next(records, k.text, &rec) == 1; ++i) {
                if (!rec.Fits(k)) {
                    Fail("scan", k.text);
                }
            }
            api.termScan(records);
        } else {
            if (api.lock(records) != 1) {
                Fail("lock", "");
                continue;
            }
            const std::string audit = RawTable(kRecordsId).Audit();
            api.unlock(records);
            if (!audit.empty()) {
                Fail("audit", audit);
            }
        }
    }
    const Key final("w" + std::to_string(worker) + "-final");
    const Record rec = MakeRecord(final, worker, 9999, 1);
    if (api.enter(records, final.text, &rec, sizeof rec) != 1) {
        Fail("final", final.text);
    }
    std::printf("worker %u: increments %d failures %d\n", worker, increments, failures);
    api.close(records);
    api.close(counter);
    return failures == 0 ? 0 : 1;
}

// An outsider: maps the area by its name only (no LIBKORVANT) and flips
// fields in it without the mutex for the given time.
int Hostile(int milliseconds, unsigned seed) {
    HANDLE mapping = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, "Global\\VTshmemV3_area");
    auto* base =
        mapping != nullptr
            ? static_cast<std::uint8_t*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0))
            : nullptr;
    if (base == nullptr) {
        return 21;
    }
    korvant::testing::AreaIntruder intruder(base, ViewExtent(base, nullptr), seed);
    const DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
    while (static_cast<int>(end - GetTickCount()) > 0) {
        for (int i = 0; i < 64; ++i) {
            intruder.Step();
        }
    }
    std::printf("hostile: %ld flips\n", intruder.flips);
    UnmapViewOfFile(base);
    CloseHandle(mapping);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "hostile" && argc == 4) {
        return Hostile(std::stoi(argv[2]), std::stoul(argv[3]));
    }
    if (mode == "victim" && argc == 3) {
        return Victim(std::stoul(argv[2]));
    }
    if (mode == "debugreader" && argc == 3) {
        return DebugReader(std::stoul(argv[2]));
    }
    if (mode == "threads" && argc == 3) {
        return Threads(std::stoi(argv[2]));
    }
    if (mode == "privileged") {
        return Privileged();
    }
    if (argc < 2 || !api.Load()) {
        return 10;
    }
    if (mode == "torture" && argc == 5) {
        return Torture(std::stoul(argv[2]), std::stoi(argv[3]), std::stoul(argv[4]));
    }
    Handle records = nullptr;
    if (!OpenRecords(api, &records)) {
        return 11;
    }
    if (mode == "put" && argc == 4) {
        const Key key(argv[2]);
        const Record rec = MakeRecord(key, 100, 0, std::stoul(argv[3]));
        return api.enter(records, key.text, &rec, sizeof rec) == 1 ? 0 : 1;
    }
    if (mode == "get" && argc == 3) {
        const Key key(argv[2]);
        Record rec;
        int length = sizeof rec;
        if (api.lookup(records, key.text, &rec, &length) != 1) {
            return 1;
        }
        std::printf("%u\n", rec.version);
        return rec.Fits(key) ? 0 : 2;
    }
    if (mode == "die") {
        // Stops in the middle of an update, holding the mutex.
        if (api.lock(records) != 1) {
            return 12;
        }
        RawTable raw(kRecordsId);
        if (raw.table == nullptr) {
            return 13;
        }
        korvant::Store32(raw.table, korvant::table::kConsistent, 0);
        korvant::Store32(raw.table, korvant::table::kBucketArray, 0x7FFFFFFF);
        korvant::Store32(raw.table, korvant::table::kFreeHead, 12345678);
        ExitProcess(3);
    }
    if (mode == "scribble" && argc == 4) {
        // Random bytes anywhere in the table, header included.
        std::mt19937 rng(std::stoul(argv[2]));
        const int count = std::stoi(argv[3]);
        if (api.lock(records) != 1) {
            return 12;
        }
        RawTable raw(kRecordsId);
        if (raw.table == nullptr) {
            return 13;
        }
        for (int i = 0; i < count; ++i) {
            raw.table[rng() % raw.size] = static_cast<std::uint8_t>(rng());
        }
        api.unlock(records);
        return 0;
    }
    return 14;
}
