// Spreadsheet CSV as a technician's roster comes: encodings, separators,
// quoting, line ends, and the faults that make a file no roster at all.
#include <gtest/gtest.h>

#include "fleet/CsvText.h"

namespace {

using Cells = std::vector<std::string>;

std::vector<Cells> Rows(const CsvTable& t) {
    std::vector<Cells> rows;
    for (const CsvRecord& r : t.records) rows.push_back(r.cells);
    return rows;
}

TEST(CsvText, TakesWhatSpreadsheetsSave) {
    // LibreOffice with a semicolon, Excel's "CSV UTF-8" with its mark and CRLF.
    const CsvTable semi = CsvText::Parse("serial;label\n136WJA0101;Müller, Anna\n");
    ASSERT_TRUE(semi.ok) << semi.error;
    EXPECT_EQ(semi.separator, ';');
    EXPECT_EQ(Rows(semi), (std::vector<Cells>{{"serial", "label"}, {"136WJA0101", "Müller, Anna"}}));

    const CsvTable excel = CsvText::Parse("\xEF\xBB\xBFserial,label\r\n136WJA0101,Engine 1\r\n");
    ASSERT_TRUE(excel.ok);
    EXPECT_EQ(excel.separator, ',');
    EXPECT_EQ(Rows(excel), (std::vector<Cells>{{"serial", "label"}, {"136WJA0101", "Engine 1"}}));

    // Excel's own hint line names the separator; old Macs end lines with CR.
    const CsvTable hinted = CsvText::Parse("sep=;\ra,b;c\r1;2\r");
    ASSERT_TRUE(hinted.ok);
    EXPECT_EQ(hinted.separator, ';');
    EXPECT_EQ(Rows(hinted), (std::vector<Cells>{{"a,b", "c"}, {"1", "2"}}));
    EXPECT_EQ(hinted.records[0].line, 2);

    const CsvTable tabs = CsvText::Parse("a\tb\n1\t 2 \n");
    EXPECT_EQ(Rows(tabs), (std::vector<Cells>{{"a", "b"}, {"1", "2"}}));
}

TEST(CsvText, QuotedCellsKeepSeparatorsQuotesAndLineBreaks) {
    const CsvTable t = CsvText::Parse(
        "label,note\n"
        "\"Smith; J.\",\"said \"\"hi\"\"\"\n"
        " \"two\r\nlines\" ,x\n"
        "last,\"\"\n");
    ASSERT_TRUE(t.ok) << t.error;
    EXPECT_EQ(Rows(t), (std::vector<Cells>{{"label", "note"},
                                           {"Smith; J.", "said \"hi\""},
                                           {"two\nlines", "x"},
                                           {"last", ""}}));
    // Records are numbered by the line they start on.
    EXPECT_EQ(t.records[2].line, 3);
    EXPECT_EQ(t.records[3].line, 5);
}

TEST(CsvText, BlankRowsAreSkippedAndCellsTrimmed) {
    const CsvTable t = CsvText::Parse("a , b\n\n;;\n,,\n  x  ,\n");
    ASSERT_TRUE(t.ok);
    // ";;" has no comma: one cell of text, kept; ",," is a row of empty cells.
    EXPECT_EQ(Rows(t), (std::vector<Cells>{{"a", "b"}, {";;"}, {"x", ""}}));
    EXPECT_EQ(t.records[2].line, 5);
    EXPECT_TRUE(CsvText::Parse("").ok);
    EXPECT_TRUE(CsvText::Parse("\xEF\xBB\xBF").records.empty());
}

TEST(CsvText, RefusesWhatIsNoRosterNamingTheLine) {
    struct Case {
        std::string text;
        std::string error;
    };
    const Case cases[] = {
        {"a,b\n\"open,1\n2,3\n", "the quoted cell that starts on line 2 is never closed"},
        {"a,b\n\"x\"y,1\n", "line 2 has text after the closing quote of a cell"},
        {"a\nb\nM\xFCller\n", "line 3 is not UTF-8 text; save the file as \"CSV UTF-8\""},
        {"a\n\xC0\xAF\n", "line 2 is not UTF-8 text"},          // overlong "/"
        {"a\n\xED\xA0\x80\n", "line 2 is not UTF-8 text"},      // a surrogate
        {"a\n\xE2\x82", "line 2 is not UTF-8 text"},             // cut short
        {"\xFF\xFE" "a\0,\0", "it is UTF-16 text"},
        {std::string("a,b\r\n1,\0\r\n", 10), "line 2 holds a NUL byte"},
        {std::string(CsvText::kMaxBytes + 1, 'x'), "larger than 4 MB"},
    };
    for (const Case& c : cases) {
        const CsvTable t = CsvText::Parse(c.text);
        EXPECT_FALSE(t.ok) << c.error;
        EXPECT_NE(t.error.find(c.error), std::string::npos) << t.error;
        EXPECT_TRUE(t.records.empty());
    }
}

TEST(CsvText, LinesItWritesReadBackCellForCell) {
    const Cells tricky = {"plain", "a,b", "semi;colon", "\"quoted\"", " padded ", "two\nlines",
                          "", "Müller"};
    for (char sep : {',', ';'}) {
        const std::string text = std::string("sep=") + sep + "\n" + CsvText::Line(tricky, sep) +
                                 CsvText::Line({"x"}, sep);
        const CsvTable t = CsvText::Parse(text);
        ASSERT_TRUE(t.ok) << t.error;
        ASSERT_EQ(t.records.size(), 2u);
        EXPECT_EQ(t.records[0].cells, tricky);
    }
    EXPECT_EQ(CsvText::Line({"a", "b c", "d,e"}), "a,b c,\"d,e\"\r\n");
}

}  // namespace
