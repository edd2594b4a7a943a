#pragma once
// Notifications a control sends to its dialog model.
namespace ui {

enum class Notify {
    Clicked,     // push button, check box or radio button pressed
    SelChange,   // list/combo selection changed by the user
    Picked,      // the user picked a list/combo entry, also the one already shown
    EditChange,  // text of an edit (or editable combo) changed by the user
    KillFocus,   // the control lost the keyboard focus
    SetFocus,    // the control got the keyboard focus
    Scroll,      // trackbar moved
};

}  // namespace ui
