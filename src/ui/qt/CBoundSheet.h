#pragma once
// A property sheet window driven by a CPropertySheet: one tab per page, OK and
// Cancel below. Each page's widgets come from a layout function registered
// for its resource id, and a binder per page mirrors the page model.
#include <QDialog>
#include <functional>
#include <map>
#include <vector>

#include "ui/CPropertySheet.h"
#include "ui/qt/DialogBinder.h"

class QTabWidget;
class QPushButton;

namespace ui::qt {

class CBoundSheet : public QDialog {
    Q_OBJECT
public:
    // Builds the page's widgets (objectName = control id) into `page`.
    using PageLayout = std::function<void(QWidget* page, CPropertyPage& model)>;

    CBoundSheet(CPropertySheet& sheet, QWidget* parent = nullptr);
    // Widgets going away lose the focus; the pages hear nothing of it.
    ~CBoundSheet() override;

    void SetPageLayout(int resourceId, PageLayout layout);

    // Starts a run with the pages the sheet holds and waits for its end;
    // returns IDOK or IDCANCEL.
    int RunModal();
    // The same without waiting (tests): the result arrives through finished().
    void ShowModal();

    QTabWidget* Tabs() const { return m_tabs; }
    // The binder of the page at a tab index (null before the run).
    DialogBinder* PageBinder(int index) const;
    QWidget* PageWidget(int index) const;
    // Copies every page model to its widgets after an outside change.
    void Sync();

public slots:
    void accept() override;
    void reject() override;

private:
    void Build();
    void OnTabChanged(int index);
    void Finish(int result);

    CPropertySheet& m_sheet;
    QTabWidget* m_tabs;
    QPushButton* m_ok;
    QPushButton* m_cancel;
    std::map<int, PageLayout> m_layouts;
    std::vector<DialogBinder*> m_binders;
    std::vector<QWidget*> m_pages;
    int m_shownTab = -1;
    bool m_switching = false;
};

}  // namespace ui::qt
