#include "report/ReportBuilder.h"

#include <cstdio>

#include "codeplug/CodeplugContext.h"
#include "codeplug/TextTable.h"
#include "editor/FieldNumber.h"

namespace {

struct RowRule {
    int row;
    const char* sequence;
    int call;  // -1: C/S only
};

// Filled rows of the call table by coding option 0 to 9; other rows stay empty.
const std::vector<RowRule> kRowRules[] = {
    {{0, "A - B", 0}, {1, "A - C", 1}, {8, "Long B", 8}, {9, "Long C", 9}},  // R468
    {{0, "A - B", 0}, {1, "A - C", 1}, {8, "Long C", 8}},                    // R130
    {{0, "A - B", 0}, {1, "A - C", 1}},                                      // R97
    {{0, "A - B", 0}},                                                       // STD
    {{0, "A - B", 0}, {8, "Long B", 8}, {9, "Long C", 9}},                   // R134
    {{0, "A - B", 0}, {8, "Long B", 8}},                                     // R138
    {{0, "A - B", -1}, {8, "Long C", 8}},                                    // R362
    {{0, "A - B", 0}, {1, "C - B", 1}},                                      // R177
    {{0, "A - B", 0}, {1, "C - B", 1}, {8, "Long B", 8}},                    // R60
    {{0, "A - B", 0}, {8, "Long A", 8}},                                     // R621
};

// A time appended to an option's text: " 0.400 SEC.".
std::string Seconds(double seconds) {
    std::string text = " ";
    text += FormatDouble("%.3f", seconds);
    text += " SEC.";
    return text;
}

// An empty slot decodes to 0 and prints nothing.
std::string ToneText(const CChannelData& ch, int slot) {
    const std::string text = FormatDouble("%.1f", ch.GetTone(slot));
    return text == "0.0" ? "" : text;
}

ReportChannel MakeChannel(const CPagerData& pager, Channel which) {
    const CChannelData& ch = pager.ChannelData(which);
    ReportChannel out;
    out.frequency = FormatDouble("%.4f", ch.GetFrequency()) + " MHz";
    out.codingOption = ch.CodingOptionText();
    out.duty = pager.switches.DutyAvailable(which) ? "Enabled" : "Disabled";
    for (int row = 0; row < CChannelData::kCalls; ++row) {
        ReportCallRow& cells = out.calls[row];
        cells.tone1 = ToneText(ch, row);
        if (row < 8) cells.tone2 = ToneText(ch, row + 12);
        const CallRowRule rule = CallRowRuleFor(ch.GetCodingOption(), row);
        cells.sequence = rule.sequence;
        if (rule.call >= 0) {
            cells.alert = ch.CallAlertShortText(rule.call);
            cells.duty = ch.DutyText(rule.call);
        }
    }
    return out;
}

std::vector<ReportLabelValue> MakeModelOptions(const CPagerData& pager) {
    const CModelOptions& o = pager.options;
    const bool sv = o.GetFlag(CModelOptions::SV_FITTED);
    std::string priorityScan = texts::OnOff(pager.switches.HasPriorityScan());
    if (pager.switches.HasPriorityScan()) priorityScan += Seconds(o.ScanBackSeconds());
    std::string alertDuration = o.AlertDurationText();
    if (o.GetFlag(CModelOptions::ALERT_DURATION_FIXED)) {
        alertDuration += Seconds(o.AlertTimeSeconds());
    }
    std::string reset = o.ResetFunctionText();
    if (o.ResetFunctionHasTime()) reset += Seconds(o.ResetTimeSeconds());
    char squelch[16];
    std::snprintf(squelch, sizeof squelch, "%d", pager.squelch.GetLevel());
    return {
        {"SV FUNCTION:", sv ? o.SvRecordTimeText() : "N/A"},
        {"VOICE MEMO:", sv ? texts::OnOff(o.GetFlag(CModelOptions::VOICE_MEMO)) : "N/A"},
        {"FIXED ALERT:", texts::OnOff(o.GetFlag(CModelOptions::FIXED_ALERT))},
        {"PRIORITY SCAN F1:", priorityScan},
        {"ALERT DURATION:", alertDuration},
        {"CALL REMINDER:", texts::OnOff(o.GetFlag(CModelOptions::CALL_REMINDER))},
        {"PRIORITY ALERT:", texts::OnOff(o.GetFlag(CModelOptions::PRIORITY_ALERT))},
        {"PRIVACY:", texts::OnOff(o.GetFlag(CModelOptions::PRIVACY))},
        {"RESET FUNCTION:", reset},
        {"SQUELCH LEVEL:", squelch},
    };
}

ReportAdvancedGroup MakeGroup(const CAdvancedData& adv, const char* heading,
                              std::span<const CAdvancedData::Field> fields) {
    ReportAdvancedGroup group{heading, {}};
    for (CAdvancedData::Field f : fields) {
        const CAdvancedData::FieldInfo& info = CAdvancedData::Info(f);
        char value[16];
        std::snprintf(value, sizeof value, "%d", adv.Get(f));
        group.rows.push_back({std::string(info.name) + ":", value, info.rangeText});
    }
    return group;
}

}  // namespace

