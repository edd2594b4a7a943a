#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "codeplug/CPagerData.h"
#include "codeplug/CodeplugContext.h"
#include "document/CodeplugDocument.h"
#include "report/ReportBuilder.h"
#include "report/ReportLayout.h"
#include "report/TextCanvas.h"

namespace {

namespace fs = std::filesystem;

class SampleReport : public ::testing::Test {
protected:
    void SetUp() override { CodeplugContext::Get().Reset(); }
    void TearDown() override { CodeplugContext::Get().Reset(); }

    // The fixed-width report of a sample file; skips when it is missing.
    bool Render(const char* name, TextCanvas& canvas) {
        const fs::path path = fs::path(CALVEX_SOURCE_DIR) / "samples" / name;
        if (!fs::exists(path)) return false;
        CodeplugDocument doc;
        EXPECT_TRUE(doc.Open(path).Ok()) << path;
        CPagerData pager;
        DrawCodeplugReport(canvas, BuildCodeplugReport(doc.Codeplug(), pager, "x.dat"));
        return true;
    }
};

TEST_F(SampleReport, VhfTwoFrequencyReadsLikeThePrintedReport) {
    TextCanvas c;
    if (!Render("vhf-two-frequency.dat", c)) GTEST_SKIP() << "no sample";
    EXPECT_EQ(c.Row(0), "Welcome to Corvane Tarnix HXR! (Filename: \"x.dat\")");
    EXPECT_EQ(c.Row(2).substr(0, 21), "MODEL:   A03XLT9239AC");
    EXPECT_NE(c.Row(3).find("PAGER VER:0.000"), std::string::npos);
    EXPECT_EQ(c.Row(4).substr(0, 30), "SUB-BAND:B: 151 - 158.9975 MHz");
    EXPECT_EQ(c.Row(6).substr(0, 26), "RCV FREQ1:    152.0075 MHz");
    EXPECT_NE(c.Row(6).find("RCV FREQ2:    154.4300 MHz"), std::string::npos);
    EXPECT_NE(c.Row(7).find("CODING OPTION:R468"), std::string::npos);
    // F1 "R168 (None)": every row has ALERT and DUTY, F2 "R468" its four rows.
    EXPECT_EQ(c.Row(12).substr(0, 47), "CALL3:        433.7   832.5       Music 1  OFF");
    EXPECT_EQ(c.Row(21), "CALL12:                           Std      ON");
    EXPECT_NE(c.Row(11).find("539.0  832.5  A - C"), std::string::npos);
    EXPECT_NE(c.Row(18).find("669.9         Long B"), std::string::npos);
    EXPECT_EQ(c.Row(13).find("Long"), std::string::npos);
    EXPECT_EQ(c.Row(27), "PRIORITY SCAN F1:ON 1.000 SEC.");
    EXPECT_EQ(c.Row(32), "RESET FUNCTION:  Delayed N 12.000 SEC.");
    EXPECT_EQ(c.Row(38).substr(0, 48), "MODE:       Selective Call F1 Selective Call F2 ");
    EXPECT_EQ(c.RowCount(), 43);
}

TEST_F(SampleReport, UhfOneFrequencyWithTheEngineerBlock) {
    CodeplugContext::Get().engineer = true;
    TextCanvas c;
    if (!Render("uhf-one-frequency.dat", c)) GTEST_SKIP() << "no sample";
    EXPECT_NE(c.Row(6).find("RCV FREQ2:    0.0000 MHz"), std::string::npos);
    EXPECT_NE(c.Row(3).find("SYSTEM:   Plectron"), std::string::npos);
    EXPECT_EQ(c.Row(10).substr(0, 49), "CALL1:        765.0   1036.0  A - B   Std      ON");
    EXPECT_EQ(c.Row(43), "Advanced Engineer Data:");
    EXPECT_EQ(c.Row(49).substr(0, 37), "BANDWIDTH:      3          (Rnd 1~15)");
    EXPECT_NE(c.Row(57).find("SQ_V10_LVL:    25         (Rnd 1~255, Inc 3.1v/256)"),
              std::string::npos);
    EXPECT_EQ(c.Row(63), std::string(94, '='));
    EXPECT_EQ(c.RowCount(), 64);
}

}  // namespace
