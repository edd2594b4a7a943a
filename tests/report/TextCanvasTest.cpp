#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "report/TextCanvas.h"
#include "report/WelcomePage.h"

namespace {

TEST(TextCanvas, PlacesTextByColumnAndRow) {
    TextCanvas c;
    c.DrawText(4, 2, "abc");
    c.DrawText(0, 0, "xy");
    c.DrawText(5, 2, "Z");  // overwrites one cell
    EXPECT_EQ(c.Text(), "xy\n\n    aZc\n");
    EXPECT_EQ(c.Row(1), "");
    EXPECT_EQ(c.Row(99), "");
}

TEST(TextCanvas, TrailingBlanksAreDroppedLeadingKept) {
    TextCanvas c;
    c.DrawText(2, 0, "a   ");
    EXPECT_EQ(c.Row(0), "  a");
}

TEST(TextCanvas, CountsCodePointsNotBytes) {
    TextCanvas c;
    EXPECT_EQ(c.TextWidth("Größe"), 5);
    EXPECT_EQ(c.TextWidth(""), 0);
    EXPECT_EQ(c.TextWidth("\x80\x80"), 1);  // stray continuation bytes still have a width
    c.DrawText(0, 0, "Größe");
    c.DrawText(5, 0, "|");
    EXPECT_EQ(c.Row(0), "Größe|");
}

TEST(TextCanvas, ClipsOutsideTheGrid) {
    TextCanvas c;
    c.DrawText(-2, 0, "abcd");
    c.DrawText(0, -1, "never");
    c.DrawText(TextCanvas::kMaxColumns - 1, 1, "xyz");
    c.DrawText(0, TextCanvas::kMaxRows, "never");
    c.DrawText(2147483000, 2147483000, "never");
    EXPECT_EQ(c.Row(0), "cd");
    EXPECT_EQ(c.Row(1), std::string(TextCanvas::kMaxColumns - 1, ' ') + "x");
    EXPECT_EQ(c.RowCount(), 2);
}

TEST(WelcomePage, ArchiveLineIsProductDirectoryAndLib) {
    EXPECT_EQ(MakeWelcomePage("C:\\Corvane\\").texts.at(7).text, "C:\\Corvane\\Lib");
    const WelcomePage none = MakeWelcomePage("");
    EXPECT_EQ(none.texts.at(7).text, "Lib");
    EXPECT_EQ(none.texts.at(7).x, 35);
    EXPECT_EQ(none.texts.at(7).y, 136);
    EXPECT_EQ(none.logoX, 400);
    EXPECT_EQ(none.logoY, 40);
    TextCanvas c;
    DrawWelcomeTexts(c, none);
    EXPECT_EQ(c.Row(0), "Welcome to Corvane Calvex V HXR!");
    EXPECT_EQ(c.Row(101), std::string(35, ' ') + "by selecting Operation - Read Pager (F3)");
    EXPECT_EQ(c.Row(120), std::string(20, ' ') + "2) an archived file under  --");
    EXPECT_EQ(c.RowCount(), 153);
}

TEST(WelcomePage, ArchiveLineTakesTheFolderNameGiven) {
    EXPECT_EQ(MakeWelcomePage("/home/tech/.local/share/CalvexVHXR/", "lib").texts.at(7).text,
              "/home/tech/.local/share/CalvexVHXR/lib");
}

TEST(WelcomePage, ArchiveFolderIsNamedAsItIsSpeltOnDisk) {
    namespace fs = std::filesystem;
    const fs::path dir =
        fs::temp_directory_path() /
        ("calvex-archive-" +
         std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::string product = dir.string() + "/";
#ifdef _WIN32
    EXPECT_EQ(ArchiveFolderName(product), "Lib");
#else
    // Nothing there yet: where the settings will be written.
    EXPECT_EQ(ArchiveFolderName(product), "lib");
    EXPECT_EQ(ArchiveFolderName(""), "lib");
    // A file of that name is no folder.
    { std::ofstream(dir / "Lib") << "x"; }
    EXPECT_EQ(ArchiveFolderName(product), "lib");
    fs::remove(dir / "Lib");
    fs::create_directory(dir / "LIB");
    EXPECT_EQ(ArchiveFolderName(product), "LIB");
    // The settings' own spelling wins when both exist.
    fs::create_directory(dir / "lib");
    EXPECT_EQ(ArchiveFolderName(product), "lib");
#endif
    fs::remove_all(dir);
}

}  // namespace
