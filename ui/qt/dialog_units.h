#pragma once
// Dialog units, the measure of dialog templates: a quarter of the font's average character
// width across and an eighth of its height down, so a dialog scales with its font.

#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>

#include "ui/dialog_template.h"

namespace lumisk::ui {

// The font `face` at `points`, sized as at 96 dots per inch whatever the screen says, so a dialog
// has the same pixel layout everywhere. A missing Arial falls back to Liberation Sans, which has
// its metrics.
QFont DialogFont(const QString& face, int points);

class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);

    qreal BaseX() const { return baseX_; }
    int BaseY() const { return baseY_; }
    // Each edge maps on its own, so adjacent controls stay adjacent.
    QRect ToPixels(const QRect& units) const;
    QRect ToPixels(const TemplateRect& units) const;
    QSize ToPixels(const QSize& units) const;

private:
    int X(int units) const;
    int Y(int units) const;

    qreal baseX_;
    int baseY_;
};

}  // namespace lumisk::ui
