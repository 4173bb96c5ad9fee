// A game pad: 31 buttons and two sticks, read as 40 codes with held,
// pressed and repeat queries like the keys (codes 0-30 the buttons, 32-35
// left, up, right and down of the first stick, 36-39 of the second).
//
// Nothing in the program opens a pad, so SysInput's slots stay empty and
// the pad queries answer false; the type is kept so that a pad can be
// plugged in by feeding it calibrated positions.
#pragma once

#include <cstdint>

#include "engine/core/core.h"
#include "engine/input/key_repeat.h"

namespace qel {

class InputJoystick : public Core {
public:
    static constexpr int kCodeCount = 40;
    static constexpr int kButtonCount = 31;
    static constexpr int kFirstStickCode = 32;

    InputJoystick();
    QEL_CLASS(InputJoystick, Core, Pool::System);

    // A raw axis reading calibrated to -1..1 from the device's range, with
    // readings inside the dead zone (fraction of the half-range) set to 0.
    static float calibrate(std::int32_t value, std::int32_t min, std::int32_t max, float deadZone);

    void setFrameRate(int framesPerSecond);
    // Once a frame: button bits (0-30) and calibrated sticks (x1, y1, x2, y2).
    void update(std::uint32_t buttons, const float sticks[4]);

    bool isOn(int code) const;
    bool isTrigger(int code) const;
    bool isRepeat(int code) const;
    // Stick value in a direction (codes 32-39), positive when pushed that way.
    float getAxis(int code) const;

    bool active = false;
    float threshold = 0.5f;

private:
    static bool isOnIn(std::uint64_t bits, int code) {
        return code >= 0 && code < kCodeCount && ((bits >> code) & 1);
    }

    std::uint64_t current_ = 0;
    std::uint64_t previous_ = 0;
    float sticks_[4] = {};
    std::int16_t repeat_[kCodeCount];
    KeyRepeat timing_;
};

}  // namespace qel
