// The program on small screens (a laptop at 125 to 200 % scaling has few
// logical pixels): every window fits the screen with its status bar or its
// OK and Cancel on it, and what does not fit scrolls. The same tests run
// once per screen size (screens/*.json).
#include <QGuiApplication>
#include <QPrintPreviewDialog>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>

#include "app/HelpWindow.h"
#include "editor/pages/CToneTableDlg.h"
#include "gui/SheetFixture.h"

using namespace cmd;

namespace {

class ScreenFit : public SheetFixture {
protected:
    static QRect Screen() { return QGuiApplication::primaryScreen()->availableGeometry(); }
    // Room for a picker of eight boxes side by side, or at least two rows of
    // four.
    static bool Roomy() { return Screen().width() >= 1024 && Screen().height() >= 600; }

    static ::testing::AssertionResult OnScreen(const QWidget* w) {
        const QRect frame = w->frameGeometry();
        if (Screen().contains(frame)) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure()
               << w->windowTitle().toStdString() << " at " << frame.x() << "," << frame.y()
               << " " << frame.width() << "x" << frame.height() << " on a screen of "
               << Screen().width() << "x" << Screen().height();
    }
    // The widget is on its window, not cut off by it.
    static ::testing::AssertionResult Inside(const QWidget* w) {
        const QRect r(w->mapTo(w->window(), QPoint(0, 0)), w->size());
        if (w->isVisible() && w->window()->rect().contains(r))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << w->objectName().toStdString() << " is off "
                                             << w->window()->windowTitle().toStdString();
    }
    // The widget shows in its scroll area's viewport.
    static ::testing::AssertionResult Scrolled(QWidget* w) {
        auto* area = qobject_cast<QScrollArea*>(w->parentWidget());
        for (QWidget* p = w; p && !area; p = p->parentWidget())
            area = qobject_cast<QScrollArea*>(p);
        if (!area) return ::testing::AssertionFailure() << "not in a scroll area";
        const QRect r(w->mapTo(area->viewport(), QPoint(0, 0)), w->size());
        if (area->viewport()->rect().contains(r)) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << w->objectName().toStdString()
                                             << " is outside the visible part";
    }
};

TEST_F(ScreenFit, MainWindowFitsWithItsStatusBar) {
    ASSERT_TRUE(Start());
    ASSERT_TRUE(WaitFor([this] { return Frame().isVisible() && Frame().statusBar()->height(); }));
    EXPECT_TRUE(OnScreen(&Frame()));
    EXPECT_TRUE(Inside(Frame().statusBar()));
    // No larger than where the screen has room for it.
    EXPECT_LE(Frame().width(), 720);
    EXPECT_LE(Frame().height(), 480);
}

TEST_F(ScreenFit, SheetKeepsOkAndCancelOnTheScreenAndScrollsItsPages) {
    OpenSample();
    WithSheet(
        [&](ui::qt::CBoundSheet& sheet) {
            for (int tab = 0; tab < sheet.Tabs()->count(); ++tab) {
                sheet.Tabs()->setCurrentIndex(tab);
                QApplication::processEvents();
                EXPECT_TRUE(OnScreen(&sheet)) << tab;
                for (int id : {ui::IDOK, ui::IDCANCEL})
                    EXPECT_TRUE(Inside(sheet.findChild<QPushButton*>(QString::number(id))))
                        << tab;
            }
            // The channel page: what the window cannot show scrolls, and a
            // control reached with the keyboard comes into view.
            sheet.Tabs()->setCurrentIndex(1);
            QApplication::processEvents();
            auto* area = qobject_cast<QScrollArea*>(sheet.Tabs()->currentWidget());
            ASSERT_NE(area, nullptr);
            const bool cut = area->widget()->sizeHint().height() > area->viewport()->height();
            EXPECT_EQ(area->verticalScrollBar()->isVisible(), cut);
            for (int id : {1262, 1004}) {  // Group Call 4's alert list, then F1
                QWidget* w = In<QWidget>(sheet, id);
                Focus(sheet, w);
                QApplication::processEvents();
                EXPECT_TRUE(Scrolled(w)) << id;
            }
        },
        ui::IDCANCEL);
}

TEST_F(ScreenFit, CorvanePickerFitsTheScreen) {
    OpenSample();
    WithSheet(
        [&](ui::qt::CBoundSheet& sheet) {
            sheet.Tabs()->setCurrentIndex(1);
            QApplication::processEvents();
            auto* pick = In<QPushButton>(sheet, 1210);
            bool seen = false;
            QTimer poll;
            poll.setInterval(10);
            QObject::connect(&poll, &QTimer::timeout, [&] {
                auto* dlg = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                if (!dlg || dlg->windowTitle() != "Corvane Tone Table") return;
                poll.stop();
                seen = true;
                QApplication::processEvents();
                EXPECT_TRUE(OnScreen(dlg));
                for (int id : {ui::IDOK, ui::IDCANCEL})
                    EXPECT_TRUE(Inside(dlg->findChild<QPushButton*>(QString::number(id))));
                auto* area = dlg->findChild<QScrollArea*>();
                ASSERT_NE(area, nullptr);
                if (Roomy()) {
                    // All eighty tones at once, nothing to scroll.
                    EXPECT_FALSE(area->verticalScrollBar()->isVisible());
                    EXPECT_FALSE(area->horizontalScrollBar()->isVisible());
                }
                // The tone the keyboard reaches is in view.
                QApplication::setActiveWindow(dlg);
                auto* first =
                    dlg->findChild<QRadioButton*>(QString::number(CToneTableDlg::RadioId(0)));
                first->setFocus();
                QTest::keyClick(first, Qt::Key_Up);
                QApplication::processEvents();
                EXPECT_TRUE(Scrolled(QApplication::focusWidget()));
                dlg->reject();
            });
            poll.start();
            QTest::mouseClick(pick, Qt::LeftButton);
            EXPECT_TRUE(seen);
        },
        ui::IDCANCEL);
}

TEST_F(ScreenFit, PreviewAndHelpWindowsFitTheScreen) {
    OpenSample();
    bool seen = false;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* preview = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
        if (!preview || !preview->isVisible()) return;
        poll.stop();
        seen = true;
        EXPECT_TRUE(OnScreen(preview));
        preview->reject();
    });
    poll.start();
    Frame().OnCommand(ID_FILE_PRINT_PREVIEW);
    EXPECT_TRUE(seen);

    app->ShowHelpSection("channels");
    HelpWindow* help = app->GetHelpWindow();
    ASSERT_NE(help, nullptr);
    ASSERT_TRUE(WaitFor([&] { return help->isVisible(); }));
    EXPECT_TRUE(OnScreen(help));
    EXPECT_TRUE(Inside(help->findChild<QPushButton*>("helpClose")));
}

}  // namespace
