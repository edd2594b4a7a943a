// calvex: command-line companion of the Calvex V HXR programming software.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "Verb.h"

namespace {

std::vector<CalvexVerbInfo>& Registry() {
    static std::vector<CalvexVerbInfo> verbs;
    return verbs;
}

void Usage(FILE* out) {
    std::fprintf(out,
                 "calvex - read, check, show, edit and write Calvex V pager codeplugs without a "
                 "window\n"
                 "Usage: calvex <verb> [options]\n"
                 "       calvex --help | --version\n"
                 "\n"
                 "The command-line companion of the Calvex V HXR programming software. Files are\n"
                 "the program's .dat codeplugs; the port and the USB delay of read and write come\n"
                 "from the program's settings file unless given, and writes keep a backup of the\n"
                 "pager's contents in the program's data directory (see CalvexVHXR --help).\n"
                 "\nVerbs:\n");
    auto verbs = Registry();
    std::sort(verbs.begin(), verbs.end(),
              [](const auto& a, const auto& b) { return std::strcmp(a.name, b.name) < 0; });
    for (const auto& v : verbs) std::fprintf(out, "  %-8s %s\n", v.name, v.summary);
    std::fprintf(out,
                 "\nRun 'calvex <verb> --help' for the options of a verb.\n"
                 "\n"
                 "Exit status:\n"
                 "  0                           success (diff: the codeplugs are equal)\n"
                 "  1                           the operation failed: a corrupted file, a transfer\n"
                 "                              that failed, a change the sheet refused, a wrong\n"
                 "                              engineer password (diff: the codeplugs differ)\n"
                 "  2                           a usage error, or a file that cannot be read\n"
                 "\n"
                 "Examples:\n"
                 "  calvex check pager.dat\n"
                 "  calvex read --port /dev/ttyUSB0 --out pager.dat\n"
                 "  calvex set pager.dat toneSystem=GE channels.F1.frequency=152.0125\n"
                 "  calvex diff pager.dat --port /dev/ttyUSB0\n"
                 "  calvex write pager.dat --port /dev/ttyUSB0 --verify\n"
                 "  calvex show pager.dat --json > pager.json\n"
                 "  calvex apply pager.dat pager.json --out edited.dat\n"
                 "  calvex fleet pager.dat crew.csv --port /dev/ttyUSB0 --verify\n");
}

}  // namespace

CalvexVerb::CalvexVerb(CalvexVerbInfo info) { Registry().push_back(info); }

const std::vector<CalvexVerbInfo>& CalvexVerb::All() { return Registry(); }

int main(int argc, char** argv) {
    if (argc < 2) {
        Usage(stderr);
        return EXIT_USAGE;
    }
    const std::string verb = argv[1];
    if (verb == "--help" || verb == "-h" || verb == "help") {
        Usage(stdout);
        return EXIT_OK;
    }
    if (verb == "--version") {
        PrintCalvexVersion();
        return EXIT_OK;
    }
    for (const auto& v : Registry()) {
        if (verb == v.name) return v.run(std::vector<std::string>(argv + 1, argv + argc));
    }
    std::fprintf(stderr, "calvex: unknown verb '%s'\n\n", verb.c_str());
    Usage(stderr);
    return EXIT_USAGE;
}
