#pragma once
// The 32-byte advanced block at 0x0B2: decoder, battery and squelch
// thresholds. Several of its bytes are fields of other records as well
// (SCAN_BACK, IF_SEL, CLOCK_SEL, the squelch pair, PLUG_VER).
#include <span>
#include <string>

#include "codeplug/CCodeplug.h"

class CAdvancedData {
public:
    using Bytes = CCodeplug::Advanced;

    enum Field {
        SCAN_BACK,
        IF_SEL,
        TUNE_PAR_B7,
        TUNE_PAR_B6,
        TUNE_PAR_L,
        CLOCK_SEL,
        MEASURE_MODE,
        BANDWIDTH,
        RF_OFF_DUTY,
        PRE_STABLE,
        SAMPLE_DUR,
        T1D,
        T1D_CNT,
        GAP_TOL,
        LONG_DUR,
        T2D,
        T2D_CNT,
        GB_WEIGHT_GOOD,
        GB_WEIGHT_BAD,
        GOOD_BAD_RADIO,
        GOOD_BAD_RADIO2,
        RATIO_END,
        END_TONE_DUR,
        BAT_LVL_0,
        BAT_LVL_1,
        BAT_LVL_2,
        BAT_LVL_3,
        BAT_LVL_4,
        BAT_LVL_5,
        SQ_V10_LVL,
        SQ_V4_LVL,
        SQ_ON,
        SQ_OFF,
        PLUG_VER_MAJOR,
        PLUG_VER_MINOR,
        BAT_GAUGE_PERI,
        FIELD_COUNT
    };

    struct FieldInfo {
        Field field;
        const char* name;       // "SCAN_BACK", "GOOD/BAD RADIO", ...
        int byte;               // block byte 0 to 31
        int shift;              // lowest bit of the field
        int width;              // bits
        const char* rangeText;  // "(Rnd 8~255, Inc 8ms)"; empty for fields with none
    };

    const Bytes& GetBytes() const { return m_b; }
    void SetBytes(const Bytes& b) { m_b = b; }
    void Load(const CCodeplug& plug) { m_b = plug.GetAdvanced(); }
    void Store(CCodeplug& plug) const { plug.SetAdvanced(m_b); }

    // Raw value of a field; 0 for an unknown field.
    int Get(Field field) const;
    // Stores a value without touching the other bits of its byte; refuses a
    // value wider than the field or an unknown field.
    bool Set(Field field, int value);

    // An unknown field gets an entry with an empty name and no bits.
    static const FieldInfo& Info(Field field);
    static std::span<const FieldInfo> AllFields();
    // The report's blocks, in report order.
    static std::span<const Field> ToneSettings();
    static std::span<const Field> OtherSettings();
    static std::span<const Field> BatterySettings();
    static std::span<const Field> SquelchSettings();

#define CALVEX_ADVANCED_ACCESSOR(Name, Id) \
    int Get##Name() const {                \
        return Get(Id);                    \
    }                                      \
    bool Set##Name(int value) {            \
        return Set(Id, value);             \
    }
    CALVEX_ADVANCED_ACCESSOR(ScanBack, SCAN_BACK)
    CALVEX_ADVANCED_ACCESSOR(IfSel, IF_SEL)
    CALVEX_ADVANCED_ACCESSOR(TuneParB7, TUNE_PAR_B7)
    CALVEX_ADVANCED_ACCESSOR(TuneParB6, TUNE_PAR_B6)
    CALVEX_ADVANCED_ACCESSOR(TuneParL, TUNE_PAR_L)
    CALVEX_ADVANCED_ACCESSOR(ClockSel, CLOCK_SEL)
    CALVEX_ADVANCED_ACCESSOR(MeasureMode, MEASURE_MODE)
    CALVEX_ADVANCED_ACCESSOR(Bandwidth, BANDWIDTH)
    CALVEX_ADVANCED_ACCESSOR(RfOffDuty, RF_OFF_DUTY)
    CALVEX_ADVANCED_ACCESSOR(PreStable, PRE_STABLE)
    CALVEX_ADVANCED_ACCESSOR(SampleDur, SAMPLE_DUR)
    CALVEX_ADVANCED_ACCESSOR(T1d, T1D)
    CALVEX_ADVANCED_ACCESSOR(T1dCnt, T1D_CNT)
    CALVEX_ADVANCED_ACCESSOR(GapTol, GAP_TOL)
    CALVEX_ADVANCED_ACCESSOR(LongDur, LONG_DUR)
    CALVEX_ADVANCED_ACCESSOR(T2d, T2D)
    CALVEX_ADVANCED_ACCESSOR(T2dCnt, T2D_CNT)
    CALVEX_ADVANCED_ACCESSOR(GbWeightGood, GB_WEIGHT_GOOD)
    CALVEX_ADVANCED_ACCESSOR(GbWeightBad, GB_WEIGHT_BAD)
    CALVEX_ADVANCED_ACCESSOR(GoodBadRadio, GOOD_BAD_RADIO)
    CALVEX_ADVANCED_ACCESSOR(GoodBadRadio2, GOOD_BAD_RADIO2)
    CALVEX_ADVANCED_ACCESSOR(RatioEnd, RATIO_END)
    CALVEX_ADVANCED_ACCESSOR(EndToneDur, END_TONE_DUR)
    CALVEX_ADVANCED_ACCESSOR(SqV10Lvl, SQ_V10_LVL)
    CALVEX_ADVANCED_ACCESSOR(SqV4Lvl, SQ_V4_LVL)
    CALVEX_ADVANCED_ACCESSOR(SqOn, SQ_ON)
    CALVEX_ADVANCED_ACCESSOR(SqOff, SQ_OFF)
    CALVEX_ADVANCED_ACCESSOR(PlugVerMajor, PLUG_VER_MAJOR)
    CALVEX_ADVANCED_ACCESSOR(PlugVerMinor, PLUG_VER_MINOR)
    CALVEX_ADVANCED_ACCESSOR(BatGaugePeri, BAT_GAUGE_PERI)
#undef CALVEX_ADVANCED_ACCESSOR
    // Battery threshold 0 to 5.
    int GetBatLevel(int n) const;
    bool SetBatLevel(int n, int value);

private:
    Bytes m_b{};
};
