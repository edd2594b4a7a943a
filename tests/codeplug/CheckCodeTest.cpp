#include <gtest/gtest.h>

#include <random>

#include "codeplug/CCodeplug.h"

namespace {

Image Random(unsigned seed) {
    std::mt19937 rng(seed);
    Image image;
    for (auto& b : image) b = static_cast<Byte>(rng());
    return image;
}

std::uint16_t CodeOf(const Image& image) {
    CCodeplug plug;
    plug.SetImage(image);
    const Image out = plug.PrepareForOutput();
    return static_cast<std::uint16_t>(out[0x1EE] << 8 | out[0x1EF]);
}

TEST(CheckCode, FollowsSerialModelAndChecksum) {
    for (unsigned seed = 1; seed <= 10; ++seed) {
        const Image base = Random(seed);
        const std::uint16_t code = CodeOf(base);
        for (std::size_t at : {0x0F8u, 0x0FBu, 0x0FCu, 0x0FFu}) {
            Image changed = base;
            changed[at] ^= 0x10;  // high nibble feeds the high byte's register
            EXPECT_NE(CodeOf(changed) >> 8, code >> 8) << "seed " << seed << " at " << at;
        }
        Image other = base;
        other[0x150] ^= 0x01;  // a checksum change alone
        EXPECT_NE(CodeOf(other), code) << "seed " << seed;
        // Bytes outside the checksum and the old check code play no part.
        Image outside = base;
        outside[0x1F5] ^= 0xFF;
        outside[0x1EE] ^= 0xFF;
        outside[0x1EF] ^= 0xFF;
        EXPECT_EQ(CodeOf(outside), code);
    }
}

TEST(CheckCode, LowByteDependsOnExactlyOneByteBelowTheModelNumber) {
    for (unsigned seed = 1; seed <= 10; ++seed) {
        const Image base = Random(seed);
        const std::uint16_t code = CodeOf(base);
        int influencing = 0;
        for (std::size_t i = 0; i < 0x1ED; ++i) {
            if (i >= 0x0F8 && i < 0x100) continue;  // serial and model number
            // Move one unit from byte i to a byte far away, keeping the checksum.
            Image changed = base;
            const std::size_t j = i == 0x1E0 ? 0x1E1 : 0x1E0;
            changed[i] = static_cast<Byte>(changed[i] + 1);
            changed[j] = static_cast<Byte>(changed[j] - 1);
            const std::uint16_t c = CodeOf(changed);
            EXPECT_EQ(c >> 8, code >> 8);
            if ((c & 0xFF) != (code & 0xFF) && i < 0x100 && j >= 0x100) {
                ++influencing;
            } else if (i >= 0x100) {
                EXPECT_EQ(c, code) << "seed " << seed << " byte " << i;
            }
        }
        EXPECT_EQ(influencing, 1) << "seed " << seed;
    }
}

}  // namespace
