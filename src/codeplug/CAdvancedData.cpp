#include "codeplug/CAdvancedData.h"

#include "codeplug/TextTable.h"

namespace {

using A = CAdvancedData;

constexpr const char* kRnd01 = "(Rnd 0/1)";
constexpr const char* kRnd15 = "(Rnd 1~15)";
constexpr const char* kRnd255 = "(Rnd 1~255)";
constexpr const char* kBattery = "(Rnd 1~255, Inc 6.2v/256)";
constexpr const char* kSquelch = "(Rnd 1~255, Inc 3.1v/256)";

// In enum order, so a field indexes its own entry.
constexpr A::FieldInfo kFields[] = {
    {A::SCAN_BACK, "SCAN_BACK", 0, 0, 8, "(Rnd 8~255, Inc 8ms)"},
    {A::IF_SEL, "IF_SEL", 1, 0, 8, ""},
    {A::TUNE_PAR_B7, "TUNE_PAR_B7", 2, 7, 1, kRnd01},
    {A::TUNE_PAR_B6, "TUNE_PAR_B6", 2, 6, 1, kRnd01},
    {A::TUNE_PAR_L, "TUNE_PAR_L", 2, 0, 4, kRnd15},
    {A::CLOCK_SEL, "CLOCK_SEL", 3, 0, 4, ""},
    {A::MEASURE_MODE, "MEASURE_MODE", 4, 6, 1, kRnd01},
    {A::BANDWIDTH, "BANDWIDTH", 4, 2, 4, kRnd15},
    {A::RF_OFF_DUTY, "RF_OFF_DUTY", 5, 0, 8, "(Rnd 1~255, Inc 4ms)"},
    {A::PRE_STABLE, "PRE_STABLE", 6, 0, 8, "(Rnd 1~255, Inc 4ms)"},
    {A::SAMPLE_DUR, "SAMPLE_DUR", 7, 0, 4, "(Rnd 1~15,  Inc 20ms)"},
    {A::T1D, "T1D", 8, 0, 8, "(Rnd 1~127, Inc 20ms)"},
    {A::T1D_CNT, "T1D_CNT", 9, 0, 8, kRnd255},
    {A::GAP_TOL, "GAP_TOL", 10, 0, 8, "(Rnd 1~15,  Inc 10ms)"},
    {A::LONG_DUR, "LONG_DUR", 11, 0, 8, "(Rnd 1~255, Inc 60ms)"},
    {A::T2D, "T2D", 12, 0, 8, "(Rnd 1~127, Inc 20ms)"},
    {A::T2D_CNT, "T2D_CNT", 13, 0, 8, kRnd255},
    {A::GB_WEIGHT_GOOD, "GB_WEIGHT_GOOD", 14, 0, 8, kRnd255},
    {A::GB_WEIGHT_BAD, "GB_WEIGHT_BAD", 15, 0, 8, kRnd255},
    {A::GOOD_BAD_RADIO, "GOOD/BAD RADIO", 16, 0, 8, kRnd255},
    {A::GOOD_BAD_RADIO2, "GOOD/BAD RADIO2", 17, 0, 8, kRnd255},
    {A::RATIO_END, "RATIO_END", 18, 0, 8, kRnd255},
    {A::END_TONE_DUR, "END_TONE_DUR", 19, 0, 8, "(Rnd 1~255, Inc 20ms)"},
    {A::BAT_LVL_0, "BAT_LVL_0", 20, 0, 8, kBattery},
    {A::BAT_LVL_1, "BAT_LVL_1", 21, 0, 8, kBattery},
    {A::BAT_LVL_2, "BAT_LVL_2", 22, 0, 8, kBattery},
    {A::BAT_LVL_3, "BAT_LVL_3", 23, 0, 8, kBattery},
    {A::BAT_LVL_4, "BAT_LVL_4", 24, 0, 8, kBattery},
    {A::BAT_LVL_5, "BAT_LVL_5", 25, 0, 8, kBattery},
    {A::SQ_V10_LVL, "SQ_V10_LVL", 26, 0, 8, kSquelch},
    {A::SQ_V4_LVL, "SQ_V4_LVL", 27, 0, 8, kSquelch},
    {A::SQ_ON, "SQ_ON", 28, 4, 4, "(Rnd 1~15,  Inc 20ms)"},
    {A::SQ_OFF, "SQ_OFF", 28, 0, 4, "(Rnd 1~15,  Inc 20ms)"},
    {A::PLUG_VER_MAJOR, "PLUG_VER", 29, 0, 8, ""},
    {A::PLUG_VER_MINOR, "PLUG_VER_MINOR", 30, 0, 8, ""},
    {A::BAT_GAUGE_PERI, "BAT_GAUGE_PERI", 31, 0, 8, "(Rnd 1~255, Inc 60ms)"},
};
static_assert(std::size(kFields) == A::FIELD_COUNT);

constexpr A::Field kTone[] = {A::TUNE_PAR_B7,
                              A::TUNE_PAR_B6,
                              A::TUNE_PAR_L,
                              A::MEASURE_MODE,
                              A::BANDWIDTH,
                              A::SAMPLE_DUR,
                              A::T1D,
                              A::T1D_CNT,
                              A::GAP_TOL,
                              A::LONG_DUR,
                              A::T2D,
                              A::T2D_CNT,
                              A::GB_WEIGHT_GOOD,
                              A::GB_WEIGHT_BAD,
                              A::GOOD_BAD_RADIO,
                              A::GOOD_BAD_RADIO2,
                              A::RATIO_END,
                              A::END_TONE_DUR};
constexpr A::Field kOther[] = {A::SCAN_BACK, A::PRE_STABLE, A::RF_OFF_DUTY};
constexpr A::Field kBatteryFields[] = {A::BAT_LVL_0, A::BAT_LVL_1, A::BAT_LVL_2,     A::BAT_LVL_3,
                                       A::BAT_LVL_4, A::BAT_LVL_5, A::BAT_GAUGE_PERI};
constexpr A::Field kSquelchFields[] = {A::SQ_V10_LVL, A::SQ_V4_LVL, A::SQ_ON, A::SQ_OFF};

bool Known(A::Field field) {
    return field >= 0 && field < A::FIELD_COUNT;
}

}  // namespace

