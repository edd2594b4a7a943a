#pragma once
// CCommPort on a real pseudo-terminal whose far end the test plays.
#include <gtest/gtest.h>

#include <algorithm>
#include <future>

#include "link/CCommPort.h"
#include "link/PtyPeer.h"

inline std::vector<std::uint8_t> Pattern() {
    std::vector<std::uint8_t> data(512);
    for (int i = 0; i < 512; ++i) data[i] = static_cast<std::uint8_t>(i * 37 + 11);
    return data;
}

class Exchange : public ::testing::Test {
protected:
    Exchange() : port("") { port.SetPortName(peer.Path()); }

    // Runs ReadImage while the peer answers "r" with `answer`.
    bool ReadWith(const std::vector<std::uint8_t>& answer, std::uint8_t* block) {
        auto far = std::async(std::launch::async, [&] {
            const auto cmd = peer.Receive(2000, 1);
            if (cmd == std::vector<std::uint8_t>{'r'}) peer.Send(answer);
            return cmd;
        });
        EXPECT_TRUE(port.Open());
        const bool ok = port.ReadImage(block);
        EXPECT_EQ(far.get(), std::vector<std::uint8_t>{'r'});
        EXPECT_FALSE(port.Port().IsOpen());
        return ok;
    }

    PtyPeer peer;
    CCommPort port;
};