CallRowRule CallRowRuleFor(int codingOption, int row) {
    if (row < 0 || row >= CChannelData::kCalls) return {"", -1};
    if (codingOption == CChannelData::kCodingNone) return {"", row};
    if (codingOption < 0 || codingOption >= CChannelData::kCodingNone) return {"", -1};
    for (const RowRule& r : kRowRules[codingOption]) {
        if (r.row == row) return {r.sequence, r.call};
    }
    return {"", -1};
}

CodeplugReport BuildCodeplugReport(const CPagerData& pager, const std::string& path) {
    CodeplugReport r;
    r.path = path;
    r.model = pager.model.ModelText();
    r.serial = pager.serial.SerialText();
    // The engineer tools' list text: the unused UHF codes read "???".
    r.subBand = pager.model.SubBandText();
    r.plugVersion = pager.version.PlugVersionText();
    r.pagerVersion = pager.version.PagerVersionText();
    const std::string ifText = pager.ifSetting.IfText();
    r.ifText = ifText.empty() ? "" : ifText + " MHz";
    r.crystal = pager.model.CrystalText();
    r.system = pager.ToneSystemText();
    r.injection = pager.ifSetting.InjectionText();
    r.channels[0] = MakeChannel(pager, F1);
    r.channels[1] = MakeChannel(pager, F2);
    r.modelOptions = MakeModelOptions(pager);
    for (int pos = 0; pos < CSwitchSettings::kPositions; ++pos) {
        const CSwitchSettings& s = pager.switches;
        r.switches[pos] = {CSwitchSettings::WideBandText(s.GetWideBand(pos)),
                           CSwitchSettings::ModeText(s.GetMode(pos)),
                           CSwitchSettings::AlertTypeText(s.GetAlertType(pos)),
                           CSwitchSettings::EnabledText(s.GetDuty(pos)),
                           CSwitchSettings::EnabledText(s.GetPtl(pos))};
    }
    r.engineer = CodeplugContext::Get().engineer;
    if (r.engineer) {
        const CAdvancedData& adv = pager.advanced;
        r.advancedLeft = {MakeGroup(adv, "~ Tone Settings: ~", CAdvancedData::ToneSettings())};
        r.advancedRight = {
            MakeGroup(adv, "~ Other Settings: ~", CAdvancedData::OtherSettings()),
            MakeGroup(adv, "~ Battery Settings: ~", CAdvancedData::BatterySettings()),
            MakeGroup(adv, "~ Squelch Settings: ~", CAdvancedData::SquelchSettings()),
        };
    }
    return r;
}

CodeplugReport BuildCodeplugReport(const CCodeplug& plug, CPagerData& pager,
                                   const std::string& path) {
    pager.Decode(plug);
    return BuildCodeplugReport(pager, path);
}
