#pragma once
// Serial devices present on this machine, offered beside the COM names so a
// USB-serial programmer or a running pager simulator can be picked directly.
#include <filesystem>
#include <string>
#include <vector>

struct SerialDevice {
    std::string path;         // what the port is opened by: a device path or "COM5"
    std::string description;  // readable, e.g. "FTDI FT232R USB UART"
    // A long device path goes last; a port name stays first, where the COM
    // list has it ("COM5 - USB Serial Port").
    std::string Label() const {
        if (!path.empty() && path[0] == '/') return description + " - " + path;
        return path + " - " + description;
    }
};

// The serial devices System Setup offers on this system: on Windows the COM
// ports that exist, with their adapter's name; elsewhere ScanSerialDevices().
std::vector<SerialDevice> PresentSerialDevices();

// Looks under `root` (the file system root normally; tests pass a fake tree):
// dev/serial/by-id/* first (stable names), then dev/ttyUSB* and dev/ttyACM*
// not already reached through a by-id name, then the pager simulator's link.
std::vector<SerialDevice> ScanSerialDevices(const std::filesystem::path& root = "/");

// Where scripts and users let pagersim put its link by default:
// $CALVEX_PAGERSIM_LINK, else $XDG_RUNTIME_DIR/calvex-pagersim, else
// /tmp/calvex-pagersim-<user>.
std::string PagerSimLinkPath();
