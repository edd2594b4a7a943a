#include "engineer/ui/EngineerTools.h"

#include "engineer/ui/EngineerLayouts.h"

EngineerTools::EngineerTools(CCodeplug& plug, ui::Prompt& prompt, QWidget* window, QObject* parent)
    : QObject(parent), m_plug(plug), m_prompt(prompt), m_window(window) {
    m_logon.SetPrompt(&m_prompt);
    m_data.SetPrompt(&m_prompt);
    m_falsing.SetPrompt(&m_prompt);
    m_data.SetAdvancedRunner([this](CAdvancedEngineerDlg& dlg, std::function<void(bool)> done) {
        RunAdvanced(dlg, std::move(done));
    });
}

void EngineerTools::OnEngineerLogon() {
    if (!m_logonWindow) {
        m_logonWindow = engineer::layouts::EngineerLogon(m_logon, m_window);
        // However the box was closed, the kept password decides.
        connect(m_logonWindow, &QDialog::finished, this,
                [this](int) { emit engineerChanged(m_logon.Conclude()); });
    }
    m_logonWindow->ShowModal();
}

void EngineerTools::OnEngineerData() {
    m_data.Load(m_plug);
    if (!m_dataWindow) {
        m_dataWindow = engineer::layouts::EngineerData(m_data, m_window);
        connect(m_dataWindow, &QDialog::finished, this, [this](int result) {
            if (result == QDialog::Accepted) m_data.Store(m_plug);
            emit codeplugChanged();
        });
    }
    m_dataWindow->ShowModal();
}

void EngineerTools::RunAdvanced(CAdvancedEngineerDlg& dlg, std::function<void(bool)> done) {
    m_advancedDone = std::move(done);
    if (!m_advancedWindow) {
        m_advancedWindow = engineer::layouts::AdvancedEngineer(dlg, m_dataWindow);
        connect(m_advancedWindow, &QDialog::finished, this, [this](int result) {
            if (auto done = std::exchange(m_advancedDone, nullptr))
                done(result == QDialog::Accepted);
        });
    }
    m_advancedWindow->ShowModal();
}

void EngineerTools::OnFalsingAlert() {
    m_falsing.Load(m_plug);
    if (!m_falsingWindow) {
        m_falsingWindow = engineer::layouts::FalsingAlert(m_falsing, m_window);
        connect(m_falsingWindow, &QDialog::finished, this, [this](int result) {
            if (result != QDialog::Accepted) return;
            m_falsing.Store(m_plug);
            emit codeplugChanged();
        });
    }
    m_falsingWindow->ShowModal();
    // The note about a block without a preset comes and goes: fit it.
    m_falsingWindow->adjustSize();
}
