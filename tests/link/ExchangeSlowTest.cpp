// Exchanges that wait out a full time-out.
#include <numeric>

#include "link/ExchangeFixture.h"

namespace {

TEST_F(Exchange, ReadRefusesABlockOneByteShortEvenWhenItsSumMatches) {
    // 511 data bytes and a sum, arranged so that the 512 bytes received sum
    // to 0 and the empty 513th byte matches: only the count tells.
    auto data = Pattern();
    data.erase(data.begin() + 256);
    unsigned sum = std::accumulate(data.begin(), data.end(), 0u);
    data.push_back(static_cast<std::uint8_t>(256 - (sum & 0xFF)));
    ASSERT_EQ(std::accumulate(data.begin(), data.end(), 0u) & 0xFF, 0u);
    std::uint8_t block[513] = {};
    EXPECT_FALSE(ReadWith(data, block));
    EXPECT_EQ(port.LastExchange().fault, LinkFault::WrongLength);
    EXPECT_EQ(port.LastExchange().received, 512u);
}

}  // namespace
