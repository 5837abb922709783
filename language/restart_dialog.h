#pragma once
// The restart wait: a box that cannot be dismissed while the adapter restarts. A worker fills its
// progress bar in 99 steps and then sets LanguageResult to 0; the box closes itself when its
// timer fires.

#include <thread>

#include "language/restart_timing.h"
#include "ui/dialog.h"

namespace lumisk {

class RestartDialog : public ui::Dialog {
public:
    static constexpr int TemplateId = 141;
    static constexpr int ProgressBarId = 1023;
    static constexpr int TimerId = 1;

    explicit RestartDialog(RestartTiming timing = {});
    // Waits for the worker, which ends on its own shortly before the box closes.
    ~RestartDialog() override;

protected:
    bool OnInitDialog() override;
    // Enter, Escape and the close request leave the box open.
    void OnOK() override {}
    void OnCancel() override {}
    void OnTimer(int timerId) override;

private:
    void RestartProgress();

    const RestartTiming timing_;
    std::thread worker_;
};

}  // namespace lumisk
