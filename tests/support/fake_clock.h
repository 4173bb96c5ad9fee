// A clock for tests: time moves only when someone sleeps or the test
// advances it, so frame pacing can be checked without wall time.
#pragma once

#include <atomic>
#include <cstdint>

#include "engine/core/clock.h"

namespace qel::test {

class FakeClock : public Clock {
public:
    std::int64_t nowNanoseconds() override { return now_; }
    void sleepMilliseconds(std::uint32_t ms) override {
        ++sleeps_;
        now_ += std::int64_t{ms} * 1000000;
    }
    void advanceMs(std::int64_t ms) { now_ += ms * 1000000; }
    std::int64_t nowMs() const { return now_ / 1000000; }
    int sleeps() const { return sleeps_; }

private:
    std::atomic<std::int64_t> now_{5000000000};  // not at zero, to catch missing offsets
    std::atomic<int> sleeps_{0};
};

}  // namespace qel::test
