#pragma once
// The example codeplugs shipped in samples/, built through the decoded
// records the way the editors would fill them.
#include <ostream>
#include <string>
#include <vector>

#include "codeplug/CCodeplug.h"

struct SampleCall {
    int call;  // 0-11
    double tone1;
    double tone2;  // 0 for group calls
    int alert;
    bool dutyOff;
};

struct SampleChannel {
    double mhz;
    int codingOption;
    std::vector<SampleCall> calls;
};

struct SampleCodeplug {
    std::string file;  // name in samples/
    int band;
    int subBand;
    int toneSystem;
    SampleChannel f1;
    SampleChannel f2;  // mhz 0 for a one-frequency pager
    bool twoFrequency;
};

// Test names show the sample's file, not its bytes.
inline void PrintTo(const SampleCodeplug& s, std::ostream* os) {
    *os << s.file;
}

const std::vector<SampleCodeplug>& SampleCodeplugs();
// The codeplug image of a sample, before the output copy adds CHECKSUM and CHECK_CODE.
CCodeplug BuildSample(const SampleCodeplug& s);
