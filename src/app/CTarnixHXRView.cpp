#include "app/CTarnixHXRView.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPrintDialog>
#include <QAction>
#include <QGraphicsView>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <cstdio>

#include "app/Artwork.h"
#include "app/CTarnixHXRDoc.h"
#include "app/CommandIds.h"
#include "app/CommandTable.h"
#include "app/DialogLayouts.h"
#include "app/PagerLink.h"
#include "app/PortNames.h"
#include "app/QtCanvas.h"
#include "app/ReportPrinter.h"
#include "app/SerialDevices.h"
#include "codeplug/CodeplugContext.h"
#include "editor/ui/UserDataWindow.h"
#include "link/SettingsFile.h"
#include "link/TransferOutcome.h"
#include "report/WelcomePage.h"
#include "ui/Prompt.h"
#include "ui/qt/ScreenFit.h"

using namespace cmd;

CTarnixHXRView::CTarnixHXRView(CTarnixHXRDoc& doc, PagerLink& link, ui::Prompt& prompt,
                               QWidget* parent)
    : QWidget(parent), m_doc(doc), m_link(link), m_prompt(prompt) {
    setObjectName("view");
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::WindowText, Qt::black);
    setPalette(pal);
    CodeplugContext::Get().engineer = false;
    m_logo = art::Bitmap(art::IDB_LOGO);
    m_commStatus.SetBeeper([](CCommStatusDlg::Beep) { QApplication::beep(); });
}

CTarnixHXRView::~CTarnixHXRView() {
    // The worker posts to this view; it must be gone before the view is.
    m_link.Join();
    // The sheet's window belongs to the frame but mirrors pages owned here.
    delete m_userDataWindow.data();
}

bool CTarnixHXRView::HandlesCommand(int id) const {
    switch (id) {
        case ID_SYSTEM_SETUP:
        case ID_ENGINEER_LOGON:
        case ID_READ_PAGER:
        case ID_WRITE_PAGER:
        case ID_USER_DATA:
        case ID_ENGINEER_DATA:
        case ID_FALSING_ALERT:
        case ID_USB_DELAY:
        case ID_PROGRAM_FLEET:
            return true;
    }
    return false;
}

bool CTarnixHXRView::IsCommandEnabled(int id) const {
    if (m_link.Busy()) {
        // The worker owns the document and the port until its result has
        // arrived: nothing may read DATA_VALID meanwhile, let alone start
        // a second transfer or open a file.
        const cmd::CommandInfo* info = cmd::FindCommand(id);
        if (HandlesCommand(id) || id == ID_FILE_OPEN || (info && info->rule != cmd::Enable::Always))
            return false;
        return true;
    }
    return cmd::IsEnabled(id, m_doc.DataValid(), CodeplugContext::Get().engineer);
}

void CTarnixHXRView::SetCommandHandler(int id, std::function<void()> handler) {
    m_handlers[id] = std::move(handler);
}

bool CTarnixHXRView::OnCommand(int id) {
    if (!HandlesCommand(id) || !IsCommandEnabled(id)) return false;
    switch (id) {
        case ID_READ_PAGER:
            OnReadPager();
            break;
        case ID_WRITE_PAGER:
            OnWritePager();
            break;
        case ID_SYSTEM_SETUP:
            OnSystemSetup();
            break;
        case ID_USB_DELAY:
            OnUsbDelay();
            break;
        case ID_USER_DATA:
            OnUserData();
            break;
        default: {
            auto it = m_handlers.find(id);
            if (it != m_handlers.end() && it->second) it->second();
        }
    }
    emit commandStateChanged();
    return true;
}

void CTarnixHXRView::OnUserData() {
    auto it = m_handlers.find(ID_USER_DATA);
    if (it != m_handlers.end() && it->second) {
        it->second();
        return;
    }
    if (!m_userDataWindow) {
        m_userDataWindow = MakeUserDataWindow(m_userData, window());
        connect(m_userDataWindow, &ui::qt::CBoundSheet::helpRequested, this,
                [this](int page) { emit helpRequested(UserDataHelpAnchor(page)); });
    }
    m_userData.SetPagesPrompt(&m_prompt);
    QPointer<ui::qt::CBoundSheet> sheet = m_userDataWindow;
    const int result = m_userData.RunUserDataSheet(
        m_doc.Codeplug(), [sheet](CUserData&) { return sheet ? sheet->RunModal() : ui::IDCANCEL; });
    // The edits never mark the document modified: nothing asks to save.
    if (result == ui::IDOK) {
        m_pagerData.Decode(m_doc.Codeplug());
        m_doc.UpdateAllViews();
    }
}

