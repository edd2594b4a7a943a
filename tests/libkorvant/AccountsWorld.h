#pragma once

#include "libkorvant/Accounts.h"
#include "libkorvant/FakeAccountSystem.h"
#include "libkorvant/FakePlatform.h"
#include "libkorvant/ShmemTestSupport.h"

namespace korvant::testing {

inline constexpr const char* kPrivateSid = "S-1-5-21-7-8-9-1105";

// One process: registry, account services and the shared cache of a fake machine.
struct World {
    explicit World(FakeMachine& machine, int pid = 1)
        : system(platform),
          store(platform, system),
          objects(machine, pid),
          cache(objects,
                [] {
                    CacheSettings s;
                    s.global = TestConfig();
                    s.priv = MakeAreaConfig("C:\\Vantrel", kPrivateSid, true, kSmallArea);
                    return s;
                }),
          accounts(platform, store, system, sys, &cache) {}
    FakePlatform platform;
    SystemInfo system;
    RegistryStore store;
    FakeAccountSystem sys;
    FakeSharedObjects objects;
    SharedCache cache;
    Accounts accounts;
};

}  // namespace korvant::testing
