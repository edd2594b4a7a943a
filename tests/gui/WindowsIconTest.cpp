// The Windows program's icon file is the program's own icon, drawn at each
// size Windows asks for. CALVEX_WRITE_ICON=1 draws the file afresh after a
// change of the icon.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QtEndian>
#include <algorithm>
#include <cstdlib>
#include <map>

#include "app/PagerIcon.h"

namespace {

const char* const kIconFile = CALVEX_SOURCE_DIR "/src/app/win32/CalvexVHXR.ico";
constexpr int kSizes[] = {16, 24, 32, 48, 64, 256};

QImage Drawn(int size) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    art::PaintPagerIcon(p, size);
    p.end();
    return image;
}

// An icon file of PNG images, as Windows Vista and later read them.
QByteArray IconFile() {
    QByteArray head, images;
    const auto u16 = [](QByteArray& b, quint16 v) {
        v = qToLittleEndian(v);
        b.append(reinterpret_cast<const char*>(&v), 2);
    };
    const auto u32 = [](QByteArray& b, quint32 v) {
        v = qToLittleEndian(v);
        b.append(reinterpret_cast<const char*>(&v), 4);
    };
    const int count = static_cast<int>(std::size(kSizes));
    u16(head, 0);
    u16(head, 1);
    u16(head, static_cast<quint16>(count));
    int offset = 6 + 16 * count;
    for (int size : kSizes) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        Drawn(size).save(&buffer, "PNG");
        head.append(char(size == 256 ? 0 : size));
        head.append(char(size == 256 ? 0 : size));
        head.append(char(0));
        head.append(char(0));
        u16(head, 1);
        u16(head, 32);
        u32(head, static_cast<quint32>(png.size()));
        u32(head, static_cast<quint32>(offset));
        offset += png.size();
        images += png;
    }
    return head + images;
}

TEST(WindowsIcon, IsTheProgramsIconAtEverySize) {
    if (std::getenv("CALVEX_WRITE_ICON")) {
        QFile out(kIconFile);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(IconFile());
    }
    QImageReader reader(kIconFile, "ico");
    std::map<int, QImage> found;
    for (int i = 0; i < reader.imageCount(); ++i) {
        ASSERT_TRUE(reader.jumpToImage(i));
        QImage image = reader.read().convertToFormat(QImage::Format_ARGB32);
        found[image.width()] = image;
    }
    for (int size : kSizes) {
        SCOPED_TRACE(size);
        ASSERT_TRUE(found.count(size)) << "no " << size << " px image in " << kIconFile;
        const QImage& have = found[size];
        const QImage want = Drawn(size);
        ASSERT_EQ(have.size(), want.size());
        int worst = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const QRgb a = have.pixel(x, y), b = want.pixel(x, y);
                worst =
                    std::max({worst, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                              std::abs(qBlue(a) - qBlue(b)), std::abs(qAlpha(a) - qAlpha(b))});
            }
        EXPECT_LE(worst, 2) << "the icon file differs from the program's icon; CALVEX_WRITE_ICON=1 "
                               "redraws it";
    }
}

}  // namespace
