// calvex check FILE: is the file a codeplug the program accepts?
#include <CLI/CLI.hpp>
#include <cstdio>

#include "FileVerb.h"

namespace {

int Run(const std::vector<std::string>& args) {
    CLI::App app{"Check that a .dat codeplug file reads and passes its checksum.", "calvex check"};
    std::string file;
    app.add_option("FILE", file, "codeplug file (.dat)")->required();
    if (const auto stop = ParseVerbArgs(app, args)) return *stop;

    CodeplugDocument doc;
    if (const auto stop = OpenCodeplugFile(doc, file, "check")) return *stop;
    std::printf("ok\n");
    return EXIT_OK;
}

const CalvexVerb kVerb{{"check", "check that a .dat codeplug file is valid", Run}};

}  // namespace
