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

void KeepOnScreen(QWidget* window) {
    QScreen* screen = window->screen();
    if (!screen || !window->isVisible()) return;
    const QRect room = screen->availableGeometry();
    QRect frame = window->frameGeometry();
    if (frame.right() > room.right()) frame.moveRight(room.right());
    if (frame.bottom() > room.bottom()) frame.moveBottom(room.bottom());
    if (frame.left() < room.left()) frame.moveLeft(room.left());
    if (frame.top() < room.top()) frame.moveTop(room.top());
    if (frame.topLeft() != window->frameGeometry().topLeft()) window->move(frame.topLeft());
}

}  // namespace ui::qt
