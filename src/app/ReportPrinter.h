#pragma once
// Prints the codeplug report: one page, laid out in the printer's pixels
// with the printer's font metrics (print, print preview and PDF alike).
#include <string>

class CCodeplug;
class CPagerData;
class QPagedPaintDevice;
class QPainter;

namespace ReportPrinter {

// Decodes `plug` into `pager` (refreshing the shared codeplug values) and
// draws the report on a new page of `device`. False when painting could not
// start (e.g. the PDF file cannot be written).
bool Print(QPagedPaintDevice& device, const CCodeplug& plug, CPagerData& pager,
           const std::string& path);
// Draws on a painter that is already active.
void Draw(QPainter& painter, const CCodeplug& plug, CPagerData& pager, const std::string& path);

}  // namespace ReportPrinter
