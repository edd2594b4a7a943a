#include "ui/qt/FitScrollArea.h"

#include <QApplication>
#include <QEvent>

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

bool FitScrollArea::eventFilter(QObject* watched, QEvent* event) {
    if (watched == widget() && event->type() == QEvent::LayoutRequest) updateGeometry();
    return QScrollArea::eventFilter(watched, event);
}

QSize FitScrollArea::sizeHint() const {
    const int f = 2 * frameWidth();
    return widget() ? widget()->sizeHint() + QSize(f, f) : QScrollArea::sizeHint();
}

}  // namespace ui::qt
