// The restart wait: it cannot be dismissed, fills its bar and closes itself, on either back end.

#include <gtest/gtest.h>

#include <chrono>

#include "language/language_dialog.h"
#include "language/restart_dialog.h"
#include "tests/gui_support/dialog_driver.h"

namespace lumisk {
namespace {

using namespace std::chrono_literals;

TEST(RestartWait, OnlyItsTimerEndsItAndTheWorkerFillsTheBar) {
    LanguageResult = -1;
    RestartDialog restart(RestartTiming{2ms, 1500ms});
    int fullBeforeClosing = 0;
    const auto started = std::chrono::steady_clock::now();
    gui_test::RunDialog(restart, [&] {
        gui_test::PressEnter();
        gui_test::PressEscape();
        gui_test::PressAltF4();
        gui_test::RequestClose();
        EXPECT_TRUE(restart.IsRunning());
        // The worker sets the range, 1 to 100, from its own thread as soon as it runs, then
        // steps 99 times: from the default range's 0 the bar would stop at 99.
        const ui::ProgressBar bar = restart.Progress(RestartDialog::ProgressBarId);
        EXPECT_TRUE(gui_test::WaitUntil([&] { return bar.GetPos() == 100; }));
        fullBeforeClosing = bar.GetPos();
    });
    EXPECT_GE(std::chrono::steady_clock::now() - started, 1500ms);
    EXPECT_EQ(fullBeforeClosing, 100);
    EXPECT_EQ(LanguageResult, 0);
}

// The tests above run short waits; the adapter's restart takes this long.
TEST(RestartWait, TheRealWaitIs99StepsOf900MsAndCloses90SecondsOn) {
    const RestartTiming real;
    EXPECT_EQ(RestartTiming::Steps, 99);
    EXPECT_EQ(real.stepPause, 900ms);
    EXPECT_EQ(real.lifetime, 90s);
}

}  // namespace
}  // namespace lumisk
