#include "ui/resources.h"

#include <QFile>

// Q_INIT_RESOURCE declares a function and so must be used outside any namespace.
static void InitCompiledResources() {
    Q_INIT_RESOURCE(resources);
}

namespace lumisk::ui {

void InitResources() {
    InitCompiledResources();
}

QByteArray ReadResource(const QString& path) {
    QFile file(QStringLiteral(":/") + path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll();
}

QPixmap IconResource(int iconId) {
    return QPixmap(QStringLiteral(":/icons/%1.png").arg(iconId));
}

}  // namespace lumisk::ui
