// The Win32 serial backend under Wine, talking to the native pager
// simulator through $WINEPREFIX/dosdevices/comN links to its terminal.
// Wine neither enforces exclusive opens nor lets tests use COM1-COM4 (the
// machine's own ports); those cases are covered by the POSIX tests.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "codeplug/CCodeplug.h"
#include "codeplug/CodeplugContext.h"
#include "link/PagerTransfer.h"

namespace {

std::string UnixEnv(const char* name) {
    const char* v = std::getenv(name);
    return v ? v : "";
}

// Where the native simulator is, as a Unix path; empty when absent.
std::string PagerSim() {
    std::string path = UnixEnv("CALVEX_PAGERSIM");
    if (path.empty())
        path = std::string(CALVEX_SOURCE_DIR) + "/build/native/tools/pagersim/pagersim";
    const std::string dos = "Z:" + path;
    const DWORD attrs = GetFileAttributesA(dos.c_str());
    return attrs == INVALID_FILE_ATTRIBUTES ? std::string() : path;
}

class Sink : public TransferSink {
public:
    void Post(int message) override { messages.push_back(message); }
    std::vector<int> messages;
};

long long MsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 start)
        .count();
}

class WineLink : public ::testing::Test {
protected:
    void SetUp() override {
        CodeplugContext::Get().Reset();
        m_sim = PagerSim();
        if (m_sim.empty()) {
            GTEST_SKIP() << "no native pagersim (build the native preset first, or set "
                            "CALVEX_PAGERSIM to its path)";
        }
        if (UnixEnv("WINEPREFIX").empty()) GTEST_SKIP() << "not running under Wine";
    }
    void TearDown() override { CodeplugContext::Get().Reset(); }

    // Starts the simulator behind COM<n>: it serves `count` exchanges (and
    // gives up after 20 idle seconds), then removes its link.
    void StartSim(int n, int count, const std::string& extra = {}) {
        const std::string link = UnixEnv("WINEPREFIX") + "/dosdevices/com" + std::to_string(n);
        DeleteFileA(("Z:" + link).c_str());
        std::string cmd = "Z:" + m_sim + " --quiet --link " + link + " --count " +
                          std::to_string(count) + " --exit-idle 20 " + extra;
        STARTUPINFOA si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        ASSERT_TRUE(CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                   nullptr, &si, &pi))
            << GetLastError();
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        // Ready once the port opens.
        const std::string device = "\\\\.\\COM" + std::to_string(n);
        for (int i = 0; i < 300; ++i) {
            HANDLE h = CreateFileA(device.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                   OPEN_EXISTING, 0, nullptr);
            if (h != INVALID_HANDLE_VALUE) {
                CloseHandle(h);
                return;
            }
            Sleep(10);
        }
        FAIL() << "the simulator's link " << link << " did not appear";
    }

    std::string m_sim;
};

TEST_F(WineLink, ReadsThroughShortAndPrefixedPortNames) {
    for (int n : {9, 12}) {
        SCOPED_TRACE(n);
        StartSim(n, 1, "--firmware 0x17");
        CCommPort port("");
        port.SelectPort(n - 1);
        CCodeplug plug;
        Sink sink;
        TransferOutcome outcome;
        ReadPagerThread(port, plug, sink, &outcome);
        EXPECT_EQ(port.Port().DeviceName(), n == 9 ? "COM9" : "\\\\.\\COM12");
        ASSERT_EQ(sink.messages, std::vector<int>{WM_PAGER_READ_OK}) << DescribeFault(outcome);
        EXPECT_EQ(plug.GetDataValid(), 1);
        EXPECT_EQ(plug.GetPagerVersion(), 0x17);
        const Image& image = plug.GetImage();
        EXPECT_EQ(CCodeplug::ComputeChecksum(image), image[layout::CHECKSUM]);
        EXPECT_FALSE(port.Port().IsOpen());
    }
}

