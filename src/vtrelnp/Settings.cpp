#include "vtrelnp/Settings.h"

namespace vtrelnp {

namespace {

constexpr std::size_t kMaxComputerName = 64;

std::string DriverParam(Libraries& libraries, int index) {
    std::string value;
    if (libraries.GetDlfsParam(index, &value) != 0 || value.empty()) {
        value.clear();
        libraries.GetDefaultDlfsParam(index, &value);
    }
    return value;
}

}  // namespace

Settings Settings::Read(System& system, Libraries& libraries, Reporter& reporter) {
    Settings s;

    WString computer;
    if (const long error = system.ComputerName(&computer); error != 0) {
        reporter.Event(
            Format("vtnp_init(): GetComputerName(): %lu", static_cast<unsigned long>(error)));
    } else {
        s.computerName = computer.substr(0, kMaxComputerName);
    }
    s.containerName = u"Views on " + s.computerName;

    WString wide;
    const std::string netname = DriverParam(libraries, kDlfsViewNetname);
    if (const long error = system.AnsiToWide(netname, &wide); error != 0) {
        reporter.Event(
            Format("vtnp_init(): Can't convert view netname to Unicode - [%lu], using \\\\view",
                   static_cast<unsigned long>(error)));
    } else {
        s.netnamePrefix = u"\\\\" + wide;
    }

    std::string suffix;
    if (libraries.GetParam(kParamHistoryModeSuffix, &suffix) == 0 && !suffix.empty()) {
        if (const long error = system.AnsiToWide(suffix, &wide); error != 0) {
            reporter.Event(
                Format("vtnp_init(): Can't convert extended suffix to Unicode - [%lu], using @@",
                       static_cast<unsigned long>(error)));
        } else {
            s.extendedSuffix = wide;
        }
    }

    const std::string drive = DriverParam(libraries, kDlfsDrive);
    if (const long error = system.AnsiToWide(drive, &wide); error != 0) {
        reporter.Event(Format("vtnp_init(): Can't convert DLFS drive to Unicode - [%lu], using M:",
                              static_cast<unsigned long>(error)));
    } else if (wide.size() != 1 || !IsDriveLetter(wide[0])) {
        reporter.Event(Format("np_init(): Invalid DLFS drivespec %s, using M:", drive.c_str()));
    } else {
        s.driverDrive = WString(1, UpperAscii(wide[0])) + u":";
    }

    // The logon program comes from the product's own folder only: a fixed
    // fallback folder could be created by any user.
    std::string home;
    if (libraries.GetParam(kParamProductHome, &home) == 0 && !home.empty() &&
        system.AnsiToWide(home, &wide) == 0) {
        while (!wide.empty() && (wide.back() == u'\\' || wide.back() == u'/')) {
            wide.pop_back();
        }
        WString path = wide + u"\\bin\\nplogon.exe";
        if (path.find(u' ') != WString::npos) {
            path = u"\"" + path + u"\"";
        }
        s.logonProgram = path;
    }
    return s;
}

}  // namespace vtrelnp
