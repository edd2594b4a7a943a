#pragma once
// The report canvas on a QPainter: widths and line height come from the
// painter's font as measured on its device (the printer's metrics when
// printing), and texts are drawn with their top-left corner at (x, y).
#include <QFontMetrics>
#include <QPainter>

#include "report/ReportCanvas.h"

class QtCanvas : public ReportCanvas {
public:
    explicit QtCanvas(QPainter& painter)
        : m_painter(painter), m_metrics(painter.font(), painter.device()) {}

    int TextWidth(const std::string& text) const override {
        return m_metrics.horizontalAdvance(QString::fromStdString(text));
    }
    int AverageCharWidth() const override { return m_metrics.averageCharWidth(); }
    int LineHeight() const override { return m_metrics.height() + m_metrics.leading(); }
    void DrawText(int x, int y, const std::string& text) override {
        m_painter.drawText(x, y + m_metrics.ascent(), QString::fromStdString(text));
    }

private:
    QPainter& m_painter;
    QFontMetrics m_metrics;
};
