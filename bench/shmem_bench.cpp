// The persistent hash table of the shared cache, natively, on the fake
// machine's in-process lock: time per lookup and per enter on a table of a
// few thousand entries.
//   shmem_bench [operations]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "libkorvant/FakeSharedObjects.h"
#include "libkorvant/PersistentHash.h"
#include "libkorvant/Sid.h"

using namespace korvant;
using namespace korvant::testing;

int main(int argc, char** argv) {
    const int ops = argc > 1 ? std::atoi(argv[1]) : 2000000;
    constexpr int kEntries = 4000;
    FakeMachine machine;
    FakeSharedObjects os(machine, 1);
    ShmemArea area(os, MakeAreaConfig("C:\\Vantrel", "", true, 0x180000));
    auto table = PersistentHash::Create(area, "{A461E5E0-0D99-11D1-BE5D-00609730D47D}", 5000, 68, 4,
                                        PhashSidHash, PhashSidKeyCmp, "Sid->Uid", true);
    if (!table) {
        std::fprintf(stderr, "no table\n");
        return 1;
    }
    std::vector<std::vector<std::uint8_t>> keys;
    for (int i = 0; i < kEntries; ++i) {
        std::vector<std::uint8_t> key(68, 0);
        MakeSid(5, {21, 7, 8, 9, static_cast<std::uint32_t>(1000 + i)}).ToBuffer(key.data(), 68);
        keys.push_back(key);
        table->Enter(key.data(), &i, 4);
    }
    using Clock = std::chrono::steady_clock;
    auto start = Clock::now();
    int found = 0;
    for (int i = 0; i < ops; ++i) {
        int value = 0, length = 4;
        found += table->Lookup(keys[i % kEntries].data(), &value, &length) ? 1 : 0;
    }
    const double lookupNs =
        std::chrono::duration<double, std::nano>(Clock::now() - start).count() / ops;
    start = Clock::now();
    for (int i = 0; i < ops; ++i) {
        table->Enter(keys[i % kEntries].data(), &i, 4);
    }
    const double enterNs =
        std::chrono::duration<double, std::nano>(Clock::now() - start).count() / ops;
    start = Clock::now();
    for (int i = 0; i < ops / 10; ++i) {
        table->Delete(keys[i % kEntries].data());
        table->Enter(keys[i % kEntries].data(), &i, 4);
    }
    const double churnNs =
        std::chrono::duration<double, std::nano>(Clock::now() - start).count() / (ops / 10);
    std::printf("entries %d, capacity 5000, %d operations each\n", kEntries, ops);
    std::printf("lookup (hit)        %8.1f ns\n", lookupNs);
    std::printf("enter (replace)     %8.1f ns\n", enterNs);
    std::printf("delete + enter      %8.1f ns\n", churnNs);
    return found == ops ? 0 : 1;
}
