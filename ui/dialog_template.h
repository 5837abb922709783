#pragma once
// A dialog template: the window's caption, size, font and styles, and its controls in tab order.
// Sizes and positions are in dialog units.

#include <QByteArray>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace lumisk::ui {

struct ControlTemplate {
    int id = -1;
    QString kind;  // the control's class: "button", "listview", ...
    QString text;
    QRect rect;
    QStringList styles;
    QStringList items;
    int icon = 0;

    bool Has(const QString& style) const { return styles.contains(style); }
};

struct DialogTemplate {
    int id = 0;
    QString caption;
    QSize size;
    QString fontFace;
    int fontPoints = 8;
    QStringList styles;
    QStringList extendedStyles;
    std::vector<ControlTemplate> controls;

    bool Has(const QString& style) const { return styles.contains(style); }
};

// Nothing when the text is not a well-formed template.
std::optional<DialogTemplate> ParseDialogTemplate(const QByteArray& json);

// Template `templateId` from the resources.
std::optional<DialogTemplate> LoadDialogTemplate(int templateId);

}  // namespace lumisk::ui
