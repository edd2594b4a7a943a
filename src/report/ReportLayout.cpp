#include "report/ReportLayout.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

using Texts = std::vector<std::string>;

class Painter {
public:
    explicit Painter(ReportCanvas& canvas)
        : m_canvas(canvas),
          H(canvas.LineHeight()),
          A(canvas.AverageCharWidth()) {}

    ReportCanvas& Canvas() { return m_canvas; }
    int Gap() const { return 8 * A; }
    int CellGap() const { return 2 * A; }
    int Average() const { return A; }

    int Width(const std::string& text) const { return m_canvas.TextWidth(text); }
    int Widest(const Texts& texts) const {
        int w = 0;
        for (const auto& t : texts) w = std::max(w, Width(t));
        return w;
    }
    // Empty texts draw nothing.
    void Draw(int x, int row, const std::string& text) {
        if (!text.empty()) m_canvas.DrawText(x, row * H, text);
    }
    void Rule(int row, char c, int count) { Draw(0, row, std::string(count, c)); }

    // A label/value column on consecutive rows; gives the x where the next
    // column's labels start.
    int Column(int x, int firstRow, const Texts& labels, const Texts& values) {
        const int valueX = x + Widest(labels);
        for (std::size_t i = 0; i < labels.size(); ++i) Draw(x, firstRow + int(i), labels[i]);
        for (std::size_t i = 0; i < values.size(); ++i) Draw(valueX, firstRow + int(i), values[i]);
        return valueX + Widest(values) + Gap();
    }

private:
    ReportCanvas& m_canvas;
    const int H;
    const int A;
};

const Texts kCallHeadings = {"TONE1", "TONE2", "C/S", "ALERT", "DUTY"};

Texts Cells(const ReportCallRow& row) {
    return {row.tone1, row.tone2, row.sequence, row.alert, row.duty};
}

// Offsets of the call table's sub-columns from the table's x, and the
// table's width.
struct TableGeometry {
    std::vector<int> offsets;
    int width = 0;
};

TableGeometry CallTableGeometry(Painter& p, const ReportChannel& ch) {
    TableGeometry g;
    int x = 0;
    for (std::size_t col = 0; col < kCallHeadings.size(); ++col) {
        int w = p.Width(kCallHeadings[col]);
        for (const ReportCallRow& row : ch.calls) w = std::max(w, p.Width(Cells(row)[col]));
        if (col > 0) x += p.CellGap();
        g.offsets.push_back(x);
        x += w;
    }
    g.width = x;
    return g;
}

void DrawCallTable(Painter& p, int x, const ReportChannel& ch, const TableGeometry& g) {
    for (std::size_t col = 0; col < kCallHeadings.size(); ++col) {
        p.Draw(x + g.offsets[col], report_row::kCallHeadings, kCallHeadings[col]);
    }
    for (std::size_t call = 0; call < ch.calls.size(); ++call) {
        const Texts cells = Cells(ch.calls[call]);
        for (std::size_t col = 0; col < cells.size(); ++col) {
            p.Draw(x + g.offsets[col], report_row::kFirstCall + int(call), cells[col]);
        }
    }
}

void DrawTitle(Painter& p, const std::string& path) {
    int x = 0;
    for (const std::string& piece :
         {std::string("Welcome to Corvane Tarnix HXR! (Filename: "), std::string("\""), path,
          std::string("\""), std::string(")")}) {
        p.Draw(x, report_row::kTitle, piece);
        x += p.Width(piece);
    }
}

void DrawHeader(Painter& p, const CodeplugReport& r) {
    int x = p.Column(0, report_row::kHeader, {"MODEL:", "SERIAL:", "SUB-BAND:"},
                     {r.model, r.serial, r.subBand});
    x = p.Column(x, report_row::kHeader, {"PLUG VER:", "PAGER VER:", "IF:"},
                 {r.plugVersion, r.pagerVersion, r.ifText});
    p.Column(x, report_row::kHeader, {"XTAL:", "SYSTEM:", "INJECTION:"},
             {r.crystal, r.system, r.injection});
}

