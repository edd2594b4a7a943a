// Writes the desktop's icon files from the program's own icon:
//   OUTDIR/scalable/apps/NAME.svg and OUTDIR/<n>x<n>/apps/NAME.png
// (the layout of the hicolor icon theme).
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <cstdio>

#include "app/PagerIcon.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: calvex_icon_files OUTDIR NAME\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    const QString name = QString::fromLocal8Bit(argv[2]);
    const auto fail = [](const QString& what) {
        std::fprintf(stderr, "calvex_icon_files: cannot write %s\n", qPrintable(what));
        return 1;
    };

    const QString svgDir = out + "/scalable/apps";
    QFile svg(svgDir + "/" + name + ".svg");
    if (!QDir().mkpath(svgDir) || !svg.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return fail(svg.fileName());
    svg.write(art::PagerIconSvg().toUtf8());
    svg.close();

    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString dir = QString("%1/%2x%2/apps").arg(out).arg(size);
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter p(&image);
        art::PaintPagerIcon(p, size);
        p.end();
        const QString file = dir + "/" + name + ".png";
        if (!QDir().mkpath(dir) || !image.save(file, "PNG")) return fail(file);
    }
    return 0;
}
