#include <gtest/gtest.h>

#include <set>

#include "libkorvant/FakePlatform.h"
#include "libkorvant/SharedCache.h"
#include "libkorvant/ShmemTestSupport.h"

namespace korvant::testing {
namespace {

struct Record {
    std::uint32_t a = 0, b = 0;
};

SubareaInfo TableSlot(FakeProcess& p, const char* id = kTableId) {
    Uuid uuid;
    ParseUuid(id, &uuid);
    SubareaInfo info;
    EXPECT_TRUE(p.area->Lock());
    EXPECT_TRUE(p.area->FindSubarea(uuid, &info));
    p.area->Unlock();
    return info;
}

std::uint8_t* TableBytes(FakeProcess& p, const char* id = kTableId) {
    const SubareaInfo info = TableSlot(p, id);
    return p.area->Span(info.offset, info.size);
}

std::string AuditOf(FakeProcess& p, const char* id = kTableId) {
    Uuid uuid;
    ParseUuid(id, &uuid);
    SubareaInfo info;
    p.area->Lock();
    p.area->FindSubarea(uuid, &info);
    const std::uint8_t* t = p.area->Span(info.offset, info.size);
    const std::string audit = t != nullptr ? PersistentHash::Audit(t, info.size) : "no table";
    p.area->Unlock();
    return audit;
}

void Damage(std::uint8_t* h, int kind);

bool Put(PersistentHash& t, const std::string& key, std::uint32_t value) {
    Key k(key);
    Record r{value, ~value};
    return t.Enter(k.bytes, &r, sizeof r);
}

bool Get(PersistentHash& t, const std::string& key, std::uint32_t* value) {
    Key k(key);
    Record r;
    int length = sizeof r;
    if (!t.Lookup(k.bytes, &r, &length)) {
        return false;
    }
    EXPECT_EQ(r.b, ~r.a);
    *value = r.a;
    return true;
}

TEST(PhashLayout, BucketCountsAndSizes) {
    EXPECT_EQ(PersistentHash::BucketCountFor(1), 7u);
    EXPECT_EQ(PersistentHash::BucketCountFor(7), 7u);
    EXPECT_EQ(PersistentHash::BucketCountFor(32), 61u);
    EXPECT_EQ(PersistentHash::BucketCountFor(100), 127u);
    EXPECT_EQ(PersistentHash::BucketCountFor(2053), 2053u);
    EXPECT_EQ(PersistentHash::BucketCountFor(5000), 4093u);
    EXPECT_EQ(PersistentHash::EntrySizeFor(322, 68), 396u);
    EXPECT_EQ(PersistentHash::EntrySizeFor(68, 4), 80u);
    EXPECT_EQ(PersistentHash::EntrySizeFor(3, 0), 8u);
    EXPECT_EQ(PersistentHash::TableBytes({32, 16, 8}), 92u + 4 * 61 + 32 * 32);
    // Sizes that overflow 32 bits stay exact.
    EXPECT_EQ(PersistentHash::TableBytes({0xFFFFFFFFu, 0xFFFFFFFFu, 8}),
              92u + 4 * 4093 + 0xFFFFFFFFull * 0x10000000Cull);
}

TEST(PhashLayout, NewTableHeaderAndFreeList) {
    FakeMachine machine;
    FakeProcess p(machine, 1);
    auto t = p.Table(32, 16, 8);
    ASSERT_TRUE(t);
    const std::uint8_t* h = TableBytes(p);
    EXPECT_EQ(std::memcmp(h, "Phas", 4), 0);
    EXPECT_EQ(Load32(h, 4), 32u);
    EXPECT_EQ(Load32(h, 8), 61u);
    EXPECT_EQ(Load32(h, 12), 32u);
    EXPECT_EQ(Load32(h, 16), 16u);
    EXPECT_EQ(Load32(h, 20), 8u);
    EXPECT_EQ(Load32(h, 24), 0u);
    EXPECT_STREQ(reinterpret_cast<const char*>(h + 28), "Test table");
    EXPECT_EQ(Load32(h, 80), 1u);
    EXPECT_EQ(Load32(h, 84), 1u);
    EXPECT_EQ(std::memcmp(h + 88, "hTbl", 4), 0);
    EXPECT_EQ(Load32(h, 92), 0xFFFFFFFFu);
    EXPECT_EQ(Load32(h, 92 + 4 * 61), 1u);                     // entry 0 -> 1
    EXPECT_EQ(Load32(h, 92 + 4 * 61 + 31 * 32), 0xFFFFFFFFu);  // last -> none
    EXPECT_EQ(AuditOf(p), "");
}

TEST(PhashCreate, RefusesBadArgumentsAndOtherSizes) {
    FakeMachine machine;
    FakeProcess p(machine, 1);
    EXPECT_FALSE(p.Table(0));
    EXPECT_FALSE(p.Table(-5));
    EXPECT_FALSE(p.Table(32, 0));
    EXPECT_FALSE(p.Table(32, 16, -1));
    EXPECT_FALSE(p.Table(32, 16, 8, "not-a-uuid"));
    EXPECT_FALSE(p.Table(0x7FFFFFFF, 0x7FFFFFFF, 8));  // far beyond any area
    EXPECT_FALSE(
        PersistentHash::Create(*p.area, kTableId, 32, 16, 8, nullptr, PhashStrKeyCmp, "", true));
    ASSERT_TRUE(p.Table(32, 16, 8));
    EXPECT_FALSE(p.Table(32, 20, 8));
    EXPECT_FALSE(p.Table(32, 16, 4));
    auto again = p.Table(100, 16, 8);  // the stored capacity wins
    ASSERT_TRUE(again);
    EXPECT_EQ(again->Params().capacity, 32u);
}

TEST(PhashCreate, ATableThatDoesNotHoldTogetherIsEmptiedOnAttach) {
    FakeMachine machine;
    FakeProcess a(machine, 1), b(machine, 2);
    auto ta = a.Table(32);
    for (std::uint32_t i = 0; i < 10; ++i) {
        ASSERT_TRUE(Put(*ta, "k" + std::to_string(i), i));
    }
    // A chain that loops: no call walks it until its key is asked for.
    Damage(TableBytes(a), 4);
    ASSERT_NE(AuditOf(a), "");
    auto tb = b.Table(32);
    ASSERT_TRUE(tb);
    EXPECT_EQ(AuditOf(b), "");
    std::uint32_t v = 0;
    EXPECT_FALSE(Get(*tb, "k2", &v));
    // In a read-only view such a table is refused.
    ASSERT_TRUE(Put(*tb, "k1", 1));
    Damage(TableBytes(b), 4);
    AreaConfig config = TestConfig();
    config.debugFile = "C:\\Vantrel\\var\\cache\\VTshmemV3";
    FakeProcess reader(machine, 3, config);
    EXPECT_FALSE(reader.Table(32));
}

TEST(PhashOps, FullTableRefusesNewKeysOnlyAndCountsReplaces) {
    FakeMachine machine;
    FakeProcess p(machine, 1);
    auto t = p.Table(32);
    for (std::uint32_t i = 0; i < 32; ++i) {
        ASSERT_TRUE(Put(*t, "key" + std::to_string(i), i));
    }
    EXPECT_FALSE(Put(*t, "key32", 32));
    EXPECT_TRUE(Put(*t, "key7", 700));
    std::uint32_t v = 0;
    for (std::uint32_t i = 0; i < 32; ++i) {
        ASSERT_TRUE(Get(*t, "key" + std::to_string(i), &v));
        EXPECT_EQ(v, i == 7 ? 700u : i);
    }
    EXPECT_FALSE(Get(*t, "key32", &v));
    PhashStats s;
    ASSERT_TRUE(t->Stats(&s));
    EXPECT_EQ(s.enters, 32u);
    EXPECT_EQ(s.replaces, 1u);
    EXPECT_EQ(s.lookups, 33u);
    EXPECT_EQ(s.hits, 32u);
    EXPECT_EQ(AuditOf(p), "");
}

TEST(PhashOps, ShortBufferAndShortData) {
    FakeMachine machine;
    FakeProcess p(machine, 1);
    auto t = p.Table(8, 16, 8);
    Key k("alpha");
    const char data[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    EXPECT_FALSE(t->Enter(k.bytes, "123456789", 9));  // longer than the data size
    ASSERT_TRUE(t->Enter(k.bytes, data, 8));
    char out[8] = {};
    int length = 3;
    EXPECT_FALSE(t->Lookup(k.bytes, out, &length));
    EXPECT_EQ(length, 8);
    EXPECT_EQ(std::memcmp(out, data, 3), 0);
    EXPECT_EQ(out[3], 0);
    length = 0;  // no buffer at all: only the size is asked for
    EXPECT_FALSE(t->Lookup(k.bytes, nullptr, &length));
    EXPECT_EQ(length, 8);
    ASSERT_TRUE(t->Enter(k.bytes, "ab", 2));  // the rest is cleared
    length = 8;
    ASSERT_TRUE(t->Lookup(k.bytes, out, &length));
    EXPECT_EQ(std::memcmp(out, "ab\0\0\0\0\0\0", 8), 0);
}

TEST(PhashOps, DeleteScanAndReuse) {
    FakeMachine machine;
    FakeProcess p(machine, 1);
    auto t = p.Table(16);
    for (std::uint32_t i = 0; i < 16; ++i) {
        ASSERT_TRUE(Put(*t, "k" + std::to_string(i), i));
    }
    Key gone("k3");
    EXPECT_TRUE(t->Delete(gone.bytes));
    EXPECT_FALSE(t->Delete(gone.bytes));
    EXPECT_TRUE(Put(*t, "new", 99));
    EXPECT_FALSE(Put(*t, "another", 98));
    EXPECT_EQ(AuditOf(p), "");
    std::set<std::string> keys;
    Key key("");
    Record r;
    while (t->Next(key.bytes, &r)) {
        keys.insert(key.bytes);
    }
    EXPECT_EQ(keys.size(), 16u);
    EXPECT_TRUE(keys.count("new"));
    EXPECT_FALSE(keys.count("k3"));
    EXPECT_FALSE(t->Next(key.bytes, &r));
    t->TermScan();
    EXPECT_TRUE(t->Next(key.bytes, &r));
    PhashStats s;
    t->Stats(&s);
    EXPECT_EQ(s.deletes, 1u);
    EXPECT_EQ(s.enters, 17u);
}

TEST(PhashOps, TablesAreSharedAndPersistAcrossRestart) {
    FakeMachine machine;
    {
        FakeProcess a(machine, 1), b(machine, 2);
        auto ta = a.Table();
        auto tb = b.Table();
        ASSERT_TRUE(Put(*ta, "shared", 42));
        std::uint32_t v = 0;
        ASSERT_TRUE(Get(*tb, "shared", &v));
        EXPECT_EQ(v, 42u);
        ASSERT_TRUE(tb->Lock());  // several calls under one lock
        EXPECT_TRUE(Put(*tb, "more", 1));
        EXPECT_FALSE(Put(*ta, "blocked", 2));  // the other process waits (and times out here)
        tb->Unlock();
    }
    machine.Reboot();
    FakeProcess c(machine, 3);
    auto tc = c.Table();
    ASSERT_TRUE(tc);
    std::uint32_t v = 0;
    EXPECT_TRUE(Get(*tc, "shared", &v));
    EXPECT_TRUE(Get(*tc, "more", &v));
    EXPECT_FALSE(Get(*tc, "blocked", &v));
}

TEST(PhashRepair, ClearedConsistentFlagEmptiesTheTable) {
    FakeMachine machine;
    FakeProcess a(machine, 1), b(machine, 2);
    auto ta = a.Table();
    ASSERT_TRUE(Put(*ta, "x", 1));
    // A writer dies half-way through an update.
    ASSERT_TRUE(ta->Lock());
    Store32(TableBytes(a), table::kConsistent, 0);
    machine.Kill(1);
    auto tb = b.Table();
    std::uint32_t v = 0;
    EXPECT_FALSE(Get(*tb, "x", &v));
    EXPECT_EQ(AuditOf(b), "");
    EXPECT_TRUE(Put(*tb, "y", 2));
    EXPECT_TRUE(Get(*tb, "y", &v));
}

// Damage the stored table one way, then check that every kind of call
// leaves a sound table behind without reading outside it.
class PhashDamage : public ::testing::TestWithParam<int> {};

void Damage(std::uint8_t* h, int kind) {
    const std::uint64_t buckets = 92, entries = 92 + 4 * 61, entry = 32;
    Key k("k1");
    const std::uint32_t bucket = PhashStrHash(k.bytes, 16) % 61;
    switch (kind) {
        case 0:
            Store32(h, buckets + 4 * bucket, 5000);
            break;  // bucket head out of range
        case 1:
            Store32(h, buckets + 4 * bucket, 0x7FFFFFFF);
            break;  // ... far out
        case 2:
            Store32(h, table::kFreeHead, 32);
            break;  // free head one past
        case 3:
            Store32(h, table::kFreeHead, 0);
            break;  // free head is in use
        case 4:
            Store32(h, entries + entry * Load32(h, buckets + 4 * bucket),
                    Load32(h, buckets + 4 * bucket));
            break;  // chain loops
        case 5:
            Store32(h, table::kCapacity, 0x10000000);
            break;  // header lies about capacity
        case 6:
            Store32(h, table::kKeySize, 0xFFFFFFF0u);
            break;
        case 7:
            h[entries + entry * Load32(h, buckets + 4 * bucket) + 4 + 16] = 0;
            break;  // chain entry marked free
        case 8:
            std::memset(h, 0xFF, 92);
            break;
    }
}

TEST_P(PhashDamage, EveryCallRebuildsOrFailsCleanly) {
    for (int call = 0; call < 5; ++call) {
        FakeMachine machine;
        FakeProcess p(machine, 1);
        auto t = p.Table(32);
        for (std::uint32_t i = 0; i < 20; ++i) {
            ASSERT_TRUE(Put(*t, "k" + std::to_string(i), i));
        }
        Damage(TableBytes(p), GetParam());
        std::uint32_t v = 0;
        Key k("k1");
        Key key("");
        Record r;
        switch (call) {
            case 0:
                Get(*t, "k1", &v);
                break;
            case 1:
                Put(*t, "fresh", 5);
                break;
            case 2:
                t->Delete(k.bytes);
                break;
            case 3:
                while (t->Next(key.bytes, &r)) {
                }
                break;
            case 4:
                Put(*t, "k1", 6);
                break;
        }
        // Whatever the call answered, walking every chain and the free list
        // again meets the damage (if it is still there) and leaves a sound table.
        for (std::uint32_t i = 0; i < 20; ++i) {
            Get(*t, "k" + std::to_string(i), &v);
            Put(*t, "k" + std::to_string(i), i);
        }
        const std::uint32_t bucket = PhashStrHash(k.bytes, 16) % 61;
        for (int i = 0;; ++i) {
            Key missing("m" + std::to_string(i));
            if (PhashStrHash(missing.bytes, 16) % 61 == bucket) {
                Get(*t, missing.bytes, &v);
                break;
            }
        }
        for (int i = 0; Put(*t, "fill" + std::to_string(i), 1); ++i) {
            ASSERT_LT(i, 32);
        }
        EXPECT_EQ(AuditOf(p), "") << "call " << call;
        Key first("fill0");
        EXPECT_TRUE(t->Delete(first.bytes));
        EXPECT_TRUE(Put(*t, "k5", 55));
        ASSERT_TRUE(Get(*t, "k5", &v));
        EXPECT_EQ(v, 55u);
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, PhashDamage, ::testing::Range(0, 9));

TEST(PhashHash, FunctionsAndTheirBounds) {
    EXPECT_EQ(PhashStrHash("", 16), 0u);
    EXPECT_EQ(PhashStrHash("a", 16), 97u);
    EXPECT_EQ(PhashStrHash("ab", 16), 97u + ((97u << 7) ^ 98u));
    // Bytes above 0x7F count as negative.
    EXPECT_EQ(PhashStrHash("\xE9", 16), 0xFFFFFFE9u);
    EXPECT_EQ(PhashStrHash("abcdef", 2), PhashStrHash("ab", 16));
    const char left[4] = {'a', 'b', 'c', 'd'}, right[4] = {'a', 'b', 'c', 'e'};
    EXPECT_EQ(PhashStrKeyCmp(left, right, 3), 1);  // never past the key size
    EXPECT_EQ(PhashStrKeyCmp(left, right, 4), 0);
    const std::uint32_t n = 0x20220;
    EXPECT_EQ(PhashIntHash(&n, 4), 0x20220u);
    EXPECT_EQ(PhashIntKeyCmp(&n, &n, 4), 1);
    // A SID whose count claims 255 sub-authorities is read only up to the key.
    std::uint8_t sid[68] = {1, 255, 0, 0, 0, 0, 0, 5};
    std::uint8_t other[68] = {1, 255, 0, 0, 0, 0, 0, 5};
    EXPECT_EQ(PhashSidKeyCmp(sid, other, 68), 1);
    other[67] = 1;
    EXPECT_EQ(PhashSidKeyCmp(sid, other, 68), 0);
    std::uint8_t a[68] = {1, 2, 0, 0, 0, 0, 0, 5, 32, 0, 0, 0, 0x20, 2, 0, 0};
    std::uint8_t b[68] = {1, 2, 0, 0, 0, 0, 0, 5, 32, 0, 0, 0, 0x20, 2, 0, 0};
    b[40] = 9;  // beyond the SID: ignored
    EXPECT_EQ(PhashSidKeyCmp(a, b, 68), 1);
    EXPECT_EQ(PhashSidHash(a, 68), PhashSidHash(b, 68));
    EXPECT_LT(PhashSidHash(sid, 68) % 61, 61u);
}

TEST(PhashReadOnly, DebugFileIsReadAndNeverWritten) {
    FakeMachine machine;
    {
        FakeProcess p(machine, 1);
        auto t = p.Table();
        ASSERT_TRUE(Put(*t, "kept", 9));
    }
    machine.PutFile("D:\\copy", machine.FileBytes("C:\\Vantrel\\var\\cache\\VTshmemV3"));
    AreaConfig config = TestConfig();
    config.debugFile = "D:\\copy";
    FakeProcess d(machine, 2, config);
    auto t = d.Table();
    ASSERT_TRUE(t);
    EXPECT_EQ(d.os.Output(), "Debug Shmem File: D:\\copy\n\n");
    EXPECT_TRUE(d.area->ReadOnly());
    std::uint32_t v = 0;
    EXPECT_TRUE(Get(*t, "kept", &v));
    EXPECT_EQ(v, 9u);
    EXPECT_FALSE(Put(*t, "new", 1));
    Key k("kept");
    EXPECT_FALSE(t->Delete(k.bytes));
    EXPECT_FALSE(t->Flush());
    EXPECT_FALSE(d.Table(32, 16, 8, kOtherId));  // no new tables in a read-only view
    // A damaged table in the read-only view is refused, not rebuilt.
    const std::uint32_t zero = 0;
    machine.File("D:\\copy")->Write(TableSlot(d).offset + table::kConsistent, &zero, 4);
    EXPECT_FALSE(Get(*t, "kept", &v));
    EXPECT_EQ(Load32(TableBytes(d), table::kConsistent), 0u);
    std::vector<std::uint8_t> copy = machine.FileBytes("D:\\copy");
    Store32(copy.data(), TableSlot(d).offset + table::kConsistent, 1);
    EXPECT_EQ(copy, machine.FileBytes("C:\\Vantrel\\var\\cache\\VTshmemV3"));
}

struct FakeCache {
    FakeCache(FakeMachine& machine, int pid)
        : os(machine, pid), cache(os, [] {
              CacheSettings s;
              s.global = TestConfig();
              s.priv = MakeAreaConfig("C:\\Vantrel", "S-1-5-21-9-9-9-1000", true, kSmallArea);
              return s;
          }) {}
    FakeSharedObjects os;
    SharedCache cache;
};

TEST(PhashCache, FlushEmptiesEveryTableOfOneArea) {
    FakeMachine machine;
    FakeCache c(machine, 1);
    auto g1 = c.cache.OpenTable(true, kTableId, 32, 16, 8, PhashStrHash, PhashStrKeyCmp, "One");
    auto g2 = c.cache.OpenTable(true, kOtherId, 100, 16, 8, PhashStrHash, PhashStrKeyCmp, "Two");
    auto pr = c.cache.OpenTable(false, kTableId, 32, 16, 8, PhashStrHash, PhashStrKeyCmp, "Mine");
    ASSERT_TRUE(g1 && g2 && pr);
    EXPECT_NE(&g1->Area(), &pr->Area());
    Put(*g1, "a", 1);
    Put(*g2, "b", 2);
    Put(*pr, "c", 3);
    ASSERT_TRUE(c.cache.FlushTables(true));
    std::uint32_t v = 0;
    EXPECT_FALSE(Get(*g1, "a", &v));
    EXPECT_FALSE(Get(*g2, "b", &v));
    EXPECT_TRUE(Get(*pr, "c", &v));
    EXPECT_TRUE(Put(*g1, "a", 1));
}

TEST(PhashCache, StatisticsText) {
    FakeMachine machine;
    FakeCache c(machine, 1);
    auto t = c.cache.OpenTable(true, kTableId, 32, 16, 8, PhashStrHash, PhashStrKeyCmp, "Sid->Uid");
    Put(*t, "a", 1);
    Put(*t, "b", 2);
    Put(*t, "a", 3);
    std::uint32_t v;
    Get(*t, "a", &v);
    Get(*t, "zz", &v);
    c.cache.DisplayStats();
    const std::string out = c.os.Output();
    EXPECT_EQ(out.rfind("\n==========================================================\n"
                        "=====================  Global Cache  =====================\n"
                        "==========================================================\n\n",
                        0),
              0u);
    EXPECT_NE(out.find("=====================  Private Cache =====================\n"),
              std::string::npos);
    EXPECT_NE(out.find("\n------------------- Persistent Hash Table Statistics "
                       "--------------------------\n      Table Name       Lookups    Hits  "
                       "Enters Replaces Deletes    Size    Used\nSid->Uid                     "
                       "2       1       2        1       0      32   6.25%\n"),
              std::string::npos)
        << out;
}

TEST(PhashCache, SettingsFromRegistryAndEnvironment) {
    FakePlatform platform;
    SystemInfo system(platform);
    RegistryStore store(platform, system);
    CacheSettings s = ReadCacheSettings(platform, store, system, "S-1-5-21-1-2-3-1000");
    EXPECT_EQ(s.global.fileName, "");  // no product folder: no area
    platform.PutString("HKLM\\Software\\Korva\\Vantrel\\CurrentVersion", "ProductHome", "C:\\Home");
    s = ReadCacheSettings(platform, store, system, "S-1-5-21-1-2-3-1000");
    EXPECT_EQ(s.global.fileName, "C:\\Home\\var\\cache\\VTshmemV3");
    EXPECT_EQ(s.priv.mappingName, "Global\\VTshmemV3_area_S-1-5-21-1-2-3-1000");
    EXPECT_FALSE(s.privateIsGlobal);
    EXPECT_EQ(s.global.totalSize, 0x180000u);
    platform.PutString("HKLM\\Software\\Korva\\Vantrel\\CurrentVersion", "HostData", "D:\\Data");
    platform.PutDword("HKCU\\Software\\Korva\\Vantrel\\CurrentVersion", "ShmemTotalAreaSize",
                      0x200000);
    platform.env["KORVA_DEBUG_SHMEM_FILE"] = "E:\\copy";
    s = ReadCacheSettings(platform, store, system, "S-1-5-21-1-2-3-1000");
    EXPECT_EQ(s.global.fileName, "D:\\Data\\var\\cache\\VTshmemV3");
    EXPECT_EQ(s.global.totalSize, 0x200000u);
    EXPECT_EQ(s.global.debugFile, "E:\\copy");
    EXPECT_TRUE(s.privateIsGlobal);
}

TEST(PhashCache, UnattachableAreaIsReported) {
    FakeMachine machine;
    FakeCache c(machine, 1);
    c.os.failMapFile = true;
    EXPECT_FALSE(c.cache.FlushTables(true));
    c.cache.DisplayStats();
    EXPECT_NE(c.os.Errors().find("Can not attach to the global persistent hash table.\n"),
              std::string::npos);
    EXPECT_NE(c.os.Output().find("Can not attach to the shared memory\n"), std::string::npos);
}

}  // namespace
}  // namespace korvant::testing