int CAdvancedData::Get(Field field) const {
    if (!Known(field)) return 0;
    const FieldInfo& f = kFields[field];
    return texts::GetBits(m_b[f.byte], f.shift, f.width);
}

bool CAdvancedData::Set(Field field, int value) {
    if (!Known(field)) return false;
    const FieldInfo& f = kFields[field];
    if (!texts::Fits(value, f.width)) return false;
    m_b[f.byte] = texts::SetBits(m_b[f.byte], f.shift, f.width, value);
    return true;
}

int CAdvancedData::GetBatLevel(int n) const {
    return n >= 0 && n < 6 ? Get(static_cast<Field>(BAT_LVL_0 + n)) : 0;
}

bool CAdvancedData::SetBatLevel(int n, int value) {
    return n >= 0 && n < 6 && Set(static_cast<Field>(BAT_LVL_0 + n), value);
}

const CAdvancedData::FieldInfo& CAdvancedData::Info(Field field) {
    static constexpr FieldInfo kUnknown{FIELD_COUNT, "", 0, 0, 0, ""};
    return Known(field) ? kFields[field] : kUnknown;
}
std::span<const CAdvancedData::FieldInfo> CAdvancedData::AllFields() {
    return kFields;
}
std::span<const CAdvancedData::Field> CAdvancedData::ToneSettings() {
    return kTone;
}
std::span<const CAdvancedData::Field> CAdvancedData::OtherSettings() {
    return kOther;
}
std::span<const CAdvancedData::Field> CAdvancedData::BatterySettings() {
    return kBatteryFields;
}
std::span<const CAdvancedData::Field> CAdvancedData::SquelchSettings() {
    return kSquelchFields;
}