TEST_F(WineLink, WriteKeepsThePagersSerialNumber) {
    StartSim(10, 4);
    CCommPort port("");
    port.SetPortName("COM10");
    port.SetDelay(100);
    CCodeplug plug;
    Sink sink;
    ReadPagerThread(port, plug, sink);
    ASSERT_EQ(sink.messages, std::vector<int>{WM_PAGER_READ_OK});
    const CCodeplug::Quad serial = plug.GetSerialNumber();

    Image edited = plug.GetImage();
    edited[0x30] ^= 0x40;
    edited[layout::SERIAL_NO] ^= 0xFF;
    plug.SetImage(edited);
    TransferOutcome outcome;
    WritePagerThread(port, plug, sink, &outcome);
    ASSERT_EQ(sink.messages.back(), WM_PAGER_WRITE_OK) << DescribeFault(outcome);
    EXPECT_EQ(plug.GetSerialNumber(), serial);

    CCodeplug check;
    ReadPagerThread(port, check, sink);
    ASSERT_EQ(sink.messages.back(), WM_PAGER_READ_OK);
    EXPECT_EQ(check.GetImage()[0x30], edited[0x30]);
    EXPECT_EQ(check.GetSerialNumber(), serial);
}

TEST_F(WineLink, RefusalAndMissingAnswerFail) {
    StartSim(11, 2, "--fault refuse");
    CCommPort port("");
    port.SetPortName("COM11");
    port.SetDelay(50);
    CCodeplug plug;
    plug.SetImage(Image{});
    plug.SetDataValid(1);
    CodeplugContext::Get().engineer = true;
    Sink sink;
    TransferOutcome outcome;
    WritePagerThread(port, plug, sink, &outcome);
    EXPECT_EQ(sink.messages, std::vector<int>{WM_PAGER_WRITE_FAILED});
    EXPECT_EQ(outcome.fault, LinkFault::Refused);
    EXPECT_EQ(outcome.answer, 0x15);

    // Nothing answers the write: the exchange itself succeeds, byte 0 stays
    // "w" and the transfer fails, about a second after the delay.
    StartSim(13, 1, "--fault no-ack");
    port.SetPortName("COM13");
    ASSERT_TRUE(port.Open());
    Image image{};
    image[0] = 0x06;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(port.WriteImage(image.data()));
    const long long ms = MsSince(start);
    EXPECT_EQ(image[0], 'w');
    EXPECT_GE(ms, 50 + 900);
    EXPECT_LT(ms, 50 + 2500);
    EXPECT_FALSE(port.Port().IsOpen());
}

TEST_F(WineLink, MissingPortFailsAtOnceAndSilenceAfterTheTimeOut) {
    CCommPort port("");
    port.SetPortName("COM40");
    DeleteFileA(("Z:" + UnixEnv("WINEPREFIX") + "/dosdevices/com40").c_str());
    CCodeplug plug;
    Sink sink;
    TransferOutcome outcome;
    auto start = std::chrono::steady_clock::now();
    ReadPagerThread(port, plug, sink, &outcome);
    EXPECT_LT(MsSince(start), 1000);
    EXPECT_EQ(sink.messages, std::vector<int>{WM_PAGER_READ_FAILED});
    EXPECT_EQ(outcome.fault, LinkFault::PortMissing) << DescribeFault(outcome);

    StartSim(14, 1, "--fault silent");
    port.SetPortName("COM14");
    start = std::chrono::steady_clock::now();
    ReadPagerThread(port, plug, sink, &outcome);
    const long long ms = MsSince(start);
    EXPECT_EQ(sink.messages.back(), WM_PAGER_READ_FAILED);
    EXPECT_EQ(outcome.fault, LinkFault::NoAnswer);
    EXPECT_GE(ms, 6000);
    EXPECT_LT(ms, 7600);
    EXPECT_EQ(plug.GetDataValid(), 0);
}

}  // namespace
