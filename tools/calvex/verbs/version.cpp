// calvex version: the release number, as `calvex --version` prints it.
#include <CLI/CLI.hpp>
#include <cstdio>

#include "FileVerb.h"
#include "Version.h"

namespace {

int Run(const std::vector<std::string>& args) {
    CLI::App app{"Print the program version.", "calvex version"};
    if (const auto stop = ParseVerbArgs(app, args)) return *stop;
    PrintCalvexVersion();
    return EXIT_OK;
}

const CalvexVerb kVerb{{"version", "print the program version", Run}};

}  // namespace

void PrintCalvexVersion() {
    std::printf("calvex %s (Calvex V Two Tone Pager Programming Software)\n", CALVEX_VERSION);
}
