#pragma once
// The fixed lists of the two settings dialogs: the link's 64 port names and
// 4 delays.
#include <string>

#include "link/CCommPort.h"

inline constexpr int kPortCount = CCommPort::kPortCount;
inline constexpr int kDelayCount = CCommPort::kDelayCount;

// "COM1" ... "COM64".
inline std::string PortListName(int index) {
    return CCommPort::PortListEntry(index);
}

inline const char* DelayListLabel(int index) {
    return CCommPort::DelayListLabel(index);
}
