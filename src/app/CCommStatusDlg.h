#pragma once
// The "Communication Status" dialog that holds the user while a transfer
// runs: its timer drives the progress bar, and the tick after the result
// arrives shows the outcome (or, for a successful read, closes at once).
#include <functional>
#include <string>

#include "ui/CDialogModel.h"

enum : int {
    IDD_COMM_STATUS = 139,
    IDC_STATUS_GROUP = 1135,
    IDC_PROGRESS_LABEL = 1134,
    IDC_PROGRESS = 1133,
    IDC_STATUS_TEXT = 1346,
    IDC_STATUS_YES = 1345,
    IDC_STATUS_PICTURE = 1347,
};

class CCommStatusDlg : public ui::CDialogModel {
public:
    enum class Beep { Exclamation, Hand };
    static constexpr int kTimerId = 1;
    static constexpr int kReadTick = 50;
    static constexpr int kWriteTick = 100;
    static constexpr int kResultCount = 1000;
    static constexpr const char* kReadDone = "READ";
    static constexpr const char* kStarted =
        "Serial Communication Started. Please DO NOT remove the pager from the programmer!";

    CCommStatusDlg();

    // Shared transfer state, written by the view's commands and result handlers.
    int tickInterval = kReadTick;
    int progressCount = 0;
    std::string resultText;
    int resultFlag = 0;

    // Called by the view's result handlers.
    void SetResult(const std::string& text, int flag);
    // True from the dialog's opening until the transfer's result arrived.
    bool Running() const { return m_running; }
    // The dialog's text member (control 1346).
    const std::string& Message() const { return m_text; }

    void SetBeeper(std::function<void(Beep)> beeper) { m_beep = std::move(beeper); }

    void OnInitDialog() override;
    void OnTimer(int timerId) override;
    // Escape and the close box wait for the result, so that no transfer keeps
    // running behind a closed dialog and no second one can start.
    bool CanCancel() const override { return !m_running; }

private:
    void Sound(Beep b) {
        if (m_beep) m_beep(b);
    }

    std::string m_text;
    bool m_running = false;
    std::function<void(Beep)> m_beep;
};
