#include "editor/pages/CUserData.h"

#include "codeplug/CCodeplug.h"
#include "codeplug/CodeplugContext.h"
#include "editor/pages/SwitchFlags.h"

CUserData::CUserData() : CPropertySheet("User Data") {}

void CUserData::FillPages(const CCodeplug& plug) {
    CodeplugContext& ctx = CodeplugContext::Get();

    // 1. The shared values every rule reads.
    CModelNumber model;
    model.Load(plug);
    ctx.band = model.GetBand();
    ctx.subBand = model.GetSubBand();
    ctx.crystal = model.GetCrystal();
    ctx.pagerVersion = plug.GetPagerVersion();
    ctx.toneSystem = plug.GetToneSystem();

    // 2. General: copies only, never written back.
    general.model = model;
    general.serial.Load(plug);
    general.ifSetting.Load(plug);
    general.version.Load(plug);
    general.Fill();

    // 3. One or two receive channels.
    ctx.frequencies = model.GetFrequencies();
    m_twoFrequency = model.GetFrequencies() != 0;
    ctx.twoFrequency = m_twoFrequency;

    // 4./5. Channel records and the pages' labels.
    channel1.record.Load(plug, F1);
    channel1.model = model;
    channel1.PrepareChannelPage();
    if (m_twoFrequency) {
        channel2.record.Load(plug, F2);
        channel2.model = model;
        channel2.PrepareChannelPage();
    }

    // 6. Options and switches; stored voice is fitted exactly when the
    // model number says so, whatever the codeplug's flag claimed.
    modelOption.options.Load(plug);
    modelOption.options.SetFlag(CModelOptions::SV_FITTED, model.GetModulation() == 7);
    modelOption.squelch.Load(plug);
    modelOption.LoadFromRecords();
    functionSwitch.switches.Load(plug);
    functionSwitch.LoadFromRecord();
    UpdateSwitchFlags(functionSwitch.switches, ctx);
}

void CUserData::AddPages() {
    AddPage(&general);
    AddPage(&channel1);
    if (m_twoFrequency) AddPage(&channel2);
    AddPage(&modelOption);
    AddPage(&functionSwitch);
}

void CUserData::WriteBack(CCodeplug& plug) const {
    plug.SetToneSystem(CodeplugContext::Get().toneSystem);
    channel1.record.Store(plug, F1);
    if (m_twoFrequency) channel2.record.Store(plug, F2);
    modelOption.options.Store(plug);
    modelOption.squelch.Store(plug);
    functionSwitch.switches.Store(plug);
}

void CUserData::ClearAfterRun() {
    End();
    RemoveAllPages();
    general.ClearDisplay();
    channel1.ClearDisplay();
    channel2.ClearDisplay();
}

int CUserData::RunUserDataSheet(CCodeplug& plug, const Runner& run) {
    FillPages(plug);
    AddPages();
    const int result = run ? run(*this) : ui::IDCANCEL;
    if (result == ui::IDOK) WriteBack(plug);
    ClearAfterRun();
    return result;
}
