#pragma once
// COM ports a test makes known to Windows (under Wine: its real setupapi and
// registry): a "Ports" device as an adapter's driver package installs it, and
// a port announced in the serial device map. Both go when the object does.
// clang-format off
#include <initguid.h>
#include <windows.h>
#include <devguid.h>
#include <setupapi.h>
// clang-format on

#include <string>

class InstalledAdapter {
public:
    InstalledAdapter(const std::string& friendlyName, const std::string& port) {
        m_set = SetupDiCreateDeviceInfoList(&GUID_DEVCLASS_PORTS, nullptr);
        m_device.cbSize = sizeof m_device;
        ok = m_set != INVALID_HANDLE_VALUE &&
             SetupDiCreateDeviceInfoA(m_set, "PORTS", &GUID_DEVCLASS_PORTS, nullptr, nullptr,
                                      DICD_GENERATE_ID, &m_device) &&
             SetupDiRegisterDeviceInfo(m_set, &m_device, 0, nullptr, nullptr, nullptr) &&
             SetupDiSetDeviceRegistryPropertyA(m_set, &m_device, SPDRP_FRIENDLYNAME,
                                               reinterpret_cast<const BYTE*>(friendlyName.c_str()),
                                               static_cast<DWORD>(friendlyName.size() + 1));
        if (!ok) return;
        HKEY key = SetupDiCreateDevRegKeyA(m_set, &m_device, DICS_FLAG_GLOBAL, 0, DIREG_DEV,
                                           nullptr, nullptr);
        ok = key != INVALID_HANDLE_VALUE &&
             RegSetValueExA(key, "PortName", 0, REG_SZ, reinterpret_cast<const BYTE*>(port.c_str()),
                            static_cast<DWORD>(port.size() + 1)) == ERROR_SUCCESS;
        if (key != INVALID_HANDLE_VALUE) RegCloseKey(key);
    }
    ~InstalledAdapter() {
        if (m_set == INVALID_HANDLE_VALUE) return;
        SetupDiRemoveDevice(m_set, &m_device);
        SetupDiDestroyDeviceInfoList(m_set);
    }
    InstalledAdapter(const InstalledAdapter&) = delete;
    InstalledAdapter& operator=(const InstalledAdapter&) = delete;
    bool ok = false;

private:
    HDEVINFO m_set = INVALID_HANDLE_VALUE;
    SP_DEVINFO_DATA m_device{};
};

class AnnouncedPort {
public:
    // `device` names the map's value, e.g. "\Device\CalvexTest58".
    AnnouncedPort(std::string device, const std::string& port) : m_device(std::move(device)) {
        HKEY key = nullptr;
        ok = RegCreateKeyExA(HKEY_LOCAL_MACHINE, kMap, 0, nullptr, REG_OPTION_VOLATILE,
                             KEY_SET_VALUE, nullptr, &key, nullptr) == ERROR_SUCCESS &&
             RegSetValueExA(key, m_device.c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(port.c_str()),
                            static_cast<DWORD>(port.size() + 1)) == ERROR_SUCCESS;
        if (key) RegCloseKey(key);
    }
    ~AnnouncedPort() {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kMap, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
            return;
        RegDeleteValueA(key, m_device.c_str());
        RegCloseKey(key);
    }
    AnnouncedPort(const AnnouncedPort&) = delete;
    AnnouncedPort& operator=(const AnnouncedPort&) = delete;
    bool ok = false;

private:
    static constexpr const char* kMap = "HARDWARE\\DEVICEMAP\\SERIALCOMM";
    std::string m_device;
};
