#pragma once
// The packed model number record (MODEL_NO): band, product family and
// options, special product number and the band's sub-band index.
#include <string>

#include "codeplug/CCodeplug.h"

class CModelNumber {
public:
    using Bytes = CCodeplug::Quad;

    const Bytes& GetBytes() const { return m_b; }
    void SetBytes(const Bytes& b) { m_b = b; }
    void Load(const CCodeplug& plug) { m_b = plug.GetModelNumber(); }
    void Store(CCodeplug& plug) const { plug.SetModelNumber(m_b); }

    // Field getters; setters refuse (false, nothing changed) a value wider
    // than the field.
    int GetSp() const;
    bool SetSp(int sp);
    int GetBand() const;
    bool SetBand(int band);
    int GetFamily() const;
    bool SetFamily(int family);
    int GetModulation() const;
    bool SetModulation(int modulation);
    int GetCoding() const;
    bool SetCoding(int coding);
    int GetFrequencies() const;
    bool SetFrequencies(int frequencies);
    int GetRevision() const;
    bool SetRevision(int revision);
    int GetBattery() const;
    bool SetBattery(int battery);
    int GetSubBand() const;
    // Also clears the unused bit 5 of the last byte; bit 6 is kept.
    bool SetSubBand(int subBand);

    // The crystal index is the SP number.
    int GetCrystal() const { return GetSp(); }
    bool IsTwoFrequency() const { return GetFrequencies() != 0; }

    // "A03XLT2238AC" and the like; "_SPnn" is appended for a special product.
    std::string ModelText() const;
    std::string SubBandText() const { return SubBandText(GetBand(), GetSubBand()); }
    // Crystal text of the SP number: "3.579545", "3.578545"; empty beyond.
    std::string CrystalText() const { return CrystalText(GetCrystal()); }

    static std::string SubBandText(int band, int subBand);
    // Number of codes in the band's sub-band table (0 for bands without
    // one). UHF has 13 codes, of which 3 and 7 are unused ("???").
    static int SubBandCount(int band);
    static std::string CrystalText(int crystal);
    static std::string BandCode(int band);

private:
    Bytes m_b{0x00, 0x80, 0x00, 0x03};
};
