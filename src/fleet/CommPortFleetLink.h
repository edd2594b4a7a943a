#pragma once
// A fleet run's link over the serial link object the command line uses.
#include <functional>

#include "fleet/FleetLink.h"

class CCommPort;

class CommPortFleetLink : public FleetLink {
public:
    // Told how a transfer gets on: `what` ("Reading pager", "Writing pager"),
    // the time spent, and the time after which a progress bar is full; -1 as
    // the time spent when the transfer has ended.
    using Tick = std::function<void(const std::string& what, int elapsedMs, int fullMs)>;

    // `port` makes the backups (SetBackupFolder) and must not be in engineer
    // mode: a fleet's pagers each keep their own serial number.
    explicit CommPortFleetLink(CCommPort& port, Tick tick = {})
        : m_port(port), m_tick(std::move(tick)) {}

    std::string PortName() const override;
    bool ReadPager(Image& block, std::string& why) override;
    Written WritePager(CCodeplug& plug) override;

private:
    CCommPort& m_port;
    Tick m_tick;
};
