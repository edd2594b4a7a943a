#include "fleet/CommPortFleetLink.h"

#include "link/CCommPort.h"
#include "link/TransferRunner.h"

namespace {

TransferOutcome Run(TransferKind kind, CCommPort& port, CCodeplug& plug,
                    const CommPortFleetLink::Tick& tick) {
    // The status dialog's bar is full after 100 ticks: 5 s for a read, 10 s
    // for a write.
    const char* what = kind == TransferKind::Read ? "Reading pager" : "Writing pager";
    const int full = kind == TransferKind::Read ? 5000 : 10000;
    std::function<void(int)> each;
    if (tick) each = [&](int ms) { tick(what, ms, full); };
    TransferOutcome outcome = RunTransfer(kind, port, plug, each);
    if (tick) tick(what, -1, full);
    return outcome;
}

}  // namespace

std::string CommPortFleetLink::PortName() const {
    return m_port.PortName();
}

bool CommPortFleetLink::ReadPager(Image& block, std::string& why) {
    CCodeplug plug;
    const TransferOutcome o = Run(TransferKind::Read, m_port, plug, m_tick);
    if (o.message != WM_PAGER_READ_OK) {
        why = DescribeFault(o);
        return false;
    }
    block = plug.GetImage();
    return true;
}

FleetLink::Written CommPortFleetLink::WritePager(CCodeplug& plug) {
    const TransferOutcome o = Run(TransferKind::Write, m_port, plug, m_tick);
    Written w;
    w.ok = o.message == WM_PAGER_WRITE_OK;
    w.backup = o.backup;
    if (!w.ok) {
        w.why = DescribeFault(o);
        w.brief = SummarizeFault(o);
    }
    return w;
}
