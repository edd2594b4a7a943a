#pragma once
// The program with a sample codeplug open and its User Data sheet driven
// through the real widgets, from inside the sheet's modal loop.
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <functional>

#include "gui/AppFixture.h"

class SheetFixture : public AppFixture {
protected:
    void OpenSample(const char* name = "vhf-two-frequency.dat") {
        ASSERT_TRUE(Start());
        chosenFile = QString(CALVEX_SOURCE_DIR) + "/samples/" + name;
        Frame().OnCommand(cmd::ID_FILE_OPEN);
        ASSERT_TRUE(Doc().DataValid());
    }
    // Runs `drive` on the open sheet (from inside its modal loop), then
    // presses the button `closeWith` (0: `drive` closes the sheet itself).
    void WithSheet(std::function<void(ui::qt::CBoundSheet&)> drive, int closeWith) {
        bool done = false;
        QTimer poll;
        poll.setInterval(10);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            ui::qt::CBoundSheet* sheet = View().UserDataWindow();
            if (done || !sheet || !sheet->isVisible()) return;
            done = true;
            poll.stop();
            drive(*sheet);
            if (closeWith != 0)
                QTest::mouseClick(sheet->findChild<QPushButton*>(QString::number(closeWith)),
                                  Qt::LeftButton);
        });
        poll.start();
        ASSERT_TRUE(View().OnCommand(cmd::ID_USER_DATA));
        EXPECT_TRUE(done);
        EXPECT_FALSE(View().UserDataWindow()->isVisible());
    }
    // Gives a widget of the sheet the keyboard focus, as a click would.
    static void Focus(ui::qt::CBoundSheet& sheet, QWidget* w) {
        QApplication::setActiveWindow(&sheet);
        w->setFocus(Qt::OtherFocusReason);
        EXPECT_TRUE(WaitFor([&] { return w->hasFocus(); }, 5000));
    }
    // Replaces the text of the edit `id` on the page in front and moves on
    // to `next`; a field that refuses the text keeps the focus.
    void TypeAndLeave(ui::qt::CBoundSheet& sheet, int id, const char* text, int next) {
        auto* edit = In<QLineEdit>(sheet, id);
        ASSERT_NE(edit, nullptr);
        Focus(sheet, edit);
        edit->selectAll();
        QTest::keyClicks(edit, text);
        In<QWidget>(sheet, next)->setFocus(Qt::TabFocusReason);
    }
    template <typename W>
    W* In(ui::qt::CBoundSheet& sheet, int id) {
        return sheet.Tabs()->currentWidget()->findChild<W*>(QString::number(id));
    }
};

// Closes the first modal dialog with this caption that comes up while
// `action` runs; true when one came.
inline bool CancelDialogDuring(const QString& caption, const std::function<void()>& action) {
    bool seen = false;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dlg = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dlg || dlg->windowTitle() != caption || !dlg->isVisible()) return;
        poll.stop();
        seen = true;
        dlg->reject();
    });
    poll.start();
    action();
    return seen;
}
