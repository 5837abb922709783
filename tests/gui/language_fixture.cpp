#include "tests/gui/language_fixture.h"

#include <cstdio>
#include <sstream>

#include "language/language_dialog.h"
#include "protocol/messages.h"

namespace lumisk::gui_test {

int RecordingShareFiles::WriteFile(const std::string& networkPath,
                                   std::span<const std::uint8_t> bytes) {
    paths.push_back(networkPath);
    return paths.size() == failingWrite ? EIO : real_.WriteFile(networkPath, bytes);
}

void LanguageOnLan::StartAdapters(const std::vector<std::string>& adapters) {
    std::vector<std::string> arguments = {"--record", RecordPath(),   "--disk-status",
                                          "3",        "--restart-ms", "300"};
    arguments.insert(arguments.end(), adapters.begin(), adapters.end());
    ASSERT_GT(testbed_.StartSimulator(arguments), 0);
}

std::vector<std::string> LanguageOnLan::SetRequestTexts(std::uint8_t subCode) {
    std::istringstream record(lan::ReadWhole(RecordPath()));
    char expected[3];
    std::snprintf(expected, sizeof expected, "%02x", subCode);
    std::vector<std::string> texts;
    for (std::string line; std::getline(record, line);) {
        line = line.substr(0, line.find(' '));  // without the sender
        if (line.rfind("05", 0) != 0 || line.size() <= 44 || line.substr(42, 2) != expected) {
            continue;
        }
        std::string text;
        for (std::size_t at = 2 * offset::SetPayload; at + 2 <= line.size(); at += 2) {
            const auto byte = static_cast<char>(std::stoi(line.substr(at, 2), nullptr, 16));
            if (byte == 0) {
                break;
            }
            text += byte;
        }
        texts.push_back(text);
    }
    return texts;
}

std::string LanguageOnLan::SelectedLanguage() {
    return ControlText(LanguageDialog::LanguageComboId);
}

std::vector<MessageBoxRecord> LanguageOnLan::OpenLanguage(const std::string& adapter,
                                                          const std::function<void()>& inDialog) {
    EXPECT_TRUE(ClickAdapter(adapter)) << adapter;
    if (inDialog) {
        WhenDialogShown(LanguageDialog::TemplateId, inDialog);
    }
    return RunAndAnswerMessageBoxes([] { ClickButton(control::Language); });
}

}  // namespace lumisk::gui_test
