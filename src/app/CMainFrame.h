#pragma once
// The main window: menu, toolbar, status bar and accelerators. File, print
// and help commands are handled here; every other command goes to the view.
#include <QMainWindow>
#include <map>

class QAction;
class QLabel;
class QToolBar;
class CTarnixHXRApp;
class CTarnixHXRDoc;
class CTarnixHXRView;

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    CMainFrame(CTarnixHXRApp& app, CTarnixHXRDoc& doc, CTarnixHXRView* view);

    CTarnixHXRView& View() { return *m_view; }
    // The action of a command id (menu item, toolbar button or accelerator).
    QAction* Action(int id) const;
    QToolBar* ToolBar() const { return m_toolBar; }
    QLabel* Indicator(const char* text) const;
    // Room for text in the status bar's message pane, in pixels.
    int MessagePaneWidth() const;

    // Runs a command as the menu or an accelerator would.
    void OnCommand(int id);
    // Enables every command by the view's rules (the framework's idle update).
    void UpdateCommandUI();
    // "Untitled - Calvex V HXR".
    void UpdateCaption();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAction* MakeAction(int id, const char* text);
    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();
    void CreateAccelerators();
    void UpdateIndicators();
    // A message of the program's own: one line cut to the pane, the whole
    // text in the pane's tooltip.
    void ShowProgramMessage(const QString& text, const QString& detail);
    // Shows the message cut to the pane; a command's prompt in the pane is
    // replaced only when `replacePrompt` is set.
    void FitProgramMessage(bool replacePrompt);

    CTarnixHXRApp& m_app;
    CTarnixHXRDoc& m_doc;
    CTarnixHXRView* m_view;
    QToolBar* m_toolBar = nullptr;
    std::map<int, QAction*> m_actions;
    std::map<std::string, QLabel*> m_indicators;
    bool m_caps = false, m_num = false, m_scroll = false;
    // The program's message (kept until the next transfer), its tooltip, and
    // the text last shown for it in the pane.
    QString m_message, m_detail, m_messageShown;
};
