#include "engine/input/input_joystick.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace qel {

InputJoystick::InputJoystick() {
    std::fill(std::begin(repeat_), std::end(repeat_), std::int16_t{-1});
}

float InputJoystick::calibrate(std::int32_t value, std::int32_t min, std::int32_t max,
                               float deadZone) {
    float centre = (static_cast<float>(min) + static_cast<float>(max)) / 2;
    float half = (static_cast<float>(max) - static_cast<float>(min)) / 2;
    if (half <= 0) return 0;
    float v = std::clamp((static_cast<float>(value) - centre) / half, -1.0f, 1.0f);
    return std::fabs(v) < deadZone ? 0.0f : v;
}

void InputJoystick::setFrameRate(int framesPerSecond) {
    timing_.setFrameRate(framesPerSecond);
}

float InputJoystick::getAxis(int code) const {
    if (code < kFirstStickCode || code >= kCodeCount) return 0;
    // Left, up, right, down: the order of the scripts' stick button codes.
    const int dir = (code - kFirstStickCode) % 4;
    const int stick = (code - kFirstStickCode) / 4;
    const float v = sticks_[stick * 2 + dir % 2];
    return dir < 2 ? -v : v;
}

void InputJoystick::update(std::uint32_t buttons, const float sticks[4]) {
    previous_ = current_;
    std::copy(sticks, sticks + 4, sticks_);
    current_ = buttons & ((1u << kButtonCount) - 1);
    for (int code = kFirstStickCode; code < kCodeCount; ++code) {
        if (getAxis(code) > threshold) current_ |= std::uint64_t{1} << code;
    }
    for (int code = 0; code < kCodeCount; ++code) {
        repeat_[code] =
            timing_.next(repeat_[code], isOnIn(current_, code), isOnIn(previous_, code));
    }
}

bool InputJoystick::isOn(int code) const {
    return active && isOnIn(current_, code);
}

bool InputJoystick::isTrigger(int code) const {
    return isOn(code) && !isOnIn(previous_, code);
}

bool InputJoystick::isRepeat(int code) const {
    return isTrigger(code) || (isOn(code) && repeat_[code] == 0);
}

}  // namespace qel
