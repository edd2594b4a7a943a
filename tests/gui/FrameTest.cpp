#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

#include "app/HelpWindow.h"
#include "gui/AppFixture.h"

using namespace cmd;

namespace {

QStringList MenuTexts(QMenu* menu) {
    QStringList out;
    for (QAction* a : menu->actions()) out << (a->isSeparator() ? QString("-") : a->text());
    return out;
}

TEST_F(AppFixture, StartsUntitledWithOnlyTheAlwaysCommandsEnabled) {
    ASSERT_TRUE(Start());
    EXPECT_EQ(Frame().windowTitle(), "Untitled - Calvex V HXR");
    EXPECT_TRUE(Frame().isVisible());
    for (int id : {ID_FILE_SAVE, ID_FILE_SAVE_AS, ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW,
                   ID_WRITE_PAGER, ID_USER_DATA, ID_FALSING_ALERT, ID_ENGINEER_DATA})
        EXPECT_FALSE(Enabled(id)) << id;
    for (int id : {ID_FILE_OPEN, ID_READ_PAGER, ID_SYSTEM_SETUP, ID_USB_DELAY, ID_APP_ABOUT,
                   ID_HELP_FINDER, ID_ENGINEER_LOGON})
        EXPECT_TRUE(Enabled(id)) << id;
    EXPECT_FALSE(CodeplugContext::Get().engineer);
}

TEST_F(AppFixture, MenusCarryTheirExactTexts) {
    ASSERT_TRUE(Start());
    QList<QAction*> top = Frame().menuBar()->actions();
    ASSERT_EQ(top.size(), 5);
    QStringList titles;
    for (QAction* a : top) titles << a->text();
    EXPECT_EQ(titles, QStringList({"&File", "Operation", "&View", "&Tools", "&Help"}));
    EXPECT_EQ(MenuTexts(top[0]->menu()),
              QStringList({"&Open...\tCtrl+O", "&Save\tCtrl+S", "Save &As...", "-",
                           "Print Pre&view", "&Print...\tCtrl+P", "-", "E&xit"}));
    // Program Fleet is an addition after the pager commands.
    EXPECT_EQ(MenuTexts(top[1]->menu()),
              QStringList({"Read Pager\tF3", "Write Pager\tF7", "-", "Program Fleet..."}));
    EXPECT_EQ(MenuTexts(top[2]->menu()),
              QStringList({"&User Data\tF5", "-", "&Toolbar", "&Status Bar"}));
    EXPECT_EQ(MenuTexts(top[3]->menu()), QStringList({"&System Setup\tF9", "USB Delay Time"}));
    EXPECT_EQ(MenuTexts(top[4]->menu()),
              QStringList({"&Help Topics", "-", "&About Calvex V HXR..."}));
}

TEST_F(AppFixture, ToolbarButtonsInOrderWithSixteenPixelIcons) {
    ASSERT_TRUE(Start());
    QStringList ids;
    for (QAction* a : Frame().ToolBar()->actions()) {
        if (a->isSeparator()) {
            ids << "-";
            continue;
        }
        ids << a->objectName();
        QPixmap pm = a->icon().pixmap(16, 16);
        EXPECT_FALSE(pm.isNull()) << a->objectName().toStdString();
        EXPECT_EQ(pm.size(), QSize(16, 16));
    }
    EXPECT_EQ(ids, QStringList({"57601", "57604", "-", "32775", "32776", "-", "32777", "-", "32773",
                                "-", "57607", "-", "57664", "57669"}));
    EXPECT_EQ(Frame().Action(ID_READ_PAGER)->toolTip(), "Read Codeplug From a Pager");
    EXPECT_EQ(Frame().Action(ID_READ_PAGER)->statusTip(), "Read codeplug from pager");
    EXPECT_EQ(Frame().Action(ID_FILE_OPEN)->toolTip(), "Open a Codeplug Data File");
}

TEST_F(AppFixture, StatusBarShowsIdlePromptCommandPromptsAndLockPanes) {
    ASSERT_TRUE(Start());
    QStatusBar* bar = Frame().statusBar();
    EXPECT_EQ(bar->currentMessage(), "For Help, press F1");
    for (const char* pane : {"CAP", "NUM", "SCRL"}) {
        ASSERT_NE(Frame().Indicator(pane), nullptr);
        EXPECT_EQ(Frame().Indicator(pane)->text(), pane);
    }
    // Hovering a command shows its prompt; leaving it brings the idle prompt back.
    Frame().Action(ID_WRITE_PAGER)->showStatusText(&Frame());
    EXPECT_EQ(bar->currentMessage(), "Write the codeplug to pager");
    bar->clearMessage();
    EXPECT_EQ(bar->currentMessage(), "For Help, press F1");
    // Caps Lock toggles its pane.
    EXPECT_FALSE(Frame().Indicator("CAP")->isEnabled());
    QTest::keyClick(Frame().windowHandle(), Qt::Key_CapsLock);
    EXPECT_TRUE(Frame().Indicator("CAP")->isEnabled());
}

TEST_F(AppFixture, ToolbarAndStatusBarToggle) {
    ASSERT_TRUE(Start());
    EXPECT_TRUE(Frame().Action(ID_VIEW_TOOLBAR)->isChecked());
    Frame().OnCommand(ID_VIEW_TOOLBAR);
    EXPECT_TRUE(Frame().ToolBar()->isHidden());
    EXPECT_FALSE(Frame().Action(ID_VIEW_TOOLBAR)->isChecked());
    Frame().OnCommand(ID_VIEW_STATUS_BAR);
    EXPECT_TRUE(Frame().statusBar()->isHidden());
    EXPECT_FALSE(Frame().Action(ID_VIEW_STATUS_BAR)->isChecked());
}

TEST_F(AppFixture, FalsingKeyWorksOnlyWithAValidCodeplug) {
    ASSERT_TRUE(Start());
    int opened = 0;
    View().SetCommandHandler(ID_FALSING_ALERT, [&] { ++opened; });
    Activate();
    QTest::keyClick(&Frame(), Qt::Key_S);
    EXPECT_EQ(opened, 0);
    app->OpenDocumentFile(WriteDat("good.dat", SampleImage()));
    QTest::keyClick(&Frame(), Qt::Key_S);
    QTest::keyClick(&Frame(), Qt::Key_S, Qt::ShiftModifier);
    EXPECT_EQ(opened, 2);
}

TEST_F(AppFixture, EngineerDataNeedsEngineerModeAndACodeplug) {
    ASSERT_TRUE(Start());
    app->OpenDocumentFile(WriteDat("good.dat", SampleImage()));
    EXPECT_FALSE(Enabled(ID_ENGINEER_DATA));
    CodeplugContext::Get().engineer = true;
    EXPECT_TRUE(Enabled(ID_ENGINEER_DATA));
}

TEST_F(AppFixture, AboutBoxTexts) {
    ASSERT_TRUE(Start());
    Frame().OnCommand(ID_APP_ABOUT);
    QDialog* about = Frame().findChild<QDialog*>("aboutBox");
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->windowTitle(), "About Calvex V HXR");
    EXPECT_EQ(about->findChild<QLabel*>("aboutTitle")->text(),
              "Calvex V Two Tone Pager Programming Software");
    EXPECT_EQ(about->findChild<QLabel*>("aboutInfo")->text(),
              "Product Information: \n     Version: 1.7.2 \t\t Build date: September 28, 2007");
    EXPECT_FALSE(about->findChild<QLabel*>("aboutBitmap")->pixmap().isNull());
    about->accept();
}

