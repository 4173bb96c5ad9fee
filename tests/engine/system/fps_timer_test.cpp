#include "engine/system/fps_timer.h"

#include <gtest/gtest.h>

#include <bit>
#include <vector>

#include "tests/support/fake_clock.h"

namespace qel {
namespace {

// A timer freshly started as the application starts it.
struct Paced {
    test::FakeClock clock;
    FpsTimer timer{&clock};
    explicit Paced(int rate = 60) {
        timer.setRate(rate);
        timer.restart();
        timer.resetSchedule(0);
    }
    // Frame lengths of `n` instant frames.
    std::vector<std::int64_t> steps(int n) {
        std::vector<std::int64_t> out;
        for (int i = 0; i < n; ++i) {
            std::int64_t before = clock.nowMs();
            timer.wait();
            out.push_back(clock.nowMs() - before);
        }
        return out;
    }
};

TEST(FpsTimer, SixtyFramesPerSecondKeepsFixedPointPeriod) {
    Paced p;
    EXPECT_EQ(p.timer.period(), 1092266u);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(p.timer.secondsPerFrame()), 0x3C888889u);
    EXPECT_EQ(p.steps(9), (std::vector<std::int64_t>{16, 17, 16, 17, 17, 16, 17, 17, 16}));
}

TEST(FpsTimer, InstantFramesAddUpToTheScheduleTotals) {
    struct Case {
        int frames;
        std::int64_t totalMs;
    };
    for (Case c : {Case{60, 999}, Case{180, 2999}, Case{1, 16}}) {
        Paced p;
        std::int64_t start = p.clock.nowMs();
        p.steps(c.frames);
        EXPECT_EQ(p.clock.nowMs() - start, c.totalMs) << c.frames << " frames";
        EXPECT_EQ(p.timer.elapsed(), c.totalMs);
    }
}

TEST(FpsTimer, ALateFrameIsCaughtUpWithoutSleepingAndKeepsThePhase) {
    Paced p;
    p.steps(3);             // schedule at 49 ms
    p.clock.advanceMs(60);  // the fourth frame's work took 60 ms
    int sleepsBefore = p.clock.sleeps();
    std::int64_t before = p.clock.nowMs();
    p.timer.wait();  // behind: no real sleep, only a yield
    EXPECT_EQ(p.clock.nowMs(), before);
    EXPECT_EQ(p.clock.sleeps(), sleepsBefore + 1);
    EXPECT_EQ(p.timer.lastFrame(), 49 + 17);
    // The schedule stays on its grid: after catching up, frame 60 still ends at 999 ms.
    std::int64_t origin = p.clock.nowMs() - p.timer.elapsed();
    p.steps(56);
    EXPECT_EQ(p.clock.nowMs() - origin, 999);
}

TEST(FpsTimer, AStallOfAHundredMillisecondsRestartsTheScheduleFromNow) {
    struct Case {
        std::int64_t stallMs;
        bool restarts;
    };
    // After one frame the schedule is at 16 ms; the next step is 17 ms, so a
    // stall is "behind - step" = stall - 17 late.
    for (Case c : {Case{116, false}, Case{117, true}, Case{500, true}}) {
        Paced p;
        p.steps(1);
        p.clock.advanceMs(c.stallMs);
        p.timer.wait();
        std::int32_t now = p.timer.elapsed();
        EXPECT_EQ(p.timer.lastFrame(), c.restarts ? now : 16 + 17) << c.stallMs;
    }
}

TEST(FpsTimer, SetRateRecomputesThePeriodAndStartsTheScheduleAtNow) {
    Paced p(30);
    EXPECT_EQ(p.timer.period(), 65536000u / 30);
    EXPECT_EQ(p.steps(3), (std::vector<std::int64_t>{33, 33, 33}));
    p.clock.advanceMs(5);
    p.timer.setRate(60);
    EXPECT_EQ(p.timer.lastFrame(), p.timer.elapsed());
    EXPECT_EQ(p.steps(1), std::vector<std::int64_t>{16});

    // A rate of zero would divide by zero: it is taken as one frame a second.
    p.timer.setRate(0);
    EXPECT_EQ(p.timer.rate(), 1);
    EXPECT_EQ(p.timer.period(), 65536000u);
}

}  // namespace
}  // namespace qel
