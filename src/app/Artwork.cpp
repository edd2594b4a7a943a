#include "app/Artwork.h"

#include <QFont>
#include <QPainter>

#include "app/CommandIds.h"
#include "app/PagerIcon.h"

namespace art {

namespace {

QPixmap Blank(int w, int h, QColor fill = Qt::transparent) {
    QPixmap pm(w, h);
    pm.fill(fill);
    return pm;
}

void Folder(QPainter& p) {
    p.setPen(QColor(120, 90, 10));
    p.setBrush(QColor(240, 200, 80));
    p.drawRect(1, 4, 13, 10);
    p.drawRect(1, 2, 5, 2);
    p.setBrush(QColor(255, 225, 120));
    QPolygon flap({QPoint(3, 7), QPoint(15, 7), QPoint(13, 14), QPoint(1, 14)});
    p.drawPolygon(flap);
}

void Disk(QPainter& p) {
    p.setPen(QColor(20, 30, 80));
    p.setBrush(QColor(40, 70, 160));
    p.drawRect(1, 1, 13, 13);
    p.setBrush(Qt::white);
    p.drawRect(4, 1, 7, 5);
    p.setBrush(QColor(200, 200, 200));
    p.drawRect(3, 9, 9, 5);
}

void Pager(QPainter& p, QColor body) {
    p.setPen(QColor(30, 30, 30));
    p.setBrush(body);
    p.drawRoundedRect(1, 3, 9, 12, 2, 2);
    p.setBrush(QColor(170, 220, 170));
    p.drawRect(3, 5, 5, 3);
}

void Arrow(QPainter& p, bool intoPc) {
    // Right-hand arrow: towards the PC (read) points right, towards the pager left.
    p.setPen(Qt::NoPen);
    p.setBrush(intoPc ? QColor(0, 140, 0) : QColor(200, 60, 0));
    QPolygon a = intoPc ? QPolygon({QPoint(10, 6), QPoint(13, 6), QPoint(13, 3), QPoint(16, 8),
                                    QPoint(13, 13), QPoint(13, 10), QPoint(10, 10)})
                        : QPolygon({QPoint(16, 6), QPoint(14, 6), QPoint(14, 3), QPoint(10, 8),
                                    QPoint(14, 13), QPoint(14, 10), QPoint(16, 10)});
    p.drawPolygon(a);
}

void Sheet(QPainter& p) {
    p.setPen(QColor(60, 60, 60));
    p.setBrush(Qt::white);
    p.drawRect(2, 1, 11, 14);
    p.setPen(QColor(60, 90, 170));
    for (int y = 4; y <= 12; y += 2) p.drawLine(4, y, 11, y);
}

void Gear(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(50, 50, 60));
    p.setBrush(QColor(150, 150, 165));
    for (int i = 0; i < 8; ++i) {
        p.save();
        p.translate(8, 8);
        p.rotate(i * 45);
        p.drawRect(-1, -7, 2, 3);
        p.restore();
    }
    p.drawEllipse(QPointF(8, 8), 5, 5);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(8, 8), 2, 2);
}

void Printer(QPainter& p) {
    p.setPen(QColor(40, 40, 40));
    p.setBrush(Qt::white);
    p.drawRect(4, 1, 8, 5);
    p.setBrush(QColor(170, 170, 170));
    p.drawRect(1, 6, 14, 6);
    p.setBrush(Qt::white);
    p.drawRect(4, 10, 8, 5);
    p.setPen(QColor(0, 160, 0));
    p.drawPoint(13, 8);
}

void Question(QPainter& p, int x, int y, int size, QColor color) {
    QFont f;
    f.setPixelSize(size);
    f.setBold(true);
    p.setFont(f);
    p.setPen(color);
    p.drawText(QRect(x, y, size, size), Qt::AlignCenter, "?");
}

void About(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(20, 60, 140));
    p.setBrush(QColor(60, 120, 220));
    p.drawEllipse(1, 1, 14, 14);
    Question(p, 1, 1, 14, Qt::white);
}

void ContextHelp(QPainter& p) {
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    QPolygon cursor({QPoint(1, 1), QPoint(1, 12), QPoint(4, 9), QPoint(6, 14), QPoint(8, 13),
                     QPoint(6, 8), QPoint(10, 8)});
    p.drawPolygon(cursor);
    Question(p, 8, 2, 9, QColor(20, 60, 160));
}

