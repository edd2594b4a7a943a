#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "vtrelnp/NetResource.h"
#include "vtrelnp/Settings.h"

namespace vtrelnp {

// One open enumeration: its own copy of the groups it lists, and where it
// stands.
struct Enumeration {
    enum class Kind { kConnected, kTop, kViews };

    struct Entry {
        WString name;  // view tag, container name, or empty for the driver root
        std::optional<WString> localName;
    };
    struct Group {
        std::string host;  // empty when there is none
        std::vector<Entry> entries;
    };

    std::uint32_t scope = 0;
    Kind kind = Kind::kViews;
    std::vector<Group> groups;
    std::size_t group = 0;
    std::size_t entry = 0;

    // The entry to hand out next, or null at the end (skips empty groups).
    const Entry* Current();
    void Advance() { ++entry; }

    Resource ResourceFor(const Entry& entry, const Settings& settings) const;
};

// Groups entries by host, the hosts in order of first appearance.
void AddToHostGroup(std::vector<Enumeration::Group>* groups, const std::string& host,
                    Enumeration::Entry entry);

}  // namespace vtrelnp
