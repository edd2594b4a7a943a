#include "codeplug/CSerialNumber.h"

#include <cstring>

#include "codeplug/TextTable.h"

using texts::Fits;
using texts::GetBits;
using texts::SetBits;

namespace {

constexpr char kUnitLead[] = "0123456789ABCDEFGHJKLMNPQRSTUVWXYZ";  // 34 characters
constexpr char kSiteLetters[] = "BSW?";
constexpr char kPeriodLetters[] = "ABCDEFGHJKLMNPQRSTUVWXYZ";
constexpr char kYearLetters[] = "STUVWFGHJKLMNPQR";

const char* const kWarranty[] = {"12 Months", "36 Months", "60 Months"};
const char* const kSites[] = {"B - Dravel", "S - Kostin", "W - Bresmar"};
const char* const kYears[] = {
    "S - 2016", "T - 2017", "U - 2018", "V - 2019", "W - 2020", "F - 2005", "G - 2006", "H - 2007",
    "J - 2008", "K - 2009", "L - 2010", "M - 2011", "N - 2012", "P - 2013", "Q - 2014", "R - 2015"};
// Every warranty value selects a prefix that reads the same.
const char* const kPrefix[] = {"136", "136", "136", "136"};

template <std::size_t N>
std::string Letter(const char (&table)[N], int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= N - 1) return "?";
    return std::string(1, table[index]);
}

}  // namespace

int CSerialNumber::GetWarranty() const {
    return GetBits(m_b[0], 6, 2);
}
bool CSerialNumber::SetWarranty(int warranty) {
    if (!Fits(warranty, 2)) return false;
    m_b[0] = SetBits(m_b[0], 6, 2, warranty);
    return true;
}

int CSerialNumber::GetSite() const {
    return GetBits(m_b[0], 4, 2);
}
bool CSerialNumber::SetSite(int site) {
    if (!Fits(site, 2)) return false;
    m_b[0] = SetBits(m_b[0], 4, 2, site);
    return true;
}

int CSerialNumber::GetPeriod() const {
    return (GetBits(m_b[0], 0, 4) << 1) | GetBits(m_b[1], 7, 1);
}
bool CSerialNumber::SetPeriod(int period) {
    if (period < 0 || period > 23) return false;
    m_b[0] = SetBits(m_b[0], 0, 4, period >> 1);
    m_b[1] = SetBits(m_b[1], 7, 1, period & 1);
    return true;
}

int CSerialNumber::GetYear() const {
    return GetBits(m_b[1], 3, 4);
}
bool CSerialNumber::SetYear(int yearCode) {
    if (!Fits(yearCode, 4)) return false;
    m_b[1] = SetBits(m_b[1], 3, 4, yearCode);
    return true;
}

int CSerialNumber::GetUnitNumber() const {
    return (GetBits(m_b[1], 0, 3) << 16) | (m_b[2] << 8) | m_b[3];
}

std::array<Byte, 3> CSerialNumber::GetUnitBytes() const {
    return {static_cast<Byte>(m_b[1] & 0x07), m_b[2], m_b[3]};
}

void CSerialNumber::SetUnitBytes(const std::array<Byte, 3>& unit) {
    m_b[1] = SetBits(m_b[1], 0, 3, unit[0] & 0x07);
    m_b[2] = unit[1];
    m_b[3] = unit[2];
}

bool CSerialNumber::SetUnitNumber(int unit) {
    if (unit < 0 || unit > kMaxUnit) return false;
    SetUnitBytes(
        {static_cast<Byte>(unit >> 16), static_cast<Byte>(unit >> 8), static_cast<Byte>(unit)});
    return true;
}

std::string CSerialNumber::UnitText(int unit) {
    if (unit < 0) unit = 0;
    const int lead = unit / 1000;
    const int rest = unit % 1000;
    std::string text(4, '0');
    text[0] = lead < 34 ? kUnitLead[lead] : '?';
    text[1] = static_cast<char>('0' + rest / 100);
    text[2] = static_cast<char>('0' + rest / 10 % 10);
    text[3] = static_cast<char>('0' + rest % 10);
    return text;
}

bool CSerialNumber::ParseUnit(std::string_view text) {
    if (text.size() != 4 || text[0] == '\0') return false;
    const char* lead = std::strchr(kUnitLead, text[0]);
    if (!lead) return false;
    int value = static_cast<int>(lead - kUnitLead) * 1000;
    int digits = 0;
    for (std::size_t i = 1; i < 4; ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        digits = digits * 10 + (text[i] - '0');
    }
    return SetUnitNumber(value + digits);
}

std::string CSerialNumber::SerialText() const {
    const int site = GetSite();
    std::string text = site <= 2 ? texts::Lookup(kPrefix, GetWarranty(), "136") : "????";
    text += SiteLetter(site);
    text += YearLetter(GetYear());
    text += PeriodLetter(GetPeriod());
    text += UnitText();
    return text;
}

int CSerialNumber::YearCode(int year) {
    return (((year - 2000) % 16) + 16) % 16;
}

std::string CSerialNumber::WarrantyText(int warranty) {
    return texts::Lookup(kWarranty, warranty);
}
std::string CSerialNumber::SiteText(int site) {
    return texts::Lookup(kSites, site, "?");
}
std::string CSerialNumber::YearText(int yearCode) {
    return texts::Lookup(kYears, yearCode);
}
std::string CSerialNumber::PeriodLetter(int period) {
    return Letter(kPeriodLetters, period);
}
std::string CSerialNumber::YearLetter(int yearCode) {
    return Letter(kYearLetters, yearCode);
}
std::string CSerialNumber::SiteLetter(int site) {
    return Letter(kSiteLetters, site);
}
