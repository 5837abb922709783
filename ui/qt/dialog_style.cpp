#include "ui/qt/dialog_style.h"

#include <QPainter>
#include <QStyleFactory>
#include <QStyleOption>

namespace lumisk::ui {
namespace {

// How far inside its control the focus mark runs.
constexpr int FocusMarkInset = 3;

// A dotted rectangle in the control's text colour, as the native focus rectangle: it shows on
// the button face and the field alike, whatever the dialog's background.
void DrawFocusMark(QPainter& painter, const QRect& rect, const QColor& color) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(color, 1, Qt::DotLine));
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
    painter.restore();
}

}  // namespace

DialogStyle::DialogStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

int DialogStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                           QStyleHintReturn* returnData) const {
    // Fusion opens a drop-down list over its field, as tall as all its items; the native list
    // drops below it, as many rows as the template's height holds, with a scroll bar.
    if (hint == SH_ComboBox_Popup) {
        return 0;
    }
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

void DialogStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                              const QWidget* widget) const {
    QProxyStyle::drawControl(element, option, painter, widget);
    if (element == CE_PushButton && (option->state & State_HasFocus)) {
        DrawFocusMark(
            *painter,
            option->rect.adjusted(FocusMarkInset, FocusMarkInset, -FocusMarkInset, -FocusMarkInset),
            option->palette.color(QPalette::ButtonText));
    }
}

void DialogStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                     QPainter* painter, const QWidget* widget) const {
    QProxyStyle::drawComplexControl(control, option, painter, widget);
    if (control == CC_ComboBox && (option->state & State_HasFocus)) {
        const QRect field = subControlRect(control, option, SC_ComboBoxEditField, widget);
        DrawFocusMark(*painter, field.adjusted(-1, 1, 0, -1),
                      option->palette.color(QPalette::ButtonText));
    }
}

}  // namespace lumisk::ui
