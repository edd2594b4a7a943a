#pragma once
// The three flags other pages read from the function switches: priority scan
// in use (Model Options) and ON/OFF duty usable on channel F1 or F2 (the
// channel pages). The sheet derives them when it opens, the Function Switches
// page whenever it is left.
#include "codeplug/CSwitchSettings.h"
#include "codeplug/CodeplugContext.h"

void UpdateSwitchFlags(const CSwitchSettings& switches, CodeplugContext& ctx);
