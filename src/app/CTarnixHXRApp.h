#pragma once
// The application: builds the document, frame and view, opens a file named
// on the command line, and runs the file, About and help commands.
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class CMainFrame;
class QFileDialog;
class CTarnixHXRDoc;
class CTarnixHXRView;
class HelpWindow;
class PagerLink;
namespace ui {
class Prompt;
}

class CTarnixHXRApp {
public:
    // `prompt` and `link` default to the real ones; tests pass their own.
    explicit CTarnixHXRApp(ui::Prompt* prompt = nullptr, PagerLink* link = nullptr);
    ~CTarnixHXRApp();

    // Start-up: false when the program must end without a window (a file
    // named on the command line could not be read).
    bool InitInstance(const QStringList& arguments);
    // Saves the settings; called once at the end.
    void ExitInstance();

    CMainFrame* Frame() const { return m_frame; }
    CTarnixHXRDoc& Document() { return *m_doc; }
    CTarnixHXRView& View();
    PagerLink& Link() { return *m_link; }
    ui::Prompt& GetPrompt() { return *m_prompt; }

    // Opens a file as File > Open does after its dialog.
    bool OpenDocumentFile(const QString& path);
    // Saves as File > Save As does after its dialog.
    bool SaveDocumentFile(const QString& path);

    void OnFileOpen();
    void OnFileSave();
    void OnFileSaveAs();
    void OnAppAbout();
    // Opens the user guide in the desktop's browser, or in the program's own
    // help window when the desktop cannot.
    void OnHelp();
    // The guide at one section (an anchor of the guide), in the program's own
    // help window: it opens beside a modal dialog and stays usable (F1 in the
    // User Data sheet).
    void ShowHelpSection(const QString& anchor);
    // The program's own help window (null until it was needed).
    HelpWindow* GetHelpWindow() const;
    // The program that opens the guide on the desktop when only its exit
    // status tells whether anything opened (xdg-open on Linux desktops);
    // "" leaves it to Qt's launcher. Found at first use unless set.
    QString HelpOpener() const;
    void SetHelpOpener(const QString& program) {
        m_helpOpener = program;
        m_helpOpenerSet = true;
    }
    // The user guide beside the program or in its installed data folder
    // ("" when missing).
    QString HelpFilePath() const;
    // Where the file dialogs start: the archive folder below the product
    // directory at first, then wherever the last file was chosen.
    QString FileDialogFolder() const;
    // False while a transfer still runs.
    bool CanExit() const;

    // File dialogs; tests replace them to choose a path without a dialog.
    using FileChooser = std::function<QString(bool save)>;
    void SetFileChooser(FileChooser chooser) { m_chooser = std::move(chooser); }
    // A file to open of another kind (a roster): the same chooser, with the
    // dialog's caption and name filter.
    QString ChooseOpenFile(const QString& caption, const QString& filter);

private:
    QString ChooseFile(bool save);
    // Runs a file dialog; the folder of the file chosen is where the next
    // one starts.
    QString RunFileDialog(QFileDialog& dialog);
    void ShowHelpWindow(const QString& guide);
    HelpWindow& MakeHelpWindow(const QString& guide);
    void OpenHelpWith(const QString& opener, const QString& guide);

    std::unique_ptr<ui::Prompt> m_ownPrompt;
    std::unique_ptr<PagerLink> m_ownLink;
    ui::Prompt* m_prompt;
    PagerLink* m_link;
    std::unique_ptr<CTarnixHXRDoc> m_doc;
    CMainFrame* m_frame = nullptr;
    FileChooser m_chooser;
    QString m_lastFolder;
    QPointer<HelpWindow> m_helpWindow;
    QString m_helpOpener;
    bool m_helpOpenerSet = false;
    bool m_exited = false;
};
