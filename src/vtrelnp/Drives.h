#pragma once

#include <optional>
#include <vector>

#include "vtrelnp/Libraries.h"
#include "vtrelnp/Reporter.h"
#include "vtrelnp/System.h"

namespace vtrelnp {

// A drive letter name: "Q" or "Q:" (either case). Anything else, the empty
// name included, is no drive; the result is "Q:".
std::optional<WString> DriveName(WStringView name);

// The drive a connection is to get: the local name's first letter ("Q:\",
// "q:" and "Q" all give "Q:"). A name that does not start with a letter is
// no drive.
std::optional<WString> LocalDrive(WStringView localName);

// A drive of this provider: the driver drive (no tag) or a view drive.
struct ProviderDrive {
    bool driverDrive = false;
    WString tag;
};

class Drives {
public:
    static constexpr std::size_t kFirstListSize = 16 * 1024;
    static constexpr std::size_t kMaxListSize = 1024 * 1024;

    Drives(System& system, Libraries& libraries, Reporter& reporter)
        : system_(system), libraries_(libraries), reporter_(reporter) {}

    // Whether "Q:" belongs to the provider: 0 with the drive, 67 for a name
    // that is no provider name, 2250 for a drive of someone else. Call it
    // inside the global critical section.
    long Check(const WString& drive, ProviderDrive* out);

    bool InUse(const WString& drive);

    // Every DOS device name. The buffer starts at 16 K characters and is
    // doubled only while the system says it is too small, up to 1 M.
    long DeviceNames(std::vector<WString>* names);

private:
    System& system_;
    Libraries& libraries_;
    Reporter& reporter_;
};

}  // namespace vtrelnp
