#pragma once
// A fleet run's link over the program's own link: each transfer starts on the
// link's worker thread and is waited for here, on the fleet window's worker.
#include "app/PagerLink.h"
#include "fleet/FleetLink.h"

class PagerLinkFleetLink : public FleetLink {
public:
    explicit PagerLinkFleetLink(PagerLink& link) : m_link(link) {}

    std::string PortName() const override { return m_link.PortName(); }
    bool ReadPager(Image& block, std::string& why) override;
    Written WritePager(CCodeplug& plug) override;

private:
    // Starts a read or a write and waits for its result message.
    int Run(bool read, CCodeplug& plug);

    PagerLink& m_link;
};
