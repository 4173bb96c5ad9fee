#include "platform/sdl/key_table.h"

#include <SDL_mouse.h>
#include <SDL_scancode.h>

#include <cstring>

namespace qel {

int KeyTable::virtualKey(int scancode, bool numLock) {
    if (!numLock) {
        switch (scancode) {
            case SDL_SCANCODE_KP_0:
                return 45;
            case SDL_SCANCODE_KP_1:
                return 35;
            case SDL_SCANCODE_KP_2:
                return 40;
            case SDL_SCANCODE_KP_3:
                return 34;
            case SDL_SCANCODE_KP_4:
                return 37;
            case SDL_SCANCODE_KP_5:
                return 12;
            case SDL_SCANCODE_KP_6:
                return 39;
            case SDL_SCANCODE_KP_7:
                return 36;
            case SDL_SCANCODE_KP_8:
                return 38;
            case SDL_SCANCODE_KP_9:
                return 33;
            case SDL_SCANCODE_KP_PERIOD:
                return 46;
            default:
                break;
        }
    }
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z) {
        return 'A' + (scancode - SDL_SCANCODE_A);
    }
    // SDL numbers the digit row 1..9 then 0.
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9) {
        return '1' + (scancode - SDL_SCANCODE_1);
    }
    if (scancode >= SDL_SCANCODE_F1 && scancode <= SDL_SCANCODE_F12) {
        return 112 + (scancode - SDL_SCANCODE_F1);
    }
    if (scancode >= SDL_SCANCODE_F13 && scancode <= SDL_SCANCODE_F24) {
        return 124 + (scancode - SDL_SCANCODE_F13);
    }
    if (scancode >= SDL_SCANCODE_KP_1 && scancode <= SDL_SCANCODE_KP_9) {
        return 97 + (scancode - SDL_SCANCODE_KP_1);
    }
    switch (scancode) {
        case SDL_SCANCODE_0:
            return '0';
        case SDL_SCANCODE_BACKSPACE:
            return 8;
        case SDL_SCANCODE_TAB:
            return 9;
        case SDL_SCANCODE_RETURN:
        case SDL_SCANCODE_KP_ENTER:
            return 13;
        case SDL_SCANCODE_LSHIFT:
        case SDL_SCANCODE_RSHIFT:
            return 16;
        case SDL_SCANCODE_LCTRL:
        case SDL_SCANCODE_RCTRL:
            return 17;
        case SDL_SCANCODE_LALT:
        case SDL_SCANCODE_RALT:
            return 18;
        case SDL_SCANCODE_PAUSE:
            return 19;
        case SDL_SCANCODE_ESCAPE:
            return 27;
        case SDL_SCANCODE_SPACE:
            return 32;
        case SDL_SCANCODE_PAGEUP:
            return 33;
        case SDL_SCANCODE_PAGEDOWN:
            return 34;
        case SDL_SCANCODE_END:
            return 35;
        case SDL_SCANCODE_HOME:
            return 36;
        case SDL_SCANCODE_LEFT:
            return 37;
        case SDL_SCANCODE_UP:
            return 38;
        case SDL_SCANCODE_RIGHT:
            return 39;
        case SDL_SCANCODE_DOWN:
            return 40;
        case SDL_SCANCODE_INSERT:
            return 45;
        case SDL_SCANCODE_DELETE:
            return 46;
        case SDL_SCANCODE_KP_0:
            return 96;
        case SDL_SCANCODE_KP_MULTIPLY:
            return 106;
        case SDL_SCANCODE_KP_PLUS:
            return 107;
        case SDL_SCANCODE_KP_MINUS:
            return 109;
        case SDL_SCANCODE_KP_PERIOD:
            return 110;
        case SDL_SCANCODE_KP_DIVIDE:
            return 111;
        // Lock keys and the keys around them.
        case SDL_SCANCODE_CAPSLOCK:
            return 20;
        case SDL_SCANCODE_NUMLOCKCLEAR:
            return 144;
        case SDL_SCANCODE_SCROLLLOCK:
            return 145;
        case SDL_SCANCODE_PRINTSCREEN:
            return 44;
        case SDL_SCANCODE_LGUI:
            return 91;
        case SDL_SCANCODE_RGUI:
            return 92;
        case SDL_SCANCODE_APPLICATION:
        case SDL_SCANCODE_MENU:
            return 93;
        case SDL_SCANCODE_SLEEP:
            return 95;
        case SDL_SCANCODE_CANCEL:
            return 3;
        case SDL_SCANCODE_CLEAR:
        case SDL_SCANCODE_KP_CLEAR:
            return 12;
        case SDL_SCANCODE_SELECT:
            return 41;
        case SDL_SCANCODE_EXECUTE:
            return 43;
        case SDL_SCANCODE_HELP:
            return 47;
        case SDL_SCANCODE_SEPARATOR:
        case SDL_SCANCODE_KP_COMMA:
            return 108;
        case SDL_SCANCODE_CRSEL:
            return 247;
        case SDL_SCANCODE_EXSEL:
            return 248;
        // Punctuation, by its place on the US layout, as the OEM codes are
        // numbered; the key left of Z on other layouts is 226.
        case SDL_SCANCODE_SEMICOLON:
            return 186;
        case SDL_SCANCODE_EQUALS:
            return 187;
        case SDL_SCANCODE_COMMA:
            return 188;
        case SDL_SCANCODE_MINUS:
            return 189;
        case SDL_SCANCODE_PERIOD:
            return 190;
        case SDL_SCANCODE_SLASH:
            return 191;
        case SDL_SCANCODE_GRAVE:
            return 192;
        case SDL_SCANCODE_LEFTBRACKET:
            return 219;
        case SDL_SCANCODE_BACKSLASH:
            return 220;
        case SDL_SCANCODE_RIGHTBRACKET:
            return 221;
        case SDL_SCANCODE_APOSTROPHE:
            return 222;
        case SDL_SCANCODE_NONUSHASH:
            return 223;
        case SDL_SCANCODE_NONUSBACKSLASH:
            return 226;
        // The Japanese keyboard: the yen and ro keys, conversion and kana.
        case SDL_SCANCODE_INTERNATIONAL3:
            return 220;
        case SDL_SCANCODE_INTERNATIONAL1:
            return 226;
        case SDL_SCANCODE_INTERNATIONAL4:
            return 28;
        case SDL_SCANCODE_INTERNATIONAL5:
            return 29;
        case SDL_SCANCODE_INTERNATIONAL2:
        case SDL_SCANCODE_LANG1:
        case SDL_SCANCODE_LANG3:
        case SDL_SCANCODE_LANG4:
            return 21;
        case SDL_SCANCODE_LANG2:
        case SDL_SCANCODE_LANG5:
            return 25;
        // Media and browser keys.
        case SDL_SCANCODE_AC_BACK:
            return 166;
        case SDL_SCANCODE_AC_FORWARD:
            return 167;
        case SDL_SCANCODE_AC_REFRESH:
            return 168;
        case SDL_SCANCODE_AC_STOP:
            return 169;
        case SDL_SCANCODE_AC_SEARCH:
            return 170;
        case SDL_SCANCODE_AC_BOOKMARKS:
            return 171;
        case SDL_SCANCODE_AC_HOME:
            return 172;
        case SDL_SCANCODE_MUTE:
        case SDL_SCANCODE_AUDIOMUTE:
            return 173;
        case SDL_SCANCODE_VOLUMEDOWN:
            return 174;
        case SDL_SCANCODE_VOLUMEUP:
            return 175;
        case SDL_SCANCODE_AUDIONEXT:
            return 176;
        case SDL_SCANCODE_AUDIOPREV:
            return 177;
        case SDL_SCANCODE_AUDIOSTOP:
            return 178;
        case SDL_SCANCODE_AUDIOPLAY:
            return 179;
        case SDL_SCANCODE_MAIL:
            return 180;
        case SDL_SCANCODE_MEDIASELECT:
            return 181;
        case SDL_SCANCODE_APP1:
            return 182;
        case SDL_SCANCODE_APP2:
            return 183;
        default:
            return 0;
    }
}

