#pragma once
// Decodes a codeplug into the texts of its printed report.
#include <string>

#include "codeplug/CCodeplug.h"
#include "codeplug/CPagerData.h"
#include "report/CodeplugReport.h"

// The report of decoded records. The advanced block is included while the
// engineer flag of CodeplugContext is set. Expects CodeplugContext to hold
// the values of `pager` (as CPagerData::Decode leaves it).
CodeplugReport BuildCodeplugReport(const CPagerData& pager, const std::string& path);

// Decodes `plug` into `pager` (which refreshes CodeplugContext) and builds
// its report.
CodeplugReport BuildCodeplugReport(const CCodeplug& plug, CPagerData& pager,
                                   const std::string& path);

// C/S text and the call whose ALERT and DUTY a row of the call table shows,
// for a coding option. `call` is -1 when the row shows neither.
struct CallRowRule {
    const char* sequence;  // "" for none
    int call;              // 0 to 11, or -1
};
CallRowRule CallRowRuleFor(int codingOption, int row);  // row 0 to 11
