#pragma once
// The band splits (sub-bands) of each radio band, indexed by the code stored
// in MODEL_NO: the name the report and the engineer tools show and the
// recommended operating range the frequency rules check against.
#include <span>

struct SubBand {
    const char* name;  // nullptr for a code that is not used (UHF 3 and 7)
    double low;        // recommended range, MHz
    double high;
};

// The band's codes in order; empty for a band without splits.
std::span<const SubBand> SubBandsOf(int band);

// The split of a used code; nullptr for an unused code or one beyond the band.
const SubBand* FindSubBand(int band, int code);
