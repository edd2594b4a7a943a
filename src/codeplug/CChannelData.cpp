#include "codeplug/CChannelData.h"

#include "codeplug/CToneCode.h"
#include "codeplug/NumberText.h"
#include "codeplug/TextTable.h"

namespace {

const char* const kCodingOptions[] = {"R468", "R130", "R97", "STD",  "R134",       "R138",
                                      "R362", "R177", "R60", "R621", "R168 (None)"};
const char* const kAlertLong[] = {"Standard", "Continuous", "Music 1", "Music 2", "Music 3",
                                  "Music 4",  "Music 5",    "Music 6", "Music 7", "Music 8"};
const char* const kAlertShort[] = {"Std",     "Cont's",  "Music 1", "Music 2", "Music 3",
                                   "Music 4", "Music 5", "Music 6", "Music 7", "Music 8"};

constexpr std::uint16_t kCodeMask = 0x3FFF;
constexpr std::uint16_t kUsed = 0x8000;
constexpr std::uint16_t kUsedBySecond = 0x4000;
constexpr Byte kEmpty = 0x80;
constexpr Byte kDutyOff = 0x40;
constexpr int kFirstSecondTone = 12;  // slots 12-19 hold the second tones

bool SlotOk(int slot) {
    return slot >= 0 && slot < CChannelData::kSlots;
}
bool CallOk(int call) {
    return call >= 0 && call < CChannelData::kCalls;
}

}  // namespace

void CChannelData::Load(const CCodeplug& plug, Channel ch) {
    m_rx = plug.GetRxRecord(ch);
    m_ifSel = plug.GetIfByte();
    m_coding = plug.GetCodingOption(ch);
    m_refs = plug.GetToneRefs(ch);
    m_slots = Unpack(plug.GetToneTable(ch), m_refs);
    m_calls = plug.GetCallBytes(ch);
    m_clock = plug.GetClockSel();
    SetBandwidth(plug.GetBandwidth());
}

void CChannelData::Store(CCodeplug& plug, Channel ch) const {
    plug.SetRxRecord(ch, m_rx);
    plug.SetCodingOption(ch, m_coding);
    Table table;
    Refs refs;
    Pack(m_slots, m_refs, table, refs);
    plug.SetToneTable(ch, table);
    plug.SetToneRefs(ch, refs);
    plug.SetCallBytes(ch, m_calls);
}

double CChannelData::GetFrequency() const {
    return CRxFrequency::Decode(m_rx, m_ifSel);
}

void CChannelData::SetFrequency(double mhz, Byte ifSel) {
    m_ifSel = ifSel;
    m_rx = CRxFrequency::Encode(mhz, ifSel);
}

bool CChannelData::SetCodingOption(int option) {
    if (!texts::Fits(option, 4)) return false;
    m_coding = option;
    return true;
}

std::uint16_t CChannelData::GetSlotCode(int slot) const {
    return SlotOk(slot) ? m_slots[slot] : 0;
}

bool CChannelData::SetSlotCode(int slot, int code14) {
    if (!SlotOk(slot) || !texts::Fits(code14, 14)) return false;
    m_slots[slot] = static_cast<std::uint16_t>(code14);
    return true;
}

double CChannelData::GetTone(int slot) const {
    return CToneCode::FromCode(GetSlotCode(slot)).Decode(m_clock);
}

bool CChannelData::SetTone(int slot, double hz) {
    if (!SlotOk(slot)) return false;
    m_slots[slot] = CToneCode::Encode(hz, m_clock).Code14();
    return true;
}

std::string CChannelData::ToneText(int slot) const {
    return FormatDouble("%.1f", GetTone(slot));
}

Byte CChannelData::GetRef(int slot) const {
    return SlotOk(slot) ? m_refs[slot] : 0;
}

bool CChannelData::GetDutyOff(int call) const {
    return CallOk(call) && (m_refs[call] & kDutyOff);
}

bool CChannelData::SetDutyOff(int call, bool off) {
    if (!CallOk(call)) return false;
    m_refs[call] = off ? (m_refs[call] | kDutyOff) : (m_refs[call] & ~kDutyOff);
    return true;
}

int CChannelData::GetCallAlert(int call) const {
    return CallOk(call) ? m_calls[call] : 0;
}

bool CChannelData::SetCallAlert(int call, int value) {
    if (!CallOk(call) || !texts::Fits(value, 8)) return false;
    m_calls[call] = static_cast<Byte>(value);
    return true;
}

double CChannelData::Threshold(int bandwidth) {
    return (bandwidth * 0.002 + 0.001) * 2 + 0.0015;
}

void CChannelData::Pack(const Slots& slots, const Refs& refsIn, Table& table, Refs& refsOut) {
    table.fill(0);
    for (int i = 0; i < kSlots; ++i) refsOut[i] = refsIn[i] & kDutyOff;
    int n = 0;
    for (int i = 0; i < kSlots; ++i) {
        const std::uint16_t code = slots[i] & kCodeMask;
        const std::uint16_t mark = i >= kFirstSecondTone ? (kUsed | kUsedBySecond) : kUsed;
        if (code == 0) {
            refsOut[i] |= kEmpty;
            continue;
        }
        int j = 0;
        while (j < n && (table[j] & kCodeMask) != code) ++j;
        if (j == n) table[n++] = code;
        table[j] |= mark;
        refsOut[i] |= static_cast<Byte>(j);
    }
}

CChannelData::Slots CChannelData::Unpack(const Table& table, const Refs& refs) {
    Slots slots{};
    for (int i = 0; i < kSlots; ++i) {
        const int index = refs[i] & 0x3F;
        if (!(refs[i] & kEmpty) && index < kSlots) slots[i] = table[index] & kCodeMask;
    }
    return slots;
}

std::string CChannelData::CodingOptionText(int option) {
    return texts::Lookup(kCodingOptions, option);
}
std::string CChannelData::AlertName(int value) {
    return texts::Lookup(kAlertLong, value);
}
std::string CChannelData::AlertShortName(int value) {
    return texts::Lookup(kAlertShort, value);
}
