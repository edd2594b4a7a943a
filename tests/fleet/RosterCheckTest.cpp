// A roster checked against its template before any pager is touched: rows
// through the User Data sheet, and pagers that could not be paged apart.
#include <gtest/gtest.h>

#include "codeplug/CodeplugContext.h"
#include "document/CDatFile.h"
#include "fleet/FleetSession.h"
#include "fleet/RosterCheck.h"

namespace {

class RosterCheckTest : public ::testing::Test {
protected:
    void SetUp() override {
        CodeplugContext::Get().Reset();
        const auto r =
            CDatFile::Read(std::string(CALVEX_SOURCE_DIR) + "/samples/vhf-two-frequency.dat");
        ASSERT_TRUE(r.ok);
        templ.SetImage(r.parsed.image);
        // F1 ("R168 (None)", every call in use): call 2 and 3 are the fleet's
        // common calls, call 1 is each pager's own.
        const SheetScriptResult made = SheetScript::Apply(
            templ, {{"channels.F1.calls.2.tone1", "389.0"},
                    {"channels.F1.calls.2.tone2", "707.3"},
                    {"channels.F1.calls.3.tone1", "433.7"},
                    {"channels.F1.calls.3.tone2", "832.5"}});
        ASSERT_EQ(made.outcome, SheetScriptResult::Outcome::Changed) << made.error;
        CodeplugContext::Get().Reset();
    }

    RosterCheck Check(const std::string& csv) {
        Roster roster;
        roster.Parse(csv);
        return RosterCheck::Run(roster, templ);
    }
    static std::string All(const RosterCheck& c) {
        std::string text;
        for (const std::string& p : c.problems) text += p + "\n";
        return text;
    }

