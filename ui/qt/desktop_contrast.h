#pragma once
// Whether the desktop asks for high contrast, as the freedesktop settings portal tells every
// application: its cross-desktop key org.freedesktop.appearance contrast (1: higher contrast),
// or GNOME's, which GNOME's portal serves too: org.gnome.desktop.a11y.interface high-contrast,
// and, before that key, a theme whose name begins with HighContrast (org.gnome.desktop.interface
// gtk-theme). Asked for at start without waiting and followed through the portal's
// SettingChanged signal; without a session bus or a portal the answer stays no.

#include <QDBusMessage>
#include <QObject>

namespace lumisk::ui {

class DesktopContrast final : public QObject {
    Q_OBJECT

public:
    explicit DesktopContrast(QObject* parent);

    bool High() const { return appearanceAsks_ || gnomeAsks_ || themeAsks_; }

signals:
    void Changed(bool high);

public slots:
    // The portal's signal, as the bus delivers it (group, key, value): a slot of this kind takes
    // it however the bus's types stand, where one of the arguments' types may miss it.
    void SettingChanged(const QDBusMessage& signal);

private:
    // Asks the portal for one setting; the answer goes to Take.
    void Ask(const QString& group, const QString& key, const QString& method);
    void Take(const QString& group, const QString& key, const QVariant& value);

    bool appearanceAsks_ = false;
    bool gnomeAsks_ = false;
    bool themeAsks_ = false;
};

}  // namespace lumisk::ui
