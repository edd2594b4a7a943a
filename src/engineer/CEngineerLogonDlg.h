#pragma once
// "Engineer Logon": a password box. The dialog lives as long as the view, so
// the password typed last stays in it; every logon, however the box was
// closed, recomputes the engineer flag from that password.
#include <string>

#include "ui/CDialogModel.h"

class CEngineerLogonDlg : public ui::CDialogModel {
public:
    static constexpr const char* kPassword = "Quorin";
    static constexpr const char* kGroupText = "In Order to View Engineer Data";
    static constexpr const char* kLabelText = "Please Enter Password:";

    CEngineerLogonDlg();

    std::string m_password;

    void OnInitDialog() override;
    bool OnOK() override;

    // After the box has closed (OK or not): sets the engineer flag of
    // CodeplugContext when the kept password is exactly the engineer
    // password, clears it otherwise. Returns the new flag.
    bool Conclude();
};
