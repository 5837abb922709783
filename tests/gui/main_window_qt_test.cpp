// The main window against simulated adapters, where the Qt driver reaches further: minimising,
// the per-user drive table, repaints and the wait cursor.

#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>
#include <filesystem>
#include <fstream>

#include "app/about_dialog.h"
#include "protocol/device_table.h"
#include "protocol/endpoint.h"
#include "protocol/exchanges.h"
#include "protocol/fixed_text.h"
#include "setup/device_list.h"
#include "tests/gui/main_window_fixture.h"
#include "tests/gui_support/gui_driver.h"

namespace lumisk {
namespace {

using gui_test::ClickButton;
using gui_test::MainWindowOnLan;
using gui_test::RunDialog;
using namespace std::chrono_literals;

TEST_F(MainWindowOnLan, MappingsMadeElsewhereShowWhenTheWindowComesBackOrTheTableChanges) {
    StartFourAdapters();
    drives.connectionsFile = testbed_.TemporaryPath("config/lumisk/drives");
    RunDialog(dialog, [&] {
        ASSERT_TRUE(ClickAdapter("NAS-Office"));
        ASSERT_EQ(ShareRows(), (std::vector<std::string>{"HDD_a|", "HDD_b|"}));
        const auto sharesShow = [&](const std::vector<std::string>& rows) {
            return gui_test::WaitUntil([&] { return ShareRows() == rows; });
        };
        // The window comes back from under the About box.
        drives.connections['E'] = "\\\\192.0.2.20\\HDD_a";
        gui_test::WhenDialogShown(AboutDialog::TemplateId, [] { ClickButton(ui::IdOk); });
        ASSERT_TRUE(ClickButton(control::About));
        EXPECT_TRUE(sharesShow({"HDD_a|E:", "HDD_b|"})) << ::testing::PrintToString(ShareRows());
        // Restored after it was minimised.
        drives.connections['F'] = "\\\\192.0.2.20\\HDD_b";
        gui_test::ActiveDialog()->showMinimized();
        gui_test::ActiveDialog()->showNormal();
        EXPECT_TRUE(sharesShow({"HDD_a|E:", "HDD_b|F:"})) << ::testing::PrintToString(ShareRows());
        // Another program writes the table: its directory and the file appear.
        drives.connections['G'] = "\\\\192.0.2.20\\HDD_b";
        std::filesystem::create_directories(testbed_.TemporaryPath("config/lumisk"));
        std::ofstream(drives.connectionsFile) << "G: \\\\192.0.2.20\\HDD_b\n";
        EXPECT_TRUE(sharesShow({"HDD_a|E:", "HDD_b|G:"})) << ::testing::PrintToString(ShareRows());
        drives.connections.erase('G');
        std::ofstream(drives.connectionsFile, std::ios::app) << "\n";
        EXPECT_TRUE(sharesShow({"HDD_a|E:", "HDD_b|F:"})) << ::testing::PrintToString(ShareRows());
        ClickButton(control::Exit);
    });
}

TEST_F(MainWindowOnLan, TheWindowPaintsWithTheWaitCursorWhileAnExchangeRuns) {
    StartFourAdapters();
    RunDialog(dialog, [&] {
        const auto searching = [&] { return !dialog.IsControlEnabled(control::Refresh); };
        const gui_test::RepaintProbe probe(searching);
        ASSERT_TRUE(ClickButton(control::Refresh));
        EXPECT_GT(probe.Paints(), 0);
        EXPECT_TRUE(probe.SawWaitCursor());
        EXPECT_EQ(Window().deviceList.GetItemCount(), 4) << "the search's steps ran in order";
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        ClickButton(control::Exit);
    });
}

}  // namespace
}  // namespace lumisk
