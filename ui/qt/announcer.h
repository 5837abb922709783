#pragma once
// Lines for screen readers that change nothing on the screen: a part of a window without size
// that screen readers meet as a notification, shown anew with each line. A line said while the
// window is hidden comes when it shows.

#include <QAccessibleWidget>
#include <QWidget>

namespace lumisk::ui {

class Announcer final : public QWidget {
    Q_OBJECT

public:
    explicit Announcer(QWidget* window);

    void Say(const QString& line);
    // What screen readers read now.
    const QString& Line() const { return line_; }

private:
    QString line_;
};

class AnnouncerAccessible final : public QAccessibleWidget {
public:
    explicit AnnouncerAccessible(Announcer* announcer)
        : QAccessibleWidget(announcer, QAccessible::Notification) {}

    QString text(QAccessible::Text kind) const override;
};

}  // namespace lumisk::ui
