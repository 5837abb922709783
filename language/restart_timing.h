#pragma once
// How long an adapter takes to restart after a code page change: 99 steps of 900 ms of progress,
// and 90 s in all.

#include <chrono>

namespace lumisk {

struct RestartTiming {
    static constexpr int Steps = 99;
    std::chrono::milliseconds stepPause{900};
    std::chrono::milliseconds lifetime{90000};
};

}  // namespace lumisk
