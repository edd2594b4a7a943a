#include "app/ReportPrinter.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <algorithm>

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

namespace {

// Lays the report out without drawing and notes how far right it reaches.
class ExtentCanvas : public ReportCanvas {
public:
    ExtentCanvas(const QFont& font, QPaintDevice* device) : m_metrics(font, device) {}
    int TextWidth(const std::string& text) const override {
        return m_metrics.horizontalAdvance(QString::fromStdString(text));
    }
    int AverageCharWidth() const override { return m_metrics.averageCharWidth(); }
    int LineHeight() const override { return m_metrics.height() + m_metrics.leading(); }
    void DrawText(int x, int, const std::string& text) override {
        m_right = std::max(m_right, x + TextWidth(text));
    }
    int Right() const { return m_right; }

private:
    QFontMetrics m_metrics;
    int m_right = 0;
};

}  // namespace

bool Print(QPagedPaintDevice& device, const CCodeplug& plug, CPagerData& pager,
           const std::string& path) {
    QPainter painter;
    if (!painter.begin(&device)) return false;
    // The painter's own font, measured at the device's resolution; no
    // mapping mode, so the layout is in the printer's pixels. Only when the
    // widest row would run off the paper is the font made smaller.
    CodeplugReport report = BuildCodeplugReport(plug, pager, path);
    QFont font = painter.font();
    for (int attempt = 0; attempt < 4; ++attempt) {
        ExtentCanvas extent(font, &device);
        DrawCodeplugReport(extent, report);
        if (extent.Right() <= device.width() || font.pointSizeF() <= 4) break;
        font.setPointSizeF(
            std::max(4.0, font.pointSizeF() * device.width() / extent.Right() * 0.98));
    }
    painter.setFont(font);
    painter.setPen(Qt::black);
    QtCanvas canvas(painter);
    DrawCodeplugReport(canvas, report);
    return painter.end();
}

}  // namespace ReportPrinter
