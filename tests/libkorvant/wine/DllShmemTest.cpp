#include <gtest/gtest.h>

#include <vector>

#include "libkorvant/wine/ShmemWine.h"

using namespace shmemwine;

namespace {

std::string HostFolder() {
    char cwd[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, cwd);
    return std::string(cwd) + "\\shmemhost";
}

HANDLE StartWorker(const std::string& args) {
    std::string line = "korvant_shmem_worker.exe " + args;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si,
                        &pi)) {
        ADD_FAILURE() << "cannot start " << line << ": " << GetLastError();
        return nullptr;
    }
    CloseHandle(pi.hThread);
    return pi.hProcess;
}

DWORD ExitOf(HANDLE process, DWORD timeoutMs = 60000) {
    if (process == nullptr || WaitForSingleObject(process, timeoutMs) != WAIT_OBJECT_0) {
        return 0xDEAD;
    }
    DWORD code = 0xDEAD;
    GetExitCodeProcess(process, &code);
    CloseHandle(process);
    return code;
}

DWORD RunWorker(const std::string& args) {
    return ExitOf(StartWorker(args));
}

// The DLL reads its parameters once per process, when first used, and the
// accounts tests of this program use it first; on a fresh prefix the host
// folder must be set before any test runs, or no area is ever attached.
class HostFolderEnvironment : public ::testing::Environment {
public:
    void SetUp() override { UseHostFolder(HostFolder()); }
};

[[maybe_unused]] ::testing::Environment* const hostFolderEnvironment =
    ::testing::AddGlobalTestEnvironment(new HostFolderEnvironment);

class SharedCache : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(api.Load());
        UseHostFolder(HostFolder());
    }
    void SetUp() override {
        UseHostFolder(HostFolder());
        ASSERT_TRUE(OpenRecords(api, &records));
        ASSERT_EQ(api.flushGlobal(), 1);
    }
    void TearDown() override { api.close(records); }

    bool Put(const std::string& text, std::uint32_t version) {
        const Key key(text);
        Record rec;
        rec.version = version;
        rec.check = Record::CheckOf(key, version);
        return api.enter(records, key.text, &rec, sizeof rec) == 1;
    }
    bool Get(const std::string& text, std::uint32_t* version) {
        const Key key(text);
        Record rec;
        int length = sizeof rec;
        if (api.lookup(records, key.text, &rec, &length) != 1) {
            return false;
        }
        *version = rec.version;
        return length == sizeof rec && rec.Fits(key);
    }
    std::string AuditUnderLock() {
        if (api.lock(records) != 1) {
            return "cannot lock";
        }
        std::string audit = RawTable(kRecordsId).Audit();
        api.unlock(records);
        return audit;
    }

    static Api api;
    Handle records = nullptr;
};

Api SharedCache::api;

