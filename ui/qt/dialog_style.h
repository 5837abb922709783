#pragma once
// The look of every dialog: the Fusion style, with a focus mark that shows on any background and
// drop-down lists that open below their field at the height the template gives them.

#include <QProxyStyle>

namespace lumisk::ui {

class DialogStyle final : public QProxyStyle {
    Q_OBJECT

public:
    DialogStyle();

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget) const override;
};

}  // namespace lumisk::ui
