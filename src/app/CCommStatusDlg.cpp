#include "app/CCommStatusDlg.h"

#include "app/Resources.h"

CCommStatusDlg::CCommStatusDlg() : CDialogModel(IDD_COMM_STATUS, "Communication Status") {
    Control(IDC_STATUS_GROUP);
    Control(IDC_PROGRESS_LABEL).text = "Progress:";
    Control(IDC_PROGRESS);
    Control(IDC_STATUS_TEXT);
    ui::ControlState& yes = Control(IDC_STATUS_YES);
    yes.text = "Yes";
    yes.visible = false;
    Control(ui::IDOK).text = "&OK";
    Control(IDC_STATUS_PICTURE).image = art::IDB_RUNNING;
}

void CCommStatusDlg::SetResult(const std::string& text, int flag) {
    progressCount = kResultCount;
    resultText = text;
    resultFlag = flag;
    m_running = false;
}

void CCommStatusDlg::OnInitDialog() {
    SetTimer(kTimerId, tickInterval);
    Enable(ui::IDOK, false);
    m_text = kStarted;
    progressCount = 0;
    m_running = true;
    SetImage(IDC_STATUS_PICTURE, art::IDB_RUNNING);
    SetPosition(IDC_PROGRESS, 0);
    SetText(IDC_STATUS_TEXT, m_text);
}

void CCommStatusDlg::OnTimer(int timerId) {
    if (timerId != kTimerId) return;
    SetPosition(IDC_PROGRESS, progressCount);
    ++progressCount;
    if (progressCount > kResultCount && m_running) {
        // No result yet: keep waiting with a full bar. The link's time-outs end
        // every transfer, and the result is what ends the dialog.
        progressCount = kResultCount;
    } else if (progressCount > kResultCount) {
        Enable(ui::IDOK, true);
        KillTimer(kTimerId);
        if (resultText == kReadDone) {
            Sound(Beep::Exclamation);
            EndDialog(ui::IDCANCEL);
        } else {
            m_text = resultText;
            if (resultFlag == 1) {
                SetImage(IDC_STATUS_PICTURE, art::IDB_SUCCESS);
                Sound(Beep::Exclamation);
            } else {
                SetImage(IDC_STATUS_PICTURE, art::IDB_FAILED);
                Sound(Beep::Hand);
            }
        }
    }
    SetText(IDC_STATUS_TEXT, m_text);
}
