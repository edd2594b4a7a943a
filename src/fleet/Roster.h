#pragma once
// A roster: one row per pager of a fleet. Its header names the columns: an
// optional "serial" (the pager's serial number as `calvex show` prints it),
// an optional "label" (the person or vehicle) and any number of keys that
// `calvex set` takes, whose cells are what that pager gets instead of the
// template's value. An empty cell keeps the template's value.
#include <string>
#include <string_view>
#include <vector>

#include "editor/pages/SheetScript.h"

struct RosterRow {
    int row = 0;  // the row a spreadsheet shows: the header is row 1
    std::string serial;
    std::string label;
    std::vector<SheetChange> changes;  // the row's non-empty key cells, in column order
};

class Roster {
public:
    // Reads a roster file. False when it cannot be used, with every problem
    // the file has in Problems() (the columns and every row are looked at
    // before giving up; a file that is no CSV at all gives one problem).
    bool Read(const std::string& path);
    bool Parse(std::string_view text);

    const std::vector<std::string>& Problems() const { return m_problems; }
    bool HasSerials() const { return m_hasSerial; }
    bool HasLabels() const { return m_hasLabel; }
    // The key columns, in file order.
    const std::vector<std::string>& Keys() const { return m_keys; }
    const std::vector<RosterRow>& Rows() const { return m_rows; }
    char Separator() const { return m_separator; }

    // "row 3 (Engine 2)", "row 3 (136WJA0002)" or "row 3".
    static std::string RowName(const RosterRow& row);
    // "key=value; key=value" of the row's changes ("" for none).
    static std::string ValuesText(const RosterRow& row);
    // A serial number as rows and pagers are matched by: without blanks,
    // upper case.
    static std::string SerialKey(std::string_view serial);

private:
    std::vector<std::string> m_problems;
    std::vector<std::string> m_keys;
    std::vector<RosterRow> m_rows;
    bool m_hasSerial = false;
    bool m_hasLabel = false;
    char m_separator = ',';
};
