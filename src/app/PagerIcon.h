#pragma once
// The program's icon, a pager seen from the front: the About bitmap, the
// window icon and the desktop's icons (SVG and PNG) are all drawn from this
// one description on a 32 x 32 design grid.
#include <QColor>
#include <QRectF>
#include <QString>
#include <vector>

class QPainter;

namespace art {

struct IconShape {
    enum Kind { RoundedRect, Rect, Ellipse } kind;
    QRectF box;
    double radius;      // RoundedRect only
    QColor fill;
    QColor stroke;      // invalid: no outline
    double strokeWidth;
};

constexpr int kIconGrid = 32;
const std::vector<IconShape>& PagerIconShapes();

// Draws the icon scaled to `size` x `size` pixels from the painter's origin.
void PaintPagerIcon(QPainter& p, int size);
// The same icon as a scalable SVG document.
QString PagerIconSvg();

}  // namespace art
