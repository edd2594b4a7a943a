// Fuzz target: any bytes as the shared area's file. Attaching, building or
// attaching tables, lookup, enter, delete, scan and flush must stay inside
// the mapping, writable or read-only, whatever the file holds.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "libkorvant/FakeSharedObjects.h"
#include "libkorvant/PersistentHash.h"
#include "libkorvant/SharedCache.h"

using namespace korvant;
using namespace korvant::testing;

namespace {

constexpr std::uint32_t kTotal = 4096;
constexpr const char* kFile = "C:\\Vantrel\\var\\cache\\VTshmemV3";
constexpr const char* kIds[] = {"{0E4C1A10-5A5A-4C3B-9F00-0000000000F1}",
                                "{0E4C1A10-5A5A-4C3B-9F00-0000000000F2}"};

void Require(bool ok) {
    if (!ok) std::abort();
}

void Exercise(PersistentHash& t, bool writable) {
    char key[8], data[8];
    for (int i = 0; i < 24; ++i) {
        std::memset(key, 0, sizeof key);
        std::snprintf(key, sizeof key, "k%d", i);
        int length = sizeof data;
        if (t.Lookup(key, data, &length)) {
            Require(length == static_cast<int>(t.Params().dataSize));
        }
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
    }
    t.TermScan();
    PhashStats stats;
    t.Stats(&stats);
    // Whatever was found, entering into an emptied table always works.
    if (writable && t.Flush()) {
        const char fresh[8] = "fresh";
        Require(t.Enter(fresh, "v", 1));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FakeMachine machine;
    machine.files[kFile] = std::make_shared<std::vector<std::uint8_t>>(
        data, data + std::min<std::size_t>(size, 1 << 16));
    machine.files["D:\\copy"] = std::make_shared<std::vector<std::uint8_t>>(*machine.files[kFile]);
    {
        FakeSharedObjects os(machine, 1);
        SharedCache cache(os, [] {
            CacheSettings s;
            s.global = MakeAreaConfig("C:\\Vantrel", "", true, kTotal);
            s.priv = s.global;
            s.privateIsGlobal = true;
            return s;
        });
        if (ShmemArea* area = cache.Area(true)) {
            for (const char* id : kIds) {
                auto t = PersistentHash::Create(*area, id, 16, 8, 8, PhashStrHash, PhashStrKeyCmp,
                                                "Fuzz", true);
                if (t) {
                    Exercise(*t, true);
                }
            }
            cache.FlushTables(true);
            cache.DisplayStats();
        }
    }
    // The same bytes as the read-only debug file.
    FakeSharedObjects os(machine, 2);
    AreaConfig config = MakeAreaConfig("C:\\Vantrel", "", true, kTotal);
    config.debugFile = "D:\\copy";
    ShmemArea area(os, config);
    if (area.Attach()) {
        for (const char* id : kIds) {
            auto t = PersistentHash::Create(area, id, 16, 8, 8, PhashStrHash, PhashStrKeyCmp,
                                            "Fuzz", true);
            if (t) {
                Exercise(*t, false);
            }
        }
    }
    return 0;
}
