#include "engine/core/clock.h"

#include <chrono>
#include <thread>

namespace qel {
namespace {

// The standard library's monotonic clock: on Linux the same CLOCK_MONOTONIC
// and nanosleep (restarted after signals) the platform would call itself.
class SteadyClock final : public Clock {
public:
    std::int64_t nowNanoseconds() override {
        return std::chrono::duration_cast<std::chrono::nanoseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }

    void sleepMilliseconds(std::uint32_t ms) override {
        if (ms == 0) {
            std::this_thread::yield();
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    }
};

}  // namespace

Clock& Clock::system() {
    static SteadyClock clock;
    return clock;
}

}  // namespace qel
