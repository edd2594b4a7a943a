// Fuzz target: any bytes as a roster file. The CSV it reads writes back and
// reads again cell for cell; a roster is refused exactly when it lists a
// problem; and a small one is checked against the sample template, which
// leaves the program's codeplug context as it was and gives every accepted
// row its codeplug.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "codeplug/CodeplugContext.h"
#include "document/CDatFile.h"
#include "fleet/CsvText.h"
#include "fleet/Roster.h"
#include "fleet/RosterCheck.h"

namespace {

void Require(bool ok) {
    if (!ok) std::abort();
}

const CCodeplug& Template() {
    static const CCodeplug plug = [] {
        const auto r =
            CDatFile::Read(std::string(CALVEX_SOURCE_DIR) + "/samples/vhf-two-frequency.dat");
        Require(r.ok);
        CCodeplug p;
        p.SetImage(r.parsed.image);
        return p;
    }();
    return plug;
}

bool SameContext(const CodeplugContext& a, const CodeplugContext& b) {
    return a.band == b.band && a.subBand == b.subBand && a.crystal == b.crystal &&
           a.frequencies == b.frequencies && a.toneSystem == b.toneSystem &&
           a.engineer == b.engineer && a.pagerVersion == b.pagerVersion &&
           a.twoFrequency == b.twoFrequency && a.priorityScan == b.priorityScan &&
           a.dutyF1 == b.dutyF1 && a.dutyF2 == b.dutyF2;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const CsvTable table = CsvText::Parse(text);
    Require(table.ok == table.error.empty());
    if (table.ok) {
        // Written back (the separator named on its own line) and read again.
        std::string again = std::string("sep=") + table.separator + "\r\n";
        for (const CsvRecord& r : table.records) {
            Require(!r.cells.empty() && r.line >= 1);
            again += CsvText::Line(r.cells, table.separator);
        }
        const CsvTable reread = CsvText::Parse(again);
        Require(reread.ok && reread.records.size() == table.records.size());
        for (std::size_t i = 0; i < table.records.size(); ++i) {
            // A line break inside a cell comes back as "\n" either way.
            Require(reread.records[i].cells == table.records[i].cells);
        }
    }

    Roster roster;
    const bool ok = roster.Parse(text);
    Require(ok == roster.Problems().empty());
    for (const RosterRow& row : roster.Rows()) {
        Require(row.row >= 2);
        Require(!roster.HasSerials() || !ok || !Roster::SerialKey(row.serial).empty());
        for (const SheetChange& c : row.changes) {
            Require(!c.value.empty());
            bool known = false;
            for (const std::string& k : roster.Keys()) known = known || k == c.key;
            Require(known);
        }
    }
    // The sheet runs once per row (and once per key of a refused row): only
    // small rosters, to keep the pace.
    std::size_t keys = 0;
    for (const RosterRow& row : roster.Rows()) keys += row.changes.size();
    if (roster.Rows().empty() || roster.Rows().size() > 3 || keys > 6) return 0;
    CodeplugContext& context = CodeplugContext::Get();
    context.Reset();
    context.toneSystem = TONE_GE;
    const CodeplugContext before = context;
    const RosterCheck check = RosterCheck::Run(roster, Template());
    Require(SameContext(CodeplugContext::Get(), before));
    Require(check.codeplugs.size() == roster.Rows().size());
    for (const std::string& p : check.problems) Require(!p.empty());
    if (check.Ok()) {
        for (std::size_t i = 0; i < roster.Rows().size(); ++i) {
            // A row without values is the template itself.
            if (roster.Rows()[i].changes.empty())
                Require(check.codeplugs[i].GetImage() == Template().GetImage());
        }
    }
    return 0;
}
