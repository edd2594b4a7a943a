#pragma once
// The program's pictures, drawn in code: toolbar buttons, logo, About
// bitmap and the status pictures of a transfer.
#include <QIcon>
#include <QPixmap>

#include "app/Resources.h"

namespace art {

// 16 x 16 button image of a toolbar command; a null icon for other ids.
QIcon ToolbarIcon(int commandId);
QPixmap ToolbarPixmap(int commandId);
// Bitmap by resource number (the 77 x 77 state pictures, logo, About).
QPixmap Bitmap(int resourceId);
QIcon AppIcon();

}  // namespace art
