// calvex write [--port P] [--delay MS] [--engineer] FILE: programs the pager.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <string>
#include <vector>

#include "Progress.h"
#include "Verb.h"
#include "codeplug/CodeplugContext.h"
#include "document/CodeplugDocument.h"
#include "link/CCommPort.h"
#include "link/ProductDir.h"
#include "link/TransferRunner.h"

namespace {

int Run(const std::vector<std::string>& args) {
    CLI::App app{
        "Program the pager with a codeplug file. Outside engineer mode the pager is "
        "read first: a pager of another model number or codeplug version is not "
        "written, and the pager keeps its own serial number and codeplug version. "
        "Port and USB delay come from the program's settings file unless given.",
        "calvex write"};
    std::string port, file;
    int delay = 0;
    bool engineer = false;
    app.add_option("FILE", file, "codeplug file (.dat)")->required();
    app.add_option("--port", port, "COM1..COM64 or a device path such as /dev/ttyUSB0");
    auto* delayOpt = app.add_option("--delay", delay,
                                    "milliseconds to wait for the pager's answer "
                                    "(USB delay; the settings' value otherwise)");
    app.add_flag("--engineer", engineer,
                 "engineer mode: no identity check, the file's serial and model number go out");
    std::vector<std::string> rest(args.rbegin(), args.rend() - 1);
    try {
        app.parse(rest);
    } catch (const CLI::ParseError& e) {
        return app.exit(e) == 0 ? EXIT_OK : EXIT_USAGE;
    }

    CodeplugDocument doc;
    const DocumentResult opened = doc.Open(file);
    if (opened.kind == DocumentResult::Kind::Unreadable) {
        std::fprintf(stderr, "calvex write: %s\n", opened.message.c_str());
        return EXIT_USAGE;
    }
    if (!opened.Ok()) {
        // A corrupted codeplug never goes to a pager.
        std::fprintf(stderr, "%s\n", opened.message.c_str());
        return EXIT_FAILED;
    }

    CCommPort link(DefaultSettingsPath());
    if (!port.empty()) link.SetPortName(port);
    if (delayOpt->count() > 0) link.SetDelay(delay);
    CodeplugContext::Get().engineer = engineer;

    TransferOutcome outcome;
    {
        TransferProgress progress("Writing pager on " + link.PortName(), 10000);
        outcome = RunTransfer(TransferKind::Write, link, doc.Codeplug(),
                              [&](int ms) { progress.Update(ms); });
    }

    if (outcome.message != WM_PAGER_WRITE_OK) {
        std::printf("Serial Communication - Pager Write FAILED!\n");
        std::fprintf(stderr, "calvex write: %s\n", DescribeFault(outcome).c_str());
        return EXIT_FAILED;
    }
    std::printf("Serial Communication - Pager Write SUCCEEDED!\n");
    return std::fflush(stdout) == 0 ? EXIT_OK : EXIT_FAILED;
}

const CalvexVerb kVerb{{"write", "program the pager with a codeplug file", Run}};

}  // namespace
