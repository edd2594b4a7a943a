#include "ui/CPropertySheet.h"

#include <algorithm>

namespace ui {

CPropertySheet::CPropertySheet(std::string title) : CDialogModel(0, std::move(title)) {}

void CPropertySheet::SetPagesPrompt(Prompt* prompt) {
    SetPrompt(prompt);
    m_pagePrompt = prompt;
    for (CPropertyPage* p : m_pages) p->SetPrompt(prompt);
}

void CPropertySheet::AddPage(CPropertyPage* page) {
    if (!page || PageIndex(page) >= 0) return;
    if (m_pagePrompt) page->SetPrompt(m_pagePrompt);
    m_pages.push_back(page);
    Touch();
}

void CPropertySheet::RemoveAllPages() {
    for (CPropertyPage* p : m_pages) p->Destroy();
    m_pages.clear();
    m_active = -1;
    Touch();
}

CPropertyPage* CPropertySheet::Page(int index) const {
    if (index < 0 || index >= PageCount()) return nullptr;
    return m_pages[static_cast<std::size_t>(index)];
}

int CPropertySheet::PageIndex(const CPropertyPage* page) const {
    auto it = std::find(m_pages.begin(), m_pages.end(), page);
    return it == m_pages.end() ? -1 : static_cast<int>(it - m_pages.begin());
}

void CPropertySheet::Begin() {
    m_result = 0;
    ClearPendingEnd();
    for (CPropertyPage* p : m_pages) p->Destroy();
    m_active = -1;
    if (!m_pages.empty()) {
        m_active = 0;
        m_pages.front()->Create();
        m_pages.front()->OnSetActive();
    }
    Touch();
}

bool CPropertySheet::SetActivePage(int index) {
    CPropertyPage* next = Page(index);
    if (!next) return false;
    if (index == m_active) return true;
    if (CPropertyPage* cur = ActivePage(); cur && !cur->OnKillActive()) return false;
    next->Create();
    if (!next->OnSetActive()) return false;
    m_active = index;
    Touch();
    return true;
}

bool CPropertySheet::OnOK() {
    if (CPropertyPage* cur = ActivePage(); cur && !cur->OnKillActive()) return false;
    for (CPropertyPage* p : m_pages)
        if (p->Created() && !p->OnOK()) return false;
    m_result = IDOK;
    return true;
}

void CPropertySheet::OnCancel() {
    for (CPropertyPage* p : m_pages)
        if (p->Created()) p->OnCancel();
    m_result = IDCANCEL;
}

void CPropertySheet::End() {
    for (CPropertyPage* p : m_pages) p->Destroy();
    m_active = -1;
    Touch();
}

}  // namespace ui
