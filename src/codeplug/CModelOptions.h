#pragma once
// The model option record: OPTION_SEL, RESET_TIME, OPTION_FLAGS, ALERT_TIME
// and SCAN_BACK, in that order.
#include <string>

#include "codeplug/CCodeplug.h"

class CModelOptions {
public:
    using Bytes = CCodeplug::ModelOptionRecord;
    enum Flag {
        SV_FITTED = 7,
        VOICE_MEMO = 6,
        FIXED_ALERT = 5,
        CALL_REMINDER = 4,
        ALERT_DURATION_FIXED = 3,
        PRIORITY_ALERT = 2,
        PRIVACY = 1
    };

    const Bytes& GetBytes() const { return m_b; }
    void SetBytes(const Bytes& b) { m_b = b; }
    void Load(const CCodeplug& plug) { m_b = plug.GetModelOptionRecord(); }
    void Store(CCodeplug& plug) const { plug.SetModelOptionRecord(m_b); }

    int GetSvRecordTime() const { return m_b[0] >> 4; }
    bool SetSvRecordTime(int index);  // 0 to 15
    int GetResetFunction() const { return m_b[0] & 0x0F; }
    bool SetResetFunction(int index);  // 0 to 15
    int GetResetTime() const { return m_b[1]; }
    bool SetResetTime(int units);  // 0 to 255, 0.48 s each
    bool GetFlag(Flag flag) const { return (m_b[2] >> flag) & 1; }
    void SetFlag(Flag flag, bool on);
    int GetAlertTime() const { return m_b[3]; }
    bool SetAlertTime(int units);  // 0 to 255, 0.48 s each
    int GetScanBack() const { return m_b[4]; }
    bool SetScanBack(int units);  // 0 to 255, 8 ms each

    double ResetTimeSeconds() const { return m_b[1] * 0.48; }
    double AlertTimeSeconds() const { return m_b[3] * 0.48; }
    double ScanBackSeconds() const { return m_b[4] * 0.008; }

    // "Dynamic", "15 Sec", "30 Sec", "60 Sec", "120 Sec" for the nibbles 0, 1,
    // 2, 4 and 8 that the Model Options page stores; "??" for the others.
    std::string SvRecordTimeText() const { return SvRecordTimeText(GetSvRecordTime()); }
    // "Automatic", "Delayed N", "Revert", "Manual", "Timeout", "Revert N".
    std::string ResetFunctionText() const { return ResetFunctionText(GetResetFunction()); }
    // "STD" or "FIXED".
    std::string AlertDurationText() const;
    // Whether the reset function runs on RESET_TIME ("Delayed N", "Timeout", "Revert N").
    bool ResetFunctionHasTime() const { return ResetFunctionHasTime(GetResetFunction()); }

    static std::string SvRecordTimeText(int nibble);
    static std::string ResetFunctionText(int index);
    static bool ResetFunctionHasTime(int index);
    static int ResetFunctionCount();

private:
    Bytes m_b{};
};
