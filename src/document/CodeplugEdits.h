#pragma once
// Changes fields of a codeplug by the names `calvex show --json` gives them,
// as `calvex set` and `calvex apply` do: the factory fields through the
// engineer tools (when the caller has logged on), then the rest through the
// User Data sheet, each with its own rules and messages. This is the entry
// point for any tool that edits codeplugs by field name.
#include <optional>
#include <string>
#include <vector>

#include "document/CodeplugFields.h"
#include "editor/pages/SheetScript.h"
#include "ui/ScriptWords.h"

struct CodeplugEditOptions {
    // The factory fields go through Engineer Data (the engineer has logged
    // on); without it they are refused as the sheet refuses them.
    bool engineer = false;
    // The values are a document's: what each field is to show when the run
    // is over (calvex apply). See ui::script::Options.
    bool document = false;
};

struct CodeplugEditResult {
    using Outcome = ui::script::Outcome;
    Outcome outcome = Outcome::Changed;
    // Every box the dialogs showed, in order (the engineer tools first).
    std::vector<ui::script::Message> messages;
    // Values taken other than as given (a time limited to its range).
    std::vector<std::string> notes;
    // BadInput and Refused: why, naming the key.
    std::string error;
    // Refused: the field it is about, and whether a change named it.
    ui::script::Refusal refusal;
};

// Makes the changes on `plug`, which is left untouched unless all of them
// were taken.
CodeplugEditResult EditCodeplug(CCodeplug& plug, const std::vector<SheetChange>& changes,
                                const CodeplugEditOptions& options = {});

// A field's value as the description spells it (EditText); nothing for a
// key the description does not have.
std::optional<std::string> FieldValueOf(const CCodeplug& plug, const std::string& key);

// What a document in the shape of the description (any part of it) asks of
// `plug`: its fields whose values differ, in document order.
std::vector<SheetChange> DocumentChanges(const FieldJson& incoming, const CCodeplug& plug);
