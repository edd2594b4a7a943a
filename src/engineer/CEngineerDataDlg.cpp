#include "engineer/CEngineerDataDlg.h"

#include <cctype>

#include "codeplug/CodeplugContext.h"
#include "engineer/EngineerIds.h"
#include "engineer/EngineerTables.h"
#include "ui/Prompt.h"

using namespace engineer;

namespace {

CodeplugContext& Ctx() {
    return CodeplugContext::Get();
}

}  // namespace

CEngineerDataDlg::CEngineerDataDlg() : CDialogModel(IDD_ENGINEER_DATA, "Engineer Data") {
    Control(ui::IDOK).text = "OK";
    Control(ui::IDCANCEL).text = "Cancel";
    Control(IDC_ADVANCED).text = "&Advanced";
    using ui::Notify;
    // Every pick runs its box's handler, also a pick of the entry the box
    // already shows (the IF list has one entry: picking it is the only way
    // to set the band's IF byte). Each handler reads the new list index of
    // its box; -1 (an emptied list) changes nothing.
    const auto onPick = [this](int id, auto apply) {
        On(Notify::Picked, id, [this, id, apply] {
            if (int i = Selection(id); i >= 0) apply(i);
        });
    };
    On(Notify::Picked, IDC_RADIO_BAND, [this] { OnSelChangeBand(); });
    On(Notify::Picked, IDC_BAND_SPLIT, [this] { OnSelChangeBandSplit(); });
    On(Notify::Picked, IDC_SP, [this] { OnSelChangeSp(); });
    On(Notify::Picked, IDC_FREQ_COUNT, [this] { OnSelChangeFreqCount(); });
    On(Notify::Picked, IDC_XTAL, [this] { OnSelChangeXtal(); });
    On(Notify::Picked, IDC_IF, [this] { OnSelChangeIf(); });
    onPick(IDC_MODEL, [this](int i) { m_modelNumber.SetFamily(i); });
    // "2 - NVb/NSV" (code 0) is only shown, never offered.
    onPick(IDC_MODULATION, [this](int i) { m_modelNumber.SetModulation(i == 0 ? 5 : 7); });
    onPick(IDC_CODING, [this](int i) { m_modelNumber.SetCoding(i); });
    onPick(IDC_REVISION, [this](int i) { m_modelNumber.SetRevision(i); });
    onPick(IDC_BATTERY, [this](int i) { m_modelNumber.SetBattery(i); });
    onPick(IDC_WARRANTY, [this](int i) { m_serialNumber.SetWarranty(i); });
    // The one site offered, "Bresmar", is site code 2.
    onPick(IDC_MFG_SITE, [this](int i) { m_serialNumber.SetSite(i + 2); });
    onPick(IDC_BUILD_YEAR, [this](int i) { m_serialNumber.SetYear(YearCodeOfEntry(i)); });
    onPick(IDC_BUILD_MONTH, [this](int i) { m_serialNumber.SetPeriod(i); });
    onPick(IDC_STORED_VOICE, [this](int i) { m_storedVoice = i; });
    On(Notify::EditChange, IDC_UNIT_NUMBER, [this] { OnEditChangeUnit(); });
    On(Notify::KillFocus, IDC_UNIT_NUMBER, [this] { OnKillFocusUnit(); });
    On(Notify::KillFocus, IDC_PLUG_VERSION, [this] { OnKillFocusVersion(); });
    On(Notify::Clicked, IDC_ADVANCED, [this] { OnAdvanced(); });
}

void CEngineerDataDlg::Load(const CCodeplug& plug) {
    m_modelNumber.Load(plug);
    CodeplugContext& ctx = Ctx();
    ctx.band = m_modelNumber.GetBand();
    ctx.subBand = m_modelNumber.GetSubBand();
    // The X'tal box shows the selector: it must be this codeplug's, even
    // when nothing has decoded the codeplug since it was opened.
    ctx.crystal = m_modelNumber.GetCrystal();
    m_serialNumber.Load(plug);
    m_rxF1 = plug.GetRxRecord(F1);
    m_rxF2 = plug.GetRxRecord(F2);
    m_crystalIndex = plug.GetClockSel();
    m_storedVoice = plug.GetSystemSetting();
    m_ifByte = plug.GetIfByte();
    m_plugVersion = plug.GetPlugVersion();
    m_advanced.Load(plug);
    m_toneSystem = plug.GetToneSystem();
    m_codeplugVersion = m_plugVersion[0];
}

