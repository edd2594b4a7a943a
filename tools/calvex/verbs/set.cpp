// calvex set FILE KEY=VALUE...: changes fields of a codeplug file as the User
// Data sheet would.
#include <CLI/CLI.hpp>
#include <cstdio>

#include "EngineerEdit.h"
#include "FileVerb.h"
#include "SheetEdit.h"

namespace {

// One line per key: its name, then what it takes.
template <typename Keys>
std::string KeyLines(const Keys& keys) {
    std::string text;
    for (const auto& k : keys) {
        char line[512];
        std::snprintf(line, sizeof line, "  %-62s %s\n", k.key.c_str(), k.values.c_str());
        text += line;
    }
    return text;
}

std::string KeyHelp() {
    std::string text =
        "\nKEY is the field's path in 'calvex show --json', VALUE what you would type or pick on\n"
        "the User Data sheet. Changes are made page by page, as a user moving through the\n"
        "sheet would; a change the sheet refuses prints its message and nothing is written.\n"
        "A field that a later page turns on (the priority scan time, the duty lists) is set\n"
        "after that page, as a user would go back to it.\n\n"
        "Keys:\n";
    text += KeyLines(SheetScript::Help());
    text +=
        "\nFactory fields (model, serial, IF, versions, the advanced block) are changed only by\n"
        "the engineer tools. With --engineer (the engineer password is asked for, or read as one\n"
        "line from standard input when that is not a terminal) they are changed first, as in the\n"
        "Engineer Data dialog and its Advanced Engineer Data, then the rest as above:\n";
    text += KeyLines(EngineerScript::Help());
    text +=
        "A list key is picked even when its list shows the value already: the pick runs the\n"
        "list's handler, as in the dialog (band resets the split, IF and frequencies; if sets\n"
        "the band's IF byte). The parts of model and serial that hold their value already are\n"
        "not picked. injection, referenceDivider, pagerVersion, toneClock and\n"
        "advanced.IF_SEL, CLOCK_SEL, PLUG_VER, PLUG_VER_MINOR have no control of their own:\n"
        "they are taken when they hold the value given after the changes, else refused.\n\n"
        "Example:\n"
        "  calvex set pager.dat toneSystem=GE channels.F1.frequency=152.0075 \\\n"
        "      'channels.F1.calls.3.tone1=433.7' 'switches.SW-B.mode=Priority Scan F1'\n"
        "  calvex set --engineer pager.dat serial=136WJA0042 codeplugVersion=4\n";
    return text;
}

int Run(const std::vector<std::string>& args) {
    CLI::App app{"Change fields of a .dat codeplug file as the User Data sheet would.",
                 "calvex set"};
    std::string file, out;
    std::vector<std::string> assignments;
    app.add_option("FILE", file, "codeplug file (.dat)")->required();
    app.add_option("KEY=VALUE", assignments, "changes")->required();
    app.add_option("--out", out, "write the result to this file instead of FILE");
    bool engineer = false;
    app.add_flag("--engineer", engineer,
                 "ask for the engineer password and allow the factory fields");
    app.footer(KeyHelp());
    if (const auto stop = ParseVerbArgs(app, args)) return *stop;

    std::vector<SheetChange> changes;
    for (const std::string& a : assignments) {
        const auto eq = a.find('=');
        if (eq == std::string::npos || eq == 0) {
            std::fprintf(stderr, "calvex set: '%s' is not KEY=VALUE\n", a.c_str());
            return EXIT_USAGE;
        }
        changes.push_back({a.substr(0, eq), a.substr(eq + 1)});
    }
    if (engineer)
        if (const auto stop = EngineerLogon("set")) return *stop;
    CodeplugDocument doc;
    if (const auto stop = OpenCodeplugFile(doc, file, "set")) return *stop;
    const Image before = doc.Codeplug().GetImage();
    return FinishEdit(doc, before, changes, out, "set", {engineer, false});
}

const CalvexVerb kVerb{
    {"set", "change fields of a codeplug file as the User Data sheet would", Run}};

}  // namespace
