#include "ui/CPropertyPage.h"

namespace ui {

bool CPropertyPage::UpdateData(bool saveAndValidate) {
    DataExchange dx(*this, saveAndValidate);
    DoDataExchange(dx);
    Touch();
    return !dx.Failed();
}

void CPropertyPage::Create() {
    if (m_created) return;
    m_created = true;
    m_firstActive = true;
    OnInitDialog();
}

void CPropertyPage::Destroy() {
    m_created = false;
    m_firstActive = true;
}

bool CPropertyPage::OnSetActive() {
    // The first activation follows OnInitDialog, which has just loaded the controls.
    if (m_firstActive)
        m_firstActive = false;
    else
        UpdateData(false);
    return true;
}

bool CPropertyPage::OnKillActive() {
    return UpdateData(true);
}

}  // namespace ui
