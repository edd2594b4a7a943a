#include "editor/pages/SwitchFlags.h"

void UpdateSwitchFlags(const CSwitchSettings& switches, CodeplugContext& ctx) {
    ctx.priorityScan = switches.HasPriorityScan();
    ctx.dutyF1 = switches.DutyAvailable(F1);
    ctx.dutyF2 = switches.DutyAvailable(F2);
}
