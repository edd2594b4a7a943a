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
    std::fprintf(out, "Usage: calvex <verb> [options]\n\nVerbs:\n");
    auto verbs = Registry();
    std::sort(verbs.begin(), verbs.end(),
              [](const auto& a, const auto& b) { return std::strcmp(a.name, b.name) < 0; });
    for (const auto& v : verbs) std::fprintf(out, "  %-8s %s\n", v.name, v.summary);
    std::fprintf(out, "\nRun 'calvex <verb> --help' for the options of a verb.\n");
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
    for (const auto& v : Registry()) {
        if (verb == v.name) return v.run(std::vector<std::string>(argv + 1, argv + argc));
    }
    std::fprintf(stderr, "calvex: unknown verb '%s'\n\n", verb.c_str());
    Usage(stderr);
    return EXIT_USAGE;
}
