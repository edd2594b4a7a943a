#pragma once
// The frame's only view: shows the welcome page, prints the report, and
// handles the pager, settings, editor and engineer commands.
#include <QPixmap>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>

#include "app/CCommStatusDlg.h"
#include "app/CSystemConfigDlg.h"
#include "app/CUsbDelayDlg.h"
#include "codeplug/CPagerData.h"
#include "editor/pages/CUserData.h"
#include "ui/qt/CBoundDialog.h"
#include "ui/qt/CBoundSheet.h"

class CTarnixHXRDoc;
class PagerLink;
class QPainter;
class QPrinter;
class QPrintPreviewDialog;
namespace ui {
class Prompt;
}

class CTarnixHXRView : public QWidget {
    Q_OBJECT
public:
    CTarnixHXRView(CTarnixHXRDoc& doc, PagerLink& link, ui::Prompt& prompt,
                   QWidget* parent = nullptr);
    ~CTarnixHXRView() override;

    CTarnixHXRDoc& GetDocument() { return m_doc; }

    // Runs a command of the view's command table; false when the view does
    // not handle it or it is disabled.
    bool OnCommand(int id);
    bool HandlesCommand(int id) const;
    bool IsCommandEnabled(int id) const;

    // Commands whose dialogs live elsewhere (User Data, the engineer tools,
    // the falsing alert adjustment) register their handler here.
    void SetCommandHandler(int id, std::function<void()> handler);

    // A transfer's result, on the GUI thread.
    void OnPagerMessage(int message);

    // Draws the report on a printer, preview or PDF page; false when the
    // page could not be painted.
    bool PrintReport(QPrinter& printer);
    void OnFilePrint();
    void OnFilePrintPreview();
    // Sizes the preview to the screen, the page to the window's width, and
    // gives the page the keyboard.
    void PrepareReadablePreview(QPrintPreviewDialog& preview);

    // The status dialog and the settings dialogs (for the frame and tests).
    CCommStatusDlg& CommStatus() { return m_commStatus; }
    ui::qt::CBoundDialog* CommStatusWindow() const { return m_statusWindow; }
    ui::qt::CBoundDialog* SystemConfigWindow() const { return m_systemWindow; }
    ui::qt::CBoundDialog* UsbDelayWindow() const { return m_usbWindow; }
    // The product directory line of the welcome page.
    QString ProductDirLine() const;
    // The User Data sheet and its window (null until first opened).
    CUserData& UserData() { return m_userData; }
    ui::qt::CBoundSheet* UserDataWindow() const { return m_userDataWindow; }
    // The decoded records the report and the editors work on.
    CPagerData& PagerData() { return m_pagerData; }

signals:
    // Advice for the status bar (e.g. how to get permission for a port): a
    // short line, and the whole story for the pane's tooltip ("" when the
    // line says it all). An empty text clears the message.
    void statusMessage(const QString& text, const QString& detail = QString());
    // Something that decides command enabling changed.
    void commandStateChanged();
    // Help on a section of the user guide (an anchor), asked for from a
    // dialog of the view.
    void helpRequested(const QString& anchor);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void OnReadPager();
    void OnWritePager();
    void OnSystemSetup();
    void OnUsbDelay();
    // The User Data sheet; a successful read opens it at once. A handler
    // registered for its command takes its place (tests).
    void OnUserData();
    void StartTransfer(bool read);
    void AfterTransferFailure();
    void AfterWrite();

    CTarnixHXRDoc& m_doc;
    PagerLink& m_link;
    ui::Prompt& m_prompt;
    CSystemConfigDlg m_systemConfig;
    CUsbDelayDlg m_usbDelay;
    CCommStatusDlg m_commStatus;
    QPointer<ui::qt::CBoundDialog> m_statusWindow;
    QPointer<ui::qt::CBoundDialog> m_systemWindow;
    QPointer<ui::qt::CBoundDialog> m_usbWindow;
    CPagerData m_pagerData;
    CUserData m_userData;
    QPointer<ui::qt::CBoundSheet> m_userDataWindow;
    QPixmap m_logo;
    std::map<int, std::function<void()>> m_handlers;
    // The running or last write was made in engineer mode (no backup).
    bool m_engineerWrite = false;
};
