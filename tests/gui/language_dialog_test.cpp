// The language dialog against simulated adapters, up to the choice: what it asks and shows, and
// that leaving it changes nothing. Installing a language (language_test.cpp) needs an SMB server.

#include <gtest/gtest.h>

#include "language/language_dialog.h"
#include "setup/device_list.h"
#include "tests/gui/language_fixture.h"
#include "tests/gui_support/dialog_driver.h"
#include "ui/application.h"

namespace lumisk::gui_test {
namespace {

using LanguageChoice = LanguageOnLan;

// Five adapters' queries, and the language dialog's for each: under Wine, 2 s an adapter.
constexpr int FiveQueriesMs = 60000;

TEST_F(LanguageChoice, WithoutAChosenDeviceNothingIsAsked) {
    RunDialog(languageDialog, [&] {
        ExpectBox(RunAndAnswerMessageBoxes([] { ClickButton(control::Language); }),
                  "Please select a device.", "Error", ui::MessageIcon::Stop);
        ClickButton(control::Exit);
    });
}

TEST_F(LanguageChoice, DisksThatCannotTakeALanguageAreRefused) {
    StartAdapters(
        {"--adapter", "--name", "NAS-NoDisk", "--ip", "192.0.2.41", "--disk-status", "1",
         "--adapter", "--name", "NAS-Raw",    "--ip", "192.0.2.42", "--disk-status", "2",
         "--adapter", "--name", "NAS-Zero",   "--ip", "192.0.2.43", "--disk-status", "0",
         "--adapter", "--name", "NAS-Blank",  "--ip", "192.0.2.44", "--disk-status", "",
         "--adapter", "--name", "NAS-Ascii",  "--ip", "192.0.2.45", "--codepage",    "437"});
    const std::string notSupported = "Multi-language options are not supported on this device.";
    const std::pair<std::string, std::string> rows[] = {
        {"NAS-NoDisk",
         "No hard drives were detected.\nPlease verify that the hard drives are properly connected "
         "before "
         "continuing."},
        {"NAS-Raw", "Please format hard drive."},
        {"NAS-Zero", notSupported},
        {"NAS-Blank", notSupported},
        {"NAS-Ascii", notSupported},
    };
    RunDialog(
        languageDialog,
        [&] {
            int paints = 0;
            for (const auto& [adapter, message] : rows) {
                ASSERT_TRUE(ClickAdapter(adapter));
                // The dialog asks while it is still hidden, under the wait cursor; meanwhile the
                // window beneath paints.
                const RepaintProbe probe(ShowsWaitCursor);
                const auto boxes = RunAndAnswerMessageBoxes([] { ClickButton(control::Language); });
                paints += probe.Paints();
                ASSERT_EQ(boxes.size(), 1u) << adapter;
                EXPECT_EQ(boxes[0].text, message);
                EXPECT_EQ(boxes[0].caption, ui::Application::Name());
                EXPECT_EQ(boxes[0].icon, ui::MessageIcon::None);
                EXPECT_EQ(LanguageResult, -1);
                EXPECT_EQ(ActiveTemplateId(), MainDialog::TemplateId) << "the dialog never waits";
                EXPECT_EQ(SelectedDeviceRow(Window()), RowOf(adapter)) << "nothing refreshed";
            }
            EXPECT_GT(paints, 0);
            ClickButton(control::Exit);
        },
        FiveQueriesMs);
    EXPECT_EQ(browser.urls, std::vector<std::string>{"http://192.0.2.42"});
}

TEST_F(LanguageChoice, TheCurrentLanguageIsChosenAndCancelChangesNothing) {
    StartAdapters({"--adapter", "--name", "NAS-West", "--ip", "192.0.2.46", "--codepage", "850",
                   "--adapter", "--name", "NAS-East", "--ip", "192.0.2.47", "--codepage", "866"});
    RunDialog(languageDialog, [&] {
        OpenLanguage("NAS-West", [&] {
            EXPECT_EQ(SelectedLanguage(), "Western European");
            ClickButton(ui::IdCancel);
        });
        EXPECT_EQ(LanguageResult, -1);
        OpenLanguage("NAS-East", [&] {
            EXPECT_EQ(SelectedLanguage(), "Cyrillic");
            PressEscape();
        });
        OpenLanguage("NAS-East", [] { PressAltF4(); });
        EXPECT_EQ(LanguageResult, -1);
        EXPECT_EQ(SelectedDeviceRow(Window()), RowOf("NAS-East"));
        EXPECT_EQ(Window().deviceChosen, 1);
        ClickButton(control::Exit);
    });
    EXPECT_TRUE(recordingFiles.paths.empty());
    EXPECT_FALSE(SetRequestSent(8));
}

}  // namespace
}  // namespace lumisk::gui_test
