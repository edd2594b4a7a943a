// The backups a normal write keeps: names, contents, the newest 50 per
// pager, and clear failures when there is nowhere to put them.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "document/CDatFile.h"
#include "link/PagerBackups.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::system_clock;

class Backups : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = fs::temp_directory_path() / (std::string("calvex_backups_") + info->name());
        fs::remove_all(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    // A block with a given serial record and some content.
    static Image Block(Byte serialLast, Byte content) {
        Image img{};
        for (std::size_t i = 0; i < img.size(); ++i) img[i] = static_cast<Byte>(i ^ content);
        img[layout::SERIAL_NO] = 0x8A;
        img[layout::SERIAL_NO + 1] = 0x10;
        img[layout::SERIAL_NO + 2] = 0x00;
        img[layout::SERIAL_NO + 3] = serialLast;
        img[layout::PAGER_FIRMWARE] = 0x0C;
        return img;
    }
    std::string Folder() const { return (dir / "backups").string() + "/"; }

    fs::path dir;
};

TEST_F(Backups, SavesTheBlockAsItCameNamedBySerialAndTime) {
    PagerBackups backups(Folder());
    const Image block = Block(1, 0x5A);
    const auto when = Clock::now();
    const auto r = backups.Save(block, when);
    ASSERT_TRUE(r.ok) << r.error;
    const std::string serial = PagerBackups::SerialPart(block);
    EXPECT_EQ(fs::path(r.path).filename().string(), PagerBackups::BaseName(serial, when) + ".dat");
    // Letters and digits only, so every system takes it as a file name.
    for (char c : serial) EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(c)) || c == '_');
    // Byte 511 (the firmware version) and a checksum that does not match
    // are kept as the pager had them.
    const auto back = CDatFile::Read(r.path);
    ASSERT_TRUE(back.ok);
    EXPECT_EQ(back.parsed.image, block);

    // A second write in the same second gets a name of its own.
    const auto again = backups.Save(Block(1, 0x11), when);
    ASSERT_TRUE(again.ok);
    EXPECT_NE(again.path, r.path);
    EXPECT_EQ(backups.List(serial), (std::vector<std::string>{r.path, again.path}));
}

TEST_F(Backups, KeepsTheNewestFiftyOfEachPager) {
    PagerBackups backups(Folder());
    const auto start = Clock::now() - std::chrono::hours(24);
    std::vector<std::string> paths;
    for (int i = 0; i < 53; ++i) {
        const auto r =
            backups.Save(Block(1, static_cast<Byte>(i)), start + std::chrono::minutes(i));
        ASSERT_TRUE(r.ok) << r.error;
        paths.push_back(r.path);
    }
    // Another pager's backups and files that are no backups stay.
    ASSERT_TRUE(backups.Save(Block(2, 0), start).ok);
    std::ofstream(dir / "backups" / "notes.txt") << "mine";
    const std::string serial = PagerBackups::SerialPart(Block(1, 0));
    std::ofstream(dir / "backups" / (serial + "-copy.dat")) << "mine";

    const auto kept = backups.List(serial);
    ASSERT_EQ(kept.size(), PagerBackups::kKeepPerPager);
    EXPECT_EQ(kept.front(), paths[3]);
    EXPECT_EQ(kept.back(), paths.back());
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(fs::exists(paths[i])) << i;
    EXPECT_EQ(backups.List(PagerBackups::SerialPart(Block(2, 0))).size(), 1u);
    EXPECT_TRUE(fs::exists(dir / "backups" / "notes.txt"));
    EXPECT_TRUE(fs::exists(dir / "backups" / (serial + "-copy.dat")));
}

TEST_F(Backups, NowhereToSaveIsAFailureWithItsReason) {
    const auto none = PagerBackups("").Save(Block(1, 0));
    EXPECT_FALSE(none.ok);
    EXPECT_NE(none.error.find("no data directory"), std::string::npos) << none.error;

    // A file where the folder should be (what a read-only or full disk
    // looks like to the writer: the folder or file cannot be made).
    fs::create_directories(dir);
    std::ofstream(dir / "backups") << "in the way";
    const auto blocked = PagerBackups(Folder()).Save(Block(1, 0));
    EXPECT_FALSE(blocked.ok);
    EXPECT_NE(blocked.error.find("cannot create the backup folder"), std::string::npos)
        << blocked.error;
    EXPECT_NE(blocked.error.find("a file of that name is in the way"), std::string::npos)
        << blocked.error;
    EXPECT_TRUE(blocked.path.empty());
}

TEST(BackupNames, SerialsThatAreNoTextStillName) {
    Image zeros{};
    EXPECT_FALSE(PagerBackups::SerialPart(zeros).empty());
    const std::string base = PagerBackups::BaseName("X1", Clock::time_point{});
    ASSERT_EQ(base.size(), std::string("X1-YYYYMMDD-HHMMSS").size());
    EXPECT_EQ(base.substr(0, 3), "X1-");
}

}  // namespace
