#include <gtest/gtest.h>

#include <random>

#include "codeplug/CPagerData.h"
#include "codeplug/CodeplugContext.h"

namespace {

class PagerData : public ::testing::Test {
protected:
    void SetUp() override { CodeplugContext::Get().Reset(); }
    void TearDown() override { CodeplugContext::Get().Reset(); }

    static Image RandomImage(unsigned seed) {
        std::mt19937 rng(seed);
        Image image;
        for (auto& b : image) b = static_cast<Byte>(rng());
        return image;
    }
};

bool SameRange(const Image& a, const Image& b, std::size_t from, std::size_t to) {
    return std::equal(a.begin() + from, a.begin() + to + 1, b.begin() + from);
}

TEST_F(PagerData, DecodeRefreshesTheContext) {
    CCodeplug plug;
    CModelNumber m;
    m.SetBand(3);
    m.SetSubBand(7);
    m.SetSp(1);
    m.SetFrequencies(1);
    m.Store(plug);
    plug.SetToneSystem(TONE_FAST_PLECTRON);
    CodeplugContext::Get().engineer = true;

    CPagerData data;
    data.Decode(plug);
    const CodeplugContext& ctx = CodeplugContext::Get();
    EXPECT_EQ(ctx.band, 3);
    EXPECT_EQ(ctx.subBand, 7);
    EXPECT_EQ(ctx.crystal, 1);
    EXPECT_EQ(ctx.frequencies, 1);
    EXPECT_TRUE(ctx.twoFrequency);
    EXPECT_EQ(ctx.toneSystem, TONE_FAST_PLECTRON);
    EXPECT_TRUE(ctx.engineer);  // not the decoder's business
    EXPECT_EQ(data.ToneSystemText(), "Fast Plectron");

    m.SetFrequencies(0);
    m.Store(plug);
    data.Decode(plug);
    EXPECT_FALSE(ctx.twoFrequency);
}

TEST_F(PagerData, RoundTripLeavesEveryByteOfAPackedImageAlone) {
    // Start from random bytes, pack the channels once, then a decode/encode
    // cycle must reproduce the image exactly.
    for (unsigned seed = 1; seed <= 20; ++seed) {
        CCodeplug plug;
        plug.SetImage(RandomImage(seed));
        CPagerData first;
        first.Decode(plug);
        first.Encode(plug);
        const Image packed = plug.GetImage();

        CPagerData again;
        again.Decode(plug);
        again.Encode(plug);
        EXPECT_EQ(plug.GetImage(), packed) << "seed " << seed;
    }
}

TEST_F(PagerData, BytesNoRecordCoversSurvive) {
    const Image original = RandomImage(77);
    CCodeplug plug;
    plug.SetImage(original);
    CPagerData data;
    data.Decode(plug);
    data.channel[0].SetTone(0, 1500.0);
    data.options.SetScanBack(8);
    data.Encode(plug);
    const Image& out = plug.GetImage();
    EXPECT_TRUE(SameRange(out, original, 0x010, 0x017));
    EXPECT_TRUE(SameRange(out, original, 0x0D2, 0x0F7));
    EXPECT_TRUE(SameRange(out, original, 0x100, 0x1FF));
    EXPECT_EQ(out[0x098] & 0x08, original[0x098] & 0x08);
    EXPECT_EQ(out[0x0B2], 8);  // the option record's edit wins over the block copy
    // Everything but the repacked tone tables and the edit is as it was.
    EXPECT_TRUE(SameRange(out, original, 0x000, 0x00F));
    EXPECT_TRUE(SameRange(out, original, 0x090, 0x0B1));
    EXPECT_TRUE(SameRange(out, original, 0x0B3, 0x0FF));
}

TEST_F(PagerData, SystemSelectorKeepsItsOtherBits) {
    CCodeplug plug;
    auto image = plug.GetImage();
    image[0x098] = 0x2D;
    plug.SetImage(image);
    CPagerData data;
    data.Decode(plug);
    EXPECT_EQ(data.GetToneSystem(), 2);
    EXPECT_EQ(data.GetSystemSetting(), 5);
    EXPECT_FALSE(data.SetToneSystem(16));
    EXPECT_FALSE(data.SetSystemSetting(8));
    ASSERT_TRUE(data.SetToneSystem(3));
    data.Encode(plug);
    EXPECT_EQ(plug.GetImage()[0x098], 0x3D);
    EXPECT_EQ(CPagerData::ToneSystemText(5), "");
}

TEST_F(PagerData, ChannelFrequenciesDecodeWithTheBandOfTheirOwnCodeplug) {
    CodeplugContext::Get().band = 3;  // left over from another codeplug
    CCodeplug plug;
    plug.SetIfByte(0x24);
    CModelNumber m;  // band 2
    m.Store(plug);
    plug.SetRxRecord(F1, CRxFrequency::Encode(151.0125, 2, 0x24));
    CPagerData data;
    data.Decode(plug);
    EXPECT_NEAR(data.ChannelData(F1).GetFrequency(), 151.0125, 1e-9);
    EXPECT_EQ(data.ChannelData(F2).GetFrequency(), 0.0);
}

}  // namespace
