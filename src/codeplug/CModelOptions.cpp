#include "codeplug/CModelOptions.h"

#include "codeplug/TextTable.h"

namespace {
// By the stored nibble: the list stores 1, 2, 4 and 8 for its times.
const char* const kSvRecordTimes[] = {"Dynamic", "15 Sec", "30 Sec", "??",     "60 Sec",
                                      "??",      "??",     "??",     "120 Sec"};
const char* const kResetFunctions[] = {"Automatic", "Delayed N", "Revert",
                                       "Manual",    "Timeout",   "Revert N"};

bool SetByte(Byte& b, int value) {
    if (!texts::Fits(value, 8)) return false;
    b = static_cast<Byte>(value);
    return true;
}
}  // namespace

bool CModelOptions::SetSvRecordTime(int index) {
    if (!texts::Fits(index, 4)) return false;
    m_b[0] = texts::SetBits(m_b[0], 4, 4, index);
    return true;
}

bool CModelOptions::SetResetFunction(int index) {
    if (!texts::Fits(index, 4)) return false;
    m_b[0] = texts::SetBits(m_b[0], 0, 4, index);
    return true;
}

bool CModelOptions::SetResetTime(int units) {
    return SetByte(m_b[1], units);
}
bool CModelOptions::SetAlertTime(int units) {
    return SetByte(m_b[3], units);
}
bool CModelOptions::SetScanBack(int units) {
    return SetByte(m_b[4], units);
}

void CModelOptions::SetFlag(Flag flag, bool on) {
    m_b[2] = texts::SetBits(m_b[2], flag, 1, on ? 1 : 0);
}

std::string CModelOptions::AlertDurationText() const {
    return GetFlag(ALERT_DURATION_FIXED) ? "FIXED" : "STD";
}

std::string CModelOptions::SvRecordTimeText(int nibble) {
    return texts::Lookup(kSvRecordTimes, nibble, "??");
}
std::string CModelOptions::ResetFunctionText(int index) {
    return texts::Lookup(kResetFunctions, index);
}
bool CModelOptions::ResetFunctionHasTime(int index) {
    return index == 1 || index == 4 || index == 5;
}
int CModelOptions::ResetFunctionCount() {
    return static_cast<int>(std::size(kResetFunctions));
}
