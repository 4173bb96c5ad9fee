#include "engine/input/input_mouse.h"

#include <gtest/gtest.h>

#include "engine/input/input_source.h"

namespace qel {
namespace {

InputSnapshot at(int x, int y, std::uint32_t physical, bool swapped = false,
                 bool foreground = true) {
    InputSnapshot s;
    s.foreground = foreground;
    s.x = x;
    s.y = y;
    s.buttons = physical;
    s.buttonsSwapped = swapped;
    return s;
}

TEST(InputMouse, PhysicalButtonsMapToLogicalOnes) {
    struct Case {
        std::uint32_t physical;
        bool swapped;
        std::uint32_t logical;
    };
    const Case cases[] = {
        {1, false, 1}, {2, false, 2}, {4, false, 4}, {7, false, 7},
        {2, true, 1},  {1, true, 2},  {4, true, 4},  {5, true, 6},
    };
    for (const Case& c : cases) {
        InputMouse mouse;
        mouse.update(at(0, 0, c.physical, c.swapped));
        EXPECT_EQ(mouse.buttons, c.logical) << c.physical << (c.swapped ? " swapped" : "");
    }
}

TEST(InputMouse, KeepsThePreviousFrameAndReadsNoButtonsInTheBackground) {
    InputMouse mouse;
    mouse.prime(at(10, 20, 0));
    EXPECT_EQ(mouse.previousX, 10);
    mouse.update(at(30, 40, InputMouse::kLeft));
    mouse.update(at(50, 60, InputMouse::kLeft, false, /*foreground=*/false));
    EXPECT_EQ(mouse.buttons, 0u);
    EXPECT_EQ(mouse.previousButtons, InputMouse::kLeft);
    EXPECT_EQ(mouse.x, 50);  // the cursor is still followed
    EXPECT_EQ(mouse.y, 60);
    EXPECT_EQ(mouse.previousX, 30);
    EXPECT_EQ(mouse.previousY, 40);
}

TEST(InputMouse, WheelCountsWholeNotchesPerMessageForOneFrame) {
    InputMouse mouse;
    for (int i = 0; i < 3; ++i) mouse.addWheelDelta(-120);  // towards the user
    mouse.update(at(0, 0, 0));
    EXPECT_EQ(mouse.wheel, -3);
    mouse.addWheelDelta(60);  // half a notch counts nothing
    mouse.addWheelDelta(60);
    mouse.update(at(0, 0, 0));
    EXPECT_EQ(mouse.wheel, 0);
    mouse.addWheelDelta(250);
    mouse.update(at(0, 0, 0));
    EXPECT_EQ(mouse.wheel, 2);
    mouse.update(at(0, 0, 0));
    EXPECT_EQ(mouse.wheel, 0);  // a frame without messages
}

}  // namespace
}  // namespace qel
