#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <set>
#include <string>

#include "codeplug/CPagerData.h"
#include "codeplug/CodeplugContext.h"
#include "document/CDatFile.h"
#include "document/CodeplugDocument.h"
#include "report/ReportBuilder.h"
#include "report/ReportLayout.h"
#include "report/TextCanvas.h"

namespace {

// Alert and duty of call 0 to 11 as the tests set them: each pair is unique.
bool DutyOff(int call) { return (call % 2 == 1) != (call >= 10); }

class ReportBuilder : public ::testing::Test {
protected:
    void SetUp() override { CodeplugContext::Get().Reset(); }
    void TearDown() override { CodeplugContext::Get().Reset(); }

    // A UHF split A pager, IF 21.4 MHz low-side, Corvane tones.
    static CCodeplug Pager() {
        CCodeplug plug;
        CPagerData d;
        d.Decode(plug);
        d.model.SetBand(3);
        d.model.SetSubBand(0);
        d.model.SetFrequencies(1);
        d.ifSetting.SetByte(0x24);
        d.advanced.SetIfSel(0x24);
        d.Encode(plug);
        d.Decode(plug);  // the context now holds band 3
        d.channel[0].SetFrequency(406.0125, 0x24);
        d.channel[1].SetFrequency(418.0125, 0x24);
        d.Encode(plug);
        return plug;
    }

    // Fills every slot of F1 with distinct tones, alerts and duties, sets
    // the coding option and gives the report of channel F1.
    static ReportChannel ChannelWithOption(int option) {
        CCodeplug plug = Pager();
        CPagerData d;
        d.Decode(plug);
        CChannelData& ch = d.channel[0];
        for (int slot = 0; slot < 20; ++slot) ch.SetTone(slot, 330.5 + 100.0 * slot);
        for (int call = 0; call < 12; ++call) {
            ch.SetCallAlert(call, call % 10);
            ch.SetDutyOff(call, DutyOff(call));
        }
        EXPECT_TRUE(ch.SetCodingOption(option));
        d.Encode(plug);
        CPagerData fresh;
        return BuildCodeplugReport(plug, fresh, "/p.dat").channels[0];
    }

