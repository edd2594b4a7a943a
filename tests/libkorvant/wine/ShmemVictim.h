#pragma once

// Worker modes that use every cache and account export of the DLL while
// something works against them (see ShmemVictim.cpp). Each answers the
// worker's exit code: 0 when everything held.
namespace shmemwine {

inline constexpr const char* kReadyName = "VTshmemTestReady";
inline constexpr const char* kStopName = "VTshmemTestStop";

// Maps guard space around its views, signals ready, then uses every export
// until the stop event.
int Victim(unsigned seed);
// KORVA_DEBUG_SHMEM_FILE is set: reads through the debug file until stopped.
int DebugReader(unsigned seed);
// One thread maps SIDs while another opens and closes tables and areas.
int Threads(int milliseconds);
// Prints nt_is_privileged and the product group's SID.
int Privileged();

}  // namespace shmemwine
