#include <gtest/gtest.h>

#include "codeplug/CModelNumber.h"
#include "codeplug/CSerialNumber.h"

namespace {

TEST(ModelNumber, FreshRecordReadsA03XLT2238AC) {
    CModelNumber m;
    EXPECT_EQ(m.GetBytes(), (CModelNumber::Bytes{0x00, 0x80, 0x00, 0x03}));
    EXPECT_EQ(m.GetBand(), 2);
    EXPECT_EQ(m.GetSubBand(), 3);
    EXPECT_EQ(m.ModelText(), "A03XLT2238AC");
    EXPECT_EQ(m.SubBandText(), "D: 167 - 174.0000 MHz");
    EXPECT_EQ(m.CrystalText(), "3.579545");
}

TEST(ModelNumber, FieldsPackIntoTheirBitsWithoutTouchingOthers) {
    CModelNumber m;
    m.SetBytes({0, 0, 0, 0});
    ASSERT_TRUE(m.SetBand(5));  // b0 bit 0 and b1 bits 7-6
    EXPECT_EQ(m.GetBytes(), (CModelNumber::Bytes{0x01, 0x40, 0x00, 0x00}));
    ASSERT_TRUE(m.SetCoding(2));  // b1 bit 0 and b2 bit 7
    EXPECT_EQ(m.GetBytes()[1], 0x41);
    EXPECT_EQ(m.GetBytes()[2], 0x00);
    ASSERT_TRUE(m.SetBattery(1));  // b2 bit 0 and b3 bit 7
    EXPECT_EQ(m.GetBytes()[3], 0x80);
    ASSERT_TRUE(m.SetFrequencies(15));
    ASSERT_TRUE(m.SetRevision(3));
    ASSERT_TRUE(m.SetModulation(7));
    ASSERT_TRUE(m.SetFamily(3));
    ASSERT_TRUE(m.SetSp(15));
    EXPECT_EQ(m.GetBand(), 5);
    EXPECT_EQ(m.GetCoding(), 2);
    EXPECT_EQ(m.GetBattery(), 1);
    EXPECT_EQ(m.GetFrequencies(), 15);
    EXPECT_EQ(m.GetRevision(), 3);
    EXPECT_EQ(m.GetModulation(), 7);
    EXPECT_EQ(m.GetFamily(), 3);
    EXPECT_EQ(m.GetSp(), 15);
    EXPECT_EQ(m.GetBytes(), (CModelNumber::Bytes{0xF1, 0x7F, 0x7E, 0x80}));
}

TEST(ModelNumber, SettersRefuseValuesWiderThanTheField) {
    CModelNumber m;
    const auto before = m.GetBytes();
    EXPECT_FALSE(m.SetSubBand(32));
    EXPECT_FALSE(m.SetSp(16));
    EXPECT_FALSE(m.SetBand(8));
    EXPECT_FALSE(m.SetFamily(4));
    EXPECT_FALSE(m.SetModulation(8));
    EXPECT_FALSE(m.SetCoding(4));
    EXPECT_FALSE(m.SetFrequencies(16));
    EXPECT_FALSE(m.SetRevision(4));
    EXPECT_FALSE(m.SetBattery(-1));
    EXPECT_EQ(m.GetBytes(), before);
    EXPECT_TRUE(m.SetSubBand(31));
    EXPECT_EQ(m.GetSubBand(), 31);
}

TEST(ModelNumber, SubBandKeepsBitSixAndClearsBitFive) {
    CModelNumber m;
    m.SetBytes({0, 0, 0, 0xE0});
    ASSERT_TRUE(m.SetSubBand(4));
    EXPECT_EQ(m.GetBytes()[3], 0xC4);
}

TEST(ModelNumber, TextsOfUnusualValues) {
    CModelNumber m;
    m.SetSp(15);
    EXPECT_EQ(m.ModelText(), "A03XLT2238AC_SP15");
    m.SetSp(1);
    EXPECT_EQ(m.ModelText(), "A03XLT2238AC_SP01");
    EXPECT_EQ(m.CrystalText(), "3.578545");
    m.SetSp(2);
    EXPECT_EQ(m.CrystalText(), "");

    m.SetSp(0);
    m.SetBand(1);
    m.SetFamily(2);
    m.SetModulation(5);
    m.SetCoding(3);
    m.SetFrequencies(9);
    m.SetRevision(1);
    m.SetBattery(3);
    EXPECT_EQ(m.ModelText(),
              "???"
              "??T"
              "7"
              "?"
              "??"
              "B"
              "?");
    m.SetBand(7);
    m.SetModulation(7);
    m.SetCoding(1);
    m.SetFrequencies(1);
    m.SetBattery(2);
    EXPECT_EQ(m.ModelText(), "?????T9439B?");
    EXPECT_EQ(m.SubBandText(), "");
}

TEST(ModelNumber, SubBandTablesEndWhereTheBandDoes) {
    EXPECT_EQ(CModelNumber::SubBandText(0, 3), "D: 45 - 48.995 MHz");
    EXPECT_EQ(CModelNumber::SubBandText(0, 4), "");
    EXPECT_EQ(CModelNumber::SubBandText(2, 1), "B: 151 - 158.9975 MHz");
    // UHF codes skip 3 and 7.
    EXPECT_EQ(CModelNumber::SubBandText(3, 2), "C: 422 - 430.0000 MHz");
    EXPECT_EQ(CModelNumber::SubBandText(3, 3), "???");
    EXPECT_EQ(CModelNumber::SubBandText(3, 4), "D: 450 - 457.9875 MHz");
    EXPECT_EQ(CModelNumber::SubBandText(3, 7), "???");
    EXPECT_EQ(CModelNumber::SubBandText(3, 8), "H: 470 - 477.9875 MHz");
    EXPECT_EQ(CModelNumber::SubBandText(3, 12), "L: 504 - 512.0000 MHz");
    EXPECT_EQ(CModelNumber::SubBandText(3, 13), "");
    EXPECT_EQ(CModelNumber::SubBandText(3, 31), "");
    EXPECT_EQ(CModelNumber::SubBandText(1, 0), "");
    EXPECT_EQ(CModelNumber::SubBandCount(3), 13);
}

TEST(SerialNumber, ExampleSerialAndItsBits) {
    CSerialNumber s;
    ASSERT_TRUE(s.SetWarranty(0));
    ASSERT_TRUE(s.SetSite(2));
    ASSERT_TRUE(s.SetYear(CSerialNumber::YearCode(2008)));
    ASSERT_TRUE(s.SetPeriod(0));
    ASSERT_TRUE(s.SetUnitNumber(1));
    EXPECT_EQ(s.SerialText(), "136WJA0001");
    EXPECT_EQ(s.GetBytes(), (CSerialNumber::Bytes{0x20, 0x40, 0x00, 0x01}));

    ASSERT_TRUE(s.SetPeriod(23));
    EXPECT_EQ(s.GetBytes()[0], 0x2B);
    EXPECT_EQ(s.GetBytes()[1] & 0x80, 0x80);
    EXPECT_EQ(s.SerialText(), "136WJZ0001");
    ASSERT_TRUE(s.SetSite(3));
    EXPECT_EQ(s.SerialText(),
              "????"
              "?JZ0001");
}

TEST(SerialNumber, RefusedValuesChangeNothing) {
    CSerialNumber s;
    s.SetBytes({0x12, 0x34, 0x56, 0x78});
    const auto before = s.GetBytes();
    EXPECT_FALSE(s.SetPeriod(24));
    EXPECT_FALSE(s.SetWarranty(4));
    EXPECT_FALSE(s.SetSite(4));
    EXPECT_FALSE(s.SetYear(16));
    EXPECT_FALSE(s.SetUnitNumber(34000));
    EXPECT_FALSE(s.SetUnitNumber(-1));
    EXPECT_EQ(s.GetBytes(), before);
}

TEST(SerialNumber, UnitTextAndParse) {
    EXPECT_EQ(CSerialNumber::UnitText(1), "0001");
    EXPECT_EQ(CSerialNumber::UnitText(10000), "A000");
    EXPECT_EQ(CSerialNumber::UnitText(33999), "Z999");
    EXPECT_EQ(CSerialNumber::UnitText(34000), "?000");
    EXPECT_EQ(CSerialNumber::UnitText(0x7FFFF), "?287");

    CSerialNumber s;
    s.SetBytes({0xFF, 0xF8, 0, 0});
    ASSERT_TRUE(s.ParseUnit("Z999"));
    EXPECT_EQ(s.GetUnitNumber(), 33999);
    EXPECT_EQ(s.GetBytes()[0], 0xFF);  // other fields untouched
    EXPECT_EQ(s.GetBytes()[1] & 0xF8, 0xF8);
    ASSERT_TRUE(s.ParseUnit("H123"));
    EXPECT_EQ(s.GetUnitNumber(), 17123);
    for (const char* bad :
         {"?999", "I000", "O000", "a000", "A0B0", "A00", "A0000", "", "A 00", "-001"}) {
        EXPECT_FALSE(s.ParseUnit(bad)) << bad;
    }
    EXPECT_FALSE(
        s.ParseUnit(std::string_view("\0"
                                     "000",
                                     4)));
    EXPECT_EQ(s.GetUnitNumber(), 17123);
}

TEST(SerialNumber, UnitBytesAreMaskedToNineteenBits) {
    CSerialNumber s;
    s.SetBytes({0, 0x78, 0, 0});
    s.SetUnitBytes({0xFF, 0x12, 0x34});
    EXPECT_EQ(s.GetBytes(), (CSerialNumber::Bytes{0, 0x7F, 0x12, 0x34}));
    EXPECT_EQ(s.GetUnitNumber(), 0x71234);
}

TEST(SerialNumber, YearCodeRepeatsEverySixteenYears) {
    EXPECT_EQ(CSerialNumber::YearCode(2005), 5);
    EXPECT_EQ(CSerialNumber::YearCode(2016), 0);
    EXPECT_EQ(CSerialNumber::YearCode(2020), 4);
    EXPECT_EQ(CSerialNumber::YearCode(2004), 4);
    EXPECT_EQ(CSerialNumber::YearCode(1999), 15);
    EXPECT_EQ(CSerialNumber::YearLetter(4), "W");
    EXPECT_EQ(CSerialNumber::YearText(4), "W - 2020");
    EXPECT_EQ(CSerialNumber::YearText(5), "F - 2005");
    EXPECT_EQ(CSerialNumber::YearText(15), "R - 2015");
    EXPECT_EQ(CSerialNumber::YearText(16), "");
}

TEST(SerialNumber, SiteWarrantyAndPeriodTexts) {
    EXPECT_EQ(CSerialNumber::SiteText(1), "S - Kostin");
    EXPECT_EQ(CSerialNumber::SiteText(3), "?");
    EXPECT_EQ(CSerialNumber::WarrantyText(2), "60 Months");
    EXPECT_EQ(CSerialNumber::WarrantyText(3), "");
    EXPECT_EQ(CSerialNumber::PeriodLetter(7), "H");
    EXPECT_EQ(CSerialNumber::PeriodLetter(8), "J");
    EXPECT_EQ(CSerialNumber::PeriodLetter(24), "?");
    // A stored period beyond 23 still reads safely.
    CSerialNumber s;
    s.SetBytes({0x0F, 0x80, 0, 0});
    EXPECT_EQ(s.GetPeriod(), 31);
    EXPECT_EQ(s.SerialText(), "136BS?0000");
}

}  // namespace