    static std::string Render(const CodeplugReport& r) {
        TextCanvas canvas;
        DrawCodeplugReport(canvas, r);
        return canvas.Text();
    }
};

TEST_F(ReportBuilder, HeaderOfAFreshUhfPager) {
    CCodeplug plug = Pager();
    plug.SetPlugVersion({1, 5});
    plug.SetPagerVersion(33);
    CPagerData d;
    const CodeplugReport r = BuildCodeplugReport(plug, d, "/p.dat");
    EXPECT_EQ(r.model, "A04XLT2239AC");
    EXPECT_EQ(r.subBand, "A: 406 - 413.9875 MHz");
    EXPECT_EQ(r.plugVersion, "1.005");
    EXPECT_EQ(r.pagerVersion, "3.300");
    EXPECT_EQ(r.ifText, "21.4 MHz");
    EXPECT_EQ(r.injection, "Low");
    EXPECT_EQ(r.crystal, "3.579545");
    EXPECT_EQ(r.system, "Corvane");
    EXPECT_EQ(r.channels[0].frequency, "406.0125 MHz");
    EXPECT_EQ(r.channels[1].frequency, "418.0125 MHz");
    EXPECT_EQ(r.channels[0].codingOption, "R468");
}

TEST_F(ReportBuilder, UhfSplitsAreNamedByTheirCode) {
    CCodeplug plug = Pager();
    CPagerData d;
    d.Decode(plug);
    d.model.SetSubBand(4);
    d.Encode(plug);
    EXPECT_EQ(BuildCodeplugReport(plug, d, "").subBand, "D: 450 - 457.9875 MHz");
    // The unused codes print as the engineer tools list them.
    for (int unused : {3, 7}) {
        d.model.SetSubBand(unused);
        d.Encode(plug);
        EXPECT_EQ(BuildCodeplugReport(plug, d, "").subBand, "???") << unused;
    }
    d.model.SetSubBand(13);
    d.Encode(plug);
    EXPECT_EQ(BuildCodeplugReport(plug, d, "").subBand, "");
}

TEST_F(ReportBuilder, PagerVersionIsZeroAfterOpeningAFile) {
    CCodeplug plug = Pager();
    Image image = plug.PrepareForOutput();
    image[layout::PAGER_FIRMWARE] = 0x33;
    image[layout::CHECKSUM] = CCodeplug::ComputeChecksum(image);
    const auto path = std::filesystem::temp_directory_path() / "calvex_report_version.dat";
    ASSERT_TRUE(CDatFile::Write(path, image).ok);
    CodeplugDocument doc;
    ASSERT_TRUE(doc.Open(path).Ok());
    CPagerData d;
    EXPECT_EQ(BuildCodeplugReport(doc.Codeplug(), d, doc.Path().string()).pagerVersion, "0.000");
    std::filesystem::remove(path);
}

TEST_F(ReportBuilder, EmptyChannelPrintsNoTones) {
    CPagerData d;
    const CodeplugReport r = BuildCodeplugReport(Pager(), d, "");
    for (const ReportChannel& ch : r.channels) {
        for (const ReportCallRow& row : ch.calls) {
            EXPECT_EQ(row.tone1, "");
            EXPECT_EQ(row.tone2, "");
        }
    }
    TextCanvas canvas;
    DrawCodeplugReport(canvas, r);
    for (int row = 10; row <= 21; ++row) {
        EXPECT_EQ(canvas.Row(row).find_first_of("0123456789", 7), std::string::npos)
            << canvas.Row(row);
    }
}

TEST_F(ReportBuilder, TonesShowDecodedAndSnapped) {
    const ReportChannel ch = ChannelWithOption(10);
    EXPECT_EQ(ch.calls[0].tone1, "330.5");
    EXPECT_EQ(ch.calls[0].tone2, "1513.5");   // slot 12 set to 1530.5, snapped into the set
    EXPECT_EQ(ch.calls[11].tone1, "1433.4");  // slot 11: 1430.5
    EXPECT_EQ(ch.calls[8].tone2, "");         // calls 9 to 12 have one tone
}

// Expected filled rows per coding option, as "row:C/S:call" with rows and
// calls counted from 1 and call 0 for a row without ALERT and DUTY.
struct OptionCase {
    int option;
    const char* name;
    std::set<std::string> rows;
};

std::set<std::string> Filled(const ReportChannel& ch) {
    std::set<std::string> rows;
    for (int row = 0; row < 12; ++row) {
        const ReportCallRow& c = ch.calls[row];
        if (c.sequence.empty() && c.alert.empty() && c.duty.empty()) continue;
        // The alert and duty pair names the call it came from.
        std::string from = "0";
        static const char* kAlert[] = {"Std",     "Cont's",  "Music 1", "Music 2",
                                       "Music 3", "Music 4", "Music 5", "Music 6",
                                       "Music 7", "Music 8"};
        for (int call = 0; call < 12; ++call) {
            if (c.alert == kAlert[call % 10] && c.duty == (DutyOff(call) ? "OFF" : "ON")) {
                from = std::to_string(call + 1);
            }
        }
        rows.insert(std::to_string(row + 1) + ":" + c.sequence + ":" + from);
    }
    return rows;
}

TEST_F(ReportBuilder, CallTableRowsOfEveryCodingOption) {
    const OptionCase cases[] = {
        {0, "R468", {"1:A - B:1", "2:A - C:2", "9:Long B:9", "10:Long C:10"}},
        {1, "R130", {"1:A - B:1", "2:A - C:2", "9:Long C:9"}},
        {2, "R97", {"1:A - B:1", "2:A - C:2"}},
        {3, "STD", {"1:A - B:1"}},
        {4, "R134", {"1:A - B:1", "9:Long B:9", "10:Long C:10"}},
        {5, "R138", {"1:A - B:1", "9:Long B:9"}},
        {6, "R362", {"1:A - B:0", "9:Long C:9"}},
        {7, "R177", {"1:A - B:1", "2:C - B:2"}},
        {8, "R60", {"1:A - B:1", "2:C - B:2", "9:Long B:9"}},
        {9, "R621", {"1:A - B:1", "9:Long A:9"}},
        {10, "R168 (None)", {"1::1", "2::2", "3::3", "4::4", "5::5", "6::6", "7::7", "8::8",
                             "9::9", "10::10", "11::11", "12::12"}},
    };
    for (const OptionCase& c : cases) {
        const ReportChannel ch = ChannelWithOption(c.option);
        EXPECT_EQ(ch.codingOption, c.name);
        EXPECT_EQ(Filled(ch), c.rows) << c.name;
    }
}

TEST_F(ReportBuilder, CodingOptionWithoutANameFillsNoRow) {
    for (int option : {11, 15}) {
        const ReportChannel ch = ChannelWithOption(option);
        EXPECT_EQ(ch.codingOption, "");
        EXPECT_TRUE(Filled(ch).empty()) << option;
        EXPECT_EQ(ch.calls[0].tone1, "330.5");  // tones still print
    }
    EXPECT_EQ(CallRowRuleFor(-1, 0).call, -1);
    EXPECT_EQ(CallRowRuleFor(10, 12).call, -1);
}

TEST_F(ReportBuilder, DutyAndOptionsFollowTheSwitches) {
    CCodeplug plug = Pager();
    CPagerData d;
    d.Decode(plug);
    d.switches.SetMode(0, CSwitchSettings::MONITOR_F2);
    d.switches.SetDuty(0, true);
    d.switches.SetMode(1, CSwitchSettings::PRIORITY_SCAN_F1);
    d.options.SetScanBack(50);
    d.options.SetFlag(CModelOptions::ALERT_DURATION_FIXED, true);
    d.options.SetAlertTime(5);
    d.options.SetResetFunction(4);  // "Timeout"
    d.options.SetResetTime(10);
    d.squelch.SetLevel(3);
    d.Encode(plug);
    const CodeplugReport r = BuildCodeplugReport(plug, d, "");
    EXPECT_EQ(r.channels[0].duty, "Disabled");
    EXPECT_EQ(r.channels[1].duty, "Enabled");
    ASSERT_EQ(r.modelOptions.size(), 10u);
    EXPECT_EQ(r.modelOptions[0].value, "N/A");
    EXPECT_EQ(r.modelOptions[1].value, "N/A");
    EXPECT_EQ(r.modelOptions[3].value, "ON 0.400 SEC.");
    EXPECT_EQ(r.modelOptions[4].value, "FIXED 2.400 SEC.");
    EXPECT_EQ(r.modelOptions[8].value, "Timeout 4.800 SEC.");
    EXPECT_EQ(r.modelOptions[9].value, "3");
    EXPECT_EQ(r.switches[0].mode, "Monitor F2");
    EXPECT_EQ(r.switches[0].duty, "ENABLED");
    EXPECT_EQ(r.switches[1].mode, "Priority Scan F1");
}

TEST_F(ReportBuilder, AdvancedBlockFollowsTheEngineerFlag) {
    CPagerData d;
    EXPECT_FALSE(BuildCodeplugReport(Pager(), d, "").engineer);
    EXPECT_EQ(Render(BuildCodeplugReport(Pager(), d, "")).find("Advanced"), std::string::npos);

    CodeplugContext::Get().engineer = true;
    const CodeplugReport r = BuildCodeplugReport(Pager(), d, "");
    ASSERT_EQ(r.advancedLeft.size(), 1u);
    EXPECT_EQ(r.advancedLeft[0].rows.size(), 18u);
    EXPECT_EQ(r.advancedLeft[0].rows[0].label, "TUNE_PAR_B7:");
    EXPECT_EQ(r.advancedLeft[0].rows[17].label, "END_TONE_DUR:");
    ASSERT_EQ(r.advancedRight.size(), 3u);
    EXPECT_EQ(r.advancedRight[1].heading, "~ Battery Settings: ~");
    EXPECT_EQ(r.advancedRight[1].rows.size(), 7u);
    EXPECT_EQ(r.advancedRight[2].rows.back().label, "SQ_OFF:");
    const std::string text = Render(r);
    EXPECT_NE(text.find("Advanced Engineer Data:"), std::string::npos);
    EXPECT_NE(text.find("(Rnd 8~255, Inc 8ms)"), std::string::npos);

    CodeplugContext::Get().engineer = false;
    EXPECT_EQ(Render(BuildCodeplugReport(Pager(), d, "")).find("Advanced"), std::string::npos);
}

TEST_F(ReportBuilder, AnyImageGivesAReport) {
    std::mt19937 rng(12345);
    std::uniform_int_distribution<int> byte(0, 255);
    CodeplugContext::Get().engineer = true;
    for (int round = 0; round < 300; ++round) {
        Image image;
        for (auto& b : image) b = static_cast<Byte>(byte(rng));
        if (round == 0) image.fill(0xFF);
        CCodeplug plug;
        plug.SetImage(image);
        plug.SetPagerVersion(static_cast<Byte>(byte(rng)));
        CPagerData d;
        const CodeplugReport r = BuildCodeplugReport(plug, d, "/r.dat");
        TextCanvas canvas;
        DrawCodeplugReport(canvas, r);
        ASSERT_EQ(canvas.RowCount(), 64);
        EXPECT_EQ(canvas.Row(42), std::string(94, '='));
        for (const ReportChannel& ch : r.channels) {
            EXPECT_NE(ch.frequency.find(" MHz"), std::string::npos);
            for (const ReportCallRow& row : ch.calls) {
                EXPECT_LE(row.tone1.size(), 8u);
                EXPECT_NE(row.tone1, "0.0");
            }
        }
    }
}

}  // namespace
