#include "ui/qt/dialog_colors.h"

#include <QApplication>
#include <QGroupBox>
#include <QPalette>
#include <optional>

#include "ui/qt/drop_down_list.h"
#include "ui/qt/report_view.h"

namespace lumisk::ui {
namespace {

// Greyed text on fields and buttons, the native grey: legible (over 4:1) on their faces.
const QColor GreyedText(0x6d, 0x6d, 0x6d);
// Marks the windows ApplyDialogColors coloured, which follow a change of contrast.
constexpr char ColouredProperty[] = "lumiskDialogColours";

struct Colors {
    QColor background;
    QColor text;
};

// Set and read on the GUI thread only.
std::optional<Colors>& DialogColors() {
    static std::optional<Colors> colors;
    return colors;
}

bool highContrast = false;

QColor ToColor(Rgb rgb) {
    return QColor(rgb.red, rgb.green, rgb.blue);
}

// Gives `to` the colour of `from` in every colour group of the widget's palette, as inherited
// from its window.
void CopyColor(QWidget& widget, QPalette::ColorRole from, QPalette::ColorRole to) {
    widget.setPalette(QPalette());
    QPalette palette = widget.palette();
    for (const QPalette::ColorGroup group :
         {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, to, palette.color(group, from));
    }
    widget.setPalette(palette);
}

// Scroll bars draw their arrows in the window-text colour, the dialog's white, which is lost on
// their light face; in a list, and the list a drop-down opens, they take the list's text colour.
// The etched group-box frame writes its title in the colour of edit-field text; the window's text
// colour is the one that shows on the window.
void KeepControlsLegible(QWidget& window) {
    for (QWidget* list : window.findChildren<QWidget*>()) {
        if (qobject_cast<ReportView*>(list) != nullptr ||
            qobject_cast<DropDownList*>(list) != nullptr) {
            CopyColor(*list, QPalette::Text, QPalette::WindowText);
        } else if (qobject_cast<QGroupBox*>(list) != nullptr) {
            CopyColor(*list, QPalette::WindowText, QPalette::Text);
        }
    }
}

}  // namespace

void SetDialogPalette(Rgb background, Rgb text) {
    DialogColors() = Colors{ToColor(background), ToColor(text)};
}

void UseHighContrast(bool on) {
    highContrast = on;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->property(ColouredProperty).toBool()) {
            ApplyDialogColors(*window);
        }
    }
}

void ApplyDialogColors(QWidget& window) {
    window.setProperty(ColouredProperty, true);
    QPalette palette = QApplication::palette();
    const std::optional<Colors>& colors = DialogColors();
    if (colors && !highContrast) {
        for (const QPalette::ColorGroup group :
             {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            palette.setColor(group, QPalette::Window, colors->background);
            palette.setColor(group, QPalette::WindowText, colors->text);
        }
        palette.setColor(QPalette::Disabled, QPalette::Text, GreyedText);
        palette.setColor(QPalette::Disabled, QPalette::ButtonText, GreyedText);
    }
    window.setPalette(palette);
    KeepControlsLegible(window);
}

}  // namespace lumisk::ui
