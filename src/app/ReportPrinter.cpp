#include "app/ReportPrinter.h"

#include <QPagedPaintDevice>
#include <QPainter>

#include "app/QtCanvas.h"
#include "codeplug/CPagerData.h"
#include "report/ReportBuilder.h"
#include "report/ReportLayout.h"

namespace ReportPrinter {

void Draw(QPainter& painter, const CCodeplug& plug, CPagerData& pager, const std::string& path) {
    CodeplugReport report = BuildCodeplugReport(plug, pager, path);
    painter.setPen(Qt::black);
    QtCanvas canvas(painter);
    DrawCodeplugReport(canvas, report);
}

bool Print(QPagedPaintDevice& device, const CCodeplug& plug, CPagerData& pager,
           const std::string& path) {
    QPainter painter;
    if (!painter.begin(&device)) return false;
    // The painter's own font, measured at the device's resolution; no
    // mapping mode, so the layout is in the printer's pixels.
    Draw(painter, plug, pager, path);
    return painter.end();
}

}  // namespace ReportPrinter
