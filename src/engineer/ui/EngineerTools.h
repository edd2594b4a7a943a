#pragma once
// The engineer commands of the view: Engineer Logon, Engineer Data (with its
// Advanced Engineer Data) and the Falsing Alert Adjustment. It owns the
// dialogs for as long as the view lives, so the logon keeps its password and
// each dialog is refilled from the codeplug whenever it opens.
#include <QObject>
#include <QPointer>

#include "codeplug/CCodeplug.h"
#include "engineer/CEngineerDataDlg.h"
#include "engineer/CEngineerLogonDlg.h"
#include "engineer/CFalsingAlertDlg.h"
#include "ui/qt/CBoundDialog.h"

class QWidget;
namespace ui {
class Prompt;
}

class EngineerTools : public QObject {
    Q_OBJECT
public:
    // `window` owns the dialogs' windows; `plug` is the document's codeplug.
    EngineerTools(CCodeplug& plug, ui::Prompt& prompt, QWidget* window, QObject* parent = nullptr);

    // The dialogs open window-modal and return at once; their outcome takes
    // effect when they close.
    void OnEngineerLogon();
    void OnEngineerData();
    void OnFalsingAlert();

    CEngineerLogonDlg& Logon() { return m_logon; }
    CEngineerDataDlg& Data() { return m_data; }
    CFalsingAlertDlg& Falsing() { return m_falsing; }
    ui::qt::CBoundDialog* LogonWindow() const { return m_logonWindow; }
    ui::qt::CBoundDialog* DataWindow() const { return m_dataWindow; }
    ui::qt::CBoundDialog* AdvancedWindow() const { return m_advancedWindow; }
    ui::qt::CBoundDialog* FalsingWindow() const { return m_falsingWindow; }

signals:
    // A logon recomputed the engineer flag.
    void engineerChanged(bool engineer);
    // An OK wrote into the codeplug (or an Engineer Data dialog closed,
    // which may have changed the current band and split).
    void codeplugChanged();

private:
    void RunAdvanced(CAdvancedEngineerDlg& dlg, std::function<void(bool)> done);

    CCodeplug& m_plug;
    ui::Prompt& m_prompt;
    QPointer<QWidget> m_window;
    CEngineerLogonDlg m_logon;
    CEngineerDataDlg m_data;
    CFalsingAlertDlg m_falsing;
    QPointer<ui::qt::CBoundDialog> m_logonWindow;
    QPointer<ui::qt::CBoundDialog> m_dataWindow;
    QPointer<ui::qt::CBoundDialog> m_advancedWindow;
    QPointer<ui::qt::CBoundDialog> m_falsingWindow;
    std::function<void(bool)> m_advancedDone;
};
