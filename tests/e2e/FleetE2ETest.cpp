// calvex fleet against the simulator playing a fleet of pagers: rows picked
// by serial number or in order, pagers that are not written, a refused
// roster, a resumed run, a failed verify, and the log of it all.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "codeplug/CPagerData.h"
#include "codeplug/CodeplugContext.h"
#include "document/CDatFile.h"
#include "e2e/SimProcess.h"
#include "fleet/CsvText.h"

namespace {

namespace fs = std::filesystem;

const std::string kSamples = std::string(CALVEX_SOURCE_DIR) + "/samples/";
const std::string kRoster =
    "serial,label,channels.F1.calls.1.tone1,channels.F1.calls.1.tone2\n"
    "136WJA0101,Engine 1,330.5,569.1\n"
    "136WJA0102,Engine 2,368.5,634.5\n"
    "136WJA0103,Ladder 1,410.8,746.8\n";

class FleetCli : public ::testing::Test {
protected:
    void SetUp() override {
        CodeplugContext::Get().Reset();
        env = {"CALVEX_PRODUCT_DIR=" + sim.File("product")};
        fs::create_directories(sim.File("held"));
        WriteRoster(kRoster);
    }
    void TearDown() override { CodeplugContext::Get().Reset(); }

    void WriteRoster(const std::string& text) {
        std::ofstream(sim.File("crew.csv"), std::ios::binary) << text;
    }
    // Sample pager N (serial 136WJA010N), as the simulator gets it.
    static std::string Pager(int n) { return kSamples + "fleet/pager-" + std::to_string(n) + ".dat"; }
    // (Re)starts the simulator with these pagers, one after another.
    void StartSim(const std::vector<int>& pagers, std::vector<std::string> extra = {}) {
        sim.Stop();
        std::vector<std::string> args = {"--save", sim.File("held")};
        for (int n : pagers) args.insert(args.end(), {"--dat", Pager(n)});
        args.insert(args.end(), extra.begin(), extra.end());
        std::string error;
        ASSERT_TRUE(sim.Start(args, &error)) << error;
    }
    int Fleet(const std::string& typed, std::vector<std::string> extra = {}) {
        std::vector<std::string> args = {std::string(CALVEX_BINARY_DIR) + "/tools/calvex/calvex",
                                         "fleet",
                                         kSamples + "vhf-two-frequency.dat",
                                         sim.File("crew.csv"),
                                         "--port",
                                         sim.Port(),
                                         "--delay",
                                         "20"};
        args.insert(args.end(), extra.begin(), extra.end());
        return RunProgramWithInput(args, typed, &out, &err, env);
    }
    // The log's lines below its header, cell by cell.
    std::vector<std::vector<std::string>> Log() {
        const CsvTable t = CsvText::Parse(ReadText(sim.File("crew-log.csv")));
        EXPECT_TRUE(t.ok) << t.error;
        std::vector<std::vector<std::string>> lines;
        for (std::size_t i = 1; i < t.records.size(); ++i) lines.push_back(t.records[i].cells);
        return lines;
    }
    // What a simulated pager holds now: "serial tone1/tone2" of F1 call 1.
    std::string Held(int n) {
        const auto r = CDatFile::Read(sim.File("held/pager-" + std::to_string(n) + ".dat"));
        EXPECT_TRUE(r.ok);
        CCodeplug plug;
        plug.SetImage(r.parsed.image);
        CPagerData d;
        d.Decode(plug);
        return d.serial.SerialText() + " " + d.channel[0].ToneText(0) + "/" +
               d.channel[0].ToneText(12);
    }
    int Stored() {
        const std::string log = sim.Log();
        int n = 0;
        for (std::size_t at = 0; (at = log.find("stored 511 bytes", at)) != std::string::npos; ++at)
            ++n;
        return n;
    }
    bool Says(const std::string& text) { return out.find(text) != std::string::npos; }

