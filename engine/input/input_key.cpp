#include "engine/input/input_key.h"

#include <algorithm>
#include <iterator>
#include <cstring>
#include <utility>

#include "engine/input/input_source.h"

namespace qel {

InputKey::InputKey() : current_(states_[0]), previous_(states_[1]) {
    std::fill(std::begin(repeat_), std::end(repeat_), std::int16_t{-1});
}

const ClassInfo& InputKey::staticClassInfo() {
    static const ClassInfo info = ClassInfo::make<InputKey, Core>("InputKey");
    return info;
}

void InputKey::setFrameRate(int framesPerSecond) {
    delay_ = static_cast<std::int16_t>(framesPerSecond * 0.5);
    interval_ = static_cast<std::int16_t>(framesPerSecond * 0.1);
}

void InputKey::prime(const InputSnapshot& snapshot) {
    for (int k = 0; k < kKeyCount; ++k) current_[k] = snapshot.keys[k] & kDown;
    std::memset(previous_, 0, kKeyCount);
}

void InputKey::update(const InputSnapshot& snapshot) {
    std::swap(current_, previous_);
    for (int k = 0; k < kKeyCount; ++k) {
        // A window in the background sees no keys.
        current_[k] = snapshot.foreground ? (snapshot.keys[k] & kDown) : 0;
    }
    for (int k = 0; k < kKeyCount; ++k) {
        bool down = current_[k] & kDown;
        bool wasDown = previous_[k] & kDown;
        if (down && !wasDown) {
            repeat_[k] = delay_;
        } else if (down) {
            repeat_[k] = repeat_[k] == 0 ? interval_ : static_cast<std::int16_t>(repeat_[k] - 1);
        } else {
            repeat_[k] = -1;
        }
    }
}

}  // namespace qel
