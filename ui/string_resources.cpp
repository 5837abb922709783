#include "ui/string_resources.h"

#include <QJsonDocument>
#include <QJsonObject>

#include "ui/resources.h"

namespace lumisk::ui {

std::string LoadString(int id) {
    const QJsonDocument table =
        QJsonDocument::fromJson(ReadResource(QStringLiteral("strings.json")));
    return table.object().value(QString::number(id)).toString().toStdString();
}

}  // namespace lumisk::ui
