#include "app/SerialDevices.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <set>

namespace fs = std::filesystem;

namespace {

std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v ? v : "";
}

std::string ReadLine(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r' || line.back() == ' '))
        line.pop_back();
    return line;
}

// "usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0" -> "FTDI FT232R USB UART A50285BI"
std::string DescribeById(std::string name) {
    for (const char* prefix : {"usb-", "pci-", "platform-"}) {
        if (name.rfind(prefix, 0) == 0) {
            name.erase(0, std::char_traits<char>::length(prefix));
            break;
        }
    }
    auto ifpos = name.rfind("-if");
    if (ifpos != std::string::npos && ifpos > 0) name.erase(ifpos);
    std::replace(name.begin(), name.end(), '_', ' ');
    return name.empty() ? "Serial adapter" : name;
}

// Manufacturer and product of the USB device behind /sys/class/tty/<name>.
std::string DescribeBySysfs(const fs::path& root, const std::string& name) {
    std::error_code ec;
    fs::path dev = fs::canonical(root / "sys/class/tty" / name / "device", ec);
    if (ec) return {};
    for (int up = 0; up < 5 && dev.has_relative_path(); ++up, dev = dev.parent_path()) {
        std::string product = ReadLine(dev / "product");
        if (!product.empty()) {
            std::string maker = ReadLine(dev / "manufacturer");
            return maker.empty() ? product : maker + " " + product;
        }
    }
    return {};
}

std::vector<fs::path> Sorted(const fs::path& dir, const std::vector<std::string>& prefixes) {
    std::vector<fs::path> out;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(dir, ec)) {
        std::string name = entry.path().filename().string();
        for (const auto& p : prefixes) {
            if (name.rfind(p, 0) == 0) {
                out.push_back(entry.path());
                break;
            }
        }
    }
    std::sort(out.begin(), out.end());
    return out;
}

// Shows `p` as seen from the real root: tests scan a fake tree.
std::string Visible(const fs::path& root, const fs::path& p) {
    if (root == "/" || root.empty()) return p.string();
    return "/" + p.lexically_relative(root).string();
}

}  // namespace

std::vector<SerialDevice> ScanSerialDevices(const fs::path& root) {
    std::vector<SerialDevice> devices;
    std::set<fs::path> reached;
    std::error_code ec;

    for (const auto& link : Sorted(root / "dev/serial/by-id", {""})) {
        fs::path target = fs::canonical(link, ec);
        if (ec) continue;  // a dangling link: the adapter is gone
        reached.insert(target);
        devices.push_back({Visible(root, link), DescribeById(link.filename().string())});
    }
    for (const auto& tty : Sorted(root / "dev", {"ttyUSB", "ttyACM"})) {
        fs::path real = fs::canonical(tty, ec);
        if (ec || reached.count(real)) continue;
        std::string name = tty.filename().string();
        std::string desc = DescribeBySysfs(root, name);
        if (desc.empty())
            desc = name.rfind("ttyACM", 0) == 0 ? "USB modem serial port" : "USB serial adapter";
        devices.push_back({Visible(root, tty), desc});
    }
    if (root == "/" || root.empty()) {
        std::string sim = PagerSimLinkPath();
        if (fs::exists(sim, ec)) devices.push_back({sim, "Pager simulator"});
    } else {
        // Tests place the simulator link inside the fake tree.
        fs::path sim = root / "run/calvex-pagersim";
        if (fs::exists(sim, ec)) devices.push_back({Visible(root, sim), "Pager simulator"});
    }
    return devices;
}

std::vector<SerialDevice> PresentSerialDevices() {
    return ScanSerialDevices();
}

std::string PagerSimLinkPath() {
    std::string set = Env("CALVEX_PAGERSIM_LINK");
    if (!set.empty()) return set;
    std::string runtime = Env("XDG_RUNTIME_DIR");
    if (!runtime.empty()) return runtime + "/calvex-pagersim";
    std::string user = Env("USER");
    return "/tmp/calvex-pagersim-" + (user.empty() ? std::to_string(getuid()) : user);
}
