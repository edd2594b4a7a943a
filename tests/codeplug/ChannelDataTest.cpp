#include <gtest/gtest.h>

#include "codeplug/CChannelData.h"
#include "codeplug/CToneCode.h"
#include "codeplug/CodeplugContext.h"

namespace {

using Slots = CChannelData::Slots;
using Refs = CChannelData::Refs;
using Table = CChannelData::Table;

class ChannelData : public ::testing::Test {
protected:
    void SetUp() override { CodeplugContext::Get().Reset(); }
    void TearDown() override { CodeplugContext::Get().Reset(); }
};

TEST(TonePacking, OneCodeInEverySlotGivesOneEntryUsedByBothHalves) {
    Slots slots;
    slots.fill(0x1234);
    Refs refs{};
    refs[0] = 0x7F;  // stale index bits go, bit 6 stays
    Table table;
    Refs out;
    CChannelData::Pack(slots, refs, table, out);
    EXPECT_EQ(table[0], 0x1234 | 0xC000);
    for (int i = 1; i < 20; ++i) EXPECT_EQ(table[i], 0) << i;
    EXPECT_EQ(out[0], 0x40);
    for (int i = 1; i < 20; ++i) EXPECT_EQ(out[i], 0) << i;
}

TEST(TonePacking, EmptyChannelHasZeroTableAndEmptyMarks) {
    Slots slots{};
    Refs refs{};
    for (int i = 0; i < 20; ++i) refs[i] = (i % 3 == 0) ? 0x45 : 0x13;
    Table table;
    Refs out;
    CChannelData::Pack(slots, refs, table, out);
    EXPECT_EQ(table, Table{});
    for (int i = 0; i < 20; ++i) EXPECT_EQ(out[i], (i % 3 == 0) ? 0xC0 : 0x80) << i;
}

TEST(TonePacking, DistinctCodesInFirstUseOrderWithSecondToneMarks) {
    Slots slots{};
    slots[0] = 100;   // call 1 tone 1
    slots[1] = 100;   // call 2 tone 1 shares entry 0
    slots[8] = 200;   // group call 1: entry 1
    slots[12] = 200;  // call 1 tone 2 reuses entry 1 and marks it
    slots[13] = 300;  // new entry from the second half
    slots[19] = 100;  // second half reuses entry 0
    Table table;
    Refs out;
    CChannelData::Pack(slots, Refs{}, table, out);
    EXPECT_EQ(table[0], 100 | 0xC000);
    EXPECT_EQ(table[1], 200 | 0xC000);
    EXPECT_EQ(table[2], 300 | 0xC000);
    EXPECT_EQ(table[3], 0);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[1], 0);
    EXPECT_EQ(out[8], 1);
    EXPECT_EQ(out[12], 1);
    EXPECT_EQ(out[13], 2);
    EXPECT_EQ(out[19], 0);
    EXPECT_EQ(out[2], 0x80);

    // Only first-half use: no bit 14.
    Slots first{};
    first[11] = 0x3FFF;
    CChannelData::Pack(first, Refs{}, table, out);
    EXPECT_EQ(table[0], 0xBFFF);
    EXPECT_EQ(out[11], 0);

    EXPECT_EQ(CChannelData::Unpack(table, out), first);
}

TEST(TonePacking, UnpackReadsEntriesAndIgnoresIndexesPastTheTable) {
    Table table{};
    table[0] = 0xC000 | 0x0ABC;
    table[19] = 0x8000 | 0x0123;
    Refs refs{};
    refs.fill(0x80);
    refs[0] = 0x40;  // duty bit does not disturb the index
    refs[1] = 19;
    refs[2] = 20;         // past the table
    refs[3] = 0x3F;       // past the table
    refs[4] = 0x80 | 19;  // marked empty
    const Slots slots = CChannelData::Unpack(table, refs);
    EXPECT_EQ(slots[0], 0x0ABC);
    EXPECT_EQ(slots[1], 0x0123);
    EXPECT_EQ(slots[2], 0);
    EXPECT_EQ(slots[3], 0);
    EXPECT_EQ(slots[4], 0);
}

TEST_F(ChannelData, LoadStoreRoundTripKeepsDutyAndRepacks) {
    CCodeplug plug;
    CChannelData ch;
    ch.SetClockIndex(0);
    ASSERT_TRUE(ch.SetTone(0, 1000.0));
    ASSERT_TRUE(ch.SetTone(12, 1153.4));
    ASSERT_TRUE(ch.SetDutyOff(0, true));
    ASSERT_TRUE(ch.SetDutyOff(11, true));
    ASSERT_TRUE(ch.SetCodingOption(3));
    ASSERT_TRUE(ch.SetCallAlert(0, 9));
    ch.Store(plug, F2);
    EXPECT_EQ(plug.GetCodingOption(F2), 3);
    EXPECT_EQ(plug.GetCodingOption(F1), 0);
    EXPECT_EQ(plug.GetToneRefs(F2)[0], 0x40);
    EXPECT_EQ(plug.GetToneRefs(F2)[11], 0xC0);
    EXPECT_EQ(plug.GetCallBytes(F2)[0], 9);
    EXPECT_EQ(plug.GetToneTable(F1), Table{});

    CChannelData back;
    back.Load(plug, F2);
    EXPECT_EQ(back.GetSlotCode(0), ch.GetSlotCode(0));
    EXPECT_EQ(back.GetSlotCode(12), ch.GetSlotCode(12));
    EXPECT_TRUE(back.GetDutyOff(0));
    EXPECT_FALSE(back.GetDutyOff(1));
    EXPECT_TRUE(back.GetDutyOff(11));
    EXPECT_EQ(back.DutyText(11), "OFF");
    EXPECT_EQ(back.DutyText(1), "ON");
    EXPECT_EQ(back.CallAlertText(0), "Music 8");
    EXPECT_EQ(back.CallAlertShortText(1), "Std");
    EXPECT_EQ(back.CodingOptionText(), "STD");
    EXPECT_DOUBLE_EQ(back.GetTone(0), 1006.9);  // Corvane snaps
    EXPECT_DOUBLE_EQ(back.GetTone(12), 1153.4);
    EXPECT_EQ(back.ToneText(5), "0.0");
}

