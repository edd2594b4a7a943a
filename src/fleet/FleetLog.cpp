#include "fleet/FleetLog.h"

#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "fleet/CsvText.h"
#include "link/LocalTime.h"

namespace fs = std::filesystem;

std::vector<std::string> FleetLog::Header() {
    return {"time", "row", "serial", "label", "values", "result", "backup", "verify", "detail"};
}

std::string FleetLog::Now() {
    return LocalTimeText(std::chrono::system_clock::now(), "%Y-%m-%d %H:%M:%S");
}

bool FleetLog::Open(const std::string& path) {
    m_path = path;
    m_error.clear();
    m_entries.clear();
    std::error_code ec;
    if (fs::is_directory(path, ec)) {
        m_error = path + " is a folder";
        return false;
    }
    std::string text;
    if (fs::exists(path, ec)) {
        std::ifstream in(fs::path(path), std::ios::binary);
        if (!in) {
            m_error = "cannot read " + path;
            return false;
        }
        text.assign(std::istreambuf_iterator<char>(in), {});
    }
    const CsvTable table = CsvText::Parse(text);
    if (!table.ok) {
        m_error = path + " is no fleet log: " + table.error;
        return false;
    }
    std::string start;
    if (table.records.empty()) {
        // A spreadsheet opens UTF-8 text as such only with the mark.
        start = "\xEF\xBB\xBF" + CsvText::Line(Header());
    } else if (table.records.front().cells != Header()) {
        m_error = path + " is no fleet log: its first line is not " +
                  CsvText::Line(Header()).substr(0, CsvText::Line(Header()).size() - 2);
        return false;
    } else if (text.back() != '\n' && text.back() != '\r') {
        start = "\r\n";  // a hand-edited last line without its end
    }
    for (std::size_t r = 1; r < table.records.size(); ++r) {
        std::vector<std::string> cells = table.records[r].cells;
        cells.resize(Header().size());
        m_entries.push_back({cells[0], cells[1], cells[2], cells[3], cells[4], cells[5], cells[6],
                             cells[7], cells[8]});
    }
    // Find out now, before any pager is touched, whether the log can be kept.
    // An empty file (or one of blank lines) is started afresh.
    const auto mode = table.records.empty() ? std::ios::trunc : std::ios::app;
    std::ofstream out(fs::path(path), std::ios::binary | mode);
    out << start;
    out.flush();
    if (!out) {
        m_error = "cannot write " + path;
        return false;
    }
    return true;
}

bool FleetLog::Append(const FleetLogEntry& e) {
    {
        std::ofstream out(fs::path(m_path), std::ios::binary | std::ios::app);
        out << CsvText::Line({e.time, e.row, e.serial, e.label, e.values, e.result, e.backup,
                              e.verify, e.detail});
        out.close();
        if (!out) {
            m_error = "cannot write " + m_path;
            return false;
        }
    }
    m_entries.push_back(e);
    return true;
}
