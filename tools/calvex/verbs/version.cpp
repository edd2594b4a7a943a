#include <cstdio>

#include "Verb.h"

namespace {

int Run(const std::vector<std::string>& args) {
    if (args.size() > 1 && args[1] != "--help" && args[1] != "-h") {
        std::fprintf(stderr, "calvex version: takes no arguments\n");
        return EXIT_USAGE;
    }
    std::printf("calvex %s (Calvex V Two Tone Pager Programming Software)\n", CALVEX_VERSION);
    return EXIT_OK;
}

const CalvexVerb kVerb{{"version", "print the program version", Run}};

}  // namespace
