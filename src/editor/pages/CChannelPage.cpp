#include "editor/pages/CChannelPage.h"

#include "codeplug/CodeplugContext.h"
#include "editor/BandSplits.h"
#include "editor/FrequencyRules.h"
#include "editor/RuleMessages.h"
#include "ui/Prompt.h"

namespace {

constexpr std::array<ChannelRow, CChannelPage::kRows> kRowTable = {{
    {"Call 1:", 1030, 1210, 1042, 1216, 1083, 1251, 1173},
    {"Call 2:", 1031, 1211, 1043, 1217, 1084, 1252, 1174},
    {"Call 3:", 1032, 1212, 1044, 1218, 1085, 1253, 1175},
    {"Call 4:", 1033, 1213, 1045, 1219, 1086, 1254, 1176},
    {"Call 5:", 1034, 1214, 1046, 1227, 0, 1255, 1177},
    {"Call 6:", 1035, 1215, 1047, 1225, 0, 1256, 1178},
    {"Call 7:", 1036, 1222, 1048, 1223, 0, 1257, 1182},
    {"Call 8:", 1037, 1220, 1049, 1221, 0, 1258, 1181},
    {"Group Call 1:", 1038, 1228, 0, 0, 1284, 1259, 1265},
    {"Group Call 2:", 1039, 1266, 0, 0, 1285, 1260, 1264},
    {"Group Call 3:", 1040, 1229, 0, 0, 0, 1261, 1184},
    {"Group Call 4:", 1041, 1230, 0, 0, 0, 1262, 1183},
}};

constexpr int kAlertNames = 10;  // "Standard", "Continuous", "Music 1" ... "Music 8"

// Keeps focus changes that a message box or picker causes from being taken
// as edits of the page.
class BusyScope {
public:
    explicit BusyScope(bool& flag) : m_flag(flag), m_was(flag) { m_flag = true; }
    ~BusyScope() { m_flag = m_was; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    bool& m_flag;
    bool m_was;
};

bool HasPicker(int toneSystem) {
    return CToneTableDlg::SetOf(toneSystem) >= 0;
}

}  // namespace

const char* const CChannelPage::kHeadings[5] = {"Tone 1", "Tone 2", "C/S", "Alert Tone", "Duty"};
const char* const CChannelPage::kDutyNames[2] = {"ON", "OFF"};

const std::array<ChannelRow, CChannelPage::kRows>& CChannelPage::Rows() {
    return kRowTable;
}

int CChannelPage::ToneFieldId(int field) {
    if (field < 0 || field >= kToneFields) return 0;
    const ChannelRow& row = kRowTable[static_cast<std::size_t>(RowOfField(field))];
    return field < 16 && field % 2 == 1 ? row.tone2 : row.tone1;
}

int CChannelPage::PickButtonId(int field) {
    if (field < 0 || field >= kToneFields) return 0;
    const ChannelRow& row = kRowTable[static_cast<std::size_t>(RowOfField(field))];
    return field < 16 && field % 2 == 1 ? row.pick2 : row.pick1;
}

int CChannelPage::FieldOfToneId(int id) {
    for (int f = 0; f < kToneFields; ++f)
        if (ToneFieldId(f) == id) return f;
    return -1;
}

CChannelPage::CChannelPage(int idd, const char* caption, const char* frequencyLabel,
                           int frequencyId, int codingId, int dutyTextId)
    : CPropertyPage(idd, caption),
      m_frequencyLabel(frequencyLabel),
      m_frequencyId(frequencyId),
      m_codingId(codingId),
      m_dutyTextId(dutyTextId) {
    std::vector<std::string> options;
    for (int i = 0; i < CChannelData::kCodingOptionCount; ++i)
        options.push_back(CChannelData::CodingOptionText(i));
    SetItems(m_codingId, options);
    std::vector<std::string> alerts;
    for (int i = 0; i < kAlertNames; ++i) alerts.push_back(CChannelData::AlertName(i));
    for (int row = 0; row < kRows; ++row) {
        const ChannelRow& r = kRowTable[static_cast<std::size_t>(row)];
        SetItems(r.alert, alerts);
        SetItems(r.duty, {kDutyNames[0], kDutyNames[1]});
        if (r.csLabel) Control(r.csLabel);
        On(ui::Notify::SelChange, r.alert, [this, row] { OnSelChangeAlert(row); });
        On(ui::Notify::SelChange, r.duty, [this, row] { OnSelChangeDuty(row); });
    }
    for (int f = 0; f < kToneFields; ++f) {
        const int id = ToneFieldId(f);
        On(ui::Notify::KillFocus, id, [this, f] {
            if (!m_busy) ApplyToneChange(f, m_tones[static_cast<std::size_t>(f)]);
        });
        // Entering a tone field selects its whole text.
        On(ui::Notify::SetFocus, id, [this, id] { RequestFocus(id); });
        On(ui::Notify::Clicked, PickButtonId(f), [this, f] { PickTone(f); });
        SetText(PickButtonId(f), "...");
        Show(PickButtonId(f), false);
    }
    On(ui::Notify::KillFocus, m_frequencyId, [this] {
        if (!m_busy) AcceptReceiverFrequency();
    });
    On(ui::Notify::SelChange, m_codingId, [this] { ChangeCodingOption(); });
    On(ui::Notify::Clicked, IDC_CLEAR_ALL_TONES, [this] { ClearAllTones(); });
    SetText(IDC_CLEAR_ALL_TONES, "Clear All Tones");
    Control(IDC_BAND_SPLIT);
    Control(m_dutyTextId);
}

// ---------------------------------------------------------------- exchange

void CChannelPage::ExchangeNumber(ui::DataExchange& dx, int id, double& value, bool tone) {
    if (dx.Failed()) return;
    if (!dx.Saving()) {
        SetText(id, tone ? FormatTone(value) : FormatFrequency(value));
        return;
    }
    // A field the user cannot change is not read back: a stored value it
    // could not show within the range would otherwise hold the page forever.
    if (!IsEnabled(id)) return;
    const FieldNumber n = tone ? ParseTone(Text(id)) : ParseFrequency(Text(id));
    if (!n.ok) {
        dx.Fail(id, tone ? rule_text::kInvalidToneFrequency : rule_text::kInvalidReceiverFrequency);
        return;
    }
    // A value outside the range never reaches the page data.
    if (tone ? !ToneInRange(n.value) : !FrequencyInRange(n.value)) {
        dx.Fail(id, tone ? ToneRangeMessage() : FrequencyRangeMessage());
        return;
    }
    value = n.value;
}

void CChannelPage::DoDataExchange(ui::DataExchange& dx) {
    ExchangeNumber(dx, m_frequencyId, m_frequency, false);
    dx.Text(IDC_BAND_SPLIT, m_bandSplit);
    dx.ComboIndex(m_codingId, m_codingSel);
    dx.Text(m_dutyTextId, m_dutyText);
    for (int f = 0; f < kToneFields; ++f)
        ExchangeNumber(dx, ToneFieldId(f), m_tones[static_cast<std::size_t>(f)], true);
    for (int row = 0; row < kRows; ++row) {
        const ChannelRow& r = kRowTable[static_cast<std::size_t>(row)];
        if (r.csLabel) dx.Text(r.csLabel, m_labels[static_cast<std::size_t>(row)]);
    }
    for (int row = 0; row < kRows; ++row)
        dx.ComboIndex(kRowTable[static_cast<std::size_t>(row)].duty,
                      m_dutySel[static_cast<std::size_t>(row)]);
    for (int row = 0; row < kRows; ++row)
        dx.ComboIndex(kRowTable[static_cast<std::size_t>(row)].alert,
                      m_alertSel[static_cast<std::size_t>(row)]);
}

int CChannelPage::ReadFields() {
    ui::DataExchange dx(*this, true);
    DoDataExchange(dx);
    Touch();
    return dx.FailedControl();
}

// ---------------------------------------------------------------- display

double CChannelPage::Tone(int field) const {
    return field >= 0 && field < kToneFields ? m_tones[static_cast<std::size_t>(field)] : 0.0;
}

bool CChannelPage::ToneFieldEditable(int field) const {
    return field >= 0 && field < kToneFields &&
           Pattern().role[static_cast<std::size_t>(field)] == ToneRole::Editable;
}

double CChannelPage::ShownTone(int field) const {
    if (field < 0 || field >= kToneFields) return 0.0;
    if (Pattern().role[static_cast<std::size_t>(field)] == ToneRole::Hidden) return 0.0;
    return record.GetTone(ShownSlot(field));
}

void CChannelPage::FillTones() {
    for (int f = 0; f < kToneFields; ++f) m_tones[static_cast<std::size_t>(f)] = ShownTone(f);
}

void CChannelPage::FillLabels() {
    const CodingPattern& p = Pattern();
    for (int row = 0; row < kRows; ++row)
        m_labels[static_cast<std::size_t>(row)] = p.label[static_cast<std::size_t>(row)];
}

void CChannelPage::FillCallSettings() {
    for (int row = 0; row < kRows; ++row) {
        const auto i = static_cast<std::size_t>(row);
        m_dutySel[i] = record.GetDutyOff(row) ? 1 : 0;
        // A stored alert byte without a name shows no entry and stays as it is.
        const int alert = record.GetCallAlert(row);
        m_alertSel[i] = alert < kAlertNames ? alert : -1;
    }
}

void CChannelPage::ShowPattern() {
    const CodingPattern& p = Pattern();
    const bool pickers = HasPicker(CodeplugContext::Get().toneSystem);
    for (int f = 0; f < kToneFields; ++f) {
        const ToneRole role = p.role[static_cast<std::size_t>(f)];
        Show(ToneFieldId(f), role != ToneRole::Hidden);
        Enable(ToneFieldId(f), role == ToneRole::Editable);
        Show(PickButtonId(f), role == ToneRole::Editable && pickers);
    }
    for (int row = 0; row < kRows; ++row) {
        const ChannelRow& r = kRowTable[static_cast<std::size_t>(row)];
        const bool used = p.rowUsed[static_cast<std::size_t>(row)];
        Show(r.alert, used);
        Show(r.duty, used);
    }
}

void CChannelPage::RestoreText(int id, double value, bool tone) {
    SetText(id, tone ? FormatTone(value) : FormatFrequency(value));
}

void CChannelPage::PrepareChannelPage() {
    m_bandSplit = "(" + BandSplitName(model.GetBand(), model.GetSubBand()) + ")";
    m_frequency = record.GetFrequency();
    const int option = record.GetCodingOption();
    m_codingSel = option < CChannelData::kCodingOptionCount ? option : -1;
    FillTones();
    FillLabels();
    FillCallSettings();
    Touch();
}

void CChannelPage::ClearDisplay() {
    m_frequency = 0.0;
    m_tones.fill(0.0);
    m_bandSplit.clear();
    for (auto& label : m_labels) label.clear();
    UpdateData(false);
}

void CChannelPage::OnInitDialog() {
    ShowPattern();
    UpdateData(false);
}

bool CChannelPage::OnSetActive() {
    CPropertyPage::OnSetActive();
    Enable(m_frequencyId, model.GetSp() != 3);
    const bool duty = DutyAvailable();
    m_dutyText = duty ? "Enabled" : "Disabled";
    for (int row = 0; row < kRows; ++row) {
        Enable(kRowTable[static_cast<std::size_t>(row)].duty, duty);
        if (!duty) record.SetDutyOff(row, false);
    }
    FillCallSettings();
    FillTones();
    ShowPattern();
    UpdateData(false);
    return true;
}

// ---------------------------------------------------------------- handlers

void CChannelPage::AcceptReceiverFrequency() {
    BusyScope busy(m_busy);
    const double remembered = m_frequency;
    if (!IsEnabled(m_frequencyId)) {  // not editable on this pager: nothing was typed
        RestoreText(m_frequencyId, remembered, false);
        return;
    }
    if (ReadFields() != 0) {
        m_frequency = remembered;
        UpdateData(false);
        return;
    }
    const FrequencyCheck check = CheckReceiverFrequency(m_frequency, record.GetIfByte());
    ui::Prompt* prompt = GetPrompt();
    auto say = [&](const char* text, ui::PromptIcon icon) {
        if (prompt)
            prompt->Ask(text, rule_text::kReceiverFrequencyCaption, icon, ui::PromptButtons::Ok);
    };
    switch (check.verdict) {
        case FrequencyVerdict::Spur:
            say(rule_text::kSpurFrequency, ui::PromptIcon::Error);
            break;
        case FrequencyVerdict::OffRaster:
            say(rule_text::kInvalidReceiverFrequency, ui::PromptIcon::Error);
            break;
        case FrequencyVerdict::OutOfBandWarning:
            say(rule_text::kOutOfBandWarning, ui::PromptIcon::Warning);
            [[fallthrough]];
        case FrequencyVerdict::Ok:
            record.SetFrequency(m_frequency, record.GetIfByte());
            UpdateData(false);
            return;
        default:
            break;  // syntax and range were checked by the exchange
    }
    m_frequency = remembered;
    UpdateData(false);
    // The user stays on the refused field (Enter does not close the sheet).
    RequestFocus(m_frequencyId);
}

void CChannelPage::ChangeCodingOption() {
    const int option = Selection(m_codingId);
    if (option < 0 || option >= CChannelData::kCodingOptionCount) {
        // Nothing the list offers: keep the stored option as it is.
        SetSelection(m_codingId, m_codingSel);
        return;
    }
    record.SetCodingOption(option);
    m_codingSel = option;
    FillTones();
    FillLabels();
    ShowPattern();
    // Every slot takes what its field now shows: its own tone, its source's
    // (a shared tone) or none (a call the option does not use).
    const CChannelData::Slots codes = SlotCodes();
    for (int f = 0; f < kToneFields; ++f)
        StoreShownTone(record, ToneFieldSlot(f), m_tones[static_cast<std::size_t>(f)],
                       codes[static_cast<std::size_t>(ShownSlot(f))]);
    UpdateData(false);
}

CChannelData::Slots CChannelPage::SlotCodes() const {
    CChannelData::Slots codes{};
    for (int slot = 0; slot < CChannelData::kSlots; ++slot)
        codes[static_cast<std::size_t>(slot)] = record.GetSlotCode(slot);
    return codes;
}

int CChannelPage::ShownSlot(int field) const {
    const CodingPattern& p = Pattern();
    const auto i = static_cast<std::size_t>(field);
    if (p.role[i] == ToneRole::Shared) return ToneFieldSlot(p.source[i]);
    return ToneFieldSlot(field);
}

bool CChannelPage::ShowsItsCode(int field) const {
    // Under "User" a field left as it was shows the tone of its slot's code;
    // encoding the shown tone again could give another code.
    if (CodeplugContext::Get().toneSystem != TONE_USER) return false;
    const int slot = ShownSlot(field);
    return FormatTone(m_tones[static_cast<std::size_t>(field)]) == FormatTone(record.GetTone(slot));
}

void CChannelPage::ApplyToneChange(int field, double previous) {
    if (field < 0 || field >= kToneFields) return;
    BusyScope busy(m_busy);
    const auto i = static_cast<std::size_t>(field);
    const int id = ToneFieldId(field);
    if (!ToneFieldEditable(field)) {
        // Shared, hidden and locked fields are never typed into.
        RestoreText(id, m_tones[i], true);
        return;
    }
    const int failed = ReadFields();
    if (failed == id) {
        m_tones[i] = previous;
        RestoreText(id, previous, true);
        return;
    }
    if (failed != 0) {
        // Another field stopped the exchange, perhaps before this one was read.
        const FieldNumber n = ParseTone(Text(id));
        if (n.ok && ToneInRange(n.value)) m_tones[i] = n.value;
    }
    const int slot = ToneFieldSlot(field);
    const std::uint16_t before = record.GetSlotCode(slot);
    const double t =
        ShowsItsCode(field) ? record.GetTone(slot) : NormalizeTone(record, slot, m_tones[i]);
    const std::uint16_t typed = record.GetSlotCode(slot);
    m_tones[i] = t;
    const CodingPattern& p = Pattern();
    // The field's own copies are about to take its new tone: comparing with
    // them would pull it back onto its old value.
    const ToneSpacingOutcome out =
        ResolveToneSpacing(m_tones, field, t, previous, record.GetThreshold(), CopiesOf(p, field));
    if (out.refused) {
        if (ui::Prompt* prompt = GetPrompt())
            prompt->Ask(rule_text::kToneSpacingError, rule_text::kToneFrequencyCaption,
                        ui::PromptIcon::Error, ui::PromptButtons::Ok);
        RequestFocus(id);
    }
    // The code behind the final tone: the one typed, the one restored, or
    // that of the call whose tone was taken over.
    const std::uint16_t code = out.refused           ? before
                               : out.mergedWith >= 0 ? record.GetSlotCode(ShownSlot(out.mergedWith))
                                                     : typed;
    m_tones[i] = out.value;
    StoreShownTone(record, slot, out.value, code);
    for (int f = 0; f < kToneFields; ++f) {
        const auto k = static_cast<std::size_t>(f);
        if (p.role[k] == ToneRole::Shared && p.source[k] == field) {
            m_tones[k] = out.value;
            StoreShownTone(record, ToneFieldSlot(f), out.value, code);
        }
    }
    UpdateData(false);
}

CToneTableDlg* CChannelPage::Picker(int toneSystem, int field) {
    const int set = CToneTableDlg::SetOf(toneSystem);
    if (set < 0 || field < 0 || field >= kToneFields) return nullptr;
    auto& slot = m_pickers[static_cast<std::size_t>(set)][static_cast<std::size_t>(field)];
    if (!slot) slot = std::make_unique<CToneTableDlg>(set);
    return slot.get();
}

void CChannelPage::PickTone(int field) {
    if (!ToneFieldEditable(field)) return;
    const auto i = static_cast<std::size_t>(field);
    const double before = m_tones[i];
    {
        BusyScope busy(m_busy);
        CToneTableDlg* picker = Picker(CodeplugContext::Get().toneSystem, field);
        if (picker && m_runner) {
            const int match = picker->IndexOf(m_tones[i]);
            if (match >= 0) picker->Select(match);
            if (m_runner(*picker) && picker->Selected() >= 0) {
                ReadFields();
                m_tones[i] = picker->ToneAt(picker->Selected());
                UpdateData(false);
            }
        }
    }
    // Picked or not, the field is normalised and checked; a refused pick goes
    // back to the tone held before the picker opened.
    ApplyToneChange(field, before);
}

void CChannelPage::ClearAllTones() {
    m_tones.fill(0.0);
    for (int slot = 0; slot < CChannelData::kSlots; ++slot) record.SetTone(slot, 0.0);
    UpdateData(false);
}

void CChannelPage::OnSelChangeAlert(int row) {
    if (row < 0 || row >= kRows) return;
    BusyScope busy(m_busy);
    const int alert = Selection(kRowTable[static_cast<std::size_t>(row)].alert);
    ReadFields();
    if (alert >= 0 && alert < kAlertNames) record.SetCallAlert(row, alert);
    FillCallSettings();
}

void CChannelPage::OnSelChangeDuty(int row) {
    if (row < 0 || row >= kRows) return;
    BusyScope busy(m_busy);
    const int id = kRowTable[static_cast<std::size_t>(row)].duty;
    const int duty = Selection(id);
    if (IsEnabled(id)) {
        ReadFields();
        if (duty == 0 || duty == 1) record.SetDutyOff(row, duty == 1);
    }
    FillCallSettings();
    SetSelection(id, m_dutySel[static_cast<std::size_t>(row)]);
}
