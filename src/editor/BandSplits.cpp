#include "editor/BandSplits.h"

#include "codeplug/SubBands.h"

std::optional<BandSplit> FindBandSplit(int band, int code) {
    const SubBand* split = FindSubBand(band, code);
    if (!split) return std::nullopt;
    return BandSplit{band, code, split->name, split->low, split->high};
}

std::string BandSplitName(int band, int code) {
    const SubBand* split = FindSubBand(band, code);
    return split ? split->name : "";
}

double OutOfBandMargin(int band) {
    switch (band) {
        case 0: return 0.5;
        case 2: return 0.6;
        case 3: return 0.7;
        default: return 0.0;
    }
}

std::optional<FrequencyLimits> FrequencyLimitsOf(int band, int code) {
    const auto split = FindBandSplit(band, code);
    if (!split) return std::nullopt;
    const double m = OutOfBandMargin(band);
    return FrequencyLimits{split->low - m, split->high + m};
}
