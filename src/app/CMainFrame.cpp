#include "app/CMainFrame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QWhatsThis>
#include <algorithm>

#include "app/Artwork.h"
#include "app/CTarnixHXRApp.h"
#include "app/CTarnixHXRDoc.h"
#include "app/CTarnixHXRView.h"
#include "app/CommandIds.h"
#include "app/CommandTable.h"
#include "ui/qt/ScreenFit.h"

using namespace cmd;

CMainFrame::CMainFrame(CTarnixHXRApp& app, CTarnixHXRDoc& doc, CTarnixHXRView* view)
    : m_app(app), m_doc(doc), m_view(view) {
    setObjectName("mainFrame");
    setWindowIcon(art::AppIcon());
    setCentralWidget(m_view);
    // Status bar first, then the toolbar, as the frame creates them.
    CreateStatusBar();
    CreateMenus();
    CreateToolBar();
    CreateAccelerators();
    connect(&m_doc, &CTarnixHXRDoc::changed, this, [this] {
        UpdateCaption();
        UpdateCommandUI();
    });
    connect(m_view, &CTarnixHXRView::commandStateChanged, this, &CMainFrame::UpdateCommandUI);
    connect(m_view, &CTarnixHXRView::statusMessage, this, &CMainFrame::ShowProgramMessage);
    connect(m_view, &CTarnixHXRView::helpRequested, this,
            [this](const QString& anchor) { m_app.ShowHelpSection(anchor); });
    qApp->installEventFilter(this);
    UpdateCaption();
    UpdateCommandUI();
    // Smaller where the screen is (a laptop at 150 or 200 %), so the status
    // bar stays on it.
    resize(ui::qt::FitToScreen(this, QSize(720, 480)));
}

