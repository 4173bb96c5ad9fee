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
        {SDL_SCANCODE_F13, 124},
        {SDL_SCANCODE_F24, 135},
        {SDL_SCANCODE_CAPSLOCK, 20},
        {SDL_SCANCODE_NUMLOCKCLEAR, 144},
        {SDL_SCANCODE_SCROLLLOCK, 145},
        {SDL_SCANCODE_PRINTSCREEN, 44},
        {SDL_SCANCODE_LGUI, 91},
        {SDL_SCANCODE_RGUI, 92},
        {SDL_SCANCODE_APPLICATION, 93},
        {SDL_SCANCODE_SEMICOLON, 186},
        {SDL_SCANCODE_EQUALS, 187},
        {SDL_SCANCODE_COMMA, 188},
        {SDL_SCANCODE_MINUS, 189},
        {SDL_SCANCODE_PERIOD, 190},
        {SDL_SCANCODE_SLASH, 191},
        {SDL_SCANCODE_GRAVE, 192},
        {SDL_SCANCODE_LEFTBRACKET, 219},
        {SDL_SCANCODE_BACKSLASH, 220},
        {SDL_SCANCODE_RIGHTBRACKET, 221},
        {SDL_SCANCODE_APOSTROPHE, 222},
        {SDL_SCANCODE_NONUSHASH, 223},
        {SDL_SCANCODE_NONUSBACKSLASH, 226},
        {SDL_SCANCODE_INTERNATIONAL1, 226},  // ro
        {SDL_SCANCODE_INTERNATIONAL3, 220},  // yen
        {SDL_SCANCODE_INTERNATIONAL4, 28},   // convert
        {SDL_SCANCODE_INTERNATIONAL5, 29},   // non-convert
        {SDL_SCANCODE_INTERNATIONAL2, 21},   // kana
        {SDL_SCANCODE_LANG5, 25},            // kanji (full/half width)
        {SDL_SCANCODE_VOLUMEUP, 175},
        {SDL_SCANCODE_UNKNOWN, 0},
        {SDL_SCANCODE_KP_EQUALS, 0},
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
    pressed[SDL_SCANCODE_GRAVE] = 1;
    pressed[SDL_SCANCODE_KP_EQUALS] = 1;  // no virtual-key code
    std::uint8_t keys[256];
    KeyTable::fill(pressed, SDL_NUM_SCANCODES, keys);
    int down = 0;
    for (int k = 0; k < 256; ++k) down += keys[k] == 0x80;
    EXPECT_EQ(down, 6);
    for (int k : {16, 161, 17, 162, int{'Q'}, 192}) EXPECT_EQ(keys[k], 0x80) << k;
    // A short state array (fewer scancodes known) is read only as far as it goes.
    KeyTable::fill(pressed, SDL_SCANCODE_Q, keys);
    EXPECT_EQ(keys['Q'], 0);
}

TEST(KeyTable, EveryKeyOfTheUsAndJapaneseKeyboardsHasACode) {
    // Whatever the keyboard, a key SDL reports with a name reads as some
    // code, except the few that Windows never gave one.
    const SDL_Scancode kWithout[] = {SDL_SCANCODE_POWER, SDL_SCANCODE_KP_EQUALS};
    for (int sc = SDL_SCANCODE_A; sc <= SDL_SCANCODE_RGUI; ++sc) {
        const auto code = static_cast<SDL_Scancode>(sc);
        const char* name = SDL_GetScancodeName(code);
        if (!name || !*name) continue;
        if (sc > SDL_SCANCODE_KP_EQUALS && sc < SDL_SCANCODE_LCTRL &&
            !(sc >= SDL_SCANCODE_F13 && sc <= SDL_SCANCODE_F24) &&
            !(sc >= SDL_SCANCODE_INTERNATIONAL1 && sc <= SDL_SCANCODE_LANG5))
            continue;  // the rarely built keys between, checked by name above
        if (std::find(std::begin(kWithout), std::end(kWithout), code) != std::end(kWithout))
            continue;
        EXPECT_NE(KeyTable::virtualKey(sc), 0) << name;
    }
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
