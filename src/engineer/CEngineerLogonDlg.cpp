#include "engineer/CEngineerLogonDlg.h"

#include "codeplug/CodeplugContext.h"
#include "engineer/EngineerIds.h"

using namespace engineer;

CEngineerLogonDlg::CEngineerLogonDlg() : CDialogModel(IDD_ENGINEER_LOGON, "Engineer Logon") {
    Control(ui::IDOK).text = "OK";
    Control(ui::IDCANCEL).text = "Cancel";
}

void CEngineerLogonDlg::OnInitDialog() {
    SetText(IDC_PASSWORD, m_password);
    RequestFocus(IDC_PASSWORD);
}

bool CEngineerLogonDlg::OnOK() {
    m_password = Text(IDC_PASSWORD);
    return true;
}

bool CEngineerLogonDlg::Conclude() {
    // Exact and case-sensitive; Cancel leaves the member, so a cancelled
    // logon repeats the outcome of the one before.
    const bool engineer = m_password == kPassword;
    CodeplugContext::Get().engineer = engineer;
    return engineer;
}
