// The POSIX backend on a real pseudo-terminal: line settings, exclusive
// open, failures that leave the port closed, and the time-out rules.
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <thread>

#include "link/PtyPeer.h"
#include "link/posix/PosixSerialPort.h"

namespace {

constexpr PortTimeouts kRead{0, 10, 1000, 10, 1000};
constexpr PortTimeouts kWriteExchange{20, 10, 1000, 10, 1000};

TEST(PosixSerialPort, SetsTheLine) {
    PtyPeer peer;
    PosixSerialPort port;
    ASSERT_TRUE(port.Open(peer.Path())) << port.LastSystemError();
    termios tio{};
    const int fd = ::open(peer.Path().c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::tcgetattr(fd, &tio), 0);
    ::close(fd);
    EXPECT_EQ(::cfgetospeed(&tio), B1200);
    EXPECT_EQ(::cfgetispeed(&tio), B1200);
    EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(tio.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(tio.c_iflag & (IXON | IXOFF | ICRNL | ISTRIP), 0u);
    EXPECT_EQ(tio.c_oflag & OPOST, 0u);
    EXPECT_EQ(tio.c_lflag & (ICANON | ECHO | ISIG), 0u);

    // Binary data passes unchanged both ways.
    std::vector<std::uint8_t> all(256);
    for (int i = 0; i < 256; ++i) all[i] = static_cast<std::uint8_t>(i);
    std::size_t n = 0;
    ASSERT_TRUE(port.SetTimeouts(kRead));
    ASSERT_TRUE(port.Write(all.data(), all.size(), n));
    EXPECT_EQ(n, 256u);
    EXPECT_EQ(peer.Receive(500, 256), all);
    peer.Send(all);
    std::vector<std::uint8_t> back(256);
    ASSERT_TRUE(port.Read(back.data(), back.size(), n));
    EXPECT_EQ(n, 256u);
    EXPECT_EQ(back, all);
}

TEST(PosixSerialPort, PortHeldElsewhereFailsAtOnce) {
    PtyPeer peer;
    PosixSerialPort holder;
    ASSERT_TRUE(holder.Open(peer.Path()));
    PosixSerialPort second;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(second.Open(peer.Path()));
    EXPECT_LT(MsSince(start), 500);
    EXPECT_EQ(second.LastError(), PortError::Busy);
    EXPECT_FALSE(second.IsOpen());
    // Once it is free again it opens.
    holder.Close();
    EXPECT_TRUE(second.Open(peer.Path())) << second.LastSystemError();
}

TEST(PosixSerialPort, RefusedOpenKeepsTheHolderExclusive) {
    PtyPeer peer;
    PosixSerialPort holder;
    ASSERT_TRUE(holder.Open(peer.Path()));
    PosixSerialPort second;
    EXPECT_FALSE(second.Open(peer.Path()));
    EXPECT_EQ(second.LastError(), PortError::Busy);
    // The holder still has the port to itself: a plain open is refused, or
    // (for root, whom the exclusive mode lets through) the mode is still set.
    const int fd = ::open(peer.Path().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        EXPECT_EQ(errno, EBUSY);
        return;
    }
    int exclusive = 0;
    ASSERT_EQ(::ioctl(fd, TIOCGEXCL, &exclusive), 0);
    ::close(fd);
    EXPECT_NE(exclusive, 0);
}

TEST(PosixSerialPort, ExclusiveHoldOfAnotherProgramIsBusyAndKept) {
    // Another program holds the terminal exclusively without our lock. Root
    // gets through its open; the port must still count as busy, and closing
    // must not take the other program's mode away.
    PtyPeer peer;
    ASSERT_EQ(::ioctl(peer.SlaveFd(), TIOCEXCL), 0);
    PosixSerialPort port;
    EXPECT_FALSE(port.Open(peer.Path()));
    EXPECT_EQ(port.LastError(), PortError::Busy);
    EXPECT_FALSE(port.IsOpen());
    int exclusive = 0;
    ASSERT_EQ(::ioctl(peer.SlaveFd(), TIOCGEXCL, &exclusive), 0);
    EXPECT_NE(exclusive, 0);
    // Released by its holder, the port opens, and our own mode goes on close.
    ASSERT_EQ(::ioctl(peer.SlaveFd(), TIOCNXCL), 0);
    ASSERT_TRUE(port.Open(peer.Path())) << port.LastSystemError();
    ASSERT_EQ(::ioctl(peer.SlaveFd(), TIOCGEXCL, &exclusive), 0);
    EXPECT_NE(exclusive, 0);
    port.Close();
    ASSERT_EQ(::ioctl(peer.SlaveFd(), TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 0);
}

TEST(PosixSerialPort, FailedOpensLeaveNothingOpen) {
    PosixSerialPort port;
    EXPECT_FALSE(port.Open("/nonexistent/ttyS99"));
    EXPECT_EQ(port.LastError(), PortError::Missing);
    EXPECT_FALSE(port.IsOpen());
    // A device that is no terminal refuses the settings.
    EXPECT_FALSE(port.Open("/dev/null"));
    EXPECT_EQ(port.LastError(), PortError::Settings);
    EXPECT_FALSE(port.IsOpen());
    // ... and the same object opens a real one afterwards.
    PtyPeer peer;
    EXPECT_TRUE(port.Open(peer.Path()));
}

TEST(PosixSerialPort, PermissionDeniedIsToldApart) {
    if (::geteuid() == 0) GTEST_SKIP() << "root may open any device";
    PtyPeer peer;
    ASSERT_EQ(::chmod(peer.Path().c_str(), 0), 0);
    PosixSerialPort port;
    EXPECT_FALSE(port.Open(peer.Path()));
    EXPECT_EQ(port.LastError(), PortError::PermissionDenied);
}

TEST(PosixSerialPort, ReadWaitsTheTotalTimeOutWhenNothingComes) {
    PtyPeer peer;
    PosixSerialPort port;
    ASSERT_TRUE(port.Open(peer.Path()));
    ASSERT_TRUE(port.SetTimeouts(kRead));
    std::uint8_t buf[10];
    std::size_t n = 99;
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(port.Read(buf, sizeof buf, n));
    const long long ms = MsSince(start);
    EXPECT_EQ(n, 0u);
    EXPECT_GE(ms, 1095);  // 10 x 10 + 1000
    EXPECT_LT(ms, 1600);
}

TEST(PosixSerialPort, IntervalEndsTheReadAfterAGap) {
    PtyPeer peer;
    PosixSerialPort port;
    ASSERT_TRUE(port.Open(peer.Path()));
    ASSERT_TRUE(port.SetTimeouts(kWriteExchange));
    peer.Send({0x06, 0x41});
    std::uint8_t buf[5];
    std::size_t n = 0;
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(port.Read(buf, sizeof buf, n));
    EXPECT_EQ(n, 2u);
    EXPECT_LT(MsSince(start), 600);  // the gap, not the 1050 ms total
}

TEST(PosixSerialPort, HangUpEndsAReadAtOnce) {
    PtyPeer peer;
    PosixSerialPort port;
    ASSERT_TRUE(port.Open(peer.Path()));
    ASSERT_TRUE(port.SetTimeouts(kRead));
    std::thread hang([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        peer.HangUp();
    });
    std::uint8_t buf[513];
    std::size_t n = 0;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(port.Read(buf, sizeof buf, n));
    EXPECT_EQ(port.LastError(), PortError::HangUp);
    EXPECT_LT(MsSince(start), 1000);
    hang.join();
}

TEST(PosixSerialPort, CloseFreesThePortForOthers) {
    PtyPeer peer;
    {
        PosixSerialPort port;
        ASSERT_TRUE(port.Open(peer.Path()));
        port.Close();
        EXPECT_FALSE(port.IsOpen());
    }
    // Neither the lock nor the exclusive mode is left behind.
    const int fd = ::open(peer.Path().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
    ::close(fd);
}

}  // namespace
