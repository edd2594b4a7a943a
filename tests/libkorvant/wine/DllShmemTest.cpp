#include <gtest/gtest.h>

#include <vector>

#include "libkorvant/AreaIntruder.h"
#include "libkorvant/Sid.h"
#include "libkorvant/wine/ShmemVictim.h"
#include "libkorvant/wine/ShmemWine.h"

using namespace shmemwine;

namespace {

std::string HostFolder() {
    char cwd[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, cwd);
    return std::string(cwd) + "\\shmemhost";
}

HANDLE StartWorker(const std::string& args) {
    HANDLE process = StartProcess("korvant_shmem_worker.exe " + args);
    if (process == nullptr) {
        ADD_FAILURE() << "cannot start the worker " << args << ": " << GetLastError();
    }
    return process;
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

// The exit code of a worker told to stop; one that does not end in time is
// ended, so that a failing run leaves nothing behind.
DWORD StoppedExitOf(HANDLE process) {
    if (process != nullptr && WaitForSingleObject(process, 20000) == WAIT_TIMEOUT) {
        TerminateProcess(process, 0xDEAD);
    }
    return ExitOf(process);
}

std::string UserSidString() {
    HANDLE token = nullptr;
    OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token);
    BYTE buffer[256];
    DWORD length = 0;
    std::string text;
    if (GetTokenInformation(token, TokenUser, buffer, sizeof buffer, &length)) {
        korvant::Sid sid;
        PSID user = reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid;
        if (korvant::Sid::FromBytes(user, GetLengthSid(user), &sid)) {
            text = sid.ToString();
        }
    }
    CloseHandle(token);
    return text;
}

void SetProductValue(const char* name, DWORD type, DWORD number, const char* text = nullptr) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Korva\\Vantrel\\CurrentVersion", 0, nullptr,
                        0, KEY_WRITE, nullptr, &key, nullptr) == ERROR_SUCCESS) {
        if (type == REG_DWORD) {
            RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), 4);
        } else {
            RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                           static_cast<DWORD>(std::strlen(text) + 1));
        }
        RegCloseKey(key);
    }
}

void DeleteProductValue(const char* name) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Korva\\Vantrel\\CurrentVersion", 0, KEY_WRITE,
                      &key) == ERROR_SUCCESS) {
        RegDeleteValueA(key, name);
        RegCloseKey(key);
    }
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
    void ExpectSoundOrRefused(const char* id, bool attached, Handle h) {
        if (attached && api.lock(h) == 1) {
            EXPECT_EQ(RawTable(id).Audit(), "") << id;
            api.unlock(h);
        } else {
            RawTable raw(id);
            EXPECT_TRUE(!raw.HeaderValid() || raw.Audit() != "")
                << id << (attached ? " attached but not locked" : " not attached");
        }
        if (attached) {
            api.close(h);
        }
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

// Puts a fresh header in place (every table goes), as the cache's own
// user would after removing the file, so that later tests find it usable.
void FreshArea() {
    HANDLE mutex = OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, "Global\\VTshmemV3_mutex");
    ASSERT_NE(mutex, nullptr);
    ASSERT_NE(WaitForSingleObject(mutex, 30000), static_cast<DWORD>(WAIT_TIMEOUT));
    RawTable raw(kRecordsId);
    if (raw.base != nullptr) {
        korvant::ShmemArea::WriteFreshHeader(raw.base, 0x180000, 0x5F000000);
        FlushViewOfFile(raw.base, korvant::area::kHeaderSize);
    }
    ReleaseMutex(mutex);
    CloseHandle(mutex);
}

