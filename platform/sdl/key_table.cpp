#include "platform/sdl/key_table.h"

#include <SDL_mouse.h>
#include <SDL_scancode.h>

#include <array>
#include <cstring>

#include "engine/input/key_code.h"

namespace qel {
namespace {

struct Mapping {
    SDL_Scancode scancode;
    Key key;
};

// Every key SDL reports that the game has a code for. Keys with two places
// on the keyboard (shift, control, alt, enter) give one code for both.
constexpr Mapping kKeys[] = {
    {SDL_SCANCODE_A, KEY_A},
    {SDL_SCANCODE_B, KEY_B},
    {SDL_SCANCODE_C, KEY_C},
    {SDL_SCANCODE_D, KEY_D},
    {SDL_SCANCODE_E, KEY_E},
    {SDL_SCANCODE_F, KEY_F},
    {SDL_SCANCODE_G, KEY_G},
    {SDL_SCANCODE_H, KEY_H},
    {SDL_SCANCODE_I, KEY_I},
    {SDL_SCANCODE_J, KEY_J},
    {SDL_SCANCODE_K, KEY_K},
    {SDL_SCANCODE_L, KEY_L},
    {SDL_SCANCODE_M, KEY_M},
    {SDL_SCANCODE_N, KEY_N},
    {SDL_SCANCODE_O, KEY_O},
    {SDL_SCANCODE_P, KEY_P},
    {SDL_SCANCODE_Q, KEY_Q},
    {SDL_SCANCODE_R, KEY_R},
    {SDL_SCANCODE_S, KEY_S},
    {SDL_SCANCODE_T, KEY_T},
    {SDL_SCANCODE_U, KEY_U},
    {SDL_SCANCODE_V, KEY_V},
    {SDL_SCANCODE_W, KEY_W},
    {SDL_SCANCODE_X, KEY_X},
    {SDL_SCANCODE_Y, KEY_Y},
    {SDL_SCANCODE_Z, KEY_Z},
    {SDL_SCANCODE_1, KEY_1},
    {SDL_SCANCODE_2, KEY_2},
    {SDL_SCANCODE_3, KEY_3},
    {SDL_SCANCODE_4, KEY_4},
    {SDL_SCANCODE_5, KEY_5},
    {SDL_SCANCODE_6, KEY_6},
    {SDL_SCANCODE_7, KEY_7},
    {SDL_SCANCODE_8, KEY_8},
    {SDL_SCANCODE_9, KEY_9},
    {SDL_SCANCODE_0, KEY_0},
    {SDL_SCANCODE_F1, KEY_F1},
    {SDL_SCANCODE_F2, KEY_F2},
    {SDL_SCANCODE_F3, KEY_F3},
    {SDL_SCANCODE_F4, KEY_F4},
    {SDL_SCANCODE_F5, KEY_F5},
    {SDL_SCANCODE_F6, KEY_F6},
    {SDL_SCANCODE_F7, KEY_F7},
    {SDL_SCANCODE_F8, KEY_F8},
    {SDL_SCANCODE_F9, KEY_F9},
    {SDL_SCANCODE_F10, KEY_F10},
    {SDL_SCANCODE_F11, KEY_F11},
    {SDL_SCANCODE_F12, KEY_F12},
    {SDL_SCANCODE_F13, KEY_F13},
    {SDL_SCANCODE_F14, KEY_F14},
    {SDL_SCANCODE_F15, KEY_F15},
    {SDL_SCANCODE_F16, KEY_F16},
    {SDL_SCANCODE_F17, KEY_F17},
    {SDL_SCANCODE_F18, KEY_F18},
    {SDL_SCANCODE_F19, KEY_F19},
    {SDL_SCANCODE_F20, KEY_F20},
    {SDL_SCANCODE_F21, KEY_F21},
    {SDL_SCANCODE_F22, KEY_F22},
    {SDL_SCANCODE_F23, KEY_F23},
    {SDL_SCANCODE_F24, KEY_F24},
    {SDL_SCANCODE_KP_0, KEY_NUMPAD0},
    {SDL_SCANCODE_KP_1, KEY_NUMPAD1},
    {SDL_SCANCODE_KP_2, KEY_NUMPAD2},
    {SDL_SCANCODE_KP_3, KEY_NUMPAD3},
    {SDL_SCANCODE_KP_4, KEY_NUMPAD4},
    {SDL_SCANCODE_KP_5, KEY_NUMPAD5},
    {SDL_SCANCODE_KP_6, KEY_NUMPAD6},
    {SDL_SCANCODE_KP_7, KEY_NUMPAD7},
    {SDL_SCANCODE_KP_8, KEY_NUMPAD8},
    {SDL_SCANCODE_KP_9, KEY_NUMPAD9},
    {SDL_SCANCODE_BACKSPACE, KEY_BACK},
    {SDL_SCANCODE_TAB, KEY_TAB},
    {SDL_SCANCODE_RETURN, KEY_RETURN},
    {SDL_SCANCODE_KP_ENTER, KEY_RETURN},
    {SDL_SCANCODE_LSHIFT, KEY_SHIFT},
    {SDL_SCANCODE_RSHIFT, KEY_SHIFT},
    {SDL_SCANCODE_LCTRL, KEY_CONTROL},
    {SDL_SCANCODE_RCTRL, KEY_CONTROL},
    {SDL_SCANCODE_LALT, KEY_MENU},
    {SDL_SCANCODE_RALT, KEY_MENU},
    {SDL_SCANCODE_PAUSE, KEY_PAUSE},
    {SDL_SCANCODE_ESCAPE, KEY_ESCAPE},
    {SDL_SCANCODE_SPACE, KEY_SPACE},
    {SDL_SCANCODE_PAGEUP, KEY_PRIOR},
    {SDL_SCANCODE_PAGEDOWN, KEY_NEXT},
    {SDL_SCANCODE_END, KEY_END},
    {SDL_SCANCODE_HOME, KEY_HOME},
    {SDL_SCANCODE_LEFT, KEY_LEFT},
    {SDL_SCANCODE_UP, KEY_UP},
    {SDL_SCANCODE_RIGHT, KEY_RIGHT},
    {SDL_SCANCODE_DOWN, KEY_DOWN},
    {SDL_SCANCODE_INSERT, KEY_INSERT},
    {SDL_SCANCODE_DELETE, KEY_DELETE},
    {SDL_SCANCODE_KP_MULTIPLY, KEY_MULTIPLY},
    {SDL_SCANCODE_KP_PLUS, KEY_ADD},
    {SDL_SCANCODE_KP_MINUS, KEY_SUBTRACT},
    {SDL_SCANCODE_KP_PERIOD, KEY_DECIMAL},
    {SDL_SCANCODE_KP_DIVIDE, KEY_DIVIDE},
    // Lock keys and the keys around them.
    {SDL_SCANCODE_CAPSLOCK, KEY_CAPITAL},
    {SDL_SCANCODE_NUMLOCKCLEAR, KEY_NUMLOCK},
    {SDL_SCANCODE_SCROLLLOCK, KEY_SCROLL},
    {SDL_SCANCODE_PRINTSCREEN, KEY_SNAPSHOT},
    {SDL_SCANCODE_LGUI, KEY_LWIN},
    {SDL_SCANCODE_RGUI, KEY_RWIN},
    {SDL_SCANCODE_APPLICATION, KEY_APPS},
    {SDL_SCANCODE_MENU, KEY_APPS},
    {SDL_SCANCODE_SLEEP, KEY_SLEEP},
    {SDL_SCANCODE_CANCEL, KEY_CANCEL},
    {SDL_SCANCODE_CLEAR, KEY_CLEAR},
    {SDL_SCANCODE_KP_CLEAR, KEY_CLEAR},
    {SDL_SCANCODE_SELECT, KEY_SELECT},
    {SDL_SCANCODE_EXECUTE, KEY_EXE},
    {SDL_SCANCODE_HELP, KEY_HELP},
    {SDL_SCANCODE_SEPARATOR, KEY_SEPARATOR},
    {SDL_SCANCODE_KP_COMMA, KEY_SEPARATOR},
    {SDL_SCANCODE_CRSEL, KEY_CRSEL},
    {SDL_SCANCODE_EXSEL, KEY_EXSEL},
    // Punctuation, by its place on the US layout, as the OEM codes are
    // numbered; the key left of Z on other layouts is KEY_OEM_102.
    {SDL_SCANCODE_SEMICOLON, KEY_OEM_1},
    {SDL_SCANCODE_EQUALS, KEY_OEM_PLUS},
    {SDL_SCANCODE_COMMA, KEY_OEM_COMMA},
    {SDL_SCANCODE_MINUS, KEY_OEM_MINUS},
    {SDL_SCANCODE_PERIOD, KEY_OEM_PERIOD},
    {SDL_SCANCODE_SLASH, KEY_OEM_2},
    {SDL_SCANCODE_GRAVE, KEY_OEM_3},
    {SDL_SCANCODE_LEFTBRACKET, KEY_OEM_4},
    {SDL_SCANCODE_BACKSLASH, KEY_OEM_5},
    {SDL_SCANCODE_RIGHTBRACKET, KEY_OEM_6},
    {SDL_SCANCODE_APOSTROPHE, KEY_OEM_7},
    {SDL_SCANCODE_NONUSHASH, KEY_OEM_8},
    {SDL_SCANCODE_NONUSBACKSLASH, KEY_OEM_102},
    // The Japanese keyboard: the yen and ro keys, conversion and kana.
    {SDL_SCANCODE_INTERNATIONAL3, KEY_OEM_5},
    {SDL_SCANCODE_INTERNATIONAL1, KEY_OEM_102},
    {SDL_SCANCODE_INTERNATIONAL4, KEY_CONVERT},
    {SDL_SCANCODE_INTERNATIONAL5, KEY_NONCONVERT},
    {SDL_SCANCODE_INTERNATIONAL2, KEY_KANA},
    {SDL_SCANCODE_LANG1, KEY_KANA},
    {SDL_SCANCODE_LANG3, KEY_KANA},
    {SDL_SCANCODE_LANG4, KEY_KANA},
    {SDL_SCANCODE_LANG2, KEY_KANJI},
    {SDL_SCANCODE_LANG5, KEY_KANJI},
    // Media and browser keys.
    {SDL_SCANCODE_AC_BACK, KEY_BROWSER_BACK},
    {SDL_SCANCODE_AC_FORWARD, KEY_BROWSER_FORWARD},
    {SDL_SCANCODE_AC_REFRESH, KEY_BROWSER_REFRESH},
    {SDL_SCANCODE_AC_STOP, KEY_BROWSER_STOP},
    {SDL_SCANCODE_AC_SEARCH, KEY_BROWSER_SEARCH},
    {SDL_SCANCODE_AC_BOOKMARKS, KEY_BROWSER_FAVORITES},
    {SDL_SCANCODE_AC_HOME, KEY_BROWSER_HOME},
    {SDL_SCANCODE_MUTE, KEY_VOLUME_MUTE},
    {SDL_SCANCODE_AUDIOMUTE, KEY_VOLUME_MUTE},
    {SDL_SCANCODE_VOLUMEDOWN, KEY_VOLUME_DOWN},
    {SDL_SCANCODE_VOLUMEUP, KEY_VOLUME_UP},
    {SDL_SCANCODE_AUDIONEXT, KEY_MEDIA_NEXT_TRACK},
    {SDL_SCANCODE_AUDIOPREV, KEY_MEDIA_PREV_TRACK},
    {SDL_SCANCODE_AUDIOSTOP, KEY_MEDIA_STOP},
    {SDL_SCANCODE_AUDIOPLAY, KEY_MEDIA_PLAY_PAUSE},
    {SDL_SCANCODE_MAIL, KEY_LAUNCH_MAIL},
    {SDL_SCANCODE_MEDIASELECT, KEY_LAUNCH_MEDIA_SELECT},
    {SDL_SCANCODE_APP1, KEY_LAUNCH_APP1},
    {SDL_SCANCODE_APP2, KEY_LAUNCH_APP2},
};

// With num lock off the number pad is a second set of cursor keys.
constexpr Mapping kNumLockOff[] = {
    {SDL_SCANCODE_KP_0, KEY_INSERT},      {SDL_SCANCODE_KP_1, KEY_END},
    {SDL_SCANCODE_KP_2, KEY_DOWN},        {SDL_SCANCODE_KP_3, KEY_NEXT},
    {SDL_SCANCODE_KP_4, KEY_LEFT},        {SDL_SCANCODE_KP_5, KEY_CLEAR},
    {SDL_SCANCODE_KP_6, KEY_RIGHT},       {SDL_SCANCODE_KP_7, KEY_HOME},
    {SDL_SCANCODE_KP_8, KEY_UP},          {SDL_SCANCODE_KP_9, KEY_PRIOR},
    {SDL_SCANCODE_KP_PERIOD, KEY_DELETE},
};

// Shift, control and alt by their side, besides their shared code.
constexpr Mapping kSided[] = {
    {SDL_SCANCODE_LSHIFT, KEY_LSHIFT},  {SDL_SCANCODE_RSHIFT, KEY_RSHIFT},
    {SDL_SCANCODE_LCTRL, KEY_LCONTROL}, {SDL_SCANCODE_RCTRL, KEY_RCONTROL},
    {SDL_SCANCODE_LALT, KEY_LMENU},     {SDL_SCANCODE_RALT, KEY_RMENU},
};

// A table by scancode: 0 where the scancode has no code.
template <std::size_t N>
constexpr std::array<std::uint8_t, SDL_NUM_SCANCODES> byScancode(const Mapping (&mappings)[N]) {
    std::array<std::uint8_t, SDL_NUM_SCANCODES> table{};
    for (const Mapping& m : mappings) table[m.scancode] = static_cast<std::uint8_t>(m.key);
    return table;
}

constexpr auto kKeyOf = byScancode(kKeys);
constexpr auto kNumLockOffKeyOf = byScancode(kNumLockOff);
constexpr auto kSidedKeyOf = byScancode(kSided);

int lookUp(const std::array<std::uint8_t, SDL_NUM_SCANCODES>& table, int scancode) {
    return scancode >= 0 && scancode < SDL_NUM_SCANCODES ? table[scancode] : 0;
}

}  // namespace

int KeyTable::virtualKey(int scancode, bool numLock) {
    if (!numLock) {
        if (const int key = lookUp(kNumLockOffKeyOf, scancode)) return key;
    }
    return lookUp(kKeyOf, scancode);
}

int KeyTable::sidedVirtualKey(int scancode) {
    return lookUp(kSidedKeyOf, scancode);
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
    constexpr Button kButtons[] = {{SDL_BUTTON_LEFT, KEY_LBUTTON},
                                   {SDL_BUTTON_RIGHT, KEY_RBUTTON},
                                   {SDL_BUTTON_MIDDLE, KEY_MBUTTON},
                                   {SDL_BUTTON_X1, KEY_XBUTTON1},
                                   {SDL_BUTTON_X2, KEY_XBUTTON2}};
    for (const Button& b : kButtons) {
        keys[b.vk] = (sdlButtons & SDL_BUTTON(b.sdl)) ? 0x80 : 0;
    }
}

}  // namespace qel
