#pragma once

namespace korvant {

// errno values of the Windows C runtime. They are fixed numbers, not the
// host's constants, so the mapping is the same wherever it is tested.
enum CrtErrno : int {
    kENOENT = 2,
    kEBADF = 9,
    kENOMEM = 12,
    kEACCES = 13,
    kEEXIST = 17,
    kEINVAL = 22,
    kENAMETOOLONG = 38,
};

// Maps a Win32 error code to the errno value the C runtime would use.
int Win32ErrorToErrno(unsigned long error);

}  // namespace korvant