void DrawChannels(Painter& p, const CodeplugReport& r) {
    Texts f1Labels = {"RCV FREQ1:", "CODING OPTION:", "ON/OFF DUTY:"};
    const Texts f2Labels = {"RCV FREQ2:", "CODING OPTION:", "ON/OFF DUTY:"};
    for (int call = 1; call <= 12; ++call) f1Labels.push_back("CALL" + std::to_string(call) + ":");

    int x = 0;
    for (int ch = 0; ch < 2; ++ch) {
        const ReportChannel& c = r.channels[ch];
        const Texts& labels = ch == 0 ? f1Labels : f2Labels;
        const Texts values = {c.frequency, c.codingOption, c.duty};
        const int valueX = x + p.Widest(labels);
        for (std::size_t i = 0; i < labels.size(); ++i) {
            // The call labels skip the headings row.
            const int row = i < 3 ? report_row::kChannels + int(i)
                                  : report_row::kFirstCall + int(i) - 3;
            p.Draw(x, row, labels[i]);
        }
        for (std::size_t i = 0; i < values.size(); ++i) {
            p.Draw(valueX, report_row::kChannels + int(i), values[i]);
        }
        const TableGeometry g = CallTableGeometry(p, c);
        DrawCallTable(p, valueX, c, g);
        x = valueX + std::max(p.Widest(values), g.width) + p.Gap();
    }
}

void DrawModelOptions(Painter& p, const CodeplugReport& r) {
    p.Draw(0, report_row::kModelOption, "MODEL OPTION:");
    Texts labels, values;
    for (const ReportLabelValue& lv : r.modelOptions) {
        labels.push_back(lv.label);
        values.push_back(lv.value);
    }
    p.Column(0, report_row::kModelOption + 1, labels, values);
}

void DrawFunctionSwitches(Painter& p, const CodeplugReport& r) {
    const int head = report_row::kFunctionSwitch;
    p.Draw(0, head, "FUNCTION SWITCH:");
    const Texts labels = {"WIDE BAND:", "MODE:", "ALERT TYPE:", "ON/OFF DUTY:", "PTL:"};
    for (std::size_t i = 0; i < labels.size(); ++i) p.Draw(0, head + 2 + int(i), labels[i]);

    int widestValue = 0;
    for (const ReportSwitch& s : r.switches) {
        widestValue = std::max(widestValue,
                               p.Widest({s.wideBand, s.mode, s.alertType, s.duty, s.ptl}));
    }
    const int pitch =
        std::max(p.Widest({"Selective Call F1:", "Selective Call F2:", "Probability Scan:",
                           "Priority Scan F1:"}),
                 widestValue + p.Average());
    const int x0 = p.Widest(labels);
    for (int pos = 0; pos < 4; ++pos) {
        const ReportSwitch& s = r.switches[pos];
        const int x = x0 + pos * pitch;
        p.Draw(x, head + 1, std::string("SW-") + char('A' + pos));
        const Texts values = {s.wideBand, s.mode, s.alertType, s.duty, s.ptl};
        for (std::size_t i = 0; i < values.size(); ++i) p.Draw(x, head + 2 + int(i), values[i]);
    }
}

// One advanced block from `row`; gives the x where the next block starts.
int DrawAdvancedBlock(Painter& p, int x, int row,
                      const std::vector<ReportAdvancedGroup>& groups) {
    Texts labels, values, ranges;
    for (const auto& g : groups) {
        for (const auto& r : g.rows) {
            labels.push_back(r.label);
            values.push_back(r.value);
            ranges.push_back(r.range);
        }
    }
    const int valueX = x + p.Widest(labels);
    const int rangeX = valueX + p.Widest(values) + p.Gap();
    for (const auto& g : groups) {
        p.Draw(x, row++, g.heading);
        for (const auto& r : g.rows) {
            p.Draw(x, row, r.label);
            p.Draw(valueX, row, r.value);
            p.Draw(rangeX, row, r.range);
            ++row;
        }
    }
    return rangeX + p.Widest(ranges) + p.Gap();
}

void DrawAdvanced(Painter& p, const CodeplugReport& r) {
    p.Draw(0, report_row::kAdvanced, "Advanced Engineer Data:");
    const int right = DrawAdvancedBlock(p, 0, report_row::kAdvanced + 1, r.advancedLeft);
    DrawAdvancedBlock(p, right, report_row::kAdvanced + 1, r.advancedRight);
    p.Rule(report_row::kAdvancedEnd, '=', 94);
}

}  // namespace

void DrawCodeplugReport(ReportCanvas& canvas, const CodeplugReport& report) {
    Painter p(canvas);
    DrawTitle(p, report.path);
    p.Rule(1, '=', 82);
    DrawHeader(p, report);
    p.Rule(5, '-', 82);
    DrawChannels(p, report);
    p.Rule(22, '-', 94);
    DrawModelOptions(p, report);
    p.Rule(34, '-', 94);
    DrawFunctionSwitches(p, report);
    p.Rule(42, '=', 94);
    if (report.engineer) DrawAdvanced(p, report);
}
