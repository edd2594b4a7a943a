// The shared cache against what shares the machine with it: a process that
// writes the mapping without the mutex, threads of one process opening and
// closing tables under each other, and a debug file that changes under its
// reader. The fake machine's views fault on any access outside them or
// after they are unmapped, so a stray access ends the test run.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <random>
#include <thread>

#include "libkorvant/AccountsWorld.h"
#include "libkorvant/AreaIntruder.h"

namespace korvant::testing {
namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kAreaName = "Global\\VTshmemV3_area";
constexpr std::uint64_t kViewSize = kSmallArea + 608;
const char* const kIds[] = {kTableId, kOtherId, "{0E4C1A10-5A5A-4C3B-9F00-0000000000B1}"};

// Another process of the machine that maps the area by its name and flips
// fields in it without the mutex until stopped.
class Intruder {
public:
    explicit Intruder(FakeMachine& machine) : os_(machine, 99) {}
    ~Intruder() { Stop(); }

    bool Start(unsigned seed) {
        if (!os_.OpenMapping(kAreaName, kViewSize, &view_)) {
            return false;
        }
        thread_ = std::thread([this, seed] {
            AreaIntruder intruder(view_.base, view_.size, seed);
            while (!stop_) {
                intruder.Step();
            }
            flips = intruder.flips;
        });
        return true;
    }
    void Stop() {
        stop_ = true;
        if (thread_.joinable()) {
            thread_.join();
        }
        if (view_.base != nullptr) {
            os_.Unmap(&view_);
        }
    }
    long flips = 0;

private:
    FakeSharedObjects os_;
    MappedView view_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// One pass over everything a process of the product does with the cache.
void UseEverything(World& w, std::mt19937& rng) {
    SharedCache& cache = w.cache;
    for (const char* id : kIds) {
        auto t = cache.OpenTable(true, id, 16 + static_cast<int>(rng() % 40), 16, 8, PhashStrHash,
                                 PhashStrKeyCmp, "Hostile");
        if (!t) {
            continue;
        }
        for (int i = 0; i < 8; ++i) {
            Key k("k" + std::to_string(rng() % 30));
            const char data[8] = "data";
            char out[8];
            int length = sizeof out;
            t->Enter(k.bytes, data, sizeof data);
            t->Lookup(k.bytes, out, &length);
            if (rng() % 3 == 0) {
                t->Delete(k.bytes);
            }
        }
        Key key("");
        char data[8];
        for (int i = 0; i < 100 && t->Next(key.bytes, data); ++i) {
        }
        t->TermScan();
        PhashStats stats;
        t->Stats(&stats);
        if (rng() % 8 == 0) {
            t->Flush();
        }
    }
    if (AreaLease area = cache.Lease(true)) {
        Uuid id;
        ParseUuid("{0E4C1A10-5A5A-4C3B-9F00-0000000000B2}", &id);
        SubareaInfo info;
        if (area->CreateSubarea(id, 256, &info)) {
            // Callers write what they asked for into what they were given.
            std::memset(area->Span(info.offset, info.size), 0x5A, 256);
        }
        if (area->Lock()) {
            for (const SubareaInfo& slot : area->Slots()) {
                EXPECT_NE(area->Span(slot.offset, slot.size), nullptr);
            }
            area->SummaryText();
            area->Unlock();
        }
    }
    cache.FlushTables(true);
    cache.DisplayStats();
    w.accounts.SidToUid(MakeSid(5, {32, 544}));
    w.accounts.SidToUid(MakeSid(5, {21, 7, 8, 9, static_cast<std::uint32_t>(1000 + rng() % 50)}));
    Sid sid;
    w.accounts.UidToSid(0x200005, &sid);
    std::string name;
    w.accounts.TrustedPosixOffset(MakeSid(5, {21, 1, 1, 1}), &name);
    w.accounts.DumpCache();
}

TEST(ShmemHostile, AProcessWritingWithoutTheMutexCrashesNoOne) {
    FakeMachine machine;
    World w(machine);
    w.sys.trusted = {{"TRUST1", MakeSid(5, {21, 1, 1, 1}), 0x200000}};
    w.accounts.Init();
    std::mt19937 rng(7);
    UseEverything(w, rng);  // every table exists before the intruder starts
    Intruder intruder(machine);
    ASSERT_TRUE(intruder.Start(11));
    const auto end = Clock::now() + std::chrono::milliseconds(600);
    int passes = 0;
    while (Clock::now() < end) {
        UseEverything(w, rng);
        ++passes;
    }
    intruder.Stop();
    EXPECT_GT(intruder.flips, 100);
    EXPECT_GT(passes, 3);
    // Afterwards every table either holds together (a damaged one is
    // emptied when it is attached) or the area is refused as damaged.
    World after(machine, 2);
    AreaLease area = after.cache.Lease(true);
    if (!area || !area->Lock()) {
        EXPECT_NE(after.objects.Errors().find("Data integrity check failed"), std::string::npos);
        return;
    }
    area->Unlock();
    for (const char* id : kIds) {
        auto t = after.cache.OpenTable(true, id, 16, 16, 8, PhashStrHash, PhashStrKeyCmp, "Again");
        if (!t) {
            continue;  // its slot no longer describes a table of these sizes
        }
        ASSERT_TRUE(t->Lock());
        Uuid uuid;
        ParseUuid(id, &uuid);
        SubareaInfo info;
        ASSERT_TRUE(area->FindSubarea(uuid, &info));
        EXPECT_EQ(PersistentHash::Audit(area->Span(info.offset, info.size), info.size), "") << id;
        t->Unlock();
    }
}

TEST(ShmemHostile, ThreadsMapSidsWhileOthersOpenAndCloseTables) {
    FakeMachine machine;
    World w(machine);
    w.accounts.Init();
    std::atomic<bool> stop{false};
    std::atomic<int> wrong{0}, opened{0};
    std::thread churn([&] {
        while (!stop) {
            // Every last close of this thread's tables would unmap the area
            // if the account tables did not keep it.
            auto t =
                w.cache.OpenTable(true, kOtherId, 16, 16, 8, PhashStrHash, PhashStrKeyCmp, "Churn");
            opened += t ? 1 : 0;
            AreaLease lease = w.cache.Lease(true);
        }
    });
    const auto end = Clock::now() + std::chrono::milliseconds(300);
    std::uint32_t rid = 1000;
    while (Clock::now() < end) {
        const int id = w.accounts.SidToUid(MakeSid(5, {21, 10, 20, 30, rid}));
        wrong += id == static_cast<int>(0x30000 | rid) ? 0 : 1;
        rid = rid < 1090 ? rid + 1 : 1000;
    }
    stop = true;
    churn.join();
    EXPECT_EQ(wrong, 0);
    EXPECT_GT(opened, 0);
    // The account tables still work: what was mapped is in the shared table
    // another process sees.
    World other(machine, 2);
    other.accounts.Init();
    other.sys.failures["AccountDomain"] = 5;
    EXPECT_EQ(other.accounts.SidToUid(MakeSid(5, {21, 10, 20, 30, 1005})), 0x303ED);
}

TEST(ShmemHostile, LastCloseUnmapsAndNotBefore) {
    FakeMachine machine;
    World w(machine);
    w.accounts.Init();  // its tables hold the areas from here on
    auto unrelated =
        w.cache.OpenTable(true, kOtherId, 16, 16, 8, PhashStrHash, PhashStrKeyCmp, "Unrelated");
    ASSERT_TRUE(unrelated);
    unrelated.reset();
    EXPECT_EQ(w.accounts.SidToUid(MakeSid(5, {32, 544})), 0x20220);
    EXPECT_NE(w.accounts.DumpCache().find("S-1-5-32-544 -> 131616"), std::string::npos);
    EXPECT_TRUE(machine.HasMappings());
    FakeMachine other;
    {
        World alone(other);
        auto t =
            alone.cache.OpenTable(true, kOtherId, 16, 16, 8, PhashStrHash, PhashStrKeyCmp, "T");
        AreaLease lease = alone.cache.Lease(true);
        t.reset();
        EXPECT_TRUE(other.HasMappings());
    }
    EXPECT_FALSE(other.HasMappings());
}

TEST(ShmemHostile, DebugFileChangedUnderItsReader) {
    FakeMachine machine;
    {
        FakeProcess writer(machine, 1);
        auto t = writer.Table(32);
        for (int i = 0; i < 20; ++i) {
            Key k("k" + std::to_string(i));
            t->Enter(k.bytes, "12345678", 8);
        }
    }
    const std::string path = "D:\\copy";
    machine.PutFile(path, machine.FileBytes("C:\\Vantrel\\var\\cache\\VTshmemV3"));
    AreaConfig config = TestConfig();
    config.debugFile = path;
    FakeProcess reader(machine, 2, config);
    auto t = reader.Table(32);
    ASSERT_TRUE(t);
    auto file = machine.File(path);
    std::mt19937 rng(3);
    int found = 0;
    for (int round = 0; round < 3000; ++round) {
        // Slots, used, total, the table's header and chains change on disk.
        static const std::uint32_t kAt[] = {16,       20 + 16,  20 + 20,  596,
                                            600,      608 + 4,  608 + 8,  608 + 12,
                                            608 + 16, 608 + 24, 608 + 92, 608 + 96};
        const std::uint32_t at = kAt[rng() % std::size(kAt)] + (rng() % 2) * 4 * (rng() % 64);
        const std::uint32_t value = rng() % 2 ? rng() : 0xFFFFFFF0u + rng() % 16;
        file->Write(at, &value, 4);
        Key k("k" + std::to_string(rng() % 20));
        char data[8];
        int length = sizeof data;
        found += t->Lookup(k.bytes, data, &length) ? 1 : 0;
        Key key("");
        for (int i = 0; i < 40 && t->Next(key.bytes, data); ++i) {
        }
        t->TermScan();
        PhashStats stats;
        t->Stats(&stats);
        reader.Table(32, 16, 8, kIds[rng() % 3]);
    }
    EXPECT_GT(found, 0);  // answers while the file still held together
    EXPECT_FALSE(reader.area->ReadOnly() && t->Enter("x", "y", 1));
}

}  // namespace
}  // namespace korvant::testing
