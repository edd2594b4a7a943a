// calvex set --engineer and calvex apply --engineer, the password on
// standard input as a script gives it.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "CalvexProcess.h"

namespace {

using Json = nlohmann::ordered_json;

// What an engineer at a terminal sees: calvex runs with all three streams on
// a fresh pseudo-terminal; `typed` is typed once the password prompt shows.
struct TerminalRun {
    int exitCode = -1;
    std::string screen;      // everything the terminal showed
    bool echoAfter = false;  // the terminal echoes again once calvex is done
};

TerminalRun RunOnTerminal(const std::vector<std::string>& args, const std::string& typed) {
    TerminalRun run;
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) return run;
    const std::string slaveName = ptsname(master);
    const pid_t pid = fork();
    if (pid == 0) {
        setsid();
        const int slave = open(slaveName.c_str(), O_RDWR);
        if (slave < 0) _exit(126);
        dup2(slave, 0);
        dup2(slave, 1);
        dup2(slave, 2);
        if (slave > 2) close(slave);
        close(master);
        std::vector<char*> argv{const_cast<char*>(CALVEX_EXE)};
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(CALVEX_EXE, argv.data());
        _exit(127);
    }
    // Reads what the terminal shows until `until` holds or the child has
    // closed its side (EIO) or 20 s have passed.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    const auto readUntil = [&](auto until) {
        while (!until() && std::chrono::steady_clock::now() < deadline) {
            pollfd p{master, POLLIN, 0};
            if (poll(&p, 1, 100) <= 0) continue;
            char buf[512];
            const ssize_t n = read(master, buf, sizeof buf);
            if (n <= 0) return false;
            run.screen.append(buf, static_cast<std::size_t>(n));
        }
        return until();
    };
    if (readUntil([&] { return run.screen.find("password: ") != std::string::npos; })) {
        // The prompt comes after echo is off: what is typed now must not show.
        if (write(master, typed.data(), typed.size()) < 0) run.screen += "<write failed>";
        readUntil([] { return false; });
    }
    int status = 0;
    waitpid(pid, &status, 0);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    termios t{};
    run.echoAfter = tcgetattr(master, &t) == 0 && (t.c_lflag & ECHO) != 0;
    close(master);
    return run;
}

class CalvexEngineer : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::copy_file(
            std::string(CALVEX_SOURCE_DIR) + "/samples/vhf-two-frequency.dat", dir / "pager.dat");
        dir.WriteFile("right", "Quorin\n");
        dir.WriteFile("wrong", "quorin\n");
    }
    std::string Q(const std::string& name) { return "'" + (dir / name).string() + "'"; }
    // `args` after the verb; the password file on standard input.
    CalvexRun Engineer(const std::string& verb, const std::string& args,
                       const std::string& password = "right") {
        return RunCalvex(dir,
                         verb + " --engineer " + Q("pager.dat") + " " + args + " <" + Q(password));
    }
    Json Show() {
        const CalvexRun r = RunCalvex(dir, "show " + Q("pager.dat") + " --json");
        EXPECT_EQ(r.exitCode, 0) << r.err;
        return Json::parse(r.out);
    }
    std::string Bytes() { return TempDir::ReadFile(dir / "pager.dat"); }
    TempDir dir;
};

TEST_F(CalvexEngineer, FactoryFieldsChangeAfterTheRightPassword) {
    const CalvexRun r = Engineer("set",
                                 "serial=136WJA0042 codeplugVersion=4 advanced.SQ_ON=15 "
                                 "subBand=C squelchLevel=2");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    // Every field that ended up different is listed and counted.
    EXPECT_NE(r.out.find("advanced.SQ_ON.value: 2 -> 15\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\n11 changes written"), std::string::npos) << r.out;
    EXPECT_EQ(r.err.find("Quorin"), std::string::npos);  // the password is never echoed
    const Json j = Show();
    EXPECT_EQ(j["serial"], "136WJA0042");
    EXPECT_EQ(j["codeplugVersion"], "4.005");
    EXPECT_EQ(j["subBand"], "C: 159 - 166.9975 MHz");
    EXPECT_EQ(j["channels"][0]["frequency"], "163.0125");  // the split's default
    EXPECT_EQ(j["squelchLevel"], 2);                       // then the User Data sheet
    for (const Json& a : j["advanced"])
        if (a["name"] == "SQ_ON") EXPECT_EQ(a["value"], 15);
}