void CTarnixHXRView::OnReadPager() {
    // Yes agrees to replace the codeplug with the pager's, not to lose it: a
    // read that fails keeps the codeplug, its edits, validity and title (the
    // worker touches it only on success, and a success makes it Untitled).
    if (m_doc.DataValid() &&
        !m_prompt.YesNo("Do you want to overwrite the current codeplug?", "Read Pager Warning"))
        return;
    StartTransfer(true);
}

void CTarnixHXRView::OnWritePager() {
    if (!m_prompt.YesNo("Do you want to program the pager with current codeplug?",
                        "Write Pager Warning"))
        return;
    StartTransfer(false);
}

void CTarnixHXRView::StartTransfer(bool read) {
    QPointer<CTarnixHXRView> self(this);
    PagerLink::Post post = [self](int message) {
        // From the worker thread: hand the result to the GUI thread.
        QMetaObject::invokeMethod(
            qApp,
            [self, message] {
                if (self) self->OnPagerMessage(message);
            },
            Qt::QueuedConnection);
    };
    // The outcome of the previous transfer no longer applies.
    emit statusMessage(QString());
    m_engineerWrite = !read && CodeplugContext::Get().engineer;
    bool started =
        read ? m_link.StartRead(m_doc.Codeplug(), post) : m_link.StartWrite(m_doc.Codeplug(), post);
    if (!started) post(read ? WM_PAGER_READ_FAILED : WM_PAGER_WRITE_FAILED);

    m_commStatus.tickInterval = read ? CCommStatusDlg::kReadTick : CCommStatusDlg::kWriteTick;
    if (!m_statusWindow) m_statusWindow = layouts::CommStatus(m_commStatus, window());
    m_statusWindow->ShowModal();
    emit commandStateChanged();
}

void CTarnixHXRView::OnPagerMessage(int message) {
    switch (message) {
        case WM_PAGER_WRITE_OK:
            m_commStatus.SetResult("Serial Communication - Pager Write SUCCEEDED!", 1);
            AfterWrite();
            break;
        case WM_PAGER_WRITE_FAILED:
            m_commStatus.SetResult("Serial Communication - Pager Write FAILED!", 0);
            AfterTransferFailure();
            break;
        case WM_PAGER_READ_OK:
            m_commStatus.SetResult(CCommStatusDlg::kReadDone, 1);
            // The codeplug now comes from the pager, not from any file: the
            // next Save asks for a name (e.g. after a corrupted file was open).
            m_doc.SetUntitled();
            CodeplugContext::Get().pagerVersion = m_doc.Codeplug().GetPagerVersion();
            m_pagerData.version.SetPagerVersion(m_doc.Codeplug().GetPagerVersion());
            break;
        case WM_PAGER_READ_FAILED:
            m_commStatus.SetResult("Serial Communication - Pager Read FAILED!", 0);
            AfterTransferFailure();
            break;
        default:
            return;
    }
    // The worker has posted its one message and is ending.
    m_link.Join();
    m_doc.UpdateAllViews();
    if (m_statusWindow) m_statusWindow->Sync();
    emit commandStateChanged();
    if (message == WM_PAGER_READ_OK) {
        OnUserData();
    }
}

void CTarnixHXRView::AfterWrite() {
    // Where the pager's previous contents went, so a wrong write can be undone.
    const QString backup = QString::fromStdString(m_link.LastBackup());
    if (backup.isEmpty() && m_engineerWrite) {
        // Nothing keeps what the pager held, its serial number included.
        emit statusMessage(QString("Pager written; ") + kEngineerWriteNoBackup,
                           "An engineer write sends the codeplug as it is, serial and model "
                           "number included, without reading the pager first: "
                           "no backup of what the pager held was made.");
        return;
    }
    if (backup.isEmpty()) return;
    emit statusMessage("Pager written; its old contents: " + QFileInfo(backup).fileName(),
                       "What the pager held before this write is kept in " +
                           QDir::toNativeSeparators(backup) +
                           ". To put it back, open that file and write it to the pager.");
}

void CTarnixHXRView::AfterTransferFailure() {
    // The dialog keeps its fixed text; the status bar says why, e.g. how to
    // get permission for the port.
    std::string detail = m_link.LastFailureDetail();
    std::string summary = m_link.LastFailureSummary();
    if (summary.empty()) summary = detail;
    if (!summary.empty())
        emit statusMessage(QString::fromStdString(summary), QString::fromStdString(detail));
}

