// calvex show FILE [--json]: every decoded field of a codeplug file.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <nlohmann/json.hpp>

#include "FileVerb.h"
#include "document/CodeplugFields.h"

namespace {

using Json = FieldJson;

Json Describe(const CodeplugDocument& doc) {
    Json j;
    j["file"] = doc.Path().string();
    j.update(DescribeCodeplug(doc.Codeplug()));
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
