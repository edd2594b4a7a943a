#pragma once
// What one dialog control shows, keyed by its control id in the owning model.
// Display-only controls (static text, progress bar, picture) use the same record
// so that one binder can mirror any control onto a widget.
#include <string>
#include <vector>

namespace ui {

struct ControlState {
    std::string text;                // edit/static/button text; combo edit text
    std::vector<std::string> items;  // list and combo entries
    int selection = -1;              // list/combo selection, -1 for none
    bool checked = false;            // check box and radio button
    bool visible = true;
    bool enabled = true;
    int position = 0;  // progress bar or trackbar position
    int rangeMin = 0;
    int rangeMax = 100;
    int image = 0;  // picture control: resource id of the image shown, 0 none

    bool operator==(const ControlState&) const = default;
};

// Control ids shared by every dialog.
enum : int { IDOK = 1, IDCANCEL = 2, IDC_STATIC = 65535 };

}  // namespace ui
