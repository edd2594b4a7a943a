#pragma once
// The published tone sets the pager's tone systems draw from, and snapping of
// a tone onto the set of a tone system.
#include <span>

struct ToneSetEntry {
    double frequency;  // Hz
    int code;          // three-digit code number
};

// Entries in the order the picker dialogs list them (Corvane by group,
// GE and Plectron by code).
std::span<const ToneSetEntry> CorvaneToneSet();
std::span<const ToneSetEntry> GeToneSet();
std::span<const ToneSetEntry> PlectronToneSet();

// The set's frequencies in ascending order, as used for snapping. Empty for
// the "User" system and for unknown systems.
std::span<const double> SnapList(int toneSystem);

// Nearest tone of the system's set; values outside the set are clamped to its
// ends, a value exactly halfway goes to the upper tone. 0 stays 0; "User" and
// unknown systems keep the value as it is.
double SnapTone(int toneSystem, double t);
