#include "fleet/CsvText.h"

#include <cctype>

namespace {

bool IsLineEnd(char c) {
    return c == '\r' || c == '\n';
}

// The line (from 1) of every problem found before parsing: not UTF-8, or a
// NUL byte, which only a binary file has. 0 when the text is clean.
int FirstBadLine(std::string_view text, bool& nul) {
    int line = 1;
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == 0) {
            nul = true;
            return line;
        }
        if (c == '\n' || (c == '\r' && (i + 1 >= n || text[i + 1] != '\n'))) ++line;
        if (c < 0x80) {
            ++i;
            continue;
        }
        int more = 0;
        unsigned min = 0;
        unsigned cp = 0;
        if ((c & 0xE0) == 0xC0) {
            more = 1, min = 0x80, cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            more = 2, min = 0x800, cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            more = 3, min = 0x10000, cp = c & 0x07;
        } else {
            return line;
        }
        if (i + static_cast<std::size_t>(more) >= n) return line;
        for (int k = 1; k <= more; ++k) {
            const auto d = static_cast<unsigned char>(text[i + k]);
            if ((d & 0xC0) != 0x80) return line;
            cp = (cp << 6) | (d & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return line;
        i += static_cast<std::size_t>(more) + 1;
    }
    return 0;
}

// The separator the first line uses most, outside quotes; a comma when it
// uses none (a roster of one column).
char DetectSeparator(std::string_view text) {
    int comma = 0, semicolon = 0, tab = 0;
    bool quoted = false;
    for (char c : text) {
        if (c == '"') quoted = !quoted;
        if (quoted) continue;
        if (IsLineEnd(c)) break;
        comma += c == ',';
        semicolon += c == ';';
        tab += c == '\t';
    }
    if (semicolon > comma && semicolon >= tab) return ';';
    if (tab > comma && tab > semicolon) return '\t';
    return ',';
}

std::string LineText(int line) {
    return "line " + std::to_string(line);
}

}  // namespace

CsvTable CsvText::Parse(std::string_view text) {
    CsvTable table;
    const auto fail = [&](std::string why) {
        table.ok = false;
        table.error = std::move(why);
        table.records.clear();
        return table;
    };
    if (text.size() > kMaxBytes) return fail("it is larger than 4 MB");
    if (text.size() >= 2 && ((text[0] == '\xFF' && text[1] == '\xFE') ||
                             (text[0] == '\xFE' && text[1] == '\xFF'))) {
        return fail("it is UTF-16 text; save it as \"CSV UTF-8\"");
    }
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    bool nul = false;
    if (const int bad = FirstBadLine(text, nul)) {
        return fail(nul ? LineText(bad) + " holds a NUL byte: this is no text file"
                        : LineText(bad) + " is not UTF-8 text; save the file as \"CSV UTF-8\"");
    }

    int line = 1;
    std::size_t i = 0;
    const std::size_t n = text.size();
    // "sep=;" on a line of its own, as Excel writes and reads it.
    const auto usable = [](char c) {
        return c == '\t' || (std::ispunct(static_cast<unsigned char>(c)) && c != '"');
    };
    if (n >= 5 && (text.substr(0, 4) == "sep=" || text.substr(0, 4) == "SEP=") &&
        usable(text[4]) && (n == 5 || IsLineEnd(text[5]))) {
        table.separator = text[4];
        i = 5;
        if (i < n && text[i] == '\r') ++i;
        if (i < n && text[i] == '\n') ++i;
        line = 2;
    } else {
        table.separator = DetectSeparator(text);
    }
    const char sep = table.separator;
    const auto blank = [sep](char c) { return c == ' ' || (c == '\t' && sep != '\t'); };

    while (i < n) {
        CsvRecord record;
        record.line = line;
        bool any = false;
        for (;;) {
            std::string cell;
            std::size_t j = i;
            while (j < n && blank(text[j])) ++j;
            if (j < n && text[j] == '"') {
                const int opened = line;
                i = j + 1;
                for (;;) {
                    if (i >= n)
                        return fail("the quoted cell that starts on " + LineText(opened) +
                                    " is never closed");
                    const char c = text[i];
                    if (c == '"') {
                        if (i + 1 < n && text[i + 1] == '"') {
                            cell += '"';
                            i += 2;
                            continue;
                        }
                        ++i;
                        break;
                    }
                    if (IsLineEnd(c)) {
                        // A line break inside a cell is kept as one "\n".
                        cell += '\n';
                        ++line;
                        if (c == '\r' && i + 1 < n && text[i + 1] == '\n') ++i;
                        ++i;
                        continue;
                    }
                    cell += c;
                    ++i;
                }
                while (i < n && blank(text[i])) ++i;
                if (i < n && text[i] != sep && !IsLineEnd(text[i]))
                    return fail(LineText(line) + " has text after the closing quote of a cell");
            } else {
                const std::size_t start = i;
                while (i < n && text[i] != sep && !IsLineEnd(text[i])) ++i;
                std::size_t a = start, b = i;
                while (a < b && blank(text[a])) ++a;
                while (b > a && blank(text[b - 1])) --b;
                cell.assign(text.substr(a, b - a));
            }
            any = any || !cell.empty();
            record.cells.push_back(std::move(cell));
            if (i < n && text[i] == sep) {
                ++i;
                continue;
            }
            break;
        }
        if (i < n) {
            if (text[i] == '\r' && i + 1 < n && text[i + 1] == '\n') ++i;
            ++i;
            ++line;
        }
        if (any) table.records.push_back(std::move(record));
    }
    table.ok = true;
    return table;
}

std::string CsvText::Quote(const std::string& cell, char separator) {
    const bool plain =
        cell.find_first_of(std::string("\"\r\n") + separator) == std::string::npos &&
        (cell.empty() || (cell.front() != ' ' && cell.back() != ' ' && cell.front() != '\t' &&
                          cell.back() != '\t'));
    if (plain) return cell;
    std::string quoted = "\"";
    for (char c : cell) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

std::string CsvText::Line(const std::vector<std::string>& cells, char separator) {
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i) line += separator;
        line += Quote(cells[i], separator);
    }
    return line + "\r\n";
}
