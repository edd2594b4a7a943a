#pragma once
// Wires the engineer tools into the frame and view: Engineer Logon (32774),
// Engineer Data (32778) and the Falsing Alert Adjustment (32785, S key).
#include <QStringList>

class CMainFrame;
class CTarnixHXRDoc;
class EngineerTools;
namespace ui {
class Prompt;
}

// Command-line switch that shows the "Engineer" menu. A dealer's program
// looks as it always did; the engineer starts it with this switch.
inline constexpr const char* kEngineerSwitch = "--engineer";

// Registers the command handlers on the frame's view; with `engineerMenu`
// the menu bar gets an "Engineer" menu with Engineer Logon and Engineer Data.
EngineerTools* InstallEngineerTools(CMainFrame& frame, CTarnixHXRDoc& doc, ui::Prompt& prompt,
                                    bool engineerMenu);
