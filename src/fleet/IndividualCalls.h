#pragma once
// The individual calls a codeplug answers: the two-tone calls its channels'
// coding options use, each on the channel's receiver frequency. Two pagers
// that answer the same call on the same frequency ring together: neither
// can be paged alone with that call.
#include <string>
#include <vector>

#include "codeplug/CCodeplug.h"

struct IndividualCall {
    std::string channel;    // "F1", "F2"
    int call = 0;           // 1 to 8
    std::string frequency;  // "%.4f" MHz
    double tone1 = 0, tone2 = 0;
    double spacing = 0;  // the channel's tone spacing threshold

    // "F1 call 1"
    std::string Where() const;
    // "349.0 - 600.9 Hz on 152.0075 MHz"
    std::string What() const;
    // Same frequency, and each tone too close to the other's for the pager's
    // decoder to tell them apart (the spacing threshold of either pager).
    bool Alike(const IndividualCall& other) const;
    bool SamePlace(const IndividualCall& other) const {
        return channel == other.channel && call == other.call;
    }
};

// The calls with both tones set that the coding option of each used channel
// (F2 only on a two-frequency model) gives the pager. Decoding sets the
// process-wide codeplug context from the codeplug.
std::vector<IndividualCall> IndividualCallsOf(const CCodeplug& plug);
