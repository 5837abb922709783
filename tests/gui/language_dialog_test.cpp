// The language dialog against simulated adapters, up to the choice: what it asks and shows, and
// that leaving it changes nothing. Installing a language (language_test.cpp) needs an SMB server.

#include <gtest/gtest.h>

#include "language/language_dialog.h"
#include "setup/device_list.h"
#include "tests/gui/language_fixture.h"
#include "tests/gui_support/dialog_driver.h"

namespace lumisk::gui_test {
namespace {

using LanguageChoice = LanguageOnLan;

TEST_F(LanguageChoice, WithoutAChosenDeviceNothingIsAsked) {
    RunDialog(languageDialog, [&] {
        ExpectBox(RunAndAnswerMessageBoxes([] { ClickButton(control::Language); }),
                  "Please select a device.", "Error", ui::MessageIcon::Stop);
        ClickButton(control::Exit);
    });
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
