// Fuzz target: any bytes as the shared area's file, and another process
// that writes into the mapping without the mutex while this one works: right
// after this one takes the mutex, at each of its flushes, and between its
// calls. Attaching, sub-areas, building or attaching tables, lookup, enter,
// delete, scan, flush and statistics must stay inside the view (the fake
// machine's views fault on any access outside), writable or read-only (the
// debug file, changed on disk under its reader), whatever the file holds.
//
// Input: the file's bytes. Its last byte gives how many of the 4-byte
// groups before it (offset low, offset high, value, unused) are the other
// process's writes, applied one at a time, round and round.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "libkorvant/FakeSharedObjects.h"
#include "libkorvant/PersistentHash.h"
#include "libkorvant/SharedCache.h"

using namespace korvant;
using namespace korvant::testing;

namespace {

constexpr std::uint32_t kTotal = 4096;
constexpr const char* kFile = "C:\\Vantrel\\var\\cache\\VTshmemV3";
constexpr const char* kDebugFile = "D:\\copy";
constexpr const char* kIds[] = {"{0E4C1A10-5A5A-4C3B-9F00-0000000000F1}",
                                "{0E4C1A10-5A5A-4C3B-9F00-0000000000F2}"};

void Require(bool ok) {
    if (!ok) std::abort();
}

struct Write {
    std::uint32_t offset;
    std::uint8_t value;
};

std::vector<Write> Script(const std::uint8_t* data, std::size_t size) {
    std::vector<Write> script;
    if (size < 2) {
        return script;
    }
    const std::size_t n = std::min<std::size_t>(data[size - 1] % 32, (size - 1) / 4);
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint8_t* w = data + size - 1 - 4 * (i + 1);
        script.push_back({static_cast<std::uint32_t>((w[0] | (w[1] << 8)) % (kTotal + 608)), w[2]});
    }
    return script;
}

// The other process's writes, one per call.
struct Intruder {
    std::vector<Write> script;
    std::size_t next = 0;
    std::function<void(const Write&)> apply;
    void operator()() {
        if (!script.empty() && apply) {
            apply(script[next++ % script.size()]);
        }
    }
};

void Exercise(PersistentHash& t, bool writable, Intruder& intruder) {
    char key[8], data[8];
    for (int i = 0; i < 24; ++i) {
        std::memset(key, 0, sizeof key);
        std::snprintf(key, sizeof key, "k%d", i);
        int length = sizeof data;
        if (t.Lookup(key, data, &length)) {
            Require(length == static_cast<int>(t.Params().dataSize));
        }
        intruder();
        if (writable && i % 3 != 2) {
            t.Enter(key, "value", 5);
        }
        if (i % 5 == 4) {
            t.Delete(key);
        }
    }
    std::string keyBuffer(t.Params().keySize, '\0');
    std::string dataBuffer(t.Params().dataSize, '\0');
    for (int i = 0; i < 5000 && t.Next(keyBuffer.data(), dataBuffer.data()); ++i) {
        intruder();
    }
    t.TermScan();
    PhashStats stats;
    t.Stats(&stats);
    intruder();
    // Whatever was found, entering into an emptied table works, unless the
    // other process has damaged the area's header or the table meanwhile.
    if (writable && t.Flush() && intruder.script.empty()) {
        const char fresh[8] = "fresh";
        Require(t.Enter(fresh, "v", 1));
    }
}

void Subareas(ShmemArea& area, Intruder& intruder) {
    Uuid id;
    ParseUuid("{0E4C1A10-5A5A-4C3B-9F00-0000000000F3}", &id);
    SubareaInfo info;
    for (std::uint32_t size : {64u, 8u, 128u}) {
        if (area.CreateSubarea(id, size, &info)) {
            // What is handed out is inside the view and as large as asked.
            Require(info.size >= size);
            std::uint8_t* bytes = area.Span(info.offset, info.size);
            Require(bytes != nullptr);
            if (!area.ReadOnly()) {
                std::memset(bytes, 0x5A, size);
            }
        }
        intruder();
    }
    if (area.Lock()) {
        for (const SubareaInfo& slot : area.Slots()) {
            Require(area.Span(slot.offset, slot.size) != nullptr);
        }
        area.SummaryText();
        area.Unlock();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FakeMachine machine;
    const std::vector<std::uint8_t> file(data, data + std::min<std::size_t>(size, 1 << 16));
    machine.PutFile(kFile, file);
    machine.PutFile(kDebugFile, file);
    const std::vector<Write> script = Script(data, size);
    {
        FakeSharedObjects os(machine, 1);
        FakeSharedObjects outsider(machine, 2);
        MappedView view;
        Intruder intruder{script, 0, nullptr};
        intruder.apply = [&](const Write& w) {
            if (view.base == nullptr) {
                outsider.OpenMapping("Global\\VTshmemV3_area", kTotal + 608, &view);
            }
            if (view.base != nullptr && w.offset < view.size) {
                view.base[w.offset] = w.value;
            }
        };
        os.interleave = std::ref(intruder);
        SharedCache cache(os, [] {
            CacheSettings s;
            s.global = MakeAreaConfig("C:\\Vantrel", "", true, kTotal);
            s.priv = s.global;
            s.privateIsGlobal = true;
            return s;
        });
        if (AreaLease area = cache.Lease(true)) {
            Subareas(*area, intruder);
            for (const char* id : kIds) {
                auto t = cache.OpenTable(true, id, 16, 8, 8, PhashStrHash, PhashStrKeyCmp, "Fuzz");
                if (t) {
                    Exercise(*t, true, intruder);
                }
            }
            cache.FlushTables(true);
            cache.DisplayStats();
        }
        os.interleave = nullptr;
        outsider.Unmap(&view);
    }
    // The same bytes as the read-only debug file, changed on disk while it
    // is read.
    FakeSharedObjects os(machine, 3);
    Intruder intruder{script, 0, nullptr};
    auto debugFile = machine.File(kDebugFile);
    intruder.apply = [&](const Write& w) {
        if (w.offset < debugFile->Size()) {
            debugFile->Write(w.offset, &w.value, 1);
        }
    };
    AreaConfig config = MakeAreaConfig("C:\\Vantrel", "", true, kTotal);
    config.debugFile = kDebugFile;
    ShmemArea area(os, config);
    if (area.Attach()) {
        Subareas(area, intruder);
        for (const char* id : kIds) {
            auto t = PersistentHash::Create(area, id, 16, 8, 8, PhashStrHash, PhashStrKeyCmp,
                                            "Fuzz", true);
            if (t) {
                Exercise(*t, false, intruder);
            }
        }
    }
    return 0;
}
