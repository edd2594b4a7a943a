// The COM ports this machine has, as the device installer and the serial
// device map of the registry tell them (under Wine: its real setupapi and
// registry, with a device and a map entry the test adds).
#include <gtest/gtest.h>
// clang-format off
#include <initguid.h>
#include <windows.h>
#include <devguid.h>
#include <setupapi.h>
// clang-format on

#include <string>

#include "link/ComPortInventory.h"

namespace {

const char* const kMap = "HARDWARE\\DEVICEMAP\\SERIALCOMM";
const char* const kMapValue = "\\Device\\CalvexTest58";

// A "Ports" device as an adapter's driver package installs it.
class InstalledAdapter {
public:
    InstalledAdapter(const std::string& friendlyName, const std::string& port) {
        m_set = SetupDiCreateDeviceInfoList(&GUID_DEVCLASS_PORTS, nullptr);
        m_device.cbSize = sizeof m_device;
        ok = m_set != INVALID_HANDLE_VALUE &&
             SetupDiCreateDeviceInfoA(m_set, "PORTS", &GUID_DEVCLASS_PORTS, nullptr, nullptr,
                                      DICD_GENERATE_ID, &m_device) &&
             SetupDiRegisterDeviceInfo(m_set, &m_device, 0, nullptr, nullptr, nullptr) &&
             SetupDiSetDeviceRegistryPropertyA(
                 m_set, &m_device, SPDRP_FRIENDLYNAME,
                 reinterpret_cast<const BYTE*>(friendlyName.c_str()),
                 static_cast<DWORD>(friendlyName.size() + 1));
        if (!ok) return;
        HKEY key = SetupDiCreateDevRegKeyA(m_set, &m_device, DICS_FLAG_GLOBAL, 0, DIREG_DEV,
                                           nullptr, nullptr);
        ok = key != INVALID_HANDLE_VALUE &&
             RegSetValueExA(key, "PortName", 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(port.c_str()),
                            static_cast<DWORD>(port.size() + 1)) == ERROR_SUCCESS;
        if (key != INVALID_HANDLE_VALUE) RegCloseKey(key);
    }
    ~InstalledAdapter() {
        if (m_set == INVALID_HANDLE_VALUE) return;
        SetupDiRemoveDevice(m_set, &m_device);
        SetupDiDestroyDeviceInfoList(m_set);
    }
    bool ok = false;

private:
    HDEVINFO m_set = INVALID_HANDLE_VALUE;
    SP_DEVINFO_DATA m_device{};
};

void Announce(const char* port) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kMap, 0, nullptr, REG_OPTION_VOLATILE,
                              KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, kMapValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(port),
                   static_cast<DWORD>(strlen(port) + 1));
    RegCloseKey(key);
}

void Withdraw() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kMap, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    RegDeleteValueA(key, kMapValue);
    RegCloseKey(key);
}

std::string Find(const std::vector<PresentPort>& ports, const std::string& name) {
    for (const auto& p : ports)
        if (p.name == name) return p.description;
    return "(absent)";
}

TEST(WinComPorts, AdaptersAndAnnouncedPortsAreFoundAndGoneWhenRemoved) {
    auto system = MakeSystemComPortSource();
    {
        InstalledAdapter adapter("Calvex Test Adapter (COM57)", "COM57");
        ASSERT_TRUE(adapter.ok) << GetLastError();
        Announce("COM58");
        const auto ports = PresentComPorts(*system);
        Withdraw();
        EXPECT_EQ(Find(ports, "COM57"), "Calvex Test Adapter");
        EXPECT_EQ(Find(ports, "COM58"), "Serial port");
        // Number order, whatever else this machine has.
        for (std::size_t i = 1; i < ports.size(); ++i)
            EXPECT_LT(std::stoi(ports[i - 1].name.substr(3)), std::stoi(ports[i].name.substr(3)));
    }
    const auto after = PresentComPorts(*system);
    EXPECT_EQ(Find(after, "COM57"), "(absent)");
    EXPECT_EQ(Find(after, "COM58"), "(absent)");
}

}  // namespace
