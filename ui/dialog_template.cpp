#include "ui/dialog_template.h"

#include <algorithm>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "ui/resources.h"

namespace lumisk::ui {
namespace {

QStringList Strings(const QJsonValue& value) {
    QStringList strings;
    for (const QJsonValue& item : value.toArray()) {
        strings.append(item.toString());
    }
    return strings;
}

// Template coordinates are 16-bit, as in the binary templates they come from; anything outside
// that range is malformed, which also keeps the conversion to pixels clear of overflow.
constexpr int LowestCoordinate = -32768;
constexpr int HighestCoordinate = 32767;

std::optional<int> Coordinate(const QJsonValue& value, int lowest) {
    const int number = value.toInt(lowest - 1);
    if (number < lowest || number > HighestCoordinate) {
        return std::nullopt;
    }
    return number;
}

// Four integers [x, y, w, h] with w and h not negative; anything else is no rectangle.
std::optional<QRect> Rect(const QJsonValue& value) {
    const QJsonArray parts = value.toArray();
    if (parts.size() != 4) {
        return std::nullopt;
    }
    const auto x = Coordinate(parts[0], LowestCoordinate);
    const auto y = Coordinate(parts[1], LowestCoordinate);
    const auto w = Coordinate(parts[2], 0);
    const auto h = Coordinate(parts[3], 0);
    if (!x || !y || !w || !h) {
        return std::nullopt;
    }
    return QRect(*x, *y, *w, *h);
}

std::optional<ControlTemplate> Control(const QJsonValue& value) {
    const QJsonObject object = value.toObject();
    const std::optional<QRect> rect = Rect(object.value(QStringLiteral("rect")));
    if (!rect || !object.value(QStringLiteral("class")).isString()) {
        return std::nullopt;
    }
    ControlTemplate control;
    control.id = object.value(QStringLiteral("id")).toInt(-1);
    control.kind = object.value(QStringLiteral("class")).toString();
    control.text = object.value(QStringLiteral("text")).toString();
    control.rect = *rect;
    control.styles = Strings(object.value(QStringLiteral("styles")));
    control.items = Strings(object.value(QStringLiteral("items")));
    control.icon = object.value(QStringLiteral("icon")).toInt(0);
    return control;
}

}  // namespace

std::optional<DialogTemplate> ParseDialogTemplate(const QByteArray& json) {
    const QJsonObject object = QJsonDocument::fromJson(json).object();
    const QJsonArray size = object.value(QStringLiteral("size")).toArray();
    const auto width = Coordinate(size.at(0), 0);
    const auto height = Coordinate(size.at(1), 0);
    if (size.size() != 2 || !width || !height) {
        return std::nullopt;
    }
    DialogTemplate dialog;
    dialog.id = object.value(QStringLiteral("id")).toInt(0);
    dialog.caption = object.value(QStringLiteral("caption")).toString();
    dialog.size = QSize(*width, *height);
    const QJsonObject font = object.value(QStringLiteral("font")).toObject();
    dialog.fontFace = font.value(QStringLiteral("face")).toString(QStringLiteral("Arial"));
    dialog.fontPoints = std::clamp(font.value(QStringLiteral("points")).toInt(8), 1, 72);
    dialog.styles = Strings(object.value(QStringLiteral("styles")));
    dialog.extendedStyles = Strings(object.value(QStringLiteral("extendedStyles")));
    for (const QJsonValue& value : object.value(QStringLiteral("controls")).toArray()) {
        std::optional<ControlTemplate> control = Control(value);
        if (!control) {
            return std::nullopt;
        }
        dialog.controls.push_back(std::move(*control));
    }
    return dialog;
}

std::optional<DialogTemplate> LoadDialogTemplate(int templateId) {
    return ParseDialogTemplate(ReadResource(QStringLiteral("dialogs/%1.json").arg(templateId)));
}

}  // namespace lumisk::ui
