#pragma once
// Field exchange between a dialog's members and its controls, with the
// framework's checks and messages. One exchange runs in one direction: load
// (members -> controls) or save (controls -> members, with validation). The
// first failed check shows its message, remembers the control that must take
// the focus and turns every later call of the same exchange into a no-op.
#include <string>

#include "ui/Prompt.h"

namespace ui {

class CDialogModel;

// Caption of the framework's own message boxes: the application's title.
inline constexpr char kAppCaption[] = "Calvex V HXR";

// "Please enter a number between lo and hi." (limits to 15 significant digits).
std::string RangeMessage(double lo, double hi);
// "Please enter an integer between lo and hi."
std::string IntRangeMessage(long long lo, long long hi);
inline constexpr char kEnterNumber[] = "Please enter a number.";
inline constexpr char kEnterInteger[] = "Please enter an integer.";

// A number as the framework's numeric edit reads it: blanks around it, an
// optional sign, digits with one ".", an optional exponent. Infinities, NaN,
// hex and trailing garbage are not numbers.
bool ParseFrameworkDouble(const std::string& text, double& value);
// Whole numbers that fit a 32-bit int.
bool ParseFrameworkInt(const std::string& text, int& value);

class DataExchange {
public:
    DataExchange(CDialogModel& dialog, bool saveAndValidate);

    bool Saving() const { return m_save; }
    bool Failed() const { return m_failed; }
    // The control that refused its value, 0 when none did.
    int FailedControl() const { return m_failedId; }
    // The control whose value the last exchange call moved (the one a
    // following range check refers to).
    int LastControl() const { return m_lastId; }

    // Edit text as it stands.
    void Text(int id, std::string& value);
    // Numeric edits: load prints with "%.15g" (int: "%d"); save parses and
    // reports "Please enter a number." / "Please enter an integer.".
    void Number(int id, double& value);
    void Number(int id, int& value);
    // Combo box with an edit field or drop-down list: save takes the edit text
    // (the selected entry's text); load selects the first entry equal to the
    // value, else shows the value as typed text with no entry selected.
    void ComboText(int id, std::string& value);
    // Selected index of a list, -1 for none.
    void ComboIndex(int id, int& index);
    void Check(int id, int& value);
    void Slider(int id, int& position);

    // Range checks of the value just saved (no-ops while loading).
    void MinMax(double value, double lo, double hi);
    void MinMax(int value, int lo, int hi);

    // A field's own check refused it: shows the message (exclamation icon,
    // OK), remembers the control and stops the exchange.
    void Fail(int id, const std::string& text, const std::string& caption = kAppCaption,
              PromptIcon icon = PromptIcon::Warning);

private:
    bool Skip(int id);

    CDialogModel& m_dialog;
    bool m_save;
    bool m_failed = false;
    int m_failedId = 0;
    int m_lastId = 0;
};

}  // namespace ui
