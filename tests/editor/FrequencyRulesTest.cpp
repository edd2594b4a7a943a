#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "codeplug/CodeplugContext.h"
#include "editor/BandSplits.h"
#include "editor/FrequencyRules.h"
#include "editor/SpurTable.h"

namespace {

// IF_SEL: bits 7-5 IF index, bit 4 high-side injection, bits 3-0 divider.
constexpr std::uint8_t kIf21LowInjection = 0x20 | 0x04;
constexpr std::uint8_t kIf21HighInjection = 0x20 | 0x10 | 0x04;
constexpr std::uint8_t kIf14LowInjection = 0x00 | 0x02;

class FrequencyRules : public ::testing::Test {
protected:
    void SetUp() override { CodeplugContext::Get().Reset(); }
    void TearDown() override { CodeplugContext::Get().Reset(); }

    static void Use(int band, int split, int crystal = 0) {
        CodeplugContext& ctx = CodeplugContext::Get();
        ctx.band = band;
        ctx.subBand = split;
        ctx.crystal = crystal;
    }
    static FrequencyVerdict Verdict(const char* text, std::uint8_t ifByte = kIf21LowInjection) {
        return CheckReceiverFrequency(text, ifByte).verdict;
    }
};

TEST_F(FrequencyRules, UhfSplitAWithLowInjection) {
    Use(3, 0);
    EXPECT_EQ(Verdict("406.0125"), FrequencyVerdict::Ok);
    EXPECT_EQ(Verdict("406.0"), FrequencyVerdict::Spur);
    EXPECT_EQ(Verdict("405.5"), FrequencyVerdict::OutOfBandWarning);
    EXPECT_TRUE(CheckReceiverFrequency("405.5", kIf21LowInjection).Accepted());
    EXPECT_EQ(Verdict("404.0"), FrequencyVerdict::OutOfRange);
    EXPECT_FALSE(CheckReceiverFrequency("404.0", kIf21LowInjection).Accepted());
    EXPECT_EQ(FrequencyRangeMessage(), "Please enter a number between 405.3 and 414.6875.");
}

TEST_F(FrequencyRules, MarginAboveUhfSplitAIncludesItsEnd) {
    Use(3, 0);
    EXPECT_EQ(Verdict("414.0"), FrequencyVerdict::OutOfBandWarning);
    EXPECT_EQ(Verdict("414.6875"), FrequencyVerdict::OutOfBandWarning);
    EXPECT_EQ(Verdict("414.7"), FrequencyVerdict::OutOfRange);
    EXPECT_EQ(Verdict("405.3"), FrequencyVerdict::OutOfBandWarning);
    EXPECT_TRUE(FrequencyInRange(405.3));
    EXPECT_FALSE(FrequencyInRange(405.2875));
    EXPECT_FALSE(IsOutOfBand(413.9875));
    EXPECT_FALSE(IsOutOfBand(406.0));
    EXPECT_FALSE(IsOutOfBand(410.0));
    EXPECT_FALSE(IsOutOfBand(300.0));
}

TEST_F(FrequencyRules, VhfSplitALimitsAndRaster) {
    Use(2, 0);
    EXPECT_EQ(FrequencyRangeMessage(), "Please enter a number between 142.4 and 151.5975.");
    EXPECT_EQ(Verdict("150.0025"), FrequencyVerdict::Ok);
    EXPECT_EQ(Verdict("150.0025", kIf14LowInjection), FrequencyVerdict::Ok);
    EXPECT_EQ(Verdict("150.001"), FrequencyVerdict::OffRaster);
    EXPECT_EQ(Verdict("142.4"), FrequencyVerdict::OutOfBandWarning);
    EXPECT_EQ(Verdict("151.5975"), FrequencyVerdict::OutOfBandWarning);
    EXPECT_EQ(Verdict("151.6"), FrequencyVerdict::OutOfRange);
}

TEST_F(FrequencyRules, RasterFollowsTheBandStepOnBothInjectionSides) {
    Use(3, 1);
    EXPECT_TRUE(IsOnRaster(414.0125, kIf21LowInjection));
    EXPECT_TRUE(IsOnRaster(414.0125, kIf21HighInjection));
    EXPECT_FALSE(IsOnRaster(414.005, kIf21HighInjection));
    Use(0, 0);
    EXPECT_TRUE(IsOnRaster(35.125, kIf14LowInjection));  // 14.575 IF, LO 20.55
    EXPECT_FALSE(IsOnRaster(35.1275, kIf14LowInjection));
    // 45.0 MHz IF (index 2) is a whole multiple of every step as well.
    Use(3, 0);
    EXPECT_TRUE(IsOnRaster(406.0125, 0x40));
}

TEST_F(FrequencyRules, BlankFieldIsAcceptedWithoutAnyMessage) {
    for (int band : {0, 2, 3}) {
        Use(band, 0);
        for (std::uint8_t ifByte : {kIf21LowInjection, kIf21HighInjection, kIf14LowInjection}) {
            const FrequencyCheck c = CheckReceiverFrequency("        ", ifByte);
            EXPECT_EQ(c.verdict, FrequencyVerdict::Ok) << band << ' ' << int(ifByte);
            EXPECT_EQ(c.value, 0.0);
        }
    }
}

TEST_F(FrequencyRules, TextSyntaxComesFirst) {
    Use(3, 8);
    EXPECT_EQ(Verdict("45a"), FrequencyVerdict::Invalid);
    EXPECT_EQ(Verdict("470.0125x"), FrequencyVerdict::Ok);
    EXPECT_EQ(CheckReceiverFrequency("470.0125x", kIf21LowInjection).value, 470.0125);
}

TEST_F(FrequencyRules, LowBandSplitDSpursDependOnTheCrystal) {
    Use(0, 3, 1);
    EXPECT_TRUE(IsSpur(46.52));   // strictly inside [46.51, 46.53]
    EXPECT_TRUE(IsSpur(46.51));   // range ends by the tolerance
    EXPECT_TRUE(IsSpur(46.53));
    EXPECT_FALSE(IsSpur(46.525 + 0.01));
    EXPECT_TRUE(IsSpur(45.09));
    EXPECT_FALSE(IsSpur(46.545));
    for (int other : {0, 2, 15}) {
        Use(0, 3, other);
        EXPECT_FALSE(IsSpur(46.52)) << other;
        EXPECT_TRUE(IsSpur(46.525)) << other;
        EXPECT_FALSE(IsSpur(45.09)) << other;
    }
}

TEST_F(FrequencyRules, SpurMatchingIsByTolerance) {
    EXPECT_TRUE(IsSpur(35.805 + 0.00009, 0, 0, 0));
    EXPECT_TRUE(IsSpur(35.805 - 0.00009, 0, 0, 0));
    EXPECT_TRUE(IsSpur(35.8051, 0, 0, 0));  // 0.0001 away counts
    EXPECT_FALSE(IsSpur(35.805 + 0.00011, 0, 0, 0));
    EXPECT_FALSE(IsSpur(35.805 - 0.00011, 0, 0, 0));
    // Bracketed ranges of UHF A with crystal 1, one lying outside the split.
    EXPECT_TRUE(IsSpur(408.65, 3, 0, 1));
    EXPECT_TRUE(IsSpur(409.35, 3, 0, 1));
    EXPECT_TRUE(IsSpur(414.3625, 3, 0, 1));
    EXPECT_FALSE(IsSpur(408.65, 3, 0, 0));
    EXPECT_FALSE(IsSpur(408.7, 3, 0, 1));
}

TEST_F(FrequencyRules, SpurListsBelongToTheirSplit) {
    // Listed values outside their split only hit under their own split.
    EXPECT_TRUE(IsSpur(45.085, 0, 2, 0));
    EXPECT_FALSE(IsSpur(45.085, 0, 3, 0));
    EXPECT_TRUE(IsSpur(45.085, 0, 3, 1));
    // UHF D and E share some spurs but not all.
    EXPECT_TRUE(IsSpur(456.5125, 3, 4, 0));
    EXPECT_TRUE(IsSpur(456.5125, 3, 5, 0));
    EXPECT_FALSE(IsSpur(456.525, 3, 4, 0));
    EXPECT_TRUE(IsSpur(456.525, 3, 5, 0));
    EXPECT_TRUE(IsSpur(469.5, 3, 6, 0));
    EXPECT_TRUE(IsSpur(494.0, 3, 10, 0));
    EXPECT_TRUE(IsSpur(511.8875, 3, 12, 0));
    EXPECT_TRUE(IsSpur(158.9025, 2, 1, 1));
    EXPECT_FALSE(IsSpur(158.9025, 2, 1, 0));
    EXPECT_TRUE(IsSpur(157.5125, 2, 1, 0));
    // Unused codes and bands have no list.
    EXPECT_FALSE(IsSpur(456.5125, 3, 3, 0));
    EXPECT_FALSE(IsSpur(35.805, 1, 0, 0));
    EXPECT_FALSE(IsSpur(35.805, -1, -1, -1));
}

TEST_F(FrequencyRules, UnusedSplitsHaveNoNameAndNoRange) {
    EXPECT_EQ(BandSplitName(3, 3), "");
    EXPECT_EQ(BandSplitName(3, 7), "");
    EXPECT_EQ(BandSplitName(3, 4), "D: 450 - 457.9875 MHz");
    EXPECT_EQ(BandSplitName(3, 8), "H: 470 - 477.9875 MHz");
    EXPECT_EQ(BandSplitName(2, 3), "D: 167 - 174.0000 MHz");
    EXPECT_EQ(BandSplitName(1, 0), "");
    EXPECT_EQ(BandSplitName(0, 31), "");
    Use(3, 7);
    EXPECT_EQ(Verdict("30.0125"), FrequencyVerdict::Ok);  // any raster frequency
    EXPECT_EQ(FrequencyRangeMessage(), "");
    EXPECT_FALSE(IsOutOfBand(405.5));
}

TEST_F(FrequencyRules, BandWithoutStepTakesNoFrequency) {
    Use(1, 0);
    EXPECT_FALSE(IsOnRaster(100.0, kIf21LowInjection));
    EXPECT_EQ(Verdict("100.0"), FrequencyVerdict::OffRaster);
    EXPECT_EQ(Verdict(""), FrequencyVerdict::Ok);
}

TEST_F(FrequencyRules, HostileValuesGiveDefinedAnswers) {
    Use(3, 0);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (double f : {nan, inf, -inf, 1e300, -1e300, 99999999.0, -406.0125}) {
        EXPECT_FALSE(IsOutOfBand(f)) << f;
        EXPECT_FALSE(CheckReceiverFrequency(f, kIf21LowInjection).Accepted()) << f;
        EXPECT_FALSE(IsSpur(f)) << f;
    }
    EXPECT_EQ(Verdict("99999999"), FrequencyVerdict::OutOfRange);
    Use(3, 7);  // no range check: the raster still refuses what no synthesizer holds
    EXPECT_FALSE(IsOnRaster(99999999.0, kIf21LowInjection));
    EXPECT_FALSE(IsOnRaster(nan, kIf21LowInjection));
    EXPECT_FALSE(IsOnRaster(inf, kIf21HighInjection));
    EXPECT_FALSE(IsOnRaster(-1e300, kIf21HighInjection));
}

}  // namespace
