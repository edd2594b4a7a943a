#include "vtrelnp/Reporter.h"

namespace vtrelnp {

void Reporter::Debug(const std::string& message) {
    std::string line =
        Format("vtrelnp(pid: %u, tid: %u) ", system_.ProcessId(), system_.ThreadId());
    line += message;
    if (line.empty() || line.back() != '\n') {
        line += '\n';
    }
    system_.DebugOutput(line);
}

void Reporter::Event(const std::string& message) {
    const std::string text =
        Format("(pid: %u, tid: %u) ", system_.ProcessId(), system_.ThreadId()) + message;
    unsigned long error = 0;
    switch (system_.ReportErrorEvent(kCategoryNetworkProvider, kEventText, Widen(text), &error)) {
        case System::EventOutcome::kReported:
            return;
        case System::EventOutcome::kOpenFailed:
            Debug(Format("OpenEventLog(): %lu", error));
            break;
        case System::EventOutcome::kReportFailed:
            Debug(Format("ReportEvent(): %lu", error));
            break;
    }
    Debug(message);
}

}  // namespace vtrelnp
