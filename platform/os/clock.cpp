#include "platform/os/clock.h"

#include <sched.h>
#include <time.h>

#include <cerrno>

namespace qel {
namespace {

class SystemClock final : public Clock {
public:
    std::int64_t nowNanoseconds() override {
        timespec ts{};
        clock_gettime(CLOCK_MONOTONIC, &ts);
        return static_cast<std::int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
    }

    void sleepMilliseconds(std::uint32_t ms) override {
        if (ms == 0) {
            sched_yield();
            return;
        }
        timespec want{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000L};
        timespec left{};
        // A signal must not cut a frame's sleep short.
        while (nanosleep(&want, &left) != 0 && errno == EINTR) want = left;
    }
};

}  // namespace

Clock& Clock::system() {
    static SystemClock clock;
    return clock;
}

}  // namespace qel
