// The line stays usable whatever ends a client: calvex killed in the middle
// of a transfer gives the terminal's exclusive mode back, and the simulator
// clears a mode a vanished client left behind.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "SampleCodeplug.h"
#include "document/CDatFile.h"
#include "e2e/SimProcess.h"
#include "link/PtyPeer.h"
#include "link/posix/PosixSerialPort.h"

namespace {

std::string Calvex() {
    return std::string(CALVEX_BINARY_DIR) + "/tools/calvex/calvex";
}

bool Exclusive(int fd) {
    int held = 0;
    return ::ioctl(fd, TIOCGEXCL, &held) == 0 && held != 0;
}

// Whether the terminal at `path` is in exclusive mode, asked through a
// descriptor of its own. An open refused as busy counts as exclusive.
bool ExclusiveAt(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return errno == EBUSY;
    const bool held = Exclusive(fd);
    ::close(fd);
    return held;
}

class LineRelease : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/calvex-line-XXXXXX";
        ASSERT_NE(::mkdtemp(tmpl), nullptr);
        dir = tmpl;
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }

    // Starts calvex with `args` against the peer's terminal, waits until it
    // has sent its read command (mid-transfer: the peer never answers), then
    // sends `sig`. The status calvex ended with.
    int KillMidTransfer(std::vector<std::string> args, int sig) {
        args.insert(args.begin(), Calvex());
        args.insert(args.end(), {"--port", peer.Path()});
        const pid_t pid =
            Spawn(args, dir + "/out", dir + "/err", {"CALVEX_PRODUCT_DIR=" + dir + "/product"});
        if (pid <= 0) return -1;
        const auto got = peer.Receive(5000, 1);
        EXPECT_EQ(got, std::vector<std::uint8_t>{'r'});
        EXPECT_TRUE(Exclusive(peer.SlaveFd())) << "calvex holds the line while it reads";
        ::kill(pid, sig);
        int status = 0;
        if (::waitpid(pid, &status, 0) != pid) return -1;
        return status;
    }

    PtyPeer peer;
    std::string dir;
};

TEST_F(LineRelease, SignalsMidTransferGiveTheLineBack) {
    // The peer keeps the terminal open, as a simulator or a getty would, so
    // only calvex itself can clear the mode it set.
    for (const int sig : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(sig);
        const int status = KillMidTransfer({"read"}, sig);
        ASSERT_TRUE(WIFSIGNALED(status)) << "ends by the signal, as before";
        EXPECT_EQ(WTERMSIG(status), sig);
        EXPECT_FALSE(Exclusive(peer.SlaveFd()));
        PosixSerialPort next;
        EXPECT_TRUE(next.Open(peer.Path())) << next.LastSystemError();
    }
    // A write reads the pager first; ended there, it too frees the line.
    const std::string file = dir + "/plug.dat";
    CCodeplug plug;
    plug.SetImage(SampleCodeplug());
    ASSERT_TRUE(CDatFile::Write(file, plug).ok);
    const int status = KillMidTransfer({"write", file}, SIGTERM);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_FALSE(Exclusive(peer.SlaveFd()));
}

TEST(SimLine, StaleExclusiveModeIsClearedButALiveHoldIsKept) {
    SimProcess sim;
    std::string error;
    ASSERT_TRUE(sim.Start({}, &error)) << error;
    {
        // A live client: the simulator leaves its mode alone.
        PosixSerialPort client;
        ASSERT_TRUE(client.Open(sim.Port())) << client.LastSystemError();
        std::this_thread::sleep_for(std::chrono::milliseconds(700));
        EXPECT_TRUE(ExclusiveAt(sim.Port()));
    }
    // A client that died holding the mode (set here without clearing it):
    // the simulator frees its line within a moment.
    const int fd = ::open(sim.Port().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ioctl(fd, TIOCEXCL), 0);
    ::close(fd);
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (ExclusiveAt(sim.Port()) && std::chrono::steady_clock::now() < until) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_FALSE(ExclusiveAt(sim.Port()));
    std::string out, err;
    EXPECT_EQ(RunProgram({Calvex(), "read", "--port", sim.Port()}, &out, &err,
                         {"CALVEX_PRODUCT_DIR=" + sim.File("product")}),
              0)
        << err;
}

}  // namespace
