// The manual pages are made from the programs' --help: every verb, option
// and fault mode the programs name must be in them, and man must format
// them without a warning.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>

#include "Shell.h"
#include "document/TempDir.h"

namespace {

const std::string kManPages = CALVEX_MAN_DIR;

std::string Page(const std::string& name) {
    return Shell("gzip -dc " + Quoted(kManPages + "/" + name + ".1.gz")).out;
}

std::string Help(const std::string& program, const std::string& args = "") {
    return Shell(Quoted(program) + " " + args + " --help").out;
}

// How an option is written in the page's roff (every dash a minus sign).
std::string Roff(std::string text) {
    std::string out;
    for (char c : text) out += c == '-' ? std::string("\\-") : std::string(1, c);
    return out;
}

// Whether a list term (the line after .TP) names `option` as a whole word.
bool HasTerm(const std::string& page, const std::string& option) {
    const std::string roff = Roff(option);
    const auto lines = Lines(page);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        if (lines[i - 1] != ".TP") continue;
        for (std::size_t at = lines[i].find(roff); at != std::string::npos;
             at = lines[i].find(roff, at + 1)) {
            const std::string after = lines[i].substr(at + roff.size());
            if (after.empty() || (!std::isalnum(static_cast<unsigned char>(after[0])) &&
                                  after.compare(0, 2, "\\-") != 0))
                return true;
        }
    }
    return false;
}

// Each option of a help text's "Options:" section, split at commas.
std::vector<std::string> Options(const std::string& help) {
    std::vector<std::string> options;
    for (const std::string& entry : SectionEntries(help, "Options")) {
        std::size_t start = 0;
        for (std::size_t comma; (comma = entry.find(',', start)) != std::string::npos;
             start = comma + 1)
            options.push_back(entry.substr(start, comma - start));
        options.push_back(entry.substr(start));
    }
    return options;
}

}  // namespace

TEST(ManPages, CalvexHasASectionForEveryVerbWithAllItsOptions) {
    const std::string page = Page("calvex");
    ASSERT_FALSE(page.empty());
    const auto verbs = SectionEntries(Help(CALVEX_EXE), "Verbs");
    ASSERT_GE(verbs.size(), 9u);
    for (const std::string& verb : verbs) {
        const std::size_t at = page.find(".SS \"calvex " + verb + "\"");
        ASSERT_NE(at, std::string::npos) << verb;
        const std::size_t next = page.find(".SS ", at + 1);
        const std::string section = page.substr(at, next == std::string::npos ? next : next - at);
        for (const std::string& option : Options(Help(CALVEX_EXE, verb)))
            EXPECT_TRUE(HasTerm(section, option)) << verb << " " << option;
    }
    for (const char* heading : {".SH \"EXIT STATUS\"", ".SH \"EXAMPLES\"", ".SH \"SEE ALSO\""})
        EXPECT_NE(page.find(heading), std::string::npos) << heading;
    // The keys of calvex set are listed as terms.
    EXPECT_NE(page.find("\\fBchannels.F1|F2.calls.N.tone1\\fR"), std::string::npos);
}

TEST(ManPages, PagersimHasEveryOptionAndFaultMode) {
    const std::string page = Page("pagersim");
    const std::string help = Help(PAGERSIM_EXE);
    for (const std::string& option : Options(help))
        EXPECT_TRUE(HasTerm(page, option)) << option;
    const auto faults = SectionEntries(help, "Faults");
    EXPECT_EQ(faults.size(), 12u);
    for (const std::string& fault : faults)
        EXPECT_NE(page.find(".TP\n\\fB" + Roff(fault) + "\\fR\n"), std::string::npos) << fault;
}

TEST(ManPages, TheDesktopProgramsPageHasItsOptionsFilesAndEnvironment) {
#ifndef CALVEXVHXR_EXE
    GTEST_SKIP() << "built without the desktop program";
#else
    const std::string page = Page("CalvexVHXR");
    for (const std::string& option : Options(Help(CALVEXVHXR_EXE)))
        EXPECT_TRUE(HasTerm(page, option)) << option;
    for (const char* heading : {"DATA DIRECTORY", "FILES", "ENVIRONMENT"})
        EXPECT_NE(page.find(std::string(".SH \"") + heading + "\""), std::string::npos) << heading;
    EXPECT_NE(page.find("\\fBCALVEX_PRODUCT_DIR\\fR"), std::string::npos);
#endif
}

TEST(ManPages, ManFormatsEveryPageWithoutAWarning) {
    if (Shell("command -v man >/dev/null").exitCode != 0) GTEST_SKIP() << "no man";
    int pages = 0;
    for (const auto& entry : std::filesystem::directory_iterator(kManPages)) {
        ++pages;
        const ShellRun run = Shell("LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l " +
                                   Quoted(entry.path().string()) + " 2>&1 >/dev/null");
        EXPECT_EQ(run.out, "") << entry.path();
    }
    EXPECT_GE(pages, 2);
}

// A verb added later (or a list line of another shape) still reaches the
// page: the generator reads whatever the program lists.
TEST(ManPages, ANewVerbGetsItsOwnSectionWithoutChangingTheGenerator) {
    TempDir dir;
    const auto program = dir.WriteFile("tool",
                                       "#!/bin/sh\n"
                                       "case \"$1\" in\n"
                                       "--help) printf '%s\\n' 'tool - does things' 'Usage: tool <verb>' '' "
                                       "'Verbs:' '  fleet    program many pagers' "
                                       "'  old      the old one' '' 'Run it.' ;;\n"
                                       "fleet) printf '%s\\n' 'Program a fleet.' 'Usage: tool fleet [OPTIONS] DIR' "
                                       "'' 'Options:' '  --jobs INT                  pagers at once' "
                                       "'  --very-long-option-name-that-fills-the-column TEXT' "
                                       "'                              described below it' ;;\n"
                                       "old) printf '%s\\n' 'Old.' 'Usage: tool old' ;;\n"
                                       "esac\n");
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);
    const ShellRun run = Shell(Quoted(CALVEX_MANPAGE_SCRIPT) + " " + Quoted(program.string()) +
                               " 9.9 'calvex(1)' Verbs 2>&1");
    ASSERT_EQ(run.exitCode, 0) << run.out;
    EXPECT_NE(run.out.find(".TH \"TOOL\" \"1\" \"\" \"tool 9.9\""), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(".SS \"tool fleet\""), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(".TP\n\\fB\\-\\-jobs INT\\fR\npagers at once\n"), std::string::npos);
    EXPECT_NE(run.out.find("\\fB\\-\\-very\\-long\\-option\\-name\\-that\\-fills\\-the\\-column "
                           "TEXT\\fR\ndescribed below it\n"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find(".SS \"tool old\""), std::string::npos);
    // The hint below the list is not a verb's text.
    EXPECT_EQ(run.out.find("Run it."), std::string::npos);
}