TEST_F(ChannelData, TonesFollowTheClockAndTheContextToneSystem) {
    CChannelData ch;
    ch.SetClockIndex(1);
    ch.SetTone(3, 1000.0);
    EXPECT_EQ(ch.GetSlotCode(3), CToneCode::Encode(1000.0, 1).Code14());
    CodeplugContext::Get().toneSystem = TONE_USER;
    EXPECT_DOUBLE_EQ(ch.GetTone(3), CToneCode::Encode(1000.0, 1).DecodeRaw(1));
    CodeplugContext::Get().toneSystem = TONE_GE;
    EXPECT_DOUBLE_EQ(ch.GetTone(3), 967.5);
    ch.SetTone(3, 0.0);
    EXPECT_EQ(ch.GetSlotCode(3), 0);
    EXPECT_EQ(ch.GetTone(3), 0.0);
}

TEST_F(ChannelData, OutOfRangeArgumentsAreRefusedAndReadAsEmpty) {
    CChannelData ch;
    EXPECT_FALSE(ch.SetSlotCode(20, 5));
    EXPECT_FALSE(ch.SetSlotCode(-1, 5));
    EXPECT_FALSE(ch.SetSlotCode(0, 0x4000));
    EXPECT_TRUE(ch.SetSlotCode(0, 0x3FFF));
    EXPECT_FALSE(ch.SetTone(20, 1000.0));
    EXPECT_EQ(ch.GetSlotCode(20), 0);
    EXPECT_EQ(ch.GetTone(-1), 0.0);
    EXPECT_FALSE(ch.SetDutyOff(12, true));
    EXPECT_FALSE(ch.GetDutyOff(12));
    EXPECT_FALSE(ch.SetCallAlert(12, 0));
    EXPECT_FALSE(ch.SetCallAlert(0, 256));
    EXPECT_FALSE(ch.SetCodingOption(16));
    EXPECT_TRUE(ch.SetCodingOption(15));
    EXPECT_EQ(ch.CodingOptionText(), "");
    ch.SetCallAlert(2, 10);
    EXPECT_EQ(ch.CallAlertText(2), "");
    EXPECT_EQ(ch.CallAlertShortText(2), "");
}

TEST_F(ChannelData, ThresholdAndClockComeFromTheAdvancedBlock) {
    CCodeplug plug;
    auto adv = plug.GetAdvanced();
    adv[4] = 0x40 | (3 << 2) | 0x03;  // MEASURE_MODE, BANDWIDTH 3, low bits noise
    adv[3] = 0xF1;                    // CLOCK_SEL 1 in the low nibble
    plug.SetAdvanced(adv);
    CChannelData ch;
    ch.Load(plug, F1);
    EXPECT_DOUBLE_EQ(ch.GetThreshold(), 0.0155);
    EXPECT_EQ(ch.GetClockIndex(), 1);
    EXPECT_DOUBLE_EQ(CChannelData::Threshold(0), 0.0035);
    EXPECT_NEAR(CChannelData::Threshold(15), 0.0635, 1e-12);
}

TEST_F(ChannelData, FrequencyUsesTheContextBandAndKeepsTheIfByte) {
    CodeplugContext::Get().band = 2;
    CChannelData ch;
    ch.SetFrequency(151.0125, 0x24);
    EXPECT_EQ(ch.GetIfByte(), 0x24);
    EXPECT_NEAR(ch.GetFrequency(), 151.0125, 1e-9);
    ch.SetFrequency(0.0, 0x24);
    EXPECT_EQ(ch.GetFrequency(), 0.0);
    EXPECT_EQ(ch.GetRxRecord()[4], 0x11);
}

TEST(ChannelTexts, CodingOptionAndAlertNames) {
    const char* options[] = {"R468", "R130", "R97", "STD",  "R134",       "R138",
                             "R362", "R177", "R60", "R621", "R168 (None)"};
    for (int i = 0; i < 11; ++i) EXPECT_EQ(CChannelData::CodingOptionText(i), options[i]);
    EXPECT_EQ(CChannelData::CodingOptionText(11), "");
    EXPECT_EQ(CChannelData::AlertName(1), "Continuous");
    EXPECT_EQ(CChannelData::AlertShortName(1), "Cont's");
    EXPECT_EQ(CChannelData::AlertName(2), "Music 1");
    EXPECT_EQ(CChannelData::AlertShortName(9), "Music 8");
    EXPECT_EQ(CChannelData::AlertName(255), "");
}

}  // namespace
