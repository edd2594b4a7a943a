#pragma once
// The fixed lists of the two settings dialogs: 64 COM names and 4 delays.
#include <string>

inline constexpr int kPortCount = 64;
inline constexpr int kDelayCount = 4;

// "COM1" ... "COM64".
inline std::string PortListName(int index) {
    return "COM" + std::to_string(index + 1);
}

inline const char* DelayListLabel(int index) {
    static const char* const labels[kDelayCount] = {"2 Seconds", "3 Seconds (Default)",
                                                    "4 Seconds", "5 Seconds"};
    return index >= 0 && index < kDelayCount ? labels[index] : "";
}
