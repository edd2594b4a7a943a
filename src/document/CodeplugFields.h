#pragma once
// Every decoded field of a codeplug by name: the one description behind
// `calvex show --json` and the field-by-field comparison of two codeplugs
// (`calvex diff`, `calvex write --verify`), so both always name a field the
// same way.
#include <cstddef>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "codeplug/CCodeplug.h"

using FieldJson = nlohmann::ordered_json;

// The decoded fields as one JSON object, in display order: texts as the
// program shows them, numbers where the field is a number, null for an empty
// tone slot. Decoding uses the process-wide CodeplugContext.
FieldJson DescribeCodeplug(const CCodeplug& plug);

// One leaf of the description, named by its path: object keys joined by
// ".", with list entries named by their "name", "call" or "position" member
// (else their index), e.g. "channels.F1.calls.3.tone1".
struct FieldEntry {
    std::string name;
    FieldJson value;
};
std::vector<FieldEntry> FlattenFields(const FieldJson& description);
// A leaf value for a line of text: strings as they are, null as "none".
std::string FieldText(const FieldJson& value);

// What `calvex apply` takes from a document in the shape of the description
// (any part of it): every leaf of `incoming` whose value, as a user would
// type it (EditText), differs from the same field of `current`, in document
// order. A leaf named "file" (where a document came from) is no field.
struct EditedField {
    std::string name;
    std::string value;
};
std::vector<EditedField> EditedFields(const FieldJson& incoming, const FieldJson& current);
// A leaf as an edit takes it: strings as they are, null as empty, numbers and
// booleans in their JSON spelling.
std::string EditText(const FieldJson& value);

struct FieldChange {
    std::string name;
    FieldJson from, to;
};
struct ByteChange {
    std::size_t offset;
    Byte from, to;
};
struct CodeplugDiff {
    std::vector<FieldChange> fields;
    // Differing bytes that no field describes (changing that byte alone
    // leaves every field as it was), e.g. CHECKSUM.
    std::vector<ByteChange> bytes;
    bool Equal() const { return fields.empty() && bytes.empty(); }
};

// Compares two images field by field and byte by byte. Each image's byte
// 511 is taken as its pager firmware version, so that byte is described by
// the "pagerVersion" field.
CodeplugDiff CompareCodeplugs(const Image& a, const Image& b);

// A write's read-back: what was sent (bytes 0 to 510) against what the pager
// holds afterwards. Byte 511 is the pager's own (never written) and is not
// compared.
CodeplugDiff CompareWritten(Image sent, const Image& held);

// The comparison for scripts: {"equal": ..., "fields": [{"field", "from",
// "to"}], "bytes": [{"offset", "from", "to"}]}.
FieldJson DiffJson(const CodeplugDiff& diff);
// One line per difference: "channels.F1.calls.3.tone1: 433.7 -> 466.8",
// "byte 0x1ed: $3A -> $3B"; empty when equal.
std::string DiffText(const CodeplugDiff& diff);
