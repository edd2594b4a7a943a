#pragma once
// The "User Data" sheet as a window: the generic sheet with the five page
// layouts, and the channel pages' "..." buttons opening real pickers.
#include "ui/qt/CBoundSheet.h"

class CUserData;

ui::qt::CBoundSheet* MakeUserDataWindow(CUserData& sheet, QWidget* parent);

// The section of the user guide that describes a page of the sheet (an
// anchor of the guide), "userdata" for a page it does not know.
const char* UserDataHelpAnchor(int pageResourceId);
