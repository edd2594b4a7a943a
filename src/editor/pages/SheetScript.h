#pragma once
// Edits a codeplug without a window: each change names a field by its path in
// `calvex show --json` and gives what a user would type or pick, and is made
// through the User Data sheet's own page models, in page order, as a user
// moving through the sheet would. A change a page refuses stops the run with
// the page's own message, and the codeplug stays as it was.
#include <string>
#include <vector>

class CCodeplug;

struct SheetChange {
    std::string key;
    std::string value;
};

enum class SheetKeyKind {
    Editable,  // a page control takes it
    Factory,   // only the engineer tools change it
    Derived,   // follows other fields
    Unknown,
};

struct SheetKeyHelp {
    std::string key;     // e.g. "channels.F1|F2.calls.N.tone1"
    std::string values;  // what it takes
};

// A box the pages showed while the script ran.
struct SheetMessage {
    std::string text;
    std::string caption;
    bool refusal = false;  // false: informs only (the change was taken)
};

struct SheetScriptResult {
    enum class Outcome { Changed, Refused, BadInput } outcome = Outcome::Changed;
    // Every box in order; for BadInput a single line naming the problem.
    std::vector<SheetMessage> messages;
    std::string error;  // BadInput and Refused without a box: why
};

class SheetScript {
public:
    static SheetKeyKind Classify(const std::string& key);
    // The keys a script can set, for --help.
    static std::vector<SheetKeyHelp> Help();

    // Runs the sheet over `plug` with the changes and confirms it. On any
    // refusal or bad input `plug` is left untouched.
    static SheetScriptResult Apply(CCodeplug& plug, const std::vector<SheetChange>& changes);
};
