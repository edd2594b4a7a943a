#include "libkorvant/TimeOfDay.h"

namespace korvant {

std::int64_t TimeOfDay::Next(std::uint64_t fileTime) {
    const std::int64_t units = static_cast<std::int64_t>(fileTime) - kEpochDifference;
    std::int64_t micros = (units + 5) / 10;
    if (micros <= last_) {
        micros = last_ + 1;
    }
    last_ = micros;
    return micros;
}

void TimeOfDay::SetZone(const ZoneInfo& zone) {
    long west = zone.bias;
    if (zone.standardDateDefined) {
        west += zone.standardBias;
    }
    minutesWest_ = static_cast<int>(west);
    dstFlag_ = (zone.daylightActive && zone.daylightBias != 0) ? 1 : 0;
    haveZone_ = true;
}

}  // namespace korvant