    CCodeplug templ;
};

TEST_F(RosterCheckTest, EachRowIsAppliedAsCalvexSetWouldApplyIt) {
    CodeplugContext::Get().toneSystem = TONE_PLECTRON;  // the program's own, kept
    const RosterCheck c = Check(
        "label,channels.F1.calls.1.tone1,channels.F1.calls.1.tone2,squelchLevel\n"
        "Engine 1,330.5,569.1,\n"
        "Engine 2,368.5,634.6,5\n");
    ASSERT_TRUE(c.Ok()) << All(c);
    EXPECT_EQ(CodeplugContext::Get().toneSystem, TONE_PLECTRON);
    ASSERT_EQ(c.codeplugs.size(), 2u);
    CodeplugContext::Get().Reset();
    const Image& one = c.codeplugs[0].GetImage();
    const Image& two = c.codeplugs[1].GetImage();
    EXPECT_NE(one, templ.GetImage());
    EXPECT_NE(one, two);
    // What the sheet makes of a typed tone: snapped onto the tone set.
    Roster again;
    again.Parse("channels.F1.calls.1.tone1,channels.F1.calls.1.tone2\n368.5,634.5\n");
    EXPECT_EQ(RosterCheck::Run(again, templ).codeplugs[0].GetToneTable(F1),
              c.codeplugs[1].GetToneTable(F1));
}

TEST_F(RosterCheckTest, ARefusedRowNamesTheRowTheKeyAndTheSheetsMessage) {
    const RosterCheck c = Check(
        "label,channels.F1.calls.1.tone1,channels.F1.calls.1.tone2,channels.F1.calls.1.alert\n"
        "Engine 1,330.5,569.1,Standard\n"
        "Engine 2,5000,,\n"
        "Engine 3,368.5,368.5,\n"
        "Engine 4,410.8,746.8,Loud\n");
    ASSERT_EQ(c.problems.size(), 3u) << All(c);
    EXPECT_EQ(c.problems[0],
              "row 3 (Engine 2): channels.F1.calls.1.tone1=5000: Calvex V HXR: Please enter a "
              "number between 280 and 3400.");
    // Two keys that are refused only together are both named.
    EXPECT_EQ(c.problems[1].rfind("row 4 (Engine 3): channels.F1.calls.1.tone1, "
                                  "channels.F1.calls.1.tone2 together: Calvex V HXR - Tone "
                                  "Frequency: Tone Frequency Error! Please check",
                                  0),
              0u)
        << c.problems[1];
    EXPECT_NE(c.problems[2].find("row 5 (Engine 4): "), std::string::npos);
    EXPECT_NE(c.problems[2].find("channels.F1.calls.1.alert: \"Loud\" is not one of"),
              std::string::npos)
        << c.problems[2];
}

TEST_F(RosterCheckTest, PagersThatCouldNotBePagedApartAreRefused) {
    // A slip: two rows typed with the same individual call.
    RosterCheck c = Check(
        "label,channels.F1.calls.1.tone1,channels.F1.calls.1.tone2\n"
        "Engine 1,330.5,569.1\n"
        "Engine 2,368.5,634.5\n"
        "Engine 3,330.5,569.1\n");
    ASSERT_EQ(c.problems.size(), 1u) << All(c);
    EXPECT_EQ(c.problems[0],
              "row 2 (Engine 1) shares its individual call 330.5 - 569.1 Hz on 152.0075 MHz (F1 "
              "call 1) with row 4 (Engine 3) (F1 call 1): those pagers could not be paged apart");

    // Listed with a refused row, not hidden by it.
    c = Check(
        "label,channels.F1.calls.1.tone1,channels.F1.calls.1.tone2\n"
        "Engine 1,330.5,569.1\n"
        "Engine 2,5000,569.1\n"
        "Engine 3,330.5,569.1\n");
    ASSERT_EQ(c.problems.size(), 2u) << All(c);
    EXPECT_EQ(c.problems[0].rfind("row 3 (Engine 2): channels.F1.calls.1.tone1=5000", 0), 0u);
    EXPECT_EQ(c.problems[1].rfind("row 2 (Engine 1) shares its individual call", 0), 0u);

    // A pager whose own call is the common call every other pager answers.
    c = Check(
        "label,channels.F1.calls.1.tone1,channels.F1.calls.1.tone2\n"
        "Engine 1,330.5,569.1\n"
        "Engine 2,389.0,707.3\n");
    ASSERT_EQ(c.problems.size(), 1u) << All(c);
    EXPECT_NE(c.problems[0].find("row 3 (Engine 2) shares its individual call 389.0 - 707.3 Hz "
                                 "on 152.0075 MHz (F1 call 1) with row 2 (Engine 1) (F1 call 2)"),
              std::string::npos)
        << c.problems[0];

    // A row with an empty cell keeps the template's call, which another row
    // gives its pager as well.
    c = Check(
        "label,channels.F1.calls.1.tone1,channels.F1.calls.1.tone2\n"
        "Engine 1,,\n"
        "Engine 2,368.5,634.5\n"
        "Engine 3,349.0,600.9\n");
    ASSERT_EQ(c.problems.size(), 1u) << All(c);
    EXPECT_NE(c.problems[0].find("row 4 (Engine 3) shares its individual call 349.0 - 600.9 Hz"),
              std::string::npos);
}

TEST_F(RosterCheckTest, SharedCallsOfTheTemplateAndOtherFrequenciesAreNoClash) {
    // Every pager keeps calls 2 to 4 of the template: shared on purpose.
    EXPECT_TRUE(Check("label,channels.F1.calls.1.tone1,channels.F1.calls.1.tone2\n"
                      "A,330.5,569.1\nB,368.5,634.5\nC,410.8,746.8\n")
                    .Ok());
    // Only the receiver frequency differs: the same call pages either pager
    // on its own frequency.
    const RosterCheck c = Check(
        "label,channels.F1.frequency,channels.F1.calls.1.tone1,channels.F1.calls.1.tone2\n"
        "A,152.0075,330.5,569.1\nB,152.0125,330.5,569.1\n");
    EXPECT_TRUE(c.Ok()) << All(c);
    // A roster that only labels its pagers clones the template into each.
    EXPECT_TRUE(Check("label\nA\nB\nC\n").Ok());
}

TEST_F(RosterCheckTest, TonesTheDecoderCannotTellApartAreTheSameCall) {
    // Under "User" tones stay as typed: 1000 and 1010 Hz are 1 % apart,
    // within the decoder's 1.55 %.
    const RosterCheck c = Check(
        "label,toneSystem,channels.F1.calls.1.tone1,channels.F1.calls.1.tone2\n"
        "A,User,1000,1300\n"
        "B,User,1010,1300\n"
        "C,User,1100,1300\n");
    ASSERT_EQ(c.problems.size(), 1u) << All(c);
    EXPECT_NE(c.problems[0].find("row 2 (A) shares its individual call 1000.4 - "),
              std::string::npos)
        << c.problems[0];
    EXPECT_NE(c.problems[0].find("with row 3 (B)"), std::string::npos);
}

TEST(FleetSample, TheShippedRosterFitsTheSampleTemplateAndPagers) {
    const std::string dir = std::string(CALVEX_SOURCE_DIR) + "/samples/";
    const auto templ = CDatFile::Read(dir + "vhf-two-frequency.dat");
    ASSERT_TRUE(templ.ok);
    CCodeplug plug;
    plug.SetImage(templ.parsed.image);
    FleetSession session;
    ASSERT_TRUE(session.Load(plug, dir + "fleet/roster.csv")) << session.Problems().front();
    EXPECT_TRUE(session.GetRoster().HasSerials());
    ASSERT_EQ(session.Rows().size(), 3u);
    for (int n = 1; n <= 3; ++n) {
        const auto pager = CDatFile::Read(dir + "fleet/pager-" + std::to_string(n) + ".dat");
        ASSERT_TRUE(pager.ok);
        EXPECT_TRUE(CDatFile::IsValid(pager.parsed.image));
        // The same model and codeplug version as the template.
        for (std::size_t at : {252u, 253u, 254u, 255u, 207u})
            EXPECT_EQ(pager.parsed.image[at], templ.parsed.image[at]) << n << " " << at;
        EXPECT_EQ(session.Rows()[static_cast<std::size_t>(n - 1)].roster.serial,
                  "136WJA010" + std::to_string(n));
    }
}

}  // namespace
