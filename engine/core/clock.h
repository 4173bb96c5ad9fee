// The time source of frame pacing: a monotonic millisecond-and-better clock
// and a sleep. Frame timing reads time only through this interface, so
// tests can drive it with a clock that advances when asked to sleep.
#pragma once

#include <cstdint>

namespace qel {

class Clock {
public:
    virtual ~Clock() = default;
    // Monotonic time in nanoseconds since an arbitrary fixed point.
    virtual std::int64_t nowNanoseconds() = 0;
    // Sleeps about `ms` milliseconds; 0 gives up the rest of the time slice.
    virtual void sleepMilliseconds(std::uint32_t ms) = 0;

    // The process clock: the standard library's steady clock.
    static Clock& system();
};

}  // namespace qel
