// The pager simulator binary, driven through its pseudo-terminal by a plain
// terminal client: the protocol, the fault modes, its files and exit codes.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <filesystem>
#include <numeric>

#include "document/CDatFile.h"
#include "e2e/SimProcess.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// A raw terminal client of the simulator's port.
class Client {
public:
    explicit Client(const std::string& path) {
        m_fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        termios tio{};
        if (m_fd >= 0 && ::tcgetattr(m_fd, &tio) == 0) {
            ::cfmakeraw(&tio);
            ::tcsetattr(m_fd, TCSANOW, &tio);
            ::tcflush(m_fd, TCIOFLUSH);
        }
    }
    ~Client() {
        if (m_fd >= 0) ::close(m_fd);
    }
    bool Ok() const { return m_fd >= 0; }
    void Send(const Bytes& b) { ASSERT_EQ(::write(m_fd, b.data(), b.size()), (ssize_t)b.size()); }
    // What arrives until `quietMs` pass without a byte (or `totalMs` in all).
    Bytes Receive(int quietMs = 300, int totalMs = 3000) {
        Bytes got;
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(totalMs);
        while (std::chrono::steady_clock::now() < until) {
            pollfd p{m_fd, POLLIN, 0};
            if (::poll(&p, 1, quietMs) <= 0) break;
            std::uint8_t buf[600];
            const ssize_t n = ::read(m_fd, buf, sizeof buf);
            if (n <= 0) break;
            got.insert(got.end(), buf, buf + n);
        }
        return got;
    }

private:
    int m_fd = -1;
};

std::uint8_t Sum(const std::uint8_t* p, std::size_t n) {
    return static_cast<std::uint8_t>(std::accumulate(p, p + n, 0u));
}

Bytes WriteFrame(const Bytes& image, bool goodSum = true) {
    Bytes frame{'w'};
    frame.insert(frame.end(), image.begin(), image.begin() + 511);
    frame.push_back(static_cast<std::uint8_t>(Sum(frame.data() + 1, 511) + (goodSum ? 0 : 1)));
    return frame;
}

Bytes ReadBlock(SimProcess& sim) {
    Client c(sim.Port());
    c.Send({'r'});
    return c.Receive();
}

TEST(PagerSim, ServesItsSampleWithAValidChecksum) {
    SimProcess sim;
    ASSERT_TRUE(sim.Start({"--firmware", "0x21"}));
    EXPECT_NE(sim.Banner().find("pager simulator on /dev/pts/"), std::string::npos);
    EXPECT_NE(sim.Banner().find("(link " + sim.Port() + ")"), std::string::npos);
    const Bytes block = ReadBlock(sim);
    ASSERT_EQ(block.size(), 513u);
    EXPECT_EQ(block[511], 0x21);
    EXPECT_EQ(block[512], Sum(block.data(), 512));
    Image image{};
    std::copy_n(block.begin(), 512, image.begin());
    EXPECT_TRUE(CDatFile::IsValid(image));
}

TEST(PagerSim, StoresAWriteButKeepsItsFirmwareByte) {
    SimProcess sim;
    Image held{};
    for (int i = 0; i < 512; ++i) held[i] = static_cast<std::uint8_t>(i);
    ASSERT_TRUE(CDatFile::Write(sim.File("held.dat"), held).ok);
    ASSERT_TRUE(sim.Start({"--dat", sim.File("held.dat"), "--save", sim.File("saved.dat")}));

    Bytes image(512, 0xA5);
    image[511] = 0x99;
    {
        Client c(sim.Port());
        c.Send(WriteFrame(image));
        EXPECT_EQ(c.Receive(), Bytes{0x06});
    }
    const Bytes block = ReadBlock(sim);
    ASSERT_EQ(block.size(), 513u);
    EXPECT_TRUE(std::all_of(block.begin(), block.begin() + 511, [](auto b) { return b == 0xA5; }));
    EXPECT_EQ(block[511], 0xFF);  // byte 511 of the file it started with
    const auto saved = CDatFile::Read(sim.File("saved.dat"));
    ASSERT_TRUE(saved.ok);
    EXPECT_TRUE(std::equal(block.begin(), block.begin() + 512, saved.parsed.image.begin()));
}

TEST(PagerSim, AFileThatNeverCameFromAPagerGetsTheDefaultFirmware) {
    SimProcess sim;
    Image held{};
    held[0] = 0x12;  // byte 511 stays 0, as in a codeplug built on the PC
    ASSERT_TRUE(CDatFile::Write(sim.File("built.dat"), held).ok);
    ASSERT_TRUE(sim.Start({"--dat", sim.File("built.dat")}));
    const Bytes block = ReadBlock(sim);
    ASSERT_EQ(block.size(), 513u);
    EXPECT_EQ(block[0], 0x12);
    EXPECT_EQ(block[511], 0x0C);
}

