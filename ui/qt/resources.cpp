#include "ui/qt/resources.h"

#include <QFile>

#include "ui/resource_data.h"

// Q_INIT_RESOURCE declares a function and so must be used outside any namespace.
static void InitCompiledResources() {
    Q_INIT_RESOURCE(resources);
}

namespace lumisk::ui {

void InitResources() {
    InitCompiledResources();
}

std::string ReadResourceData(const std::string& path) {
    QFile file(QStringLiteral(":/") + QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll().toStdString();
}

QPixmap IconResource(int iconId) {
    return QPixmap(QStringLiteral(":/icons/%1.png").arg(iconId));
}

}  // namespace lumisk::ui
