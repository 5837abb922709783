#include "language/restart_dialog.h"

#include "language/language_dialog.h"

namespace lumisk {

RestartDialog::RestartDialog(RestartTiming timing) : ui::Dialog(TemplateId), timing_(timing) {}

RestartDialog::~RestartDialog() {
    if (worker_.joinable()) {
        worker_.join();
    }
}

bool RestartDialog::OnInitDialog() {
    worker_ = std::thread([this] { RestartProgress(); });
    SetTimer(TimerId, static_cast<int>(timing_.lifetime.count()));
    return true;
}

void RestartDialog::OnTimer(int) {
    EndDialog(ui::IdCancel);
    KillTimer(TimerId);
}

void RestartDialog::RestartProgress() {
    ui::ProgressBar bar = Progress(ProgressBarId);
    RunOnDialogThread([&bar] {
        bar.SetRange(1, 100);
        bar.SetStep(1);
    });
    for (int step = 0; step < RestartTiming::Steps; ++step) {
        RunOnDialogThread([&bar] { bar.StepIt(); });
        std::this_thread::sleep_for(timing_.stepPause);
    }
    LanguageResult = 0;
}

}  // namespace lumisk
