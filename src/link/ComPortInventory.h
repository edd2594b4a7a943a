#pragma once
// The COM ports that exist on this Windows machine, with a description the
// user recognises (the USB-serial adapter's name), so that System Setup can
// point out the programmer's port among COM1 to COM64.
#include <memory>
#include <string>
#include <vector>

// What Windows says about its serial ports, in two places that can disagree:
// the serial drivers announce each port they start in the device map
// (HARDWARE\DEVICEMAP\SERIALCOMM), and the device installer keeps a name for
// each device of its "Ports" class.
class ComPortSource {
public:
    struct Installed {
        std::string port;          // the device's "PortName", e.g. "COM5" (or "LPT1")
        std::string friendlyName;  // e.g. "USB Serial Port (COM5)"; may be empty
        std::string description;   // the device description, e.g. "USB Serial Port"
    };
    virtual ~ComPortSource() = default;
    // Port names of the device map, as the drivers wrote them.
    virtual std::vector<std::string> AnnouncedPorts() const = 0;
    // Present devices of the "Ports" class.
    virtual std::vector<Installed> InstalledPorts() const = 0;
};

struct PresentPort {
    std::string name;         // "COM5"
    std::string description;  // "USB Serial Port"
};

// Every COMn (n from 1 to 256) that either place names, once, in number order.
// The description is the installer's friendly name without its " (COMn)", else
// its device description, else "Serial port".
std::vector<PresentPort> PresentComPorts(const ComPortSource& source);

#ifdef _WIN32
// The registry and the device installer of this machine.
std::unique_ptr<ComPortSource> MakeSystemComPortSource();
#endif
