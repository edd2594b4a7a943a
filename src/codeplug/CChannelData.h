#pragma once
// One receive channel as the editors work on it: receiver record, coding
// option, the 20 tone slots with their reference bytes, the 12 call alert
// bytes, and the tone clock index and spacing threshold taken from the
// advanced block when the record is filled.
//
// Slots 0-7 are Tone 1 of calls 1-8, slots 8-11 the group calls 1-4, slots
// 12-19 Tone 2 of calls 1-8. Calls are numbered 0 to 11 here.
#include <array>
#include <cstdint>
#include <string>

#include "codeplug/CCodeplug.h"
#include "codeplug/CRxFrequency.h"

class CChannelData {
public:
    static constexpr int kSlots = static_cast<int>(layout::TONE_SLOTS);
    static constexpr int kCalls = static_cast<int>(layout::CALLS);
    static constexpr int kCodingOptionCount = 11;
    static constexpr int kCodingNone = 10;  // "R168 (None)"
    using Slots = std::array<std::uint16_t, layout::TONE_SLOTS>;
    using Refs = CCodeplug::ToneRefs;
    using Table = CCodeplug::ToneTable;

    // Fills the record from the channel's fields, the IF byte, CLOCK_SEL and
    // BANDWIDTH. The tone table is unpacked into slots.
    void Load(const CCodeplug& plug, Channel ch);
    // Writes the receiver record, the coding option nibble, the packed tone
    // table with its references and the call bytes of the channel.
    void Store(CCodeplug& plug, Channel ch) const;

    // Receiver frequency in MHz, decoded with the CodeplugContext band.
    double GetFrequency() const;
    // Encodes with the CodeplugContext band; also keeps `ifSel` for decoding.
    void SetFrequency(double mhz, Byte ifSel);
    const CRxFrequency::Record& GetRxRecord() const { return m_rx; }
    void SetRxRecord(const CRxFrequency::Record& rec) { m_rx = rec; }
    Byte GetIfByte() const { return m_ifSel; }
    void SetIfByte(Byte ifSel) { m_ifSel = ifSel; }

    int GetCodingOption() const { return m_coding; }
    bool SetCodingOption(int option);  // 0 to 15 (the list has 11)
    std::string CodingOptionText() const { return CodingOptionText(m_coding); }

    // 14-bit tone code of a slot (0 = empty); 0 for a slot out of range.
    std::uint16_t GetSlotCode(int slot) const;
    bool SetSlotCode(int slot, int code14);
    // Decoded tone in Hz with this record's clock, snapped onto the set of
    // the CodeplugContext tone system ("User" keeps it as decoded).
    double GetTone(int slot) const;
    // Encodes a tone with this record's clock; 0 empties the slot.
    bool SetTone(int slot, double hz);
    std::string ToneText(int slot) const;  // "%.1f"

    // Reference byte of a slot as loaded (bit 7 empty, bit 6 duty, bits 5-0 index).
    Byte GetRef(int slot) const;
    // Duty of call 0-11: true when the call's duty is "OFF" (bit 6 set).
    bool GetDutyOff(int call) const;
    bool SetDutyOff(int call, bool off);
    std::string DutyText(int call) const { return GetDutyOff(call) ? "OFF" : "ON"; }

    int GetCallAlert(int call) const;
    bool SetCallAlert(int call, int value);  // 0 to 255 (the list has 10)
    std::string CallAlertText(int call) const { return AlertName(GetCallAlert(call)); }
    std::string CallAlertShortText(int call) const { return AlertShortName(GetCallAlert(call)); }

    int GetClockIndex() const { return m_clock; }
    void SetClockIndex(int clock) { m_clock = clock & 0x0F; }
    double GetThreshold() const { return m_threshold; }
    // Spacing threshold for a decoder bandwidth B: (B * 0.002 + 0.001) * 2 + 0.0015.
    void SetBandwidth(int bandwidth) { m_threshold = Threshold(bandwidth); }
    static double Threshold(int bandwidth);

    // Tone table packing: distinct codes, bit 15 on used entries, bit 14 on
    // entries used by slots 12-19; each reference byte keeps its bit 6 and
    // gets bit 7 (empty) or the entry index.
    static void Pack(const Slots& slots, const Refs& refsIn, Table& table, Refs& refsOut);
    // Slot codes from a table and its references. A reference whose index
    // points past the table gives an empty slot.
    static Slots Unpack(const Table& table, const Refs& refs);

    static std::string CodingOptionText(int option);  // "R468" ... "R168 (None)"
    static std::string AlertName(int value);          // "Standard", "Continuous", "Music 1" ...
    static std::string AlertShortName(int value);     // "Std", "Cont's", "Music 1" ...

private:
    CRxFrequency::Record m_rx{};
    Byte m_ifSel = 0;
    int m_coding = 0;
    Slots m_slots{};
    Refs m_refs{};
    CCodeplug::CallBytes m_calls{};
    int m_clock = 0;
    double m_threshold = Threshold(0);
};
