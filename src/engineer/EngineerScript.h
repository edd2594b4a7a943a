#pragma once
// Changes the factory fields of a codeplug without a window, the way an
// engineer does in "Engineer Data": each change names a field by its path in
// `calvex show --json` and is made by picking or typing in that dialog's
// controls (and, for advanced.NAME, in "Advanced Engineer Data" behind its
// "&Advanced" button), in the order of the dialog's controls, then OK. A
// field the dialogs do not show is refused; a box that refuses an entry stops
// the run with its own message, and the codeplug stays as it was.
#include <string>
#include <vector>

#include "ui/ScriptWords.h"

class CCodeplug;

struct EngineerChange {
    std::string key;
    std::string value;
};

struct EngineerKeyHelp {
    std::string key;
    std::string values;
};

// A box the dialogs showed while the script ran.
using EngineerMessage = ui::script::Message;

struct EngineerScriptResult {
    using Outcome = ui::script::Outcome;
    Outcome outcome = Outcome::Changed;
    std::vector<EngineerMessage> messages;
    std::string error;            // BadInput and Refused: why, naming the key
    ui::script::Refusal refusal;  // Refused: the field it is about
};

class EngineerScript {
public:
    // True for the keys of the engineer tools: the factory fields and the
    // advanced block (including those the dialogs refuse).
    static bool Handles(const std::string& key);
    // The keys a script can set, for --help.
    static std::vector<EngineerKeyHelp> Help();

    // The engineer logon with `password`, as typed into its box and
    // confirmed; sets or clears the engineer flag. Returns the flag.
    static bool Logon(const std::string& password);

    // Opens Engineer Data on `plug`, makes the changes and presses OK. On any
    // refusal or bad input `plug` is left untouched. A list key picks its
    // entry even when the list shows it already (the pick runs the list's
    // handler, as in the dialog), except in a document; the parts of a model
    // or serial number that hold their value already are not picked.
    static EngineerScriptResult Apply(CCodeplug& plug, const std::vector<EngineerChange>& changes,
                                      const ui::script::Options& options = {});
};
