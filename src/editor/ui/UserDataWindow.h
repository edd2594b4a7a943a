#pragma once
// The "User Data" sheet as a window: the generic sheet with the five page
// layouts, and the channel pages' "..." buttons opening real pickers.
#include "ui/qt/CBoundSheet.h"

class CUserData;

ui::qt::CBoundSheet* MakeUserDataWindow(CUserData& sheet, QWidget* parent);
