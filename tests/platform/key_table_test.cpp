#include "platform/sdl/key_table.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace qel {
namespace {

TEST(KeyTable, ScancodesMapToTheVirtualKeysTheGameReads) {
    struct Case {
        SDL_Scancode scancode;
        int vk;
    };
    const Case cases[] = {
        {SDL_SCANCODE_A, 65},
        {SDL_SCANCODE_Z, 90},
        {SDL_SCANCODE_1, 49},
        {SDL_SCANCODE_9, 57},
        {SDL_SCANCODE_0, 48},
        {SDL_SCANCODE_BACKSPACE, 8},
        {SDL_SCANCODE_TAB, 9},
        {SDL_SCANCODE_RETURN, 13},
        {SDL_SCANCODE_KP_ENTER, 13},
        {SDL_SCANCODE_ESCAPE, 27},
        {SDL_SCANCODE_SPACE, 32},
        {SDL_SCANCODE_PAGEUP, 33},
        {SDL_SCANCODE_PAGEDOWN, 34},
        {SDL_SCANCODE_END, 35},
        {SDL_SCANCODE_HOME, 36},
        {SDL_SCANCODE_LEFT, 37},
        {SDL_SCANCODE_UP, 38},
        {SDL_SCANCODE_RIGHT, 39},
        {SDL_SCANCODE_DOWN, 40},
        {SDL_SCANCODE_INSERT, 45},
        {SDL_SCANCODE_DELETE, 46},
        {SDL_SCANCODE_LSHIFT, 16},
        {SDL_SCANCODE_RSHIFT, 16},
        {SDL_SCANCODE_LCTRL, 17},
        {SDL_SCANCODE_RCTRL, 17},
        {SDL_SCANCODE_LALT, 18},
        {SDL_SCANCODE_RALT, 18},
        {SDL_SCANCODE_KP_0, 96},
        {SDL_SCANCODE_KP_1, 97},
        {SDL_SCANCODE_KP_9, 105},
        {SDL_SCANCODE_KP_MULTIPLY, 106},
        {SDL_SCANCODE_KP_PLUS, 107},
        {SDL_SCANCODE_KP_MINUS, 109},
        {SDL_SCANCODE_KP_PERIOD, 110},
        {SDL_SCANCODE_KP_DIVIDE, 111},
        {SDL_SCANCODE_F1, 112},
        {SDL_SCANCODE_F12, 123},
        {SDL_SCANCODE_F13, 0},
        {SDL_SCANCODE_UNKNOWN, 0},
        {SDL_SCANCODE_GRAVE, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(KeyTable::virtualKey(c.scancode), c.vk) << SDL_GetScancodeName(c.scancode);
    }
}

TEST(KeyTable, WithNumLockOffTheNumberPadReadsAsCursorKeys) {
    struct Case {
        SDL_Scancode scancode;
        int vk;
    };
    const Case cases[] = {
        {SDL_SCANCODE_KP_0, 45},
        {SDL_SCANCODE_KP_1, 35},
        {SDL_SCANCODE_KP_2, 40},
        {SDL_SCANCODE_KP_3, 34},
        {SDL_SCANCODE_KP_4, 37},
        {SDL_SCANCODE_KP_5, 12},
        {SDL_SCANCODE_KP_6, 39},
        {SDL_SCANCODE_KP_7, 36},
        {SDL_SCANCODE_KP_8, 38},
        {SDL_SCANCODE_KP_9, 33},
        {SDL_SCANCODE_KP_PERIOD, 46},
        // Keys that num lock does not touch.
        {SDL_SCANCODE_KP_PLUS, 107},
        {SDL_SCANCODE_KP_ENTER, 13},
        {SDL_SCANCODE_8, 56},
        {SDL_SCANCODE_UP, 38},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(KeyTable::virtualKey(c.scancode, false), c.vk) << SDL_GetScancodeName(c.scancode);
    }
    std::uint8_t pressed[SDL_NUM_SCANCODES] = {};
    pressed[SDL_SCANCODE_KP_8] = 1;
    std::uint8_t keys[256];
    KeyTable::fill(pressed, SDL_NUM_SCANCODES, keys, /*numLock=*/false);
    EXPECT_EQ(keys[38], 0x80);
    EXPECT_EQ(keys[104], 0);
    KeyTable::fill(pressed, SDL_NUM_SCANCODES, keys, /*numLock=*/true);
    EXPECT_EQ(keys[38], 0);
    EXPECT_EQ(keys[104], 0x80);
}

TEST(KeyTable, FillMarksBothTheSharedAndTheSidedCodes) {
    std::uint8_t pressed[SDL_NUM_SCANCODES] = {};
    pressed[SDL_SCANCODE_RSHIFT] = 1;
    pressed[SDL_SCANCODE_LCTRL] = 1;
    pressed[SDL_SCANCODE_Q] = 1;
    pressed[SDL_SCANCODE_GRAVE] = 1;  // not a key the game reads
    std::uint8_t keys[256];
    KeyTable::fill(pressed, SDL_NUM_SCANCODES, keys);
    int down = 0;
    for (int k = 0; k < 256; ++k) down += keys[k] == 0x80;
    EXPECT_EQ(down, 5);
    for (int k : {16, 161, 17, 162, int{'Q'}}) EXPECT_EQ(keys[k], 0x80) << k;
    // A short state array (fewer scancodes known) is read only as far as it goes.
    KeyTable::fill(pressed, SDL_SCANCODE_Q, keys);
    EXPECT_EQ(keys['Q'], 0);
}

TEST(KeyTable, MouseButtonsReadAsTheirKeyCodes) {
    struct Case {
        std::uint32_t mask;
        std::vector<int> down;
    };
    const Case cases[] = {
        {0, {}},
        {SDL_BUTTON_LMASK, {1}},
        {SDL_BUTTON_RMASK, {2}},
        {SDL_BUTTON_MMASK, {4}},
        {SDL_BUTTON_X1MASK | SDL_BUTTON_X2MASK, {5, 6}},
        {SDL_BUTTON_LMASK | SDL_BUTTON_RMASK | SDL_BUTTON_MMASK, {1, 2, 4}},
    };
    for (const Case& c : cases) {
        std::uint8_t keys[256];
        std::memset(keys, 0x80, sizeof keys);  // a released button clears its code
        KeyTable::fillMouseButtons(c.mask, keys);
        for (int vk : {1, 2, 4, 5, 6}) {
            bool expected = std::find(c.down.begin(), c.down.end(), vk) != c.down.end();
            EXPECT_EQ(keys[vk], expected ? 0x80 : 0) << "mask " << c.mask << " code " << vk;
        }
        EXPECT_EQ(keys[3], 0x80);  // other codes are left alone
        EXPECT_EQ(keys['A'], 0x80);
    }
}

}  // namespace
}  // namespace qel
