#include "ui/qt/FitScrollArea.h"

#include <QApplication>

namespace ui::qt {

FitScrollArea::FitScrollArea(QWidget* contents, QWidget* parent) : QScrollArea(parent) {
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    setWidget(contents);
    // What lies behind (a tab page, a dialog) shows through.
    viewport()->setAutoFillBackground(false);
    contents->setAutoFillBackground(false);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now && widget() && widget()->isAncestorOf(now)) ensureWidgetVisible(now);
    });
}

QSize FitScrollArea::sizeHint() const {
    const int f = 2 * frameWidth();
    return widget() ? widget()->sizeHint() + QSize(f, f) : QScrollArea::sizeHint();
}

}  // namespace ui::qt
