#pragma once
// The Language button: the dialog that offers the six languages, with the adapter's current one
// chosen, after asking the adapter about its disk; OK installs the chosen language.

#include <atomic>

#include "language/restart_dialog.h"
#include "setup/main_window_controls.h"
#include "ui/dialog.h"

namespace lumisk {

// -1 when the dialog closed without a change; 0 once an installation's restart wait has run.
extern std::atomic<int> LanguageResult;

class LanguageDialog : public ui::Dialog {
public:
    static constexpr int TemplateId = 139;
    static constexpr int LanguageComboId = 1022;

    LanguageDialog(HostServices& host, RestartTiming restartTiming = {});

protected:
    // Asks the adapter for its disk status and code page; refuses, or chooses its language.
    bool OnInitDialog() override;
    // Installs the chosen language, then waits for the adapter's restart.
    void OnOK() override;
    void OnCancel() override;
    void OnClose() override;

private:
    // Closes the dialog at once, nothing changed.
    void Refuse();

    HostServices& host_;
    const RestartTiming restartTiming_;
};

void OnLanguage(MainWindowControls& window, RestartTiming restartTiming = {});

}  // namespace lumisk
