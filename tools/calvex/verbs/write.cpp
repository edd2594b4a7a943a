// calvex write [--port P] [--delay MS] [--engineer] [--verify] FILE: programs
// the pager, keeping a backup of what it held.
#include <CLI/CLI.hpp>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "Progress.h"
#include "Verb.h"
#include "codeplug/CodeplugContext.h"
#include "document/CodeplugDocument.h"
#include "link/CCommPort.h"
#include "link/ProductDir.h"
#include "link/SerialPort.h"
#include "link/TransferRunner.h"
#include "verbs/CompareOutput.h"

namespace {

int Run(const std::vector<std::string>& args) {
    CLI::App app{
        "Program the pager with a codeplug file. Outside engineer mode the pager is "
        "read first: a pager of another model number or codeplug version is not "
        "written, the pager keeps its own serial number and codeplug version, and what "
        "it held is saved in the backups folder of the data directory before anything "
        "is sent. Port and USB delay come from the program's settings file unless given.",
        "calvex write"};
    std::string port, file;
    int delay = 0;
    bool engineer = false, verify = false;
    app.add_option("FILE", file, "codeplug file (.dat)")->required();
    app.add_option("--port", port, "COM1..COM64 or a device path such as /dev/ttyUSB0");
    auto* delayOpt = app.add_option("--delay", delay,
                                    "milliseconds to wait for the pager's answer "
                                    "(USB delay; the settings' value otherwise)");
    app.add_flag("--engineer", engineer,
                 "engineer mode: no identity check and no backup, the file's serial and model "
                 "number go out");
    app.add_flag("--verify", verify,
                 "read the pager again after the write and compare bytes 0 to 510 with what "
                 "was sent");
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

    ReleasePortsOnSignals();
    CCommPort link(DefaultSettingsPath());
    if (!port.empty()) link.SetPortName(port);
    if (delayOpt->count() > 0) link.SetDelay(delay);
    link.SetBackupFolder(DefaultBackupFolder());
    CodeplugContext::Get().engineer = engineer;

    TransferOutcome outcome;
    const auto start = std::chrono::steady_clock::now();
    {
        TransferProgress progress("Writing pager on " + link.PortName(), 10000);
        outcome = RunTransfer(TransferKind::Write, link, doc.Codeplug(),
                              [&](int ms) { progress.Update(ms); });
    }

    const double writeSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (outcome.message != WM_PAGER_WRITE_OK) {
        std::printf("Serial Communication - Pager Write FAILED!\n");
        std::fprintf(stderr, "calvex write: %s\n", DescribeFault(outcome).c_str());
        if (!outcome.backup.empty()) {
            std::fprintf(stderr, "calvex write: what the pager held is kept in %s\n",
                         outcome.backup.c_str());
        }
        return EXIT_FAILED;
    }
    std::printf("Serial Communication - Pager Write SUCCEEDED!\n");
    if (!outcome.backup.empty())
        std::printf("Backup of the pager's previous contents: %s\n", outcome.backup.c_str());
    else if (engineer)
        std::printf("%s\n", kEngineerWriteNoBackup);
    if (!verify) return std::fflush(stdout) == 0 ? EXIT_OK : EXIT_FAILED;

    // What went out: the codeplug as the write left it (with the pager's own
    // bytes merged in); byte 511 is the pager's and is not compared.
    std::printf("Written in %.1f s\n", writeSeconds);
    std::fflush(stdout);
    const Image sent = doc.Codeplug().PrepareForOutput();
    std::string why;
    double verifySeconds = 0;
    const std::optional<Image> held =
        ReadPagerContents(link, "Verifying pager", why, &verifySeconds);
    if (!held) {
        std::printf("Verify FAILED after %.1f s: the pager could not be read back\n",
                    verifySeconds);
        std::fprintf(stderr, "calvex write: verify: %s\n", why.c_str());
        return EXIT_FAILED;
    }
    const CodeplugDiff diff = CompareWritten(sent, *held);
    if (!diff.Equal()) {
        std::printf(
            "Verify FAILED in %.1f s: the pager holds other values than were written "
            "(written -> read back):\n",
            verifySeconds);
        PrintDiff(diff, false);
        std::fflush(stdout);
        return EXIT_FAILED;
    }
    std::printf("Verified in %.1f s: the pager holds bytes 0 to 510 as written\n", verifySeconds);
    return std::fflush(stdout) == 0 ? EXIT_OK : EXIT_FAILED;
}

const CalvexVerb kVerb{{"write", "program the pager with a codeplug file", Run}};

}  // namespace
