#pragma once
// Codeplug version (PLUG_VER, integer part and thousandths) and the pager
// firmware version (PAGER_VERSION, tenths).
#include <string>

#include "codeplug/CCodeplug.h"

class CVersionInfo {
public:
    void Load(const CCodeplug& plug);
    // Writes PLUG_VER. PAGER_VERSION belongs to the pager and is not written.
    void Store(CCodeplug& plug) const;

    int GetPlugMajor() const { return m_plug[0]; }
    int GetPlugMinor() const { return m_plug[1]; }
    bool SetPlugMajor(int major);  // 0 to 255
    bool SetPlugMinor(int minor);  // 0 to 255, thousandths
    // Integer part and thousandths of a version such as 1.005; false (and
    // nothing changed) when it does not fit the two bytes.
    bool SetPlugVersion(double version);
    double GetPlugVersion() const { return m_plug[0] + m_plug[1] * 0.001; }

    Byte GetPagerVersion() const { return m_pager; }
    void SetPagerVersion(Byte version) { m_pager = version; }
    double GetPagerVersionValue() const { return m_pager * 0.1; }

    std::string PlugVersionText() const;        // "%.3f"
    std::string PagerVersionText() const;       // "%.3f", as the report prints it
    std::string PagerVersionShortText() const;  // "%.2f", as the General page shows it

private:
    std::array<Byte, 2> m_plug{};
    Byte m_pager = 0;
};
