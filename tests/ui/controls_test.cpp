// The control handles: list views, address fields, drop-down lists, edit fields, progress bars,
// and all of them on a dialog that is not running.

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QStyleOptionGroupBox>
#include <QTableWidget>
#include <QToolTip>
#include <cmath>

#include "tests/gui_support/gui_driver.h"
#include "tests/ui/probe_dialog.h"

namespace lumisk::ui_test {
namespace {

using namespace gui_test;
using Octets = std::array<int, 4>;

constexpr int DeviceList = 1000;
constexpr int Refresh = 1002;
constexpr int Ip = 1006;
constexpr int Netmask = 1010;
constexpr int DriveLetters = 1013;
constexpr int Dhcp = 1015;
constexpr int UserName = 1016;
constexpr int Password = 1017;
constexpr int Edit = 3001;
constexpr int Unsorted = 3002;
constexpr int Progress = 3003;

// Runs `body` inside a run of dialog `templateId`, then ends it.
void WithDialog(int templateId, const std::function<void(ProbeDialog&)>& body) {
    ProbeDialog dialog(templateId);
    RunDialog(dialog, [&] {
        body(dialog);
        dialog.EndDialog(ui::IdOk);
    });
}

QString FocusedOctet() {
    const QWidget* focus = ActiveDialog()->focusWidget();
    return focus != nullptr ? focus->objectName() : QString();
}

TEST(ListView, RowsCellsAndColumns) {
    WithDialog(MainTemplate, [](ProbeDialog& dialog) {
        ui::ListView list = dialog.List(DeviceList);
        list.SetFullRowSelect();
        list.InsertColumn(0, "Name", 94);
        list.InsertColumn(1, "Netmask", 81);
        list.InsertColumn(1, "IP", 70);
        auto* view = FindControlAs<QTableWidget>(DeviceList);
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(view->horizontalHeaderItem(1)->text(), "IP");
        EXPECT_EQ(view->horizontalHeaderItem(2)->text(), "Netmask");
        EXPECT_EQ(view->horizontalHeader()->sectionSize(1), 70);
        EXPECT_FALSE(view->horizontalHeader()->isHidden());
        EXPECT_TRUE(view->verticalHeader()->isHidden());

        EXPECT_EQ(list.InsertItem(0, "b"), 0);
        EXPECT_EQ(list.InsertItem(0, "a"), 0);
        EXPECT_EQ(list.InsertItem(99, "c"), 2);
        EXPECT_EQ(list.InsertItem(-1, "never"), -1);
        list.SetItemText(1, 1, "10.0.0.2");
        list.SetItemText(1, 7, "no such column");
        list.SetItemText(5, 0, "no such row");
        EXPECT_EQ(list.GetItemCount(), 3);
        EXPECT_EQ(list.GetItemText(0, 0), "a");
        EXPECT_EQ(list.GetItemText(1, 0), "b");
        EXPECT_EQ(list.GetItemText(1, 1), "10.0.0.2");
        EXPECT_EQ(list.GetItemText(1, 2), "");
        EXPECT_EQ(list.GetItemText(1, 3), "");
        EXPECT_EQ(list.GetItemText(3, 0), "");
        EXPECT_EQ(list.GetItemText(-1, -1), "");
        EXPECT_FALSE(list.IsSelected(0));

        ASSERT_TRUE(ClickListRow(DeviceList, 2));
        EXPECT_TRUE(list.IsSelected(2));
        ASSERT_TRUE(ClickListRow(DeviceList, 1));
        EXPECT_FALSE(list.IsSelected(2));
        EXPECT_TRUE(list.IsSelected(1));
        EXPECT_FALSE(list.IsSelected(3));
        // A new row comes unselected and the selected one stays selected.
        list.InsertItem(0, "z");
        EXPECT_FALSE(list.IsSelected(0));
        EXPECT_TRUE(list.IsSelected(2));

        list.DeleteAllItems();
        EXPECT_EQ(list.GetItemCount(), 0);
        EXPECT_FALSE(list.IsSelected(0));
        list.Focus();
        EXPECT_EQ(ActiveDialog()->focusWidget(), view);
    });
}

TEST(ListView, RowsWithoutColumnsReadEmpty) {
    WithDialog(MainTemplate, [](ProbeDialog& dialog) {
        ui::ListView list = dialog.List(DeviceList);
        EXPECT_EQ(list.InsertItem(0, "x"), 0);
        list.SetItemText(0, 0, "y");
        EXPECT_EQ(list.GetItemCount(), 1);
        EXPECT_TRUE(ClickListEmptyArea(DeviceList));
    });
}

TEST(AddressField, BlankEmptyOctetsAndDottedText) {
    WithDialog(MainTemplate, [](ProbeDialog& dialog) {
        ui::AddressField ip = dialog.Address(Ip);
        EXPECT_TRUE(ip.IsBlank());
        EXPECT_EQ(ip.GetOctets(), (Octets{0, 0, 0, 0}));
        EXPECT_EQ(dialog.ControlText(Ip), "");
        ip.SetAddress("192.168.1.20");
        EXPECT_FALSE(ip.IsBlank());
        EXPECT_EQ(ip.GetOctets(), (Octets{192, 168, 1, 20}));
        EXPECT_EQ(dialog.ControlText(Ip), "192.168.1.20");
        ip.SetAddress("10.x.256");
        EXPECT_FALSE(ip.IsBlank());
        EXPECT_EQ(ip.GetOctets(), (Octets{10, 0, 0, 0}));
        ip.SetAddress(" 7 .8.9.1.5");
        EXPECT_EQ(ip.GetOctets(), (Octets{7, 8, 9, 1}));
        ip.SetAddress("abc");
        EXPECT_TRUE(ip.IsBlank());
        ip.SetAddress("1.2.3.4");
        ip.Clear();
        EXPECT_TRUE(ip.IsBlank());
        ip.SetAddress("");
        EXPECT_TRUE(ip.IsBlank());
    });
}

TEST(AddressField, TypingMovesOnLikeTheNativeField) {
    WithDialog(MainTemplate, [](ProbeDialog& dialog) {
        ASSERT_TRUE(TypeText(Ip, "10.1.2.3"));
        EXPECT_EQ(dialog.Address(Ip).GetOctets(), (Octets{10, 1, 2, 3}));
        // A third digit moves on and the dot after it is swallowed; a digit that would pass 255
        // is refused, and says so; letters are refused.
        ASSERT_TRUE(TypeText(Netmask, "255.300"));
        EXPECT_TRUE(QToolTip::isVisible());
        EXPECT_TRUE(QToolTip::text().startsWith("300 is not a valid entry"))
            << QToolTip::text().toStdString();
        TypeKeys("9x.7");
        EXPECT_EQ(dialog.Address(Netmask).GetOctets(), (Octets{255, 30, 7, 0}));
        // A dot in an empty octet stays there; leading zeros go.
        dialog.Address(Netmask).Clear();
        ASSERT_TRUE(TypeText(Netmask, ".5.007"));
        EXPECT_EQ(dialog.ControlText(Netmask), "5.7.0.0");
        // Backspace at an octet's start goes back into the one before.
        dialog.Address(Netmask).FocusOctet(2);
        EXPECT_EQ(FocusedOctet(), "octet_2");
        PressKey(Qt::Key_Backspace);
        EXPECT_EQ(FocusedOctet(), "octet_1");
        dialog.Address(Netmask).FocusOctet(9);
        EXPECT_EQ(FocusedOctet(), "octet_1");
    });
}

TEST(AddressField, TypingOverAFilledFieldGivesExactlyWhatWasTyped) {
    WithDialog(MainTemplate, [](ProbeDialog& dialog) {
        const struct {
            const char* filled;
            const char* typed;
        } rows[] = {{"192.0.2.20", "198.51.100.200"},
                    {"255.255.255.0", "255.255.0.0"},
                    {"192.0.2.254", "10.0.0.1"},
                    {"1.2.3.4", "203.0.113.9"}};
        for (const auto& row : rows) {
            dialog.Address(Ip).SetAddress(row.filled);
            // By click, and by Tab from the control before it.
            ASSERT_TRUE(TypeText(Ip, row.typed));
            EXPECT_EQ(dialog.ControlText(Ip), row.typed) << row.filled;
            dialog.Address(Ip).SetAddress(row.filled);
            dialog.FocusControl(DeviceList);
            ASSERT_TRUE(TabTo(Ip));
            TypeKeys(row.typed);
            EXPECT_EQ(dialog.ControlText(Ip), row.typed) << row.filled;
        }
        // Backspace empties the selected octet, then goes back to the end of the one before.
        dialog.Address(Ip).SetAddress("192.0.2.20");
        ASSERT_TRUE(TypeText(Ip, "1."));
        PressKey(Qt::Key_Backspace);
        PressKey(Qt::Key_Backspace);
        TypeKeys("2");
        EXPECT_EQ(dialog.ControlText(Ip), "12.0.2.20");
    });
}

TEST(AddressField, DisabledFieldIsGreyAndTakesNoTyping) {
    WithDialog(MainTemplate, [](ProbeDialog& dialog) {
        dialog.Address(Ip).SetAddress("1.2.3.4");
        dialog.EnableControl(Ip, false);
        EXPECT_FALSE(dialog.IsControlEnabled(Ip));
        EXPECT_FALSE(TypeText(Ip, "9"));
        for (const QLineEdit* octet : FindControl(Ip)->findChildren<QLineEdit*>()) {
            EXPECT_FALSE(octet->isEnabled());
        }
        EXPECT_EQ(dialog.Address(Ip).GetOctets(), (Octets{1, 2, 3, 4}));
    });
}

// The contrast ratio of two colours, from 1 (none) to 21 (black on white).
double Contrast(const QColor& a, const QColor& b) {
    const auto luminance = [](const QColor& color) {
        const auto linear = [](double c) {
            return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(color.redF()) + 0.7152 * linear(color.greenF()) +
               0.0722 * linear(color.blueF());
    };
    const double x = luminance(a);
    const double y = luminance(b);
    return (std::max(x, y) + 0.05) / (std::min(x, y) + 0.05);
}

// The highest contrast against `against` among the pixels of `area` of what `widget` shows.
double MostContrast(QWidget& widget, const QRect& area, const QColor& against) {
    const QImage image = widget.grab().toImage();
    double most = 1;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            most = std::max(most, Contrast(image.pixelColor(x, y), against));
        }
    }
    return most;
}

TEST(Appearance, GroupTitlesFocusAndGreyedTextCanBeSeen) {
    WithDialog(MainTemplate, [](ProbeDialog& dialog) {
        QWidget& window = *ActiveDialog();
        const QColor background = window.palette().color(QPalette::Window);
        for (QGroupBox* box : window.findChildren<QGroupBox*>()) {
            QStyleOptionGroupBox option;
            option.initFrom(box);
            option.text = box->title();
            option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
            const QRect title = box->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                             QStyle::SC_GroupBoxLabel, box);
            EXPECT_GE(MostContrast(*box, title.adjusted(1, 1, -1, -1), background), 4.5)
                << box->title().toStdString();
        }
        // A focus mark a few pixels inside the button and the drop-down field.
        QApplication::setActiveWindow(&window);
        for (const int id : {Refresh, Dhcp}) {
            QWidget& control = *FindControl(id);
            control.setFocus(Qt::TabFocusReason);
            const QColor face = control.palette().color(QPalette::Button);
            const QRect inside = control.rect().adjusted(3, 3, -3, -3);
            EXPECT_GE(MostContrast(control, QRect(inside.left() + 4, inside.top(), 8, 1), face), 3)
                << id;
        }
        dialog.Address(Ip).SetAddress("192.0.2.20");
        dialog.EnableControl(Ip, false);
        auto& octet = *FindControl(Ip)->findChild<QLineEdit*>(QStringLiteral("octet_0"));
        const QColor field = octet.grab().toImage().pixelColor(1, 1);
        EXPECT_GE(MostContrast(octet, octet.rect(), field), 3);
    });
}

