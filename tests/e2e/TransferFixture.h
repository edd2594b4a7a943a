#pragma once
// A transfer against the real pagersim binary over its pseudo-terminal: the
// messages posted, the outcome, the time taken, and whether the port was
// left free.
#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "SampleCodeplug.h"
#include "codeplug/CCodeplug.h"
#include "codeplug/CodeplugContext.h"
#include "document/CDatFile.h"
#include "e2e/SimProcess.h"
#include "link/PagerTransfer.h"
#include "link/posix/PosixSerialPort.h"

// The longest a read exchange may take: "r" out (10 + 1000 ms), 513 bytes
// in (10 x 513 + 1000 ms), and the check for surplus bytes (20 ms).
inline constexpr long long kReadBudgetMs = 1010 + 6130 + 20;
// A write exchange: the frame out (6130), the delay and the answer (1010).
inline long long WriteBudgetMs(int delay) {
    return 6130 + delay + 1010;
}

struct TransferRun {
    std::vector<int> messages;
    TransferOutcome outcome;
    long long ms = 0;
};

class RecordingSink : public TransferSink {
public:
    void Post(int message) override {
        std::lock_guard<std::mutex> lock(mutex);
        messages.push_back(message);
    }
    std::mutex mutex;
    std::vector<int> messages;
};

class PagerE2E : public ::testing::Test {
protected:
    PagerE2E() : port("") {}
    void SetUp() override { CodeplugContext::Get().Reset(); }
    void TearDown() override { CodeplugContext::Get().Reset(); }

    // Starts pagersim holding `image` (the sample when empty).
    void StartSim(std::vector<std::string> args, const Image* image = nullptr) {
        if (image) {
            ASSERT_TRUE(CDatFile::Write(sim.File("pager.dat"), *image).ok);
            args.insert(args.end(), {"--dat", sim.File("pager.dat")});
        }
        std::string error;
        ASSERT_TRUE(sim.Start(args, &error)) << error;
        port.SetPortName(sim.Port());
        port.SetDelay(100);
    }

    TransferRun Transfer(bool write) {
        RecordingSink sink;
        TransferRun run;
        const auto start = std::chrono::steady_clock::now();
        std::thread worker([&] {
            if (write) {
                WritePagerThread(port, plug, sink, &run.outcome);
            } else {
                ReadPagerThread(port, plug, sink, &run.outcome);
            }
        });
        worker.join();
        run.ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                     std::chrono::steady_clock::now() - start)
                     .count();
        run.messages = sink.messages;
        EXPECT_FALSE(port.Port().IsOpen());
        EXPECT_TRUE(PortFree()) << "the port was left held";
        return run;
    }
    TransferRun Read() { return Transfer(false); }
    TransferRun Write() { return Transfer(true); }

    // Nobody holds the port: it opens at once (after a hang-up, once the
    // simulator has its new terminal up).
    bool PortFree() {
        for (int i = 0; i < 100; ++i) {
            PosixSerialPort probe;
            if (probe.Open(sim.Port())) return true;
            if (probe.LastError() == PortError::Busy) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }

    // The document as a test sets it up, to see what a transfer changed.
    void SetDocument(const Image& image, Byte valid, Byte version) {
        plug.SetImage(image);
        plug.SetDataValid(valid);
        plug.SetPagerVersion(version);
    }
    void ExpectDocument(const Image& image, Byte valid, Byte version) {
        EXPECT_EQ(plug.GetImage(), image);
        EXPECT_EQ(plug.GetDataValid(), valid);
        EXPECT_EQ(plug.GetPagerVersion(), version);
    }
    int Exchanges(const std::string& kind) {
        const std::string log = sim.Log();
        int n = 0;
        for (auto at = log.find(" " + kind + ":"); at != std::string::npos;
             at = log.find(" " + kind + ":", at + 1)) {
            ++n;
        }
        return n;
    }

    SimProcess sim;
    CCommPort port;
    CCodeplug plug;
};

// The sample with byte 511 set, as a pager holds it.
inline Image PagerImage(Byte firmware = 0x0C) {
    Image image = SampleCodeplug();
    image[layout::PAGER_FIRMWARE] = firmware;
    return image;
}
