#include "app/CTarnixHXRApp.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <memory>

#include "app/CMainFrame.h"
#include "app/CTarnixHXRDoc.h"
#include "app/CTarnixHXRView.h"
#include "app/DialogLayouts.h"
#include "app/EngineerCommands.h"
#include "app/FleetCommand.h"
#include "app/FleetWindow.h"
#include "app/HelpLocation.h"
#include "app/HelpWindow.h"
#include "app/LinkAdapter.h"
#include "app/PagerLink.h"
#include "link/SettingsFile.h"
#include "report/WelcomePage.h"
#include "ui/qt/QtPrompt.h"

namespace {
const char* const kFilter = "Calvex V HXR Files (*.dat)";
}

CTarnixHXRApp::CTarnixHXRApp(ui::Prompt* prompt, PagerLink* link) {
    if (!prompt) {
        m_ownPrompt = std::make_unique<ui::qt::QtPrompt>();
        prompt = m_ownPrompt.get();
    }
    if (!link) {
        // Loads the communication settings.
        m_ownLink = MakePagerLink();
        link = m_ownLink.get();
    }
    m_prompt = prompt;
    m_link = link;
}

CTarnixHXRApp::~CTarnixHXRApp() {
    ExitInstance();
    delete m_helpWindow.data();
    delete m_frame;
    m_frame = nullptr;
}

CTarnixHXRView& CTarnixHXRApp::View() {
    return m_frame->View();
}

bool CTarnixHXRApp::InitInstance(const QStringList& arguments) {
    m_doc = std::make_unique<CTarnixHXRDoc>();
    auto* view = new CTarnixHXRView(*m_doc, *m_link, *m_prompt);
    m_frame = new CMainFrame(*this, *m_doc, view);
    if (auto* qtPrompt = dynamic_cast<ui::qt::QtPrompt*>(m_prompt)) qtPrompt->SetOwner(m_frame);
    InstallEngineerTools(*m_frame, *m_doc, *m_prompt, arguments.contains(kEngineerSwitch));
    InstallFleetCommand(*this);

    // The first argument that is not an option names a codeplug file;
    // "--port NAME" picks the programmer's port for this run (and after).
    // A name the settings file cannot keep is refused with the reason.
    QString file;
    const auto usePort = [this](const std::string& name) {
        const std::string problem = PortNameUnstorable(name);
        if (problem.empty())
            m_link->SetPortName(name);
        else
            m_prompt->Error(problem, "System Configuration", false);
    };
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        if (arg == "--port" && i + 1 < arguments.size()) {
            usePort(arguments[++i].toStdString());
        } else if (arg.startsWith("--port=")) {
            usePort(arg.mid(7).toStdString());
        } else if (!arg.startsWith('-') && file.isEmpty()) {
            file = arg;
        }
    }
    if (!file.isEmpty()) {
        DocumentResult r = m_doc->OnOpenDocument(file);
        if (r.kind == DocumentResult::Kind::Unreadable) {
            m_prompt->Error(r.message, r.caption, false);
            return false;
        }
        if (!r.Ok()) m_prompt->Error(r.message, r.caption, false);
    }
    m_frame->UpdateCaption();
    m_frame->UpdateCommandUI();
    m_frame->show();
    return true;
}

void CTarnixHXRApp::ExitInstance() {
    if (m_exited) return;
    m_exited = true;
    // A transfer still running (a huge settle delay) must not hold the exit.
    m_link->EndWaits();
    m_link->Join();
    // Said once, at the end: a change the settings file cannot take is not
    // lost without a word.
    const std::string unsaved = m_link->SaveSettings();
    if (!unsaved.empty()) m_prompt->Error(unsaved, "System Configuration", false);
}

bool CTarnixHXRApp::CanExit() const {
    const FleetWindow* fleet = FindFleetWindow(const_cast<CTarnixHXRApp&>(*this));
    return !m_link->Busy() && !(fleet && fleet->Busy());
}

