// What screen readers meet on the Qt back end, read in the process through QAccessible as the
// AT-SPI bridge reads it, and the windows' colours when the desktop asks for high contrast.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QDBusVariant>
#include <QImage>
#include <QTimer>
#include <set>
#include <vector>

#include "tests/gui_support/gui_driver.h"
#include "tests/ui/probe_dialog.h"
#include "ui/message_box.h"
#include "ui/qt/desktop_contrast.h"

namespace lumisk::ui_test {
namespace {

using namespace gui_test;

QAccessibleInterface* Interface(QWidget* widget) {
    return QAccessible::queryAccessibleInterface(widget);
}

// Every interface below `root`, depth first.
std::vector<QAccessibleInterface*> Parts(QAccessibleInterface* root) {
    std::vector<QAccessibleInterface*> parts;
    for (int index = 0; index < root->childCount(); ++index) {
        if (QAccessibleInterface* child = root->child(index)) {
            parts.push_back(child);
            const std::vector<QAccessibleInterface*> below = Parts(child);
            parts.insert(parts.end(), below.begin(), below.end());
        }
    }
    return parts;
}

TEST(Accessibility, EveryDialogAndMessageBoxNamesWhatAPersonWorksWith) {
    const std::set<QAccessible::Role> working = {QAccessible::PushButton,   QAccessible::ComboBox,
                                                 QAccessible::EditableText, QAccessible::Table,
                                                 QAccessible::ProgressBar,  QAccessible::Grouping};
    for (const int templateId : {MainTemplate, AboutTemplate, LoginTemplate, 139, 141}) {
        ProbeDialog dialog(templateId);
        RunDialog(dialog, [&] {
            EXPECT_FALSE(Interface(ActiveDialog())->text(QAccessible::Name).isEmpty());
            for (QAccessibleInterface* part : Parts(Interface(ActiveDialog()))) {
                EXPECT_TRUE(working.count(part->role()) == 0 ||
                            !part->text(QAccessible::Name).isEmpty())
                    << templateId << " role " << part->role();
            }
            if (templateId == 141) {
                dialog.Progress(1023).SetStep(40);
                dialog.Progress(1023).StepIt();
                EXPECT_EQ(Interface(FindControl(1023))->valueInterface()->currentValue(), 40);
            }
            QStringList said;
            QTimer::singleShot(50, [&said] {
                for (QAccessibleInterface* part :
                     Parts(Interface(QApplication::activeModalWidget())))
                    said.append(part->text(QAccessible::Name));
                QApplication::activeModalWidget()->close();
            });
            ui::ShowMessage(&dialog, "Failed to map drive.", "Error", ui::MessageIcon::Stop);
            EXPECT_TRUE(said.contains("Failed to map drive.") && said.contains("Error"))
                << said.join('|').toStdString();
            dialog.EndDialog(ui::IdCancel);
        });
    }
}

TEST(Accessibility, TheAddressFieldIsOneDottedTextAndTheListsAreTablesUnderTheirColumns) {
    ProbeDialog dialog(MainTemplate);
    RunDialog(dialog, [&] {
        dialog.Address(1006).SetAddress("192.0.2.20");
        QAccessibleInterface* field = Interface(FindControl(1006));
        EXPECT_EQ(field->role(), QAccessible::EditableText);
        EXPECT_EQ(field->text(QAccessible::Value), "192.0.2.20");
        const QImage unfocused = FindControl(1006)->grab().toImage();
        dialog.Address(1006).FocusOctet(2);
        ASSERT_EQ(FocusedOctet(1006), 2);
        EXPECT_NE(FindControl(1006)->grab().toImage(), unfocused) << "the focus shows";
        EXPECT_EQ(field->text(QAccessible::Description), "octet 3 of 4");
        TypeKeys("9.");
        EXPECT_EQ(field->textInterface()->text(0, -1), "192.0.9.20");
        EXPECT_EQ(field->textInterface()->cursorPosition(), 10);
        EXPECT_EQ(field->text(QAccessible::Description), "octet 4 of 4");

        ui::ListView list = dialog.List(1000);
        list.InsertColumn(0, "Name", 94);
        list.InsertColumn(1, "IP", 81);
        list.SetItemText(list.InsertItem(0, "NAS-Office"), 1, "192.0.2.20");
        QAccessibleTableInterface* table = Interface(FindControl(1000))->tableInterface();
        ASSERT_NE(table, nullptr);
        EXPECT_EQ(table->cellAt(0, 0)->text(QAccessible::Name), "NAS-Office");
        // Its column's heading; a cell's columnHeaderCells() would serve too, but Qt 6.4 makes a
        // new interface for each call that nobody frees.
        EXPECT_EQ(
            table->columnDescription(table->cellAt(0, 1)->tableCellInterface()->columnIndex()),
            "IP");
        EXPECT_EQ(table->cellAt(0, 1)->text(QAccessible::Name), "192.0.2.20");
        dialog.EndDialog(ui::IdCancel);
    });
}

TEST(Accessibility, AnnouncementsComeAsOneNotificationAndLeaveTheWindowAsItIs) {
    ProbeDialog dialog(MainTemplate);
    RunDialog(dialog, [&] {
        const QImage before = ActiveDialog()->grab().toImage();
        dialog.Announce("2 adapters found");
        dialog.Announce("NAS-Lab now has the address 192.0.2.77");
        QAccessibleInterface* notification =
            Interface(ActiveDialog()->findChild<QWidget*>(QStringLiteral("lumisk_announcer")));
        ASSERT_EQ(notification->role(), QAccessible::Notification);
        EXPECT_TRUE(WaitUntil([notification] { return !notification->state().invisible; }));
        EXPECT_EQ(notification->text(QAccessible::Name),
                  "2 adapters found. NAS-Lab now has the address 192.0.2.77");
        EXPECT_EQ(ActiveDialog()->grab().toImage(), before);
        dialog.EndDialog(ui::IdCancel);
    });
}

TEST(Accessibility, HighContrastOnTheDesktopGivesTheWindowsTheSystemsColours) {
    auto* desktop = qApp->findChild<ui::DesktopContrast*>();
    ASSERT_NE(desktop, nullptr);
    // The settings portal's signal, as the bus brings it.
    const auto portal = [desktop](const QString& group, const QString& key, const QVariant& value) {
        QDBusMessage signal = QDBusMessage::createSignal(
            "/org/freedesktop/portal/desktop", "org.freedesktop.portal.Settings", "SettingChanged");
        signal << group << key << QVariant::fromValue(QDBusVariant(value));
        desktop->SettingChanged(signal);
    };
    ProbeDialog dialog(MainTemplate);
    RunDialog(dialog, [&] {
        const auto colour = [] { return ActiveDialog()->palette().color(QPalette::Window); };
        const QColor system = QApplication::palette().color(QPalette::Window);
        ASSERT_NE(colour(), system);
        portal("org.freedesktop.appearance", "contrast", 1u);
        EXPECT_EQ(colour(), system);
        portal("org.freedesktop.appearance", "contrast", 0u);
        EXPECT_EQ(colour(), QColor(0, 98, 147));
        portal("org.gnome.desktop.a11y.interface", "high-contrast", true);
        EXPECT_EQ(colour(), system);
        portal("org.gnome.desktop.a11y.interface", "high-contrast", false);
        portal("org.gnome.desktop.interface", "gtk-theme", "HighContrastInverse");
        EXPECT_EQ(colour(), system);
        portal("org.gnome.desktop.interface", "gtk-theme", "Adwaita");
        dialog.EndDialog(ui::IdCancel);
    });
}

}  // namespace
}  // namespace lumisk::ui_test