    SimProcess sim;
    std::vector<std::string> env;
    std::string out, err;
};

TEST_F(FleetCli, EachPagerGetsTheRowOfItsSerialWhateverTheOrderItComesIn) {
    StartSim({3, 1, 2}, {"--read-back"});
    ASSERT_EQ(Fleet("\n\n\n", {"--verify"}), 0) << out << err;
    EXPECT_TRUE(Says("Pager 136WJA0103 written as row 4 (Ladder 1) and verified.")) << out;
    EXPECT_TRUE(Says("Pager 136WJA0101 written as row 2 (Engine 1) and verified."));
    EXPECT_TRUE(Says("Every pager of the roster is programmed: 3 of 3 rows done."));
    sim.Stop();
    // Each pager keeps its own serial number.
    EXPECT_EQ(Held(1), "136WJA0101 330.5/569.1");
    EXPECT_EQ(Held(2), "136WJA0102 368.5/634.5");
    EXPECT_EQ(Held(3), "136WJA0103 410.8/746.8");

    // One log line per pager, naming the backup of what it held before.
    const auto log = Log();
    ASSERT_EQ(log.size(), 3u);
    const std::vector<std::string> first(log[0].begin() + 1, log[0].end());
    EXPECT_EQ(first, (std::vector<std::string>{
                         "4", "136WJA0103", "Ladder 1",
                         "channels.F1.calls.1.tone1=410.8; channels.F1.calls.1.tone2=746.8",
                         "written", log[0][6], "passed", ""}));
    for (const auto& line : log) {
        const auto backup = CDatFile::Read(line[6]);
        ASSERT_TRUE(backup.ok) << line[6];
        const auto original = CDatFile::Read(Pager(line[1] == "2" ? 1 : line[1] == "3" ? 2 : 3));
        Image expected = original.parsed.image;
        expected[layout::PAGER_FIRMWARE] = 0x0C;
        EXPECT_EQ(backup.parsed.image, expected) << line[6];
        EXPECT_EQ(fs::path(line[6]).filename().string().rfind(line[2] + "-", 0), 0u);
    }
}

TEST_F(FleetCli, WithoutSerialsThePagersTakeTheRowsInOrder) {
    WriteRoster(
        "label;channels.F1.calls.1.tone1;channels.F1.calls.1.tone2\n"
        "Engine 1;330.5;569.1\n"
        "Engine 2;368.5;634.5\n");
    StartSim({2, 1});
    ASSERT_EQ(Fleet("\n\n"), 0) << out << err;
    EXPECT_TRUE(Says("Pager 136WJA0102 written as row 2 (Engine 1).")) << out;
    EXPECT_TRUE(Says("Pager 136WJA0101 written as row 3 (Engine 2)."));
    sim.Stop();
    EXPECT_EQ(Held(2), "136WJA0102 330.5/569.1");
    EXPECT_EQ(Held(1), "136WJA0101 368.5/634.5");
    EXPECT_EQ(Log()[1][7], "not asked");
}

TEST_F(FleetCli, APagerNotInTheRosterOrOfAnotherModelIsLeftAlone) {
    WriteRoster(
        "serial,label,channels.F1.calls.1.tone1,channels.F1.calls.1.tone2\n"
        "136WJA0101,Engine 1,330.5,569.1\n"
        "136WJA0103,Ladder 1,410.8,746.8\n");
    StartSim({1, 2, 3});
    EXPECT_EQ(Fleet("\n\nq\n"), 1) << out << err;
    EXPECT_TRUE(Says("Pager 136WJA0102 is not in the roster; it was not written.")) << out;
    EXPECT_TRUE(Says("Stopped: 1 of 2 rows done."));
    EXPECT_EQ(Stored(), 1);
    sim.Stop();
    EXPECT_EQ(CDatFile::Read(sim.File("held/pager-2.dat")).parsed.image,
              [] {
                  Image i = CDatFile::Read(Pager(2)).parsed.image;
                  i[layout::PAGER_FIRMWARE] = 0x0C;
                  return i;
              }());
    auto log = Log();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[1][2], "136WJA0102");
    EXPECT_EQ(log[1][5], "not written");
    EXPECT_EQ(log[1][8], "136WJA0102 is not in the roster");

