// Paces frames at a fixed rate with millisecond sleeps.
//
// The frame period is kept in milliseconds in 16.16 fixed point; the
// fraction carries from frame to frame, so at 60 frames per second the
// frames take 16 or 17 ms and 60 of them take 999 ms. A frame that ends
// late is caught up (no sleep, the schedule keeps its phase) unless it is
// 100 ms or more behind, when the schedule restarts from now.
#pragma once

#include <cstdint>

#include "engine/core/core.h"

namespace qel {

class Clock;

class FpsTimer : public Core {
public:
    // `clock` must outlive the timer; null means the system clock.
    explicit FpsTimer(Clock* clock = nullptr);

    QEL_CLASS(FpsTimer, Core, Pool::System);

    // Reads time from `clock` from now on (null: the system clock) and
    // restarts.
    void setClock(Clock* clock);
    void setRate(int framesPerSecond);
    // Starts the clock again: elapsed() begins at 0. The schedule is left
    // as it is; callers that start a new schedule also call resetSchedule.
    void restart();
    void resetSchedule(std::int32_t lastFrame = 0) { lastFrame_ = lastFrame; }
    // Milliseconds since the last restart.
    std::int32_t elapsed() const;
    // Sleeps until the end of this frame's slot.
    void wait();

    int rate() const { return framesPerSecond_; }
    std::uint32_t period() const { return period_; }
    float secondsPerFrame() const { return secondsPerFrame_; }
    std::int32_t lastFrame() const { return lastFrame_; }

    static constexpr std::int32_t kRestartThresholdMs = 100;

private:
    Clock* clock_;
    std::int64_t start_ = 0;
    int framesPerSecond_ = 60;
    std::uint32_t period_ = 0;
    float secondsPerFrame_ = 0;
    std::uint32_t carry_ = 0;
    std::int32_t lastFrame_ = 0;
};

}  // namespace qel