void CEngineerDataDlg::Store(CCodeplug& plug) const {
    // The block is written last and holds the IF byte, the crystal index and
    // the version too: it takes their edited values first, or the old ones
    // would win.
    CAdvancedData block = m_advanced;
    plug.SetModelNumber(m_modelNumber.GetBytes());
    plug.SetSerialNumber(m_serialNumber.GetBytes());
    plug.SetIfByte(m_ifByte);
    block.SetIfSel(m_ifByte);
    plug.SetRxRecord(F1, m_rxF1);
    plug.SetRxRecord(F2, m_rxF2);
    // Only the low nibble is the crystal index; the high nibble stays.
    plug.SetClockSel(m_crystalIndex);
    block.SetClockSel(m_crystalIndex);
    plug.SetSystemSetting(m_storedVoice);
    plug.SetPlugVersion(m_plugVersion);
    block.SetPlugVerMajor(m_plugVersion[0]);
    block.SetPlugVerMinor(m_plugVersion[1]);
    plug.SetAdvanced(block.GetBytes());
}

double CEngineerDataDlg::FrequencyMHz(Channel ch) const {
    return CRxFrequency::Decode(ch == F2 ? m_rxF2 : m_rxF1, Ctx().band, m_ifByte);
}

void CEngineerDataDlg::FillBandLists(int band) {
    if (HasBandTables(band)) {
        SetItems(IDC_BAND_SPLIT, BandSplitEntries(band));
        SetItems(IDC_IF, {IfEntry(band)});
        SetItems(IDC_XTAL, CrystalEntries());
    } else {
        SetItems(IDC_BAND_SPLIT, {});
        SetItems(IDC_IF, {});
        SetItems(IDC_XTAL, {});
    }
}

void CEngineerDataDlg::OnInitDialog() {
    SetItems(IDC_RADIO_BAND, BandEntries());
    SetItems(IDC_SP, SpEntries());
    SetItems(IDC_MODEL, ModelEntries());
    SetItems(IDC_MODULATION, ModulationEntries());
    SetItems(IDC_CODING, CodingEntries());
    SetItems(IDC_FREQ_COUNT, FreqCountEntries());
    SetItems(IDC_REVISION, RevisionEntries());
    SetItems(IDC_BATTERY, BatteryEntries());
    SetItems(IDC_WARRANTY, WarrantyEntries());
    SetItems(IDC_MFG_SITE, SiteEntries());
    SetItems(IDC_BUILD_YEAR, BuildYearEntries());
    SetItems(IDC_BUILD_MONTH, BuildMonthEntries());
    SetItems(IDC_STORED_VOICE, StoredVoiceEntries());
    Show(IDC_WARRANTY, false);
    Show(IDC_WARRANTY_LABEL, false);
    FillBandLists(Ctx().band);
    Refresh();
}

void CEngineerDataDlg::Refresh() {
    const CodeplugContext& ctx = Ctx();
    m_bandText = BandName(ctx.band);
    if (HasBandTables(ctx.band)) m_bandSplitText = BandSplitName(ctx.band, ctx.subBand);
    m_spText = std::to_string(m_modelNumber.GetSp());
    m_modelText = ModelName(m_modelNumber.GetFamily());
    m_modulationText = ModulationName(m_modelNumber.GetModulation());
    m_codingText = CodingName(m_modelNumber.GetCoding());
    m_freqCountText = FreqCountName(m_modelNumber.GetFrequencies());
    m_revisionText = RevisionName(m_modelNumber.GetRevision());
    m_batteryText = BatteryName(m_modelNumber.GetBattery());
    m_warrantyText = WarrantyName(m_serialNumber.GetWarranty());
    m_siteText = SiteName(m_serialNumber.GetSite());
    m_monthText = BuildMonthName(m_serialNumber.GetPeriod());
    m_yearText = BuildYearName(m_serialNumber.GetYear());
    m_unitText = m_serialNumber.UnitText();
    m_xtalText = CrystalName(ctx.crystal);
    m_ifText = IfName(m_ifByte >> 5);
    m_codeplugVersion = m_plugVersion[0];
    m_storedVoiceText = StoredVoiceName(m_storedVoice);
    UpdateData(false);
}

