// bash completion for calvex reads calvex's own --help: what it offers must
// be what calvex takes.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "Shell.h"
#include "document/TempDir.h"

namespace {

// The completions bash would offer for the words typed so far (the last one
// is the word being completed).
std::vector<std::string> Complete(const std::string& typed) {
    const std::string dir = std::filesystem::path(CALVEX_EXE).parent_path().string();
    const std::string script = "PATH=" + Quoted(dir) + ":$PATH; source " +
                               Quoted(CALVEX_COMPLETION) + "; COMP_WORDS=(" + typed +
                               "); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); _calvex; "
                               "printf '%s\\n' \"${COMPREPLY[@]}\"";
    auto lines = Lines(Shell("bash -c " + Quoted(script) + " 2>&1").out);
    lines.erase(std::remove(lines.begin(), lines.end(), ""), lines.end());
    return lines;
}

bool Has(const std::vector<std::string>& list, const std::string& item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

}  // namespace

TEST(Completion, VerbsAndOptionsAreTheProgramsOwn) {
    const auto verbs = SectionEntries(Shell(Quoted(CALVEX_EXE) + " --help").out, "Verbs");
    auto offered = Complete("calvex ''");
    for (const std::string& verb : verbs) EXPECT_TRUE(Has(offered, verb)) << verb;
    EXPECT_TRUE(Has(offered, "--version"));
    EXPECT_EQ(Complete("calvex s"), (std::vector<std::string>{"set", "show"}));
    EXPECT_EQ(Complete("calvex write --v"), (std::vector<std::string>{"--verify"}));
    const auto diff = Complete("calvex diff --");
    EXPECT_TRUE(Has(diff, "--port") && Has(diff, "--json") && Has(diff, "--help"));
    EXPECT_FALSE(Has(diff, "--verify"));
}

TEST(Completion, SetKeysAreWrittenOutForEachChannelCallAndSwitch) {
    const auto calls = Complete("calvex set pager.dat channels.F2.calls.");
    EXPECT_TRUE(Has(calls, "channels.F2.calls.12.tone1="));
    EXPECT_TRUE(Has(calls, "channels.F2.calls.8.tone2="));
    EXPECT_FALSE(Has(calls, "channels.F2.calls.9.tone2="));  // group calls have one tone
    EXPECT_FALSE(Has(calls, "channels.F2.calls.N.tone1="));
    EXPECT_EQ(Complete("calvex set pager.dat switches.SW-D.al"),
              (std::vector<std::string>{"switches.SW-D.alertType="}));
    // The file comes first; --out takes a file name, not a key.
    EXPECT_FALSE(Has(Complete("calvex set tone"), "toneSystem="));
    EXPECT_FALSE(Has(Complete("calvex set pager.dat --out tone"), "toneSystem="));
    EXPECT_TRUE(Has(Complete("calvex set pager.dat --out x.dat tone"), "toneSystem="));
}

TEST(Completion, EveryOfferedKeyIsOneThatCalvexSetKnows) {
    TempDir dir;
    const std::string sample = std::string(CALVEX_SOURCE_DIR) + "/samples/vhf-two-frequency.dat";
    const auto keys = Complete("calvex set pager.dat ''");
    ASSERT_GT(keys.size(), 100u);
    for (const std::string& key : keys) {
        ASSERT_EQ(key.back(), '=');
        const ShellRun run = Shell(Quoted(CALVEX_EXE) + " set " + Quoted(sample) + " " + Quoted(key) +
                                   " --out " + Quoted((dir / "out.dat").string()) + " 2>&1");
        EXPECT_EQ(run.out.find("unknown key"), std::string::npos) << key << ": " << run.out;
    }
}
