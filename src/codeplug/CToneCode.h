#pragma once
// A tone as the pager's decoder holds it: two 7-bit values, coarse and fine,
// against the reference clock chosen by CLOCK_SEL.
#include <cstdint>

class CToneCode {
public:
    CToneCode() = default;
    CToneCode(int coarse, int fine) : m_coarse(coarse & 0x7F), m_fine(fine & 0x7F) {}

    // Clock frequency in Hz for a CLOCK_SEL value (0 = 3579545, 1 = 3578545;
    // any other value uses the first).
    static double ClockHz(int clockIndex);

    static CToneCode Encode(double hz, int clockIndex);
    static CToneCode FromCode(std::uint16_t code14) {
        return CToneCode((code14 >> 7) & 0x7F, code14 & 0x7F);
    }

    // Decoded tone in Hz, snapped onto the tone set of `toneSystem` unless it
    // is "User". 0.0 for an empty code.
    double Decode(int clockIndex, int toneSystem) const;
    // As above, with the tone system of CodeplugContext.
    double Decode(int clockIndex) const;
    // The raw value before snapping.
    double DecodeRaw(int clockIndex) const;

    int Coarse() const { return m_coarse; }
    int Fine() const { return m_fine; }
    std::uint16_t Code14() const { return static_cast<std::uint16_t>(m_coarse * 128 + m_fine); }
    bool IsEmpty() const { return m_coarse == 0 && m_fine == 0; }

private:
    int m_coarse = 0;
    int m_fine = 0;
};
