#include <gtest/gtest.h>

#include <set>
#include <string>

#include "CommaLocale.h"
#include "codeplug/CAdvancedData.h"
#include "codeplug/CChannelData.h"
#include "codeplug/CIfSetting.h"
#include "codeplug/CModelOptions.h"
#include "codeplug/CSquelchSetting.h"
#include "codeplug/CSwitchSettings.h"
#include "codeplug/CVersionInfo.h"
#include "codeplug/CodeplugContext.h"

namespace {

TEST(SquelchSetting, LevelsMapToTheirPairs) {
    CSquelchSetting sq;
    EXPECT_EQ(sq.GetLevel(), 0);
    ASSERT_TRUE(sq.SetLevel(3));
    EXPECT_EQ(sq.GetPair(), (CSquelchSetting::Pair{0x19, 0x32}));
    EXPECT_EQ(sq.GetLevel(), 3);
    ASSERT_TRUE(sq.SetLevel(0));  // leaves the bytes alone
    EXPECT_EQ(sq.GetPair(), (CSquelchSetting::Pair{0x19, 0x32}));
    EXPECT_FALSE(sq.SetLevel(6));
    EXPECT_FALSE(sq.SetLevel(-1));
    sq.SetPair({0x19, 0x34});  // mixed rows
    EXPECT_EQ(sq.GetLevel(), 0);
    sq.SetPair({0x1D, 0x36});
    EXPECT_EQ(sq.GetLevel(), 5);

    CCodeplug plug;
    sq.SetLevel(1);
    sq.Store(plug);
    EXPECT_EQ(plug.GetImage()[0x0CC], 0x15);
    EXPECT_EQ(plug.GetImage()[0x0CD], 0x2E);
}

TEST(SwitchSettings, BitsTextsAndDerivedFlags) {
    CSwitchSettings sw;
    ASSERT_TRUE(sw.SetWideBand(0, true));
    ASSERT_TRUE(sw.SetPtl(0, true));
    ASSERT_TRUE(sw.SetAlertType(0, 3));
    ASSERT_TRUE(sw.SetDuty(0, true));
    ASSERT_TRUE(sw.SetMode(0, CSwitchSettings::SELECTIVE_CALL_F2));
    EXPECT_EQ(sw.GetByte(0), 0xFB);
    EXPECT_FALSE(sw.SetMode(1, 8));
    EXPECT_FALSE(sw.SetAlertType(1, 4));
    EXPECT_FALSE(sw.SetDuty(4, true));
    EXPECT_EQ(sw.GetByte(4), 0);

    // Duty on a position serving F2 only.
    EXPECT_TRUE(sw.DutyAvailable(F2));
    EXPECT_FALSE(sw.DutyAvailable(F1));
    EXPECT_FALSE(sw.HasPriorityScan());
    sw.SetMode(2, CSwitchSettings::PRIORITY_SCAN_F1);
    EXPECT_TRUE(sw.HasPriorityScan());
    sw.SetDuty(3, true);
    sw.SetMode(3, CSwitchSettings::SILENT_SCAN);
    EXPECT_TRUE(sw.DutyAvailable(F1));

    EXPECT_EQ(CSwitchSettings::ModeText(6), "Silent Scan");
    EXPECT_EQ(CSwitchSettings::ModeText(7), "");
    EXPECT_EQ(CSwitchSettings::AlertTypeText(0), "");
    EXPECT_EQ(CSwitchSettings::AlertTypeText(3), "Vibrator + Tone");
    EXPECT_EQ(CSwitchSettings::WideBandText(true), "YES");
    EXPECT_EQ(CSwitchSettings::EnabledText(false), "DISABLED");
    EXPECT_EQ(CSwitchSettings::PositionName(3), "SW-D");
}

TEST(ModelOptions, RecordOrderFlagsAndTexts) {
    CCodeplug plug;
    CModelOptions mo;
    ASSERT_TRUE(mo.SetSvRecordTime(4));
    ASSERT_TRUE(mo.SetResetFunction(5));
    ASSERT_TRUE(mo.SetResetTime(25));
    ASSERT_TRUE(mo.SetAlertTime(10));
    ASSERT_TRUE(mo.SetScanBack(125));
    mo.SetFlag(CModelOptions::SV_FITTED, true);
    mo.SetFlag(CModelOptions::ALERT_DURATION_FIXED, true);
    mo.Store(plug);
    const Image& img = plug.GetImage();
    EXPECT_EQ(img[0x090], 0x45);
    EXPECT_EQ(img[0x091], 25);
    EXPECT_EQ(img[0x092], 0x88);
    EXPECT_EQ(img[0x097], 10);
    EXPECT_EQ(img[0x0B2], 125);
    EXPECT_EQ(mo.SvRecordTimeText(), "60 Sec");  // the nibble the page stores for it
    EXPECT_EQ(mo.ResetFunctionText(), "Revert N");
    EXPECT_TRUE(mo.ResetFunctionHasTime());
    EXPECT_EQ(mo.AlertDurationText(), "FIXED");
    EXPECT_DOUBLE_EQ(mo.ScanBackSeconds(), 1.0);
    EXPECT_DOUBLE_EQ(mo.ResetTimeSeconds(), 12.0);
    EXPECT_FALSE(mo.SetSvRecordTime(16));
    EXPECT_FALSE(mo.SetScanBack(256));
    mo.SetSvRecordTime(5);
    mo.SetResetFunction(6);
    EXPECT_EQ(mo.SvRecordTimeText(), "??");
    EXPECT_EQ(mo.ResetFunctionText(), "");
    mo.SetSvRecordTime(8);
    EXPECT_EQ(mo.SvRecordTimeText(), "120 Sec");
    EXPECT_FALSE(CModelOptions::ResetFunctionHasTime(2));
}

TEST(IfSetting, FieldsAndTexts) {
    CIfSetting s;
    ASSERT_TRUE(s.SetIfIndex(1));
    ASSERT_TRUE(s.SetInjection(1));
    ASSERT_TRUE(s.SetDivider(4));
    EXPECT_EQ(s.GetByte(), 0x34);
    EXPECT_EQ(s.IfText(), "21.4");
    EXPECT_EQ(s.InjectionText(), "High");
    EXPECT_DOUBLE_EQ(s.IfMHz(), 21.4);
    EXPECT_FALSE(s.SetDivider(16));
    EXPECT_FALSE(s.SetInjection(2));
    EXPECT_FALSE(s.SetIfIndex(8));
    s.SetIfIndex(2);
    EXPECT_EQ(s.IfText(), "");  // 45 MHz has no report text
    EXPECT_EQ(s.IfName(), "45");
    s.SetIfIndex(7);
    EXPECT_EQ(s.IfName(), "");
    EXPECT_EQ(s.GetByte(), 0xF4);
}

TEST(VersionInfo, TextsAndStorage) {
    CCodeplug plug;
    plug.SetPagerVersion(29);
    CVersionInfo v;
    ASSERT_TRUE(v.SetPlugVersion(1.005));
    EXPECT_EQ(v.GetPlugMajor(), 1);
    EXPECT_EQ(v.GetPlugMinor(), 5);
    EXPECT_EQ(v.PlugVersionText(), "1.005");
    EXPECT_FALSE(v.SetPlugVersion(1.256));
    EXPECT_FALSE(v.SetPlugVersion(-1.0));
    EXPECT_EQ(v.PlugVersionText(), "1.005");
    v.Store(plug);
    EXPECT_EQ(plug.GetImage()[0x0CF], 1);
    EXPECT_EQ(plug.GetImage()[0x0D0], 5);
    v.Load(plug);
    EXPECT_EQ(v.PagerVersionText(), "2.900");
    EXPECT_EQ(v.PagerVersionShortText(), "2.90");
}

TEST(VersionInfo, NumbersKeepTheirPointUnderACommaLocale) {
    CommaLocale comma;
    if (!comma.Active()) GTEST_SKIP() << "no locale with a decimal comma installed";
    CVersionInfo v;
    ASSERT_TRUE(v.SetPlugVersion(1.005));
    v.SetPagerVersion(29);
    EXPECT_EQ(v.PlugVersionText(), "1.005");
    EXPECT_EQ(v.PagerVersionText(), "2.900");
    EXPECT_EQ(v.PagerVersionShortText(), "2.90");
    CodeplugContext::Get().Reset();
    CodeplugContext::Get().toneSystem = TONE_USER;
    CChannelData ch;
    ch.SetTone(0, 1000.0);
    EXPECT_EQ(ch.ToneText(0), "1000.4");
    CodeplugContext::Get().Reset();
}

TEST(AdvancedData, FieldsSitWhereTheBlockSays) {
    CAdvancedData a;
    std::set<std::string> names;
    for (const auto& f : CAdvancedData::AllFields()) {
        EXPECT_TRUE(names.insert(f.name).second) << f.name;
        const int max = (1 << f.width) - 1;
        ASSERT_TRUE(a.Set(f.field, max)) << f.name;
        EXPECT_EQ(a.Get(f.field), max) << f.name;
        EXPECT_FALSE(a.Set(f.field, max + 1)) << f.name;
        ASSERT_TRUE(a.Set(f.field, 0));
    }
    EXPECT_EQ(a.GetBytes(), CAdvancedData::Bytes{});

    ASSERT_TRUE(a.SetBandwidth(3));
    ASSERT_TRUE(a.SetMeasureMode(1));
    EXPECT_EQ(a.GetBytes()[4], 0x4C);
    ASSERT_TRUE(a.SetSqOn(2));
    ASSERT_TRUE(a.SetSqOff(5));
    EXPECT_EQ(a.GetBytes()[28], 0x25);
    ASSERT_TRUE(a.SetTuneParB7(1));
    ASSERT_TRUE(a.SetTuneParL(9));
    EXPECT_EQ(a.GetBytes()[2], 0x89);
    ASSERT_TRUE(a.SetBatLevel(5, 200));
    EXPECT_EQ(a.GetBytes()[25], 200);
    EXPECT_FALSE(a.SetBatLevel(6, 1));
    EXPECT_EQ(a.GetBatLevel(6), 0);
    EXPECT_FALSE(a.Set(CAdvancedData::FIELD_COUNT, 0));
    EXPECT_EQ(a.Get(static_cast<CAdvancedData::Field>(-1)), 0);
    EXPECT_STREQ(CAdvancedData::Info(CAdvancedData::FIELD_COUNT).name, "");
}

TEST(AdvancedData, ReportBlocksCarryTheirRangeTexts) {
    EXPECT_EQ(CAdvancedData::ToneSettings().size(), 18u);
    EXPECT_STREQ(CAdvancedData::Info(CAdvancedData::ToneSettings().front()).name, "TUNE_PAR_B7");
    EXPECT_STREQ(CAdvancedData::Info(CAdvancedData::ToneSettings().back()).name, "END_TONE_DUR");
    EXPECT_STREQ(CAdvancedData::Info(CAdvancedData::T1D).rangeText, "(Rnd 1~127, Inc 20ms)");
    EXPECT_STREQ(CAdvancedData::Info(CAdvancedData::SAMPLE_DUR).rangeText, "(Rnd 1~15,  Inc 20ms)");
    EXPECT_STREQ(CAdvancedData::Info(CAdvancedData::GOOD_BAD_RADIO2).name, "GOOD/BAD RADIO2");
    for (auto group : {CAdvancedData::ToneSettings(), CAdvancedData::OtherSettings(),
                       CAdvancedData::BatterySettings(), CAdvancedData::SquelchSettings()}) {
        for (auto f : group) EXPECT_STRNE(CAdvancedData::Info(f).rangeText, "") << f;
    }
    EXPECT_EQ(CAdvancedData::OtherSettings().size(), 3u);
    EXPECT_EQ(CAdvancedData::BatterySettings().size(), 7u);
    EXPECT_EQ(CAdvancedData::SquelchSettings().size(), 4u);
}

}  // namespace
