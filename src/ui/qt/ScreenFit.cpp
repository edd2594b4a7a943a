#include "ui/qt/ScreenFit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace ui::qt {

namespace {

// Title bar and borders of a typical window manager, for a window whose own
// frame is not known yet and whose parent shows none.
constexpr QSize kTypicalFrame(16, 40);

// A shown window's frame, or an empty size.
QSize FrameOf(const QWidget* window) {
    if (!window || !window->isVisible()) return {};
    return window->frameGeometry().size() - window->geometry().size();
}

}  // namespace

QSize ScreenRoom(const QWidget* w) {
    const QWidget* window = w->window();
    const QWidget* parent = window->parentWidget() ? window->parentWidget()->window() : nullptr;
    // Before it is shown a dialog opens over its parent, on the parent's screen.
    const QWidget* placed = window->isVisible() || !parent ? window : parent;
    QScreen* screen = placed->screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return {};
    QSize frame = FrameOf(window);
    if (frame.isEmpty()) frame = FrameOf(parent);
    if (frame.isEmpty()) frame = kTypicalFrame;
    return screen->availableGeometry().size() - frame;
}

QSize FitToScreen(const QWidget* w, QSize wanted) {
    const QSize room = ScreenRoom(w);
    if (room.isEmpty()) return wanted;
    return wanted.boundedTo(room);
}

}  // namespace ui::qt
