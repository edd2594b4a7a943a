#pragma once
// Everything that is checked about a roster before any pager is touched:
// each row applied to the template through the User Data sheet, as
// `calvex set` applies its keys, and across rows, no two pagers that could
// not be paged apart.
#include <string>
#include <vector>

#include "codeplug/CCodeplug.h"
#include "fleet/Roster.h"

struct RosterCheck {
    // Everything that keeps the roster from being used; empty when it can be.
    std::vector<std::string> problems;
    // What the sheet only informed about (taken, as `calvex set` takes it).
    std::vector<std::string> notes;
    // Per row: the template with that row's values, as the pager gets it.
    std::vector<CCodeplug> codeplugs;

    bool Ok() const { return problems.empty(); }

    // Leaves the process-wide codeplug context as it found it.
    static RosterCheck Run(const Roster& roster, const CCodeplug& templ);
};
