#include "document/CodeplugFields.h"

#include <cstdio>
#include <map>

#include "codeplug/CPagerData.h"
#include "codeplug/CToneCode.h"
#include "codeplug/NumberText.h"
#include "codeplug/TextTable.h"

namespace {

using Json = FieldJson;

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

void Flatten(const Json& node, const std::string& path, std::vector<FieldEntry>& out) {
    const auto join = [&](const std::string& part) {
        return path.empty() ? part : path + "." + part;
    };
    if (node.is_object()) {
        for (auto it = node.begin(); it != node.end(); ++it)
            Flatten(it.value(), join(it.key()), out);
    } else if (node.is_array()) {
        for (std::size_t i = 0; i < node.size(); ++i) {
            const Json& item = node[i];
            std::string key = std::to_string(i);
            for (const char* id : {"name", "call", "position"}) {
                if (item.is_object() && item.contains(id)) {
                    key = FieldText(item[id]);
                    break;
                }
            }
            Flatten(item, join(key), out);
        }
    } else {
        out.push_back({path, node});
    }
}

std::vector<FieldEntry> Fields(const Image& image) {
    CCodeplug plug;
    plug.SetImage(image);
    plug.SetPagerVersion(image[layout::PAGER_FIRMWARE]);
    return FlattenFields(DescribeCodeplug(plug));
}

bool SameFields(const std::vector<FieldEntry>& a, const std::vector<FieldEntry>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].name != b[i].name || a[i].value != b[i].value) return false;
    }
    return true;
}

}  // namespace

FieldJson DescribeCodeplug(const CCodeplug& plug) {
    CPagerData d;
    d.Decode(plug);
    Json j;
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
    j["storedVoiceIc"] = d.StoredVoiceText();
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

std::vector<FieldEntry> FlattenFields(const FieldJson& description) {
    std::vector<FieldEntry> out;
    Flatten(description, "", out);
    return out;
}

std::string EditText(const FieldJson& value) {
    if (value.is_null()) return {};
    if (value.is_string()) return value.get<std::string>();
    return value.dump();
}

std::vector<EditedField> EditedFields(const FieldJson& incoming, const FieldJson& current) {
    std::map<std::string, std::string> now;
    for (const FieldEntry& e : FlattenFields(current)) now[e.name] = EditText(e.value);
    std::vector<EditedField> out;
    for (const FieldEntry& e : FlattenFields(incoming)) {
        if (e.name == "file") continue;
        std::string value = EditText(e.value);
        const auto it = now.find(e.name);
        if (it != now.end() && it->second == value) continue;
        out.push_back({e.name, std::move(value)});
    }
    return out;
}

std::string FieldText(const FieldJson& value) {
    if (value.is_null()) return "none";
    if (value.is_string()) return value.get<std::string>();
    return value.dump(-1, ' ', false, FieldJson::error_handler_t::replace);
}

CodeplugDiff CompareCodeplugs(const Image& a, const Image& b) {
    CodeplugDiff diff;
    if (a == b) return diff;
    const std::vector<FieldEntry> fa = Fields(a);
    const std::vector<FieldEntry> fb = Fields(b);
    // The description has the same shape for every image; compare leaf by leaf.
    for (std::size_t i = 0; i < fa.size() && i < fb.size(); ++i) {
        if (fa[i].value != fb[i].value)
            diff.fields.push_back({fa[i].name, fa[i].value, fb[i].value});
    }
    for (std::size_t at = 0; at < a.size(); ++at) {
        if (a[at] == b[at]) continue;
        Image one = a;
        one[at] = b[at];
        if (SameFields(Fields(one), fa)) diff.bytes.push_back({at, a[at], b[at]});
    }
    return diff;
}

CodeplugDiff CompareWritten(Image sent, const Image& held) {
    sent[layout::PAGER_FIRMWARE] = held[layout::PAGER_FIRMWARE];
    return CompareCodeplugs(sent, held);
}

FieldJson DiffJson(const CodeplugDiff& diff) {
    Json j;
    j["equal"] = diff.Equal();
    Json fields = Json::array();
    for (const FieldChange& f : diff.fields) {
        fields.push_back({{"field", f.name}, {"from", f.from}, {"to", f.to}});
    }
    j["fields"] = std::move(fields);
    Json bytes = Json::array();
    for (const ByteChange& c : diff.bytes) {
        bytes.push_back({{"offset", c.offset}, {"from", c.from}, {"to", c.to}});
    }
    j["bytes"] = std::move(bytes);
    return j;
}

std::string DiffText(const CodeplugDiff& diff) {
    std::string text;
    for (const FieldChange& f : diff.fields) {
        text += f.name + ": " + FieldText(f.from) + " -> " + FieldText(f.to) + "\n";
    }
    for (const ByteChange& c : diff.bytes) {
        char line[48];
        std::snprintf(line, sizeof line, "byte 0x%03x: $%02X -> $%02X\n",
                      static_cast<unsigned>(c.offset), c.from, c.to);
        text += line;
    }
    return text;
}