void CEngineerDataDlg::DoDataExchange(ui::DataExchange& dx) {
    dx.ComboText(IDC_RADIO_BAND, m_bandText);
    dx.ComboText(IDC_BAND_SPLIT, m_bandSplitText);
    dx.ComboText(IDC_SP, m_spText);
    dx.ComboText(IDC_MODEL, m_modelText);
    dx.ComboText(IDC_MODULATION, m_modulationText);
    dx.ComboText(IDC_CODING, m_codingText);
    dx.ComboText(IDC_FREQ_COUNT, m_freqCountText);
    dx.ComboText(IDC_REVISION, m_revisionText);
    dx.ComboText(IDC_BATTERY, m_batteryText);
    dx.ComboText(IDC_WARRANTY, m_warrantyText);
    dx.ComboText(IDC_MFG_SITE, m_siteText);
    dx.ComboText(IDC_BUILD_YEAR, m_yearText);
    dx.ComboText(IDC_BUILD_MONTH, m_monthText);
    dx.Text(IDC_UNIT_NUMBER, m_unitText);
    dx.ComboText(IDC_XTAL, m_xtalText);
    dx.ComboText(IDC_IF, m_ifText);
    dx.Number(IDC_PLUG_VERSION, m_codeplugVersion);
    dx.MinMax(m_codeplugVersion, 0, 255);
    dx.ComboText(IDC_STORED_VOICE, m_storedVoiceText);
}

bool CEngineerDataDlg::UpdateData(bool save) {
    ui::DataExchange dx(*this, save);
    DoDataExchange(dx);
    return !dx.Failed();
}

void CEngineerDataDlg::SetFrequencies(double f1, double f2) {
    m_rxF1 = CRxFrequency::Encode(f1, Ctx().band, m_ifByte);
    m_rxF2 = CRxFrequency::Encode(f2, Ctx().band, m_ifByte);
}

void CEngineerDataDlg::SetIfByteKeepingFrequencies(Byte ifByte) {
    // Every frequency decode depends on the IF byte: re-encode F1 and F2 so
    // that they still mean the frequencies the engineer had.
    const double f1 = FrequencyMHz(F1);
    const double f2 = FrequencyMHz(F2);
    m_ifByte = ifByte;
    SetFrequencies(f1, f2);
}

void CEngineerDataDlg::OnSelChangeBand() {
    const int band = BandOfEntry(Selection(IDC_RADIO_BAND));
    if (band < 0) return;
    CodeplugContext& ctx = Ctx();
    SetItems(IDC_BAND_SPLIT, {});
    SetItems(IDC_IF, {});
    ctx.band = band;
    m_modelNumber.SetBand(band);
    if (band == 0) m_modelNumber.SetModulation(5);
    FillBandLists(band);
    ctx.subBand = 0;
    m_modelNumber.SetSubBand(0);
    m_ifByte = *StandardIfByte(band, true);
    if (auto d = DefaultFrequenciesOf(band, 0)) SetFrequencies(d->f1, d->f2);
    // Every text from the working copies: a box picked earlier without a
    // refresh must not fall back to its old name.
    Refresh();
}

void CEngineerDataDlg::OnSelChangeBandSplit() {
    CodeplugContext& ctx = Ctx();
    if (!HasBandTables(ctx.band)) {
        m_modelNumber.SetSubBand(ctx.subBand);
        return;
    }
    const int code = SplitCodeOfEntry(ctx.band, Selection(IDC_BAND_SPLIT));
    if (code < 0) return;
    ctx.subBand = code;
    // The split's defaults, whatever "# Freq" says.
    if (auto d = DefaultFrequenciesOf(ctx.band, code)) SetFrequencies(d->f1, d->f2);
    m_modelNumber.SetSubBand(code);
    Refresh();
}