QAction* CMainFrame::Action(int id) const {
    auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

QLabel* CMainFrame::Indicator(const char* text) const {
    auto it = m_indicators.find(text);
    return it == m_indicators.end() ? nullptr : it->second;
}

QAction* CMainFrame::MakeAction(int id, const char* text) {
    QAction*& a = m_actions[id];
    if (!a) {
        // A tab in the text shows the accelerator, as Windows menus do.
        a = new QAction(QString::fromUtf8(text), this);
        a->setObjectName(QString::number(id));
        a->setStatusTip(QString::fromStdString(StatusText(id)));
        a->setToolTip(QString::fromStdString(ToolTipText(id)));
        // What the context help button shows for a clicked button.
        a->setWhatsThis(a->statusTip());
        a->setIcon(art::ToolbarIcon(id));
        a->setIconVisibleInMenu(false);
        connect(a, &QAction::triggered, this, [this, id] { OnCommand(id); });
        addAction(a);
    }
    return a;
}

void CMainFrame::CreateMenus() {
    QMenu* file = menuBar()->addMenu("&File");
    file->addAction(MakeAction(ID_FILE_OPEN, "&Open...\tCtrl+O"));
    file->addAction(MakeAction(ID_FILE_SAVE, "&Save\tCtrl+S"));
    file->addAction(MakeAction(ID_FILE_SAVE_AS, "Save &As..."));
    file->addSeparator();
    file->addAction(MakeAction(ID_FILE_PRINT_PREVIEW, "Print Pre&view"));
    file->addAction(MakeAction(ID_FILE_PRINT, "&Print...\tCtrl+P"));
    file->addSeparator();
    file->addAction(MakeAction(ID_APP_EXIT, "E&xit"));

    QMenu* op = menuBar()->addMenu("Operation");
    op->addAction(MakeAction(ID_READ_PAGER, "Read Pager\tF3"));
    op->addAction(MakeAction(ID_WRITE_PAGER, "Write Pager\tF7"));
    op->addSeparator();
    op->addAction(MakeAction(ID_PROGRAM_FLEET, "Program Fleet..."));

    QMenu* view = menuBar()->addMenu("&View");
    view->addAction(MakeAction(ID_USER_DATA, "&User Data\tF5"));
    view->addSeparator();
    QAction* toolbar = MakeAction(ID_VIEW_TOOLBAR, "&Toolbar");
    toolbar->setCheckable(true);
    view->addAction(toolbar);
    QAction* status = MakeAction(ID_VIEW_STATUS_BAR, "&Status Bar");
    status->setCheckable(true);
    view->addAction(status);

    QMenu* tools = menuBar()->addMenu("&Tools");
    tools->addAction(MakeAction(ID_SYSTEM_SETUP, "&System Setup\tF9"));
    tools->addAction(MakeAction(ID_USB_DELAY, "USB Delay Time"));

    QMenu* help = menuBar()->addMenu("&Help");
    help->addAction(MakeAction(ID_HELP_FINDER, "&Help Topics"));
    help->addSeparator();
    help->addAction(MakeAction(ID_APP_ABOUT, "&About Calvex V HXR..."));

    for (QMenu* m : {file, op, view, tools, help})
        connect(m, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandUI);

    // In the view's command table, issued by no menu item yet.
    MakeAction(ID_ENGINEER_LOGON, "Engineer Logon");
    MakeAction(ID_ENGINEER_DATA, "Engineer Data");
}

void CMainFrame::CreateToolBar() {
    m_toolBar = addToolBar("Toolbar");
    m_toolBar->setObjectName("toolBar");
    m_toolBar->setIconSize(QSize(16, 16));
    m_toolBar->setMovable(true);
    m_toolBar->setFloatable(true);
    m_toolBar->setAllowedAreas(Qt::AllToolBarAreas);
    const int layout[] = {ID_FILE_OPEN,
                          ID_FILE_SAVE_AS,
                          0,
                          ID_READ_PAGER,
                          ID_WRITE_PAGER,
                          0,
                          ID_USER_DATA,
                          0,
                          ID_SYSTEM_SETUP,
                          0,
                          ID_FILE_PRINT,
                          0,
                          ID_APP_ABOUT,
                          ID_CONTEXT_HELP};
    for (int id : layout) {
        if (id == 0)
            m_toolBar->addSeparator();
        else
            m_toolBar->addAction(MakeAction(id, id == ID_CONTEXT_HELP ? "Help" : ""));
    }
    connect(m_toolBar, &QToolBar::visibilityChanged, this, &CMainFrame::UpdateCommandUI);
}

void CMainFrame::CreateStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName("statusBar");
    for (const char* text : {"CAP", "NUM", "SCRL"}) {
        auto* label = new QLabel(text);
        label->setObjectName(text);
        label->setAlignment(Qt::AlignCenter);
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance("SCRL") + 8);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        bar->addPermanentWidget(label);
        m_indicators[text] = label;
    }
    // A menu or toolbar prompt shows while the mouse is on its command; when
    // it goes, the pane shows the program's message again (the outcome of
    // the last transfer, kept until the next one), else the idle prompt.
    connect(bar, &QStatusBar::messageChanged, this, [this, bar](const QString& text) {
        if (text.isEmpty()) {
            if (m_message.isEmpty())
                bar->showMessage(kIdlePrompt);
            else
                FitProgramMessage(true);
            return;
        }
        // The tooltip tells more about the program's message only.
        bar->setToolTip(text == m_messageShown ? m_detail : QString());
    });
    bar->showMessage(kIdlePrompt);
    UpdateIndicators();
}

void CMainFrame::CreateAccelerators() {
    // Accelerators that no menu item shows.
    QAction* falsing = MakeAction(ID_FALSING_ALERT, "Falsing Alert Adjustment");
    falsing->setShortcuts({QKeySequence(Qt::Key_S), QKeySequence(Qt::SHIFT | Qt::Key_S)});
    MakeAction(ID_HELP, "Help")->setShortcut(QKeySequence(Qt::Key_F1));
    MakeAction(ID_DEFAULT_HELP, "Help");

    Action(ID_FILE_OPEN)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    Action(ID_FILE_PRINT)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    Action(ID_FILE_SAVE)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    Action(ID_READ_PAGER)->setShortcut(QKeySequence(Qt::Key_F3));
    Action(ID_USER_DATA)->setShortcut(QKeySequence(Qt::Key_F5));
    Action(ID_WRITE_PAGER)->setShortcut(QKeySequence(Qt::Key_F7));
    Action(ID_SYSTEM_SETUP)->setShortcut(QKeySequence(Qt::Key_F9));
}

