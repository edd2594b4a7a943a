#include "report/TextCanvas.h"

namespace {

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Splits UTF-8 text into code points; stray continuation bytes stay with the
// character before them, so any byte string has a defined width.
std::vector<std::string> CodePoints(const std::string& text) {
    std::vector<std::string> points;
    for (unsigned char c : text) {
        if (points.empty() || !IsContinuation(c)) points.emplace_back();
        points.back().push_back(static_cast<char>(c));
    }
    return points;
}

}  // namespace

int TextCanvas::TextWidth(const std::string& text) const {
    int width = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i == 0 || !IsContinuation(static_cast<unsigned char>(text[i]))) ++width;
    }
    return width;
}

void TextCanvas::DrawText(int x, int y, const std::string& text) {
    if (y < 0 || y >= kMaxRows) return;
    if (static_cast<int>(m_rows.size()) <= y) m_rows.resize(y + 1);
    std::vector<std::string>& row = m_rows[y];
    int col = x;
    for (std::string& point : CodePoints(text)) {
        if (col >= kMaxColumns) break;
        if (col >= 0) {
            if (static_cast<int>(row.size()) <= col) row.resize(col + 1);
            row[col] = std::move(point);
        }
        ++col;
    }
}

std::string TextCanvas::Row(int y) const {
    if (y < 0 || y >= static_cast<int>(m_rows.size())) return {};
    std::string line;
    for (const std::string& cell : m_rows[y]) line += cell.empty() ? " " : cell;
    const std::size_t end = line.find_last_not_of(' ');
    line.resize(end == std::string::npos ? 0 : end + 1);
    return line;
}

std::string TextCanvas::Text() const {
    std::string text;
    for (int y = 0; y < RowCount(); ++y) text += Row(y) + "\n";
    return text;
}