int KeyTable::sidedVirtualKey(int scancode) {
    switch (scancode) {
        case SDL_SCANCODE_LSHIFT:
            return 160;
        case SDL_SCANCODE_RSHIFT:
            return 161;
        case SDL_SCANCODE_LCTRL:
            return 162;
        case SDL_SCANCODE_RCTRL:
            return 163;
        case SDL_SCANCODE_LALT:
            return 164;
        case SDL_SCANCODE_RALT:
            return 165;
        default:
            return 0;
    }
}

void KeyTable::fill(const std::uint8_t* pressed, int count, std::uint8_t keys[256], bool numLock) {
    std::memset(keys, 0, 256);
    for (int sc = 0; sc < count; ++sc) {
        if (!pressed[sc]) continue;
        if (int vk = virtualKey(sc, numLock)) keys[vk] = 0x80;
        if (int vk = sidedVirtualKey(sc)) keys[vk] = 0x80;
    }
}

void KeyTable::fillMouseButtons(std::uint32_t sdlButtons, std::uint8_t keys[256]) {
    struct Button {
        int sdl;
        int vk;
    };
    constexpr Button kButtons[] = {{SDL_BUTTON_LEFT, 1},
                                   {SDL_BUTTON_RIGHT, 2},
                                   {SDL_BUTTON_MIDDLE, 4},
                                   {SDL_BUTTON_X1, 5},
                                   {SDL_BUTTON_X2, 6}};
    for (const Button& b : kButtons) {
        keys[b.vk] = (sdlButtons & SDL_BUTTON(b.sdl)) ? 0x80 : 0;
    }
}

}  // namespace qel
