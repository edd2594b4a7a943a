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

class QKeyEvent;
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
    // returns IDOK or IDCANCEL. The sheet blocks only its parent's window,
    // so a help window of its own stays usable.
    int RunModal();
    // The same without waiting (tests): the result arrives through finished().
    void ShowModal();

    QTabWidget* Tabs() const { return m_tabs; }
    // The binder of the page at a tab index (null before the run).
    DialogBinder* PageBinder(int index) const;
    // The page's own widget; it scrolls inside its tab when the screen is
    // too small for it.
    QWidget* PageWidget(int index) const;
    // Copies every page model to its widgets after an outside change.
    void Sync();

signals:
    // F1 anywhere in the sheet: help on the page in front.
    void helpRequested(int pageResourceId);

public slots:
    void accept() override;
    void reject() override;

protected:
    // Ctrl+Tab, Ctrl+Shift+Tab, Ctrl+PageDown and Ctrl+PageUp change pages
    // from every control, and F1 asks for help, before a control (a drop-down
    // list above all) can take the key for itself.
    bool eventFilter(QObject* watched, QEvent* event) override;
    // A page that asks for more room than it had (its lists filled when it
    // was first shown, with the fonts of this machine) widens the sheet.
    bool event(QEvent* event) override;

private:
    void Build();
    void OnTabChanged(int index);
    void Finish(int result);
    // Lets the field with the focus be left as a click elsewhere would, so
    // its own rules take or refuse what was typed; false when it refused.
    bool LeaveFocusedField();
    void StepPage(int step);
    // Grows the window where the pages now ask for more than they asked for
    // before, as far as the screen has room; a size the user chose stays
    // otherwise.
    void FollowPagesHint();

    CPropertySheet& m_sheet;
    QTabWidget* m_tabs;
    QPushButton* m_ok;
    QPushButton* m_cancel;
    std::map<int, PageLayout> m_layouts;
    std::vector<DialogBinder*> m_binders;
    std::vector<QWidget*> m_pages;
    int m_shownTab = -1;
    bool m_switching = false;
    bool m_sized = false;
    // The largest size the pages asked for that the window took into account.
    QSize m_hinted;
};

}  // namespace ui::qt
