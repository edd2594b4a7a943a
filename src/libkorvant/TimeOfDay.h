#pragma once

#include <cstdint>

namespace korvant {

struct ZoneInfo {
    long bias = 0;  // minutes, UTC = local + bias
    long standardBias = 0;
    long daylightBias = 0;
    bool standardDateDefined = false;
    bool daylightActive = false;  // the system reports daylight time now
};

// gettimeofday's arithmetic: system time in 100-ns units since 1601 to
// microseconds since 1970, never answering the same moment twice, and the
// time zone recomputed only when the calendar date changes.
class TimeOfDay {
public:
    static constexpr std::int64_t kEpochDifference = 116444736000000000LL;  // 1601 -> 1970

    // Microseconds since 1970 for a FILETIME value, strictly above the last answer.
    std::int64_t Next(std::uint64_t fileTime);

    // dateKey identifies the local calendar date (e.g. y*10000+m*100+d);
    // the zone is taken from query() only when it differs from the last one.
    template <typename Query>
    void Zone(std::uint32_t dateKey, Query query, int* minutesWest, int* dstFlag) {
        if (!haveZone_ || dateKey != zoneDate_) {
            SetZone(query());
            zoneDate_ = dateKey;
        }
        if (minutesWest != nullptr) {
            *minutesWest = minutesWest_;
        }
        if (dstFlag != nullptr) {
            *dstFlag = dstFlag_;
        }
    }

private:
    void SetZone(const ZoneInfo& zone);

    std::int64_t last_ = 0;
    bool haveZone_ = false;
    std::uint32_t zoneDate_ = 0;
    int minutesWest_ = 0;
    int dstFlag_ = 0;
};

}  // namespace korvant
