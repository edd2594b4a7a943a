#pragma once
// The lists and code tables of the Engineer Data dialog: what each combo box
// offers, the name shown for a stored code, and the defaults that a band or
// band-split change puts in place. Every lookup is bounded: a code beyond a
// table gives its placeholder, never a read past the table.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace engineer {

// Radio bands as the list offers them: list index 0, 1, 2 = band 0 (LOW),
// 2 (VHF), 3 (UHF).
const std::vector<std::string>& BandEntries();
int BandOfEntry(int index);  // -1 beyond the list
// "A01 - LOW", "A03 - VHF", "A04 - UHF"; "???" for any other band code.
std::string BandName(int band);
// True for the three bands that have split, IF and crystal lists.
bool HasBandTables(int band);

// The band-split list of a band (UHF leaves out its unused codes 3 and 7);
// empty for other bands.
std::vector<std::string> BandSplitEntries(int band);
// Split code of a list entry; -1 beyond the list or for another band.
int SplitCodeOfEntry(int band, int index);
// Name of a split code in the band's table; "???" for unused or unknown codes.
std::string BandSplitName(int band, int code);

// Default receive frequencies of a band split, MHz. Nothing for a band
// without a table or a code beyond it (UHF codes 3 and 7 give 0 and 0).
struct DefaultFrequencies {
    double f1;
    double f2;
};
std::optional<DefaultFrequencies> DefaultFrequenciesOf(int band, int code);

// The one IF list entry of a band ("14.575", "21.4", "45"), empty otherwise.
std::string IfEntry(int band);
// The IF name of an IF code ("14.575", "21.4", "45"); "?" beyond.
std::string IfName(int ifCode);
// The IF byte a band change (bandChange) or a pick in the IF list sets:
// LOW 0/1/0 (band change) or 0/1/1 (IF list), VHF 1/0/1, UHF 2/0/2
// (IF code / injection bit / sub-code). Nothing for other bands.
std::optional<std::uint8_t> StandardIfByte(int band, bool bandChange);

// Crystal list and the text shown for the crystal selector.
const std::vector<std::string>& CrystalEntries();
std::string CrystalName(int selector);  // "3.578545" for 1, "3.579545" otherwise

// Fixed lists of the other combo boxes, in list order.
const std::vector<std::string>& SpEntries();  // "0" ... "15"
const std::vector<std::string>& ModelEntries();
const std::vector<std::string>& ModulationEntries();
const std::vector<std::string>& CodingEntries();
const std::vector<std::string>& FreqCountEntries();
const std::vector<std::string>& RevisionEntries();
const std::vector<std::string>& BatteryEntries();
const std::vector<std::string>& WarrantyEntries();
const std::vector<std::string>& SiteEntries();
const std::vector<std::string>& BuildYearEntries();
const std::vector<std::string>& BuildMonthEntries();
const std::vector<std::string>& StoredVoiceEntries();

// Names of stored codes; "?" for a code the table does not name.
std::string ModelName(int family);
std::string ModulationName(int modulation);  // 0 "2 - NVb/NSV", 5 "7 - NSV", 7 "9 - SV"
std::string CodingName(int coding);
std::string FreqCountName(int frequencies);
std::string RevisionName(int revision);
std::string BatteryName(int battery);
std::string WarrantyName(int warranty);
std::string SiteName(int site);
std::string BuildYearName(int yearCode);
std::string BuildMonthName(int period);
std::string StoredVoiceName(int code);

// Year code stored by a pick in the build-year list: (index + 5) mod 16.
int YearCodeOfEntry(int index);

}  // namespace engineer
