// The user guide is found from the program's own folder: in a build tree,
// in an installed prefix, and in an installed prefix that was moved.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/HelpLocation.h"
#include "document/TempDir.h"

namespace fs = std::filesystem;

namespace {

fs::path Guide(const fs::path& folder) {
    fs::create_directories(folder);
    std::ofstream(folder / "index.html") << "<html></html>";
    return folder / "index.html";
}

}  // namespace

TEST(HelpLocation, BesideTheProgramAsInTheBuildTree) {
    TempDir dir;
    const fs::path guide = Guide(dir / "app/help");
    EXPECT_EQ(FindUserGuide((dir / "app").string()), guide.string());
}

TEST(HelpLocation, InTheDataFolderOfAnInstalledPrefixAndAfterTheTreeIsMoved) {
    TempDir dir;
    fs::create_directories(dir / "prefix/bin");
    Guide(dir / "prefix/share/calvex-vhxr/help");
    const std::string found = FindUserGuide((dir / "prefix/bin").string());
    // A clean path: it becomes the URL a browser is given.
    EXPECT_EQ(found, (dir / "prefix/share/calvex-vhxr/help/index.html").string());

    fs::rename(dir / "prefix", dir / "moved prefix");
    EXPECT_EQ(FindUserGuide((dir / "moved prefix/bin").string()),
              (dir / "moved prefix/share/calvex-vhxr/help/index.html").string());
    EXPECT_EQ(FindUserGuide((dir / "prefix/bin").string()), "");
}

TEST(HelpLocation, NothingWhenThereIsNoGuideFile) {
    TempDir dir;
    fs::create_directories(dir / "bin");
    EXPECT_EQ(FindUserGuide((dir / "bin").string()), "");
    // A folder of the guide's name is not a guide.
    fs::create_directories(dir / "bin/help/index.html");
    EXPECT_EQ(FindUserGuide((dir / "bin").string()), "");
    // Another package's data folder is not ours.
    Guide(dir / "share/other/help");
    EXPECT_EQ(FindUserGuide((dir / "bin").string()), "");
    EXPECT_EQ(FindUserGuide(""), "");
}
