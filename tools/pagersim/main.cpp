// pagersim: a simulated Calvex V pager on a pseudo-terminal, for running the
// programming software and its tests without hardware.
#include <signal.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <atomic>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <cstdio>
#include <string>

#include "PagerSim.h"
#include "PtyLine.h"
#include "SampleCodeplug.h"
#include "Version.h"
#include "document/CDatFile.h"

namespace {

std::atomic<bool> g_stop{false};

void OnSignal(int) {
    g_stop = true;
}

void InstallSignals() {
    struct sigaction sa {};
    sa.sa_handler = OnSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = 0;  // no restart: a blocking poll returns at once
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    signal(SIGHUP, SIG_IGN);  // our own hang-ups of the terminal we own
    signal(SIGPIPE, SIG_IGN);
    signal(SIGTTOU, SIG_IGN);
}

bool ParseByte(const std::string& text, std::uint8_t& value) {
    try {
        std::size_t used = 0;
        const unsigned long v = std::stoul(text, &used, 0);
        if (used != text.size() || v > 255) return false;
        value = static_cast<std::uint8_t>(v);
        return true;
    } catch (...) {
        return false;
    }
}

enum Exit { kOk = 0, kSetup = 1, kUsage = 2, kIdle = 3 };

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{
        "pagersim - a simulated Calvex V pager on a pseudo-terminal.\n"
        "Answers \"r\" with its 512-byte block and sum; takes a \"w\" frame, checks its sum,\n"
        "stores bytes 0-510 (keeping its own byte 511, the firmware version) and answers\n"
        "0x06. Serves until stopped (Ctrl+C), or for --count exchanges. With several\n"
        "codeplugs (--fleet, or --dat given more than once) it plays a fleet of pagers.",
        "pagersim"};
    std::vector<std::string> datFiles;
    std::string fleetDir, link, faultName = "none", faultOn, saveFile, firmwareText;
    int count = 0, exitIdle = 0;
    bool once = false, quiet = false;
    SimOptions opt;
    std::string refuseText = "0x15";
    app.add_option("--dat", datFiles,
                   "codeplug file (.dat) the pager holds (default: a sample); its byte 511, when "
                   "not 0, is the firmware version. Given more than once: a fleet, in that order");
    app.add_option("--fleet", fleetDir,
                   "a fleet: every .dat file of this folder is a pager, in the order of their "
                   "names")
        ->check(CLI::ExistingDirectory);
    app.add_flag("--read-back", opt.readBack,
                 "with a fleet, the pager just written also answers the next read (the read-back "
                 "of a verify) before the next pager takes its place");
    app.add_option("--firmware", firmwareText,
                   "firmware version byte, block byte 511 (default 0x0C, version 1.2)");
    app.add_option("--link", link, "also reach the port through this symbolic link");
    app.add_option("--fault", faultName, std::string("misbehave: ") + FaultNames());
    app.add_option("--fault-on", faultOn,
                   "which commands the fault affects: r, w or rw (default: those it concerns)")
        ->check(CLI::IsMember({"r", "w", "rw"}));
    app.add_option("--fault-from", opt.faultFrom,
                   "the first exchange (1, 2, ...) the fault affects (default 1)")
        ->check(CLI::PositiveNumber);
    app.add_flag("--pace", opt.pace, "send at the real 1200-baud rate (8.33 ms a byte)");
    app.add_flag("--once", once, "exit after one exchange");
    app.add_option("--count", count, "exit after this many exchanges")
        ->check(CLI::NonNegativeNumber);
    app.add_option("--save", saveFile,
                   "write what the pager holds to this file after each accepted write and on "
                   "exit; with a fleet, a folder: each pager under its file's name");
    app.add_option("--ack-delay", opt.ackDelayMs, "milliseconds to store a block before ACK")
        ->check(CLI::NonNegativeNumber);
    app.add_option("--late-ms", opt.lateAckMs,
                   "when the late-ack fault answers (ms after the frame)")
        ->check(CLI::NonNegativeNumber);
    app.add_option("--refuse-byte", refuseText, "what the refuse fault answers (default 0x15)");
    app.add_option("--exit-idle", exitIdle, "exit after this many seconds without a command")
        ->check(CLI::NonNegativeNumber);
    app.add_option("--wrong-at", opt.wrongByteAt,
                   "the block byte (0 to 510) the wrong-byte fault stores wrong (default 154, the "
                   "first call alert of F1)")
        ->check(CLI::Range(0, 510));
    app.add_flag("--quiet", quiet, "no log of exchanges on stderr");
    app.set_version_flag("--version", std::string("pagersim ") + CALVEX_VERSION);
    app.footer(
        "\nFaults:\n" + FaultHelp() +
        "\nA fleet:\n"
        "  With several codeplugs (--fleet DIR, or --dat more than once) the simulator plays\n"
        "  the pagers a technician programs one after another. The first is in the\n"
        "  programmer; after each completed (acknowledged) write the next one takes its\n"
        "  place, and after the last the programmer is empty (nothing answers). calvex\n"
        "  fleet and the program's Program Fleet window read each pager and write it, and\n"
        "  with --verify read it back: give --read-back then, so that the read-back reaches\n"
        "  the pager just written. Faults and --fault-from count the exchanges of the\n"
        "  whole run. --save names a folder: each pager is saved under its file's name.\n"
        "\nExit status:\n"
        "  0                           stopped by Ctrl+C or SIGTERM, --count exchanges served,\n"
        "                              or --exit-idle reached without --count\n"
        "  1                           the pseudo-terminal, its link or a --dat or --fleet\n"
        "                              file could not be set up\n"
        "  2                           a usage error\n"
        "  3                           --exit-idle reached before --count exchanges\n"
        "\n"
        "Examples:\n"
        "  pagersim --link $XDG_RUNTIME_DIR/calvex-pagersim --pace\n"
        "  pagersim --link /tmp/pager --dat pager.dat --save held.dat\n"
        "  calvex read --port /tmp/pager --out pager.dat\n"
        "  pagersim --link /tmp/pager --fault wrong-byte --wrong-at 200\n"
        "  pagersim --link /tmp/pager --fleet samples/fleet --read-back --save held/\n"
        "  calvex fleet template.dat roster.csv --port /tmp/pager --verify\n"
        "\n"
        "The desktop program's System Setup lists the simulator when its link is\n"
        "$CALVEX_PAGERSIM_LINK, else $XDG_RUNTIME_DIR/calvex-pagersim.\n");
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int rc = app.exit(e);
        return e.get_exit_code() == 0 ? rc : kUsage;
    }
    if (!ParseFault(faultName, opt.fault)) {
        std::fprintf(stderr, "pagersim: unknown fault '%s' (known: %s)\n", faultName.c_str(),
                     FaultNames());
        return kUsage;
    }
    if (!ParseByte(refuseText, opt.refuseByte)) {
        std::fprintf(stderr, "pagersim: --refuse-byte takes 0 to 255\n");
        return kUsage;
    }
    if (!faultOn.empty()) {
        opt.faultOnRead = faultOn.find('r') != std::string::npos;
        opt.faultOnWrite = faultOn.find('w') != std::string::npos;
    }
    if (once) count = 1;

    if (!fleetDir.empty() && !datFiles.empty()) {
        std::fprintf(stderr, "pagersim: give --fleet or --dat, not both\n");
        return kUsage;
    }
    if (!fleetDir.empty()) {
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(fleetDir, ec)) {
            if (entry.is_regular_file() && entry.path().extension() == ".dat")
                datFiles.push_back(entry.path().string());
        }
        std::sort(datFiles.begin(), datFiles.end());
        if (datFiles.empty()) {
            std::fprintf(stderr, "pagersim: %s holds no .dat files\n", fleetDir.c_str());
            return kSetup;
        }
    }
    std::uint8_t firmware = 0x0C;
    if (!firmwareText.empty() && !ParseByte(firmwareText, firmware)) {
        std::fprintf(stderr, "pagersim: --firmware takes 0 to 255\n");
        return kUsage;
    }
    std::vector<Image> fleet;
    std::vector<std::string> names;  // each pager's file name, for --save
    if (datFiles.empty()) {
        fleet.push_back(SampleCodeplug());
        fleet.back()[layout::PAGER_FIRMWARE] = firmware;
    }
    for (const std::string& datFile : datFiles) {
        const CDatFile::ReadResult r = CDatFile::Read(datFile);
        if (!r.ok) {
            std::fprintf(stderr, "pagersim: cannot read %s: %s\n", datFile.c_str(),
                         r.error.c_str());
            return kSetup;
        }
        Image image = r.parsed.image;
        // A file saved after a read carries the pager's firmware byte; one that
        // never came from a pager holds 0 there and gets the default version.
        if (!firmwareText.empty() || image[layout::PAGER_FIRMWARE] == 0)
            image[layout::PAGER_FIRMWARE] = firmware;
        if (!CDatFile::IsValid(image)) {
            std::fprintf(stderr,
                         "pagersim: note: %s fails the codeplug checksum; serving it "
                         "as it is\n",
                         datFile.c_str());
        }
        const std::string name = std::filesystem::path(datFile).filename().string();
        if (std::find(names.begin(), names.end(), name) != names.end()) {
            std::fprintf(stderr, "pagersim: two pagers come from files named %s\n", name.c_str());
            return kUsage;
        }
        names.push_back(name);
        fleet.push_back(image);
    }
    const bool isFleet = fleet.size() > 1;
    if (isFleet && !saveFile.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(saveFile, ec);
        if (!std::filesystem::is_directory(saveFile, ec)) {
            std::fprintf(stderr, "pagersim: with a fleet, --save names a folder; %s is none\n",
                         saveFile.c_str());
            return kSetup;
        }
    }

    InstallSignals();
    // A session of our own, so the terminal below becomes ours (fails
    // harmlessly when started as a process group leader from a shell).
    ::setsid();

    PtyLine line;
    std::string error;
    const auto banner = [&] {
        std::printf("pager simulator on %s", line.SlavePath().c_str());
        if (!line.LinkPath().empty()) std::printf(" (link %s)", line.LinkPath().c_str());
        std::printf("\n");
        std::fflush(stdout);
    };
    if (!line.Create(link, error)) {
        std::fprintf(stderr, "pagersim: %s\n", error.c_str());
        return kSetup;
    }
    banner();
    if (!quiet) {
        std::fprintf(stderr,
                     "pagersim: fault %s%s; firmware 0x%02X; use the port name %s (or set "
                     "CALVEX_COM5=%s and use COM5); Ctrl+C ends\n",
                     FaultName(opt.fault), opt.pace ? ", paced at 1200 baud" : "",
                     fleet.front()[layout::PAGER_FIRMWARE],
                     (line.LinkPath().empty() ? line.SlavePath() : line.LinkPath()).c_str(),
                     line.SlavePath().c_str());
    }

    const auto log = [quiet](const std::string& text) {
        if (!quiet) std::fprintf(stderr, "pagersim: %s\n", text.c_str());
    };
    const auto save = [&](const Image& held, std::size_t pager) {
        if (saveFile.empty()) return;
        const std::string target =
            isFleet ? (std::filesystem::path(saveFile) / names[pager]).string() : saveFile;
        const CDatFile::WriteResult w = CDatFile::Write(target, held);
        if (!w.ok) log("cannot save " + target + ": " + w.error);
    };
    if (isFleet) {
        log("a fleet of " + std::to_string(fleet.size()) + " pagers; pager 1 (" + names[0] +
            ") is in the programmer");
    }
    PagerSim sim(line, fleet, opt, log);
    sim.OnStored(save);
    sim.StopWhen([] { return g_stop.load(); });

    using clock = std::chrono::steady_clock;
    auto lastCommand = clock::now();
    int rc = kOk;
    while (!g_stop && (count == 0 || sim.Exchanges() < count)) {
        if (sim.ServeOne(200)) lastCommand = clock::now();
        if (sim.LineClosed()) {
            if (count != 0 && sim.Exchanges() >= count) break;
            if (!line.Create(link, error)) {
                std::fprintf(stderr, "pagersim: %s\n", error.c_str());
                rc = kSetup;
                break;
            }
            sim.LineReopened();
            banner();
        }
        if (exitIdle > 0 && clock::now() - lastCommand > std::chrono::seconds(exitIdle)) {
            log("no command for " + std::to_string(exitIdle) + " s; exiting");
            rc = count != 0 ? kIdle : kOk;
            break;
        }
    }
    for (std::size_t i = 0; i < sim.Fleet().size(); ++i)
        if (isFleet || i == 0) save(sim.Fleet()[i], i);
    // The last answer may still wait for the client's settle delay.
    if (!g_stop) line.WaitDelivered(6000);
    line.Close();
    return rc;
}
