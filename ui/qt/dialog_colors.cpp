#include "ui/qt/dialog_colors.h"

#include <QApplication>
#include <QPalette>
#include <optional>

namespace lumisk::ui {
namespace {

// Greyed text on fields and buttons, the native grey: legible (over 4:1) on their faces.
const QColor GreyedText(0x6d, 0x6d, 0x6d);

struct Colors {
    QColor background;
    QColor text;
};

// Set and read on the GUI thread only.
std::optional<Colors>& DialogColors() {
    static std::optional<Colors> colors;
    return colors;
}

QColor ToColor(Rgb rgb) {
    return QColor(rgb.red, rgb.green, rgb.blue);
}

}  // namespace

void SetDialogPalette(Rgb background, Rgb text) {
    DialogColors() = Colors{ToColor(background), ToColor(text)};
}

void ApplyDialogColors(QWidget& window) {
    const std::optional<Colors>& colors = DialogColors();
    if (!colors) {
        return;
    }
    QPalette palette = QApplication::palette();
    for (const QPalette::ColorGroup group :
         {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Window, colors->background);
        palette.setColor(group, QPalette::WindowText, colors->text);
    }
    palette.setColor(QPalette::Disabled, QPalette::Text, GreyedText);
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, GreyedText);
    window.setPalette(palette);
}

}  // namespace lumisk::ui