TEST(ComboBox, TheListDropsBelowItsFieldToTheTemplatesHeightWithAScrollBar) {
    WithDialog(MainTemplate, [](ProbeDialog& dialog) {
        ui::ComboBox letters = dialog.Combo(DriveLetters);
        for (char letter = 'D'; letter <= 'Z'; ++letter) {
            letters.AddString(std::string(1, letter) + ":");
        }
        auto* combo = FindControlAs<QComboBox>(DriveLetters);
        combo->showPopup();
        QAbstractItemView* list = combo->view();
        ASSERT_TRUE(WaitUntil([list] { return list->isVisible(); }));
        // 110 dialog units from the field's top, 165 pixels at the template's font, filled but
        // for less than a row.
        const QRect popup = list->window()->geometry();
        EXPECT_GE(popup.top(), combo->mapToGlobal(QPoint(0, combo->height() - 1)).y());
        const int height = popup.bottom() + 1 - combo->mapToGlobal(QPoint(0, 0)).y();
        EXPECT_LE(height, 165);
        EXPECT_GT(height, 165 - list->sizeHintForRow(0));
        EXPECT_TRUE(list->verticalScrollBar()->isVisible());
        // Its arrows in the list's text colour, not the dialog's white.
        EXPECT_EQ(list->verticalScrollBar()->palette().color(QPalette::WindowText), Qt::black);
        combo->hidePopup();
    });
}

