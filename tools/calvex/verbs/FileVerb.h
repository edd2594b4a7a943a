#pragma once
// What the verbs that read one codeplug file share: parsing their arguments
// and opening the file.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "Verb.h"
#include "document/CodeplugDocument.h"

// Parses a verb's arguments (args[0] is the verb's name). Gives the exit code
// when the verb stops here (help shown, or a usage error), nothing otherwise.
inline std::optional<int> ParseVerbArgs(CLI::App& app, const std::vector<std::string>& args) {
    // A path such as /tmp/x.dat is a file name, not a Windows-style option.
    app.allow_windows_style_options(false);
    std::vector<std::string> rest(args.rbegin(), args.rend());  // CLI11 wants them reversed
    if (!rest.empty()) rest.pop_back();
    try {
        app.parse(rest);
    } catch (const CLI::ParseError& e) {
        return app.exit(e) == 0 ? EXIT_OK : EXIT_USAGE;
    }
    return std::nullopt;
}

// Opens a codeplug file into `doc`. Gives the exit code when the verb stops
// here: a file that fails its checks is EXIT_FAILED with the program's own
// message, one that cannot be read at all is a usage error.
inline std::optional<int> OpenCodeplugFile(CodeplugDocument& doc, const std::string& file,
                                           const char* verb) {
    const DocumentResult r = doc.Open(file);
    switch (r.kind) {
        case DocumentResult::Kind::Ok:
            return std::nullopt;
        case DocumentResult::Kind::Corrupted:
            std::fprintf(stderr, "%s\n", r.message.c_str());
            return EXIT_FAILED;
        default:
            std::fprintf(stderr, "calvex %s: %s\n", verb, r.message.c_str());
            return EXIT_USAGE;
    }
}
