#pragma once
// What `calvex set` and `calvex apply` share: making the changes through the
// engineer tools and the User Data sheet, reporting their boxes, and saving
// the result.
#include <cstdio>
#include <string>
#include <vector>

#include "Verb.h"
#include "document/CodeplugDocument.h"
#include "document/CodeplugEdits.h"
#include "document/CodeplugFields.h"

// Prints every box the dialogs showed ("caption: text", continued lines
// indented), the values taken other than as given and the reason of a
// refusal, on stderr.
inline void PrintEditReport(const CodeplugEditResult& r, const char* verb) {
    for (const auto& m : r.messages) {
        std::string text = m.text;
        for (std::size_t i = 0; (i = text.find('\n', i)) != std::string::npos; i += 3)
            text.replace(i, 1, "\n  ");
        std::fprintf(stderr, "%s: %s\n", m.caption.c_str(), text.c_str());
    }
    for (const std::string& note : r.notes)
        std::fprintf(stderr, "calvex %s: %s\n", verb, note.c_str());
    if (!r.error.empty()) std::fprintf(stderr, "calvex %s: %s\n", verb, r.error.c_str());
}

// Makes the changes on the document's codeplug, prints what the dialogs
// said, saves the codeplug to `out` (or back to its own file) when every
// change was taken, and gives the exit code. Every field that ends up
// different from `before` (the file as opened) is listed on stdout as
// `calvex diff` names it, so a tone snapped onto the tone set or a field
// another change moved is seen; the count is of those fields, so a change
// that changed nothing is not counted.
inline int FinishEdit(CodeplugDocument& doc, const Image& before,
                      const std::vector<SheetChange>& changes, const std::string& out,
                      const char* verb, const CodeplugEditOptions& options) {
    if (changes.empty()) {
        std::printf("nothing to change\n");
        if (out.empty()) return EXIT_OK;
    }
    CCodeplug plug = doc.Codeplug();
    const CodeplugEditResult r = EditCodeplug(plug, changes, options);
    PrintEditReport(r, verb);
    switch (r.outcome) {
        case CodeplugEditResult::Outcome::BadInput:
            return EXIT_USAGE;
        case CodeplugEditResult::Outcome::Refused:
            std::fprintf(stderr, "calvex %s: nothing written\n", verb);
            return EXIT_FAILED;
        case CodeplugEditResult::Outcome::Changed:
            break;
    }
    if (out.empty() && plug.GetImage() == before) {
        std::printf("nothing changed: %s left as it was\n", doc.Path().string().c_str());
        return EXIT_OK;
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
    const std::size_t made = diff.fields.size();
    std::printf("%zu change%s written to %s\n", made, made == 1 ? "" : "s", target.c_str());
    return EXIT_OK;
}