void CEngineerDataDlg::OnSelChangeSp() {
    const int i = Selection(IDC_SP);
    if (i < 0) return;
    if (ui::Prompt* p = GetPrompt())
        p->Ask(kSpWarning, kSpWarningCaption, ui::PromptIcon::Warning, ui::PromptButtons::Ok);
    m_modelNumber.SetSp(i);
    Ctx().crystal = i == 1 ? 1 : 0;
    Refresh();
}

void CEngineerDataDlg::OnSelChangeFreqCount() {
    const int i = Selection(IDC_FREQ_COUNT);
    if (i < 0) return;
    m_modelNumber.SetFrequencies(i);
    const CodeplugContext& ctx = Ctx();
    if (!HasBandTables(ctx.band)) return;
    if (i != 1) {
        m_rxF2 = CRxFrequency::Encode(0.0, ctx.band, m_ifByte);
    } else if (auto d = DefaultFrequenciesOf(ctx.band, ctx.subBand)) {
        m_rxF2 = CRxFrequency::Encode(d->f2, ctx.band, m_ifByte);
    }
}

void CEngineerDataDlg::OnSelChangeXtal() {
    const int i = Selection(IDC_XTAL);
    if (i < 0) return;
    m_crystalIndex = i == 1 ? 1 : 0;
    m_modelNumber.SetSp(m_crystalIndex);
    // SP is the crystal selector: keep the box on the crystal just picked.
    Ctx().crystal = m_crystalIndex;
    Refresh();
}

void CEngineerDataDlg::OnSelChangeIf() {
    if (Selection(IDC_IF) < 0) return;
    if (auto b = StandardIfByte(Ctx().band, false)) SetIfByteKeepingFrequencies(*b);
}

void CEngineerDataDlg::OnEditChangeUnit() {
    std::string text = Text(IDC_UNIT_NUMBER);
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (text != Text(IDC_UNIT_NUMBER)) SetText(IDC_UNIT_NUMBER, text);
}

bool CEngineerDataDlg::ParseUnit() {
    if (m_serialNumber.ParseUnit(m_unitText)) return true;
    if (ui::Prompt* p = GetPrompt())
        p->Ask(kBadUnit, kBadUnitCaption, ui::PromptIcon::Error, ui::PromptButtons::Ok);
    return false;
}

void CEngineerDataDlg::OnKillFocusUnit() {
    // A message box takes the focus from the next field as well: that loss
    // must not check a second time.
    if (m_checking) return;
    m_checking = true;
    const std::string old = m_unitText;
    if (!UpdateData(true) || !ParseUnit()) m_unitText = old;
    UpdateData(false);
    m_checking = false;
}

void CEngineerDataDlg::OnKillFocusVersion() {
    if (m_checking) return;
    m_checking = true;
    const int old = m_codeplugVersion;
    if (UpdateData(true))
        m_plugVersion[0] = static_cast<Byte>(m_codeplugVersion);
    else
        m_codeplugVersion = old;
    UpdateData(false);
    m_checking = false;
}

bool CEngineerDataDlg::OnOK() {
    // Enter in a field closes the dialog without that field losing the
    // focus: take its value here as the focus loss would have.
    m_checking = true;
    bool ok = UpdateData(true);
    if (ok && m_unitText != m_serialNumber.UnitText() && !ParseUnit()) {
        RequestFocus(IDC_UNIT_NUMBER);
        ok = false;
    }
    if (ok) m_plugVersion[0] = static_cast<Byte>(m_codeplugVersion);
    m_checking = false;
    return ok;
}

void CEngineerDataDlg::OnAdvanced() {
    m_advancedDlg.LoadFrom(m_advanced);
    m_advancedDlg.m_toneSystem = m_toneSystem;
    m_advancedDlg.SetPrompt(GetPrompt());
    if (!m_runAdvanced) return;
    m_runAdvanced(m_advancedDlg, [this](bool ok) {
        if (ok) m_advancedDlg.StoreInto(m_advanced);
    });
}
