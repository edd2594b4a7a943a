#pragma once
// The running program with the engineer tools: finding their windows and
// working their widgets as a user would.
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include "engineer/EngineerIds.h"
#include "engineer/ui/EngineerTools.h"
#include "gui/AppFixture.h"
#include "gui/PickEntry.h"
#include "ui/qt/CBoundDialog.h"

class EngineerGui : public AppFixture {
protected:
    EngineerTools& Tools() { return *View().findChild<EngineerTools*>("engineerTools"); }

    template <typename W = QWidget>
    static W* Control(QDialog* dlg, int id) {
        W* w = dlg->findChild<W*>(QString::number(id));
        EXPECT_NE(w, nullptr) << id;
        return w;
    }
    static void Click(QDialog* dlg, int id) {
        QTest::mouseClick(Control<QPushButton>(dlg, id), Qt::LeftButton);
    }
    // Types into an edit and moves the focus on, as Tab does.
    static void TypeAndLeave(QDialog* dlg, int id, const QString& text) {
        auto* edit = Control<QLineEdit>(dlg, id);
        edit->setFocus();
        WaitFor([&] { return edit->hasFocus(); }, 5000);
        edit->selectAll();
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Tab);
    }
    // Opens the box's list and clicks the entry, also the one it shows.
    static void Pick(QDialog* dlg, int id, int index) {
        PickEntry(Control<QComboBox>(dlg, id), index);
    }

    // Logs on through the dialog with `password`; returns the engineer flag.
    bool Logon(const QString& password) {
        Frame().Action(cmd::ID_ENGINEER_LOGON)->trigger();
        QDialog* dlg = Tools().LogonWindow();
        EXPECT_TRUE(dlg && dlg->isVisible());
        auto* edit = Control<QLineEdit>(dlg, engineer::IDC_PASSWORD);
        edit->selectAll();
        QTest::keyClicks(edit, password);
        Click(dlg, ui::IDOK);
        EXPECT_FALSE(dlg->isVisible());
        return CodeplugContext::Get().engineer;
    }
    QString OpenSample(const char* name = "vhf-two-frequency.dat") {
        const QString path = QString(CALVEX_SOURCE_DIR) + "/samples/" + name;
        EXPECT_TRUE(app->OpenDocumentFile(path));
        return path;
    }
};
