#include "codeplug/CPagerData.h"

#include "codeplug/CodeplugContext.h"
#include "codeplug/TextTable.h"

namespace {
const char* const kToneSystems[] = {"Corvane", "GE", "Plectron", "User", "Fast Plectron"};
}

void CPagerData::Decode(const CCodeplug& plug) {
    model.Load(plug);
    version.Load(plug);
    serial.Load(plug);
    ifSetting.Load(plug);
    options.Load(plug);
    squelch.Load(plug);
    switches.Load(plug);
    channel[0].Load(plug, F1);
    channel[1].Load(plug, F2);
    advanced.Load(plug);
    m_systemSel = plug.GetImage()[layout::SYSTEM_SEL];

    CodeplugContext& ctx = CodeplugContext::Get();
    ctx.band = model.GetBand();
    ctx.subBand = model.GetSubBand();
    ctx.crystal = model.GetCrystal();
    ctx.frequencies = model.GetFrequencies();
    ctx.twoFrequency = model.IsTwoFrequency();
    ctx.toneSystem = GetToneSystem();
}

void CPagerData::Encode(CCodeplug& plug) const {
    advanced.Store(plug);
    model.Store(plug);
    version.Store(plug);
    serial.Store(plug);
    ifSetting.Store(plug);
    options.Store(plug);
    squelch.Store(plug);
    switches.Store(plug);
    channel[0].Store(plug, F1);
    channel[1].Store(plug, F2);
    plug.SetToneSystem(GetToneSystem());
    plug.SetSystemSetting(GetSystemSetting());
}

bool CPagerData::SetToneSystem(int system) {
    if (!texts::Fits(system, 4)) return false;
    m_systemSel = texts::SetBits(m_systemSel, 4, 4, system);
    return true;
}

bool CPagerData::SetSystemSetting(int value) {
    if (!texts::Fits(value, 3)) return false;
    m_systemSel = texts::SetBits(m_systemSel, 0, 3, value);
    return true;
}

std::string CPagerData::ToneSystemText(int system) {
    return texts::Lookup(kToneSystems, system);
}

std::string CPagerData::StoredVoiceText(int code) {
    return code == 0 ? "ISD5116" : "?";
}
