#pragma once
// What `calvex set` and `calvex apply` share: running the changes through the
// User Data sheet, reporting its boxes, and saving the result.
#include <cstdio>
#include <string>
#include <vector>

#include "Verb.h"
#include "document/CodeplugDocument.h"
#include "document/CodeplugFields.h"
#include "editor/pages/SheetScript.h"

// Prints every box a script's pages showed ("caption: text", continued lines
// indented) and the script's own reason, on stderr.
template <typename Messages>
void PrintScriptBoxes(const Messages& messages, const std::string& error, const char* verb) {
    for (const auto& m : messages) {
        std::string text = m.text;
        for (std::size_t i = 0; (i = text.find('\n', i)) != std::string::npos; i += 3)
            text.replace(i, 1, "\n  ");
        std::fprintf(stderr, "%s: %s\n", m.caption.c_str(), text.c_str());
    }
    if (!error.empty()) std::fprintf(stderr, "calvex %s: %s\n", verb, error.c_str());
}

// Prints every box the pages showed ("caption: text", on stderr), saves the
// codeplug to `out` (or back to its own file) when every change was taken,
// and gives the exit code. `engineerMade` counts the changes the engineer
// tools already made on the document's codeplug (calvex set --engineer):
// they are saved even when the sheet has nothing to change.
// Every field that ends up different from `before` (the file as opened) is
// listed on stdout as `calvex diff` names it, so a tone snapped onto the tone
// set or a field another change moved is seen, not only counted.
inline int FinishSheetEdit(CodeplugDocument& doc, const Image& before,
                           const std::vector<SheetChange>& changes, const std::string& out,
                           const char* verb, std::size_t engineerMade = 0) {
    if (changes.empty() && engineerMade == 0) {
        std::printf("nothing to change\n");
        if (out.empty()) return EXIT_OK;
    }
    CCodeplug plug = doc.Codeplug();
    SheetScriptResult r;
    if (!changes.empty() || engineerMade == 0) r = SheetScript::Apply(plug, changes);
    PrintScriptBoxes(r.messages, r.error, verb);
    switch (r.outcome) {
        case SheetScriptResult::Outcome::BadInput:
            return EXIT_USAGE;
        case SheetScriptResult::Outcome::Refused:
            std::fprintf(stderr, "calvex %s: nothing written\n", verb);
            return EXIT_FAILED;
        case SheetScriptResult::Outcome::Changed:
            break;
    }
    doc.Codeplug() = plug;
    const std::string target = out.empty() ? doc.Path().string() : out;
    const DocumentResult saved = out.empty() ? doc.Save() : doc.SaveAs(out);
    if (saved.kind != DocumentResult::Kind::Ok) {
        std::fprintf(stderr, "calvex %s: %s\n", verb, saved.message.c_str());
        return EXIT_FAILED;
    }
    CodeplugDiff diff = CompareCodeplugs(before, doc.Codeplug().GetImage());
    diff.bytes.clear();  // the checksum and the like: not what the user asked about
    std::fputs(DiffText(diff).c_str(), stdout);
    const std::size_t made = changes.size() + engineerMade;
    std::printf("%zu change%s written to %s\n", made, made == 1 ? "" : "s", target.c_str());
    return EXIT_OK;
}
