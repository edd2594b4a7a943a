#pragma once
// Edits a codeplug without a window: each change names a field by its path in
// `calvex show --json` and gives what a user would type or pick, and is made
// through the User Data sheet's own page models, in page order, as a user
// moving through the sheet would. A change a page refuses stops the run with
// the page's own message, and the codeplug stays as it was.
#include <string>
#include <vector>

#include "ui/ScriptWords.h"

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
using SheetMessage = ui::script::Message;

struct SheetScriptResult {
    using Outcome = ui::script::Outcome;
    Outcome outcome = Outcome::Changed;
    // Every box in order.
    std::vector<SheetMessage> messages;
    // Values the pages took other than as given (a time limited to its
    // range), one line each naming the key.
    std::vector<std::string> notes;
    // BadInput and Refused: why, naming the key.
    std::string error;
    // Refused: the field it is about.
    ui::script::Refusal refusal;
};

class SheetScript {
public:
    static SheetKeyKind Classify(const std::string& key);
    // The keys a script can set, for --help.
    static std::vector<SheetKeyHelp> Help();

    // Runs the sheet over `plug` with the changes and confirms it. On any
    // refusal or bad input `plug` is left untouched.
    static SheetScriptResult Apply(CCodeplug& plug, const std::vector<SheetChange>& changes,
                                   const ui::script::Options& options = {});
};
