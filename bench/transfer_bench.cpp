// Transfer timing against the simulator paced at 1200 baud: how much longer
// than the line (and the settle delay) a Read Pager and a Write Pager take.
//   transfer_bench [runs] [settle-delay-ms]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "codeplug/CodeplugContext.h"
#include "e2e/SimProcess.h"
#include "link/PagerTransfer.h"

namespace {

// 10 bits a character at 1200 baud.
constexpr double kCharMs = 10.0 * 1000.0 / 1200.0;
// A pseudo-terminal takes what the PC sends at once; only what the paced
// simulator sends costs line time: the 513-byte block. Its ACK (one
// character) goes out while the PC still waits the settle delay.
constexpr double kBlockMs = 513 * kCharMs;  // 4275 ms

struct Sink : TransferSink {
    int message = 0;
    void Post(int m) override { message = m; }
};

double TimeTransfer(bool write, CCommPort& port, CCodeplug& plug, int expected) {
    Sink sink;
    const auto start = std::chrono::steady_clock::now();
    if (write) {
        WritePagerThread(port, plug, sink);
    } else {
        ReadPagerThread(port, plug, sink);
    }
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    if (sink.message != expected) {
        std::fprintf(stderr, "transfer failed (message 0x%X)\n", sink.message);
        std::exit(1);
    }
    return ms;
}

void Report(const char* what, const std::vector<double>& walls, double lineMs, double settleMs,
            double targetMs) {
    double worst = -1e9, sum = 0;
    for (double w : walls) {
        worst = std::max(worst, w - lineMs - settleMs);
        sum += w;
    }
    const double mean = sum / walls.size();
    std::printf(
        "%-17s wall %7.1f ms  line %7.1f ms  settle %5.0f ms  overhead mean %5.1f ms, "
        "worst %5.1f ms  (target < %.0f ms) %s\n",
        what, mean, lineMs, settleMs, mean - lineMs - settleMs, worst, targetMs,
        worst < targetMs ? "ok" : "OVER");
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const int delay = argc > 2 ? std::atoi(argv[2]) : 2000;

    SimProcess sim;
    std::string error;
    if (!sim.Start({"--pace", "--quiet"}, &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    CCommPort port("");
    port.SetPortName(sim.Port());
    port.SetDelay(delay);
    CCodeplug plug;

    std::vector<double> reads, engineerWrites, writes;
    for (int i = 0; i < runs; ++i)
        reads.push_back(TimeTransfer(false, port, plug, WM_PAGER_READ_OK));
    CodeplugContext::Get().engineer = true;
    for (int i = 0; i < runs; ++i) {
        engineerWrites.push_back(TimeTransfer(true, port, plug, WM_PAGER_WRITE_OK));
    }
    CodeplugContext::Get().engineer = false;
    for (int i = 0; i < runs; ++i) {
        writes.push_back(TimeTransfer(true, port, plug, WM_PAGER_WRITE_OK));
    }

    std::printf("transfer timing at 1200 baud, %d runs each, settle delay %d ms\n", runs, delay);
    Report("read", reads, kBlockMs, 0, 50);
    Report("write (engineer)", engineerWrites, 0, delay, 100);
    Report("write", writes, kBlockMs, delay, 100);
    return 0;
}