void CTarnixHXRView::OnSystemSetup() {
    std::vector<CSystemConfigDlg::Device> devices;
    for (const auto& d : PresentSerialDevices()) devices.push_back({d.path, d.Label()});
    m_systemConfig.SetDevices(std::move(devices));
    m_systemConfig.m_portText = m_link.PortName();
    int listed = m_systemConfig.IndexOfPort(m_systemConfig.m_portText);
    m_systemConfig.m_selectedIndex =
        listed >= kPortCount ? listed : m_link.FindPortIndex(m_systemConfig.m_portText);
    if (!m_systemWindow) {
        m_systemWindow = layouts::SystemConfig(m_systemConfig, window());
        connect(m_systemWindow, &QDialog::finished, this, [this](int result) {
            if (result != QDialog::Accepted) return;
            int index = m_systemConfig.m_selectedIndex;
            if (index >= 0 && index < kPortCount)
                m_link.SelectPort(index);
            else if (!m_systemConfig.PortNameAt(index).empty()) {
                const std::string name = m_systemConfig.PortNameAt(index);
                const std::string problem = PortNameUnstorable(name);
                if (problem.empty())
                    m_link.SetPortName(name);
                else
                    m_prompt.Error(problem, "System Configuration");
            } else
                m_link.SelectPort(0);
        });
    }
    m_systemWindow->ShowModal();
}

void CTarnixHXRView::OnUsbDelay() {
    m_usbDelay.m_delayText = m_link.GetDelayLabel();
    m_usbDelay.m_selectedIndex = 1;
    for (int i = 0; i < kDelayCount; ++i)
        if (m_usbDelay.m_delayText == DelayListLabel(i)) m_usbDelay.m_selectedIndex = i;
    if (!m_usbWindow) {
        m_usbWindow = layouts::UsbDelay(m_usbDelay, window());
        connect(m_usbWindow, &QDialog::finished, this, [this](int result) {
            if (result == QDialog::Accepted) m_link.SetDelayIndex(m_usbDelay.m_selectedIndex);
        });
    }
    m_usbWindow->ShowModal();
}

QString CTarnixHXRView::ProductDirLine() const {
    const std::string dir = m_link.ProductDir();
    return QString::fromStdString(dir + ArchiveFolderName(dir));
}

void CTarnixHXRView::paintEvent(QPaintEvent*) {
    // The screen always shows the welcome page, codeplug or not.
    QPainter p(this);
    p.setPen(Qt::black);
    const std::string dir = m_link.ProductDir();
    WelcomePage page = MakeWelcomePage(dir, ArchiveFolderName(dir));
    QtCanvas canvas(p);
    DrawWelcomeTexts(canvas, page);
    p.drawPixmap(page.logoX, page.logoY, m_logo);
}

bool CTarnixHXRView::PrintReport(QPrinter& printer) {
    bool ok = ReportPrinter::Print(printer, m_doc.Codeplug(), m_pagerData,
                                   m_doc.GetPathName().toStdString());
    if (!ok && !printer.outputFileName().isEmpty())
        emit statusMessage("Could not write " + QFileInfo(printer.outputFileName()).fileName(),
                           "Could not write " + printer.outputFileName());
    return ok;
}

void CTarnixHXRView::OnFilePrint() {
    if (!IsCommandEnabled(ID_FILE_PRINT)) return;
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, window());
    dialog.setWindowTitle("Print");
    if (dialog.exec() != QDialog::Accepted) return;
    PrintReport(printer);
}

void CTarnixHXRView::PrepareReadablePreview(QPrintPreviewDialog& preview) {
    // As tall as the screen allows and the page as wide as the window: the
    // report reads at once, without zooming in first.
    constexpr QSize kWanted(900, 1200);
    preview.resize(ui::qt::FitToScreen(&preview, kWanted.expandedTo(window()->size())));
    if (auto* fitWidth = preview.findChild<QAction*>("fitWidthAction")) fitWidth->trigger();
    // The page takes the keys (PageDown, the arrows) from the start, not the
    // toolbar's boxes.
    QMetaObject::invokeMethod(
        &preview,
        [&preview] {
            if (auto* page = preview.findChild<QPrintPreviewWidget*>()) {
                QWidget* view = page->findChild<QGraphicsView*>();
                (view ? view : page)->setFocus(Qt::OtherFocusReason);
            }
        },
        Qt::QueuedConnection);
}

void CTarnixHXRView::OnFilePrintPreview() {
    if (!IsCommandEnabled(ID_FILE_PRINT_PREVIEW)) return;
    QPrinter printer(QPrinter::HighResolution);
    QPrintPreviewDialog preview(&printer, window());
    preview.setWindowTitle("Print Preview");
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* p) { PrintReport(*p); });
    PrepareReadablePreview(preview);
    preview.exec();
}
