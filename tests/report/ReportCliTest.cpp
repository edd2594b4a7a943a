#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "codeplug/CPagerData.h"
#include "codeplug/CodeplugContext.h"
#include "document/CDatFile.h"

namespace {

namespace fs = std::filesystem;

struct CliRun {
    int rc = -1;
    std::string out;
    std::string err;
};

// Each case runs as its own process, possibly beside another case: every
// process keeps its files in a folder of its own.
fs::path CaseDir() {
    return fs::temp_directory_path() / ("calvex_report_cli." + std::to_string(getpid()));
}

CliRun Calvex(const std::string& args) {
    const fs::path errFile = CaseDir().string() + ".err";
    const std::string cmd = std::string(CALVEX_EXE) + " " + args + " 2>" + errFile.string();
    CliRun run;
    FILE* pipe = popen(cmd.c_str(), "r");
    if (pipe == nullptr) return run;
    char buf[4096];
    std::size_t n;
    while ((n = fread(buf, 1, sizeof buf, pipe)) > 0) run.out.append(buf, n);
    const int status = pclose(pipe);
    run.rc = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream err(errFile);
    std::stringstream ss;
    ss << err.rdbuf();
    run.err = ss.str();
    return run;
}

class ReportCli : public ::testing::Test {
protected:
    void SetUp() override {
        dir = CaseDir();
        fs::create_directories(dir);
        CodeplugContext::Get().Reset();
        CCodeplug plug;
        CPagerData d;
        d.Decode(plug);
        d.model.SetBand(3);
        d.model.SetSubBand(0);
        d.ifSetting.SetByte(0x24);
        d.advanced.SetIfSel(0x24);
        d.Encode(plug);
        d.Decode(plug);
        d.channel[0].SetFrequency(406.0125, 0x24);
        d.channel[0].SetCodingOption(3);
        d.channel[0].SetTone(0, 1006.9);
        d.channel[0].SetTone(12, 1034.7);
        d.Encode(plug);
        image = plug.PrepareForOutput();
        image[layout::PAGER_FIRMWARE] = 0x21;
        image[layout::CHECKSUM] = CCodeplug::ComputeChecksum(image);
        good = dir / "good.dat";
        ASSERT_TRUE(CDatFile::Write(good, image).ok);
    }
    void TearDown() override {
        fs::remove_all(dir);
        fs::remove(CaseDir().string() + ".err");
    }

    fs::path dir, good;
    Image image{};
};

TEST_F(ReportCli, PrintsTheReportAsFixedWidthText) {
    const CliRun run = Calvex("report " + good.string());
    ASSERT_EQ(run.rc, 0) << run.err;
    std::istringstream lines(run.out);
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, "Welcome to Corvane Tarnix HXR! (Filename: \"" + good.string() + "\")");
    std::getline(lines, line);
    EXPECT_EQ(line, std::string(82, '='));
    EXPECT_NE(run.out.find("PAGER VER:0.000"), std::string::npos);
    EXPECT_NE(run.out.find("\nRCV FREQ1:    406.0125 MHz"), std::string::npos);
    EXPECT_NE(run.out.find("\nCALL1:        1006.9  1034.7  A - B  Std    ON   "), std::string::npos)
        << run.out;
    EXPECT_EQ(run.out.find("Advanced Engineer Data:"), std::string::npos);
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 43);
}

TEST_F(ReportCli, EngineerOptionAddsTheAdvancedBlock) {
    const CliRun run = Calvex("report --engineer " + good.string());
    ASSERT_EQ(run.rc, 0) << run.err;
    EXPECT_NE(run.out.find("\nAdvanced Engineer Data:\n~ Tone Settings: ~"), std::string::npos);
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 64);
}

TEST_F(ReportCli, CorruptedUnreadableAndUsage) {
    Image bad = image;
    bad[0x10] ^= 0x01;
    const fs::path corrupted = dir / "bad.dat";
    ASSERT_TRUE(CDatFile::Write(corrupted, bad).ok);
    const CliRun c = Calvex("report " + corrupted.string());
    EXPECT_EQ(c.rc, 1);
    EXPECT_EQ(c.out, "");
    EXPECT_NE(c.err.find("The data in file " + corrupted.string() + " is corrupted!"),
              std::string::npos);
    EXPECT_EQ(Calvex("report " + (dir / "missing.dat").string()).rc, 2);
    EXPECT_EQ(Calvex("report " + dir.string()).rc, 2);
    EXPECT_EQ(Calvex("report").rc, 2);
    EXPECT_EQ(Calvex("report --bogus " + good.string()).rc, 2);
    const CliRun help = Calvex("report --help");
    EXPECT_EQ(help.rc, 0);
    EXPECT_NE(help.out.find("--engineer"), std::string::npos);
}

}  // namespace
