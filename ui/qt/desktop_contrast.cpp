#include "ui/qt/desktop_contrast.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>

namespace lumisk::ui {
namespace {

const QString PortalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString PortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString SettingsInterface = QStringLiteral("org.freedesktop.portal.Settings");
const QString AppearanceGroup = QStringLiteral("org.freedesktop.appearance");
const QString ContrastKey = QStringLiteral("contrast");
const QString GnomeGroup = QStringLiteral("org.gnome.desktop.a11y.interface");
const QString GnomeKey = QStringLiteral("high-contrast");
const QString ThemeGroup = QStringLiteral("org.gnome.desktop.interface");
const QString ThemeKey = QStringLiteral("gtk-theme");
// GNOME's high-contrast themes: HighContrast and HighContrastInverse.
const QString HighContrastTheme = QStringLiteral("HighContrast");
// The appearance key's value for higher contrast (0: no preference).
constexpr uint HigherContrast = 1;

// ReadOne answers with the value; Read, which older portals have alone, wraps it once more.
QVariant Unwrapped(QVariant value) {
    while (value.canConvert<QDBusVariant>()) {
        value = qvariant_cast<QDBusVariant>(value).variant();
    }
    return value;
}

}  // namespace

DesktopContrast::DesktopContrast(QObject* parent) : QObject(parent) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        return;
    }
    bus.connect(PortalService, PortalPath, SettingsInterface, QStringLiteral("SettingChanged"),
                this, SLOT(SettingChanged(QDBusMessage)));
    Ask(AppearanceGroup, ContrastKey, QStringLiteral("ReadOne"));
    Ask(GnomeGroup, GnomeKey, QStringLiteral("ReadOne"));
    Ask(ThemeGroup, ThemeKey, QStringLiteral("ReadOne"));
}

void DesktopContrast::Ask(const QString& group, const QString& key, const QString& method) {
    QDBusMessage question =
        QDBusMessage::createMethodCall(PortalService, PortalPath, SettingsInterface, method);
    question << group << key;
    auto* answer =
        new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(question), this);
    connect(answer, &QDBusPendingCallWatcher::finished, this, [this, group, key, method, answer] {
        answer->deleteLater();
        const QDBusPendingReply<QDBusVariant> reply = *answer;
        if (!reply.isError()) {
            Take(group, key, reply.value().variant());
        } else if (reply.error().type() == QDBusError::UnknownMethod &&
                   method != QStringLiteral("Read")) {
            Ask(group, key, QStringLiteral("Read"));
        }
    });
}

void DesktopContrast::SettingChanged(const QDBusMessage& signal) {
    const QVariantList arguments = signal.arguments();
    if (arguments.size() == 3) {
        Take(arguments[0].toString(), arguments[1].toString(), arguments[2]);
    }
}

void DesktopContrast::Take(const QString& group, const QString& key, const QVariant& value) {
    const bool wasHigh = High();
    const QVariant setting = Unwrapped(value);
    if (group == AppearanceGroup && key == ContrastKey) {
        appearanceAsks_ = setting.toUInt() == HigherContrast;
    } else if (group == GnomeGroup && key == GnomeKey) {
        gnomeAsks_ = setting.toBool();
    } else if (group == ThemeGroup && key == ThemeKey) {
        themeAsks_ = setting.toString().startsWith(HighContrastTheme);
    } else {
        return;
    }
    if (High() != wasHigh) {
        emit Changed(High());
    }
}

}  // namespace lumisk::ui
