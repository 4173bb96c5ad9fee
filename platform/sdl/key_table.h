// Physical keys (SDL scancodes, passed as plain ints) to the Windows
// virtual-key codes the game reads. Keys with two places on the keyboard
// (shift, control, alt, enter) answer with one code for both sides;
// shift, control and alt also set their left or right code (160-165).
#pragma once

#include <cstdint>

namespace qel {

class KeyTable {
public:
    // The virtual-key code of a scancode: every key SDL reports that has one
    // (punctuation by its place on the US layout), 0 for the rest.
    // With num lock off the number pad is a second set of cursor keys
    // (7 home, 8 up, 9 page up, ..., 0 insert, the point delete), as the
    // system's key state has always reported it.
    static int virtualKey(int scancode, bool numLock = true);
    // The side-specific code (160-165) of a shift, control or alt scancode, else 0.
    static int sidedVirtualKey(int scancode);
    // Fills `keys` (256 entries, 0x80 = down) from a pressed-state array
    // indexed by scancode.
    static void fill(const std::uint8_t* pressed, int count, std::uint8_t keys[256],
                     bool numLock = true);
    // Marks the mouse buttons of an SDL button mask under their key codes
    // (1 left, 2 right, 4 middle, 5 and 6 the side buttons): the keyboard
    // state the game polls has always carried them, and the scripts read
    // a click as a key.
    static void fillMouseButtons(std::uint32_t sdlButtons, std::uint8_t keys[256]);
};

}  // namespace qel
