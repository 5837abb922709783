#include "ui/qt/announcer.h"

namespace lumisk::ui {

Announcer::Announcer(QWidget* window) : QWidget(window) {
    setObjectName(QStringLiteral("lumisk_announcer"));
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(0, 0, 0, 0);
    hide();
}

void Announcer::Say(const QString& line) {
    line_ = line;
    // Showing it again is what tells screen readers: they read a notification as it shows.
    hide();
    QAccessibleEvent renamed(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&renamed);
    show();
}

QString AnnouncerAccessible::text(QAccessible::Text kind) const {
    if (kind == QAccessible::Name) {
        return static_cast<const Announcer*>(widget())->Line();
    }
    return QAccessibleWidget::text(kind);
}

}  // namespace lumisk::ui
