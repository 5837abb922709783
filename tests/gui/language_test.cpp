// The Language button against simulated adapters whose disks are shares of a real SMB server in
// the LAN testbed, with a restart wait made short.

#include <gtest/gtest.h>

#include <QTest>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "language/codepage_data.h"
#include "language/codepage_sets.h"
#include "language/embedded_files.h"
#include "language/installation.h"
#include "language/language_dialog.h"
#include "language/restart_dialog.h"
#include "protocol/device_table.h"
#include "setup/device_list.h"
#include "tests/gui/language_fixture.h"
#include "tests/gui_support/gui_driver.h"
#include "tests/lan/samba_server.h"

namespace lumisk::gui_test {
namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> FileBytes(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::vector<std::uint8_t> Embedded(int id) {
    const auto bytes = FindEmbeddedFile("Codepage", id);
    return bytes ? std::vector<std::uint8_t>(bytes->begin(), bytes->end())
                 : std::vector<std::uint8_t>{};
}

class LanguageSetup : public LanguageOnLan {
protected:
    LanguageSetup() {
        // The adapters are simulated: the stand-in files may go to them.
        setenv("LUMISK_ALLOW_STAND_IN_CODEPAGES", "1", 1);
    }

    void PrepareLan() override {
        LUMISK_REQUIRE_SAMBA();
        ASSERT_TRUE(client_.Ready());
        ASSERT_TRUE(server_.Start(testbed_, {{"HDD_a", true, "", ""}, {"HDD_1", true, "", ""}}));
        fs::create_directories(LayoutOneDirectory());
        fs::create_directories(LayoutTwoDirectory());
    }

    void TearDown() override {
        server_.Stop();
        LanguageOnLan::TearDown();
    }

    fs::path LayoutOneDirectory() { return fs::path(server_.Directory("HDD_a")) / ".codepages"; }
    fs::path LayoutTwoDirectory() {
        return fs::path(server_.Directory("HDD_1")) / ".systemfile" / ".codepages";
    }

    lan::SambaServer server_;
    lan::SambaClientHome client_;
};

TEST_F(LanguageSetup, WesternEuropeanOnALayoutOneAdapter) {
    StartAdapters(
        {"--name", "NAS-One", "--ip", "192.0.2.48", "--codepage", "950", "--share-name", "HDD_a"});
    // A file already there is replaced, never appended to.
    std::ofstream(LayoutOneDirectory() / "codepage.850") << std::string(5000, 'x');
    RunDialog(languageDialog, [&] {
        OpenLanguage("NAS-One", [] {
            ChooseComboItem(LanguageDialog::LanguageComboId, "Western European");
            WhenDialogShown(RestartDialog::TemplateId, [] {
                PressEnter();
                PressEscape();
                PressAltF4();
            });
            ClickButton(ui::IdOk);
        });
        EXPECT_EQ(LanguageResult, 0);
        EXPECT_EQ(Window().deviceChosen, 0);
        EXPECT_EQ(SelectedDeviceRow(Window()), -1);
        ClickButton(control::Exit);
    });
    EXPECT_EQ(recordingFiles.paths,
              (std::vector<std::string>{"\\\\192.0.2.48\\HDD_a\\.codepages\\codepage.850",
                                        "\\\\192.0.2.48\\HDD_a\\.codepages\\nls_cp850.o",
                                        "\\\\192.0.2.48\\HDD_a\\.codepages\\unicode_map.850"}));
    EXPECT_EQ(FileBytes(LayoutOneDirectory() / "codepage.850"), Embedded(143));
    EXPECT_EQ(FileBytes(LayoutOneDirectory() / "nls_cp850.o"), Embedded(145));
    EXPECT_EQ(FileBytes(LayoutOneDirectory() / "unicode_map.850"), Embedded(148));
    EXPECT_TRUE(SetRequestSent(10)) << "the access mode";
    EXPECT_TRUE(SetRequestSent(8)) << "the code page";
}

// Each language of the list is pre-selected by its own code page and sends that code page.
TEST_F(LanguageSetup, EveryLanguageIsPreselectedByItsCodePageAndSendsIt) {
    const std::pair<std::string, std::string> languages[] = {
        {"Traditional Chinese", "950"}, {"Simplified Chinese", "936"}, {"Western European", "850"},
        {"Japanese SJIS", "932"},       {"Korean Hangul", "949"},      {"Cyrillic", "866"}};
    std::vector<std::string> adapters;
    for (const auto& [name, codepage] : languages) {
        adapters.insert(adapters.end(), {"--adapter", "--name", "NAS-" + codepage, "--ip",
                                         "192.0.2." + std::to_string(100 + adapters.size() / 7),
                                         "--codepage", codepage});
    }
    StartAdapters(adapters);
    std::vector<std::string> chosen;
    RunDialog(
        languageDialog,
        [&] {
            for (std::size_t i = 0; i < std::size(languages); ++i) {
                // Not a structured binding: a lambda cannot capture one.
                const auto& next = languages[(i + 1) % std::size(languages)];
                const std::string& name = next.first;
                const std::string& codepage = next.second;
                OpenLanguage("NAS-" + languages[i].second, [&] {
                    EXPECT_EQ(SelectedLanguage(), languages[i].first) << languages[i].second;
                    // The list drops a move to where the cursor last moved, and the item one row
                    // below the current one is at the same place each time: start from the field.
                    QTest::mouseMove(FindControl(LanguageDialog::LanguageComboId));
                    ChooseComboItem(LanguageDialog::LanguageComboId, name);
                    ClickButton(ui::IdOk);
                });
                chosen.push_back(codepage);
            }
            ClickButton(control::Exit);
        },
        60000);
    EXPECT_EQ(SetRequestTexts(8), chosen);
}

TEST_F(LanguageSetup, JapaneseOnALayoutTwoAdapterKeepsTheShareNamesLetters) {
    StartAdapters(
        {"--name", "NAS-Two", "--ip", "192.0.2.49", "--codepage", "866", "--share-name", "hdd_1"});
    RunDialog(languageDialog, [&] {
        OpenLanguage("NAS-Two", [] {
            ChooseComboItem(LanguageDialog::LanguageComboId, "Japanese SJIS");
            ClickButton(ui::IdOk);
        });
        EXPECT_EQ(LanguageResult, 0);
        ClickButton(control::Exit);
    });
    const std::string directory = "\\\\192.0.2.49\\hdd_1\\.systemfile\\.codepages\\";
    EXPECT_EQ(
        recordingFiles.paths,
        (std::vector<std::string>{directory + "codepage.932", directory + "nls_cp932.ko",
                                  directory + "nls_euc-jp.ko", directory + "unicode_map.932"}));
    for (const SupportFile& file : SupportFiles(3, TargetLayout::Arm)) {
        EXPECT_EQ(FileBytes(LayoutTwoDirectory() / file.name), Embedded(file.id)) << file.name;
    }
}

TEST_F(LanguageSetup, AFailedWriteStopsBeforeTheCodePage) {
    StartAdapters({"--adapter", "--name", "NAS-One", "--ip", "192.0.2.48", "--codepage", "850",
                   "--adapter", "--name", "NAS-Odd", "--ip", "192.0.2.50", "--codepage", "850",
                   "--share-name", "Volume1"});
    recordingFiles.failingWrite = 2;
    RunDialog(languageDialog, [&] {
        auto boxes = OpenLanguage("NAS-One", [] {
            ClickButton(ui::IdOk);
            EXPECT_EQ(ActiveTemplateId(), LanguageDialog::TemplateId) << "the dialog stays open";
            ClickButton(ui::IdCancel);
        });
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, "Please check hard drives.");
        recordingFiles.paths.clear();
        boxes = OpenLanguage("NAS-Odd", [] {
            ClickButton(ui::IdOk);
            ClickButton(ui::IdCancel);
        });
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, "Please check hard drives.");
        EXPECT_TRUE(recordingFiles.paths.empty()) << "an unknown share layout writes nothing";
        ClickButton(control::Exit);
    });
    EXPECT_EQ(FileBytes(LayoutOneDirectory() / "codepage.850"), Embedded(143))
        << "the first file stays";
    EXPECT_FALSE(fs::exists(LayoutOneDirectory() / "unicode_map.850"));
    EXPECT_FALSE(SetRequestSent(8));
}