// The 77 x 77 state pictures: a disc on white with a white sign.
QPixmap StateDisc(QColor disc, int sign) {
    QPixmap pm = Blank(77, 77, Qt::white);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(disc.darker(130));
    p.setBrush(disc);
    p.drawEllipse(QRectF(4.5, 4.5, 68, 68));
    QPen pen(Qt::white, 9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    switch (sign) {
        case IDB_RUNNING:
            p.drawLine(QPointF(22, 38.5), QPointF(55, 38.5));
            break;
        case IDB_SUCCESS:
            p.drawPolyline(QPolygonF({QPointF(22, 40), QPointF(34, 52), QPointF(56, 26)}));
            break;
        case IDB_FAILED:
            p.drawLine(QPointF(26, 26), QPointF(51, 51));
            p.drawLine(QPointF(51, 26), QPointF(26, 51));
            break;
    }
    return pm;
}

QPixmap Logo() {
    // A pager seen from the front, with the product name beside it.
    QPixmap pm = Blank(200, 120, Qt::white);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(25, 25, 35), 2));
    p.setBrush(QColor(45, 50, 70));
    p.drawRoundedRect(QRectF(8, 10, 70, 100), 12, 12);
    p.setBrush(QColor(150, 200, 150));
    p.drawRoundedRect(QRectF(16, 22, 54, 26), 4, 4);
    p.setPen(QColor(30, 60, 30));
    QFont small;
    small.setPixelSize(11);
    small.setBold(true);
    p.setFont(small);
    p.drawText(QRectF(16, 22, 54, 26), Qt::AlignCenter, "F1  F2");
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(220, 80, 40));
    p.drawEllipse(QRectF(22, 62, 14, 14));
    p.setBrush(QColor(200, 200, 210));
    p.drawEllipse(QRectF(50, 62, 14, 14));
    p.drawRoundedRect(QRectF(24, 88, 38, 8), 3, 3);
    QFont big;
    big.setPixelSize(26);
    big.setBold(true);
    p.setFont(big);
    p.setPen(QColor(180, 30, 30));
    p.drawText(QRectF(86, 20, 110, 34), Qt::AlignLeft | Qt::AlignVCenter, "Calvex");
    p.setPen(QColor(40, 50, 90));
    p.drawText(QRectF(86, 52, 110, 34), Qt::AlignLeft | Qt::AlignVCenter, "V HXR");
    QFont tag;
    tag.setPixelSize(11);
    p.setFont(tag);
    p.setPen(QColor(90, 90, 90));
    p.drawText(QRectF(86, 86, 112, 20), Qt::AlignLeft | Qt::AlignVCenter, "Two Tone Pager");
    return pm;
}

QPixmap AboutBitmap() {
    QPixmap pm = Blank(kIconGrid, kIconGrid, Qt::transparent);
    QPainter p(&pm);
    PaintPagerIcon(p, kIconGrid);
    return pm;
}

}  // namespace

QPixmap ToolbarPixmap(int commandId) {
    QPixmap pm = Blank(16, 16);
    QPainter p(&pm);
    switch (commandId) {
        case cmd::ID_FILE_OPEN:
            Folder(p);
            break;
        case cmd::ID_FILE_SAVE_AS:
            Disk(p);
            break;
        case cmd::ID_READ_PAGER:
            Pager(p, QColor(60, 60, 80));
            Arrow(p, true);
            break;
        case cmd::ID_WRITE_PAGER:
            Pager(p, QColor(60, 60, 80));
            Arrow(p, false);
            break;
        case cmd::ID_USER_DATA:
            Sheet(p);
            break;
        case cmd::ID_SYSTEM_SETUP:
            Gear(p);
            break;
        case cmd::ID_FILE_PRINT:
            Printer(p);
            break;
        case cmd::ID_APP_ABOUT:
            About(p);
            break;
        case cmd::ID_CONTEXT_HELP:
            ContextHelp(p);
            break;
        default:
            return {};
    }
    return pm;
}

QIcon ToolbarIcon(int commandId) {
    QPixmap pm = ToolbarPixmap(commandId);
    return pm.isNull() ? QIcon() : QIcon(pm);
}

QPixmap Bitmap(int resourceId) {
    switch (resourceId) {
        case IDB_RUNNING:
            return StateDisc(QColor(210, 30, 30), IDB_RUNNING);
        case IDB_SUCCESS:
            return StateDisc(QColor(245, 140, 20), IDB_SUCCESS);
        case IDB_FAILED:
            return StateDisc(QColor(210, 30, 30), IDB_FAILED);
        case IDB_LOGO:
            return Logo();
        case IDB_ABOUT:
            return AboutBitmap();
    }
    return {};
}

QIcon AppIcon() {
    // Each size drawn for itself, so a large task bar icon is not a blown-up 32.
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        QPixmap pm = Blank(size, size, Qt::transparent);
        QPainter p(&pm);
        PaintPagerIcon(p, size);
        p.end();
        icon.addPixmap(pm);
    }
    return icon;
}

}  // namespace art
