#pragma once
// The packed serial number record (SERIAL_NO): warranty, manufacturing site,
// build half-month and year, and the 19-bit unit number.
#include <array>
#include <string>
#include <string_view>

#include "codeplug/CCodeplug.h"

class CSerialNumber {
public:
    using Bytes = CCodeplug::Quad;
    static constexpr int kMaxUnit = 33999;

    const Bytes& GetBytes() const { return m_b; }
    void SetBytes(const Bytes& b) { m_b = b; }
    void Load(const CCodeplug& plug) { m_b = plug.GetSerialNumber(); }
    void Store(CCodeplug& plug) const { plug.SetSerialNumber(m_b); }

    int GetWarranty() const;
    bool SetWarranty(int warranty);
    int GetSite() const;
    bool SetSite(int site);
    int GetPeriod() const;  // half-month 0 to 23
    bool SetPeriod(int period);
    int GetYear() const;  // year code 0 to 15
    bool SetYear(int yearCode);

    int GetUnitNumber() const;
    // The unit number as the three bytes that hold it, high byte first.
    std::array<Byte, 3> GetUnitBytes() const;
    void SetUnitBytes(const std::array<Byte, 3>& unit);  // first byte masked to 3 bits
    bool SetUnitNumber(int unit);                        // 0 to 33999

    // "0001", "A000", "Z999"; "?" leads for values of 34000 and more.
    std::string UnitText() const { return UnitText(GetUnitNumber()); }
    // Parses a 4-character unit text as shown by UnitText; stores it and
    // returns true, or returns false and changes nothing.
    bool ParseUnit(std::string_view text);
    // "136WJA0001" and the like.
    std::string SerialText() const;

    static std::string UnitText(int unit);
    // The year code for a calendar year: (year - 2000) modulo 16.
    static int YearCode(int year);
    static std::string WarrantyText(int warranty);  // "12 Months" ...
    static std::string SiteText(int site);          // "B - Dravel" ...; "?" beyond
    static std::string YearText(int yearCode);      // "S - 2016" ...
    static std::string PeriodLetter(int period);    // "A" to "Z"; "?" beyond
    static std::string YearLetter(int yearCode);
    static std::string SiteLetter(int site);

private:
    Bytes m_b{};
};