    // A pager of another model is never written with this template.
    sim.Stop();
    ASSERT_TRUE(sim.Start({"--dat", kSamples + "uhf-one-frequency.dat"}));
    EXPECT_EQ(Fleet("\nq\n"), 1);
    EXPECT_TRUE(Says("Pager 136BWC0042 is a A04XLT7238AA, codeplug version 1.005; the template is "
                     "for A03XLT9239AC, codeplug version 1.005; it was not written."))
        << out;
    EXPECT_EQ(sim.Log().find("write"), std::string::npos);
    EXPECT_EQ(Log().size(), 3u);
}

TEST_F(FleetCli, ADuplicateIndividualCallIsRefusedBeforeAnythingIsSent) {
    WriteRoster(
        "serial,label,channels.F1.calls.1.tone1,channels.F1.calls.1.tone2\n"
        "136WJA0101,Engine 1,330.5,569.1\n"
        "136WJA0102,Engine 2,368.5,634.5\n"
        "136WJA0103,Ladder 1,330.5,569.1\n"
        "136WJA0103,Ladder 2,,\n");
    StartSim({1, 2, 3});
    EXPECT_EQ(Fleet("\n\n\n"), 1);
    EXPECT_NE(err.find("calvex fleet: the roster " + sim.File("crew.csv") +
                       " is refused; no pager was touched:\n"),
              std::string::npos)
        << err;
    // Every problem at once.
    EXPECT_NE(err.find("  row 2 (Engine 1) shares its individual call 330.5 - 569.1 Hz on "
                       "152.0075 MHz (F1 call 1) with row 4 (Ladder 1) (F1 call 1)"),
              std::string::npos)
        << err;
    EXPECT_NE(err.find("  rows 4 and 5 have the same serial number 136WJA0103"),
              std::string::npos);
    EXPECT_EQ(out, "");
    EXPECT_EQ(sim.Log().find("#1"), std::string::npos);
    EXPECT_FALSE(fs::exists(sim.File("crew-log.csv")));
}

