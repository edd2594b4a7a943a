// The shared cache through the real LIBKORVANT.dll, under Wine: the bare
// wait/release of the area's named mutex, cached SID-to-uid lookups against
// the uncached account lookups, and table throughput from 1 and 8 processes.
//   korvant_cache_bench [iterations]
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "libkorvant/wine/ShmemWine.h"

using namespace shmemwine;
using Clock = std::chrono::steady_clock;

namespace {

double MicrosPer(Clock::time_point start, int n) {
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count() / n;
}

int Throughput(Api& api, int n, int seed) {
    Handle records = nullptr;
    if (!OpenRecords(api, &records)) {
        return 1;
    }
    for (int i = 0; i < n; ++i) {
        const Key key("b" + std::to_string(seed) + "-" + std::to_string(i % 150));
        Record rec;
        rec.version = i;
        rec.check = Record::CheckOf(key, i);
        if (i % 2 == 0) {
            api.enter(records, key.text, &rec, sizeof rec);
        } else {
            int length = sizeof rec;
            api.lookup(records, key.text, &rec, &length);
        }
    }
    api.close(records);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    Api api;
    if (!api.Load()) {
        return 2;
    }
    if (argc > 2 && std::string(argv[1]) == "child") {
        return Throughput(api, std::atoi(argv[2]), std::atoi(argv[3]));
    }
    const int n = argc > 1 ? std::atoi(argv[1]) : 2000;
    char cwd[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, cwd);
    UseHostFolder(std::string(cwd) + "\\shmemhost");

    HMODULE dll = GetModuleHandleA("LIBKORVANT.dll");
    auto init = reinterpret_cast<void (*)()>(GetProcAddress(dll, "nt_init"));
    auto sidToUid = reinterpret_cast<int (*)(PSID)>(GetProcAddress(dll, "nt_sid_to_uid"));
    auto lookupName =
        reinterpret_cast<int (*)(const char*, PSID, DWORD*, char*, DWORD*, SID_NAME_USE*, char*)>(
            GetProcAddress(dll, "nt_lookup_account_name"));
    init();
    BYTE admins[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof admins;
    CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, admins, &size);
    sidToUid(admins);  // now cached

    HANDLE mutex = OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, "Global\\VTshmemV3_mutex");
    if (mutex == nullptr) {
        std::printf("area mutex not found\n");
        return 3;
    }
    auto start = Clock::now();
    for (int i = 0; i < n; ++i) {
        WaitForSingleObject(mutex, INFINITE);
        ReleaseMutex(mutex);
    }
    const double bare = MicrosPer(start, n);

    start = Clock::now();
    for (int i = 0; i < n; ++i) {
        sidToUid(admins);
    }
    const double cached = MicrosPer(start, n);

    const int slow = n / 10 > 0 ? n / 10 : 1;
    start = Clock::now();
    for (int i = 0; i < slow; ++i) {
        char name[256], domain[256];
        DWORD nameSize = sizeof name, domainSize = sizeof domain;
        SID_NAME_USE use;
        LookupAccountSidA(nullptr, admins, name, &nameSize, domain, &domainSize, &use);
    }
    const double sidLookup = MicrosPer(start, slow);
    start = Clock::now();
    for (int i = 0; i < slow; ++i) {
        BYTE sid[SECURITY_MAX_SID_SIZE];
        DWORD sidSize = sizeof sid;
        lookupName("Administrators", sid, &sidSize, nullptr, nullptr, nullptr, nullptr);
    }
    const double nameLookup = MicrosPer(start, slow);

    start = Clock::now();
    Throughput(api, n, 0);
    const double one = n / std::chrono::duration<double>(Clock::now() - start).count();

    std::vector<HANDLE> children;
    start = Clock::now();
    for (int c = 0; c < 8; ++c) {
        std::string line =
            "korvant_cache_bench.exe child " + std::to_string(n) + " " + std::to_string(c + 1);
        STARTUPINFOA si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        if (CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                           &pi)) {
            CloseHandle(pi.hThread);
            children.push_back(pi.hProcess);
        }
    }
    for (HANDLE h : children) {
        WaitForSingleObject(h, INFINITE);
        CloseHandle(h);
    }
    const double eight = 8.0 * n / std::chrono::duration<double>(Clock::now() - start).count();

    std::printf("bare wait/release of the area mutex   %8.1f us\n", bare);
    std::printf("nt_sid_to_uid, cached                 %8.1f us  (%.2f x the mutex)\n", cached,
                cached / bare);
    std::printf("LookupAccountSid, uncached            %8.1f us\n", sidLookup);
    std::printf("nt_lookup_account_name, uncached      %8.1f us\n", nameLookup);
    std::printf("enter/lookup, 1 process               %8.0f ops/s\n", one);
    std::printf("enter/lookup, 8 processes             %8.0f ops/s (all together, incl. start)\n",
                eight);
    return 0;
}
