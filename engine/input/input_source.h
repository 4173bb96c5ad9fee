// Where the input devices read the keyboard and mouse from, once a frame.
// The window thread keeps the state; a snapshot is taken under its lock.
#pragma once

#include <cstdint>

namespace qel {

struct InputSnapshot {
    // False while the window is in the background: nothing else is read then.
    bool foreground = false;
    // By Windows virtual-key code; 0x80 while the key is down.
    std::uint8_t keys[256] = {};
    // Physical buttons: bit 0 left, bit 1 right, bit 2 middle.
    std::uint32_t buttons = 0;
    // The system's setting that makes the right button the primary one.
    bool buttonsSwapped = false;
    // Cursor position in frame pixels.
    std::int32_t x = 0;
    std::int32_t y = 0;
};

class InputSource {
public:
    virtual ~InputSource() = default;
    virtual void readInput(InputSnapshot& out) = 0;
};

}  // namespace qel