QString CTarnixHXRApp::ChooseFile(bool save) {
    if (m_chooser) return m_chooser(save);
    QFileDialog dialog(m_frame, save ? "Save As" : "Open");
    dialog.setNameFilters({kFilter, "All Files (*)"});
    dialog.setDefaultSuffix("dat");
    QString folder = FileDialogFolder();
    if (!folder.isEmpty()) dialog.setDirectory(folder);
    if (save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        QString current = m_doc->GetPathName();
        if (!current.isEmpty())
            dialog.selectFile(current);
        else
            dialog.selectFile(m_doc->GetTitle());
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    return RunFileDialog(dialog);
}

QString CTarnixHXRApp::ChooseOpenFile(const QString& caption, const QString& filter) {
    if (m_chooser) return m_chooser(false);
    QFileDialog dialog(QApplication::activeWindow() ? QApplication::activeWindow() : m_frame,
                       caption);
    dialog.setNameFilters({filter, "All Files (*)"});
    // Beside the codeplug it goes with, unless a file was chosen since.
    const QString document = m_doc->GetPathName();
    if (!m_lastFolder.isEmpty())
        dialog.setDirectory(m_lastFolder);
    else if (!document.isEmpty())
        dialog.setDirectory(QFileInfo(document).absolutePath());
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return RunFileDialog(dialog);
}

QString CTarnixHXRApp::RunFileDialog(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    const QString chosen = dialog.selectedFiles().front();
    m_lastFolder = QFileInfo(chosen).absolutePath();
    return chosen;
}

QString CTarnixHXRApp::FileDialogFolder() const {
    if (!m_lastFolder.isEmpty()) return m_lastFolder;
    const std::string dir = m_link->ProductDir();
    if (dir.empty()) return {};
    // The settings go there at the end anyway; made now, the first Open
    // already starts in the folder the welcome page names.
    QString archive = QString::fromStdString(dir + ArchiveFolderName(dir));
    return QDir().mkpath(archive) ? archive : QString();
}

bool CTarnixHXRApp::OpenDocumentFile(const QString& path) {
    DocumentResult r = m_doc->OnOpenDocument(path);
    if (!r.Ok()) m_prompt->Error(r.message, r.caption, r.kind != DocumentResult::Kind::Corrupted);
    return r.Ok();
}

bool CTarnixHXRApp::SaveDocumentFile(const QString& path) {
    DocumentResult r = m_doc->OnSaveDocument(path);
    if (!r.Ok()) m_prompt->Error(r.message, r.caption);
    return r.Ok();
}

void CTarnixHXRApp::OnFileOpen() {
    QString path = ChooseFile(false);
    if (!path.isEmpty()) OpenDocumentFile(path);
}

void CTarnixHXRApp::OnFileSave() {
    if (!m_doc->DataValid()) return;
    DocumentResult r = m_doc->Save();
    if (r.kind == DocumentResult::Kind::NoPath) {
        OnFileSaveAs();
    } else if (!r.Ok()) {
        m_prompt->Error(r.message, r.caption);
    }
}

void CTarnixHXRApp::OnFileSaveAs() {
    if (!m_doc->DataValid()) return;
    QString path = ChooseFile(true);
    if (path.isEmpty()) return;
    // The file dialog adds ".dat" itself; a chooser that gives a bare name
    // gets it here.
    if (QFileInfo(path).suffix().isEmpty()) path += ".dat";
    SaveDocumentFile(path);
}

void CTarnixHXRApp::OnAppAbout() {
    QDialog* about = layouts::About(m_frame);
    about->setAttribute(Qt::WA_DeleteOnClose);
    about->setObjectName("aboutBox");
    about->open();
}

QString CTarnixHXRApp::HelpFilePath() const {
    return QString::fromStdString(
        FindUserGuide(QCoreApplication::applicationDirPath().toStdString()));
}

HelpWindow* CTarnixHXRApp::GetHelpWindow() const {
    return m_helpWindow;
}

QString CTarnixHXRApp::HelpOpener() const {
    if (m_helpOpenerSet) return m_helpOpener;
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    // What Qt itself would start on a Linux desktop, but Qt only learns
    // whether it started, not whether a browser opened.
    const QString platform = QGuiApplication::platformName();
    if (platform == "xcb" || platform.startsWith("wayland"))
        return QStandardPaths::findExecutable("xdg-open");
#endif
    return {};
}

void CTarnixHXRApp::OnHelp() {
    const QString path = HelpFilePath();
    if (!path.isEmpty()) {
        const QString opener = HelpOpener();
        if (!opener.isEmpty()) return OpenHelpWith(opener, path);
        if (QDesktopServices::openUrl(QUrl::fromLocalFile(path))) return;
    }
    // No launcher or no browser: help still answers.
    ShowHelpWindow(path);
}

HelpWindow& CTarnixHXRApp::MakeHelpWindow(const QString& guide) {
    if (!m_helpWindow) {
        m_helpWindow = new HelpWindow(guide);
        m_helpWindow->setWindowIcon(m_frame->windowIcon());
    }
    return *m_helpWindow;
}

void CTarnixHXRApp::ShowHelpWindow(const QString& guide) {
    MakeHelpWindow(guide).ShowContents();
}

void CTarnixHXRApp::ShowHelpSection(const QString& anchor) {
    MakeHelpWindow(HelpFilePath()).ShowSection(anchor);
}

void CTarnixHXRApp::OpenHelpWith(const QString& opener, const QString& guide) {
    // xdg-open starts on a desktop without any browser as well and only says
    // so by failing a moment later ("no method available for opening"). A
    // browser that ends with an error long after it opened the guide is no
    // reason to show the guide again.
    constexpr qint64 kQuickFailureMs = 10000;
    auto* process = new QProcess;
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->setStandardInputFile(QProcess::nullDevice());
    auto clock = std::make_shared<QElapsedTimer>();
    QObject::connect(
        process, &QProcess::finished, m_frame,
        [this, process, guide, clock](int code, QProcess::ExitStatus status) {
            process->deleteLater();
            if ((status != QProcess::NormalExit || code != 0) && clock->elapsed() < kQuickFailureMs)
                ShowHelpWindow(guide);
        });
    QObject::connect(process, &QProcess::errorOccurred, m_frame,
                     [this, process, guide](QProcess::ProcessError error) {
                         if (error != QProcess::FailedToStart) return;
                         process->deleteLater();
                         ShowHelpWindow(guide);
                     });
    clock->start();
    // Left running when the program ends: it may be the browser itself.
    process->start(opener, {QUrl::fromLocalFile(guide).toString()});
}
