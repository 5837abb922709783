// What screen readers meet on the Qt back end, read in the process through QAccessible, as the
// AT-SPI bridge reads it: every dialog's controls with roles and names, the address field as one
// text, the lists as tables, message boxes, announcements; and the keyboard focus and the
// desktop's high contrast as a person sees them.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QImage>
#include <QTimer>
#include <vector>

#include "tests/gui_support/gui_driver.h"
#include "tests/ui/probe_dialog.h"
#include "ui/message_box.h"
#include "ui/qt/desktop_contrast.h"

namespace lumisk::ui_test {
namespace {

using namespace gui_test;

constexpr int RestartTemplate = 141;
constexpr int LanguageTemplate = 139;

bool TakesPartInTheWork(QAccessible::Role role) {
    switch (role) {
        case QAccessible::PushButton:
        case QAccessible::ComboBox:
        case QAccessible::EditableText:
        case QAccessible::Table:
        case QAccessible::ProgressBar:
        case QAccessible::Grouping:
            return true;
        default:
            return false;
    }
}

// Every interface below `root`, depth first.
void Collect(QAccessibleInterface* root, std::vector<QAccessibleInterface*>& found) {
    for (int index = 0; index < root->childCount(); ++index) {
        if (QAccessibleInterface* child = root->child(index)) {
            found.push_back(child);
            Collect(child, found);
        }
    }
}

QAccessibleInterface* Interface(int id) {
    return QAccessible::queryAccessibleInterface(FindControl(id));
}

TEST(Accessibility, EveryControlOfEveryDialogHasARoleAndAName) {
    for (const int templateId :
         {MainTemplate, AboutTemplate, LoginTemplate, LanguageTemplate, RestartTemplate}) {
        ProbeDialog dialog(templateId);
        RunDialog(dialog, [&] {
            QAccessibleInterface* window = QAccessible::queryAccessibleInterface(ActiveDialog());
            EXPECT_FALSE(window->text(QAccessible::Name).isEmpty()) << templateId;
            std::vector<QAccessibleInterface*> found;
            Collect(window, found);
            int working = 0;
            for (QAccessibleInterface* part : found) {
                if (TakesPartInTheWork(part->role())) {
                    ++working;
                    EXPECT_FALSE(part->text(QAccessible::Name).isEmpty())
                        << templateId << " role " << part->role();
                }
            }
            EXPECT_GT(working, 0) << templateId;
            dialog.EndDialog(ui::IdCancel);
        });
    }
    ProbeDialog dialog(MainTemplate);
    RunDialog(dialog, [&] {
        const struct {
            int id;
            QAccessible::Role role;
            const char* name;
        } expected[] = {{1000, QAccessible::Table, "Network Storage Devices"},
                        {1006, QAccessible::EditableText, "IP"},
                        {1015, QAccessible::ComboBox, "Receive DHCP"},
                        {1002, QAccessible::PushButton, "Refresh"}};
        for (const auto& control : expected) {
            EXPECT_EQ(Interface(control.id)->role(), control.role) << control.id;
            EXPECT_EQ(Interface(control.id)->text(QAccessible::Name), control.name);
        }
        dialog.EndDialog(ui::IdCancel);
    });
}

TEST(Accessibility, TheAddressFieldIsOneTextOfTheDottedAddressReadOctetByOctet) {
    ProbeDialog dialog(MainTemplate);
    RunDialog(dialog, [&] {
        dialog.Address(1006).SetAddress("192.0.2.20");
        QAccessibleInterface* field = Interface(1006);
        EXPECT_EQ(field->text(QAccessible::Value), "192.0.2.20");
        ASSERT_NE(field->textInterface(), nullptr);
        EXPECT_EQ(field->textInterface()->text(0, -1), "192.0.2.20");
        dialog.Address(1006).FocusOctet(2);
        ASSERT_EQ(FocusedOctet(1006), 2);
        EXPECT_EQ(field->text(QAccessible::Description), "octet 3 of 4");
        int start = 0;
        int end = 0;
        field->textInterface()->selection(0, &start, &end);
        EXPECT_EQ(std::make_pair(start, end), std::make_pair(6, 7));
        TypeKeys("9.");
        EXPECT_EQ(field->textInterface()->text(0, -1), "192.0.9.20");
        EXPECT_EQ(field->text(QAccessible::Description), "octet 4 of 4");
        EXPECT_EQ(field->textInterface()->cursorPosition(), 10);
        // Its parts, where the focus goes, are read as parts of the field.
        QAccessibleInterface* octet = field->child(3);
        EXPECT_EQ(octet->text(QAccessible::Name), "IP");
        EXPECT_EQ(octet->text(QAccessible::Description), "octet 4 of 4");
        dialog.EndDialog(ui::IdCancel);
    });
}

TEST(Accessibility, ListsAreTablesWhoseCellsStandUnderTheirColumnNames) {
    ProbeDialog dialog(MainTemplate);
    RunDialog(dialog, [&] {
        ui::ListView list = dialog.List(1000);
        list.InsertColumn(0, "Name", 94);
        list.InsertColumn(1, "IP", 81);
        list.InsertItem(0, "NAS-Office");
        list.SetItemText(0, 1, "192.0.2.20");
        QAccessibleTableInterface* table = Interface(1000)->tableInterface();
        ASSERT_NE(table, nullptr);
        EXPECT_EQ(table->rowCount(), 1);
        EXPECT_EQ(table->columnDescription(1), "IP");
        EXPECT_EQ(table->cellAt(0, 0)->text(QAccessible::Name), "NAS-Office");
        QAccessibleInterface* address = table->cellAt(0, 1);
        EXPECT_EQ(address->text(QAccessible::Name), "192.0.2.20");
        const auto headers = address->tableCellInterface()->columnHeaderCells();
        ASSERT_EQ(headers.size(), 1);
        EXPECT_EQ(headers[0]->text(QAccessible::Name), "IP");
        dialog.EndDialog(ui::IdCancel);
    });
}

TEST(Accessibility, MessageBoxesSayTheirTextAndTheKindOfTheirIcon) {
    ProbeDialog dialog(MainTemplate);
    RunDialog(dialog, [&] {
        QStringList said;
        QTimer::singleShot(50, [&said] {
            QWidget* box = QApplication::activeModalWidget();
            std::vector<QAccessibleInterface*> found;
            Collect(QAccessible::queryAccessibleInterface(box), found);
            for (QAccessibleInterface* part : found) {
                said.append(part->text(QAccessible::Name));
            }
            box->close();
        });
        ui::ShowMessage(&dialog, "Failed to map drive.", "Error", ui::MessageIcon::Stop);
        EXPECT_TRUE(said.contains("Failed to map drive.")) << said.join('|').toStdString();
        EXPECT_TRUE(said.contains("Error")) << said.join('|').toStdString();
        dialog.EndDialog(ui::IdCancel);
    });
}

TEST(Accessibility, AnnouncementsReachScreenReadersAndLeaveTheWindowAsItIs) {
    ProbeDialog dialog(MainTemplate);
    RunDialog(dialog, [&] {
        const QImage before = ActiveDialog()->grab().toImage();
        // Said while one event is handled, the lines come as one notification, shown anew.
        dialog.Announce("2 adapters found");
        dialog.Announce("NAS-Lab now has the address 192.0.2.77");
        QAccessibleInterface* notification = QAccessible::queryAccessibleInterface(
            ActiveDialog()->findChild<QWidget*>(QStringLiteral("lumisk_announcer")));
        ASSERT_NE(notification, nullptr);
        EXPECT_EQ(notification->role(), QAccessible::Notification);
        EXPECT_TRUE(WaitUntil([notification] { return !notification->state().invisible; }));
        EXPECT_EQ(notification->text(QAccessible::Name),
                  "2 adapters found. NAS-Lab now has the address 192.0.2.77");
        EXPECT_EQ(ActiveDialog()->grab().toImage(), before);
        dialog.EndDialog(ui::IdCancel);
    });
}

TEST(Accessibility, TheKeyboardFocusShowsOnEveryControlThatTakesIt) {
    ProbeDialog dialog(MainTemplate);
    RunDialog(dialog, [&] {
        for (const int list : {1000, 1001}) {
            dialog.List(list).InsertColumn(0, "Name", 94);
            dialog.List(list).InsertItem(0, "row");
        }
        dialog.Combo(1013).AddString("D:");
        dialog.Address(1006).SetAddress("192.0.2.20");
        for (const int id : {1000, 1002, 1006, 1001, 1013, 1015}) {
            // Looked at with the focus elsewhere, then on it.
            ASSERT_TRUE(TabTo(1022));
            const QImage unfocused = FindControl(id)->grab().toImage();
            ASSERT_TRUE(TabTo(id));
            EXPECT_NE(FindControl(id)->grab().toImage(), unfocused) << id;
        }
        dialog.EndDialog(ui::IdCancel);
    });
}

TEST(Accessibility, HighContrastOnTheDesktopGivesTheWindowsTheSystemsColours) {
    auto* desktop = qApp->findChild<ui::DesktopContrast*>();
    ASSERT_NE(desktop, nullptr);
    ProbeDialog dialog(MainTemplate);
    RunDialog(dialog, [&] {
        const auto background = [] { return ActiveDialog()->palette().color(QPalette::Window); };
        const QColor dialogBlue(0, 98, 147);
        const QColor system = QApplication::palette().color(QPalette::Window);
        ASSERT_NE(system, dialogBlue);
        EXPECT_EQ(background(), dialogBlue);
        // As the portal's signal brings the settings.
        desktop->SettingChanged("org.freedesktop.appearance", "contrast", QDBusVariant(1u));
        EXPECT_EQ(background(), system);
        desktop->SettingChanged("org.freedesktop.appearance", "contrast", QDBusVariant(0u));
        EXPECT_EQ(background(), dialogBlue);
        desktop->SettingChanged("org.gnome.desktop.a11y.interface", "high-contrast",
                                QDBusVariant(true));
        EXPECT_EQ(background(), system);
        desktop->SettingChanged("org.gnome.desktop.a11y.interface", "high-contrast",
                                QDBusVariant(false));
        EXPECT_EQ(background(), dialogBlue);
        dialog.EndDialog(ui::IdCancel);
    });
}

}  // namespace
}  // namespace lumisk::ui_test