struct Signals {
    Signals()
        : ready(CreateSemaphoreA(nullptr, 0, 16, kReadyName)),
          stop(CreateEventA(nullptr, TRUE, FALSE, kStopName)) {}
    ~Signals() {
        CloseHandle(ready);
        CloseHandle(stop);
    }
    // Every worker has signalled; false as soon as one of them has ended.
    bool AllReady(const std::vector<HANDLE>& workers) {
        for (std::size_t i = 0; i < workers.size(); ++i) {
            std::vector<HANDLE> handles = {ready};
            handles.insert(handles.end(), workers.begin(), workers.end());
            if (WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(), FALSE,
                                       60000) != WAIT_OBJECT_0) {
                return false;
            }
        }
        return true;
    }
    HANDLE ready;
    HANDLE stop;
};

TEST_F(SharedCache, AProcessWritingWithoutTheMutexCrashesNoOne) {
    Signals signals;
    std::vector<HANDLE> victims = {StartWorker("victim 1"), StartWorker("victim 2")};
    const bool ready = signals.AllReady(victims);
    if (ready) {
        // An outsider that maps the area by its name only, for a fixed time.
        EXPECT_EQ(RunWorker("hostile 2500 7"), 0u);
    }
    SetEvent(signals.stop);
    // Every victim ends normally: no access outside the views (guard space
    // lies around them), no crash, no hang.
    for (HANDLE victim : victims) {
        EXPECT_EQ(StoppedExitOf(victim), 0u);
    }
    ASSERT_TRUE(ready) << "a victim ended before it was ready";
    // Every table holds together once attached again, or it is refused as
    // damaged (then its stored form does not hold together either).
    Handle again = nullptr, counter = nullptr, small = nullptr;
    const bool haveRecords = OpenRecords(api, &again);
    ExpectSoundOrRefused(kRecordsId, haveRecords, again);
    const bool haveCounter = OpenCounter(api, &counter);
    ExpectSoundOrRefused(kCounterId, haveCounter, counter);
    const bool haveSmall = api.create(kSmallId, 16, kKeySize, sizeof(Record), api.strHash,
                                      api.strCmp, "Small", 1, &small) == 1;
    ExpectSoundOrRefused(kSmallId, haveSmall, small);
    FreshArea();
}

TEST_F(SharedCache, ThreadsOfOneProcessOpenAndCloseTablesWhileOthersMapSids) {
    EXPECT_EQ(RunWorker("threads 1000"), 0u);
}

TEST_F(SharedCache, DebugFileChangedUnderItsReader) {
    for (int i = 0; i < 40; ++i) {
        ASSERT_TRUE(Put("d" + std::to_string(i), i));
    }
    const std::string copy = HostFolder() + "\\debugcopy";
    ASSERT_TRUE(CopyFileA((HostFolder() + "\\var\\cache\\VTshmemV3").c_str(), copy.c_str(), FALSE));
    Signals signals;
    SetEnvironmentVariableA("KORVA_DEBUG_SHMEM_FILE", copy.c_str());
    HANDLE reader = StartWorker("debugreader 3");
    SetEnvironmentVariableA("KORVA_DEBUG_SHMEM_FILE", nullptr);
    const bool ready = signals.AllReady({reader});
    // Another process changes the file on disk while it is read: fields
    // flipped for a moment, and slots, counts and a table's geometry left
    // wrong for a while.
    HANDLE file =
        CreateFileA(copy.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    HANDLE mapping = CreateFileMappingA(file, nullptr, PAGE_READWRITE, 0, 0, nullptr);
    auto* base = static_cast<std::uint8_t*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0));
    if (ready && base != nullptr) {
        const std::uint64_t size = ViewExtent(base, nullptr);
        korvant::testing::AreaIntruder intruder(base, size, 5);
        const std::uint32_t table = korvant::Load32(base, 20 + 16);
        const std::uint64_t fields[] = {20 + 16,   20 + 20,   16,         596,       600,
                                        table + 4, table + 8, table + 16, table + 92};
        const std::uint32_t values[] = {0xFFFFFF00u, 0x7FFFFFFF, static_cast<std::uint32_t>(size)};
        for (int round = 0; round < 12; ++round) {
            for (int i = 0; i < 20000; ++i) {
                intruder.Step();
            }
            const std::uint64_t at = fields[round % std::size(fields)];
            const std::uint32_t old = korvant::Load32(base, at);
            korvant::Store32(base, at, values[round % std::size(values)]);
            Sleep(50);
            korvant::Store32(base, at, old);
        }
    }
    SetEvent(signals.stop);
    EXPECT_EQ(StoppedExitOf(reader), 0u);
    ASSERT_TRUE(ready) << "the reader ended before it was ready";
    ASSERT_NE(base, nullptr);
    UnmapViewOfFile(base);
    CloseHandle(mapping);
    CloseHandle(file);
    DeleteFileA(copy.c_str());
}

