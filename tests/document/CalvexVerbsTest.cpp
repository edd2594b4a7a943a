// The check and show verbs of the calvex command line, run as a user would.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <nlohmann/json.hpp>
#include <string>

#include "TempDir.h"
#include "document/CDatFile.h"

namespace {

struct RunResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

class CalvexVerbs : public ::testing::Test {
protected:
    RunResult Run(const std::string& args) {
        const auto out = dir / "stdout";
        const auto err = dir / "stderr";
        const std::string cmd = std::string("'") + CALVEX_EXE + "' " + args + " >'" + out.string() +
                                "' 2>'" + err.string() + "'";
        const int status = std::system(cmd.c_str());
        RunResult r;
        r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        r.out = TempDir::ReadFile(out);
        r.err = TempDir::ReadFile(err);
        return r;
    }
    std::string Sample(const char* name) {
        return std::string("'") + CALVEX_SOURCE_DIR + "/samples/" + name + "'";
    }
    TempDir dir;
};

TEST_F(CalvexVerbs, CheckTellsValidCorruptedAndUnreadableApart) {
    const RunResult ok = Run("check " + Sample("vhf-two-frequency.dat"));
    EXPECT_EQ(ok.exitCode, 0);
    EXPECT_EQ(ok.out, "ok\n");

    std::string text =
        TempDir::ReadFile(std::string(CALVEX_SOURCE_DIR) + "/samples/uhf-one-frequency.dat");
    text[9] = text[9] == '0' ? '1' : '0';
    const auto bad = dir.WriteFile("bad.dat", text);
    const RunResult corrupted = Run("check '" + bad.string() + "'");
    EXPECT_EQ(corrupted.exitCode, 1);
    EXPECT_EQ(corrupted.err, "The data in file " + bad.string() + " is corrupted!\n");
    EXPECT_EQ(corrupted.out, "");

    const RunResult missing = Run("check '" + (dir / "missing.dat").string() + "'");
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_EQ(missing.err.find("corrupted"), std::string::npos);
    EXPECT_NE(missing.err.find("missing.dat"), std::string::npos);

    EXPECT_EQ(Run("check").exitCode, 2);
    EXPECT_EQ(Run("check a b").exitCode, 2);
    const RunResult help = Run("check --help");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("FILE"), std::string::npos);
}

TEST_F(CalvexVerbs, ShowJsonCarriesTheDecodedFields) {
    const RunResult r = Run("show --json " + Sample("vhf-two-frequency.dat"));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["model"], "A03XLT9239AC");
    EXPECT_EQ(j["serial"], "136WJA0001");
    EXPECT_EQ(j["subBand"], "B: 151 - 158.9975 MHz");
    EXPECT_EQ(j["pagerVersion"], "0.000");
    EXPECT_EQ(j["codeplugVersion"], "1.005");
    EXPECT_EQ(j["toneSystem"], "Corvane");
    EXPECT_EQ(j["channels"][0]["frequency"], "152.0075");
    EXPECT_EQ(j["channels"][1]["codingOption"], "R468");
    EXPECT_EQ(j["channels"][0]["calls"][2]["tone2"], "832.5");
    EXPECT_EQ(j["channels"][0]["calls"][2]["duty"], "OFF");
    EXPECT_TRUE(j["channels"][0]["calls"][4]["tone1"].is_null());
    EXPECT_TRUE(j["channels"][0]["calls"][9]["tone2"].is_null());
    EXPECT_EQ(j["switches"][1]["mode"], "Selective Call F2");
    EXPECT_EQ(j["squelchLevel"], 3);
    EXPECT_EQ(j["advanced"].size(), 36u);

    const RunResult text = Run("show " + Sample("uhf-one-frequency.dat"));
    EXPECT_EQ(text.exitCode, 0);
    EXPECT_NE(text.out.find("411.3125 MHz"), std::string::npos);
    EXPECT_NE(text.out.find("Plectron"), std::string::npos);
}

TEST_F(CalvexVerbs, ShowRefusesCorruptedAndMissingFiles) {
    const auto empty = dir.WriteFile("empty.dat", "");
    const RunResult r = Run("show '" + empty.string() + "'");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "The data in file " + empty.string() + " is corrupted!\n");
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(Run("show '" + dir.Path().string() + "'").exitCode, 2);
    EXPECT_EQ(Run("show --bogus x.dat").exitCode, 2);
}

}  // namespace
