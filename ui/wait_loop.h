#pragma once
// The event loop of a wait (Dialog::WaitFor), each back end's own.

#include <functional>

namespace lumisk::ui {

// Runs `work` on a worker thread and, until it has returned, every event but the user's input,
// which waits in the queue as it does for a window whose thread is busy; the wait cursor shows
// meanwhile. `work`'s result.
int RunEventLoopDuring(const std::function<int()>& work);

}  // namespace lumisk::ui