TEST_F(SharedCache, ASmallerSubareaThanAskedForIsRefused) {
    HMODULE dll = GetModuleHandleA("LIBKORVANT.dll");
    auto createArea = reinterpret_cast<void* (*)(int)>(GetProcAddress(dll, "shmem_create_area"));
    auto freeArea = reinterpret_cast<void (*)(void*)>(GetProcAddress(dll, "shmem_free_area"));
    auto create = reinterpret_cast<void* (*)(void*, const char*, DWORD)>(
        GetProcAddress(dll, "shmem_create_subarea"));
    auto size = reinterpret_cast<DWORD (*)(void*)>(GetProcAddress(dll, "shmem_get_subarea_size"));
    auto free = reinterpret_cast<void (*)(void*)>(GetProcAddress(dll, "shmem_free_subarea"));
    void* area = createArea(1);
    ASSERT_NE(area, nullptr);
    const char* id = "{0E4C1A10-5A5A-4C3B-9F00-0000000000C3}";
    void* made = create(area, id, 64);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(create(area, id, 4096), nullptr);
    void* found = create(area, id, 32);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(size(found), 64u);
    free(found);
    free(made);
    freeArea(area);
}

// What another user of the machine can do: block this user's private area
// (a folder where its file goes) and enter names of its choosing into the
// global table. Whether a process is privileged is still the account
// system's answer.
TEST_F(SharedCache, APoisonedGlobalTableDecidesNoPrivilege) {
    char cwd[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, cwd);
    const std::string host = std::string(cwd) + "\\poisonhost";
    const std::string blocked = host + "\\var\\cache\\VTshmemV3_" + UserSidString();
    for (const std::string& folder : {host, host + "\\var", host + "\\var\\cache", blocked}) {
        CreateDirectoryA(folder.c_str(), nullptr);
    }
    UseHostFolder(host);
    SetProductValue("InstallConfiguration", REG_DWORD, 0);
    Handle names = nullptr;
    ASSERT_EQ(api.create("{C7534560-08F7-11D1-BE5D-00609730D47D}", 32, 322, 68, api.strHash,
                         api.strCmp, "Account name->Sid", 1, &names),
              1);
    auto poison = [&](const char* name, WELL_KNOWN_SID_TYPE type) {
        char key[322] = {};
        std::snprintf(key, sizeof key, "%s", name);
        BYTE sid[68] = {};
        DWORD size = sizeof sid;
        ASSERT_TRUE(CreateWellKnownSid(type, nullptr, sid, &size));
        ASSERT_EQ(api.enter(names, key, sid, sizeof sid), 1);
    };
    // There is no VantrelGroup; the table says it is Everyone.
    poison("VantrelGroup", WinWorldSid);
    EXPECT_EQ(RunWorker("privileged"), 0u);
    // The product group is Administrators, which this user is in; the
    // table says it is Guests.
    SetProductValue("VantrelGroupName", REG_SZ, 0, "Administrators");
    poison("Administrators", WinBuiltinGuestsSid);
    EXPECT_EQ(RunWorker("privileged"), 1u);
    api.close(names);
    DeleteProductValue("VantrelGroupName");
    DeleteProductValue("InstallConfiguration");
    UseHostFolder(HostFolder());
    RemoveDirectoryA(blocked.c_str());
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
