#include "app/PagerLinkFleetLink.h"

#include <condition_variable>
#include <memory>
#include <mutex>

#include "app/CommandIds.h"

namespace {

// The link's texts say which command failed; a fleet run says it itself.
std::string Reason(std::string text) {
    for (const char* prefix : {"Read Pager failed: ", "Write Pager failed: "}) {
        const std::string p = prefix;
        if (text.rfind(p, 0) == 0) return text.substr(p.size());
    }
    return text.empty() ? std::string("the transfer failed") : text;
}

}  // namespace

int PagerLinkFleetLink::Run(bool read, CCodeplug& plug) {
    struct Result {
        std::mutex mutex;
        std::condition_variable done;
        int message = 0;
    };
    auto result = std::make_shared<Result>();
    PagerLink::Post post = [result](int message) {
        std::lock_guard<std::mutex> lock(result->mutex);
        result->message = message;
        result->done.notify_all();
    };
    const bool started = read ? m_link.StartRead(plug, post) : m_link.StartWrite(plug, post);
    if (!started) return read ? cmd::WM_PAGER_READ_FAILED : cmd::WM_PAGER_WRITE_FAILED;
    {
        std::unique_lock<std::mutex> lock(result->mutex);
        result->done.wait(lock, [&] { return result->message != 0; });
    }
    m_link.Join();
    return result->message;
}

bool PagerLinkFleetLink::ReadPager(Image& block, std::string& why) {
    CCodeplug plug;
    if (Run(true, plug) != cmd::WM_PAGER_READ_OK) {
        why = Reason(m_link.LastFailureDetail());
        return false;
    }
    block = plug.GetImage();
    return true;
}

FleetLink::Written PagerLinkFleetLink::WritePager(CCodeplug& plug) {
    Written w;
    w.ok = Run(false, plug) == cmd::WM_PAGER_WRITE_OK;
    w.backup = m_link.LastBackup();
    if (!w.ok) {
        w.why = Reason(m_link.LastFailureDetail());
        w.brief = Reason(m_link.LastFailureSummary());
    }
    return w;
}
