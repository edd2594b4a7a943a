#include "ui/qt/CBoundSheet.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

namespace ui::qt {

CBoundSheet::CBoundSheet(CPropertySheet& sheet, QWidget* parent)
    : QDialog(parent), m_sheet(sheet), m_tabs(new QTabWidget(this)) {
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(m_tabs);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m_ok = new QPushButton("OK", this);
    m_cancel = new QPushButton("Cancel", this);
    m_ok->setObjectName(QString::number(IDOK));
    m_cancel->setObjectName(QString::number(IDCANCEL));
    m_ok->setDefault(true);
    m_ok->setAutoDefault(true);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    outer->addLayout(buttons);
    connect(m_ok, &QPushButton::clicked, this, &CBoundSheet::accept);
    connect(m_cancel, &QPushButton::clicked, this, &CBoundSheet::reject);
    connect(m_tabs, &QTabWidget::currentChanged, this, &CBoundSheet::OnTabChanged);
}

CBoundSheet::~CBoundSheet() {
    for (DialogBinder* b : m_binders) b->Detach();
}

void CBoundSheet::SetPageLayout(int resourceId, PageLayout layout) {
    m_layouts[resourceId] = std::move(layout);
}

DialogBinder* CBoundSheet::PageBinder(int index) const {
    if (index < 0 || index >= static_cast<int>(m_binders.size())) return nullptr;
    return m_binders[static_cast<std::size_t>(index)];
}

QWidget* CBoundSheet::PageWidget(int index) const {
    if (index < 0 || index >= static_cast<int>(m_pages.size())) return nullptr;
    return m_pages[static_cast<std::size_t>(index)];
}

void CBoundSheet::Build() {
    QSignalBlocker block(m_tabs);
    for (DialogBinder* b : m_binders) b->Detach();
    while (m_tabs->count() > 0) {
        QWidget* w = m_tabs->widget(0);
        m_tabs->removeTab(0);
        w->deleteLater();
    }
    m_binders.clear();
    m_pages.clear();
    for (int i = 0; i < m_sheet.PageCount(); ++i) {
        CPropertyPage& page = *m_sheet.Page(i);
        auto* w = new QWidget;
        auto it = m_layouts.find(page.ResourceId());
        if (it != m_layouts.end() && it->second) it->second(w, page);
        m_tabs->addTab(w, QString::fromStdString(page.Caption()));
        auto* binder = new DialogBinder(page, w);
        m_binders.push_back(binder);
        m_pages.push_back(w);
    }
}

void CBoundSheet::ShowModal() {
    setWindowTitle(QString::fromStdString(m_sheet.Caption()));
    Build();
    m_sheet.Begin();
    m_shownTab = m_sheet.ActiveIndex();
    // Controls of a page exist from its first activation; binding then lets
    // the page's OnInitDialog state win over the widgets' defaults.
    if (DialogBinder* b = PageBinder(m_shownTab)) b->Bind();
    {
        QSignalBlocker block(m_tabs);
        m_tabs->setCurrentIndex(m_shownTab);
    }
    setModal(true);
    show();
}

int CBoundSheet::RunModal() {
    ShowModal();
    return exec() == QDialog::Accepted ? IDOK : IDCANCEL;
}

void CBoundSheet::OnTabChanged(int index) {
    if (m_switching) return;
    int from = m_shownTab;
    bool moved = m_sheet.SetActivePage(index);
    if (DialogBinder* b = PageBinder(from)) b->Push();
    if (!moved) {
        m_switching = true;
        m_tabs->setCurrentIndex(from);
        m_switching = false;
        if (DialogBinder* b = PageBinder(from)) b->Push();
        return;
    }
    m_shownTab = index;
    if (DialogBinder* b = PageBinder(index)) {
        b->Bind();  // new widgets only; then pushes
    }
}

void CBoundSheet::Sync() {
    for (DialogBinder* b : m_binders) b->Push();
}

void CBoundSheet::accept() {
    // Enter presses OK without leaving the field being edited: let the field
    // be left first, as a click on OK would, so what was typed is taken (or
    // refused) by the field's own rules.
    if (QWidget* f = QApplication::focusWidget(); f && isAncestorOf(f)) {
        DialogBinder* b = PageBinder(m_shownTab);
        QWidget* w = f;
        while (
            w && w != this &&
            (!b || DialogBinder::ControlId(w) == 0 || b->Widget(DialogBinder::ControlId(w)) != w))
            w = w->parentWidget();
        if (b && w && w != this) {
            CPropertyPage& page = *m_sheet.Page(m_shownTab);
            page.FocusFromUser(DialogBinder::ControlId(w), false);
            const bool refused = page.PendingFocus() != 0;
            b->Push();
            if (refused) return;
        }
    }
    m_sheet.ClickFromUser(IDOK);
    Sync();
    if (m_sheet.PendingEnd()) Finish(m_sheet.PendingEnd());
}

void CBoundSheet::reject() {
    m_sheet.CancelFromUser();
    if (m_sheet.PendingEnd()) Finish(m_sheet.PendingEnd());
}

void CBoundSheet::Finish(int result) {
    m_sheet.ClearPendingEnd();
    // Hiding the window moves the focus; the run is over for the pages.
    for (DialogBinder* b : m_binders) b->Detach();
    QDialog::done(result == IDOK ? QDialog::Accepted : QDialog::Rejected);
}

}  // namespace ui::qt