TEST_F(SharedCache, AreaFileAndTableLayoutOnDisk) {
    const std::string file = HostFolder() + "\\var\\cache\\VTshmemV3";
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ASSERT_TRUE(GetFileAttributesExA(file.c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(data.nFileSizeLow, 0x180000u + 608u);
    RawTable raw(kRecordsId);
    ASSERT_NE(raw.table, nullptr);
    EXPECT_EQ(std::memcmp(raw.base, "VTsh", 4), 0);
    EXPECT_EQ(korvant::Load32(raw.table, korvant::table::kBuckets), 2053u);
    EXPECT_EQ(korvant::Load32(raw.table, korvant::table::kEntrySize), 56u);
    Handle small = nullptr;
    ASSERT_EQ(api.create("{0E4C1A10-5A5A-4C3B-9F00-0000000000A3}", 32, 16, 8, api.strHash,
                         api.strCmp, "Small", 1, &small),
              1);
    RawTable smallRaw("{0E4C1A10-5A5A-4C3B-9F00-0000000000A3}");
    EXPECT_EQ(korvant::Load32(smallRaw.table, korvant::table::kBuckets), 61u);
    Handle wrong = nullptr;
    EXPECT_EQ(api.create("{0E4C1A10-5A5A-4C3B-9F00-0000000000A3}", 32, 20, 8, api.strHash,
                         api.strCmp, "Small", 1, &wrong),
              0);
    EXPECT_EQ(api.create("{0E4C1A10-5A5A-4C3B-9F00-0000000000A4}", 0, 16, 8, api.strHash,
                         api.strCmp, "Zero", 1, &wrong),
              0);
    api.close(small);
}

TEST_F(SharedCache, TwoProcessesShareOneMapping) {
    ASSERT_TRUE(Put("from-parent", 7));
    EXPECT_EQ(RunWorker("get from-parent"), 0u);
    EXPECT_EQ(RunWorker("get nobody"), 1u);
    EXPECT_EQ(RunWorker("put from-child 9"), 0u);
    std::uint32_t version = 0;
    ASSERT_TRUE(Get("from-child", &version));
    EXPECT_EQ(version, 9u);
    EXPECT_EQ(AuditUnderLock(), "");
}

TEST_F(SharedCache, ScanDeleteAndFlush) {
    for (int i = 0; i < 10; ++i) {
        ASSERT_TRUE(Put("k" + std::to_string(i), i));
    }
    const Key gone("k4");
    EXPECT_EQ(api.remove(records, gone.text), 1);
    EXPECT_EQ(api.remove(records, gone.text), 0);
    int seen = 0;
    Key key("");
    Record rec;
    while (api.next(records, key.text, &rec) == 1) {
        EXPECT_TRUE(rec.Fits(key)) << key.text;
        ++seen;
    }
    api.termScan(records);
    EXPECT_EQ(seen, 9);
    EXPECT_EQ(api.flushGlobal(), 1);
    std::uint32_t version = 0;
    EXPECT_FALSE(Get("k1", &version));
    EXPECT_EQ(RunWorker("get k1"), 1u);
    EXPECT_EQ(AuditUnderLock(), "");
}

TEST_F(SharedCache, WorkerDyingMidUpdateIsRepairedByTheNext) {
    ASSERT_TRUE(Put("before", 1));
    EXPECT_EQ(RunWorker("die"), 3u);
    // The mutex is abandoned and the table half-updated: the next access
    // takes the mutex, sees the cleared flag and starts the table afresh.
    std::uint32_t version = 0;
    EXPECT_FALSE(Get("before", &version));
    EXPECT_EQ(AuditUnderLock(), "");
    EXPECT_TRUE(Put("after", 2));
    EXPECT_EQ(RunWorker("get after"), 0u);
}

TEST_F(SharedCache, ScribbledTableNeverCrashesACaller) {
    for (unsigned seed = 1; seed <= 12; ++seed) {
        for (int i = 0; i < 60; ++i) {
            Put("s" + std::to_string(i), i);
        }
        ASSERT_EQ(RunWorker("scribble " + std::to_string(seed) + " 200"), 0u);
        std::uint32_t version = 0;
        for (int i = 0; i < 60; ++i) {
            Get("s" + std::to_string(i), &version);
            Put("t" + std::to_string(i), i);
            const Key k("s" + std::to_string(i + 1));
            api.remove(records, k.text);
        }
        Key key("");
        Record rec;
        for (int i = 0; i < 3000 && api.next(records, key.text, &rec) == 1; ++i) {
        }
        api.termScan(records);
        EXPECT_EQ(RunWorker("get s0"), RunWorker("get s0"));  // other processes survive too
        ASSERT_EQ(api.flushGlobal(), 1);
        EXPECT_EQ(AuditUnderLock(), "") << "seed " << seed;
        EXPECT_TRUE(Put("fresh", 5));
    }
}

TEST_F(SharedCache, DamagedAreaHeaderFailsEveryCall) {
    ASSERT_TRUE(Put("kept", 3));
    RawTable raw(kRecordsId);
    ASSERT_NE(raw.base, nullptr);
    ASSERT_EQ(api.lock(records), 1);
    std::uint8_t saved[608];
    std::memcpy(saved, raw.base, sizeof saved);
    korvant::Store32(raw.base, korvant::area::kInUse, 0xFFFF);
    api.unlock(records);
    std::uint32_t version = 0;
    EXPECT_FALSE(Get("kept", &version));
    EXPECT_FALSE(Put("new", 1));
    EXPECT_EQ(api.flushGlobal(), 0);
    EXPECT_EQ(RunWorker("get kept"), 11u);  // the table cannot even be opened
    std::memcpy(raw.base, saved, sizeof saved);
    EXPECT_TRUE(Get("kept", &version));
}

TEST(Torture, EightProcessesShareTheTables) {
    Api api;
    ASSERT_TRUE(api.Load());
    UseHostFolder(HostFolder());
    {
        Handle records = nullptr;
        ASSERT_TRUE(OpenRecords(api, &records));
        ASSERT_EQ(api.flushGlobal(), 1);
        api.close(records);  // this process lets go of the area
    }
    constexpr int kWorkers = 8;
    constexpr int kOps = 4000;
    std::vector<HANDLE> workers;
    for (int i = 0; i < kWorkers; ++i) {
        workers.push_back(StartWorker("torture " + std::to_string(i) + " " + std::to_string(kOps) +
                                      " " + std::to_string(1000 + i)));
    }
    for (HANDLE w : workers) {
        EXPECT_EQ(ExitOf(w, 600000), 0u);
    }
    // Every process has ended: a fresh one maps the file again.
    EXPECT_EQ(RunWorker("get w3-final"), 0u);
    EXPECT_EQ(RunWorker("get w7-final"), 0u);
    Handle counter = nullptr, records = nullptr;
    ASSERT_TRUE(OpenCounter(api, &counter));
    ASSERT_TRUE(OpenRecords(api, &records));
    std::uint32_t zero = 0, n = 0;
    int length = 4;
    ASSERT_EQ(api.lookup(counter, &zero, &n, &length), 1);
    EXPECT_EQ(n, static_cast<std::uint32_t>(kWorkers * kOps / 10));
    ASSERT_EQ(api.lock(records), 1);
    EXPECT_EQ(RawTable(kRecordsId).Audit(), "");
    EXPECT_EQ(RawTable(kCounterId).Audit(), "");
    api.unlock(records);
    api.close(counter);
    api.close(records);
}

}  // namespace
