// calvex read [--port P] [--out FILE]: reads the codeplug from the pager.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <string>
#include <vector>

#include "Progress.h"
#include "Verb.h"
#include "document/CodeplugDocument.h"
#include "link/CCommPort.h"
#include "link/ProductDir.h"
#include "link/SerialPort.h"
#include "link/TransferRunner.h"

namespace {

int Run(const std::vector<std::string>& args) {
    CLI::App app{
        "Read the codeplug from the pager in the programmer. The port comes from the "
        "program's settings file unless --port is given.",
        "calvex read"};
    std::string port, out;
    app.add_option("--port", port, "COM1..COM64 or a device path such as /dev/ttyUSB0");
    app.add_option("--out", out, "save the codeplug to this .dat file");
    std::vector<std::string> rest(args.rbegin(), args.rend() - 1);
    try {
        app.parse(rest);
    } catch (const CLI::ParseError& e) {
        return app.exit(e) == 0 ? EXIT_OK : EXIT_USAGE;
    }

    ReleasePortsOnSignals();
    CCommPort link(DefaultSettingsPath());
    if (!port.empty()) link.SetPortName(port);
    CodeplugDocument doc;

    TransferOutcome outcome;
    {
        TransferProgress progress("Reading pager on " + link.PortName(), 5000);
        outcome = RunTransfer(TransferKind::Read, link, doc.Codeplug(),
                              [&](int ms) { progress.Update(ms); });
    }

    if (outcome.message != WM_PAGER_READ_OK) {
        std::printf("Serial Communication - Pager Read FAILED!\n");
        std::fprintf(stderr, "calvex read: %s\n", DescribeFault(outcome).c_str());
        return EXIT_FAILED;
    }
    const CCodeplug& plug = doc.Codeplug();
    std::printf("Pager read: %zu bytes, firmware version %.1f\n", CCommPort::kImageSize,
                plug.GetPagerVersion() * 0.1);
    if (!out.empty()) {
        const DocumentResult saved = doc.SaveAs(out);
        if (!saved.Ok()) {
            std::fprintf(stderr, "calvex read: %s\n", saved.message.c_str());
            return EXIT_FAILED;
        }
        std::printf("Saved to %s\n", doc.Path().string().c_str());
    }
    return std::fflush(stdout) == 0 ? EXIT_OK : EXIT_FAILED;
}

const CalvexVerb kVerb{{"read", "read the codeplug from the pager", Run}};

}  // namespace
