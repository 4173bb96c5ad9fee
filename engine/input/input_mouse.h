// The mouse as the game sees it: logical buttons (bit 0 left, bit 1 right,
// bit 2 middle) and the cursor in frame pixels, each with the previous
// frame's value, and the wheel notches of the last frame. The wheel count
// is the one field the window thread touches.
#pragma once

#include <atomic>
#include <cstdint>

#include "engine/core/core.h"

namespace qel {

struct InputSnapshot;

class InputMouse : public Core {
public:
    static constexpr std::uint32_t kLeft = 1;
    static constexpr std::uint32_t kRight = 2;
    static constexpr std::uint32_t kMiddle = 4;

    QEL_CLASS(InputMouse, Core, Pool::System);

    // The cursor where it is, no buttons.
    void prime(const InputSnapshot& snapshot);
    // Once a frame.
    void update(const InputSnapshot& snapshot);
    // Any thread: one wheel message, in 1/120 notches (a part notch is lost,
    // as each message counts whole notches only).
    void addWheelDelta(int delta) { wheelCount_ += delta / 120; }

    // Logical buttons from physical ones.
    static std::uint32_t logicalButtons(std::uint32_t physical, bool swapped);

    std::uint32_t buttons = 0;
    std::uint32_t previousButtons = 0;
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t previousX = 0;
    std::int32_t previousY = 0;
    std::int32_t wheel = 0;

private:
    std::atomic<std::int32_t> wheelCount_{0};
};

}  // namespace qel
