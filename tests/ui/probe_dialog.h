#pragma once
// A dialog whose handlers count their calls and can be given behaviour by each test; without
// one they do what the toolkit does by default.

#include <functional>
#include <vector>

#include "ui/dialog.h"

namespace lumisk::ui_test {

inline constexpr int MainTemplate = 102;
inline constexpr int LoginTemplate = 134;
inline constexpr int AboutTemplate = 100;
inline constexpr int ToolkitTemplate = 900;
inline constexpr int BrokenTemplate = 901;

class ProbeDialog : public ui::Dialog {
public:
    using ui::Dialog::Dialog;

    std::function<bool()> init;
    std::function<void()> ok;
    std::function<void()> cancel;
    std::function<void()> close;
    std::function<void()> paint;
    std::function<void(int)> timer;

    int okCalls = 0;
    int cancelCalls = 0;
    int closeCalls = 0;
    int paintCalls = 0;
    std::vector<int> sysCommands;

protected:
    bool OnInitDialog() override { return init ? init() : true; }
    void OnOK() override {
        ++okCalls;
        ok ? ok() : ui::Dialog::OnOK();
    }
    void OnCancel() override {
        ++cancelCalls;
        cancel ? cancel() : ui::Dialog::OnCancel();
    }
    void OnClose() override {
        ++closeCalls;
        close ? close() : ui::Dialog::OnClose();
    }
    void OnPaint() override {
        ++paintCalls;
        if (paint) {
            paint();
        }
    }
    void OnSysCommand(int commandId) override { sysCommands.push_back(commandId); }
    void OnTimer(int timerId) override {
        if (timer) {
            timer(timerId);
        }
    }
};

}  // namespace lumisk::ui_test
