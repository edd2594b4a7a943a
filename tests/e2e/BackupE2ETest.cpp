// Backups, read-back verify and diff of the calvex command line against the
// simulator: every write keeps what the pager held, a backup restores it,
// and differences are named by field.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "SampleCodeplug.h"
#include "document/CDatFile.h"
#include "e2e/SimProcess.h"

namespace {

namespace fs = std::filesystem;

class Backups : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(sim.Start(SimArgs(), &error)) << error;
        env = {"CALVEX_PRODUCT_DIR=" + sim.File("product")};
    }
    virtual std::vector<std::string> SimArgs() { return {"--save", sim.File("held.dat")}; }

    int Calvex(std::vector<std::string> args) {
        args.insert(args.begin(), std::string(CALVEX_BINARY_DIR) + "/tools/calvex/calvex");
        return RunProgram(args, &out, &err, env);
    }
    // What the simulated pager holds at the start.
    static Image Pager() {
        Image img = SampleCodeplug();
        img[layout::PAGER_FIRMWARE] = 0x0C;
        return img;
    }
    // A codeplug for the simulated pager with one call alert changed.
    std::string EditedFile(const std::string& name) {
        Image img = SampleCodeplug();
        img[layout::CALL_ALERT1 + 2] ^= 0x01;
        CCodeplug plug;
        plug.SetImage(img);
        const std::string file = sim.File(name);
        EXPECT_TRUE(CDatFile::Write(file, plug).ok);
        return file;
    }
    std::vector<fs::path> BackupFiles() {
        std::vector<fs::path> files;
        std::error_code ec;
        for (const auto& e : fs::directory_iterator(sim.File("product/backups"), ec))
            files.push_back(e.path());
        return files;
    }

    SimProcess sim;
    std::vector<std::string> env;
    std::string out, err;
};

TEST_F(Backups, WriteKeepsThePagersContentsAndTheBackupRestoresThem) {
    const std::string file = EditedFile("edited.dat");
    ASSERT_EQ(Calvex({"write", "--port", sim.Port(), "--delay", "50", file}), 0) << out << err;
    const auto backups = BackupFiles();
    ASSERT_EQ(backups.size(), 1u);
    EXPECT_NE(out.find("Backup of the pager's previous contents: " + backups[0].string()),
              std::string::npos)
        << out;
    // Named by the serial number (its "?" made safe) and the time.
    EXPECT_EQ(backups[0].filename().string().rfind("136SGE_280-", 0), 0u) << backups[0];
    const auto saved = CDatFile::Read(backups[0]);
    ASSERT_TRUE(saved.ok);
    EXPECT_EQ(saved.parsed.image, Pager());

    // The pager now differs from its backup in that one field ...
    EXPECT_EQ(Calvex({"diff", backups[0].string(), "--port", sim.Port()}), 1) << err;
    EXPECT_EQ(out,
              "channels.F1.calls.3.alert: Standard -> Continuous\n"
              "channels.F1.calls.3.alertValue: 0 -> 1\n"
              "byte 0x1ed: $E5 -> $E6\n"  // CHECKSUM and CHECK_CODE follow
              "byte 0x1ef: $9C -> $B1\n");

    // ... until the backup is written back: nothing is left between them.
    ASSERT_EQ(Calvex({"write", "--port", sim.Port(), "--delay", "50", backups[0].string()}), 0)
        << err;
    EXPECT_EQ(BackupFiles().size(), 2u);
    EXPECT_EQ(Calvex({"diff", backups[0].string(), "--port", sim.Port()}), 0) << out << err;
    EXPECT_EQ(out, "");
}

TEST_F(Backups, RefusedIdentityLeavesNoBackupAndSendsNothing) {
    Image other = SampleCodeplug();
    other[layout::MODEL_NO + 1] ^= 0x01;
    CCodeplug plug;
    plug.SetImage(other);
    const std::string file = sim.File("other.dat");
    ASSERT_TRUE(CDatFile::Write(file, plug).ok);
    EXPECT_EQ(Calvex({"write", "--port", sim.Port(), "--delay", "50", file}), 1);
    EXPECT_TRUE(BackupFiles().empty());
    EXPECT_EQ(sim.Log().find(" write:"), std::string::npos);
}

TEST_F(Backups, BackupFolderThatCannotBeMadeFailsTheWriteBeforeTheFrame) {
    fs::create_directories(sim.File("product"));
    std::ofstream(sim.File("product/backups")) << "in the way";
    EXPECT_EQ(Calvex({"write", "--port", sim.Port(), "--delay", "50", EditedFile("e.dat")}), 1);
    EXPECT_EQ(out, "Serial Communication - Pager Write FAILED!\n");
    EXPECT_NE(err.find("could not be backed up: cannot create the backup folder " +
                       sim.File("product/backups/")),
              std::string::npos)
        << err;
    EXPECT_NE(err.find("nothing was written"), std::string::npos) << err;
    // The identity read happened; no frame followed it.
    EXPECT_NE(sim.Log().find("#1 read"), std::string::npos);
    EXPECT_EQ(sim.Log().find(" write:"), std::string::npos);
}

