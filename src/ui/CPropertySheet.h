#pragma once
// A tabbed property sheet without Qt: it holds the pages added for one run,
// switches between them (asking the page in front whether it may be left)
// and ends with OK only when the page in front accepts its fields. There is
// no Apply button: no page of this program ever marks itself modified.
#include <string>
#include <vector>

#include "ui/CPropertyPage.h"

namespace ui {

class CPropertySheet : public CDialogModel {
public:
    explicit CPropertySheet(std::string title = {});

    void AddPage(CPropertyPage* page);
    // Drops every page (their controls die with the run).
    void RemoveAllPages();
    int PageCount() const { return static_cast<int>(m_pages.size()); }
    CPropertyPage* Page(int index) const;
    int PageIndex(const CPropertyPage* page) const;

    // Starts a run: every page without controls, the first page in front.
    void Begin();
    int ActiveIndex() const { return m_active; }
    CPropertyPage* ActivePage() const { return Page(m_active); }
    // The user picks another tab. False (and the old page stays) when the page
    // in front refuses to be left or the new one refuses to come forward.
    bool SetActivePage(int index);
    // OK: the page in front is left, then every created page gets OnOK.
    bool OnOK() override;
    void OnCancel() override;
    // The run is over: controls of every page go.
    void End();

    // How the last run ended: IDOK, IDCANCEL, or 0 while running.
    int Result() const { return m_result; }

    // Prompt for the sheet and every page added from now on.
    void SetPagesPrompt(Prompt* prompt);

private:
    std::vector<CPropertyPage*> m_pages;
    int m_active = -1;
    int m_result = 0;
    Prompt* m_pagePrompt = nullptr;
};

}  // namespace ui