TEST(ComboBox, SortedInsertionAndCurrentItem) {
    WithDialog(MainTemplate, [](ProbeDialog& dialog) {
        ui::ComboBox letters = dialog.Combo(DriveLetters);
        EXPECT_EQ(letters.GetCount(), 0);
        EXPECT_EQ(letters.GetCurSel(), -1);
        EXPECT_EQ(letters.AddString("G:"), 0);
        EXPECT_EQ(letters.AddString("E:"), 0);
        EXPECT_EQ(letters.AddString("z:"), 2);
        EXPECT_EQ(letters.AddString("f:"), 1);
        // Adding items makes none current.
        EXPECT_EQ(letters.GetCurSel(), -1);
        EXPECT_EQ(dialog.ControlText(DriveLetters), "");
        letters.SetCurSel(2);
        EXPECT_EQ(letters.GetItemText(letters.GetCurSel()), "G:");
        // The current item stays current as others go in before it.
        EXPECT_EQ(letters.AddString("D:"), 0);
        EXPECT_EQ(letters.GetCurSel(), 3);
        EXPECT_EQ(dialog.ControlText(DriveLetters), "G:");
        letters.SetCurSel(-1);
        EXPECT_EQ(letters.GetCurSel(), -1);
        letters.SetCurSel(99);
        EXPECT_EQ(letters.GetCurSel(), -1);
        EXPECT_EQ(letters.GetItemText(99), "");
        EXPECT_EQ(letters.GetItemText(-1), "");
        letters.ResetContent();
        EXPECT_EQ(letters.GetCount(), 0);
        EXPECT_EQ(letters.GetCurSel(), -1);

        // Template items, sorted; none current.
        ui::ComboBox dhcp = dialog.Combo(Dhcp);
        EXPECT_EQ(dhcp.GetCount(), 2);
        EXPECT_EQ(dhcp.GetItemText(0), "Disable");
        EXPECT_EQ(dhcp.GetCurSel(), -1);
        EXPECT_FALSE(FindControlAs<QComboBox>(Dhcp)->isEditable());
    });
}

