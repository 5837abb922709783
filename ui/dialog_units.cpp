#include "ui/dialog_units.h"

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
    const QFontMetrics metrics(font);
    const int alphabetWidth = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    baseX_ = std::max(1, MulDiv(alphabetWidth, 1, 52));
    baseY_ = std::max(1, metrics.height());
}

int DialogUnits::X(int units) const {
    return MulDiv(units, baseX_, 4);
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

QSize DialogUnits::ToPixels(const QSize& units) const {
    return QSize(X(units.width()), Y(units.height()));
}

}  // namespace lumisk::ui
