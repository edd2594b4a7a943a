#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "report/ReportLayout.h"
#include "report/TextCanvas.h"

namespace {

// A proportional-looking font: 3 units per character, average width 2,
// line height 10, so any mix-up of A, H and text widths shows.
class RecordingCanvas : public ReportCanvas {
public:
    struct Draw {
        int x, y;
        std::string text;
    };
    int TextWidth(const std::string& text) const override { return 3 * int(text.size()); }
    int AverageCharWidth() const override { return 2; }
    int LineHeight() const override { return 10; }
    void DrawText(int x, int y, const std::string& text) override { draws.push_back({x, y, text}); }

    // The n-th draw of `text` (0 = first).
    std::optional<Draw> Find(const std::string& text, int n = 0) const {
        for (const Draw& d : draws) {
            if (d.text == text && n-- == 0) return d;
        }
        return std::nullopt;
    }
    std::vector<Draw> draws;
};

constexpr int W = 3;   // width of one character
constexpr int A = 2;   // average character width
constexpr int H = 10;  // line height

CodeplugReport Sample() {
    CodeplugReport r;
    r.path = "/x/a.dat";
    r.model = "A04XLT2239AC";           // 12
    r.serial = "136WJA0001";
    r.subBand = "A: 406 - 413.9875 MHz";  // 21, widest of column 1
    r.plugVersion = "1.005";
    r.pagerVersion = "0.000";
    r.ifText = "21.4 MHz";  // 8
    r.crystal = "3.579545";
    r.system = "Fast Plectron";
    r.injection = "High";
    r.channels[0] = {"406.0125 MHz", "R168 (None)", "Enabled", {}};
    r.channels[0].calls[0] = {"1006.9", "1034.7", "", "Music 8", "OFF"};
    r.channels[0].calls[11] = {"2468.2", "", "", "Std", "ON"};
    r.channels[1] = {"418.0125 MHz", "R177", "Disabled", {}};
    r.channels[1].calls[1] = {"979.9", "1034.7", "C - B", "Cont's", "ON"};
    r.modelOptions = {{"SV FUNCTION:", "N/A"}, {"PRIORITY SCAN F1:", "ON 0.400 SEC."}};
    for (auto& s : r.switches) s = {"NO", "Monitor F1", "", "DISABLED", "ENABLED"};
    r.switches[2].alertType = "Vibrator + Tone";
    return r;
}

TEST(ReportLayout, TitlePiecesFollowEachOther) {
    RecordingCanvas c;
    DrawCodeplugReport(c, Sample());
    const std::string lead = "Welcome to Corvane Tarnix HXR! (Filename: ";
    ASSERT_TRUE(c.Find(lead));
    EXPECT_EQ(c.Find(lead)->x, 0);
    EXPECT_EQ(c.Find("\"")->x, W * int(lead.size()));
    EXPECT_EQ(c.Find("/x/a.dat")->x, W * int(lead.size() + 1));
    EXPECT_EQ(c.Find("\"", 1)->x, W * int(lead.size() + 1 + 8));
    EXPECT_EQ(c.Find(")")->x, W * int(lead.size() + 2 + 8));
    EXPECT_EQ(c.Find(")")->y, 0);
    EXPECT_EQ(c.Find(std::string(82, '='))->y, 1 * H);
    EXPECT_EQ(c.Find(std::string(82, '-'))->y, 5 * H);
    EXPECT_EQ(c.Find(std::string(94, '-'))->y, 22 * H);
    EXPECT_EQ(c.Find(std::string(94, '-'), 1)->y, 34 * H);
    EXPECT_EQ(c.Find(std::string(94, '='))->y, 42 * H);
}

TEST(ReportLayout, HeaderColumnsFollowTheWidestValues) {
    RecordingCanvas c;
    DrawCodeplugReport(c, Sample());
    const int values1 = W * 9;                    // "SUB-BAND:"
    EXPECT_EQ(c.Find("A04XLT2239AC")->x, values1);
    EXPECT_EQ(c.Find("A04XLT2239AC")->y, 2 * H);
    const int column2 = values1 + W * 21 + 8 * A;  // widest value of column 1
    EXPECT_EQ(c.Find("PLUG VER:")->x, column2);
    EXPECT_EQ(c.Find("IF:")->y, 4 * H);
    const int values2 = column2 + W * 10;          // "PAGER VER:"
    EXPECT_EQ(c.Find("21.4 MHz")->x, values2);
    const int column3 = values2 + W * 8 + 8 * A;
    EXPECT_EQ(c.Find("XTAL:")->x, column3);
    EXPECT_EQ(c.Find("Fast Plectron")->x, column3 + W * 10);  // "INJECTION:"
}

TEST(ReportLayout, ChannelF2SitsRightOfF1sCallTable) {
    RecordingCanvas c;
    DrawCodeplugReport(c, Sample());
    const int values1 = W * 14;  // "CODING OPTION:"
    EXPECT_EQ(c.Find("406.0125 MHz")->x, values1);
    EXPECT_EQ(c.Find("406.0125 MHz")->y, 6 * H);
    EXPECT_EQ(c.Find("CALL12:")->x, 0);
    EXPECT_EQ(c.Find("CALL12:")->y, 21 * H);
    // F1 table: TONE1 6, TONE2 6, C/S 3 (heading), ALERT 7, DUTY 4 wide, 2A apart.
    EXPECT_EQ(c.Find("TONE1")->x, values1);
    EXPECT_EQ(c.Find("TONE1")->y, 9 * H);
    EXPECT_EQ(c.Find("1006.9")->y, 10 * H);
    EXPECT_EQ(c.Find("1034.7")->x, values1 + W * 6 + 2 * A);
    EXPECT_EQ(c.Find("Music 8")->x, values1 + W * (6 + 6 + 3) + 3 * 2 * A);
    EXPECT_EQ(c.Find("OFF")->x, values1 + W * (6 + 6 + 3 + 7) + 4 * 2 * A);
    EXPECT_EQ(c.Find("2468.2")->y, 21 * H);
    const int tableWidth = W * (6 + 6 + 3 + 7 + 4) + 4 * 2 * A;
    const int column2 = values1 + tableWidth + 8 * A;
    EXPECT_EQ(c.Find("RCV FREQ2:")->x, column2);
    EXPECT_EQ(c.Find("CODING OPTION:", 1)->x, column2);
    const int values2 = column2 + W * 14;
    EXPECT_EQ(c.Find("R177")->x, values2);
    EXPECT_EQ(c.Find("TONE1", 1)->x, values2);
    EXPECT_EQ(c.Find("979.9")->x, values2);
    EXPECT_EQ(c.Find("979.9")->y, 11 * H);
    // F2's TONE2 column is as wide as its heading / widest tone, C/S as "C - B".
    EXPECT_EQ(c.Find("C - B")->x, values2 + W * (5 + 6) + 2 * 2 * A);
    EXPECT_EQ(c.Find("Cont's")->x, values2 + W * (5 + 6 + 5) + 3 * 2 * A);
}

TEST(ReportLayout, SwitchColumnsFitTheLongestModeNames) {
    RecordingCanvas c;
    DrawCodeplugReport(c, Sample());
    const int x0 = W * 12;     // "ON/OFF DUTY:"
    const int pitch = W * 18;  // "Selective Call F1:"
    EXPECT_EQ(c.Find("FUNCTION SWITCH:")->y, 35 * H);
    EXPECT_EQ(c.Find("SW-A")->x, x0);
    EXPECT_EQ(c.Find("SW-A")->y, 36 * H);
    EXPECT_EQ(c.Find("SW-D")->x, x0 + 3 * pitch);
    EXPECT_EQ(c.Find("Vibrator + Tone")->x, x0 + 2 * pitch);
    EXPECT_EQ(c.Find("Vibrator + Tone")->y, 39 * H);
    EXPECT_EQ(c.Find("PTL:")->y, 41 * H);
    EXPECT_FALSE(c.Find("Advanced Engineer Data:"));
    EXPECT_FALSE(c.Find(""));  // empty values draw nothing
}

TEST(ReportLayout, ModelOptionValuesAlign) {
    RecordingCanvas c;
    DrawCodeplugReport(c, Sample());
    EXPECT_EQ(c.Find("MODEL OPTION:")->y, 23 * H);
    EXPECT_EQ(c.Find("SV FUNCTION:")->y, 24 * H);
    EXPECT_EQ(c.Find("N/A")->x, W * 17);  // "PRIORITY SCAN F1:"
    EXPECT_EQ(c.Find("ON 0.400 SEC.")->y, 25 * H);
}

TEST(ReportLayout, AdvancedBlockOnlyInEngineerMode) {
    CodeplugReport r = Sample();
    r.engineer = true;
    r.advancedLeft = {{"~ Tone Settings: ~", {{"TUNE_PAR_B7:", "1", "(Rnd 0/1)"},
                                              {"GOOD/BAD RADIO2:", "255", "(Rnd 1~255)"}}}};
    r.advancedRight = {{"~ Other Settings: ~", {{"SCAN_BACK:", "50", "(Rnd 8~255, Inc 8ms)"}}},
                       {"~ Battery Settings: ~", {{"BAT_LVL_0:", "7", "(x)"}}}};
    RecordingCanvas c;
    DrawCodeplugReport(c, r);
    EXPECT_EQ(c.Find("Advanced Engineer Data:")->y, 43 * H);
    EXPECT_EQ(c.Find("~ Tone Settings: ~")->y, 44 * H);
    EXPECT_EQ(c.Find("TUNE_PAR_B7:")->y, 45 * H);
    const int values = W * 16;  // "GOOD/BAD RADIO2:"
    EXPECT_EQ(c.Find("1")->x, values);
    const int ranges = values + W * 3 + 8 * A;
    EXPECT_EQ(c.Find("(Rnd 0/1)")->x, ranges);
    const int right = ranges + W * 11 + 8 * A;  // "(Rnd 1~255)"
    EXPECT_EQ(c.Find("~ Other Settings: ~")->x, right);
    EXPECT_EQ(c.Find("~ Other Settings: ~")->y, 44 * H);
    EXPECT_EQ(c.Find("50")->x, right + W * 10);
    EXPECT_EQ(c.Find("~ Battery Settings: ~")->y, 46 * H);
    EXPECT_EQ(c.Find("BAT_LVL_0:")->y, 47 * H);
    EXPECT_EQ(c.Find(std::string(94, '='), 1)->y, 63 * H);
}

TEST(ReportLayout, FixedWidthRendering) {
    TextCanvas c;
    DrawCodeplugReport(c, Sample());
    EXPECT_EQ(c.Row(0), "Welcome to Corvane Tarnix HXR! (Filename: \"/x/a.dat\")");
    EXPECT_EQ(c.Row(3), "SERIAL:  136WJA0001                   PAGER VER:0.000           "
                        "SYSTEM:   Fast Plectron");
    EXPECT_EQ(c.Row(10).substr(0, 50), "CALL1:        1006.9  1034.7       Music 8  OFF");
    EXPECT_EQ(c.RowCount(), 43);
}

}  // namespace
