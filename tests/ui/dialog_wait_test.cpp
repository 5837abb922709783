// What a wait (Dialog::WaitFor) holds back until its work is done, the same on every back end.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "tests/gui_support/dialog_driver.h"
#include "tests/ui/probe_dialog.h"

namespace lumisk::ui_test {
namespace {

using namespace std::chrono_literals;

TEST(DialogWait, HoldsThePaintHandlerRefusesTheCloseRequestAndRunsANestedWaitAtOnce) {
    // Timers run during a wait: the first acts on the window, the second, later, looks back.
    constexpr int Act = 1;
    constexpr int Look = 2;
    ProbeDialog dialog(MainTemplate);
    const std::thread::id dialogThread = std::this_thread::get_id();
    std::atomic<bool> released = false;
    int paintsWhenWaitStarted = 0;
    int paintsDuringWait = -1;
    int closesDuringWait = -1;
    bool nestedRanAtOnce = false;
    dialog.timer = [&](int timerId) {
        dialog.KillTimer(timerId);
        if (timerId == Act) {
            gui_test::RepaintActiveDialog();
            gui_test::RequestClose();
            nestedRanAtOnce = dialog.WaitFor([&] {
                return std::this_thread::get_id() == dialogThread ? 1 : 0;
            }) == 1;
            dialog.SetTimer(Look, 200);
        } else {
            paintsDuringWait = dialog.paintCalls;
            closesDuringWait = dialog.closeCalls;
            released = true;
        }
    };
    const int code = gui_test::RunDialog(dialog, [&] {
        dialog.SetTimer(Act, 10);
        paintsWhenWaitStarted = dialog.paintCalls;
        const int result = dialog.WaitFor([&] {
            while (!released) {
                std::this_thread::sleep_for(10ms);
            }
            return 5;
        });
        EXPECT_EQ(result, 5);
        EXPECT_EQ(paintsDuringWait, paintsWhenWaitStarted);
        EXPECT_EQ(closesDuringWait, 0);
        EXPECT_TRUE(nestedRanAtOnce);
        // The paint that came during the wait reaches the handler now.
        EXPECT_TRUE(gui_test::WaitUntil([&] { return dialog.paintCalls > paintsWhenWaitStarted; }));
        EXPECT_TRUE(dialog.IsRunning());
        gui_test::RequestClose();
    });
    EXPECT_EQ(dialog.closeCalls, 1);
    EXPECT_EQ(code, ui::IdCancel);
}

}  // namespace
}  // namespace lumisk::ui_test
