// Draws the application's icon, a network storage adapter: a disk drive in the dialog blue with an
// activity light and a network cable. The drawing is laid out on 32x32 and scaled to the size
// asked for. Run once per size; its outputs are kept in resources/.
//
//     make_icon resources/icon128.png
//     make_icon resources/icon128.ico      (the Windows program's icon resource)
//     make_icon resources/linux/icon-128px.png 128

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    constexpr int DrawingSize = 32;
    const int size = argc == 3 ? std::atoi(argv[2]) : DrawingSize;
    if (argc < 2 || argc > 3 || size < 16 || size > 1024) {
        std::fprintf(stderr, "usage: make_icon OUTPUT.png [SIZE, 16 to 1024, default 32]\n");
        return 2;
    }
    QGuiApplication application(argc, argv);
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
    return image.save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
