// calvex diff A.dat B.dat | A.dat --port PORT [--json]: two codeplugs
// compared field by field.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "CompareOutput.h"
#include "FileVerb.h"
#include "document/CDatFile.h"
#include "link/ProductDir.h"
#include "link/SerialPort.h"

namespace {

// A codeplug file's 512 bytes as they stand in it; nothing (after a message)
// when the file cannot be read. A file that fails its checks is compared all
// the same, with a note.
std::optional<Image> ReadDat(const std::string& file) {
    const CDatFile::ReadResult r = CDatFile::Read(file);
    if (!r.ok) {
        std::fprintf(stderr, "calvex diff: cannot read %s: %s\n", file.c_str(), r.error.c_str());
        return std::nullopt;
    }
    if (r.parsed.valuesRead < layout::IMAGE_SIZE) {
        std::fprintf(stderr,
                     "calvex diff: note: %s holds %zu of 512 bytes; the rest repeat the last\n",
                     file.c_str(), r.parsed.valuesRead);
    } else if (!CDatFile::IsValid(r.parsed.image)) {
        std::fprintf(stderr, "calvex diff: note: %s fails the codeplug checksum\n", file.c_str());
    }
    return r.parsed.image;
}

int Run(const std::vector<std::string>& args) {
    CLI::App app{
        "Compare two codeplugs field by field, named as 'calvex show' names them; "
        "bytes no field describes are compared by offset. Exit 0 when equal, 1 when "
        "different, 2 when an input cannot be read.",
        "calvex diff"};
    std::string a, b, port;
    bool json = false;
    app.add_option("A", a, "codeplug file (.dat)")->required();
    app.add_option("B", b, "codeplug file (.dat) to compare with");
    auto* portOpt = app.add_option(
        "--port", port, "compare with the pager on this port (COM1..COM64 or a device path)");
    app.add_flag("--json", json, "print one JSON object instead of lines");
    if (const auto stop = ParseVerbArgs(app, args)) return *stop;
    if (b.empty() == (portOpt->count() == 0)) {
        std::fprintf(stderr, "calvex diff: give either a second file or --port\n");
        return EXIT_USAGE;
    }

    const std::optional<Image> left = ReadDat(a);
    if (!left) return EXIT_USAGE;
    std::optional<Image> right;
    if (!b.empty()) {
        right = ReadDat(b);
    } else {
        ReleasePortsOnSignals();
        CCommPort link(DefaultSettingsPath());
        link.SetPortName(port);
        std::string why;
        right = ReadPagerContents(link, "Reading pager", why);
        if (!right) std::fprintf(stderr, "calvex diff: cannot read the pager: %s\n", why.c_str());
    }
    if (!right) return EXIT_USAGE;

    const CodeplugDiff diff = CompareCodeplugs(*left, *right);
    PrintDiff(diff, json);
    if (std::fflush(stdout) != 0) return EXIT_USAGE;
    return diff.Equal() ? EXIT_OK : EXIT_FAILED;
}

const CalvexVerb kVerb{{"diff", "compare two codeplugs, or a codeplug and the pager", Run}};

}  // namespace