TEST(ComboBox, UnsortedListKeepsTheOrderItemsCameIn) {
    WithDialog(ToolkitTemplate, [](ProbeDialog& dialog) {
        ui::ComboBox list = dialog.Combo(Unsorted);
        EXPECT_EQ(list.GetItemText(0), "Zulu");
        EXPECT_EQ(list.AddString("Mike"), 2);
        EXPECT_EQ(list.GetItemText(1), "Alpha");
    });
}

TEST(TextField, TextLimitAndPassword) {
    WithDialog(LoginTemplate, [](ProbeDialog& dialog) {
        ui::TextField user = dialog.Text(UserName);
        user.SetText("guest");
        EXPECT_EQ(user.GetText(), "guest");
        EXPECT_EQ(dialog.ControlText(UserName), "guest");
        user.SetText("");
        user.SetLimit(3);
        ASSERT_TRUE(TypeText(UserName, "abcdef"));
        EXPECT_EQ(user.GetText(), "abc");
        user.SetLimit(0);
        user.SetText(std::string(40000, 'x'));
        EXPECT_EQ(user.GetText().size(), 32767u);
        EXPECT_EQ(FindControlAs<QLineEdit>(Password)->echoMode(), QLineEdit::Password);
        EXPECT_EQ(FindControlAs<QLineEdit>(UserName)->echoMode(), QLineEdit::Normal);
        // Text that is not valid UTF-8 is shown as best it can be.
        user.SetText("\xff\xfe ok");
        EXPECT_NE(user.GetText().find("ok"), std::string::npos);
    });
}

