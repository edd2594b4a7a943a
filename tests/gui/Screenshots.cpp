// Takes the pictures of the README on the offscreen platform:
//   calvex_screenshots OUTDIR [codeplug.dat]
// main.png (the main window), preview.png (Print Preview of the codeplug),
// and, for a look at the dialogs, status.png, setup.png, delay.png, about.png and
// userdata-*.png (one per page of the User Data sheet).
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QThread>
#include <QTimer>

#include "app/CMainFrame.h"
#include "app/CTarnixHXRApp.h"
#include "app/CTarnixHXRView.h"
#include "app/CommandIds.h"
#include "app/CTarnixHXRDoc.h"
#include "ui/qt/CBoundSheet.h"
#include <QTabWidget>
#include "gui/TestLink.h"
#include "ui/ScriptedPrompt.h"

namespace {

void Settle() {
    for (int i = 0; i < 20; ++i) {
        QCoreApplication::processEvents();
        QThread::msleep(10);
    }
}

bool Save(QWidget* w, const QDir& dir, const char* name) {
    Settle();
    bool ok = w->grab().save(dir.filePath(name));
    if (!ok) fprintf(stderr, "cannot write %s\n", qPrintable(dir.filePath(name)));
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qapp(argc, argv);
    if (argc < 2) {
        fprintf(stderr, "usage: %s OUTDIR [codeplug.dat]\n", argv[0]);
        return 2;
    }
    QDir dir(argv[1]);
    dir.mkpath(".");
    ui::ScriptedPrompt prompt;
    TestLink link;
    link.productDir = "/home/tech/.local/share/CalvexVHXR/";
    CTarnixHXRApp app(&prompt, &link);
    QStringList args{"CalvexVHXR"};
    if (argc > 2) args << argv[2];
    if (!app.InitInstance(args)) return 1;
    CMainFrame& frame = *app.Frame();
    frame.resize(760, 440);
    bool ok = Save(&frame, dir, "main.png");

    QPrinter printer(QPrinter::HighResolution);
    QPrintPreviewDialog preview(&printer, &frame);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested,
                     [&](QPrinter* p) { frame.View().PrintReport(*p); });
    // As the program opens it (the page as wide as the window), at the
    // picture's size.
    frame.View().PrepareReadablePreview(preview);
    preview.resize(640, 820);
    preview.show();
    ok &= Save(&preview, dir, "preview.png");
    preview.hide();

    // One picture per page of the User Data sheet (a codeplug must be open).
    if (app.Document().DataValid()) {
        static const char* const kPages[] = {"userdata-general.png", "userdata-f1.png",
                                             "userdata-f2.png", "userdata-options.png",
                                             "userdata-switches.png"};
        QTimer::singleShot(0, [&] {
            ui::qt::CBoundSheet* sheet = frame.View().UserDataWindow();
            if (!sheet) return;
            const int pages = sheet->Tabs()->count();
            for (int i = 0; i < pages; ++i) {
                sheet->Tabs()->setCurrentIndex(i);
                // A one-frequency codeplug has no F2 page.
                const int name = pages == 5 || i < 2 ? i : i + 1;
                ok &= Save(sheet, dir, kPages[name]);
            }
            sheet->reject();
        });
        frame.OnCommand(cmd::ID_USER_DATA);
    }
    prompt.Answer(ui::PromptAnswer::Yes);
    link.holdWorker = true;
    link.message = cmd::WM_PAGER_READ_FAILED;
    frame.OnCommand(cmd::ID_READ_PAGER);
    if (!frame.View().CommStatusWindow()) return 1;
    ok &= Save(frame.View().CommStatusWindow(), dir, "status.png");
    link.Release();
    for (int i = 0; i < 50 && frame.View().CommStatus().Running(); ++i) Settle();
    Settle();
    ok &= Save(frame.View().CommStatusWindow(), dir, "status-done.png");
    frame.View().CommStatusWindow()->done(QDialog::Accepted);

    frame.OnCommand(cmd::ID_SYSTEM_SETUP);
    ok &= Save(frame.View().SystemConfigWindow(), dir, "setup.png");
    frame.View().SystemConfigWindow()->done(QDialog::Rejected);
    frame.OnCommand(cmd::ID_USB_DELAY);
    ok &= Save(frame.View().UsbDelayWindow(), dir, "delay.png");
    frame.View().UsbDelayWindow()->done(QDialog::Rejected);
    frame.OnCommand(cmd::ID_APP_ABOUT);
    if (auto* about = frame.findChild<QDialog*>("aboutBox")) ok &= Save(about, dir, "about.png");
    return ok ? 0 : 1;
}