TEST_F(Backups, VerifyReadsBackWhatWasWritten) {
    ASSERT_EQ(
        Calvex({"write", "--verify", "--port", sim.Port(), "--delay", "50", EditedFile("e.dat")}),
        0)
        << out << err;
    EXPECT_NE(out.find("Written in "), std::string::npos) << out;
    EXPECT_NE(out.find("Verified in "), std::string::npos) << out;
    EXPECT_NE(sim.Log().find("#3 read"), std::string::npos);  // identity, write, verify
}

class BadStore : public Backups {
    std::vector<std::string> SimArgs() override { return {"--fault", "wrong-byte"}; }
};

TEST_F(BadStore, VerifyNamesTheFieldThePagerStoredWrong) {
    EXPECT_EQ(
        Calvex({"write", "--verify", "--port", sim.Port(), "--delay", "50", EditedFile("e.dat")}),
        1);
    EXPECT_NE(out.find("Serial Communication - Pager Write SUCCEEDED!"), std::string::npos);
    EXPECT_NE(out.find("Verify FAILED"), std::string::npos) << out;
    // The first call alert of F1 (byte 0x09A) came back flipped.
    EXPECT_NE(out.find("channels.F1.calls.1.alert: "), std::string::npos) << out;
}

class GarbledVerify : public Backups {
    // Identity read and write go well; the third exchange, the verify
    // read, gets noise.
    std::vector<std::string> SimArgs() override {
        return {"--fault", "garbage", "--fault-on", "r", "--fault-from", "3"};
    }
};

TEST_F(GarbledVerify, NoiseOnTheVerifyReadFailsWithTheReason) {
    EXPECT_EQ(
        Calvex({"write", "--verify", "--port", sim.Port(), "--delay", "50", EditedFile("e.dat")}),
        1);
    EXPECT_NE(out.find("Serial Communication - Pager Write SUCCEEDED!"), std::string::npos);
    EXPECT_NE(out.find("Verify FAILED"), std::string::npos) << out;
    EXPECT_NE(err.find("calvex write: verify: "), std::string::npos) << err;
    EXPECT_EQ(BackupFiles().size(), 1u);
}

class Garbled : public Backups {
    std::vector<std::string> SimArgs() override {
        return {"--fault", "garbage", "--fault-on", "r", "--count", "0"};
    }
};

TEST_F(Garbled, DiffAgainstAPagerThatCannotBeReadIsUnreadableInput) {
    const std::string file = EditedFile("e.dat");
    EXPECT_EQ(Calvex({"diff", file, "--port", sim.Port()}), 2);
    EXPECT_NE(err.find("cannot read the pager"), std::string::npos) << err;
}

TEST(Diff, SamplesThemselvesAndBadInput) {
    const std::string calvex = std::string(CALVEX_BINARY_DIR) + "/tools/calvex/calvex";
    const std::string uhf = std::string(CALVEX_SOURCE_DIR) + "/samples/uhf-one-frequency.dat";
    const std::string vhf = std::string(CALVEX_SOURCE_DIR) + "/samples/vhf-two-frequency.dat";
    std::string out, err;
    EXPECT_EQ(RunProgram({calvex, "diff", uhf, uhf}, &out, &err), 0);
    EXPECT_EQ(out, "");

    EXPECT_EQ(RunProgram({calvex, "diff", uhf, vhf}, &out, &err), 1);
    EXPECT_NE(out.find("serial: 136BWC0042 -> 136WJA0001\n"), std::string::npos) << out;
    EXPECT_NE(out.find("channels.F1.calls.3.tone1: none -> 433.7\n"), std::string::npos) << out;
    EXPECT_NE(out.find("byte 0x1ed: $C7 -> $76\n"), std::string::npos) << out;

    EXPECT_EQ(RunProgram({calvex, "diff", uhf, vhf, "--json"}, &out, &err), 1);
    EXPECT_NE(out.find("\"field\": \"channels.F1.calls.3.tone1\""), std::string::npos) << out;
    EXPECT_NE(out.find("\"equal\": false"), std::string::npos);

    EXPECT_EQ(RunProgram({calvex, "diff", uhf, "/nonexistent/x.dat"}, &out, &err), 2);
    EXPECT_EQ(RunProgram({calvex, "diff", uhf}, &out, &err), 2);  // nothing to compare with
}

}  // namespace
