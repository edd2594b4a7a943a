#pragma once

#include <memory>

#include "libkorvant/FakeSharedObjects.h"
#include "libkorvant/PersistentHash.h"
#include "libkorvant/ShmemArea.h"

namespace korvant::testing {

inline constexpr std::uint32_t kSmallArea = 0x10000;
inline constexpr const char* kTableId = "{A461E5E0-0D99-11D1-BE5D-00609730D47D}";
inline constexpr const char* kOtherId = "{5941C680-A295-11CF-86FA-00A0241A3E7D}";

inline AreaConfig TestConfig(std::uint32_t total = kSmallArea) {
    return MakeAreaConfig("C:\\Vantrel", "", true, total);
}

// One process of the fake machine with its view of the global area.
struct FakeProcess {
    FakeProcess(FakeMachine& machine, int pid, AreaConfig config = TestConfig())
        : os(machine, pid), area(std::make_unique<ShmemArea>(os, std::move(config))) {}
    std::unique_ptr<PersistentHash> Table(int capacity = 32, int key = 16, int data = 8,
                                          const char* id = kTableId) {
        return PersistentHash::Create(*area, id, capacity, key, data, PhashStrHash, PhashStrKeyCmp,
                                      "Test table", true);
    }
    FakeSharedObjects os;
    std::unique_ptr<ShmemArea> area;
};

// A fixed-size string key as the tables store it.
struct Key {
    explicit Key(const std::string& text) {
        std::snprintf(bytes, sizeof bytes, "%s", text.c_str());
    }
    char bytes[16] = {};
};

}  // namespace korvant::testing
