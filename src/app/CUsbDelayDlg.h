#pragma once
// "USB Delay Time": how long a write waits for the pager's answer.
#include <string>

#include "ui/CDialogModel.h"

enum : int { IDD_USB_DELAY = 165, IDC_USB_DELAY = 1342 };

class CUsbDelayDlg : public ui::CDialogModel {
public:
    static constexpr const char* kExplanation =
        "When a USB - RS232 cable is used, the HXR needs extra time to perform the Write "
        "operation. If you can Read a pager, but cannot complete the Write operation, extending "
        "this delay time may help resolve the communication error.";

    CUsbDelayDlg();

    std::string m_delayText;
    int m_selectedIndex = 1;

    void OnInitDialog() override;
    bool OnOK() override;

private:
    void OnSelChangeDelay();
};
