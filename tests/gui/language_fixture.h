#pragma once
// The main window with a short restart wait, for the Language button against simulated adapters
// whose requests are recorded; share writes are noted before they go to the system's.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "language/language_dialog.h"
#include "language/restart_dialog.h"
#include "tests/gui/main_window_fixture.h"
#include "tests/gui_support/dialog_driver.h"

namespace lumisk::gui_test {

inline constexpr RestartTiming ShortRestart{std::chrono::milliseconds(5),
                                            std::chrono::milliseconds(1000)};

// Writes through the system's share files, noting each path, and fails the writes a test names.
class RecordingShareFiles final : public ShareFileWriter {
public:
    explicit RecordingShareFiles(ShareFileWriter& real) : real_(real) {}

    int WriteFile(const std::string& networkPath, std::span<const std::uint8_t> bytes) override;
    std::string FailureReason() override { return real_.FailureReason(); }

    std::vector<std::string> paths;
    std::size_t failingWrite = 0;  // 1 for the first write; 0 for none

private:
    ShareFileWriter& real_;
};

class LanguageOnLan : public MainWindowOnLan {
protected:
    // LanguageResult starts at a value the dialog never leaves, so a test sees what it set.
    LanguageOnLan() {
        shown = &languageDialog;
        LanguageResult = 5;
    }

    // Adapters with usable disks unless a test says otherwise; the extra arguments follow.
    void StartAdapters(const std::vector<std::string>& adapters);
    std::string RecordPath() { return testbed_.TemporaryPath("requests.hex"); }
    // The texts of the set requests with this sub-code that went out to the adapters, in order.
    std::vector<std::string> SetRequestTexts(std::uint8_t subCode);
    bool SetRequestSent(std::uint8_t subCode) { return !SetRequestTexts(subCode).empty(); }
    // The language the open language dialog shows as chosen.
    static std::string SelectedLanguage();

    // Clicks the adapter and Language, and runs `inDialog` once the language dialog shows.
    std::vector<MessageBoxRecord> OpenLanguage(const std::string& adapter,
                                               const std::function<void()>& inDialog = {});

    RecordingShareFiles recordingFiles{*shareFiles};
    HostServices languageHost{drives, system, web, browser, recordingFiles, SystemClock()};
    MainDialog languageDialog{languageHost, ShortRestart};
};

}  // namespace lumisk::gui_test
