// calvex check FILE: is the file a codeplug the program accepts?
#include <CLI/CLI.hpp>
#include <cstdio>

#include "Verb.h"
#include "document/CodeplugDocument.h"

namespace {

int Run(const std::vector<std::string>& args) {
    CLI::App app{"Check that a .dat codeplug file reads and passes its checksum.", "calvex check"};
    std::string file;
    // A path such as /tmp/x.dat is a file name, not a Windows-style option.
    app.allow_windows_style_options(false);
    app.add_option("FILE", file, "codeplug file (.dat)")->required();
    std::vector<const char*> argv;
    for (const auto& a : args) argv.push_back(a.c_str());
    try {
        app.parse(static_cast<int>(argv.size()), argv.data());
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e) == 0 ? EXIT_OK : EXIT_USAGE;
    } catch (const CLI::ParseError& e) {
        app.exit(e);
        return EXIT_USAGE;
    }

    CodeplugDocument doc;
    const DocumentResult r = doc.Open(file);
    switch (r.kind) {
        case DocumentResult::Kind::Ok:
            std::printf("ok\n");
            return EXIT_OK;
        case DocumentResult::Kind::Corrupted:
            std::fprintf(stderr, "%s\n", r.message.c_str());
            return EXIT_FAILED;
        default:
            std::fprintf(stderr, "calvex check: %s\n", r.message.c_str());
            return EXIT_USAGE;
    }
}

const CalvexVerb kVerb{{"check", "check that a .dat codeplug file is valid", Run}};

}  // namespace
