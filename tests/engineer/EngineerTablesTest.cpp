#include <gtest/gtest.h>

#include "engineer/EngineerTables.h"

using namespace engineer;

TEST(EngineerTables, UhfListSkipsTheUnusedCodes) {
    const auto uhf = BandSplitEntries(3);
    ASSERT_EQ(uhf.size(), 11u);
    EXPECT_EQ(uhf[3], "D: 450 - 457.9875 MHz");
    const int codes[] = {0, 1, 2, 4, 5, 6, 8, 9, 10, 11, 12};
    for (int i = 0; i < 11; ++i) EXPECT_EQ(SplitCodeOfEntry(3, i), codes[i]) << i;
    EXPECT_EQ(SplitCodeOfEntry(3, 11), -1);
    EXPECT_EQ(SplitCodeOfEntry(2, 3), 3);
    EXPECT_EQ(SplitCodeOfEntry(2, 4), -1);
    EXPECT_EQ(SplitCodeOfEntry(1, 0), -1);
    EXPECT_TRUE(BandSplitEntries(4).empty());
}

TEST(EngineerTables, UnknownCodesGetPlaceholdersAndNoDefaults) {
    for (int band : {1, 4, 5, 6, 7}) EXPECT_EQ(BandName(band), "???") << band;
    EXPECT_EQ(BandSplitName(3, 3), "???");
    EXPECT_EQ(BandSplitName(3, 7), "???");
    EXPECT_EQ(BandSplitName(0, 4), "???");
    EXPECT_EQ(BandSplitName(3, 31), "???");
    EXPECT_FALSE(DefaultFrequenciesOf(0, 4));
    EXPECT_FALSE(DefaultFrequenciesOf(3, 13));
    EXPECT_FALSE(DefaultFrequenciesOf(3, 31));
    EXPECT_FALSE(DefaultFrequenciesOf(1, 0));
    auto unused = DefaultFrequenciesOf(3, 7);
    ASSERT_TRUE(unused);
    EXPECT_EQ(unused->f1, 0.0);
    auto l = DefaultFrequenciesOf(3, 12);
    ASSERT_TRUE(l);
    EXPECT_DOUBLE_EQ(l->f2, 511.9875);
    EXPECT_EQ(ModulationName(3), "?");
    EXPECT_EQ(BatteryName(2), "?");
    EXPECT_EQ(BuildMonthName(24), "?");
    EXPECT_EQ(StoredVoiceName(1), "?");
    EXPECT_EQ(IfName(3), "?");
    EXPECT_EQ(WarrantyName(3), "?");
}

TEST(EngineerTables, ListsReadAsTheCodesTheyStore) {
    const auto& months = BuildMonthEntries();
    ASSERT_EQ(months.size(), 24u);
    EXPECT_EQ(months[0], "A - 1st Jan.");
    EXPECT_EQ(months[1], "B - 2nd Jan.");
    EXPECT_EQ(months[2], "C - 1st Feb.");
    EXPECT_EQ(months[23], "Z - 2nd Dec.");
    const auto& years = BuildYearEntries();
    ASSERT_EQ(years.size(), 24u);
    // Each entry names the year whose code it stores.
    for (int i = 0; i < 16; ++i) EXPECT_EQ(years[i], BuildYearName(YearCodeOfEntry(i))) << i;
    EXPECT_EQ(YearCodeOfEntry(0), 5);
    EXPECT_EQ(YearCodeOfEntry(11), 0);
    EXPECT_EQ(years[21], "L - 2026");
    EXPECT_EQ(StandardIfByte(0, true), 0x10);
    EXPECT_EQ(StandardIfByte(0, false), 0x11);
    EXPECT_EQ(StandardIfByte(2, true), 0x21);
    EXPECT_EQ(StandardIfByte(3, false), 0x42);
    EXPECT_FALSE(StandardIfByte(1, false));
}
