#pragma once
// "System Configuration": which port the programmer is on. The list holds the
// 64 COM names and, after them, the serial devices found on this machine.
#include <string>
#include <vector>

#include "ui/CDialogModel.h"

enum : int { IDD_SYSTEM_CONFIG = 137, IDC_COMM_PORT = 1129, IDC_BAUD_RATE = 1130 };

class CSystemConfigDlg : public ui::CDialogModel {
public:
    struct Device {
        std::string name;   // what the port is opened by, e.g. /dev/ttyUSB0
        std::string label;  // what the list shows
    };

    CSystemConfigDlg();

    // Entries shown after the 64 COM names.
    void SetDevices(std::vector<Device> devices) { m_devices = std::move(devices); }
    const std::vector<Device>& Devices() const { return m_devices; }

    // Members exchanged with the list.
    std::string m_portText;
    int m_selectedIndex = 0;

    // The port name an index of the list stands for ("" when out of range).
    std::string PortNameAt(int index) const;
    // The list index of a port name, -1 when it is not listed.
    int IndexOfPort(const std::string& name) const;

    void OnInitDialog() override;
    bool OnOK() override;

private:
    void OnSelChangePort();

    std::vector<Device> m_devices;
};
