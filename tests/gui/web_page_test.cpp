// The Configuration button against simulated adapters: the page opens only for an adapter whose
// web server answers.

#include <gtest/gtest.h>

#include "protocol/fixed_text.h"
#include "setup/device_host.h"
#include "setup/device_list.h"
#include "setup/main_window_controls.h"
#include "tests/gui/main_window_fixture.h"
#include "tests/gui_support/dialog_driver.h"

namespace lumisk::gui_test {
namespace {

using WebConfiguration = MainWindowOnLan;

TEST_F(WebConfiguration, WithoutASelectedRowOnlyWarns) {
    StartFourAdapters();
    CopyText(DeviceHostText, "203.0.113.1");
    RunDialog(dialog, [&] {
        ExpectBox(RunAndAnswerMessageBoxes([] { ClickButton(control::Configuration); }),
                  "Please select an adapter to configure.", "Warning",
                  ui::MessageIcon::Exclamation);
        ClickButton(control::Exit);
    });
    EXPECT_STREQ(DeviceHostText, "203.0.113.1");
    EXPECT_TRUE(browser.urls.empty());
}

TEST_F(WebConfiguration, AReachableAdapterOpensItsPage) {
    StartFourAdapters();
    RunDialog(dialog, [&] {
        ASSERT_TRUE(ClickAdapter("NAS-Office"));
        EXPECT_TRUE(RunAndAnswerMessageBoxes([] { ClickButton(control::Configuration); }).empty());
        EXPECT_EQ(browser.urls, std::vector<std::string>{"http://192.0.2.20"});
        EXPECT_EQ(SelectedDeviceRow(Window()), RowOf("NAS-Office"))
            << "the window is left as it was";
        ClickButton(control::Exit);
    });
}

TEST_F(WebConfiguration, AnAdapterWhoseWebServerIsOffIsNoLongerAvailable) {
    StartFourAdapters();
    RunDialog(dialog, [&] {
        ASSERT_TRUE(ClickAdapter("NAS-Quiet"));
        const auto boxes = RunAndAnswerMessageBoxes([] { ClickButton(control::Configuration); });
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, "Device is no longer available.");
        EXPECT_EQ(boxes[0].caption, "Warnning");
        EXPECT_EQ(SelectedDeviceRow(Window()), -1);
        ClickButton(control::Exit);
    });
    EXPECT_TRUE(browser.urls.empty());
}

TEST_F(WebConfiguration, WithoutABrowserItSaysWhichPageDidNotOpen) {
    StartFourAdapters();
    browser.missing = true;
    RunDialog(dialog, [&] {
        ASSERT_TRUE(ClickAdapter("NAS-Office"));
        ExpectBox(RunAndAnswerMessageBoxes([] { ClickButton(control::Configuration); }),
                  "No web browser could be started to open http://192.0.2.20.", "Error",
                  ui::MessageIcon::Stop);
        ClickButton(control::Exit);
    });
}

}  // namespace
}  // namespace lumisk::gui_test
