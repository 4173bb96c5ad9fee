// The keyboard as the game sees it: one snapshot a frame by Windows
// virtual-key code, the previous frame's snapshot, and an auto-repeat
// counter per key.
//
// Each key's counter runs as KeyRepeat describes. With delay 30 and
// interval 6 a key held from frame F repeats at F, F+30, F+37, F+44, ...
#pragma once

#include <cstdint>

#include "engine/core/core.h"
#include "engine/input/key_repeat.h"

namespace qel {

struct InputSnapshot;

class InputKey : public Core {
public:
    static constexpr int kKeyCount = 256;
    static constexpr std::uint8_t kDown = 0x80;

    InputKey();
    QEL_CLASS(InputKey, Core, Pool::System);

    // Delay and interval from the frame rate: half a second and a tenth.
    void setFrameRate(int framesPerSecond);
    // The state at creation: the keys as they are, nothing before.
    void prime(const InputSnapshot& snapshot);
    // Once a frame.
    void update(const InputSnapshot& snapshot);

    bool isOn(int key) const { return valid(key) && (current_[key] & kDown); }
    bool isTrigger(int key) const { return isOn(key) && !(previous_[key] & kDown); }
    bool isRepeat(int key) const { return isTrigger(key) || (valid(key) && repeat_[key] == 0); }
    std::int16_t repeatCounter(int key) const { return valid(key) ? repeat_[key] : -1; }
    std::int16_t repeatDelay() const { return timing_.delay; }
    std::int16_t repeatInterval() const { return timing_.interval; }

private:
    static bool valid(int key) { return key >= 0 && key < kKeyCount; }

    std::uint8_t* current_;
    std::uint8_t* previous_;
    std::uint8_t states_[2][kKeyCount] = {};
    std::int16_t repeat_[kKeyCount];
    KeyRepeat timing_;
};

}  // namespace qel
