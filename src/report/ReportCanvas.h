#pragma once
// What the report and welcome page need from a drawing surface: text
// metrics and a text sink. The printer draws with real font metrics; the
// command line uses TextCanvas, where every character is one unit.
#include <string>

class ReportCanvas {
public:
    virtual ~ReportCanvas() = default;

    // Width of `text` in the canvas's current font.
    virtual int TextWidth(const std::string& text) const = 0;
    // Average character width of the current font (A).
    virtual int AverageCharWidth() const = 0;
    // Font height plus external leading (H); row r is drawn at y = r * H.
    virtual int LineHeight() const = 0;
    // Draws `text` with its top-left corner at (x, y).
    virtual void DrawText(int x, int y, const std::string& text) = 0;
};
