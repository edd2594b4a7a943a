// calvex fleet TEMPLATE ROSTER: programs one pager after another with the
// template and each pager's row of the roster, logging every attempt.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>

#include "FileVerb.h"
#include "Progress.h"
#include "codeplug/CPagerData.h"
#include "codeplug/CodeplugContext.h"
#include "fleet/CommPortFleetLink.h"
#include "fleet/FleetSession.h"
#include "link/CCommPort.h"
#include "link/ProductDir.h"
#include "link/SerialPort.h"
#include "ui/ScriptWords.h"

namespace {

const char* const kHelp = R"(
ROSTER is a CSV file as a spreadsheet saves it: UTF-8 (with or without a byte
order mark), a comma or a semicolon between cells, cells in double quotes
where needed, and a header row naming the columns.

Roster columns:
  serial                      optional: the pager's serial number as 'calvex show'
                              prints it; each pager gets the row of its serial
                              number. Without this column each pager gets the
                              next row not yet done.
  label                       optional: the person or vehicle the pager is for
  KEY                         any number of keys of 'calvex set' ('calvex set
                              --help' lists them): the cell is what that pager
                              gets; an empty cell keeps the template's value
Rows are numbered as a spreadsheet numbers them: the header is row 1.

Checks:
Before any pager is touched every row is applied to the template as
'calvex set' applies its keys, and the roster is refused as a whole, with
every problem listed, when a row is refused (the row, the key and the
message), when two rows give their pagers the same individual call (both
tones) on the same frequency, so that they could not be paged apart, or when
two rows have the same serial number or label. Calls that every pager keeps
from the template are shared on purpose and are not compared.

Each pager:
Connect it and press Enter (q and Enter ends the run). The pager is read, its
row is picked, the template with the row's values is written (what the pager
held is saved in the backups folder first, and the pager keeps its own serial
number and codeplug version), read back and compared when --verify is given,
and the attempt is logged. A pager whose serial number is not in the roster,
that is of another model or codeplug version than the template, or that was
programmed already, is not written, and you are told why.

Log:
The log (default: ROSTER's name with "-log.csv", beside it) gets one line per
attempt, written before the next pager is asked for, with the columns time,
row, serial, label, values, result, backup, verify and detail. A write whose
verify fails counts as failed. Run the same command again after an
interruption: the rows the log records as written are skipped.
  result                      "written", "failed" or "not written"
  verify                      "passed", "failed: " and the fields that differ,
                              or "not asked"

Example:
  calvex fleet template.dat crew.csv --port /dev/ttyUSB0 --verify
  where crew.csv holds
  serial,label,channels.F1.calls.1.tone1,channels.F1.calls.1.tone2
  136WJA0101,Engine 1,349.0,600.9
  136WJA0102,Engine 2,368.5,634.5
  136WJA0103,Ladder 1,389.0,669.9

Exit status:
  0                           every row of the roster is done
  1                           rows are left to do (a run ended with q, a failed
                              pager) or the roster was refused
  2                           a usage error, or a file that cannot be read
)";

// "vhf.dat (A03XLT9239AC, codeplug version 1.005)"
std::string Describe(const std::string& file, const CCodeplug& plug) {
    CPagerData d;
    d.Decode(plug);
    return file + " (" + d.model.ModelText() + ", codeplug version " +
           d.version.PlugVersionText() + ")";
}

void PrintRows(const FleetSession& session) {
    for (const FleetRow& row : session.Rows())
        std::printf("  %-28s %s\n", Roster::RowName(row.roster).c_str(), row.StateText().c_str());
}

int Run(const std::vector<std::string>& args) {
    CLI::App app{
        "Program a fleet of pagers: each pager connected gets the template codeplug with the "
        "values of its row of the roster, is written with the automatic backup, verified when "
        "asked and logged. The port and the USB delay come from the program's settings file "
        "unless given.",
        "calvex fleet"};
    std::string templ, rosterPath, port, logPath;
    int delay = 0;
    bool verify = false;
    app.add_option("TEMPLATE", templ, "the codeplug every pager gets (.dat)")->required();
    app.add_option("ROSTER", rosterPath, "one row per pager (.csv)")->required();
    app.add_option("--port", port, "COM1..COM64 or a device path such as /dev/ttyUSB0");
    app.add_option("--log", logPath, "the log to keep (default: ROSTER-log.csv beside ROSTER)");
    app.add_flag("--verify", verify,
                 "read each pager back after its write and compare bytes 0 to 510 with what was "
                 "sent");
    auto* delayOpt = app.add_option("--delay", delay,
                                    "milliseconds to wait for the pager's answer to a write "
                                    "(USB delay; the settings' value otherwise)");
    app.footer(kHelp);
    if (const auto stop = ParseVerbArgs(app, args)) return *stop;

    CodeplugDocument doc;
    if (const auto stop = OpenCodeplugFile(doc, templ, "fleet")) return *stop;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(rosterPath, ec)) {
        std::fprintf(stderr, "calvex fleet: cannot read %s\n", rosterPath.c_str());
        return EXIT_USAGE;
    }
    FleetSession session;
    const bool accepted = session.Load(doc.Codeplug(), rosterPath);
    for (const std::string& note : session.Notes())
        std::fprintf(stderr, "calvex fleet: note: %s\n", note.c_str());
    if (!accepted) {
        std::fprintf(stderr, "calvex fleet: the roster %s is refused; no pager was touched:\n",
                     rosterPath.c_str());
        for (const std::string& p : session.Problems()) std::fprintf(stderr, "  %s\n", p.c_str());
        return EXIT_FAILED;
    }
    if (logPath.empty()) logPath = FleetSession::DefaultLogPath(rosterPath);
    std::string error;
    if (!session.OpenLog(logPath, error)) {
        std::fprintf(stderr, "calvex fleet: %s\n", error.c_str());
        return EXIT_FAILED;
    }

