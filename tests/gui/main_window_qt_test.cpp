// The main window against simulated adapters, where the Qt driver reaches further: mappings made
// elsewhere show when the window is restored or Linux's per-user drive table changes.

#include <gtest/gtest.h>

#include <QWidget>
#include <filesystem>
#include <fstream>

#include "app/about_dialog.h"
#include "tests/gui/main_window_fixture.h"
#include "tests/gui_support/gui_driver.h"

namespace lumisk {
namespace {

using gui_test::ClickButton;
using gui_test::MainWindowOnLan;
using gui_test::RunDialog;

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
        drives.Map('E', "\\\\192.0.2.20\\HDD_a");
        gui_test::WhenDialogShown(AboutDialog::TemplateId, [] { ClickButton(ui::IdOk); });
        ASSERT_TRUE(ClickButton(control::About));
        EXPECT_TRUE(sharesShow({"HDD_a|E:", "HDD_b|"})) << ::testing::PrintToString(ShareRows());
        // Restored after it was minimised.
        drives.Map('F', "\\\\192.0.2.20\\HDD_b");
        gui_test::ActiveDialog()->showMinimized();
        gui_test::ActiveDialog()->showNormal();
        EXPECT_TRUE(sharesShow({"HDD_a|E:", "HDD_b|F:"})) << ::testing::PrintToString(ShareRows());
        // Another program writes the table: its directory and the file appear.
        drives.Map('G', "\\\\192.0.2.20\\HDD_b");
        std::filesystem::create_directories(testbed_.TemporaryPath("config/lumisk"));
        std::ofstream(drives.connectionsFile) << "G: \\\\192.0.2.20\\HDD_b\n";
        EXPECT_TRUE(sharesShow({"HDD_a|E:", "HDD_b|G:"})) << ::testing::PrintToString(ShareRows());
        drives.Unmap('G');
        std::ofstream(drives.connectionsFile, std::ios::app) << "\n";
        EXPECT_TRUE(sharesShow({"HDD_a|E:", "HDD_b|F:"})) << ::testing::PrintToString(ShareRows());
        ClickButton(control::Exit);
    });
}

}  // namespace
}  // namespace lumisk
