#include "engine/input/sys_input.h"

#include <gtest/gtest.h>

#include "engine/input/input_source.h"
#include "engine/input/key_code.h"
#include "engine/input/text_entry_handler.h"

namespace qel {
namespace {

struct ScriptedSource : InputSource {
    InputSnapshot next;
    int reads = 0;
    void readInput(InputSnapshot& out) override {
        ++reads;
        out = next;
    }
};

struct CountingTextEntry : TextEntryHandler {
    int updates = 0;
    void update() override { ++updates; }
};

TEST(SysInput, SamplesTheSourceOnceAFrameForKeysMouseAndTextEntry) {
    ScriptedSource source;
    source.next.foreground = true;
    source.next.x = 5;
    SysInput input;
    input.readFrom(&source);
    input.setFrameRate(30);
    ASSERT_TRUE(input.init());
    ASSERT_NE(input.key(), nullptr);
    ASSERT_NE(input.mouse(), nullptr);
    EXPECT_EQ(input.key()->repeatDelay(), 15);
    EXPECT_EQ(input.mouse()->x, 5);
    CountingTextEntry text;
    input.setTextEntryHandler(&text);

    source.next.keys[KEY_A] = 0x80;
    source.next.buttons = InputMouse::kRight;
    int readsBefore = source.reads;
    input.update();
    EXPECT_EQ(source.reads, readsBefore + 1);
    EXPECT_TRUE(input.isKeyOn(KEY_A));
    EXPECT_TRUE(input.isKeyTrigger(KEY_A));
    EXPECT_TRUE(input.isKeyRepeat(KEY_A));
    EXPECT_EQ(input.mouse()->buttons, InputMouse::kRight);
    EXPECT_EQ(text.updates, 1);

    input.addWheelDelta(120);
    input.update();
    EXPECT_EQ(input.mouse()->wheel, 1);
    EXPECT_FALSE(input.isKeyTrigger(KEY_A));
    input.term();
    EXPECT_EQ(input.key(), nullptr);
    EXPECT_FALSE(input.isKeyOn(KEY_A));
}

TEST(SysInput, WithoutASourceOrAPadEverythingReadsUp) {
    SysInput input;
    ASSERT_TRUE(input.init());
    input.update();
    for (int k = 0; k < 256; ++k) ASSERT_FALSE(input.isKeyOn(k));
    for (int code : {0, 30, 32, 39}) {
        EXPECT_FALSE(input.isPadOn(code));
        EXPECT_FALSE(input.isPadTrigger(code));
        EXPECT_FALSE(input.isPadRepeat(code));
    }
    EXPECT_EQ(input.joystick(0), nullptr);
    EXPECT_EQ(input.joystick(2), nullptr);
}

TEST(InputJoystick, CodesFollowButtonsAndStickDirectionsWithKeyRepeat) {
    EXPECT_FLOAT_EQ(InputJoystick::calibrate(65535, 0, 65535, 0.2f), 1.0f);
    EXPECT_FLOAT_EQ(InputJoystick::calibrate(0, 0, 65535, 0.2f), -1.0f);
    EXPECT_FLOAT_EQ(InputJoystick::calibrate(36000, 0, 65535, 0.2f), 0.0f);  // dead zone
    EXPECT_FLOAT_EQ(InputJoystick::calibrate(5, 5, 5, 0.2f), 0.0f);          // no range

    InputJoystick pad;
    pad.active = true;
    const float leftPushed[4] = {-0.9f, 0.0f, 0.0f, 0.8f};
    std::vector<int> repeats;
    for (int f = 0; f < 38; ++f) {
        pad.update(1u << 3, leftPushed);
        if (pad.isRepeat(32)) repeats.push_back(f);
    }
    EXPECT_EQ(repeats, (std::vector<int>{0, 30, 37}));
    EXPECT_TRUE(pad.isOn(3));
    EXPECT_FALSE(pad.isTrigger(3));
    // Left, up, right, down of each stick (x1 -0.9, y1 0, x2 0, y2 0.8).
    const float axes[8] = {0.9f, 0.0f, -0.9f, 0.0f, 0.0f, -0.8f, 0.0f, 0.8f};
    for (int i = 0; i < 8; ++i) {
        EXPECT_FLOAT_EQ(pad.getAxis(32 + i), axes[i]) << "code " << 32 + i;
        EXPECT_EQ(pad.isOn(32 + i), axes[i] > 0.5f) << "code " << 32 + i;
    }
    pad.active = false;
    EXPECT_FALSE(pad.isOn(3));
}

}  // namespace
}  // namespace qel