class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void Open(const QUrl& url) { urls << url; }
};

TEST_F(AppFixture, HelpOpensTheShippedGuide) {
    ASSERT_TRUE(Start());
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler("file", &catcher, "Open");
    Activate();
    QTest::keyClick(&Frame(), Qt::Key_F1);
    Frame().OnCommand(ID_HELP_FINDER);
    QDesktopServices::unsetUrlHandler("file");
    ASSERT_EQ(catcher.urls.size(), 2);
    EXPECT_TRUE(catcher.urls[0].toLocalFile().endsWith("help/index.html"));
    EXPECT_TRUE(QFile::exists(catcher.urls[0].toLocalFile()));
}

TEST_F(AppFixture, HelpWithoutALauncherShowsTheGuideInTheProgramsOwnWindow) {
    ASSERT_TRUE(Start());
    // The offscreen platform has no launcher, like a desktop without a browser.
    ASSERT_FALSE(QDesktopServices::openUrl(QUrl::fromLocalFile(app->HelpFilePath())));
    Activate();
    QTest::keyClick(&Frame(), Qt::Key_F1);
    HelpWindow* help = app->GetHelpWindow();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_FALSE(help->isModal());
    EXPECT_EQ(help->Browser()->source(), QUrl::fromLocalFile(app->HelpFilePath()));
    EXPECT_TRUE(help->Browser()->toPlainText().contains("Getting started"));
    // The guide reads without scrolling sideways, its pictures too (once
    // laid out, which a busy machine takes a while for).
    WaitFor([&] { return help->Browser()->horizontalScrollBar()->maximum() == 0; }, 3000);
    EXPECT_EQ(help->Browser()->horizontalScrollBar()->maximum(), 0)
        << "the guide is " << help->Browser()->document()->idealWidth() << " px wide, the window "
        << help->width();
    // A link inside the guide stays in the window; Back returns.
    help->Browser()->setSource(QUrl("#trouble"));
    auto* back = help->findChild<QPushButton*>("helpBack");
    ASSERT_TRUE(back->isEnabled());
    back->click();
    EXPECT_FALSE(back->isEnabled());
    help->close();
    EXPECT_FALSE(help->isVisible());
    // Help Topics brings back the same window, at the contents.
    Frame().OnCommand(ID_HELP_FINDER);
    EXPECT_EQ(app->GetHelpWindow(), help);
    EXPECT_TRUE(help->isVisible());
    // The program stays usable beside it.
    EXPECT_TRUE(Enabled(ID_READ_PAGER));
}

