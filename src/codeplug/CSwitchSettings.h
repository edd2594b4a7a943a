#pragma once
// The four function switch positions A to D (SWITCH_A .. SWITCH_D), one byte
// each: wide band, push to listen, alert type, ON/OFF duty and mode.
#include <string>

#include "codeplug/CCodeplug.h"

class CSwitchSettings {
public:
    using Bytes = CCodeplug::Switches;
    static constexpr int kPositions = 4;
    enum Mode {
        MONITOR_F1 = 0,
        MONITOR_F2 = 1,
        SELECTIVE_CALL_F1 = 2,
        SELECTIVE_CALL_F2 = 3,
        PROBABILITY_SCAN = 4,
        PRIORITY_SCAN_F1 = 5,
        SILENT_SCAN = 6
    };

    const Bytes& GetBytes() const { return m_b; }
    void SetBytes(const Bytes& b) { m_b = b; }
    void Load(const CCodeplug& plug) { m_b = plug.GetSwitches(); }
    void Store(CCodeplug& plug) const { plug.SetSwitches(m_b); }

    // Position 0 to 3 (A to D). Getters give 0 for a position out of range;
    // setters refuse it.
    Byte GetByte(int pos) const;
    bool SetByte(int pos, int value);
    bool GetWideBand(int pos) const;
    bool SetWideBand(int pos, bool on);
    bool GetPtl(int pos) const;
    bool SetPtl(int pos, bool on);
    int GetAlertType(int pos) const;        // stored value: choice + 1, 0 none
    bool SetAlertType(int pos, int value);  // 0 to 3
    bool GetDuty(int pos) const;
    bool SetDuty(int pos, bool on);
    int GetMode(int pos) const;
    bool SetMode(int pos, int mode);  // 0 to 7

    // Some position is in "Priority Scan F1".
    bool HasPriorityScan() const;
    // Some position has ON/OFF duty on and a mode that serves the channel
    // (F1: not Monitor F2 / Selective Call F2; F2: not Monitor F1 / Selective Call F1).
    bool DutyAvailable(Channel ch) const;

    static std::string WideBandText(bool on) { return on ? "YES" : "NO"; }
    static std::string EnabledText(bool on) { return on ? "ENABLED" : "DISABLED"; }
    // "" (0), "Tone", "Vibrator", "Vibrator + Tone".
    static std::string AlertTypeText(int value);
    // "Monitor F1" ... "Silent Scan"; empty beyond.
    static std::string ModeText(int mode);
    static std::string PositionName(int pos);  // "SW-A" ... "SW-D"

private:
    bool Valid(int pos) const { return pos >= 0 && pos < kPositions; }
    Bytes m_b{};
};
