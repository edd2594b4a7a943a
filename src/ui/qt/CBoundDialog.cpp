#include "ui/qt/CBoundDialog.h"

namespace ui::qt {

CBoundDialog::CBoundDialog(CDialogModel& model, QWidget* parent)
    : QDialog(parent), m_model(model), m_binder(new DialogBinder(model, this)) {
    setWindowTitle(QString::fromStdString(model.Caption()));
    // No "?" button: dialogs of this program have a caption and close box only.
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    connect(m_binder, &DialogBinder::endRequested, this,
            [this](int result) { done(result == IDOK ? QDialog::Accepted : QDialog::Rejected); });
}

void CBoundDialog::Init() {
    m_model.ClearPendingEnd();
    m_ended = false;
    if (!m_bound) {
        m_binder->Bind();
        m_bound = true;
    }
    m_model.OnInitDialog();
    setWindowTitle(QString::fromStdString(m_model.Caption()));
    m_binder->Push();
}

void CBoundDialog::ShowModal() {
    Init();
    setModal(true);
    // OnInitDialog may already have ended the dialog.
    if (!m_ended) show();
}

int CBoundDialog::RunModal() {
    Init();
    if (m_ended) return result();
    return exec();
}

void CBoundDialog::accept() {
    m_model.ClickFromUser(IDOK);
    m_binder->Push();
}

void CBoundDialog::reject() {
    m_model.CancelFromUser();
    m_binder->Push();
}

void CBoundDialog::done(int result) {
    // Window timers die with the window.
    for (auto it = m_model.Timers().begin(); it != m_model.Timers().end();)
        m_model.KillTimer((it++)->first);
    m_binder->Push();
    m_ended = true;
    QDialog::done(result);
}

}  // namespace ui::qt
