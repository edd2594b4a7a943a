// What a roster's columns and rows may hold, and that every problem of a
// file is listed at once.
#include <gtest/gtest.h>

#include "fleet/Roster.h"

namespace {

bool Lists(const Roster& r, const std::string& text) {
    for (const std::string& p : r.Problems())
        if (p.find(text) != std::string::npos) return true;
    return false;
}

TEST(Roster, ColumnsAreSerialLabelAndSetKeys) {
    Roster r;
    ASSERT_TRUE(r.Parse("Serial;LABEL;channels.F1.calls.1.tone1;channels.F1.calls.1.alert\n"
                        "136wja 0101;Engine 1;349.0;\n"
                        "136WJA0102;;368.5;Music 2\n"))
        << r.Problems().front();
    EXPECT_TRUE(r.HasSerials());
    EXPECT_TRUE(r.HasLabels());
    EXPECT_EQ(r.Keys(), (std::vector<std::string>{"channels.F1.calls.1.tone1",
                                                  "channels.F1.calls.1.alert"}));
    ASSERT_EQ(r.Rows().size(), 2u);
    const RosterRow& first = r.Rows()[0];
    EXPECT_EQ(first.row, 2);
    EXPECT_EQ(first.serial, "136wja 0101");
    EXPECT_EQ(Roster::SerialKey(first.serial), "136WJA0101");
    // An empty cell keeps the template's value: no change for it.
    ASSERT_EQ(first.changes.size(), 1u);
    EXPECT_EQ(first.changes[0].key, "channels.F1.calls.1.tone1");
    EXPECT_EQ(Roster::RowName(first), "row 2 (Engine 1)");
    EXPECT_EQ(Roster::RowName(r.Rows()[1]), "row 3 (136WJA0102)");
    EXPECT_EQ(Roster::ValuesText(r.Rows()[1]),
              "channels.F1.calls.1.tone1=368.5; channels.F1.calls.1.alert=Music 2");

    Roster plain;
    ASSERT_TRUE(plain.Parse("channels.F2.frequency\n154.43\n\n154.44\n"));
    EXPECT_FALSE(plain.HasSerials());
    EXPECT_EQ(Roster::RowName(plain.Rows()[1]), "row 4");
}

TEST(Roster, ListsEveryProblemOfTheFile) {
    Roster r;
    EXPECT_FALSE(r.Parse(
        "serial,label,model,channels.F1.used,chanels.F1.frequency,serial,,squelchLevel\n"
        "136WJA0101,Engine 1,,,,,,3\n"
        "136wja0101,engine 1,,,,,oops,4\n"
        ",Ladder,,,,,,\n"
        "136WJA0104,,,,,,,5,extra\n"));
    EXPECT_TRUE(Lists(r, "column C \"model\" is factory data"));
    EXPECT_TRUE(Lists(r, "column D \"channels.F1.used\" follows other fields"));
    EXPECT_TRUE(Lists(r, "column E \"chanels.F1.frequency\" is neither serial, label nor a key"));
    EXPECT_TRUE(Lists(r, "the header names \"serial\" twice (column A and F)"));
    EXPECT_TRUE(Lists(r, "row 3 has a value in column G, which the header leaves without a name"));
    EXPECT_TRUE(Lists(r, "rows 2 and 3 have the same serial number 136wja0101"));
    EXPECT_TRUE(Lists(r, "rows 2 and 3 have the same label \"engine 1\""));
    EXPECT_TRUE(Lists(r, "row 4 has no serial number"));
    EXPECT_TRUE(Lists(r, "row 5 has a value in column I, beyond the columns the header names"));
    EXPECT_EQ(r.Problems().size(), 9u);
    // The usable columns of the rows are still read, for the checks that follow.
    EXPECT_EQ(r.Rows().size(), 4u);
    EXPECT_EQ(r.Rows()[0].changes.size(), 1u);
}

TEST(Roster, AFileWithoutPagerRowsIsRefused) {
    Roster r;
    EXPECT_FALSE(r.Parse(""));
    EXPECT_TRUE(Lists(r, "the file is empty"));
    EXPECT_FALSE(r.Parse("serial,label\n\n"));
    EXPECT_TRUE(Lists(r, "the roster has no rows below its header"));
    EXPECT_FALSE(r.Parse("serial\n\"136WJA0101\n"));
    EXPECT_TRUE(Lists(r, "never closed"));
    EXPECT_FALSE(r.Read("/nonexistent/roster.csv"));
    EXPECT_TRUE(Lists(r, "cannot read /nonexistent/roster.csv"));
}

}  // namespace
