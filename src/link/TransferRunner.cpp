#include "link/TransferRunner.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

TransferOutcome RunTransfer(TransferKind kind, CCommPort& port, CCodeplug& plug,
                            const std::function<void(int)>& tick, int tickMs) {
    std::mutex mutex;
    std::condition_variable done;
    int result = 0;
    FunctionSink sink([&](int message) {
        std::lock_guard<std::mutex> lock(mutex);
        result = message;
        done.notify_all();
    });
    PagerTransfer transfer(port);
    if (kind == TransferKind::Read) {
        transfer.StartRead(plug, sink);
    } else {
        transfer.StartWrite(plug, sink);
    }
    const auto start = std::chrono::steady_clock::now();
    {
        std::unique_lock<std::mutex> lock(mutex);
        while (result == 0) {
            done.wait_for(lock, std::chrono::milliseconds(tickMs > 0 ? tickMs : 100));
            if (result == 0 && tick) {
                const auto spent = std::chrono::steady_clock::now() - start;
                lock.unlock();
                tick(static_cast<int>(
                    std::chrono::duration_cast<std::chrono::milliseconds>(spent).count()));
                lock.lock();
            }
        }
    }
    transfer.Join();
    return transfer.LastOutcome();
}
