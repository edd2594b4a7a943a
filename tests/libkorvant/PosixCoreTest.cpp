#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "libkorvant/ErrnoMap.h"
#include "libkorvant/Getopt.h"
#include "libkorvant/PasswordReader.h"
#include "libkorvant/PeImage.h"
#include "libkorvant/TextUtil.h"
#include "libkorvant/TimeOfDay.h"

namespace korvant {
namespace {

// getopt with its own copy of the exported state.
class GetoptRun {
public:
    explicit GetoptRun(std::vector<std::string> words) : words_(std::move(words)) {
        for (std::string& w : words_) {
            argv_.push_back(w.data());
        }
        argv_.push_back(nullptr);
    }
    int Next(const char* options) {
        return Getopt(vars_, static_cast<int>(words_.size()), argv_.data(), options,
                      [this](const std::string& m) { messages += m; });
    }
    char* optarg = nullptr;
    int opterr = 1, optind = 1, optopt = 0, position = 1;
    const char* word = nullptr;
    std::string messages;

private:
    std::vector<std::string> words_;
    std::vector<char*> argv_;
    GetoptVars vars_{&optarg, &opterr, &optind, &optopt, &position, &word};
};

TEST(Getopt, MissingArgumentReportsAndReturnsQuestionMark) {
    GetoptRun run({"/usr/bin/tool", "-a", "-b"});
    EXPECT_EQ(run.Next("ab:"), 'a');
    EXPECT_EQ(run.optarg, nullptr);
    EXPECT_EQ(run.Next("ab:"), '?');
    EXPECT_EQ(run.optopt, 'b');
    EXPECT_EQ(run.messages, "tool: option requires an argument -- b\n");
    EXPECT_EQ(run.Next("ab:"), -1);
}

TEST(Getopt, IllegalOptionAndQuietMode) {
    GetoptRun run({"c:/x/prog", "-xa"});
    EXPECT_EQ(run.Next("a"), '?');
    EXPECT_EQ(run.optopt, 'x');
    EXPECT_EQ(run.messages, "prog: illegal option -- x\n");
    EXPECT_EQ(run.Next("a"), 'a');
    EXPECT_EQ(run.optind, 2);

    GetoptRun quiet({"prog", "-:"});
    quiet.opterr = 0;
    EXPECT_EQ(quiet.Next("a:"), '?');  // ':' is never an option letter
    EXPECT_TRUE(quiet.messages.empty());
}

TEST(Getopt, ArgumentsJoinedSeparateAndGrouped) {
    GetoptRun run({"p", "-ofile", "-o", "next", "-vx", "rest"});
    EXPECT_EQ(run.Next("o:vx"), 'o');
    EXPECT_STREQ(run.optarg, "file");
    EXPECT_EQ(run.Next("o:vx"), 'o');
    EXPECT_STREQ(run.optarg, "next");
    EXPECT_EQ(run.Next("o:vx"), 'v');
    EXPECT_EQ(run.Next("o:vx"), 'x');
    EXPECT_EQ(run.Next("o:vx"), -1);
    EXPECT_EQ(run.optind, 5);
}

TEST(Getopt, DoubleDashIsConsumedLoneDashStops) {
    GetoptRun run({"p", "-a", "--", "-b"});
    EXPECT_EQ(run.Next("ab"), 'a');
    EXPECT_EQ(run.Next("ab"), -1);
    EXPECT_EQ(run.optind, 3);

    GetoptRun dash({"p", "-", "-a"});
    EXPECT_EQ(dash.Next("a"), -1);
    EXPECT_EQ(dash.optind, 1);
}

TEST(Getopt, NullInputsAndStaleStateDoNotCrash) {
    GetoptRun run({"p", "-a"});
    EXPECT_EQ(run.Next(nullptr), '?');
    GetoptRun reset({"p", "-ab"});
    reset.position = 7;  // left over from a longer word of an earlier run
    EXPECT_EQ(reset.Next("ab"), 'a');
    char* none[] = {nullptr, nullptr, nullptr};  // argc larger than the words given
    char* optarg = nullptr;
    int opterr = 1, optind = 1, optopt = 0, pos = 1;
    EXPECT_EQ(Getopt({&optarg, &opterr, &optind, &optopt, &pos}, 3, none, "a", {}), -1);
}

TEST(Getopt, StartingOverMidGroupBeginsAtTheNewWord) {
    char* optarg = nullptr;
    int opterr = 1, optind = 1, optopt = 0, pos = 1;
    const char* word = nullptr;
    const GetoptVars vars{&optarg, &opterr, &optind, &optopt, &pos, &word};
    std::string messages;
    auto sink = [&](const std::string& m) { messages += m; };

    char p[] = "p", ab[] = "-ab";
    char* first[] = {p, ab, nullptr};
    EXPECT_EQ(Getopt(vars, 2, first, "ab", sink), 'a');  // the caller stops here

    optind = 1;
    char xy[] = "-xy";
    char* second[] = {p, xy, nullptr};
    EXPECT_EQ(Getopt(vars, 2, second, "xy", sink), 'x');
    EXPECT_EQ(Getopt(vars, 2, second, "xy", sink), 'y');
    EXPECT_EQ(optind, 2);

    optind = 1;
    EXPECT_EQ(Getopt(vars, 2, first, "ab", sink), 'a');
    optind = 1;
    char file[] = "file";
    char* third[] = {p, file, nullptr};
    EXPECT_EQ(Getopt(vars, 2, third, "ab", sink), -1) << "a plain word is never an option";
    EXPECT_EQ(optind, 1);
    EXPECT_TRUE(messages.empty());
}

std::function<int()> Keys(const std::string& typed) {
    auto index = std::make_shared<std::size_t>(0);
    return [typed, index]() -> int {
        return *index < typed.size() ? static_cast<unsigned char>(typed[(*index)++]) : -1;
    };
}

TEST(Getpass, CutsToEightHonoursBackspaceAndStopsAtEnter) {
    PasswordReader reader;
    EXPECT_STREQ(reader.Read(Keys("abcdefghijkl\r")), "abcdefgh");
    EXPECT_STREQ(reader.Read(Keys("ab\bc\b\b\bxy\nignored")), "xy");
    EXPECT_STREQ(reader.Read(Keys("")), "");
}

TEST(Getpass, LineFeedAfterCarriageReturnBelongsToTheSameLine) {
    PasswordReader reader;
    const std::string piped = "one\r\ntwo\r\n\nthree\n";
    std::size_t at = 0;
    auto next = [&]() -> int { return at < piped.size() ? piped[at++] : -1; };
    EXPECT_STREQ(reader.Read(next), "one");
    EXPECT_STREQ(reader.Read(next), "two");
    EXPECT_STREQ(reader.Read(next), "");  // an empty line of its own
    EXPECT_STREQ(reader.Read(next), "three");
    EXPECT_STREQ(reader.Read(next), "");
}

TEST(Getpass, BufferGrowsByDoublingAndIsReused) {
    PasswordReader reader;
    EXPECT_EQ(reader.Capacity(), 1024u);
    const std::string longLine(5000, 'p');
    EXPECT_STREQ(reader.Read(Keys(longLine + "\r")), "pppppppp");
    EXPECT_EQ(reader.Capacity(), 8192u);
    const char* first = reader.Read(Keys("one\r"));
    EXPECT_EQ(reader.Read(Keys("two\r")), first);
}

TEST(TimeOfDay, ConvertsRoundsAndNeverRepeats) {
    TimeOfDay clock;
    const std::uint64_t epoch = TimeOfDay::kEpochDifference;
    EXPECT_EQ(clock.Next(epoch + 10'000'005), 1'000'001);  // 1.0000005 s rounds up
    EXPECT_EQ(clock.Next(epoch + 10'000'005), 1'000'002);
    EXPECT_EQ(clock.Next(epoch), 1'000'003);  // the clock stepped back
    EXPECT_EQ(clock.Next(epoch + 20'000'000), 2'000'000);
}

TEST(TimeOfDay, ZoneRecomputedOnlyWhenTheDateChanges) {
    TimeOfDay clock;
    int queries = 0;
    ZoneInfo zone;
    zone.bias = 300;
    zone.standardBias = 0;
    zone.daylightBias = -60;
    zone.standardDateDefined = true;
    zone.daylightActive = true;
    auto query = [&] {
        ++queries;
        return zone;
    };
    int west = 0, dst = 0;
    clock.Zone(20260101, query, &west, &dst);
    EXPECT_EQ(west, 300);
    EXPECT_EQ(dst, 1);
    zone.bias = -60;
    clock.Zone(20260101, query, &west, &dst);
    EXPECT_EQ(west, 300);
    EXPECT_EQ(queries, 1);
    zone.daylightBias = 0;
    zone.standardBias = 15;
    clock.Zone(20260102, query, &west, nullptr);
    EXPECT_EQ(queries, 2);
    EXPECT_EQ(west, -45);
    clock.Zone(20260102, query, nullptr, &dst);
    EXPECT_EQ(dst, 0);  // daylight without a bias does not count
}

TEST(ErrnoMap, TableRangesAndDefault) {
    EXPECT_EQ(Win32ErrorToErrno(0), 0);
    EXPECT_EQ(Win32ErrorToErrno(5), 13);
    EXPECT_EQ(Win32ErrorToErrno(2), 2);
    EXPECT_EQ(Win32ErrorToErrno(183), 17);
    EXPECT_EQ(Win32ErrorToErrno(1816), 12);
    EXPECT_EQ(Win32ErrorToErrno(109), 32);
    EXPECT_EQ(Win32ErrorToErrno(19), 13);
    EXPECT_EQ(Win32ErrorToErrno(20), 13);
    EXPECT_EQ(Win32ErrorToErrno(36), 13);
    EXPECT_EQ(Win32ErrorToErrno(37), 22);
    EXPECT_EQ(Win32ErrorToErrno(187), 22);
    EXPECT_EQ(Win32ErrorToErrno(188), 8);
    EXPECT_EQ(Win32ErrorToErrno(190), 8);
    EXPECT_EQ(Win32ErrorToErrno(202), 8);
    EXPECT_EQ(Win32ErrorToErrno(203), 22);
    EXPECT_EQ(Win32ErrorToErrno(1000), 22);
}

TEST(TextUtil, CaseCompareHashAndSplits) {
    EXPECT_EQ(AsciiCaseCompare("Korva", "kORVA"), 0);
    EXPECT_LT(AsciiCaseCompare("abc", "ABD"), 0);
    EXPECT_GT(AsciiCaseCompare("b", "A"), 0);
    EXPECT_EQ(AsciiCaseCompareN("abcX", "ABCy", 3), 0);
    EXPECT_LT(AsciiCaseCompare("ab", "abc"), 0);
    EXPECT_EQ(StringHash(""), 0);
    EXPECT_EQ(StringHash("A"), 65);
    EXPECT_EQ(StringHash("AB"), 8451);  // 65 + ((65 << 7) ^ 66)
    // Bytes above 0x7f count as negative values.
    EXPECT_EQ(StringHash("\xff"), -1);

    std::string root, rest;
    ASSERT_TRUE(FileRootSplit("C:\\a\\b", &root, &rest));
    EXPECT_EQ(root, "C:\\");
    EXPECT_EQ(rest, "a\\b");
    ASSERT_TRUE(FileRootSplit("\\\\srv\\share\\dir\\f", &root, &rest));
    EXPECT_EQ(root, "\\\\srv\\share\\");
    EXPECT_EQ(rest, "dir\\f");
    ASSERT_TRUE(FileRootSplit("rel\\x", &root, &rest));
    EXPECT_EQ(root, "");
    EXPECT_FALSE(FileRootSplit("", &root, &rest));

    char small[4];
    EXPECT_FALSE(CopyTruncated(small, sizeof small, "abcdef"));
    EXPECT_STREQ(small, "abc");
}

TEST(PeImage, ReadsSubsystemAndRefusesDamagedImages) {
    std::vector<std::uint8_t> image(0x200, 0);
    image[0] = 'M';
    image[1] = 'Z';
    image[0x3C] = 0x80;
    image[0x80] = 'P';
    image[0x81] = 'E';
    image[0x80 + 24] = 0x0B;  // PE32+
    image[0x80 + 25] = 0x02;
    image[0x80 + 24 + 68] = 2;
    EXPECT_EQ(PeSubsystem(image.data(), image.size()), kSubsystemWindowsGui);
    EXPECT_EQ(PeSubsystem(image.data(), 0xC0), -1);  // header cut off
    image[0x3C] = 0xFF;
    image[0x3D] = 0xFF;
    EXPECT_EQ(PeSubsystem(image.data(), image.size()), -1);
    EXPECT_EQ(PeSubsystem(nullptr, 0), -1);
}

}  // namespace
}  // namespace korvant
