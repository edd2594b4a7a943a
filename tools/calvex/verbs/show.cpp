// calvex show FILE [--json]: every decoded field of a codeplug file.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <nlohmann/json.hpp>

#include "FileVerb.h"
#include "codeplug/CPagerData.h"
#include "codeplug/CToneCode.h"
#include "codeplug/NumberText.h"
#include "codeplug/TextTable.h"

namespace {

using Json = nlohmann::ordered_json;

// A tone as the program shows it; null for an empty slot.
Json Tone(const CChannelData& ch, int slot) {
    const double t = ch.GetTone(slot);
    return t == 0.0 ? Json(nullptr) : Json(FormatDouble("%.1f", t));
}

Json ChannelJson(const CPagerData& d, Channel which, bool used) {
    const CChannelData& ch = d.ChannelData(which);
    Json calls = Json::array();
    for (int call = 0; call < CChannelData::kCalls; ++call) {
        Json c;
        c["call"] = call + 1;
        c["tone1"] = Tone(ch, call);
        c["tone2"] = call < 8 ? Tone(ch, call + 12) : Json(nullptr);
        c["alert"] = ch.CallAlertText(call);
        c["alertValue"] = ch.GetCallAlert(call);
        c["duty"] = ch.DutyText(call);
        calls.push_back(std::move(c));
    }
    Json j;
    j["name"] = which == F1 ? "F1" : "F2";
    j["used"] = used;
    j["frequency"] = FormatDouble("%.4f", ch.GetFrequency());
    j["codingOption"] = ch.CodingOptionText();
    j["codingOptionValue"] = ch.GetCodingOption();
    j["onOffDuty"] = d.switches.DutyAvailable(which) ? "Enabled" : "Disabled";
    j["calls"] = std::move(calls);
    return j;
}

Json OptionsJson(const CPagerData& d) {
    const CModelOptions& o = d.options;
    const bool sv = o.GetFlag(CModelOptions::SV_FITTED);
    Json j;
    j["svFunction"] = sv ? o.SvRecordTimeText() : "N/A";
    j["voiceMemo"] = sv ? texts::OnOff(o.GetFlag(CModelOptions::VOICE_MEMO)) : "N/A";
    j["fixedAlert"] = texts::OnOff(o.GetFlag(CModelOptions::FIXED_ALERT));
    j["priorityScanF1"] = texts::OnOff(d.switches.HasPriorityScan());
    j["scanBack"] = FormatDouble("%.3f", o.ScanBackSeconds()) + "SEC.";
    j["alertDuration"] = o.AlertDurationText();
    j["alertTime"] = FormatDouble("%.3f", o.AlertTimeSeconds()) + "SEC.";
    j["callReminder"] = texts::OnOff(o.GetFlag(CModelOptions::CALL_REMINDER));
    j["priorityAlert"] = texts::OnOff(o.GetFlag(CModelOptions::PRIORITY_ALERT));
    j["privacy"] = texts::OnOff(o.GetFlag(CModelOptions::PRIVACY));
    j["resetFunction"] = o.ResetFunctionText();
    j["resetTime"] = FormatDouble("%.3f", o.ResetTimeSeconds()) + "SEC.";
    return j;
}

Json Describe(const CodeplugDocument& doc) {
    CPagerData d;
    d.Decode(doc.Codeplug());
    Json j;
    j["file"] = doc.Path().string();
    j["model"] = d.model.ModelText();
    j["serial"] = d.serial.SerialText();
    j["band"] = d.model.GetBand();
    j["subBand"] = d.model.SubBandText();
    j["subBandIndex"] = d.model.GetSubBand();
    j["crystal"] = d.model.CrystalText();
    j["if"] = d.ifSetting.IfName();
    j["injection"] = d.ifSetting.InjectionText();
    j["referenceDivider"] = d.ifSetting.GetDivider();
    j["codeplugVersion"] = d.version.PlugVersionText();
    j["pagerVersion"] = d.version.PagerVersionText();
    j["toneSystem"] = d.ToneSystemText();
    j["toneClock"] = FormatDouble("%.6f", CToneCode::ClockHz(d.advanced.GetClockSel()) / 1e6);
    j["twoFrequency"] = d.model.IsTwoFrequency();
    j["channels"] =
        Json::array({ChannelJson(d, F1, true), ChannelJson(d, F2, d.model.IsTwoFrequency())});
    j["modelOptions"] = OptionsJson(d);
    j["squelchLevel"] = d.squelch.GetLevel();
    Json sw = Json::array();
    for (int pos = 0; pos < CSwitchSettings::kPositions; ++pos) {
        const CSwitchSettings& s = d.switches;
        sw.push_back({{"position", CSwitchSettings::PositionName(pos)},
                      {"wideBand", CSwitchSettings::WideBandText(s.GetWideBand(pos))},
                      {"mode", CSwitchSettings::ModeText(s.GetMode(pos))},
                      {"alertType", CSwitchSettings::AlertTypeText(s.GetAlertType(pos))},
                      {"onOffDuty", CSwitchSettings::EnabledText(s.GetDuty(pos))},
                      {"ptl", CSwitchSettings::EnabledText(s.GetPtl(pos))}});
    }
    j["switches"] = std::move(sw);
    Json adv = Json::array();
    for (const auto& f : CAdvancedData::AllFields()) {
        adv.push_back(
            {{"name", f.name}, {"value", d.advanced.Get(f.field)}, {"range", f.rangeText}});
    }
    j["advanced"] = std::move(adv);
    return j;
}

std::string Str(const Json& v) {
    return v.is_null() ? "" : v.get<std::string>();
}

void PrintText(const Json& j) {
    auto line = [](const char* label, const std::string& value) {
        std::printf("%-20s %s\n", label, value.c_str());
    };
    line("File:", Str(j["file"]));
    line("Model:", Str(j["model"]));
    line("Serial:", Str(j["serial"]));
    line("Sub-band:", Str(j["subBand"]));
    line("Crystal:", Str(j["crystal"]) + " MHz");
    line("IF:", Str(j["if"]) + " MHz");
    line("Injection:", Str(j["injection"]));
    line("Codeplug version:", Str(j["codeplugVersion"]));
    line("Pager version:", Str(j["pagerVersion"]));
    line("Tone system:", Str(j["toneSystem"]));
    line("Frequencies:", j["twoFrequency"].get<bool>() ? "two" : "one");
    for (const Json& ch : j["channels"]) {
        std::printf("\nChannel %s%s\n", Str(ch["name"]).c_str(),
                    ch["used"].get<bool>() ? "" : " (not used by a one-frequency model)");
        line("  Frequency:", Str(ch["frequency"]) + " MHz");
        line("  Coding option:", Str(ch["codingOption"]));
        line("  ON/OFF duty:", Str(ch["onOffDuty"]));
        std::printf("  %-5s %-8s %-8s %-11s %s\n", "Call", "Tone1", "Tone2", "Alert", "Duty");
        for (const Json& c : ch["calls"]) {
            std::printf("  %-5d %-8s %-8s %-11s %s\n", c["call"].get<int>(),
                        Str(c["tone1"]).c_str(), Str(c["tone2"]).c_str(), Str(c["alert"]).c_str(),
                        Str(c["duty"]).c_str());
        }
    }
    const Json& o = j["modelOptions"];
    std::printf("\nModel options\n");
    line("  SV function:", Str(o["svFunction"]));
    line("  Voice memo:", Str(o["voiceMemo"]));
    line("  Fixed alert:", Str(o["fixedAlert"]));
    line("  Priority scan F1:", Str(o["priorityScanF1"]) + "  scan back " + Str(o["scanBack"]));
    line("  Alert duration:", Str(o["alertDuration"]) + "  fixed time " + Str(o["alertTime"]));
    line("  Call reminder:", Str(o["callReminder"]));
    line("  Priority alert:", Str(o["priorityAlert"]));
    line("  Privacy:", Str(o["privacy"]));
    line("  Reset function:", Str(o["resetFunction"]) + "  time " + Str(o["resetTime"]));
    line("  Squelch level:", std::to_string(j["squelchLevel"].get<int>()));
    std::printf("\nFunction switches\n  %-5s %-9s %-18s %-16s %-11s %s\n", "Pos", "Wide band",
                "Mode", "Alert type", "ON/OFF duty", "PTL");
    for (const Json& s : j["switches"]) {
        std::printf("  %-5s %-9s %-18s %-16s %-11s %s\n", Str(s["position"]).c_str(),
                    Str(s["wideBand"]).c_str(), Str(s["mode"]).c_str(), Str(s["alertType"]).c_str(),
                    Str(s["onOffDuty"]).c_str(), Str(s["ptl"]).c_str());
    }
    std::printf("\nAdvanced block\n");
    for (const Json& a : j["advanced"]) {
        const std::string range = Str(a["range"]);
        std::printf("  %-16s %5d%s%s\n", Str(a["name"]).c_str(), a["value"].get<int>(),
                    range.empty() ? "" : "  ", range.c_str());
    }
}

int Run(const std::vector<std::string>& args) {
    CLI::App app{"Show every decoded field of a .dat codeplug file.", "calvex show"};
    std::string file;
    bool json = false;
    app.add_option("FILE", file, "codeplug file (.dat)")->required();
    app.add_flag("--json", json, "print one JSON object instead of text");
    if (const auto stop = ParseVerbArgs(app, args)) return *stop;

    CodeplugDocument doc;
    if (const auto stop = OpenCodeplugFile(doc, file, "show")) return *stop;
    const Json j = Describe(doc);
    if (json) {
        std::printf("%s\n", j.dump(2, ' ', false, Json::error_handler_t::replace).c_str());
    } else {
        PrintText(j);
    }
    return EXIT_OK;
}

const CalvexVerb kVerb{{"show", "show every decoded field of a .dat codeplug file", Run}};

}  // namespace