#ifndef _WIN32
// A desktop opener as xdg-open behaves: it records what it was asked to open
// and ends with the given status (3: "no method available for opening").
QString MakeOpener(const QTemporaryDir& dir, int status) {
    const QString path = dir.filePath("opener");
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return {};
    f.write(QString("#!/bin/sh\nprintf '%s' \"$1\" > '%1'\nexit %2\n")
                .arg(dir.filePath("asked"))
                .arg(status)
                .toUtf8());
    f.close();
    f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
    return path;
}

QString Asked(const QTemporaryDir& dir) {
    QFile f(dir.filePath("asked"));
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

TEST_F(AppFixture, HelpFallsBackToItsOwnWindowWhenTheDesktopOpenerFindsNoBrowser) {
    ASSERT_TRUE(Start());
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    app->SetHelpOpener(MakeOpener(dir, 3));
    Activate();
    QTest::keyClick(&Frame(), Qt::Key_F1);
    // The opener was asked for the guide and failed: the guide shows here.
    ASSERT_TRUE(
        WaitFor([&] { return app->GetHelpWindow() && app->GetHelpWindow()->isVisible(); }, 10000));
    EXPECT_EQ(Asked(dir), QUrl::fromLocalFile(app->HelpFilePath()).toString());
    EXPECT_EQ(app->GetHelpWindow()->Browser()->source(), QUrl::fromLocalFile(app->HelpFilePath()));

    // An opener that cannot be started at all answers the same way.
    app->GetHelpWindow()->close();
    app->SetHelpOpener(dir.filePath("no-such-opener"));
    Frame().OnCommand(ID_HELP_FINDER);
    EXPECT_TRUE(WaitFor([&] { return app->GetHelpWindow()->isVisible(); }, 10000));
}

TEST_F(AppFixture, HelpLeavesTheGuideToTheDesktopWhenItsOpenerSucceeds) {
    ASSERT_TRUE(Start());
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    app->SetHelpOpener(MakeOpener(dir, 0));
    Frame().OnCommand(ID_HELP_FINDER);
    ASSERT_TRUE(WaitFor([&] { return !Asked(dir).isEmpty(); }, 10000));
    // Give its end time to arrive: no window of our own follows.
    QTest::qWait(300);
    EXPECT_EQ(Asked(dir), QUrl::fromLocalFile(app->HelpFilePath()).toString());
    EXPECT_EQ(app->GetHelpWindow(), nullptr);
}
#endif

TEST_F(AppFixture, WelcomePageAndFileDialogsUseTheArchiveFolderAsSpelt) {
    const QString dir = QString::fromStdString(link.productDir);
#ifdef _WIN32
    const QString folder = "Lib";
#else
    const QString folder = "lib";
#endif
    ASSERT_TRUE(Start());
    EXPECT_EQ(View().ProductDirLine(), dir + folder);
    // The first File > Open starts there, even before any setting was saved.
    EXPECT_EQ(app->FileDialogFolder(), dir + folder);
    EXPECT_TRUE(QFileInfo(dir + folder).isDir());
#ifndef _WIN32
    // A folder copied from Windows keeps its spelling.
    app.reset();
    ASSERT_TRUE(QDir(dir + folder).removeRecursively());
    ASSERT_TRUE(QDir().mkpath(dir + "Lib"));
    ASSERT_TRUE(Start());
    EXPECT_EQ(View().ProductDirLine(), dir + "Lib");
    EXPECT_EQ(app->FileDialogFolder(), dir + "Lib");
#endif
}

TEST_F(AppFixture, FileDialogsStartInTheArchiveFolderThenWhereTheLastFileWas) {
    ASSERT_TRUE(Start());
    app->SetFileChooser({});  // the real dialogs
    QDir().mkpath(Path("elsewhere"));
    const QString elsewhere = WriteDat("elsewhere/other.dat", SampleImage());
    QStringList startedIn;
    auto answer = [&](const QString& file) {
        QTimer::singleShot(0, [&, file] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            startedIn << dialog->directory().absolutePath();
            if (file.isEmpty()) {
                dialog->reject();
            } else {
                dialog->selectFile(file);
                QMetaObject::invokeMethod(dialog, "accept");
            }
        });
    };
    answer(elsewhere);
    Frame().OnCommand(ID_FILE_OPEN);
    EXPECT_EQ(Doc().GetPathName(),
              QDir::toNativeSeparators(QFileInfo(elsewhere).absoluteFilePath()));
    answer({});
    Frame().OnCommand(ID_FILE_OPEN);
    ASSERT_EQ(startedIn.size(), 2);
    // The first one in the folder the welcome page names.
    EXPECT_EQ(startedIn[0], QDir(View().ProductDirLine()).absolutePath());
    EXPECT_EQ(startedIn[1], QFileInfo(elsewhere).absolutePath());
}

TEST_F(AppFixture, ExitNeverAsksToSave) {
    ASSERT_TRUE(Start());
    app->OpenDocumentFile(WriteDat("good.dat", SampleImage()));
    Frame().OnCommand(ID_APP_EXIT);
    EXPECT_FALSE(Frame().isVisible());
    EXPECT_TRUE(prompt.Records().empty());
    app.reset();
    EXPECT_EQ(link.saves, 1);
}

}  // namespace

#include "FrameTest.moc"
