#pragma once
// Picks an entry of a combo box as a user does: opens its list and clicks the
// entry (also the one already shown), so the box sends what a real pick sends.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QTest>

#include "gui/WaitFor.h"

inline void PickEntry(QComboBox* box, int index) {
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(box->isVisible() && box->isEnabled()) << box->objectName().toStdString();
    ASSERT_GE(index, 0);
    ASSERT_LT(index, box->count());
    box->showPopup();
    QAbstractItemView* list = box->view();
    ASSERT_TRUE(WaitFor([&] { return list->isVisible(); }, 5000));
    const QModelIndex item = list->model()->index(index, box->modelColumn(), box->rootModelIndex());
    list->scrollTo(item);
    const QPoint at = list->visualRect(item).center();
    // The pointer moves onto the entry first, as a user's does: the list
    // ignores a release right after it opened where no move came between.
    QTest::mouseMove(list->viewport(), at);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    ASSERT_TRUE(WaitFor([&] { return !list->isVisible(); }, 5000));
    // The offscreen platform does not hand the activation back from the
    // closed list: the window the box is in takes it again, as on a desktop.
    QWidget* window = box->window();
    QApplication::setActiveWindow(window);
    ASSERT_TRUE(WaitFor([&] { return window->isActiveWindow(); }, 5000));
}