TEST(ProgressBar, StepsAndStartsOverPastTheTop) {
    WithDialog(ToolkitTemplate, [](ProbeDialog& dialog) {
        ui::ProgressBar bar = dialog.Progress(Progress);
        EXPECT_EQ(bar.GetPos(), 0);
        bar.StepIt();
        EXPECT_EQ(bar.GetPos(), 10);
        bar.SetRange(0, 50);
        bar.SetStep(20);
        bar.StepIt();
        EXPECT_EQ(bar.GetPos(), 30);
        bar.StepIt();
        EXPECT_EQ(bar.GetPos(), 50);
        bar.StepIt();
        EXPECT_EQ(bar.GetPos(), 20);
        bar.SetRange(100, 10);
        EXPECT_EQ(bar.GetPos(), 100);
        bar.SetRange(-2147483647, 2147483647);
        bar.SetStep(2147483647);
        bar.StepIt();
        bar.StepIt();
        EXPECT_GE(bar.GetPos(), -2147483647);
    });
}

TEST(Handles, DoNothingOnADialogThatIsNotRunning) {
    ProbeDialog dialog(MainTemplate);
    dialog.List(DeviceList).InsertColumn(0, "Name", 10);
    EXPECT_EQ(dialog.List(DeviceList).InsertItem(0, "x"), -1);
    EXPECT_EQ(dialog.List(DeviceList).GetItemCount(), 0);
    EXPECT_EQ(dialog.List(DeviceList).GetItemText(0, 0), "");
    dialog.Address(Ip).SetAddress("1.2.3.4");
    EXPECT_TRUE(dialog.Address(Ip).IsBlank());
    EXPECT_EQ(dialog.Address(Ip).GetOctets(), (Octets{0, 0, 0, 0}));
    EXPECT_EQ(dialog.Combo(Dhcp).AddString("x"), -1);
    EXPECT_EQ(dialog.Combo(Dhcp).GetCurSel(), -1);
    EXPECT_EQ(dialog.Text(Edit).GetText(), "");
    EXPECT_EQ(dialog.Progress(Progress).GetPos(), 0);
    dialog.Progress(Progress).StepIt();
    dialog.EnableControl(Ip, true);
    EXPECT_FALSE(dialog.IsControlEnabled(Ip));
    EXPECT_EQ(dialog.ControlText(Ip), "");
    dialog.FocusControl(Ip);
    dialog.SetTimer(1, 10);
    dialog.KillTimer(1);
    dialog.SetIcon(128);
    dialog.AppendSystemMenuItem(16, "x");
    EXPECT_FALSE(dialog.IsMinimized());
    dialog.EndDialog(1);
    bool ran = false;
    dialog.RunOnDialogThread([&] { ran = true; });
    EXPECT_FALSE(ran);
    // Handles of the wrong kind find no control either.
    WithDialog(MainTemplate, [](ProbeDialog& running) {
        EXPECT_EQ(running.Combo(Ip).GetCount(), 0);
        EXPECT_TRUE(running.Address(DeviceList).IsBlank());
        EXPECT_EQ(running.List(424242).GetItemCount(), 0);
    });
}

}  // namespace
}  // namespace lumisk::ui_test
