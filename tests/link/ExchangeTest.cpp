// The read and write exchanges of CCommPort against a scripted far end on a
// real pseudo-terminal: the exact bytes on the line, the frame checks and
// the port closed after every exchange.
#include <gtest/gtest.h>

#include <numeric>
#include <thread>

#include "link/ExchangeFixture.h"

namespace {

TEST_F(Exchange, ReadTakesAGoodBlock) {
    std::uint8_t block[513] = {};
    const auto data = Pattern();
    ASSERT_TRUE(ReadWith(BlockWithSum(data), block));
    EXPECT_TRUE(std::equal(data.begin(), data.end(), block));
    EXPECT_EQ(block[512], BlockWithSum(data).back());
    EXPECT_EQ(port.LastExchange().received, 513u);
}

TEST_F(Exchange, ReadRefusesMoreThanABlock) {
    auto frame = BlockWithSum(Pattern());
    frame.push_back(0x55);
    std::uint8_t block[513] = {};
    EXPECT_FALSE(ReadWith(frame, block));
    EXPECT_EQ(port.LastExchange().fault, LinkFault::WrongLength);
    EXPECT_GT(port.LastExchange().received, 513u);
}

TEST_F(Exchange, ReadRefusesBadSumAndZeros) {
    auto frame = BlockWithSum(Pattern());
    frame.back() ^= 1;
    std::uint8_t block[513] = {};
    EXPECT_FALSE(ReadWith(frame, block));
    EXPECT_EQ(port.LastExchange().fault, LinkFault::BadSum);

    std::uint8_t again[513] = {};
    EXPECT_FALSE(ReadWith(std::vector<std::uint8_t>(513, 0), again));
    EXPECT_EQ(port.LastExchange().fault, LinkFault::ZeroBlock);
}

TEST_F(Exchange, WriteSendsTheFrameAndReturnsTheAnswer) {
    port.SetDelay(50);
    auto image = Pattern();
    const auto original = image;
    auto far = std::async(std::launch::async, [&] {
        auto frame = peer.Receive(2000, 513);
        peer.Send({0x06});
        return frame;
    });
    ASSERT_TRUE(port.Open());
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(port.WriteImage(image.data()));
    EXPECT_GE(MsSince(start), 50);
    const auto frame = far.get();
    ASSERT_EQ(frame.size(), 513u);
    EXPECT_EQ(frame[0], 'w');
    EXPECT_TRUE(std::equal(original.begin(), original.begin() + 511, frame.begin() + 1));
    // The sum covers the 511 data bytes only, not the "w".
    const unsigned sum = std::accumulate(original.begin(), original.begin() + 511, 0u);
    EXPECT_EQ(frame[512], static_cast<std::uint8_t>(sum));
    EXPECT_EQ(image[0], 0x06);
    EXPECT_TRUE(std::equal(original.begin() + 1, original.end(), image.begin() + 1));
    EXPECT_EQ(port.LastExchange().answer, 0x06);
    EXPECT_FALSE(port.Port().IsOpen());
}

TEST_F(Exchange, WriteWithoutAnswerLeavesTheLetterAndSucceeds) {
    port.SetDelay(0);
    auto image = Pattern();
    image[0] = 0x06;  // must not survive as a false ACK
    ASSERT_TRUE(port.Open());
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(port.WriteImage(image.data()));
    const long long ms = MsSince(start);
    EXPECT_EQ(image[0], 'w');
    EXPECT_EQ(port.LastExchange().answer, -1);
    EXPECT_GE(ms, 1005);  // the one-byte read: 10 + 1000 ms
    EXPECT_LT(ms, 1600);
    EXPECT_FALSE(port.Port().IsOpen());
}

TEST_F(Exchange, NegativeDelayDoesNotWait) {
    port.SetDelay(-5);
    auto image = Pattern();
    auto far = std::async(std::launch::async, [&] {
        peer.Receive(2000, 513);
        peer.Send({0x06});
    });
    ASSERT_TRUE(port.Open());
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(port.WriteImage(image.data()));
    far.get();
    EXPECT_LT(MsSince(start), 500);
}

TEST_F(Exchange, ClosingProgramEndsAHugeSettleWait) {
    port.SetDelay(600000);  // as a hand-edited settings file may say
    auto image = Pattern();
    auto far = std::async(std::launch::async, [&] {
        peer.Receive(2000, 513);
        peer.Send({0x06});
    });
    ASSERT_TRUE(port.Open());
    const auto start = std::chrono::steady_clock::now();
    auto closing = std::async(std::launch::async, [&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        port.EndWaits();
    });
    EXPECT_TRUE(port.WriteImage(image.data()));
    EXPECT_EQ(image[0], 0x06);  // the answer that came is still taken
    far.get();
    closing.get();
    EXPECT_LT(MsSince(start), 1500);
    EXPECT_FALSE(port.Port().IsOpen());
}

// A line that answers every write at once and only counts the waits.
class CountingPort : public SerialPort {
public:
    explicit CountingPort(long long& paused) : m_paused(paused) {}
    bool Open(const std::string&) override { return m_open = true; }
    bool SetTimeouts(const PortTimeouts&) override { return true; }
    bool Write(const std::uint8_t*, std::size_t size, std::size_t& written) override {
        written = size;
        return true;
    }
    bool Read(std::uint8_t* data, std::size_t size, std::size_t& received) override {
        received = size ? 1 : 0;
        if (size) data[0] = 0x06;
        return true;
    }
    void Close() override { m_open = false; }
    bool IsOpen() const override { return m_open; }
    void Pause(int ms) override { m_paused += ms; }

private:
    long long& m_paused;
    bool m_open = false;
};

TEST(SettleWait, IsCappedAtAMinuteAndKeepsListedDelaysWhole) {
    for (const auto& [delay, expected] : std::vector<std::pair<int, long long>>{
             {600000, CCommPort::kMaxDelay}, {5000, 5000}, {3001, 3001}, {-1, 0}}) {
        long long paused = 0;
        CCommPort port("", false, std::make_unique<CountingPort>(paused));
        port.SetDelay(delay);
        auto image = Pattern();
        ASSERT_TRUE(port.Open());
        ASSERT_TRUE(port.WriteImage(image.data()));
        EXPECT_EQ(paused, expected) << delay;
        EXPECT_EQ(port.Delay(), delay) << "the setting itself is kept";
    }
    EXPECT_EQ(CCommPort::kMaxDelay, 60000);
}

TEST_F(Exchange, ALateAnswerIsNotReadByTheNextExchange) {
    // An answer that came after the port was closed waits in the terminal;
    // a fresh open must not see it.
    ASSERT_TRUE(port.Open());
    port.Port().Close();
    peer.Send({0x06, 0x06});
    port.SetDelay(0);
    auto image = Pattern();
    ASSERT_TRUE(port.Open());
    EXPECT_TRUE(port.WriteImage(image.data()));
    EXPECT_EQ(image[0], 'w');
}

TEST_F(Exchange, ExchangesNeedAnOpenPort) {
    std::uint8_t block[513] = {};
    EXPECT_FALSE(port.ReadImage(block));
    EXPECT_NE(port.LastExchange().fault, LinkFault::None);
    auto image = Pattern();
    EXPECT_FALSE(port.WriteImage(image.data()));
    EXPECT_TRUE(peer.Receive(100).empty());
}

TEST(OutcomeText, TellsTheUserWhatToDo) {
    TransferOutcome o;
    o.device = "/dev/ttyUSB0";
    o.fault = LinkFault::PermissionDenied;
    EXPECT_NE(DescribeFault(o).find("dialout"), std::string::npos);
    o.fault = LinkFault::Refused;
    o.answer = 0x15;
    EXPECT_NE(DescribeFault(o).find("0x15"), std::string::npos);
    o.fault = LinkFault::WrongLength;
    o.received = 512;
    EXPECT_NE(DescribeFault(o).find("512 bytes"), std::string::npos);
}

TEST(OutcomeText, NamesThePortTheUserChoseAndTheDeviceBehindIt) {
    ::setenv("CALVEX_COM37", "/nonexistent/ttyS36", 1);
    CCommPort port("");
    port.SetPortName("COM37");
    EXPECT_FALSE(port.Open());
    ::unsetenv("CALVEX_COM37");
    const TransferOutcome o = port.LastExchange();
    EXPECT_EQ(o.fault, LinkFault::PortMissing);
    EXPECT_EQ(SummarizeFault(o), "COM37 (/nonexistent/ttyS36) does not exist");
    EXPECT_EQ(DescribeFault(o).rfind("COM37 (/nonexistent/ttyS36) does not exist;", 0), 0u)
        << DescribeFault(o);

    // A device chosen by its path, or a COM port under its Windows device
    // name, is named once.
    TransferOutcome chosen;
    chosen.port = chosen.device = "/dev/serial/by-id/usb-FTDI-if00";
    EXPECT_EQ(PortAndDevice(chosen), "/dev/serial/by-id/usb-FTDI-if00");
    chosen.port = "COM12";
    chosen.device = "\\\\.\\COM12";
    EXPECT_EQ(PortAndDevice(chosen), "COM12");
    chosen.port.clear();
    EXPECT_EQ(PortAndDevice(chosen), "\\\\.\\COM12");
    EXPECT_EQ(PortAndDevice(TransferOutcome{}), "the port");
}

}  // namespace
