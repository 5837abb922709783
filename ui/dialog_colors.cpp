#include "ui/dialog_colors.h"

#include <QApplication>
#include <QPalette>
#include <optional>

namespace lumisk::ui {
namespace {

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
    window.setPalette(palette);
}

}  // namespace lumisk::ui