TEST_F(LanguageSetup, StandInFilesAreRefusedBeforeAnyRequest) {
    if (!EmbeddedCodepagesAreStandIns()) {
        GTEST_SKIP() << "built with the adapter maker's code-page files";
    }
    StartAdapters({"--name", "NAS-One", "--ip", "192.0.2.48", "--codepage", "850"});
    RunDialog(languageDialog, [&] {
        for (const char* allowed : {"", "0", "yes", static_cast<const char*>(nullptr)}) {
            if (allowed != nullptr) {
                setenv("LUMISK_ALLOW_STAND_IN_CODEPAGES", allowed, 1);
            } else {
                unsetenv("LUMISK_ALLOW_STAND_IN_CODEPAGES");
            }
            const auto boxes = OpenLanguage("NAS-One", [] {
                ClickButton(ui::IdOk);
                EXPECT_EQ(ActiveTemplateId(), LanguageDialog::TemplateId) << "the dialog stays";
                ClickButton(ui::IdCancel);
            });
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_EQ(boxes[0].text, StandInCodepagesMessage);
            EXPECT_EQ(boxes[0].caption, "Error");
            EXPECT_EQ(boxes[0].icon, ui::MessageIcon::Stop);
        }
        ClickButton(control::Exit);
    });
    EXPECT_TRUE(recordingFiles.paths.empty());
    EXPECT_FALSE(SetRequestSent(10)) << "the access mode";
    EXPECT_FALSE(SetRequestSent(8)) << "the code page";
}

TEST_F(LanguageSetup, AMissingDirectoryIsReportedOnce) {
    StartAdapters({"--name", "NAS-One", "--ip", "192.0.2.48", "--codepage", "850"});
    fs::remove_all(LayoutOneDirectory());
    RunDialog(languageDialog, [&] {
        const auto boxes = OpenLanguage("NAS-One", [] {
            ClickButton(ui::IdOk);
            ClickButton(ui::IdCancel);
        });
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text.substr(0, 26), "Please check hard drives.\n");
        EXPECT_NE(boxes[0].text.find("codepage.850"), std::string::npos) << boxes[0].text;
        ClickButton(control::Exit);
    });
    EXPECT_EQ(recordingFiles.paths.size(), 1u);
    EXPECT_FALSE(SetRequestSent(8));
}

}  // namespace
}  // namespace lumisk::gui_test
