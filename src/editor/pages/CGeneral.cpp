#include "editor/pages/CGeneral.h"

#include "codeplug/CPagerData.h"
#include "codeplug/CodeplugContext.h"
#include "editor/BandSplits.h"

namespace {
constexpr int kToneSystems = 5;
}

CGeneral::CGeneral() : CPropertyPage(IDD, "General") {
    std::vector<std::string> systems;
    for (int i = 0; i < kToneSystems; ++i) systems.push_back(CPagerData::ToneSystemText(i));
    SetItems(IDC_TONE_SYSTEM, systems);
    for (int id : {IDC_MODEL, IDC_SERIAL, IDC_BAND_SPLIT, IDC_XTAL, IDC_IF, IDC_INJECTION,
                   IDC_PLUG_VERSION, IDC_PAGER_VERSION})
        Control(id);  // read-only edits: text only
    On(ui::Notify::SelChange, IDC_TONE_SYSTEM, [this] { OnSelChangeToneSystem(); });
}

void CGeneral::Fill() {
    const CodeplugContext& ctx = CodeplugContext::Get();
    m_model = model.ModelText();
    m_serial = serial.SerialText();
    m_bandSplit = BandSplitName(model.GetBand(), model.GetSubBand());
    m_xtal = ctx.crystal == 1 ? "3.578545" : "3.579545";
    m_if = ifSetting.IfName();
    m_injection = ifSetting.InjectionText();
    m_plugVersion = version.PlugVersionText();
    m_pagerVersion = version.PagerVersionShortText();
    // A system without a name shows no selection.
    m_toneSystem = ctx.toneSystem >= 0 && ctx.toneSystem < kToneSystems ? ctx.toneSystem : -1;
    Touch();
}

void CGeneral::ClearDisplay() {
    m_plugVersion.clear();
    m_pagerVersion.clear();
    UpdateData(false);
}

void CGeneral::DoDataExchange(ui::DataExchange& dx) {
    dx.Text(IDC_MODEL, m_model);
    dx.Text(IDC_SERIAL, m_serial);
    dx.Text(IDC_BAND_SPLIT, m_bandSplit);
    dx.Text(IDC_XTAL, m_xtal);
    dx.Text(IDC_IF, m_if);
    dx.Text(IDC_INJECTION, m_injection);
    dx.Text(IDC_PLUG_VERSION, m_plugVersion);
    dx.Text(IDC_PAGER_VERSION, m_pagerVersion);
    dx.ComboIndex(IDC_TONE_SYSTEM, m_toneSystem);
}

void CGeneral::OnSelChangeToneSystem() {
    UpdateData(true);
    if (m_toneSystem >= 0) CodeplugContext::Get().toneSystem = m_toneSystem;
    UpdateData(false);
}
