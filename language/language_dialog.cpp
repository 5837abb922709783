#include "language/language_dialog.h"

#include "drives/failure_text.h"
#include "language/installation.h"
#include "protocol/fixed_text.h"
#include "setup/device_host.h"
#include "setup/device_list.h"
#include "setup/web_page.h"
#include "ui/message_box.h"

namespace lumisk {

std::atomic<int> LanguageResult{0};

LanguageDialog::LanguageDialog(HostServices& host, RestartTiming restartTiming)
    : ui::Dialog(TemplateId), host_(host), restartTiming_(restartTiming) {}

void LanguageDialog::Refuse() {
    LanguageResult = -1;
    ui::Dialog::OnOK();
}

bool LanguageDialog::OnInitDialog() {
    LanguageReadiness readiness{};
    WaitFor([&readiness] {
        readiness = AskLanguageReadiness();
        return 0;
    });
    if (readiness.refusal == LanguageReadiness::Refusal::None) {
        Combo(LanguageComboId).SetCurSel(readiness.language);
        return true;
    }
    ui::ShowMessage(this, RefusalMessage(readiness.refusal));
    if (readiness.refusal == LanguageReadiness::Refusal::Unformatted) {
        OpenDeviceWebPage(*this, host_.browser);
    }
    Refuse();
    return true;
}

void LanguageDialog::OnOK() {
    const int language = Combo(LanguageComboId).GetCurSel();
    if (language < 0) {
        return;
    }
    InstallOutcome outcome{};
    WaitFor([this, language, &outcome] {
        outcome = InstallLanguage(language, host_.shareFiles, std::string(TextOf(DeviceHostText)));
        return 0;
    });
    if (outcome == InstallOutcome::StandInFiles) {
        ui::ShowMessage(this, StandInCodepagesMessage, "Error", ui::MessageIcon::Stop);
        return;
    }
    if (outcome != InstallOutcome::Installed) {
        ui::ShowMessage(
            this, FailureText("Please check hard drives.", outcome == InstallOutcome::FileFailed
                                                               ? host_.shareFiles.FailureReason()
                                                               : std::string()));
        return;
    }
    ui::Dialog::OnOK();
    RestartDialog restart(restartTiming_);
    restart.DoModal();
}

void LanguageDialog::OnCancel() {
    LanguageResult = -1;
    ui::Dialog::OnCancel();
}

void LanguageDialog::OnClose() {
    LanguageResult = -1;
    ui::Dialog::OnClose();
}

void OnLanguage(MainWindowControls& window, RestartTiming restartTiming) {
    if (window.deviceChosen == 0) {
        ui::ShowMessage(&window.dialog, "Please select a device.", "Error", ui::MessageIcon::Stop);
        return;
    }
    LanguageDialog dialog(window.host, restartTiming);
    dialog.DoModal();
    if (LanguageResult == 0) {
        FullRefresh(window);
        window.deviceChosen = 0;
    }
}

}  // namespace lumisk
