// calvex report FILE [--engineer]: the printed codeplug report as plain text.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <string>
#include <vector>

#include "FileVerb.h"
#include "codeplug/CPagerData.h"
#include "codeplug/CodeplugContext.h"
#include "report/ReportBuilder.h"
#include "report/ReportLayout.h"
#include "report/TextCanvas.h"

namespace {

int Run(const std::vector<std::string>& args) {
    CLI::App app{"Print the codeplug report of a .dat file, laid out as on paper with every "
                 "character one column wide.",
                 "calvex report"};
    std::string file;
    bool engineer = false;
    app.add_option("FILE", file, "codeplug file (.dat)")->required();
    app.add_flag("--engineer", engineer, "include the advanced engineer data");
    if (const auto stop = ParseVerbArgs(app, args)) return *stop;

    CodeplugDocument doc;
    if (const auto stop = OpenCodeplugFile(doc, file, "report")) return *stop;

    CodeplugContext::Get().engineer = engineer;
    CPagerData pager;
    const CodeplugReport report = BuildCodeplugReport(doc.Codeplug(), pager, doc.Path().string());
    TextCanvas canvas;
    DrawCodeplugReport(canvas, report);
    std::fputs(canvas.Text().c_str(), stdout);
    return std::fflush(stdout) == 0 ? EXIT_OK : EXIT_FAILED;
}

const CalvexVerb kVerb{{"report", "print the codeplug report of a .dat file", Run}};

}  // namespace