TEST_F(CalvexEngineer, AtATerminalThePasswordIsAskedForAndNotEchoed) {
    const std::string file = (dir / "pager.dat").string();
    TerminalRun r = RunOnTerminal({"set", "--engineer", file, "codeplugVersion=9"}, "Quorin\n");
    EXPECT_EQ(r.exitCode, 0) << r.screen;
    EXPECT_NE(r.screen.find("Engineer password: "), std::string::npos) << r.screen;
    EXPECT_EQ(r.screen.find("Quorin"), std::string::npos) << r.screen;
    EXPECT_TRUE(r.echoAfter);
    EXPECT_EQ(Show()["codeplugVersion"], "9.005");

    const std::string before = Bytes();
    r = RunOnTerminal({"set", "--engineer", file, "codeplugVersion=10"}, "quorin\n");
    EXPECT_EQ(r.exitCode, 1) << r.screen;
    EXPECT_EQ(r.screen.find("quorin\r\n"), std::string::npos) << r.screen;
    EXPECT_NE(r.screen.find("wrong engineer password"), std::string::npos) << r.screen;
    EXPECT_TRUE(r.echoAfter);
    EXPECT_EQ(Bytes(), before);
}

TEST_F(CalvexEngineer, AWrongPasswordOrARefusalWritesNothing) {
    const std::string before = Bytes();
    CalvexRun r = Engineer("set", "serial=136WJA0042", "wrong");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("wrong engineer password"), std::string::npos) << r.err;
    EXPECT_EQ(Bytes(), before);
    dir.WriteFile("empty", "");
    EXPECT_EQ(Engineer("set", "codeplugVersion=4", "empty").exitCode, 1);
    EXPECT_EQ(Bytes(), before);

    struct Case {
        std::string args;
        int exit;
        std::string says;
    } cases[] = {
        {"serial=136WJAI000", 1, "TarnixHXR: Please enter a valid Unit ID number."},
        {"advanced.SCAN_BACK=7", 1, "Please enter an integer between 8 and 255."},
        {"injection=High", 1, "no control"},
        // The engineer part is taken, the sheet then refuses: nothing is written.
        {"codeplugVersion=4 channels.F1.frequency=152.001", 1, "Invalid Receiver Frequency"},
        {"band=1", 2, "is not a band"},
    };
    for (const Case& c : cases) {
        r = Engineer("set", c.args);
        EXPECT_EQ(r.exitCode, c.exit) << c.args << "\n" << r.err;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << c.args << "\n" << r.err;
        EXPECT_EQ(Bytes(), before) << c.args;
    }
    // Without --engineer nothing changes from before: factory data is refused.
    r = RunCalvex(dir, "set " + Q("pager.dat") + " codeplugVersion=4");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("factory data"), std::string::npos) << r.err;
    EXPECT_EQ(Bytes(), before);
}

TEST_F(CalvexEngineer, ApplyReadsThePasswordLineThenTheDocument) {
    Json edit = Show();
    edit["model"] = "A03XLT9239BC";  // revision B
    edit["codeplugVersion"] = "7.005";
    for (Json& a : edit["advanced"])
        if (a["name"] == "BAT_LVL_0") a["value"] = 150;
    dir.WriteFile("input", "Quorin\n" + edit.dump(2));
    CalvexRun r = RunCalvex(dir, "apply --engineer " + Q("pager.dat") + " - <" + Q("input"));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    Json j = Show();
    EXPECT_EQ(j["model"], "A03XLT9239BC");
    EXPECT_EQ(j["codeplugVersion"], "7.005");
    for (const Json& a : j["advanced"])
        if (a["name"] == "BAT_LVL_0") EXPECT_EQ(a["value"], 150);

    // Without --engineer the same edit is refused.
    edit["codeplugVersion"] = "8.005";
    dir.WriteFile("edit.json", edit.dump(2));
    const std::string before = Bytes();
    r = RunCalvex(dir, "apply " + Q("pager.dat") + " " + Q("edit.json"));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(Bytes(), before);
}

TEST_F(CalvexEngineer, HelpListsTheEngineerKeys) {
    const CalvexRun r = RunCalvex(dir, "set --help");
    EXPECT_EQ(r.exitCode, 0);
    for (const char* key : {"--engineer", "serial", "codeplugVersion", "subBandIndex",
                            "advanced.SCAN_BACK", "advanced.BAT_GAUGE_PERI"})
        EXPECT_NE(r.out.find(key), std::string::npos) << key;
    EXPECT_EQ(r.out.find("Quorin"), std::string::npos);
}

}  // namespace
