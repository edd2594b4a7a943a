#pragma once
// "System Configuration": which port the programmer is on. The list holds the
// 64 COM names and, after them, the serial devices found on this machine. A
// device that is one of the COM names (Windows) is shown in that entry's
// place instead, so the list keeps its order and the port its name.
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

    // The serial devices found: those named like a list entry mark it with
    // their label, the others are shown after the 64 COM names.
    void SetDevices(std::vector<Device> devices);
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

    std::vector<Device> m_devices;      // shown after the COM names
    std::vector<std::string> m_marked;  // label per COM entry, "" = plain
};
