#include "vtrelnp/Drives.h"

#include "vtrelnp/Settings.h"

namespace vtrelnp {

std::optional<WString> DriveName(WStringView name) {
    if (name.empty() || name.size() > 2 || !IsDriveLetter(name[0]) ||
        (name.size() == 2 && name[1] != u':')) {
        return std::nullopt;
    }
    return WString(1, UpperAscii(name[0])) + u":";
}

std::optional<WString> LocalDrive(WStringView localName) {
    if (localName.empty() || !IsDriveLetter(localName[0])) {
        return std::nullopt;
    }
    return WString(1, UpperAscii(localName[0])) + u":";
}

long Drives::Check(const WString& drive, ProviderDrive* out) {
    WString object;
    try {
        if (libraries_.ToObjectPath(drive + u"\\", &object) != 0) {
            return kErrBadNetName;
        }
    } catch (const AbnormalEnd&) {
        reporter_.Event("np_is_dlfs_disk(): Abnormal termination of ntx_*() call detected");
        return kErrBadNetName;
    }
    if (!object.empty() && object.back() == u'\\') {
        object.pop_back();
    }
    const WStringView device(kDriverDevice);
    if (EqualNoCase(object, device)) {
        out->driverDrive = true;
        out->tag.clear();
        return kOk;
    }
    if (object.size() > device.size() + 1 && StartsWithNoCase(object, device) &&
        object[device.size()] == u'\\') {
        const WString tag = object.substr(device.size() + 1);
        if (tag.find(u'\\') != WString::npos || EqualNoCase(tag, u".specdev")) {
            return kErrBadNetName;
        }
        out->driverDrive = false;
        out->tag = tag;
        return kOk;
    }
    return kErrNotConnected;
}

bool Drives::InUse(const WString& drive) {
    const std::uint32_t bit = 1u << (drive[0] - u'A');
    if ((system_.LogicalDrives() & bit) != 0) {
        return true;
    }
    WString target;
    return system_.QueryDevice(drive, &target) == 0;
}

long Drives::DeviceNames(std::vector<WString>* names) {
    for (std::size_t capacity = kFirstListSize;; capacity *= 2) {
        names->clear();
        const long error = system_.ListDevices(capacity, names);
        if (error != kErrInsufficientBuffer || capacity >= kMaxListSize) {
            return error;
        }
    }
}

}  // namespace vtrelnp
