#pragma once
// Whether the desktop asks for high contrast, as the freedesktop settings portal tells every
// application: its cross-desktop key org.freedesktop.appearance contrast (1: higher contrast),
// or GNOME's org.gnome.desktop.a11y.interface high-contrast, which GNOME's portal serves too.
// Asked for at start without waiting and followed through the portal's SettingChanged signal;
// without a session bus or a portal the answer stays no.

#include <QDBusVariant>
#include <QObject>

namespace lumisk::ui {

class DesktopContrast final : public QObject {
    Q_OBJECT

public:
    explicit DesktopContrast(QObject* parent);

    bool High() const { return appearanceAsks_ || gnomeAsks_; }

signals:
    void Changed(bool high);

public slots:
    // A setting as the portal gives it, in its signal or as the answer to a question.
    void SettingChanged(const QString& group, const QString& key, const QDBusVariant& value);

private:
    // Asks the portal for one setting; the answer comes to SettingChanged.
    void Ask(const QString& group, const QString& key, const QString& method);

    bool appearanceAsks_ = false;
    bool gnomeAsks_ = false;
};

}  // namespace lumisk::ui
