#pragma once
// Process-wide values of the codeplug being worked on. Only the GUI thread
// and, while the modal status dialog holds the user, the transfer thread
// touch them, so there is no lock.
#include <cstdint>

enum ToneSystem { TONE_CORVANE = 0, TONE_GE = 1, TONE_PLECTRON = 2, TONE_USER = 3,
                  TONE_FAST_PLECTRON = 4 };

struct CodeplugContext {
    int band = 2;            // MODEL_NO band
    int subBand = 3;         // MODEL_NO sub-band index
    int crystal = 0;         // MODEL_NO SP number, used as the crystal index
    int frequencies = 0;     // MODEL_NO bits b2.6-3
    int toneSystem = TONE_CORVANE;  // SYSTEM_SEL bits 7-4
    bool engineer = false;   // engineer logon succeeded
    std::uint8_t pagerVersion = 0;  // pager firmware version byte
    bool twoFrequency = false;      // frequencies field not zero
    bool priorityScan = false;      // some switch position is "Priority Scan F1"
    bool dutyF1 = false;
    bool dutyF2 = false;

    static CodeplugContext& Get();
    // Back to the start-up values (tests, and a fresh program start).
    void Reset() { *this = CodeplugContext{}; }
};
