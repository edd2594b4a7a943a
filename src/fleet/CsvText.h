#pragma once
// Comma-separated text as spreadsheets save it: UTF-8 with or without a byte
// order mark, a comma, semicolon or tab between cells (whichever the first
// line uses; an Excel "sep=;" line names it), cells in double quotes where
// they hold a separator, a quote or a line break, CRLF, LF or CR line ends.
#include <string>
#include <string_view>
#include <vector>

struct CsvRecord {
    int line = 0;  // where the record starts in the file, from 1
    std::vector<std::string> cells;
};

struct CsvTable {
    bool ok = false;
    std::string error;  // why not, naming the line
    char separator = ',';
    // Every record with at least one non-empty cell, in file order.
    std::vector<CsvRecord> records;
};

class CsvText {
public:
    // A larger file is no roster or log a technician keeps.
    static constexpr std::size_t kMaxBytes = 4 * 1024 * 1024;

    static CsvTable Parse(std::string_view text);

    // One line of cells joined by `separator` and ended by "\r\n", each
    // quoted when it has to be.
    static std::string Line(const std::vector<std::string>& cells, char separator = ',');
    static std::string Quote(const std::string& cell, char separator = ',');
};
