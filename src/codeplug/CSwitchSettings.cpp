#include "codeplug/CSwitchSettings.h"

#include "codeplug/TextTable.h"

using texts::Fits;
using texts::GetBits;
using texts::SetBits;

namespace {
const char* const kAlertTypes[] = {"", "Tone", "Vibrator", "Vibrator + Tone"};
const char* const kModes[] = {"Monitor F1",        "Monitor F2",       "Selective Call F1",
                              "Selective Call F2", "Probability Scan", "Priority Scan F1",
                              "Silent Scan"};
const char* const kPositionNames[] = {"SW-A", "SW-B", "SW-C", "SW-D"};
}  // namespace

Byte CSwitchSettings::GetByte(int pos) const {
    return Valid(pos) ? m_b[pos] : 0;
}

bool CSwitchSettings::SetByte(int pos, int value) {
    if (!Valid(pos) || !Fits(value, 8)) return false;
    m_b[pos] = static_cast<Byte>(value);
    return true;
}

bool CSwitchSettings::GetWideBand(int pos) const {
    return GetBits(GetByte(pos), 7, 1);
}
bool CSwitchSettings::SetWideBand(int pos, bool on) {
    if (!Valid(pos)) return false;
    m_b[pos] = SetBits(m_b[pos], 7, 1, on);
    return true;
}

bool CSwitchSettings::GetPtl(int pos) const {
    return GetBits(GetByte(pos), 6, 1);
}
bool CSwitchSettings::SetPtl(int pos, bool on) {
    if (!Valid(pos)) return false;
    m_b[pos] = SetBits(m_b[pos], 6, 1, on);
    return true;
}

int CSwitchSettings::GetAlertType(int pos) const {
    return GetBits(GetByte(pos), 4, 2);
}
bool CSwitchSettings::SetAlertType(int pos, int value) {
    if (!Valid(pos) || !Fits(value, 2)) return false;
    m_b[pos] = SetBits(m_b[pos], 4, 2, value);
    return true;
}

bool CSwitchSettings::GetDuty(int pos) const {
    return GetBits(GetByte(pos), 3, 1);
}
bool CSwitchSettings::SetDuty(int pos, bool on) {
    if (!Valid(pos)) return false;
    m_b[pos] = SetBits(m_b[pos], 3, 1, on);
    return true;
}

int CSwitchSettings::GetMode(int pos) const {
    return GetBits(GetByte(pos), 0, 3);
}
bool CSwitchSettings::SetMode(int pos, int mode) {
    if (!Valid(pos) || !Fits(mode, 3)) return false;
    m_b[pos] = SetBits(m_b[pos], 0, 3, mode);
    return true;
}

bool CSwitchSettings::HasPriorityScan() const {
    for (int pos = 0; pos < kPositions; ++pos) {
        if (GetMode(pos) == PRIORITY_SCAN_F1) return true;
    }
    return false;
}

bool CSwitchSettings::DutyAvailable(Channel ch) const {
    const int monitorOther = ch == F1 ? MONITOR_F2 : MONITOR_F1;
    const int selectiveOther = ch == F1 ? SELECTIVE_CALL_F2 : SELECTIVE_CALL_F1;
    for (int pos = 0; pos < kPositions; ++pos) {
        const int mode = GetMode(pos);
        if (GetDuty(pos) && mode != monitorOther && mode != selectiveOther) return true;
    }
    return false;
}

std::string CSwitchSettings::AlertTypeText(int value) {
    return texts::Lookup(kAlertTypes, value);
}
std::string CSwitchSettings::ModeText(int mode) {
    return texts::Lookup(kModes, mode);
}
std::string CSwitchSettings::PositionName(int pos) {
    return texts::Lookup(kPositionNames, pos);
}
