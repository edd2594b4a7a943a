#pragma once
// The band splits of each radio band as the frequency rules see them (names
// and ranges come from the codeplug's sub-band table), and the margin around
// a split within which a frequency is still taken (with a warning).
#include <optional>
#include <string>

struct BandSplit {
    int band;
    int code;          // sub-band index of MODEL_NO
    const char* name;  // shown beside the frequency field in parentheses
    double low;        // recommended range, MHz
    double high;
};

// The split of `band` with sub-band index `code`; nullopt for the unused UHF
// codes 3 and 7 and for anything not in the table.
std::optional<BandSplit> FindBandSplit(int band, int code);

// Name of the split, "" when it has none.
std::string BandSplitName(int band, int code);

// Out-of-band margin in MHz: band 0 = 0.5, band 2 = 0.6, band 3 = 0.7; 0 for
// other bands.
double OutOfBandMargin(int band);

struct FrequencyLimits {
    double low;   // low edge - margin
    double high;  // high edge + margin
};

// The range a non-zero frequency must lie in; nullopt when the split has no
// range check.
std::optional<FrequencyLimits> FrequencyLimitsOf(int band, int code);