TEST_F(FleetCli, AnInterruptedRunResumesWithTheRowsNotYetDone) {
    // Killed while it waits for the next pager: what it did is in the log.
    StartSim({1, 2, 3});
    const std::string typed = sim.File("typed");
    ASSERT_EQ(::mkfifo(typed.c_str(), 0600), 0);
    // Held open for writing first, so that the program's open does not wait.
    const int keyboard = ::open(typed.c_str(), O_RDWR);
    ASSERT_GE(keyboard, 0);
    const pid_t run = Spawn({std::string(CALVEX_BINARY_DIR) + "/tools/calvex/calvex", "fleet",
                             kSamples + "vhf-two-frequency.dat", sim.File("crew.csv"), "--port",
                             sim.Port(), "--delay", "20"},
                            sim.File("out"), sim.File("err"), env, typed);
    ASSERT_GT(run, 0);
    ASSERT_EQ(::write(keyboard, "\n", 1), 1);
    for (int i = 0; i < 1000 && ReadText(sim.File("out")).find("1 of 3 rows done.") ==
                                    std::string::npos;
         ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ::kill(run, SIGKILL);
    ::waitpid(run, nullptr, 0);
    ::close(keyboard);
    ASSERT_EQ(Log().size(), 1u) << ReadText(sim.File("out"));

    // The pager done before comes back: told why, not written again.
    StartSim({1, 2, 3});
    EXPECT_EQ(Fleet("\nq\n"), 1);
    EXPECT_TRUE(Says("Log:      " + sim.File("crew-log.csv") + " (1 row done earlier, skipped)"))
        << out;
    EXPECT_TRUE(Says("Pager 136WJA0101 was programmed as row 2 (Engine 1) on 20"));
    EXPECT_TRUE(Says("; it was not written."));
    EXPECT_EQ(Stored(), 0);

    StartSim({2, 3});
    EXPECT_EQ(Fleet("\n\n"), 0) << out;
    EXPECT_TRUE(Says("  row 2 (Engine 1)             skipped: done 20")) << out;
    EXPECT_TRUE(Says("  row 4 (Ladder 1)             written"));
    EXPECT_EQ(Stored(), 2);
    const auto log = Log();
    ASSERT_EQ(log.size(), 4u);
    EXPECT_EQ(log[0][5], "written");
    EXPECT_EQ(log[1][5], "not written");
    EXPECT_EQ(log[3][2], "136WJA0103");

    // Nothing left: no pager is even read.
    StartSim({1});
    EXPECT_EQ(Fleet(""), 0);
    EXPECT_TRUE(Says("Every pager of the roster is programmed: 3 of 3 rows done."));
    EXPECT_EQ(sim.Log().find("#1"), std::string::npos);
}

TEST_F(FleetCli, AFailedVerifyIsRecordedAndTheRowStaysToDo) {
    // The second pager's write is acknowledged but one byte is stored wrong
    // (exchange 7: identity read, the write's own read and write, read-back).
    WriteRoster(kRoster.substr(0, kRoster.find("136WJA0103")));
    StartSim({1, 2}, {"--read-back", "--fault", "wrong-byte", "--fault-on", "w", "--fault-from", "7"});
    EXPECT_EQ(Fleet("\n\n", {"--verify"}), 1) << out << err;
    EXPECT_TRUE(Says("Pager 136WJA0101 written as row 2 (Engine 1) and verified."));
    EXPECT_TRUE(Says("Pager 136WJA0102, row 3 (Engine 2): verify FAILED: the pager holds other "
                     "values than were written"))
        << out;
    EXPECT_TRUE(Says("  channels.F1.calls.1.alert: Standard -> Continuous\n"));
    EXPECT_TRUE(Says("  row 3 (Engine 2)             failed: verify: "));
    auto log = Log();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[1][5], "failed");
    EXPECT_EQ(log[1][7].rfind("failed: channels.F1.calls.1.alert: Standard -> Continuous", 0), 0u)
        << log[1][7];
    EXPECT_FALSE(log[1][6].empty());

    // Not done: the same pager is written again in the next run.
    StartSim({2}, {"--read-back"});
    EXPECT_EQ(Fleet("\n", {"--verify"}), 0) << out;
    EXPECT_TRUE(Says("Pager 136WJA0102 written as row 3 (Engine 2) and verified."));
    EXPECT_EQ(Log().size(), 3u);
}

TEST_F(FleetCli, UsageAndFiles) {
    StartSim({1});
    std::string help;
    EXPECT_EQ(RunProgram({std::string(CALVEX_BINARY_DIR) + "/tools/calvex/calvex", "fleet", "--help"},
                         &help, &err),
              0);
    for (const char* text : {"--verify", "--log", "Roster columns:", "Example:", "Exit status:"})
        EXPECT_NE(help.find(text), std::string::npos) << text;
    fs::remove(sim.File("crew.csv"));
    EXPECT_EQ(Fleet(""), 2);
    EXPECT_NE(err.find("cannot read " + sim.File("crew.csv")), std::string::npos);
    WriteRoster(kRoster);
    // A log that is something else is never appended to.
    std::ofstream(sim.File("other.csv"), std::ios::binary) << "a,b\n";
    EXPECT_EQ(Fleet("\n", {"--log", sim.File("other.csv")}), 1);
    EXPECT_NE(err.find("is no fleet log"), std::string::npos) << err;
    EXPECT_EQ(ReadText(sim.File("other.csv")), "a,b\n");
    EXPECT_EQ(sim.Log().find("#1"), std::string::npos);
}

}  // namespace
