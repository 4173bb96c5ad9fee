// The auto-repeat counter of one key or pad code.
//
// A counter is -1 while its key is up, the repeat delay on the frame it goes
// down, and then counts down while held, going back to the repeat interval
// after reading 0; a held key repeats on the frames its counter reads 0.
#pragma once

#include <cstdint>

namespace qel {

struct KeyRepeat {
    std::int16_t delay = 30;
    std::int16_t interval = 6;

    // Delay and interval from the frame rate: half a second and a tenth.
    void setFrameRate(int framesPerSecond);
    // The counter for this frame, from last frame's and the key's two states.
    std::int16_t next(std::int16_t counter, bool down, bool wasDown) const;
};

}  // namespace qel
