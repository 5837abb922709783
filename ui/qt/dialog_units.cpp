#include "ui/qt/dialog_units.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <cmath>

namespace lumisk::ui {
namespace {

constexpr int DotsPerInch = 96;
constexpr int PointsPerInch = 72;

// a * b / c rounded half away from zero, like the Windows MulDiv that dialog units are defined by.
int MulDiv(int a, int b, int c) {
    return static_cast<int>(std::lround(static_cast<double>(a) * b / c));
}

}  // namespace

QFont DialogFont(const QString& face, int points) {
    const bool arialLike = face.compare(QStringLiteral("Arial"), Qt::CaseInsensitive) == 0;
    QFont font(arialLike && !QFontDatabase::hasFamily(face) ? QStringLiteral("Liberation Sans")
                                                            : face);
    font.setPixelSize(std::max(1, MulDiv(points, DotsPerInch, PointsPerInch)));
    return font;
}

DialogUnits::DialogUnits(const QFont& font) {
    // The average letter width as it is, not cut to whole pixels: text is laid out at the font's
    // exact advances, 6.41 pixels a letter at 8 points, and a base of 6 made every box 6 %
    // narrower than its text, so labels wrapped and lost their last word.
    const QFontMetricsF metrics(font);
    const qreal alphabetWidth = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    baseX_ = std::max<qreal>(1, alphabetWidth / 52);
    baseY_ = std::max(1, QFontMetrics(font).height());
}

int DialogUnits::X(int units) const {
    return static_cast<int>(std::lround(units * baseX_ / 4));
}

int DialogUnits::Y(int units) const {
    return MulDiv(units, baseY_, 8);
}

QRect DialogUnits::ToPixels(const QRect& units) const {
    const int left = X(units.x());
    const int top = Y(units.y());
    return QRect(left, top, X(units.x() + units.width()) - left,
                 Y(units.y() + units.height()) - top);
}

QRect DialogUnits::ToPixels(const TemplateRect& units) const {
    return ToPixels(QRect(units.x, units.y, units.width, units.height));
}

QSize DialogUnits::ToPixels(const QSize& units) const {
    return QSize(X(units.width()), Y(units.height()));
}

}  // namespace lumisk::ui
