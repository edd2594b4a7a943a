// The COM ports Windows knows of: the serial device map in the registry and
// the device installer's "Ports" class.
// clang-format off
#include <initguid.h>  // GUID_DEVCLASS_PORTS is defined here, not in a library
#include <windows.h>
#include <devguid.h>
#include <setupapi.h>
// clang-format on

#include "link/ComPortInventory.h"

namespace {

std::string RegistryText(const BYTE* data, DWORD size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    const auto end = text.find('\0');
    if (end != std::string::npos) text.resize(end);
    return text;
}

std::string DeviceProperty(HDEVINFO set, SP_DEVINFO_DATA& device, DWORD property) {
    BYTE buffer[512] = {};
    DWORD type = 0;
    if (!SetupDiGetDeviceRegistryPropertyA(set, &device, property, &type, buffer, sizeof buffer - 1,
                                           nullptr) ||
        type != REG_SZ) {
        return {};
    }
    return RegistryText(buffer, sizeof buffer);
}

class SystemComPortSource : public ComPortSource {
public:
    std::vector<std::string> AnnouncedPorts() const override {
        std::vector<std::string> ports;
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_QUERY_VALUE,
                          &key) != ERROR_SUCCESS) {
            return ports;
        }
        for (DWORD i = 0; i < 1024; ++i) {
            char name[256];
            DWORD nameSize = sizeof name;
            BYTE data[256] = {};
            DWORD dataSize = sizeof data - 1;
            DWORD type = 0;
            const LONG r = RegEnumValueA(key, i, name, &nameSize, nullptr, &type, data, &dataSize);
            if (r == ERROR_NO_MORE_ITEMS) break;
            if (r != ERROR_SUCCESS || type != REG_SZ) continue;
            ports.push_back(RegistryText(data, dataSize));
        }
        RegCloseKey(key);
        return ports;
    }

    std::vector<Installed> InstalledPorts() const override {
        std::vector<Installed> ports;
        HDEVINFO set = SetupDiGetClassDevsA(&GUID_DEVCLASS_PORTS, nullptr, nullptr, DIGCF_PRESENT);
        if (set == INVALID_HANDLE_VALUE) return ports;
        SP_DEVINFO_DATA device{};
        device.cbSize = sizeof device;
        for (DWORD i = 0; SetupDiEnumDeviceInfo(set, i, &device); ++i) {
            Installed entry;
            HKEY key =
                SetupDiOpenDevRegKey(set, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_QUERY_VALUE);
            if (key != INVALID_HANDLE_VALUE) {
                BYTE data[256] = {};
                DWORD size = sizeof data - 1;
                DWORD type = 0;
                if (RegQueryValueExA(key, "PortName", nullptr, &type, data, &size) ==
                        ERROR_SUCCESS &&
                    type == REG_SZ) {
                    entry.port = RegistryText(data, size);
                }
                RegCloseKey(key);
            }
            if (entry.port.empty()) continue;
            entry.friendlyName = DeviceProperty(set, device, SPDRP_FRIENDLYNAME);
            entry.description = DeviceProperty(set, device, SPDRP_DEVICEDESC);
            ports.push_back(std::move(entry));
        }
        SetupDiDestroyDeviceInfoList(set);
        return ports;
    }
};

}  // namespace

std::unique_ptr<ComPortSource> MakeSystemComPortSource() {
    return std::make_unique<SystemComPortSource>();
}
