#include "engine/input/key_repeat.h"

namespace qel {

void KeyRepeat::setFrameRate(int framesPerSecond) {
    delay = static_cast<std::int16_t>(framesPerSecond * 0.5);
    interval = static_cast<std::int16_t>(framesPerSecond * 0.1);
}

std::int16_t KeyRepeat::next(std::int16_t counter, bool down, bool wasDown) const {
    if (!down) return -1;
    if (!wasDown) return delay;
    return counter == 0 ? interval : static_cast<std::int16_t>(counter - 1);
}

}  // namespace qel