void CMainFrame::OnCommand(int id) {
    UpdateCommandUI();
    if (QAction* a = Action(id); a && !a->isEnabled()) return;
    if (m_view->HandlesCommand(id)) {
        m_view->OnCommand(id);
        return;
    }
    switch (id) {
        case ID_FILE_OPEN:
            m_app.OnFileOpen();
            break;
        case ID_FILE_SAVE:
            m_app.OnFileSave();
            break;
        case ID_FILE_SAVE_AS:
            m_app.OnFileSaveAs();
            break;
        case ID_FILE_PRINT:
            m_view->OnFilePrint();
            break;
        case ID_FILE_PRINT_PREVIEW:
            m_view->OnFilePrintPreview();
            break;
        case ID_APP_EXIT:
            close();
            break;
        case ID_APP_ABOUT:
            m_app.OnAppAbout();
            break;
        case ID_HELP:
        case ID_HELP_FINDER:
        case ID_DEFAULT_HELP:
            m_app.OnHelp();
            break;
        case ID_CONTEXT_HELP:
            QWhatsThis::enterWhatsThisMode();
            break;
        case ID_VIEW_TOOLBAR:
            m_toolBar->setVisible(!m_toolBar->isVisible());
            break;
        case ID_VIEW_STATUS_BAR:
            statusBar()->setVisible(!statusBar()->isVisible());
            break;
    }
    UpdateCommandUI();
}

void CMainFrame::UpdateCommandUI() {
    for (auto& [id, action] : m_actions) {
        bool enabled = m_view->IsCommandEnabled(id);
        if (action->isEnabled() != enabled) action->setEnabled(enabled);
    }
    Action(ID_VIEW_TOOLBAR)->setChecked(!m_toolBar || !m_toolBar->isHidden());
    Action(ID_VIEW_STATUS_BAR)->setChecked(!statusBar()->isHidden());
}

void CMainFrame::UpdateCaption() {
    setWindowTitle(m_doc.GetTitle() + " - Calvex V HXR");
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    // The document is never modified, so closing never asks to save. A
    // running transfer holds the program until its result has arrived.
    if (!m_app.CanExit()) {
        event->ignore();
        return;
    }
    event->accept();
}

int CMainFrame::MessagePaneWidth() const {
    // As the status bar lays out its message: from 6 px in to 2 px short of
    // the first indicator pane.
    const QStatusBar* bar = statusBar();
    int right = bar->width() - 12;
    for (const auto& [text, label] : m_indicators)
        if (label->isVisible()) right = std::min(right, label->x() - 2);
    return std::max(0, right - 6);
}

void CMainFrame::ShowProgramMessage(const QString& text, const QString& detail) {
    QStatusBar* bar = statusBar();
    m_message = text;
    m_detail = detail.isEmpty() ? text : detail;
    m_messageShown.clear();
    if (text.isEmpty()) {
        m_detail.clear();
        bar->setToolTip(QString());
        bar->clearMessage();
        return;
    }
    FitProgramMessage(true);
}

void CMainFrame::FitProgramMessage(bool replacePrompt) {
    QStatusBar* bar = statusBar();
    if (m_message.isEmpty()) return;
    const QString current = bar->currentMessage();
    // A command's prompt keeps the pane while the mouse is on the command.
    if (!replacePrompt && current != m_messageShown) return;
    // Before the bar is laid out there is nothing to measure against; it is
    // fitted again when it is shown.
    QString shown = m_message;
    if (bar->isVisible())
        shown = bar->fontMetrics().elidedText(m_message, Qt::ElideMiddle, MessagePaneWidth());
    if (shown == m_messageShown && current == shown) return;
    m_messageShown = shown;
    bar->showMessage(shown);
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    if ((event->type() == QEvent::Resize || event->type() == QEvent::Show ||
         event->type() == QEvent::LayoutRequest) &&
        watched == statusBar()) {
        // Refit once the panes have their new places.
        QMetaObject::invokeMethod(
            this, [this] { FitProgramMessage(false); }, Qt::QueuedConnection);
    }
    // A key event reaches the filter once per widget it passes; count it at
    // its window only.
    if (event->type() == QEvent::KeyPress && watched->isWindowType()) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (!key->isAutoRepeat()) {
            switch (key->key()) {
                case Qt::Key_CapsLock:
                    m_caps = !m_caps;
                    break;
                case Qt::Key_NumLock:
                    m_num = !m_num;
                    break;
                case Qt::Key_ScrollLock:
                    m_scroll = !m_scroll;
                    break;
                default:
                    return QMainWindow::eventFilter(watched, event);
            }
            UpdateIndicators();
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::UpdateIndicators() {
    // Like the native panes: the text stays, greyed while the lock is off.
    m_indicators["CAP"]->setEnabled(m_caps);
    m_indicators["NUM"]->setEnabled(m_num);
    m_indicators["SCRL"]->setEnabled(m_scroll);
}
