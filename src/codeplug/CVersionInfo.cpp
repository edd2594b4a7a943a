#include "codeplug/CVersionInfo.h"

#include <cmath>

#include "codeplug/NumberText.h"

void CVersionInfo::Load(const CCodeplug& plug) {
    m_plug = plug.GetPlugVersion();
    m_pager = plug.GetPagerVersion();
}

void CVersionInfo::Store(CCodeplug& plug) const {
    plug.SetPlugVersion(m_plug);
}

bool CVersionInfo::SetPlugMajor(int major) {
    if (major < 0 || major > 255) return false;
    m_plug[0] = static_cast<Byte>(major);
    return true;
}

bool CVersionInfo::SetPlugMinor(int minor) {
    if (minor < 0 || minor > 255) return false;
    m_plug[1] = static_cast<Byte>(minor);
    return true;
}

bool CVersionInfo::SetPlugVersion(double version) {
    if (!(version >= 0.0) || version >= 256.0) return false;
    const double major = std::floor(version);
    const double minor = std::floor((version - major) * 1000.0 + 0.5);
    if (minor > 255.0) return false;
    m_plug = {static_cast<Byte>(major), static_cast<Byte>(minor)};
    return true;
}

std::string CVersionInfo::PlugVersionText() const {
    return FormatDouble("%.3f", GetPlugVersion());
}
std::string CVersionInfo::PagerVersionText() const {
    return FormatDouble("%.3f", GetPagerVersionValue());
}
std::string CVersionInfo::PagerVersionShortText() const {
    return FormatDouble("%.2f", GetPagerVersionValue());
}
