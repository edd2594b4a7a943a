#include "codeplug/CModelNumber.h"

#include <cstdio>

#include "codeplug/SubBands.h"
#include "codeplug/TextTable.h"

using texts::Fits;
using texts::GetBits;
using texts::SetBits;

namespace {

const char* const kBandCodes[] = {"A01", "???", "A03", "A04", "???"};
const char* const kFamily[] = {"XLT", "??T", "??T", "??T"};
const char* const kFrequencies[] = {"38", "39"};
const char kModulationDigits[] = "2????7?9?";
const char kCodingDigits[] = "24?";
const char kRevision[] = "ABCD";
const char kBattery[] = "CA?";

const char* const kCrystal[] = {"3.579545", "3.578545"};

// A character of a digit table; indexes past its end read "?".
char DigitAt(const char* table, std::size_t length, int index) {
    return index >= 0 && static_cast<std::size_t>(index) < length ? table[index] : '?';
}

}  // namespace

int CModelNumber::GetSp() const {
    return GetBits(m_b[0], 4, 4);
}
bool CModelNumber::SetSp(int sp) {
    if (!Fits(sp, 4)) return false;
    m_b[0] = SetBits(m_b[0], 4, 4, sp);
    return true;
}

int CModelNumber::GetBand() const {
    return (GetBits(m_b[0], 0, 1) << 2) | GetBits(m_b[1], 6, 2);
}
bool CModelNumber::SetBand(int band) {
    if (!Fits(band, 3)) return false;
    m_b[0] = SetBits(m_b[0], 0, 1, band >> 2);
    m_b[1] = SetBits(m_b[1], 6, 2, band & 3);
    return true;
}

int CModelNumber::GetFamily() const {
    return GetBits(m_b[1], 4, 2);
}
bool CModelNumber::SetFamily(int family) {
    if (!Fits(family, 2)) return false;
    m_b[1] = SetBits(m_b[1], 4, 2, family);
    return true;
}

int CModelNumber::GetModulation() const {
    return GetBits(m_b[1], 1, 3);
}
bool CModelNumber::SetModulation(int modulation) {
    if (!Fits(modulation, 3)) return false;
    m_b[1] = SetBits(m_b[1], 1, 3, modulation);
    return true;
}

int CModelNumber::GetCoding() const {
    return (GetBits(m_b[1], 0, 1) << 1) | GetBits(m_b[2], 7, 1);
}
bool CModelNumber::SetCoding(int coding) {
    if (!Fits(coding, 2)) return false;
    m_b[1] = SetBits(m_b[1], 0, 1, coding >> 1);
    m_b[2] = SetBits(m_b[2], 7, 1, coding & 1);
    return true;
}

int CModelNumber::GetFrequencies() const {
    return GetBits(m_b[2], 3, 4);
}
bool CModelNumber::SetFrequencies(int frequencies) {
    if (!Fits(frequencies, 4)) return false;
    m_b[2] = SetBits(m_b[2], 3, 4, frequencies);
    return true;
}

int CModelNumber::GetRevision() const {
    return GetBits(m_b[2], 1, 2);
}
bool CModelNumber::SetRevision(int revision) {
    if (!Fits(revision, 2)) return false;
    m_b[2] = SetBits(m_b[2], 1, 2, revision);
    return true;
}

int CModelNumber::GetBattery() const {
    return (GetBits(m_b[2], 0, 1) << 1) | GetBits(m_b[3], 7, 1);
}
bool CModelNumber::SetBattery(int battery) {
    if (!Fits(battery, 2)) return false;
    m_b[2] = SetBits(m_b[2], 0, 1, battery >> 1);
    m_b[3] = SetBits(m_b[3], 7, 1, battery & 1);
    return true;
}

int CModelNumber::GetSubBand() const {
    return GetBits(m_b[3], 0, 5);
}
bool CModelNumber::SetSubBand(int subBand) {
    if (!Fits(subBand, 5)) return false;
    m_b[3] = SetBits(SetBits(m_b[3], 5, 1, 0), 0, 5, subBand);
    return true;
}

std::string CModelNumber::BandCode(int band) {
    return texts::Lookup(kBandCodes, band, "???");
}

std::string CModelNumber::ModelText() const {
    std::string text = BandCode(GetBand());
    text += texts::Lookup(kFamily, GetFamily(), "???");
    text += DigitAt(kModulationDigits, sizeof kModulationDigits - 1, GetModulation());
    text += DigitAt(kCodingDigits, sizeof kCodingDigits - 1, GetCoding());
    text += texts::Lookup(kFrequencies, GetFrequencies(), "??");
    text += DigitAt(kRevision, sizeof kRevision - 1, GetRevision());
    text += DigitAt(kBattery, sizeof kBattery - 1, GetBattery());
    if (const int sp = GetSp(); sp != 0) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, "_SP%02d", sp);
        text += suffix;
    }
    return text;
}

std::string CModelNumber::SubBandText(int band, int subBand) {
    const std::span<const SubBand> splits = SubBandsOf(band);
    if (subBand < 0 || static_cast<std::size_t>(subBand) >= splits.size()) return {};
    // The unused UHF codes keep their place in the list under a placeholder.
    return splits[subBand].name ? splits[subBand].name : "???";
}

int CModelNumber::SubBandCount(int band) {
    return static_cast<int>(SubBandsOf(band).size());
}

std::string CModelNumber::CrystalText(int crystal) {
    return texts::Lookup(kCrystal, crystal);
}
