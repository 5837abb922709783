#pragma once
// What a Dialog keeps besides its window: the handlers routed to its controls, and the window
// as worker threads may reach it.

#include <functional>
#include <map>
#include <mutex>

#include "ui/dialog.h"

namespace lumisk::ui {

struct Dialog::Routes {
    using Handlers = std::map<int, std::function<void()>>;

    Handlers clicks;
    Handlers listClicks;
    Handlers selectionChanges;

    // Set while the window exists; worker threads read it, so only under the mutex.
    std::mutex windowMutex;
    DialogWindowBase* liveWindow = nullptr;

    void SetLiveWindow(DialogWindowBase* window) {
        const std::lock_guard lock(windowMutex);
        liveWindow = window;
    }
};

}  // namespace lumisk::ui
