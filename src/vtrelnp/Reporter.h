#pragma once

#include <string>

#include "vtrelnp/System.h"

namespace vtrelnp {

// The provider's two failure channels.
class Reporter {
public:
    static constexpr std::uint16_t kCategoryNetworkProvider = 11;
    static constexpr std::uint32_t kEventText = 0x400;  // "%1"

    explicit Reporter(System& system) : system_(system) {}

    // "vtrelnp(pid: %u, tid: %u) " and the message, ending in a newline.
    void Debug(const std::string& message);
    // An error event whose one string is "(pid: %u, tid: %u) " and the
    // message; when the log fails, the failure and the message go to the
    // debugger instead.
    void Event(const std::string& message);

private:
    System& system_;
};

}  // namespace vtrelnp
