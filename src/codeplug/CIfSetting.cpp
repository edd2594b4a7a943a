#include "codeplug/CIfSetting.h"

#include "codeplug/CRxFrequency.h"
#include "codeplug/TextTable.h"

namespace {
const char* const kIfTexts[] = {"14.575", "21.4"};
const char* const kIfNames[] = {"14.575", "21.4", "45"};
const char* const kInjection[] = {"Low", "High"};
}  // namespace

bool CIfSetting::SetIfIndex(int index) {
    if (!texts::Fits(index, 3)) return false;
    m_byte = texts::SetBits(m_byte, 5, 3, index);
    return true;
}

bool CIfSetting::SetInjection(int high) {
    if (!texts::Fits(high, 1)) return false;
    m_byte = texts::SetBits(m_byte, 4, 1, high);
    return true;
}

bool CIfSetting::SetDivider(int divider) {
    if (!texts::Fits(divider, 4)) return false;
    m_byte = texts::SetBits(m_byte, 0, 4, divider);
    return true;
}

double CIfSetting::IfMHz() const {
    return CRxFrequency::IfMHz(m_byte);
}
std::string CIfSetting::IfText(int index) {
    return texts::Lookup(kIfTexts, index);
}
std::string CIfSetting::IfName(int index) {
    return texts::Lookup(kIfNames, index);
}
std::string CIfSetting::InjectionText(int high) {
    return texts::Lookup(kInjection, high);
}
