#include "engine/input/input_key.h"

#include <gtest/gtest.h>

#include <vector>

#include "engine/input/input_source.h"

namespace qel {
namespace {

constexpr int kEnter = 13;
constexpr int kUp = 38;

InputSnapshot frameWith(std::initializer_list<int> down, bool foreground = true) {
    InputSnapshot s;
    s.foreground = foreground;
    for (int k : down) s.keys[k] = 0x80;
    return s;
}

// Frames (from 0) on which the repeat query is true while `key` is held
// from frame 0 for `frames` frames.
std::vector<int> repeatFrames(InputKey& key, int vk, int frames) {
    std::vector<int> out;
    for (int f = 0; f < frames; ++f) {
        key.update(frameWith({vk}));
        if (key.isRepeat(vk)) out.push_back(f);
    }
    return out;
}

TEST(InputKey, HeldKeyRepeatsAfterTheDelayThenEveryIntervalPlusOne) {
    InputKey key;
    key.setFrameRate(60);
    EXPECT_EQ(key.repeatDelay(), 30);
    EXPECT_EQ(key.repeatInterval(), 6);
    EXPECT_EQ(repeatFrames(key, kUp, 60), (std::vector<int>{0, 30, 37, 44, 51, 58}));
    EXPECT_EQ(key.repeatCounter(kUp), 6);  // frame 59: reloaded the frame after the repeat at 58

    // A release and a new press restart the delay.
    key.update(frameWith({}));
    EXPECT_EQ(key.repeatCounter(kUp), -1);
    EXPECT_EQ(repeatFrames(key, kUp, 32), (std::vector<int>{0, 30}));
}

TEST(InputKey, RepeatTimesFollowTheFrameRate) {
    struct Case {
        int rate;
        std::int16_t delay, interval;
        std::vector<int> repeats;
    };
    const Case cases[] = {
        {30, 15, 3, {0, 15, 19, 23}},
        {15, 7, 1, {0, 7, 9, 11}},
    };
    for (const Case& c : cases) {
        InputKey key;
        key.setFrameRate(c.rate);
        EXPECT_EQ(key.repeatDelay(), c.delay);
        EXPECT_EQ(key.repeatInterval(), c.interval);
        EXPECT_EQ(repeatFrames(key, kEnter, c.repeats.back() + 1), c.repeats) << c.rate;
    }
}

TEST(InputKey, AOneFramePressIsHeldAndPressedOnlyInThatFrame) {
    InputKey key;
    key.update(frameWith({kEnter}));
    EXPECT_TRUE(key.isOn(kEnter));
    EXPECT_TRUE(key.isTrigger(kEnter));
    EXPECT_TRUE(key.isRepeat(kEnter));
    EXPECT_FALSE(key.isOn(kUp));
    key.update(frameWith({}));
    EXPECT_FALSE(key.isOn(kEnter));
    EXPECT_FALSE(key.isTrigger(kEnter));
    EXPECT_FALSE(key.isRepeat(kEnter));
    // Held on: on, but no longer pressed.
    key.update(frameWith({kEnter}));
    key.update(frameWith({kEnter}));
    EXPECT_TRUE(key.isOn(kEnter));
    EXPECT_FALSE(key.isTrigger(kEnter));
}

TEST(InputKey, AWindowInTheBackgroundSeesNoKeys) {
    InputKey key;
    key.update(frameWith({kUp}));
    key.update(frameWith({kUp}, /*foreground=*/false));
    EXPECT_FALSE(key.isOn(kUp));
    EXPECT_EQ(key.repeatCounter(kUp), -1);
    // Back in front with the key still down: it reads as a new press.
    key.update(frameWith({kUp}));
    EXPECT_TRUE(key.isTrigger(kUp));
    EXPECT_EQ(key.repeatCounter(kUp), 30);
}

TEST(InputKey, KeysDownAtCreationAreNotPressesAndCodesOutOfRangeReadUp) {
    InputKey key;
    key.prime(frameWith({kUp}));
    EXPECT_TRUE(key.isOn(kUp));
    key.update(frameWith({kUp}));
    EXPECT_FALSE(key.isTrigger(kUp));  // it was already down before the first frame
    for (int bad : {-1, 256, 1000}) {
        EXPECT_FALSE(key.isOn(bad));
        EXPECT_FALSE(key.isRepeat(bad));
        EXPECT_EQ(key.repeatCounter(bad), -1);
    }
}

}  // namespace
}  // namespace qel
