#include "fleet/Roster.h"

#include <cctype>
#include <fstream>
#include <iterator>
#include <map>

#include "fleet/CsvText.h"
#include "ui/ScriptWords.h"

using ui::script::Lower;

namespace {

// "A" ... "Z", "AA" ...: the column as a spreadsheet names it.
std::string ColumnLetter(std::size_t index) {
    std::string name;
    for (std::size_t n = index + 1; n > 0; n = (n - 1) / 26)
        name.insert(name.begin(), static_cast<char>('A' + (n - 1) % 26));
    return name;
}

std::string Column(std::size_t index, const std::string& name) {
    return "column " + ColumnLetter(index) + (name.empty() ? "" : " \"" + name + "\"");
}

}  // namespace

bool Roster::Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        *this = Roster();
        m_problems.push_back("cannot read " + path);
        return false;
    }
    const std::string text((std::istreambuf_iterator<char>(in)), {});
    return Parse(text);
}

bool Roster::Parse(std::string_view text) {
    *this = Roster();
    const CsvTable table = CsvText::Parse(text);
    if (!table.ok) {
        m_problems.push_back(table.error);
        return false;
    }
    m_separator = table.separator;
    if (table.records.empty()) {
        m_problems.push_back(
            "the file is empty: it needs a header row naming the columns and a row per pager");
        return false;
    }

    enum class Role { Unnamed, Serial, Label, Key, Refused };
    const std::vector<std::string>& header = table.records.front().cells;
    std::vector<Role> roles(header.size(), Role::Refused);
    std::map<std::string, std::size_t> seen;
    for (std::size_t c = 0; c < header.size(); ++c) {
        const std::string& name = header[c];
        if (name.empty()) {
            roles[c] = Role::Unnamed;
            continue;
        }
        const std::string lower = Lower(name);
        const bool special = lower == "serial" || lower == "label";
        const std::string id = special ? lower : name;
        if (const auto [it, fresh] = seen.emplace(id, c); !fresh) {
            m_problems.push_back("the header names \"" + name + "\" twice (" +
                                 Column(it->second, "") + " and " + ColumnLetter(c) + ")");
            continue;
        }
        if (lower == "serial") {
            roles[c] = Role::Serial;
            m_hasSerial = true;
            continue;
        }
        if (lower == "label") {
            roles[c] = Role::Label;
            m_hasLabel = true;
            continue;
        }
        switch (SheetScript::Classify(name)) {
            case SheetKeyKind::Editable:
                roles[c] = Role::Key;
                m_keys.push_back(name);
                break;
            case SheetKeyKind::Factory:
                m_problems.push_back(Column(c, name) +
                                     " is factory data, which only the engineer tools change; a "
                                     "roster cannot set it");
                break;
            case SheetKeyKind::Derived:
                m_problems.push_back(Column(c, name) +
                                     " follows other fields and cannot be set; set the field it "
                                     "shows instead");
                break;
            case SheetKeyKind::Unknown:
                m_problems.push_back(Column(c, name) +
                                     " is neither serial, label nor a key of calvex set "
                                     "(calvex set --help lists the keys)");
                break;
        }
    }

    std::map<std::string, int> serials, labels;
    for (std::size_t r = 1; r < table.records.size(); ++r) {
        const CsvRecord& record = table.records[r];
        RosterRow row;
        row.row = record.line;
        const std::string name = "row " + std::to_string(row.row);
        for (std::size_t c = 0; c < record.cells.size(); ++c) {
            const std::string& cell = record.cells[c];
            if (cell.empty()) continue;
            if (c >= header.size()) {
                m_problems.push_back(name + " has a value in " + Column(c, "") +
                                     ", beyond the columns the header names");
                break;
            }
            switch (roles[c]) {
                case Role::Unnamed:
                    m_problems.push_back(name + " has a value in " + Column(c, "") +
                                         ", which the header leaves without a name");
                    break;
                case Role::Serial:
                    row.serial = cell;
                    break;
                case Role::Label:
                    row.label = cell;
                    break;
                case Role::Key:
                    row.changes.push_back({header[c], cell});
                    break;
                case Role::Refused:
                    break;
            }
        }
        if (m_hasSerial) {
            const std::string key = SerialKey(row.serial);
            if (key.empty()) {
                m_problems.push_back(name +
                                     " has no serial number; with a serial column every row "
                                     "needs one");
            } else if (const auto [it, fresh] = serials.emplace(key, row.row); !fresh) {
                m_problems.push_back("rows " + std::to_string(it->second) + " and " +
                                     std::to_string(row.row) + " have the same serial number " +
                                     row.serial);
            }
        }
        if (!row.label.empty()) {
            if (const auto [it, fresh] = labels.emplace(Lower(row.label), row.row); !fresh) {
                m_problems.push_back("rows " + std::to_string(it->second) + " and " +
                                     std::to_string(row.row) + " have the same label \"" +
                                     row.label + "\"");
            }
        }
        m_rows.push_back(std::move(row));
    }
    if (m_rows.empty()) m_problems.push_back("the roster has no rows below its header");
    return m_problems.empty();
}

std::string Roster::RowName(const RosterRow& row) {
    std::string name = "row " + std::to_string(row.row);
    if (!row.label.empty()) return name + " (" + row.label + ")";
    if (!row.serial.empty()) return name + " (" + row.serial + ")";
    return name;
}

std::string Roster::ValuesText(const RosterRow& row) {
    std::string text;
    for (const SheetChange& c : row.changes) {
        if (!text.empty()) text += "; ";
        text += c.key + "=" + c.value;
    }
    return text;
}

std::string Roster::SerialKey(std::string_view serial) {
    std::string key;
    for (char c : serial) {
        if (c == ' ' || c == '\t' || c == '\n') continue;
        key += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return key;
}
