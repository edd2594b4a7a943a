// calvex read and calvex write against the simulator: the texts, the exit
// codes, the settings file and the files they read and write.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "SampleCodeplug.h"
#include "document/CDatFile.h"
#include "e2e/SimProcess.h"

namespace {

std::string Calvex() {
    return std::string(CALVEX_BINARY_DIR) + "/tools/calvex/calvex";
}

class Cli : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(sim.Start(SimArgs(), &error)) << error;
        // A settings folder of our own: calvex must never touch the user's.
        env = {"CALVEX_PRODUCT_DIR=" + sim.File("product")};
    }
    virtual std::vector<std::string> SimArgs() { return {"--save", sim.File("held.dat")}; }

    int Calvex(std::vector<std::string> args) {
        args.insert(args.begin(), ::Calvex());
        return RunProgram(args, &out, &err, env);
    }
    void WriteSettings(const std::string& text) {
        std::filesystem::create_directories(sim.File("product/lib"));
        std::ofstream(sim.File("product/lib/CalvexV.ini"), std::ios::binary) << text;
    }

    SimProcess sim;
    std::vector<std::string> env;
    std::string out, err;
};

TEST_F(Cli, ReadSavesTheCodeplugAndTellsTheFirmwareVersion) {
    const std::string file = sim.File("read.dat");
    ASSERT_EQ(Calvex({"read", "--port", sim.Port(), "--out", file}), 0) << err;
    EXPECT_NE(out.find("Pager read: 512 bytes, firmware version 1.2"), std::string::npos) << out;
    const auto saved = CDatFile::Read(file);
    ASSERT_TRUE(saved.ok);
    EXPECT_TRUE(CDatFile::IsValid(saved.parsed.image));
    Image pager = SampleCodeplug();
    pager[layout::PAGER_FIRMWARE] = 0x0C;
    EXPECT_EQ(saved.parsed.image, pager);
    // No settings were written by the command line.
    EXPECT_FALSE(std::filesystem::exists(sim.File("product/lib/CalvexV.ini")));
}

TEST_F(Cli, WriteUsesThePortAndDelayOfTheSettingsFile) {
    const std::string file = sim.File("doc.dat");
    Image doc = SampleCodeplug();
    doc[0x30] ^= 0x01;
    CCodeplug plug;
    plug.SetImage(doc);
    ASSERT_TRUE(CDatFile::Write(file, plug).ok);
    WriteSettings("CommPort = COM12\nUSBDelay = 150");
    env.push_back("CALVEX_COM12=" + sim.Port());
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(Calvex({"write", file}), 0) << out << err;
    // It waited the 150 ms of the file before reading the answer.
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(150));
    EXPECT_NE(out.find("Serial Communication - Pager Write SUCCEEDED!"), std::string::npos);
    EXPECT_NE(sim.Log().find("#2 write: stored"), std::string::npos);
    const auto held = CDatFile::Read(sim.File("held.dat"));
    ASSERT_TRUE(held.ok);
    EXPECT_EQ(held.parsed.image[0x30], doc[0x30]);
}

TEST_F(Cli, FailuresShowTheProgramsTextAndTheReason) {
    EXPECT_EQ(Calvex({"read", "--port", "/nonexistent/ttyUSB7"}), 1);
    EXPECT_EQ(out, "Serial Communication - Pager Read FAILED!\n");
    EXPECT_NE(err.find("/nonexistent/ttyUSB7 does not exist"), std::string::npos) << err;

    // Another model number in the file: refused, nothing written.
    Image doc = SampleCodeplug();
    doc[layout::MODEL_NO + 3] ^= 0x01;
    const std::string file = sim.File("other.dat");
    CCodeplug plug;
    plug.SetImage(doc);
    ASSERT_TRUE(CDatFile::Write(file, plug).ok);
    EXPECT_EQ(Calvex({"write", "--port", sim.Port(), "--delay", "50", file}), 1);
    EXPECT_EQ(out, "Serial Communication - Pager Write FAILED!\n");
    EXPECT_NE(err.find("another model number"), std::string::npos) << err;
    EXPECT_EQ(sim.Log().find(" write:"), std::string::npos);

    // ... which engineer mode writes, saying that nothing kept the pager's
    // contents.
    EXPECT_EQ(Calvex({"write", "--port", sim.Port(), "--delay", "50", "--engineer", file}), 0)
        << err;
    EXPECT_EQ(out,
              "Serial Communication - Pager Write SUCCEEDED!\n"
              "engineer write: no backup of the pager was made\n");
}

TEST_F(Cli, CorruptedFileNeverReachesThePager) {
    Image bad = SampleCodeplug();
    bad[0x40] ^= 0x10;  // checksum no longer matches
    const std::string file = sim.File("bad.dat");
    ASSERT_TRUE(CDatFile::Write(file, bad).ok);
    EXPECT_EQ(Calvex({"write", "--port", sim.Port(), file}), 1);
    EXPECT_NE(err.find("is corrupted!"), std::string::npos) << err;
    EXPECT_EQ(sim.Log().find("#1"), std::string::npos);
}

TEST_F(Cli, UsageErrors) {
    EXPECT_EQ(Calvex({"write"}), 2);
    EXPECT_EQ(Calvex({"read", "--bogus"}), 2);
    EXPECT_EQ(Calvex({"write", "--delay", "soon", "x.dat"}), 2);
    EXPECT_EQ(Calvex({"write", sim.File("missing.dat")}), 2);
    EXPECT_EQ(Calvex({"read", "--help"}), 0);
    EXPECT_NE(out.find("--port"), std::string::npos);
}

class CliRefused : public Cli {
    std::vector<std::string> SimArgs() override { return {"--fault", "refuse"}; }
};

TEST_F(CliRefused, RefusalNamesTheByte) {
    const std::string file = sim.File("doc.dat");
    CCodeplug plug;
    Image img = SampleCodeplug();
    plug.SetImage(img);
    ASSERT_TRUE(CDatFile::Write(file, plug).ok);
    EXPECT_EQ(Calvex({"write", "--port", sim.Port(), "--delay", "0", file}), 1);
    EXPECT_NE(err.find("refused the codeplug (answered 0x15)"), std::string::npos) << err;
}

}  // namespace
