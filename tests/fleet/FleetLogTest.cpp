// The fleet log: a spreadsheet-friendly CSV that a new run reads back.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "fleet/FleetLog.h"
#include "fleet/FleetSession.h"

namespace {

namespace fs = std::filesystem;

class FleetLogTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = fs::temp_directory_path() / ("calvex_fleetlog_" + std::string(info->name()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        path = (dir / "crew-log.csv").string();
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string Text() {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    fs::path dir;
    std::string path;
};

TEST_F(FleetLogTest, StartsWithItsHeaderAndReadsItsLinesBack) {
    FleetLog log;
    ASSERT_TRUE(log.Open(path)) << log.Error();
    // Written at once: a log that cannot be kept is found before any pager.
    EXPECT_EQ(Text(), "\xEF\xBB\xBFtime,row,serial,label,values,result,backup,verify,detail\r\n");
    FleetLogEntry e{"2026-12-07 14:30:00", "3", "136WJA0102", "Smith, \"Jo\"",
                    "channels.F1.calls.1.tone1=368.5; channels.F1.calls.1.alert=Music 2",
                    FleetLogEntry::kWritten, "/b/136WJA0102-20261207-143000.dat", "passed", ""};
    ASSERT_TRUE(log.Append(e));
    FleetLogEntry failed = e;
    failed.result = FleetLogEntry::kFailed;
    failed.detail = "two\nlines";
    ASSERT_TRUE(log.Append(failed));
    EXPECT_NE(Text().find("\"Smith, \"\"Jo\"\"\""), std::string::npos);

    FleetLog again;
    ASSERT_TRUE(again.Open(path)) << again.Error();
    ASSERT_EQ(again.Entries().size(), 2u);
    EXPECT_EQ(again.Entries()[0].label, "Smith, \"Jo\"");
    EXPECT_EQ(again.Entries()[0].values, e.values);
    EXPECT_TRUE(again.Entries()[0].Written());
    EXPECT_FALSE(again.Entries()[1].Written());
    EXPECT_EQ(again.Entries()[1].detail, "two\nlines");
}

TEST_F(FleetLogTest, AHandEditedLogIsContinuedOnANewLine) {
    std::ofstream(path, std::ios::binary)
        << "time,row,serial,label,values,result,backup,verify,detail\n"
           "2026-12-07 14:30:00,2,136WJA0101,Engine 1,,written,,not asked,";
    FleetLog log;
    ASSERT_TRUE(log.Open(path)) << log.Error();
    ASSERT_EQ(log.Entries().size(), 1u);
    ASSERT_TRUE(log.Append({"t", "3", "136WJA0102", "", "", "failed", "", "", ""}));
    FleetLog again;
    ASSERT_TRUE(again.Open(path));
    ASSERT_EQ(again.Entries().size(), 2u);
    EXPECT_EQ(again.Entries()[0].verify, "not asked");
    EXPECT_EQ(again.Entries()[1].serial, "136WJA0102");
}

TEST_F(FleetLogTest, RefusesWhatIsNoFleetLog) {
    std::ofstream(path, std::ios::binary) << "serial,label\n136WJA0101,Engine 1\n";
    FleetLog log;
    EXPECT_FALSE(log.Open(path));
    EXPECT_NE(log.Error().find("is no fleet log: its first line is not time,row,serial"),
              std::string::npos)
        << log.Error();
    // The roster was not touched.
    EXPECT_EQ(Text(), "serial,label\n136WJA0101,Engine 1\n");
    EXPECT_FALSE(log.Open(dir.string()));
    EXPECT_NE(log.Error().find("is a folder"), std::string::npos);
    EXPECT_FALSE(log.Open((dir / "missing" / "log.csv").string()));
    EXPECT_NE(log.Error().find("cannot write"), std::string::npos);
}

TEST(FleetSessionLog, SitsBesideTheRoster) {
    EXPECT_EQ(fs::path(FleetSession::DefaultLogPath("/data/crew.csv")),
              fs::path("/data/crew-log.csv"));
    EXPECT_EQ(FleetSession::DefaultLogPath("crew.csv"), "crew-log.csv");
}

}  // namespace
