#include <gtest/gtest.h>

#include "codeplug/CCodeplug.h"
#include "codeplug/CRxFrequency.h"
#include "codeplug/CToneCode.h"
#include "codeplug/CodeplugContext.h"
#include "codeplug/ToneSets.h"

namespace {

TEST(ToneCode, TypedThousandUnderUserComesBackAsStoredByThePager) {
    const CToneCode code = CToneCode::Encode(1000.0, 0);
    EXPECT_EQ(code.Coarse(), 33);
    EXPECT_EQ(code.Fine(), 7);
    EXPECT_NEAR(code.Decode(0, TONE_USER), 1000.43, 0.005);
    EXPECT_DOUBLE_EQ(code.Decode(0, TONE_CORVANE), 1006.9);
}

TEST(ToneCode, HalfwayTypedValueSnapsDownAfterTheRoundTrip) {
    const CToneCode code = CToneCode::Encode(292.5, 0);
    EXPECT_EQ(code.Coarse(), 9);
    EXPECT_EQ(code.Fine(), 73);
    EXPECT_NEAR(code.DecodeRaw(0), 292.4965, 0.0005);
    EXPECT_DOUBLE_EQ(code.Decode(0, TONE_CORVANE), 288.5);
    EXPECT_DOUBLE_EQ(SnapTone(TONE_CORVANE, 292.5), 296.5);
}

TEST(ToneCode, EmptyAndHostileInputsStayDefined) {
    EXPECT_TRUE(CToneCode::Encode(0.0, 0).IsEmpty());
    EXPECT_TRUE(CToneCode::Encode(-5.0, 1).IsEmpty());
    EXPECT_EQ(CToneCode::Encode(1e300, 0).Coarse(), CToneCode::Encode(1e300, 0).Coarse() & 0x7F);
    EXPECT_EQ(CToneCode().Decode(0, TONE_CORVANE), 0.0);
    EXPECT_EQ(CToneCode::FromCode(0x3FFF).Code14(), 0x3FFF);
}

TEST(ToneSets, ClampingAndSystems) {
    EXPECT_DOUBLE_EQ(SnapTone(TONE_CORVANE, 200.0), 288.5);
    EXPECT_DOUBLE_EQ(SnapTone(TONE_CORVANE, 3000.0), 2468.2);
    EXPECT_DOUBLE_EQ(SnapTone(TONE_GE, 530.0), 532.5);
    EXPECT_DOUBLE_EQ(SnapTone(TONE_FAST_PLECTRON, 310.0), SnapTone(TONE_PLECTRON, 310.0));
    EXPECT_DOUBLE_EQ(SnapTone(TONE_USER, 1234.5), 1234.5);
    EXPECT_DOUBLE_EQ(SnapTone(9, 1234.5), 1234.5);
    EXPECT_EQ(SnapTone(TONE_CORVANE, 0.0), 0.0);
    EXPECT_EQ(CorvaneToneSet().size(), 80u);
    EXPECT_EQ(GeToneSet().size(), 31u);
    EXPECT_EQ(PlectronToneSet().size(), 54u);
    EXPECT_DOUBLE_EQ(GeToneSet().back().frequency, 967.5);
}

TEST(RxFrequency, RoundTripAndNoFrequency) {
    const std::uint8_t ifSel = 0x20 | 0x04;  // 21.4 MHz, low injection, divider 4
    const auto rec = CRxFrequency::Encode(406.0125, 3, ifSel);
    EXPECT_NEAR(CRxFrequency::Decode(rec, 3, ifSel), 406.0125, 1e-9);
    EXPECT_EQ(rec[4], 0x11);

    const auto empty = CRxFrequency::Encode(0.0, 3, ifSel);
    EXPECT_EQ(empty[0] | empty[1] | empty[2] | empty[3], 0);
    EXPECT_EQ(empty[4], 0x11);
    EXPECT_NE(empty[5] | empty[6], 0);  // R word still written
    EXPECT_EQ(CRxFrequency::Decode(empty, 3, ifSel), 0.0);
}

TEST(RxFrequency, BandWithoutStepHasNoFrequency) {
    const auto rec = CRxFrequency::Encode(150.0, 1, 0x24);
    EXPECT_EQ(rec[0] | rec[1] | rec[2] | rec[3], 0);
    CRxFrequency::Record junk{0x80, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0};
    EXPECT_EQ(CRxFrequency::Decode(junk, 5, 0xE0), 0.0);
}

TEST(RxFrequency, HighInjectionPutsTheLoAbove) {
    const std::uint8_t ifSel = 0x20 | 0x10 | 0x04;
    const auto rec = CRxFrequency::Encode(150.0025, 2, ifSel);
    EXPECT_NEAR(CRxFrequency::Decode(rec, 2, ifSel), 150.0025, 1e-9);
}

TEST(Codeplug, OutputCarriesChecksumAndCheckCodeWithoutTouchingTheImage) {
    CCodeplug plug;
    Image image{};
    for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<Byte>(i * 7);
    plug.SetImage(image);
    const Image out = plug.PrepareForOutput();
    EXPECT_EQ(plug.GetImage(), image);
    unsigned sum = 0;
    for (std::size_t i = 0; i < 0x1ED; ++i) sum += out[i];
    EXPECT_EQ(out[0x1ED], sum & 0xFF);
    const auto code = CCodeplug::ComputeCheckCode(out);
    EXPECT_EQ(out[0x1EE], code >> 8);
    EXPECT_EQ(out[0x1EF], code & 0xFF);

    CCodeplug other = plug;
    auto serial = other.GetSerialNumber();
    serial[3] ^= 1;
    other.SetSerialNumber(serial);
    EXPECT_NE(CCodeplug::ComputeCheckCode(other.PrepareForOutput()), code);
}

TEST(Codeplug, NibbleSettersKeepTheOtherHalf) {
    CCodeplug plug;
    plug.SetSystemSetting(5);
    plug.SetToneSystem(3);
    EXPECT_EQ(plug.GetToneSystem(), 3);
    EXPECT_EQ(plug.GetSystemSetting(), 5);
    plug.SetCodingOption(F1, 10);
    plug.SetCodingOption(F2, 3);
    EXPECT_EQ(plug.GetImage()[0x099], 0xA3);
    auto table = plug.GetToneTable(F2);
    table[0] = 0x8123;
    plug.SetToneTable(F2, table);
    EXPECT_EQ(plug.GetImage()[0x040], 0x23);
    EXPECT_EQ(plug.GetImage()[0x041], 0x81);
}

}  // namespace
