#pragma once
// The IF byte (IF_SEL): IF index, injection side and the synthesizer
// reference divider.
#include <string>

#include "codeplug/CCodeplug.h"

class CIfSetting {
public:
    void Load(const CCodeplug& plug) { m_byte = plug.GetIfByte(); }
    void Store(CCodeplug& plug) const { plug.SetIfByte(m_byte); }

    Byte GetByte() const { return m_byte; }
    void SetByte(Byte b) { m_byte = b; }

    int GetIfIndex() const { return m_byte >> 5; }
    bool SetIfIndex(int index);                             // 0 to 7
    int GetInjection() const { return (m_byte >> 4) & 1; }  // 0 low, 1 high
    bool SetInjection(int high);
    int GetDivider() const { return m_byte & 0x0F; }
    bool SetDivider(int divider);  // 0 to 15

    double IfMHz() const;
    // Report text: "14.575", "21.4"; empty for other indexes (45.0 MHz has none).
    std::string IfText() const { return IfText(GetIfIndex()); }
    // General page name: "14.575", "21.4", "45"; empty beyond.
    std::string IfName() const { return IfName(GetIfIndex()); }
    std::string InjectionText() const { return InjectionText(GetInjection()); }

    static std::string IfText(int index);
    static std::string IfName(int index);
    static std::string InjectionText(int high);  // "Low", "High"

private:
    Byte m_byte = 0;
};
