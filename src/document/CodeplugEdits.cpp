#include "document/CodeplugEdits.h"

#include "engineer/EngineerScript.h"

namespace {

template <typename Result>
void Take(CodeplugEditResult& into, const Result& r) {
    into.messages.insert(into.messages.end(), r.messages.begin(), r.messages.end());
    into.outcome = r.outcome;
    into.error = r.error;
    into.refusal = r.refusal;
}

}  // namespace

std::optional<std::string> FieldValueOf(const CCodeplug& plug, const std::string& key) {
    for (const FieldEntry& e : FlattenFields(DescribeCodeplug(plug)))
        if (e.name == key) return EditText(e.value);
    return std::nullopt;
}

std::vector<SheetChange> DocumentChanges(const FieldJson& incoming, const CCodeplug& plug) {
    std::vector<SheetChange> changes;
    for (EditedField& e : EditedFields(incoming, DescribeCodeplug(plug)))
        changes.push_back({std::move(e.name), std::move(e.value)});
    return changes;
}

CodeplugEditResult EditCodeplug(CCodeplug& plug, const std::vector<SheetChange>& changes,
                                const CodeplugEditOptions& options) {
    CodeplugEditResult result;
    std::vector<EngineerChange> factory;
    std::vector<SheetChange> rest;
    for (const SheetChange& c : changes) {
        if (options.engineer && EngineerScript::Handles(c.key))
            factory.push_back({c.key, c.value});
        else
            rest.push_back(c);
    }
    ui::script::Options script;
    script.document = options.document;
    script.fieldValue = FieldValueOf;

    CCodeplug work = plug;
    if (!factory.empty()) {
        const EngineerScriptResult r = EngineerScript::Apply(work, factory, script);
        Take(result, r);
        if (r.outcome != CodeplugEditResult::Outcome::Changed) return result;
    }
    if (!rest.empty()) {
        const SheetScriptResult r = SheetScript::Apply(work, rest, script);
        Take(result, r);
        result.notes = r.notes;
        if (r.outcome != CodeplugEditResult::Outcome::Changed) return result;
    }
    plug = work;
    return result;
}
