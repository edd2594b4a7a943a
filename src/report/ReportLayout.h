#pragma once
// Lays the codeplug report out on a canvas.
//
// Row r is drawn at y = r * H. Blocks of rows are label/value columns: a
// column's labels start at its x, its values at x + the widest label of the
// column, and the next column's labels start 8 * A to the right of the
// widest value of the previous column (H line height, A average character
// width, widths from the canvas).
//
// The channel section (rows 6 to 21) is two such columns. Channel F1's
// column has the labels "RCV FREQ1:", "CODING OPTION:", "ON/OFF DUTY:" and
// "CALL1:" to "CALL12:" at x 0; its values are the three channel values and,
// on rows 9 to 21, the call table (headings, then one row of cells per
// call), all starting at the same value x. Channel F2's column starts 8 * A
// right of the widest F1 value (the widest of the three values and the call
// table's width); its labels are "RCV FREQ2:", "CODING OPTION:",
// "ON/OFF DUTY:", and its call table starts at its value x, so each table
// sits under its channel's values.
//
// Within a call table the cells TONE1, TONE2, C/S, ALERT and DUTY are
// sub-columns: each starts 2 * A right of the widest entry (heading
// included) of the one before; a table's width is the sum.
//
// The function switch table has one value column per position, each as
// wide as the longest of "Selective Call F1:", "Selective Call F2:",
// "Probability Scan:" and "Priority Scan F1:" (or the widest value plus A,
// when a font makes that wider).
//
// The advanced engineer block is two blocks of three columns: labels,
// values, and the range texts, which start 8 * A right of the widest value;
// the right block starts 8 * A right of the left block's widest range text.
#include "report/CodeplugReport.h"
#include "report/ReportCanvas.h"

// Rows of the layout.
namespace report_row {
inline constexpr int kTitle = 0;
inline constexpr int kHeader = 2;
inline constexpr int kChannels = 6;
inline constexpr int kCallHeadings = 9;
inline constexpr int kFirstCall = 10;
inline constexpr int kModelOption = 23;
inline constexpr int kFunctionSwitch = 35;
inline constexpr int kAdvanced = 43;
inline constexpr int kAdvancedEnd = 63;
}  // namespace report_row

void DrawCodeplugReport(ReportCanvas& canvas, const CodeplugReport& report);
