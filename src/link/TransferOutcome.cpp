#include "link/TransferOutcome.h"

#include <cstdio>

namespace {

std::string WithSystem(std::string text, const TransferOutcome& o) {
    if (!o.system.empty()) text += " (" + o.system + ")";
    return text;
}

bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

std::string PortAndDevice(const TransferOutcome& o) {
    if (o.port.empty()) return o.device.empty() ? std::string("the port") : o.device;
    // "\\.\COM12" is COM12 under another spelling, not another device.
    if (o.device.empty() || o.device == o.port || EndsWith(o.device, "\\" + o.port))
        return o.port;
    return o.port + " (" + o.device + ")";
}

std::string DescribeFault(const TransferOutcome& o) {
    const std::string dev = PortAndDevice(o);
    char buf[160];
    switch (o.fault) {
        case LinkFault::None:
            return "success";
        case LinkFault::PortMissing:
            return WithSystem(dev + " does not exist; check the port name and the cable", o);
        case LinkFault::PermissionDenied:
#ifdef _WIN32
            return WithSystem("permission denied opening " + dev, o);
#else
            return WithSystem("permission denied opening " + dev, o) +
                   "; add yourself to the dialout group (sudo usermod -aG dialout $USER), "
                   "then log out and in again";
#endif
        case LinkFault::PortBusy:
            return WithSystem(dev + " is in use by another program", o);
        case LinkFault::PortSettings:
            return WithSystem(dev + " refused the line settings (is it a serial port?)", o);
        case LinkFault::Timeouts:
            return WithSystem("the port's time-outs could not be set", o);
        case LinkFault::LineError:
            return WithSystem("serial line error", o);
        case LinkFault::HangUp:
            return "the line was hung up during the transfer";
        case LinkFault::NoAnswer:
            return "no answer from the pager (is it in the programmer and switched on?)";
        case LinkFault::WrongLength:
            if (o.received > 513) return "the pager sent more than 513 bytes";
            std::snprintf(buf, sizeof buf, "the pager sent %zu bytes instead of 513", o.received);
            return buf;
        case LinkFault::BadSum:
            return "the block from the pager failed its sum check";
        case LinkFault::ZeroBlock:
            return "the pager sent an all-zero block";
        case LinkFault::IdentityMismatch:
            return "the codeplug is for another model number or codeplug version than the "
                   "pager's; nothing was written";
        case LinkFault::Refused:
            std::snprintf(buf, sizeof buf, "the pager refused the codeplug (answered 0x%02X)",
                          o.answer & 0xFF);
            return buf;
        case LinkFault::NoAck:
            return "the pager did not acknowledge the write (try a longer USB delay)";
        case LinkFault::BackupFailed:
            return "the pager's contents could not be backed up: " +
                   (o.system.empty() ? std::string("unknown reason") : o.system) +
                   "; nothing was written";
    }
    return "unknown failure";
}

std::string SummarizeFault(const TransferOutcome& o) {
    const std::string dev = PortAndDevice(o);
    char buf[80];
    switch (o.fault) {
        case LinkFault::None:
            return "success";
        case LinkFault::PortMissing:
            return dev + " does not exist";
        case LinkFault::PermissionDenied:
#ifdef _WIN32
            return "no permission to open " + dev;
#else
            return "no permission to open " + dev + "; join the dialout group";
#endif
        case LinkFault::PortBusy:
            return dev + " is in use";
        case LinkFault::PortSettings:
            return dev + " refused the line settings";
        case LinkFault::Timeouts:
            return "the port's time-outs could not be set";
        case LinkFault::LineError:
            return "serial line error";
        case LinkFault::HangUp:
            return "the line was hung up";
        case LinkFault::NoAnswer:
            return "no answer from the pager";
        case LinkFault::WrongLength:
            if (o.received > 513) return "the pager sent more than 513 bytes";
            std::snprintf(buf, sizeof buf, "the pager sent %zu of 513 bytes", o.received);
            return buf;
        case LinkFault::BadSum:
            return "bad sum in the pager's block";
        case LinkFault::ZeroBlock:
            return "the pager sent only zeros";
        case LinkFault::IdentityMismatch:
            return "the pager is of another model or codeplug version";
        case LinkFault::Refused:
            return "the pager refused the codeplug";
        case LinkFault::NoAck:
            return "no acknowledgement; try a longer USB delay";
        case LinkFault::BackupFailed:
            return "the pager's contents could not be backed up; nothing was written";
    }
    return "unknown failure";
}
