#include "ui/worker.h"

#include <thread>

namespace lumisk::ui {

void StartWorker(std::function<void()> work) {
    std::thread(std::move(work)).detach();
}

}  // namespace lumisk::ui
