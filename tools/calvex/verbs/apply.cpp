// calvex apply FILE CHANGES.json: the fields of a `calvex show --json`
// document (any part of it) that differ from the file, made as the User Data
// sheet would make them.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <fstream>
#include <iostream>

#include "EngineerEdit.h"
#include "FileVerb.h"
#include "SheetEdit.h"
#include "document/CodeplugFields.h"

namespace {

int Run(const std::vector<std::string>& args) {
    CLI::App app{"Apply a 'calvex show --json' document (or part of one) to a .dat codeplug file.",
                 "calvex apply"};
    std::string file, changesFile, out;
    app.add_option("FILE", file, "codeplug file (.dat)")->required();
    app.add_option("CHANGES", changesFile,
                   "JSON in the shape 'calvex show --json' prints; - reads "
                   "standard input")
        ->required();
    app.add_option("--out", out, "write the result to this file instead of FILE");
    bool engineer = false;
    app.add_flag("--engineer", engineer,
                 "ask for the engineer password and allow the factory fields");
    app.footer(
        "\nFields equal to the file's are skipped, so the output of 'calvex show --json', edited,\n"
        "applies just the edits. A field that already shows its value once the changes before\n"
        "it are made, and a field that follows others (codingOptionValue, alertValue, ...) and\n"
        "holds its value after the run, are taken as they are; any other difference is refused\n"
        "with its reason. 'calvex set --help' lists the fields that can change.\n"
        "With --engineer and CHANGES '-', standard input holds the password line first, then\n"
        "the JSON.\n");
    if (const auto stop = ParseVerbArgs(app, args)) return *stop;
    if (engineer)
        if (const auto stop = EngineerLogon("apply")) return *stop;

    FieldJson incoming;
    try {
        if (changesFile == "-") {
            incoming = FieldJson::parse(std::cin);
        } else {
            std::ifstream in(changesFile, std::ios::binary);
            if (!in) {
                std::fprintf(stderr, "calvex apply: cannot read %s\n", changesFile.c_str());
                return EXIT_USAGE;
            }
            incoming = FieldJson::parse(in);
        }
    } catch (const FieldJson::exception& e) {
        std::fprintf(stderr, "calvex apply: %s is not JSON: %s\n", changesFile.c_str(), e.what());
        return EXIT_USAGE;
    }
    if (!incoming.is_object()) {
        std::fprintf(stderr, "calvex apply: %s must hold one JSON object\n", changesFile.c_str());
        return EXIT_USAGE;
    }

    CodeplugDocument doc;
    if (const auto stop = OpenCodeplugFile(doc, file, "apply")) return *stop;
    const Image before = doc.Codeplug().GetImage();
    const std::vector<SheetChange> changes = DocumentChanges(incoming, doc.Codeplug());
    for (const SheetChange& c : changes)
        std::printf("%s = %s\n", c.key.c_str(), c.value.empty() ? "(empty)" : c.value.c_str());
    return FinishEdit(doc, before, changes, out, "apply", {engineer, true});
}

const CalvexVerb kVerb{
    {"apply", "apply an edited 'calvex show --json' document to a codeplug file", Run}};

}  // namespace
