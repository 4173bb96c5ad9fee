#include "engine/input/input_key.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <utility>

#include "engine/input/input_source.h"

namespace qel {

InputKey::InputKey() : current_(states_[0]), previous_(states_[1]) {
    std::fill(std::begin(repeat_), std::end(repeat_), std::int16_t{-1});
}

void InputKey::setFrameRate(int framesPerSecond) {
    timing_.setFrameRate(framesPerSecond);
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
        repeat_[k] = timing_.next(repeat_[k], current_[k] & kDown, previous_[k] & kDown);
    }
}

}  // namespace qel
