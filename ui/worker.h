#pragma once
// Worker threads: started at once at normal priority, never waited for.

#include <functional>

namespace lumisk::ui {

void StartWorker(std::function<void()> work);

}  // namespace lumisk::ui
