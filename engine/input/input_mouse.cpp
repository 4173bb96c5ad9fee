#include "engine/input/input_mouse.h"

#include "engine/input/input_source.h"

namespace qel {

std::uint32_t InputMouse::logicalButtons(std::uint32_t physical, bool swapped) {
    std::uint32_t left = physical & kLeft ? 1 : 0;
    std::uint32_t right = physical & kRight ? 1 : 0;
    std::uint32_t out = swapped ? (right * kLeft | left * kRight) : (left * kLeft | right * kRight);
    return out | (physical & kMiddle);
}

void InputMouse::prime(const InputSnapshot& snapshot) {
    buttons = previousButtons = 0;
    x = previousX = snapshot.x;
    y = previousY = snapshot.y;
    wheel = 0;
    wheelCount_ = 0;
}

void InputMouse::update(const InputSnapshot& snapshot) {
    previousButtons = buttons;
    previousX = x;
    previousY = y;
    wheel = wheelCount_.exchange(0);
    buttons = snapshot.foreground ? logicalButtons(snapshot.buttons, snapshot.buttonsSwapped) : 0;
    x = snapshot.x;
    y = snapshot.y;
}

}  // namespace qel
