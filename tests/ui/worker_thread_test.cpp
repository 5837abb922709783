// Worker threads acting on a running dialog through RunOnDialogThread.

#include <gtest/gtest.h>

#include <unistd.h>

#include <QApplication>
#include <QThread>
#include <atomic>
#include <chrono>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/gui_support/gui_driver.h"
#include "tests/ui/probe_dialog.h"
#include "ui/worker.h"

namespace lumisk::ui_test {
namespace {

using namespace gui_test;

constexpr int Progress = 3003;

TEST(WorkerThread, StepsAProgressBarOnTheDialogThread) {
    ProbeDialog dialog(ToolkitTemplate);
    std::vector<int> positions;
    std::atomic<bool> allOnGuiThread = true;
    std::atomic<bool> finished = false;
    const int code = RunDialog(dialog, [&] {
        ui::StartWorker([&] {
            dialog.RunOnDialogThread([&] { dialog.Progress(Progress).SetStep(25); });
            for (int step = 0; step < 4; ++step) {
                dialog.RunOnDialogThread([&] {
                    allOnGuiThread = allOnGuiThread && QThread::currentThread() == qApp->thread();
                    dialog.Progress(Progress).StepIt();
                    positions.push_back(dialog.Progress(Progress).GetPos());
                });
            }
            dialog.RunOnDialogThread([&] { dialog.EndDialog(42); });
            finished = true;
        });
    });
    EXPECT_EQ(code, 42);
    EXPECT_TRUE(WaitUntil([&] { return finished.load(); }));
    EXPECT_EQ(positions, (std::vector<int>{25, 50, 75, 100}));
    EXPECT_TRUE(allOnGuiThread);
}

TEST(WorkerThread, RequestsAfterTheRunDoNothing) {
    ProbeDialog dialog(ToolkitTemplate);
    RunDialog(dialog, [&] { dialog.EndDialog(ui::IdOk); });
    std::atomic<bool> ran = false;
    std::atomic<bool> returned = false;
    ui::StartWorker([&] {
        dialog.RunOnDialogThread([&] { ran = true; });
        returned = true;
    });
    EXPECT_TRUE(WaitUntil([&] { return returned.load(); }));
    EXPECT_FALSE(ran);
}

// Whether thread `tid` of this process sleeps: after its request is queued, the worker does
// nothing but wait for it.
bool Sleeps(pid_t tid) {
    std::ifstream file("/proc/self/task/" + std::to_string(tid) + "/stat");
    const std::string stat(std::istreambuf_iterator<char>(file), {});
    const std::size_t end = stat.rfind(") ");
    return end != std::string::npos && stat.compare(end + 2, 1, "S") == 0;
}

TEST(WorkerThread, RequestPendingWhenTheDialogEndsIsDroppedAndReleased) {
    ProbeDialog dialog(ToolkitTemplate);
    std::atomic<pid_t> worker = 0;
    std::atomic<bool> ran = false;
    std::atomic<bool> returned = false;
    RunDialog(dialog, [&] {
        ui::StartWorker([&] {
            worker = gettid();
            dialog.RunOnDialogThread([&] { ran = true; });
            returned = true;
        });
        // The dialog ends with the request queued, without going back to its event loop.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while ((worker == 0 || !Sleeps(worker)) && std::chrono::steady_clock::now() < deadline) {
            QThread::msleep(1);
        }
        EXPECT_TRUE(worker != 0 && Sleeps(worker)) << "the worker never waited for its request";
        dialog.EndDialog(ui::IdOk);
    });
    EXPECT_TRUE(WaitUntil([&] { return returned.load(); }));
    EXPECT_FALSE(ran);
}

TEST(WorkerThread, OnTheDialogThreadTheRequestRunsAtOnce) {
    ProbeDialog dialog(ToolkitTemplate);
    bool ran = false;
    RunDialog(dialog, [&] {
        dialog.RunOnDialogThread([&] { ran = true; });
        EXPECT_TRUE(ran);
        dialog.EndDialog(ui::IdOk);
    });
}

}  // namespace
}  // namespace lumisk::ui_test
