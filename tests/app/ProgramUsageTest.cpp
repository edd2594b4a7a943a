// --help and --version are answered before any window is made; anything
// else starts the program.
#include <gtest/gtest.h>

#include <vector>

#include "app/ProgramUsage.h"

namespace {

std::string Answer(std::vector<const char*> args) {
    args.insert(args.begin(), "CalvexVHXR");
    return EarlyAnswer(static_cast<int>(args.size()), args.data());
}

}  // namespace

TEST(ProgramUsage, HelpAndVersionAnywhereOnTheCommandLine) {
    EXPECT_EQ(Answer({"--help"}), ProgramUsage());
    EXPECT_EQ(Answer({"-h"}), ProgramUsage());
    EXPECT_EQ(Answer({"pager.dat", "--engineer", "--help"}), ProgramUsage());
    EXPECT_EQ(Answer({"--version"}), ProgramVersion());
    EXPECT_EQ(ProgramVersion().rfind("CalvexVHXR ", 0), 0u);
}

TEST(ProgramUsage, ANormalStartIsNotAnswered) {
    EXPECT_EQ(Answer({}), "");
    EXPECT_EQ(Answer({"pager.dat", "--engineer", "--port", "/dev/ttyUSB0"}), "");
    // The word after --port is the port's name, whatever it looks like.
    EXPECT_EQ(Answer({"--port", "--help"}), "");
}

TEST(ProgramUsage, NamesEveryOptionTheProgramTakes) {
    const std::string usage = ProgramUsage();
    for (const char* option : {"--port PORT", "--engineer", "-h,--help", "--version"})
        EXPECT_NE(usage.find(std::string("\n  ") + option), std::string::npos) << option;
    for (const char* name : {"CALVEX_PRODUCT_DIR", "XDG_DATA_HOME", "CALVEX_COMn", "lib/CalvexV.ini",
                             "backups/", "share/calvex-vhxr/help/index.html", "dialout"})
        EXPECT_NE(usage.find(name), std::string::npos) << name;
}
