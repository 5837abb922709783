// What Enter, Escape, the close request, buttons, lists, drop-down lists, timers, paints and the
// system menu do to a running dialog.

#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include "tests/gui_support/gui_driver.h"
#include "tests/ui/probe_dialog.h"

namespace lumisk::ui_test {
namespace {

using namespace gui_test;

constexpr int DeviceList = 1000;
constexpr int Refresh = 1002;
constexpr int DriveLetters = 1013;
constexpr int Dhcp = 1015;
constexpr int Exit = 1009;
constexpr int UserName = 1016;

QMenu* SystemMenu() {
    return ActiveDialog()->findChild<QMenu*>("lumisk_system_menu");
}

TEST(DialogCommands, EnterInAFieldIsOk) {
    ProbeDialog dialog(LoginTemplate);
    EXPECT_EQ(RunDialog(dialog,
                        [] {
                            ASSERT_TRUE(TypeText(UserName, "admin"));
                            PressEnter();
                        }),
              ui::IdOk);
    EXPECT_EQ(dialog.okCalls, 1);
    EXPECT_EQ(dialog.cancelCalls, 0);
}

TEST(DialogCommands, EnterWithoutADefaultButtonIsStillOk) {
    ProbeDialog dialog(MainTemplate);
    EXPECT_EQ(RunDialog(dialog, [] { PressEnter(); }), ui::IdOk);
    EXPECT_EQ(dialog.okCalls, 1);
}

TEST(DialogCommands, EnterOrSpaceOnAButtonPressesThatButton) {
    ProbeDialog dialog(MainTemplate);
    int refreshes = 0;
    dialog.RouteClick(Refresh, [&] { ++refreshes; });
    dialog.ok = [] {};
    RunDialog(dialog, [&] {
        dialog.FocusControl(Refresh);
        PressEnter();
        PressKey(Qt::Key_Space);
        EXPECT_EQ(refreshes, 2);
        EXPECT_EQ(dialog.okCalls, 0);
        dialog.EndDialog(ui::IdCancel);
    });
}

TEST(DialogCommands, OverriddenOkKeepsTheDialogRunning) {
    ProbeDialog dialog(LoginTemplate);
    dialog.ok = [] {};
    const int code = RunDialog(dialog, [&] {
        PressEnter();
        ASSERT_TRUE(ClickButton(ui::IdOk));
        EXPECT_EQ(dialog.okCalls, 2);
        EXPECT_TRUE(dialog.IsRunning());
        ASSERT_TRUE(ClickButton(ui::IdCancel));
    });
    EXPECT_EQ(code, ui::IdCancel);
}

TEST(DialogCommands, EscapeIsCancel) {
    ProbeDialog dialog(MainTemplate);
    dialog.cancel = [] {};
    const int code = RunDialog(dialog, [&] {
        PressEscape();
        EXPECT_EQ(dialog.cancelCalls, 1);
        EXPECT_TRUE(dialog.IsRunning());
        dialog.EndDialog(7);
    });
    EXPECT_EQ(code, 7);
}

TEST(DialogCommands, CloseRequestIsCancelUnlessHandled) {
    ProbeDialog closing(LoginTemplate);
    EXPECT_EQ(RunDialog(closing, [] { RequestClose(); }), ui::IdCancel);
    EXPECT_EQ(closing.closeCalls, 1);
    EXPECT_EQ(closing.cancelCalls, 1);

    ProbeDialog staying(LoginTemplate);
    staying.close = [] {};
    const int code = RunDialog(staying, [&] {
        RequestClose();
        PressAltF4();
        EXPECT_EQ(staying.closeCalls, 2);
        EXPECT_TRUE(staying.IsRunning());
        EXPECT_TRUE(ActiveDialog()->isVisible());
        staying.EndDialog(3);
    });
    EXPECT_EQ(code, 3);
    EXPECT_EQ(staying.cancelCalls, 0);
}

TEST(DialogCommands, RoutedCancelButtonAlsoTakesEscape) {
    ProbeDialog dialog(LoginTemplate);
    int routed = 0;
    dialog.RouteClick(ui::IdCancel, [&] { ++routed; });
    RunDialog(dialog, [&] {
        ClickButton(ui::IdCancel);
        PressEscape();
        EXPECT_EQ(routed, 2);
        EXPECT_EQ(dialog.cancelCalls, 0);
        dialog.EndDialog(ui::IdOk);
    });
}

TEST(DialogCommands, RoutesRunAndMayBeReplacedFromTheirHandler) {
    ProbeDialog dialog(MainTemplate);
    std::vector<std::string> calls;
    dialog.RouteClick(Exit, [&] {
        calls.push_back("first");
        dialog.RouteClick(Exit, [&] {
            calls.push_back("second");
            dialog.EndDialog(11);
        });
    });
    const int code = RunDialog(dialog, [] {
        ClickButton(Exit);
        ClickButton(Exit);
    });
    EXPECT_EQ(code, 11);
    EXPECT_EQ(calls, (std::vector<std::string>{"first", "second"}));
}

TEST(DialogCommands, DisabledButtonsCannotBeClicked) {
    ProbeDialog dialog(MainTemplate);
    int refreshes = 0;
    dialog.RouteClick(Refresh, [&] { ++refreshes; });
    RunDialog(dialog, [&] {
        dialog.EnableControl(Refresh, false);
        EXPECT_FALSE(dialog.IsControlEnabled(Refresh));
        QTest::mouseClick(FindControl(Refresh), Qt::LeftButton);
        EXPECT_EQ(refreshes, 0);
        dialog.EnableControl(Refresh, true);
        EXPECT_TRUE(ClickButton(Refresh));
        EXPECT_EQ(refreshes, 1);
        dialog.EndDialog(ui::IdOk);
    });
}

TEST(DialogCommands, ListClicksRouteAfterTheSelectionChanged) {
    ProbeDialog dialog(MainTemplate);
    std::vector<int> selectedAtClick;
    dialog.RouteListClick(DeviceList, [&] {
        int selected = -1;
        for (int row = 0; row < dialog.List(DeviceList).GetItemCount(); ++row) {
            selected = dialog.List(DeviceList).IsSelected(row) ? row : selected;
        }
        selectedAtClick.push_back(selected);
    });
    RunDialog(dialog, [&] {
        ui::ListView list = dialog.List(DeviceList);
        list.InsertColumn(0, "Name", 94);
        list.InsertColumn(1, "IP", 81);
        list.InsertItem(0, "first");
        list.InsertItem(1, "second");
        ASSERT_TRUE(ClickListRow(DeviceList, 1));
        ASSERT_TRUE(ClickListRow(DeviceList, 0));
        ASSERT_TRUE(ClickListEmptyArea(DeviceList));
        // Keys move the selection without a click.
        PressKey(Qt::Key_Down);
        dialog.EndDialog(ui::IdOk);
    });
    EXPECT_EQ(selectedAtClick, (std::vector<int>{1, 0, -1}));
}

TEST(DialogCommands, SelectionChangesRouteOnlyWhenTheUserMakesThem) {
    ProbeDialog dialog(MainTemplate);
    std::vector<int> changes;
    dialog.RouteSelectionChange(Dhcp, [&] { changes.push_back(dialog.Combo(Dhcp).GetCurSel()); });
    RunDialog(dialog, [&] {
        ui::ComboBox dhcp = dialog.Combo(Dhcp);
        dhcp.SetCurSel(0);
        dhcp.ResetContent();
        dhcp.AddString("Enable");
        dhcp.AddString("Disable");
        dhcp.SetCurSel(1);
        EXPECT_TRUE(changes.empty());
        ASSERT_TRUE(ChooseComboItem(Dhcp, "Disable"));
        ASSERT_TRUE(ChooseComboItem(Dhcp, "Enable"));
        dialog.EndDialog(ui::IdOk);
    });
    EXPECT_EQ(changes, (std::vector<int>{0, 1}));
}

TEST(DialogCommands, TimersTickUntilKilled) {
    ProbeDialog dialog(LoginTemplate);
    std::vector<int> ticks;
    dialog.timer = [&](int timerId) {
        ticks.push_back(timerId);
        if (ticks.size() == 3) {
            dialog.KillTimer(timerId);
            QTimer::singleShot(100, [&] { dialog.EndDialog(ui::IdOk); });
        }
    };
    dialog.init = [&] {
        dialog.SetTimer(4, 10);
        return true;
    };
    RunDialog(dialog, [] {});
    EXPECT_EQ(ticks, (std::vector<int>{4, 4, 4}));
}

TEST(DialogCommands, SystemMenuEntriesCallTheirCommands) {
    ProbeDialog dialog(MainTemplate);
    dialog.close = [] {};
    RunDialog(dialog, [&] {
        dialog.AppendSystemMenuItem(16, "About Velnora(&A)...");
        ASSERT_TRUE(ChooseSystemMenuEntry("About Velnora(A)..."));
        ASSERT_TRUE(WaitUntil([&] { return !dialog.sysCommands.empty(); }));
        EXPECT_EQ(dialog.sysCommands, std::vector<int>{16});
        ASSERT_TRUE(ChooseSystemMenuEntry("Close"));
        ASSERT_TRUE(WaitUntil([&] { return dialog.closeCalls == 1; }));
        ASSERT_TRUE(ChooseSystemMenuEntry("Minimize"));
        ASSERT_TRUE(WaitUntil([&] { return dialog.IsMinimized(); }));
        ActiveDialog()->showNormal();
        EXPECT_FALSE(dialog.IsMinimized());
        dialog.EndDialog(ui::IdOk);
    });
}

TEST(DialogCommands, SystemMenuOnTheBackgroundOnly) {
    ProbeDialog dialog(LoginTemplate);
    RunDialog(dialog, [&] {
        // Login has no minimise box, so no Minimize entry.
        EXPECT_FALSE(ChooseSystemMenuEntry("Minimize"));
        // Over the user name field the field's own menu, if any, shows instead.
        const QPoint field = FindControl(UserName)->geometry().center();
        RightClickBackground(field);
        EXPECT_FALSE(SystemMenu()->isVisible());
        if (QWidget* fieldMenu = QApplication::activePopupWidget()) {
            fieldMenu->close();
        }
        RightClickBackground(QPoint(4, 4));
        EXPECT_TRUE(WaitUntil([] { return SystemMenu()->isVisible(); }));
        SystemMenu()->hide();
        dialog.EndDialog(ui::IdOk);
    });
}

TEST(DialogCommands, PaintHandlerRunsOnPaintsAndAnIdleWindowSettles) {
    ProbeDialog dialog(MainTemplate);
    // The main window's way: every paint refills lists with what they already hold.
    dialog.paint = [&] {
        ui::ComboBox letters = dialog.Combo(DriveLetters);
        letters.ResetContent();
        letters.AddString("E:");
        letters.AddString("F:");
        letters.SetCurSel(1);
        ui::ListView list = dialog.List(DeviceList);
        list.DeleteAllItems();
        list.InsertItem(0, "");
        list.SetItemText(0, 0, "adapter");
    };
    dialog.init = [&] {
        dialog.List(DeviceList).InsertColumn(0, "Name", 94);
        return true;
    };
    RunDialog(dialog, [&] {
        ASSERT_TRUE(WaitUntil([&] { return dialog.paintCalls > 0; }));
        QTest::qWait(300);
        const int settled = dialog.paintCalls;
        QTest::qWait(300);
        EXPECT_EQ(dialog.paintCalls, settled);
        EXPECT_LE(settled, 3);
        EXPECT_EQ(dialog.List(DeviceList).GetItemText(0, 0), "adapter");
        EXPECT_EQ(dialog.Combo(DriveLetters).GetCurSel(), 1);
        ActiveDialog()->update();
        EXPECT_TRUE(WaitUntil([&] { return dialog.paintCalls > settled; }));
        dialog.EndDialog(ui::IdOk);
    });
}

}  // namespace
}  // namespace lumisk::ui_test