TEST(PagerSim, RefusesAFrameWithAWrongSumAndStoresNothing) {
    SimProcess sim;
    ASSERT_TRUE(sim.Start({}));
    const Bytes before = ReadBlock(sim);
    {
        Client c(sim.Port());
        c.Send(WriteFrame(Bytes(512, 0x11), false));
        EXPECT_EQ(c.Receive(), Bytes{0x15});
    }
    EXPECT_EQ(ReadBlock(sim), before);
}

TEST(PagerSim, IgnoresNoiseAndSurvivesClientsComingAndGoing) {
    SimProcess sim;
    ASSERT_TRUE(sim.Start({}));
    for (int i = 0; i < 3; ++i) {
        Client c(sim.Port());
        ASSERT_TRUE(c.Ok());
        c.Send({0x00, 0x0D, 'x'});
        EXPECT_TRUE(c.Receive(150).empty());
    }
    EXPECT_EQ(ReadBlock(sim).size(), 513u);
    EXPECT_NE(sim.Log().find("ignored byte 0x0D"), std::string::npos);
}

struct ReadFaultCase {
    const char* fault;
    std::size_t length;
    bool sumMatches;
};
void PrintTo(const ReadFaultCase& c, std::ostream* os) {
    *os << c.fault;
}

class ReadFault : public ::testing::TestWithParam<ReadFaultCase> {};

TEST_P(ReadFault, MisshapesTheAnswer) {
    SimProcess sim;
    ASSERT_TRUE(sim.Start({"--fault", GetParam().fault}));
    const Bytes block = ReadBlock(sim);
    EXPECT_EQ(block.size(), GetParam().length);
    if (block.size() >= 513) {
        EXPECT_EQ(Sum(block.data(), 512) == block[512], GetParam().sumMatches);
    }
    // The same fault on every exchange: deterministic.
    EXPECT_EQ(ReadBlock(sim), block);
}

INSTANTIATE_TEST_SUITE_P(
    PagerSim, ReadFault,
    ::testing::Values(ReadFaultCase{"short", 512, false}, ReadFaultCase{"long", 514, false},
                      ReadFaultCase{"bad-sum", 513, false}, ReadFaultCase{"zeros", 513, true},
                      ReadFaultCase{"silent", 0, false}, ReadFaultCase{"none", 513, true}),
    [](const auto& info) {
        std::string n = info.param.fault;
        n.erase(std::remove(n.begin(), n.end(), '-'), n.end());
        return n;
    });

TEST(PagerSim, GarbageIsNeverAGoodBlockOrAnAck) {
    SimProcess sim;
    ASSERT_TRUE(sim.Start({"--fault", "garbage"}));
    const Bytes block = ReadBlock(sim);
    ASSERT_EQ(block.size(), 513u);
    EXPECT_NE(Sum(block.data(), 512), block[512]);
    Client c(sim.Port());
    c.Send(WriteFrame(Bytes(512, 1)));
    const Bytes answer = c.Receive();
    ASSERT_FALSE(answer.empty());
    EXPECT_NE(answer[0], 0x06);
}

TEST(PagerSim, WriteFaultsSpareTheRead) {
    SimProcess sim;
    ASSERT_TRUE(sim.Start({"--fault", "refuse", "--refuse-byte", "0x4E"}));
    EXPECT_EQ(ReadBlock(sim).size(), 513u);
    Client c(sim.Port());
    c.Send(WriteFrame(Bytes(512, 1)));
    EXPECT_EQ(c.Receive(), Bytes{0x4E});
}

TEST(PagerSim, HangsUpMidFrameAndComesBackOnTheSameLink) {
    SimProcess sim;
    ASSERT_TRUE(sim.Start({"--fault", "hangup", "--fault-on", "w"}));
    {
        Client c(sim.Port());
        c.Send(WriteFrame(Bytes(512, 1)));
        EXPECT_TRUE(c.Receive().empty());
    }
    // A new terminal behind the same link, serving as before.
    Bytes block;
    for (int i = 0; i < 50 && block.size() != 513; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        block = ReadBlock(sim);
    }
    EXPECT_EQ(block.size(), 513u);
    EXPECT_NE(sim.Log().find("hung up the line"), std::string::npos);
    EXPECT_EQ(sim.Wait(0), -1);  // still serving
}

TEST(PagerSim, CountsExchangesAndExits) {
    SimProcess sim;
    ASSERT_TRUE(sim.Start({"--once"}));
    EXPECT_EQ(ReadBlock(sim).size(), 513u);
    EXPECT_EQ(sim.Wait(3000), 0);
    // Its link goes with it.
    EXPECT_FALSE(std::filesystem::is_symlink(sim.Port()));

    SimProcess idle;
    ASSERT_TRUE(idle.Start({"--count", "2", "--exit-idle", "1"}));
    EXPECT_EQ(ReadBlock(idle).size(), 513u);
    EXPECT_EQ(idle.Wait(4000), 3);  // idle before the second exchange
}

