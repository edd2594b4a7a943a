#pragma once
// A dialog window driven by a model: per-dialog code only lays out widgets
// (objectName = control id); OK, Cancel, Escape, the close box and timers all
// go through the model.
#include <QDialog>

#include "ui/CDialogModel.h"
#include "ui/qt/DialogBinder.h"

namespace ui::qt {

class CBoundDialog : public QDialog {
    Q_OBJECT
public:
    CBoundDialog(CDialogModel& model, QWidget* parent = nullptr);

    CDialogModel& Model() { return m_model; }
    DialogBinder& Binder() { return *m_binder; }

    // Runs the model's OnInitDialog and shows the dialog modally. ShowModal
    // returns at once (the result arrives through finished()); RunModal waits.
    void ShowModal();
    int RunModal();
    // Copies the model's state to the widgets after an outside change.
    void Sync() { m_binder->Push(); }

public slots:
    void accept() override;
    void reject() override;
    void done(int result) override;

private:
    void Init();

    CDialogModel& m_model;
    DialogBinder* m_binder;
    bool m_bound = false;
    bool m_ended = false;
};

}  // namespace ui::qt
