#include "app/CUsbDelayDlg.h"

#include "app/PortNames.h"

CUsbDelayDlg::CUsbDelayDlg() : CDialogModel(IDD_USB_DELAY, "USB Delay Time") {
    Control(ui::IDOK).text = "OK";
    Control(ui::IDCANCEL).text = "Cancel";
    On(ui::Notify::SelChange, IDC_USB_DELAY, [this] { OnSelChangeDelay(); });
}

void CUsbDelayDlg::OnInitDialog() {
    std::vector<std::string> items;
    for (int i = 0; i < kDelayCount; ++i) items.push_back(DelayListLabel(i));
    SetItems(IDC_USB_DELAY, std::move(items));
    SelectString(IDC_USB_DELAY, m_delayText);
    SetText(IDC_USB_DELAY, m_delayText);
}

void CUsbDelayDlg::OnSelChangeDelay() {
    m_selectedIndex = Selection(IDC_USB_DELAY);
}

bool CUsbDelayDlg::OnOK() {
    m_delayText = Text(IDC_USB_DELAY);
    return true;
}
