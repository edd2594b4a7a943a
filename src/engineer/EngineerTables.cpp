#include "engineer/EngineerTables.h"

#include "codeplug/CPagerData.h"
#include "codeplug/CSerialNumber.h"
#include "codeplug/SubBands.h"
#include "codeplug/TextTable.h"

namespace engineer {

namespace {

std::vector<std::string> Numbers(int count) {
    std::vector<std::string> v;
    for (int i = 0; i < count; ++i) v.push_back(std::to_string(i));
    return v;
}

template <std::size_t N>
std::string Name(const char* const (&table)[N], int code) {
    const char* name = texts::Lookup(table, code, "?");
    // Gaps in a table (codes that have no name) read as beyond it.
    return name && *name ? name : "?";
}

// F1 and F2 defaults by split code; the rows follow the split tables.
constexpr DefaultFrequencies kLowDefaults[] = {
    {35.125, 36.995}, {39.125, 40.995}, {43.125, 44.995}, {47.125, 48.995}};
constexpr DefaultFrequencies kVhfDefaults[] = {
    {147.0125, 150.9975}, {154.9875, 158.9975}, {163.0125, 166.9975}, {170.5125, 173.9975}};
constexpr DefaultFrequencies kUhfDefaults[] = {
    {410.0125, 413.9875}, {418.0125, 421.9875}, {426.0125, 429.9875}, {0.0, 0.0},
    {454.0125, 457.9875}, {457.0125, 461.9875}, {466.0125, 469.9875}, {0.0, 0.0},
    {474.0125, 477.9875}, {482.0125, 485.9875}, {490.0125, 493.9875}, {499.0125, 503.9875},
    {508.0125, 511.9875}};

const char* const kModulation[] = {"2 - NVb/NSV", "", "", "", "", "7 - NSV", "", "9 - SV"};
const char* const kCoding[] = {"2 - Two Tone", "4"};
const char* const kFreqCount[] = {"38 - One Freq", "39 - Two Freqs"};
const char* const kRevision[] = {"A", "B", "C", "D"};
const char* const kBattery[] = {"C - Ni-MH", "A - Alkaline"};
const char* const kWarranty[] = {"12 Months", "36 Months", "60 Months"};
const char* const kModel[] = {"XLT"};
const char* const kIfNames[] = {"14.575", "21.4", "45"};

constexpr char kHalfMonthLetters[] = "ABCDEFGHJKLMNPQRSTUVWXYZ";
const char* const kMonths[] = {"Jan.", "Feb.", "Mar.", "Apr.", "May",  "Jun.",
                               "Jul.", "Aug.", "Sep.", "Oct.", "Nov.", "Dec."};

// The serial number's year letters by code.
constexpr char kYearLetters[] = "STUVWFGHJKLMNPQR";

}  // namespace

const std::vector<std::string>& BandEntries() {
    static const std::vector<std::string> v = {"A01 - LOW", "A03 - VHF", "A04 - UHF"};
    return v;
}

int BandOfEntry(int index) {
    static constexpr int kBands[] = {0, 2, 3};
    return index >= 0 && index < 3 ? kBands[index] : -1;
}

std::string BandName(int band) {
    switch (band) {
        case 0:
            return "A01 - LOW";
        case 2:
            return "A03 - VHF";
        case 3:
            return "A04 - UHF";
        default:
            return "???";
    }
}

bool HasBandTables(int band) {
    return band == 0 || band == 2 || band == 3;
}

std::vector<std::string> BandSplitEntries(int band) {
    std::vector<std::string> v;
    for (const SubBand& s : SubBandsOf(band))
        if (s.name) v.push_back(s.name);
    return v;
}

int SplitCodeOfEntry(int band, int index) {
    if (index < 0) return -1;
    const auto splits = SubBandsOf(band);
    int seen = 0;
    for (std::size_t code = 0; code < splits.size(); ++code) {
        if (!splits[code].name) continue;
        if (seen++ == index) return static_cast<int>(code);
    }
    return -1;
}

std::string BandSplitName(int band, int code) {
    const SubBand* s = FindSubBand(band, code);
    return s ? s->name : "???";
}

std::optional<DefaultFrequencies> DefaultFrequenciesOf(int band, int code) {
    if (code < 0) return std::nullopt;
    const auto pick = [code](const auto& table) -> std::optional<DefaultFrequencies> {
        if (static_cast<std::size_t>(code) >= std::size(table)) return std::nullopt;
        return table[code];
    };
    switch (band) {
        case 0:
            return pick(kLowDefaults);
        case 2:
            return pick(kVhfDefaults);
        case 3:
            return pick(kUhfDefaults);
        default:
            return std::nullopt;
    }
}

std::string IfEntry(int band) {
    switch (band) {
        case 0:
            return "14.575";
        case 2:
            return "21.4";
        case 3:
            return "45";
        default:
            return {};
    }
}

std::string IfName(int ifCode) {
    return Name(kIfNames, ifCode);
}

std::optional<std::uint8_t> StandardIfByte(int band, bool bandChange) {
    const auto make = [](int code, int high, int sub) {
        return static_cast<std::uint8_t>((code << 5) | (high << 4) | sub);
    };
    switch (band) {
        case 0:
            return make(0, 1, bandChange ? 0 : 1);
        case 2:
            return make(1, 0, 1);
        case 3:
            return make(2, 0, 2);
        default:
            return std::nullopt;
    }
}

const std::vector<std::string>& CrystalEntries() {
    static const std::vector<std::string> v = {"3.579545", "3.578545"};
    return v;
}

std::string CrystalName(int selector) {
    return selector == 1 ? "3.578545" : "3.579545";
}

const std::vector<std::string>& SpEntries() {
    static const std::vector<std::string> v = Numbers(16);
    return v;
}
const std::vector<std::string>& ModelEntries() {
    static const std::vector<std::string> v = {"XLT"};
    return v;
}
const std::vector<std::string>& ModulationEntries() {
    static const std::vector<std::string> v = {"7 - NSV", "9 - SV"};
    return v;
}
const std::vector<std::string>& CodingEntries() {
    static const std::vector<std::string> v = {"2 - Two Tone"};
    return v;
}
const std::vector<std::string>& FreqCountEntries() {
    static const std::vector<std::string> v = {"38 - One Freq", "39 - Two Freqs"};
    return v;
}
const std::vector<std::string>& RevisionEntries() {
    static const std::vector<std::string> v = {"A", "B", "C", "D"};
    return v;
}
const std::vector<std::string>& BatteryEntries() {
    static const std::vector<std::string> v = {"C - Ni-MH", "A - Alkaline"};
    return v;
}
const std::vector<std::string>& WarrantyEntries() {
    static const std::vector<std::string> v = {"12 Months", "36 Months", "60 Months"};
    return v;
}
const std::vector<std::string>& SiteEntries() {
    static const std::vector<std::string> v = {"Bresmar"};
    return v;
}

const std::vector<std::string>& BuildYearEntries() {
    // Entry i stores year code (i + 5) mod 16, which is the code of the year
    // 2005 + i; each entry is labelled with that year and its serial letter,
    // so the list reads like the year names the serial number shows.
    static const std::vector<std::string> v = [] {
        std::vector<std::string> out;
        for (int i = 0; i < 24; ++i) {
            out.push_back(std::string(1, kYearLetters[YearCodeOfEntry(i)]) + " - " +
                          std::to_string(2005 + i));
        }
        return out;
    }();
    return v;
}

const std::vector<std::string>& BuildMonthEntries() {
    static const std::vector<std::string> v = [] {
        std::vector<std::string> out;
        for (int i = 0; i < 24; ++i) {
            out.push_back(std::string(1, kHalfMonthLetters[i]) + (i % 2 ? " - 2nd " : " - 1st ") +
                          kMonths[i / 2]);
        }
        return out;
    }();
    return v;
}

const std::vector<std::string>& StoredVoiceEntries() {
    static const std::vector<std::string> v = {"ISD5116"};
    return v;
}

std::string ModelName(int family) {
    return Name(kModel, family);
}
std::string ModulationName(int modulation) {
    return Name(kModulation, modulation);
}
std::string CodingName(int coding) {
    return Name(kCoding, coding);
}
std::string FreqCountName(int frequencies) {
    return Name(kFreqCount, frequencies);
}
std::string RevisionName(int revision) {
    return Name(kRevision, revision);
}
std::string BatteryName(int battery) {
    return Name(kBattery, battery);
}
std::string WarrantyName(int warranty) {
    return Name(kWarranty, warranty);
}
std::string SiteName(int site) {
    return CSerialNumber::SiteText(site);
}
std::string BuildYearName(int yearCode) {
    std::string name = CSerialNumber::YearText(yearCode);
    return name.empty() ? "?" : name;
}
std::string BuildMonthName(int period) {
    const auto& entries = BuildMonthEntries();
    return period >= 0 && period < static_cast<int>(entries.size()) ? entries[period] : "?";
}
std::string StoredVoiceName(int code) {
    return CPagerData::StoredVoiceText(code);
}

int YearCodeOfEntry(int index) {
    return (index + 5) % 16;
}

}  // namespace engineer
