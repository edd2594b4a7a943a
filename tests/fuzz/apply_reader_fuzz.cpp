// Fuzz target: any bytes as the document `calvex apply` reads. Text that is
// no JSON object is refused before anything else; an object yields edits
// that each differ from the codeplug, and the User Data sheet, judging them
// as a document, either takes them all or leaves the codeplug exactly as it
// was and says why.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>

#include "codeplug/CodeplugContext.h"
#include "document/CDatFile.h"
#include "document/CodeplugFields.h"
#include "editor/pages/SheetScript.h"

namespace {

void Require(bool ok) {
    if (!ok) std::abort();
}

struct Base {
    CCodeplug plug;
    FieldJson description;
    std::map<std::string, std::string> fields;
};

// The sample a user would most likely edit, read once.
const Base& Sample() {
    static const Base base = [] {
        Base b;
        const auto r =
            CDatFile::Read(std::string(CALVEX_SOURCE_DIR) + "/samples/vhf-two-frequency.dat");
        Require(r.ok);
        b.plug.SetImage(r.parsed.image);
        b.description = DescribeCodeplug(b.plug);
        for (const FieldEntry& e : FlattenFields(b.description))
            b.fields[e.name] = EditText(e.value);
        // The codeplug's own description changes nothing.
        Require(EditedFields(b.description, b.description).empty());
        return b;
    }();
    return base;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Base& base = Sample();
    const auto* text = reinterpret_cast<const char*>(data);
    const FieldJson incoming = FieldJson::parse(text, text + size, nullptr, false);
    if (incoming.is_discarded() || !incoming.is_object()) return 0;

    const std::vector<EditedField> edits = EditedFields(incoming, base.description);
    std::vector<SheetChange> changes;
    for (const EditedField& e : edits) {
        Require(e.name != "file");
        const auto it = base.fields.find(e.name);
        Require(it == base.fields.end() || it->second != e.value);
        changes.push_back({e.name, e.value});
    }
    if (changes.empty()) return 0;

    CodeplugContext::Get().Reset();
    CCodeplug plug = base.plug;
    ui::script::Options document;
    document.document = true;
    document.fieldValue = [](const CCodeplug& p, const std::string& key) {
        std::optional<std::string> value;
        for (const FieldEntry& e : FlattenFields(DescribeCodeplug(p)))
            if (e.name == key) value = EditText(e.value);
        return value;
    };
    const SheetScriptResult r = SheetScript::Apply(plug, changes, document);
    if (r.outcome != SheetScriptResult::Outcome::Changed) {
        Require(plug.GetImage() == base.plug.GetImage());
        Require(!r.error.empty());
    }
    if (r.outcome == SheetScriptResult::Outcome::Refused)
        Require(!r.refusal.key.empty() || !r.messages.empty());
    return 0;
}
