#include "app/CSystemConfigDlg.h"

#include "app/PortNames.h"

CSystemConfigDlg::CSystemConfigDlg() : CDialogModel(IDD_SYSTEM_CONFIG, "System Configuration") {
    Control(IDC_BAUD_RATE).text = "1200 bps.";
    Control(ui::IDOK).text = "OK";
    Control(ui::IDCANCEL).text = "Cancel";
    On(ui::Notify::SelChange, IDC_COMM_PORT, [this] { OnSelChangePort(); });
}

void CSystemConfigDlg::SetDevices(std::vector<Device> devices) {
    m_devices.clear();
    m_marked.assign(kPortCount, std::string());
    for (auto& d : devices) {
        int entry = -1;
        for (int i = 0; i < kPortCount && entry < 0; ++i)
            if (PortListName(i) == d.name) entry = i;
        if (entry >= 0)
            m_marked[entry] = d.label;
        else
            m_devices.push_back(std::move(d));
    }
}

std::string CSystemConfigDlg::PortNameAt(int index) const {
    if (index >= 0 && index < kPortCount) return PortListName(index);
    int k = index - kPortCount;
    if (k >= 0 && k < static_cast<int>(m_devices.size())) return m_devices[k].name;
    return {};
}

int CSystemConfigDlg::IndexOfPort(const std::string& name) const {
    for (int i = 0; i < kPortCount; ++i)
        if (PortListName(i) == name) return i;
    for (std::size_t k = 0; k < m_devices.size(); ++k)
        if (m_devices[k].name == name) return kPortCount + static_cast<int>(k);
    return -1;
}

void CSystemConfigDlg::OnInitDialog() {
    std::vector<std::string> items;
    for (int i = 0; i < kPortCount; ++i) {
        const bool marked = i < static_cast<int>(m_marked.size()) && !m_marked[i].empty();
        items.push_back(marked ? m_marked[i] : PortListName(i));
    }
    for (const auto& d : m_devices) items.push_back(d.label);
    SetItems(IDC_COMM_PORT, std::move(items));
    // The list shows the port selected only when it is one of its entries.
    SetSelection(IDC_COMM_PORT, IndexOfPort(m_portText));
    SetText(IDC_COMM_PORT, m_portText);
}

void CSystemConfigDlg::OnSelChangePort() {
    m_selectedIndex = Selection(IDC_COMM_PORT);
}

bool CSystemConfigDlg::OnOK() {
    int sel = Selection(IDC_COMM_PORT);
    m_portText = sel >= 0 ? PortNameAt(sel) : std::string{};
    return true;
}
