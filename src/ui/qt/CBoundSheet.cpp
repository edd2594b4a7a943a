#include "ui/qt/CBoundSheet.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/qt/FitScrollArea.h"
#include "ui/qt/ScreenFit.h"

namespace ui::qt {

namespace {

// +1 or -1 for the keys that change pages, 0 for any other key.
int PageStep(const QKeyEvent& key) {
    const Qt::KeyboardModifiers mods = key.modifiers() & ~Qt::KeypadModifier;
    if (!(mods & Qt::ControlModifier) || (mods & (Qt::AltModifier | Qt::MetaModifier))) return 0;
    const bool shift = mods & Qt::ShiftModifier;
    switch (key.key()) {
        case Qt::Key_Tab:
            return shift ? -1 : 1;
        case Qt::Key_Backtab:
            return -1;
        case Qt::Key_PageDown:
            return shift ? 0 : 1;
        case Qt::Key_PageUp:
            return shift ? 0 : -1;
    }
    return 0;
}

bool IsHelpKey(const QKeyEvent& key) {
    return key.key() == Qt::Key_F1 && (key.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

}  // namespace

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
    qApp->installEventFilter(this);
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
        // The page scrolls in its tab when the screen is too small for it, so
        // OK and Cancel stay on the screen.
        m_tabs->addTab(new FitScrollArea(w), QString::fromStdString(page.Caption()));
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
    // The whole of every page when the screen has room, else what it has;
    // a size the user chose is kept as long as it fits.
    resize(FitToScreen(this, m_sized ? size() : sizeHint()));
    m_hinted = m_hinted.expandedTo(sizeHint());
    m_sized = true;
    if (parentWidget()) setWindowModality(Qt::WindowModal);
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

bool CBoundSheet::event(QEvent* event) {
    const bool handled = QDialog::event(event);
    // The layout has taken the request by now, so sizeHint() is current.
    if (event->type() == QEvent::LayoutRequest && isVisible()) FollowPagesHint();
    return handled;
}

void CBoundSheet::FollowPagesHint() {
    const QSize hint = sizeHint();
    QSize wanted = size();
    if (hint.width() > m_hinted.width()) wanted.setWidth(std::max(wanted.width(), hint.width()));
    if (hint.height() > m_hinted.height())
        wanted.setHeight(std::max(wanted.height(), hint.height()));
    m_hinted = m_hinted.expandedTo(hint);
    wanted = FitToScreen(this, wanted);
    if (wanted == size()) return;
    resize(wanted);
    KeepOnScreen(this);
}

void CBoundSheet::Sync() {
    for (DialogBinder* b : m_binders) b->Push();
}

bool CBoundSheet::LeaveFocusedField() {
    QWidget* f = QApplication::focusWidget();
    if (!f || !isAncestorOf(f)) return true;
    DialogBinder* b = PageBinder(m_shownTab);
    QWidget* w = f;
    while (w && w != this &&
           (!b || DialogBinder::ControlId(w) == 0 || b->Widget(DialogBinder::ControlId(w)) != w))
        w = w->parentWidget();
    if (!b || !w || w == this) return true;
    CPropertyPage& page = *m_sheet.Page(m_shownTab);
    page.FocusFromUser(DialogBinder::ControlId(w), false);
    const bool refused = page.PendingFocus() != 0;
    b->Push();
    return !refused;
}

void CBoundSheet::accept() {
    // Enter presses OK without leaving the field being edited: let the field
    // be left first, as a click on OK would, so what was typed is taken (or
    // refused, and the sheet stays open on it) by the field's own rules.
    if (!LeaveFocusedField()) return;
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

void CBoundSheet::StepPage(int step) {
    const int count = m_tabs->count();
    if (count < 2) return;
    // As a click on the tab would: the focus goes to the tabs, so the field
    // being edited is left first, and a field that refuses what was typed
    // takes the focus back and keeps the page in front.
    QTabBar* bar = m_tabs->tabBar();
    if (!bar->hasFocus()) {
        bar->setFocus(Qt::TabFocusReason);
        if (!bar->hasFocus()) return;
    }
    m_tabs->setCurrentIndex((m_tabs->currentIndex() + step + count) % count);
}

bool CBoundSheet::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if ((type != QEvent::KeyPress && type != QEvent::ShortcutOverride) || !isVisible())
        return QDialog::eventFilter(watched, event);
    auto* w = qobject_cast<QWidget*>(watched);
    if (!w || (w != this && !isAncestorOf(w))) return QDialog::eventFilter(watched, event);
    const auto& key = *static_cast<QKeyEvent*>(event);
    const int step = PageStep(key);
    const bool help = IsHelpKey(key);
    if (step == 0 && !help) return QDialog::eventFilter(watched, event);
    // Claim the key from shortcuts; it then arrives as a key press.
    event->accept();
    if (type == QEvent::ShortcutOverride) return true;
    if (step != 0)
        StepPage(step);
    else if (CPropertyPage* page = m_sheet.Page(m_shownTab))
        emit helpRequested(page->ResourceId());
    return true;
}

}  // namespace ui::qt
