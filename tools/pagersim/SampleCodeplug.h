#pragma once
// The codeplug a simulated pager holds when no file is given: a VHF pager
// (band 2, split D) with two channels, a few two-tone calls and a valid
// checksum and check code. Byte 511 is left 0 (the firmware byte is the
// simulator's own setting).
#include "codeplug/CCodeplug.h"

Image SampleCodeplug();
