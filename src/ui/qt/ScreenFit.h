#pragma once
// Windows sized to the screen they show on: a laptop at 150 or 200 % scaling
// has far fewer logical pixels than a dialog's natural size.
#include <QSize>

class QWidget;

namespace ui::qt {

// The client area a window of `w` may take: the available area of the screen
// it shows on (its parent's, before it is shown), less the window manager's
// frame around it.
QSize ScreenRoom(const QWidget* w);

// `wanted`, shrunk where it exceeds that room.
QSize FitToScreen(const QWidget* w, QSize wanted);

// Moves a shown window that has grown past its screen's available area back
// onto it, as far as it fits.
void KeepOnScreen(QWidget* window);

}  // namespace ui::qt
