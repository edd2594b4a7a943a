#pragma once
// A canvas of fixed-width text: each character (UTF-8 code point) is one
// unit wide, the average width and the line height are 1. Drawing places
// characters into a grid of rows, so a laid-out page becomes plain text.
#include <string>
#include <vector>

#include "report/ReportCanvas.h"

class TextCanvas : public ReportCanvas {
public:
    // Coordinates beyond these are clipped, so hostile layouts cannot make
    // the grid grow without bound.
    static constexpr int kMaxColumns = 4096;
    static constexpr int kMaxRows = 4096;

    int TextWidth(const std::string& text) const override;
    int AverageCharWidth() const override { return 1; }
    int LineHeight() const override { return 1; }
    void DrawText(int x, int y, const std::string& text) override;

    // The rows drawn so far, each without trailing blanks, joined by "\n"
    // with a final "\n"; empty when nothing was drawn.
    std::string Text() const;
    // Row y without trailing blanks ("" for a row never drawn).
    std::string Row(int y) const;
    int RowCount() const { return static_cast<int>(m_rows.size()); }

private:
    // A row is a list of cells, one code point each ("" where nothing was
    // drawn).
    std::vector<std::vector<std::string>> m_rows;
};