    ReleasePortsOnSignals();
    CCommPort link(DefaultSettingsPath());
    if (!port.empty()) link.SetPortName(port);
    if (delayOpt->count() > 0) link.SetDelay(delay);
    link.SetBackupFolder(DefaultBackupFolder());
    // Each pager keeps its own serial number: never an engineer-mode write.
    CodeplugContext::Get().engineer = false;

    const std::size_t rows = session.Rows().size();
    std::printf("Template: %s\n", Describe(templ, doc.Codeplug()).c_str());
    std::printf("Roster:   %s, %zu row%s, %s\n", rosterPath.c_str(), rows, rows == 1 ? "" : "s",
                session.GetRoster().HasSerials() ? "each pager by its serial number"
                                                 : "in order");
    const int earlier = session.RowsDone();
    std::printf("Log:      %s", session.LogPath().c_str());
    if (earlier > 0) std::printf(" (%d row%s done earlier, skipped)", earlier, earlier == 1 ? "" : "s");
    std::printf("\nPort:     %s%s\n", link.PortName().c_str(), verify ? ", each write verified" : "");

    std::optional<TransferProgress> bar;
    CommPortFleetLink fleetLink(link, [&](const std::string& what, int ms, int full) {
        if (ms < 0) {
            bar.reset();
            return;
        }
        if (!bar) bar.emplace(what + " on " + link.PortName(), full);
        bar->Update(ms);
    });
    int status = EXIT_OK;
    bool first = true;
    while (!session.AllDone()) {
        std::printf("\nConnect %s pager to %s and press Enter (q and Enter to stop): ",
                    first ? "a" : "the next", link.PortName().c_str());
        std::fflush(stdout);
        std::string answer;
        if (!std::getline(std::cin, answer)) {
            std::printf("\n");
            break;
        }
        if (!answer.empty() && answer.back() == '\r') answer.pop_back();
        answer = ui::script::Trim(answer);
        if (answer == "q" || answer == "Q") break;
        first = false;
        const FleetAttempt a = session.ProgramNext(fleetLink, verify, [](int, const std::string& what) {
            std::printf("%s ...\n", what.c_str());
            std::fflush(stdout);
        });
        std::printf("%s\n", a.message.c_str());
        if (!a.backup.empty())
            std::printf("Backup of the pager's previous contents: %s\n", a.backup.c_str());
        if (!a.differences.empty()) std::printf("Written -> read back:\n");
        for (const std::string& d : a.differences) std::printf("  %s\n", d.c_str());
        if (a.logFailed) {
            std::fprintf(stderr, "calvex fleet: %s; stopping so that no pager goes unrecorded\n",
                         session.LogError().c_str());
            status = EXIT_FAILED;
            break;
        }
        std::printf("%d of %zu rows done.\n", session.RowsDone(), rows);
        std::fflush(stdout);
    }

    std::printf("\n%s: %d of %zu rows done. The log is %s\n",
                session.AllDone() ? "Every pager of the roster is programmed" : "Stopped",
                session.RowsDone(), rows, session.LogPath().c_str());
    PrintRows(session);
    if (!session.AllDone()) status = EXIT_FAILED;
    return std::fflush(stdout) == 0 ? status : EXIT_FAILED;
}

const CalvexVerb kVerb{{"fleet", "program many pagers from a template and a roster", Run}};

}  // namespace
