#pragma once
// The receiver synthesizer record (8 bytes) of a channel: the divider N in
// bytes 0-3 and the reference word R in bytes 4-7, both little-endian.
#include <array>
#include <cstdint>

class CRxFrequency {
public:
    using Record = std::array<std::uint8_t, 8>;

    // Channel step in kHz by band: 0 = 5.0, 2 = 2.5, 3 = 12.5; any other band
    // has no step (0.0).
    static double StepKHz(int band);
    // IF in MHz by IF_SEL bits 7-5: 14.575, 21.4, 45.0; 0.0 for the unused
    // indexes 3 to 7.
    static double IfMHz(std::uint8_t ifSel);
    // +0.5 for low-side injection (bit 4 clear), -0.5 for high-side.
    static double InjectionSign(std::uint8_t ifSel) { return 0.5 - ((ifSel >> 4) & 1); }

    // Encodes f (MHz) for `band` and the IF byte. A frequency not above
    // 0.0001 MHz, or a band without a step, stores no frequency (N = 0);
    // the R word is always written.
    static Record Encode(double mhz, int band, std::uint8_t ifSel);
    // Decodes a record; N = 0 means no frequency and gives 0.0, as does a
    // band without a step.
    static double Decode(const Record& rec, int band, std::uint8_t ifSel);
    // As above, with the band of CodeplugContext.
    static Record Encode(double mhz, std::uint8_t ifSel);
    static double Decode(const Record& rec, std::uint8_t ifSel);
};
