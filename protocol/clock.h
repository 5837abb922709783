#pragma once
// Time as the protocol sees it: a seam so tests can run the fixed waits and pauses without waiting.

#include <chrono>

namespace lumisk {

class Clock {
public:
    using TimePoint = std::chrono::steady_clock::time_point;

    virtual ~Clock() = default;
    virtual TimePoint Now() = 0;
    virtual void Sleep(std::chrono::milliseconds duration) = 0;
};

// The real monotonic clock; shared by every caller.
Clock& SystemClock();

}  // namespace lumisk