TEST(PagerSim, UsageErrors) {
    std::string out, err;
    EXPECT_EQ(RunProgram({PagerSimPath(), "--fault", "melt"}, &out, &err), 2);
    EXPECT_NE(err.find("unknown fault"), std::string::npos);
    EXPECT_EQ(RunProgram({PagerSimPath(), "--firmware", "300"}, &out, &err), 2);
    EXPECT_EQ(RunProgram({PagerSimPath(), "--bogus"}, &out, &err), 2);
    EXPECT_EQ(RunProgram({PagerSimPath(), "--dat", "/nonexistent.dat"}, &out, &err), 1);
    EXPECT_EQ(RunProgram({PagerSimPath(), "--help"}, &out, &err), 0);
    EXPECT_NE(out.find("hangup"), std::string::npos);
}

// A fleet of pagers, each a codeplug file whose byte 0 tells it apart.
class Fleet : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::create_directories(sim.File("fleet")); }
    std::string Pager(const std::string& name, std::uint8_t mark) {
        Image image{};
        image[0] = mark;
        const std::string path = sim.File("fleet/" + name);
        EXPECT_TRUE(CDatFile::Write(path, image).ok);
        return path;
    }
    // Byte 0 of the pager that answers a read; -1 when none answers.
    int Answering() {
        const Bytes block = ReadBlock(sim);
        return block.size() == 513 ? block[0] : -1;
    }
    Bytes Write(std::uint8_t fill, bool goodSum = true) {
        Client c(sim.Port());
        c.Send(WriteFrame(Bytes(512, fill), goodSum));
        return c.Receive();
    }
    SimProcess sim;
};

TEST_F(Fleet, TheNextPagerAnswersAfterEachCompletedWrite) {
    Pager("b.dat", 0xB0);
    Pager("a.dat", 0xA0);
    Pager("c.dat", 0xC0);
    std::filesystem::create_directories(sim.File("held"));
    ASSERT_TRUE(sim.Start({"--fleet", sim.File("fleet"), "--save", sim.File("held")}));
    // In the order of the file names; reads alone do not change the pager.
    EXPECT_EQ(Answering(), 0xA0);
    EXPECT_EQ(Answering(), 0xA0);
    EXPECT_EQ(Write(0x11), Bytes{0x06});
    EXPECT_EQ(Answering(), 0xB0);
    // A write the pager refuses is no completed write.
    EXPECT_EQ(Write(0x22, false), Bytes{0x15});
    EXPECT_EQ(Answering(), 0xB0);
    EXPECT_EQ(Write(0x22), Bytes{0x06});
    EXPECT_EQ(Write(0x33), Bytes{0x06});
    // After the last one the programmer is empty: nothing answers.
    EXPECT_EQ(Answering(), -1);
    EXPECT_TRUE(Write(0x44).empty());
    sim.Stop();
    const std::pair<const char*, std::uint8_t> held[] = {{"a.dat", 0x11}, {"b.dat", 0x22},
                                                         {"c.dat", 0x33}};
    for (const auto& [name, fill] : held) {
        const auto saved = CDatFile::Read(sim.File(std::string("held/") + name));
        ASSERT_TRUE(saved.ok) << name;
        EXPECT_EQ(saved.parsed.image[0], fill) << name;
        EXPECT_EQ(saved.parsed.image[511], 0x0C) << name;  // its own firmware byte
    }
    EXPECT_NE(sim.Log().find("pager 2 of 3 is in the programmer now"), std::string::npos);
    EXPECT_NE(sim.Log().find("the programmer is empty"), std::string::npos);
}

TEST_F(Fleet, ReadBackReachesThePagerJustWritten) {
    ASSERT_TRUE(sim.Start({"--dat", Pager("one.dat", 0x01), "--dat", Pager("two.dat", 0x02),
                           "--read-back"}));
    EXPECT_EQ(Write(0x5A), Bytes{0x06});
    EXPECT_EQ(Answering(), 0x5A);  // the read-back of a verify
    EXPECT_EQ(Answering(), 0x02);  // the next pager
    EXPECT_EQ(Answering(), 0x02);
}

TEST_F(Fleet, UsageErrors) {
    std::string out, err;
    const std::string a = Pager("a.dat", 1);
    EXPECT_EQ(RunProgram({PagerSimPath(), "--fleet", sim.File("fleet"), "--dat", a}, &out, &err),
              2);
    EXPECT_NE(err.find("give --fleet or --dat, not both"), std::string::npos) << err;
    std::filesystem::create_directories(sim.File("empty"));
    EXPECT_EQ(RunProgram({PagerSimPath(), "--fleet", sim.File("empty")}, &out, &err), 1);
    EXPECT_NE(err.find("holds no .dat files"), std::string::npos) << err;
    std::filesystem::create_directories(sim.File("other"));
    std::filesystem::copy_file(a, sim.File("other/a.dat"));
    EXPECT_EQ(RunProgram({PagerSimPath(), "--dat", a, "--dat", sim.File("other/a.dat")}, &out,
                         &err),
              2);
    EXPECT_NE(err.find("two pagers come from files named a.dat"), std::string::npos) << err;
}

}  // namespace
