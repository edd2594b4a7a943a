#include "app/PagerIcon.h"

#include <QPainter>

namespace art {

const std::vector<IconShape>& PagerIconShapes() {
    static const std::vector<IconShape> shapes = {
        // case, display, the two keys
        {IconShape::RoundedRect, QRectF(6, 2, 20, 28), 4, QColor(45, 50, 70), QColor(25, 25, 35),
         1.5},
        {IconShape::Rect, QRectF(9, 6, 14, 8), 0, QColor(150, 200, 150), QColor(25, 25, 35), 1.5},
        {IconShape::Ellipse, QRectF(10, 18, 5, 5), 0, QColor(220, 80, 40), QColor(), 0},
        {IconShape::Ellipse, QRectF(17, 18, 5, 5), 0, QColor(200, 200, 210), QColor(), 0},
    };
    return shapes;
}

void PaintPagerIcon(QPainter& p, int size) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(double(size) / kIconGrid, double(size) / kIconGrid);
    for (const IconShape& s : PagerIconShapes()) {
        p.setPen(s.stroke.isValid() ? QPen(s.stroke, s.strokeWidth) : QPen(Qt::NoPen));
        p.setBrush(s.fill);
        switch (s.kind) {
            case IconShape::RoundedRect:
                p.drawRoundedRect(s.box, s.radius, s.radius);
                break;
            case IconShape::Rect:
                p.drawRect(s.box);
                break;
            case IconShape::Ellipse:
                p.drawEllipse(s.box);
                break;
        }
    }
    p.restore();
}

QString PagerIconSvg() {
    const auto num = [](double v) { return QString::number(v, 'g', 6); };
    QString svg = QString(
                      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%1\" "
                      "viewBox=\"0 0 %1 %1\">\n")
                      .arg(kIconGrid);
    for (const IconShape& s : PagerIconShapes()) {
        QString paint = QString("fill=\"%1\"").arg(s.fill.name());
        if (s.stroke.isValid())
            paint += QString(" stroke=\"%1\" stroke-width=\"%2\"")
                         .arg(s.stroke.name(), num(s.strokeWidth));
        const QRectF& b = s.box;
        switch (s.kind) {
            case IconShape::RoundedRect:
            case IconShape::Rect:
                svg += QString("  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\"")
                           .arg(num(b.x()), num(b.y()), num(b.width()), num(b.height()));
                if (s.kind == IconShape::RoundedRect)
                    svg += QString(" rx=\"%1\" ry=\"%1\"").arg(num(s.radius));
                break;
            case IconShape::Ellipse:
                svg += QString("  <ellipse cx=\"%1\" cy=\"%2\" rx=\"%3\" ry=\"%4\"")
                           .arg(num(b.center().x()), num(b.center().y()), num(b.width() / 2),
                                num(b.height() / 2));
                break;
        }
        svg += " " + paint + "/>\n";
    }
    return svg + "</svg>\n";
}

}  // namespace art
