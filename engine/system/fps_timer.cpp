#include "engine/system/fps_timer.h"

#include "engine/core/clock.h"

namespace qel {

FpsTimer::FpsTimer(Clock* clock) : clock_(clock ? clock : &Clock::system()) {
    start_ = clock_->nowNanoseconds();
    setRate(60);
}

void FpsTimer::setClock(Clock* clock) {
    clock_ = clock ? clock : &Clock::system();
    restart();
}

void FpsTimer::setRate(int framesPerSecond) {
    if (framesPerSecond <= 0) framesPerSecond = 1;  // a zero rate would divide by zero
    framesPerSecond_ = framesPerSecond;
    carry_ = 0;
    secondsPerFrame_ = 1.0f / static_cast<float>(framesPerSecond);
    period_ = 65536000u / static_cast<std::uint32_t>(framesPerSecond);
    lastFrame_ = elapsed();
}

void FpsTimer::restart() {
    start_ = clock_->nowNanoseconds();
}

std::int32_t FpsTimer::elapsed() const {
    return static_cast<std::int32_t>((clock_->nowNanoseconds() - start_) / 1000000);
}

void FpsTimer::wait() {
    std::int32_t now = elapsed();
    carry_ = period_ + (carry_ & 0xFFFFu);
    auto step = static_cast<std::int32_t>(carry_ >> 16);
    std::int32_t behind = now - lastFrame_;
    if (behind < step) {
        clock_->sleepMilliseconds(static_cast<std::uint32_t>(step - behind));
        lastFrame_ += step;
        return;
    }
    clock_->sleepMilliseconds(0);
    if (behind - step < kRestartThresholdMs) {
        lastFrame_ += step;
    } else {
        lastFrame_ = now;
    }
}

}  // namespace qel
