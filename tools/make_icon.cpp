// Draws the application's icon, a network storage adapter: a disk drive in the dialog blue with an
// activity light and a network cable. The drawing is laid out on 32x32 and scaled to the size
// asked for. Its outputs are kept in resources/:
//
//     make_icon resources/icon128.png
//     make_icon resources/icon128.ico      (the Windows programs' icon: every size Windows asks
//                                           for from 100 % to 200 % scaling, 256 as PNG)
//     make_icon resources/linux/icon-128px.png 128

#include <QBuffer>
#include <QDataStream>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr int DrawingSize = 32;

QImage DrawIcon(int size) {
    const QColor blue(0, 98, 147);
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(double(size) / DrawingSize, double(size) / DrawingSize);
    // The network cable leaves the adapter's back and runs down to the bottom edge.
    painter.setPen(QPen(QColor(40, 40, 40), 2.5, Qt::SolidLine, Qt::RoundCap));
    QPainterPath cable(QPointF(26, 16));
    cable.cubicTo(QPointF(31, 18), QPointF(31, 26), QPointF(24, 30));
    painter.drawPath(cable);

    // The drive's body, lit from above.
    QLinearGradient body(0, 6, 0, 26);
    body.setColorAt(0, blue.lighter(160));
    body.setColorAt(1, blue.darker(130));
    painter.setPen(QPen(blue.darker(170), 1));
    painter.setBrush(body);
    painter.drawRoundedRect(QRectF(2.5, 7.5, 25, 17), 3, 3);

    // Its platter seen through the top, and the front panel's light and slots.
    painter.setBrush(QColor(230, 240, 248));
    painter.setPen(QPen(blue.darker(150), 1));
    painter.drawEllipse(QRectF(6.5, 9.5, 13, 7));
    painter.setBrush(blue.darker(150));
    painter.drawEllipse(QRectF(12, 12, 2, 2));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(80, 220, 90));
    painter.drawEllipse(QRectF(21, 19, 3.5, 3.5));
    painter.setBrush(QColor(255, 255, 255, 170));
    for (int slot = 0; slot < 3; ++slot) {
        painter.drawRect(QRectF(6 + slot * 4, 20, 2.5, 2));
    }
    painter.end();
    return image;
}

// An image of an icon file in the form the system reads at any size: a 32-bit DIB, bottom-up, of
// twice the height (the colours, then the 1-bit mask that older releases draw with).
QByteArray DibImage(const QImage& image) {
    const int size = image.width();
    const int maskRowBytes = (size + 31) / 32 * 4;
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint32(40) << qint32(size) << qint32(2 * size) << quint16(1) << quint16(32)
        << quint32(0) << quint32(size * size * 4 + maskRowBytes * size) << qint32(0) << qint32(0)
        << quint32(0) << quint32(0);
    for (int y = size - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < size; ++x) {
            out << quint8(qBlue(row[x])) << quint8(qGreen(row[x])) << quint8(qRed(row[x]))
                << quint8(qAlpha(row[x]));
        }
    }
    for (int y = size - 1; y >= 0; --y) {
        std::vector<quint8> mask(maskRowBytes, 0);
        for (int x = 0; x < size; ++x) {
            if (qAlpha(image.pixel(x, y)) == 0) {
                mask[x / 8] |= quint8(0x80 >> (x % 8));
            }
        }
        out.writeRawData(reinterpret_cast<const char*>(mask.data()), maskRowBytes);
    }
    return bytes;
}

QByteArray PngImage(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// A Windows icon file with one image per size; 256 and more as PNG, as Vista and later read them.
bool WriteIconFile(const QString& path) {
    constexpr int Sizes[] = {16, 20, 24, 32, 40, 48, 64, 256};
    constexpr int PngFrom = 256;
    constexpr int HeaderBytes = 6;
    constexpr int EntryBytes = 16;
    std::vector<QByteArray> images;
    for (const int size : Sizes) {
        const QImage image = DrawIcon(size);
        images.push_back(size >= PngFrom ? PngImage(image) : DibImage(image));
    }
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint16(0) << quint16(1) << quint16(images.size());
    quint32 offset = HeaderBytes + EntryBytes * quint32(images.size());
    for (std::size_t index = 0; index < images.size(); ++index) {
        // A width or height of 256 is written as 0.
        const auto side = quint8(Sizes[index] % 256);
        out << side << side << quint8(0) << quint8(0) << quint16(1) << quint16(32)
            << quint32(images[index].size()) << offset;
        offset += quint32(images[index].size());
    }
    for (const QByteArray& image : images) {
        bytes.append(image);
    }
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

}  // namespace

int main(int argc, char** argv) {
    const int size = argc == 3 ? std::atoi(argv[2]) : DrawingSize;
    if (argc < 2 || argc > 3 || size < 16 || size > 1024) {
        std::fprintf(stderr,
                     "usage: make_icon OUTPUT.png [SIZE, 16 to 1024, default 32]\n"
                     "       make_icon OUTPUT.ico\n");
        return 2;
    }
    QGuiApplication application(argc, argv);
    const QString path = QString::fromLocal8Bit(argv[1]);
    if (path.endsWith(".ico", Qt::CaseInsensitive)) {
        return WriteIconFile(path) ? 0 : 1;
    }
    return DrawIcon(size).save(path) ? 0 : 1;
}
