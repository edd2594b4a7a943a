#pragma once

#include <optional>

#include "vtrelnp/Libraries.h"
#include "vtrelnp/Reporter.h"
#include "vtrelnp/System.h"

namespace vtrelnp {

inline constexpr char16_t kProviderName[] = u"Vantrel Dynamic Views";
inline constexpr char16_t kAllViews[] = u"All Views";
inline constexpr char16_t kRecentViews[] = u"Recently Used Views";
inline constexpr char16_t kViewComment[] = u"Vantrel View";
inline constexpr char16_t kDriverDevice[] = u"\\Device\\dlfs";

// Parameter indexes of LIBKORVANT's tables.
inline constexpr int kParamProductHome = 8;
inline constexpr int kParamRecentViews = 20;
inline constexpr int kParamHistoryModeSuffix = 51;
inline constexpr int kDlfsDrive = 25;
inline constexpr int kDlfsViewNetname = 28;

// The provider's settings, read once per process.
struct Settings {
    WString computerName = u"Unknown";
    WString containerName = u"Views on Unknown";  // this computer's container
    WString netnamePrefix = u"\\\\view";          // "\\" + view netname
    WString extendedSuffix = u"@@";
    WString driverDrive = u"M:";
    // The command line of the logon program; none without ProductHome.
    std::optional<WString> logonProgram;

    // Reads every setting, reporting each fallback. LIBKORVANT calls may
    // throw AbnormalEnd.
    static Settings Read(System& system, Libraries& libraries, Reporter& reporter);
};

}  // namespace vtrelnp
