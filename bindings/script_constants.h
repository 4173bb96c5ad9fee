// The numeric constants of the scripts' module C, under the names the
// scripts read them by.
//
// They live in their own namespace so that the game's own headers can later
// name the same codes (EQUIP_NONE, ...) without a clash. A code the game
// already names (the tile light states) is bound from the game's header
// instead, so there is one value to keep; the binding tests read every value
// back through Lua. Key codes are the Windows virtual-key codes the input layer indexes
// its key-state table with.
#pragma once

#include <cstdint>

namespace script_constants {

// Key codes (the key-state table is indexed by them) and joystick button indices.
inline constexpr std::int32_t KEY_0 = 48;
inline constexpr std::int32_t KEY_1 = 49;
inline constexpr std::int32_t KEY_2 = 50;
inline constexpr std::int32_t KEY_3 = 51;
inline constexpr std::int32_t KEY_4 = 52;
inline constexpr std::int32_t KEY_5 = 53;
inline constexpr std::int32_t KEY_6 = 54;
inline constexpr std::int32_t KEY_7 = 55;
inline constexpr std::int32_t KEY_8 = 56;
inline constexpr std::int32_t KEY_9 = 57;
inline constexpr std::int32_t KEY_A = 65;
inline constexpr std::int32_t KEY_B = 66;
inline constexpr std::int32_t KEY_C = 67;
inline constexpr std::int32_t KEY_D = 68;
inline constexpr std::int32_t KEY_E = 69;
inline constexpr std::int32_t KEY_F = 70;
inline constexpr std::int32_t KEY_G = 71;
inline constexpr std::int32_t KEY_H = 72;
inline constexpr std::int32_t KEY_I = 73;
inline constexpr std::int32_t KEY_J = 74;
inline constexpr std::int32_t KEY_K = 75;
inline constexpr std::int32_t KEY_L = 76;
inline constexpr std::int32_t KEY_M = 77;
inline constexpr std::int32_t KEY_N = 78;
inline constexpr std::int32_t KEY_O = 79;
inline constexpr std::int32_t KEY_P = 80;
inline constexpr std::int32_t KEY_Q = 81;
inline constexpr std::int32_t KEY_R = 82;
inline constexpr std::int32_t KEY_S = 83;
inline constexpr std::int32_t KEY_T = 84;
inline constexpr std::int32_t KEY_U = 85;
inline constexpr std::int32_t KEY_V = 86;
inline constexpr std::int32_t KEY_W = 87;
inline constexpr std::int32_t KEY_X = 88;
inline constexpr std::int32_t KEY_Y = 89;
inline constexpr std::int32_t KEY_Z = 90;
inline constexpr std::int32_t KEY_BACK = 8;
inline constexpr std::int32_t KEY_TAB = 9;
inline constexpr std::int32_t KEY_CLEAR = 12;
inline constexpr std::int32_t KEY_RETURN = 13;
inline constexpr std::int32_t KEY_SHIFT = 16;
inline constexpr std::int32_t KEY_CONTROL = 17;
inline constexpr std::int32_t KEY_MENU = 18;
inline constexpr std::int32_t KEY_PAUSE = 19;
inline constexpr std::int32_t KEY_CAPITAL = 20;
inline constexpr std::int32_t KEY_KANA = 21;
inline constexpr std::int32_t KEY_HANGEUL = 21;
inline constexpr std::int32_t KEY_HANGUL = 21;
inline constexpr std::int32_t KEY_JUNJA = 23;
inline constexpr std::int32_t KEY_FINAL = 24;
inline constexpr std::int32_t KEY_HANJA = 25;
inline constexpr std::int32_t KEY_KANJI = 25;
inline constexpr std::int32_t KEY_ESCAPE = 27;
inline constexpr std::int32_t KEY_CONVERT = 28;
inline constexpr std::int32_t KEY_NONCONVERT = 29;
inline constexpr std::int32_t KEY_ACCEPT = 30;
inline constexpr std::int32_t KEY_MODECHANGE = 31;
inline constexpr std::int32_t KEY_SPACE = 32;
inline constexpr std::int32_t KEY_PRIOR = 33;
inline constexpr std::int32_t KEY_NEXT = 34;
inline constexpr std::int32_t KEY_END = 35;
inline constexpr std::int32_t KEY_HOME = 36;
inline constexpr std::int32_t KEY_LEFT = 37;
inline constexpr std::int32_t KEY_UP = 38;
inline constexpr std::int32_t KEY_RIGHT = 39;
inline constexpr std::int32_t KEY_DOWN = 40;
inline constexpr std::int32_t KEY_SELECT = 41;
inline constexpr std::int32_t KEY_PRINT = 42;
inline constexpr std::int32_t KEY_EXE = 43;
inline constexpr std::int32_t KEY_SNAPSHOT = 44;
inline constexpr std::int32_t KEY_INSERT = 45;
inline constexpr std::int32_t KEY_DELETE = 46;
inline constexpr std::int32_t KEY_HELP = 47;
inline constexpr std::int32_t KEY_LWIN = 91;
inline constexpr std::int32_t KEY_RWIN = 92;
inline constexpr std::int32_t KEY_APPS = 93;
inline constexpr std::int32_t KEY_SLEEP = 95;
inline constexpr std::int32_t KEY_NUMPAD0 = 96;
inline constexpr std::int32_t KEY_NUMPAD1 = 97;
inline constexpr std::int32_t KEY_NUMPAD2 = 98;
inline constexpr std::int32_t KEY_NUMPAD3 = 99;
inline constexpr std::int32_t KEY_NUMPAD4 = 100;
inline constexpr std::int32_t KEY_NUMPAD5 = 101;
inline constexpr std::int32_t KEY_NUMPAD6 = 102;
inline constexpr std::int32_t KEY_NUMPAD7 = 103;
inline constexpr std::int32_t KEY_NUMPAD8 = 104;
inline constexpr std::int32_t KEY_NUMPAD9 = 105;
inline constexpr std::int32_t KEY_MULTIPLY = 106;
inline constexpr std::int32_t KEY_ADD = 107;
inline constexpr std::int32_t KEY_SEPARATOR = 108;
inline constexpr std::int32_t KEY_SUBTRACT = 109;
inline constexpr std::int32_t KEY_DECIMAL = 110;
inline constexpr std::int32_t KEY_DIVIDE = 111;
inline constexpr std::int32_t KEY_F1 = 112;
inline constexpr std::int32_t KEY_F2 = 113;
inline constexpr std::int32_t KEY_F3 = 114;
inline constexpr std::int32_t KEY_F4 = 115;
inline constexpr std::int32_t KEY_F5 = 116;
inline constexpr std::int32_t KEY_F6 = 117;
inline constexpr std::int32_t KEY_F7 = 118;
inline constexpr std::int32_t KEY_F8 = 119;
inline constexpr std::int32_t KEY_F9 = 120;
inline constexpr std::int32_t KEY_F10 = 121;
inline constexpr std::int32_t KEY_F11 = 122;
inline constexpr std::int32_t KEY_F12 = 123;
inline constexpr std::int32_t KEY_F13 = 124;
inline constexpr std::int32_t KEY_F14 = 125;
inline constexpr std::int32_t KEY_F15 = 126;
inline constexpr std::int32_t KEY_F16 = 127;
inline constexpr std::int32_t KEY_F17 = 128;
inline constexpr std::int32_t KEY_F18 = 129;
inline constexpr std::int32_t KEY_F19 = 130;
inline constexpr std::int32_t KEY_F20 = 131;
inline constexpr std::int32_t KEY_F21 = 132;
inline constexpr std::int32_t KEY_F22 = 133;
inline constexpr std::int32_t KEY_F23 = 134;
inline constexpr std::int32_t KEY_F24 = 135;
inline constexpr std::int32_t KEY_NUMLOCK = 144;
inline constexpr std::int32_t KEY_SCROLL = 145;
inline constexpr std::int32_t KEY_LSHIFT = 160;
inline constexpr std::int32_t KEY_RSHIFT = 161;
inline constexpr std::int32_t KEY_LCONTROL = 162;
inline constexpr std::int32_t KEY_RCONTROL = 163;
inline constexpr std::int32_t KEY_LMENU = 164;
inline constexpr std::int32_t KEY_RMENU = 165;
inline constexpr std::int32_t KEY_OEM_1 = 186;
inline constexpr std::int32_t KEY_OEM_PLUS = 187;
inline constexpr std::int32_t KEY_OEM_COMMA = 188;
inline constexpr std::int32_t KEY_OEM_MINUS = 189;
inline constexpr std::int32_t KEY_OEM_PERIOD = 190;
inline constexpr std::int32_t KEY_OEM_2 = 191;
inline constexpr std::int32_t KEY_OEM_3 = 192;
inline constexpr std::int32_t KEY_OEM_4 = 219;
inline constexpr std::int32_t KEY_OEM_5 = 220;
inline constexpr std::int32_t KEY_OEM_6 = 221;
inline constexpr std::int32_t KEY_OEM_7 = 222;
inline constexpr std::int32_t KEY_OEM_8 = 223;
inline constexpr std::int32_t KEY_OEM_RESET = 233;
inline constexpr std::int32_t KEY_OEM_JUMP = 234;
inline constexpr std::int32_t KEY_OEM_PA1 = 235;
inline constexpr std::int32_t KEY_OEM_PA2 = 236;
inline constexpr std::int32_t KEY_OEM_PA3 = 237;
inline constexpr std::int32_t KEY_OEM_WSCTRL = 238;
inline constexpr std::int32_t KEY_OEM_CUSEL = 239;
inline constexpr std::int32_t KEY_OEM_ATTN = 240;
inline constexpr std::int32_t KEY_OEM_FINISH = 241;
inline constexpr std::int32_t KEY_OEM_COPY = 242;
inline constexpr std::int32_t KEY_OEM_AUTO = 243;
inline constexpr std::int32_t KEY_OEM_ENLW = 244;
inline constexpr std::int32_t KEY_OEM_BACKTAB = 245;
inline constexpr std::int32_t KEY_ATTN = 246;
inline constexpr std::int32_t KEY_CRSEL = 247;
inline constexpr std::int32_t KEY_EXSEL = 248;
inline constexpr std::int32_t KEY_EREOF = 249;
inline constexpr std::int32_t KEY_PLAY = 250;
inline constexpr std::int32_t KEY_ZOOM = 251;
inline constexpr std::int32_t KEY_NONAME = 252;
inline constexpr std::int32_t KEY_PA1 = 253;
inline constexpr std::int32_t KEY_OEM_CLEAR = 254;
inline constexpr std::int32_t BTN_00 = 0;
inline constexpr std::int32_t BTN_01 = 1;
inline constexpr std::int32_t BTN_02 = 2;
inline constexpr std::int32_t BTN_03 = 3;
inline constexpr std::int32_t BTN_04 = 4;
inline constexpr std::int32_t BTN_05 = 5;
inline constexpr std::int32_t BTN_06 = 6;
inline constexpr std::int32_t BTN_07 = 7;
inline constexpr std::int32_t BTN_08 = 8;
inline constexpr std::int32_t BTN_09 = 9;
inline constexpr std::int32_t BTN_10 = 10;
inline constexpr std::int32_t BTN_11 = 11;
inline constexpr std::int32_t BTN_12 = 12;
inline constexpr std::int32_t BTN_13 = 13;
inline constexpr std::int32_t BTN_14 = 14;
inline constexpr std::int32_t BTN_15 = 15;
inline constexpr std::int32_t BTN_16 = 16;
inline constexpr std::int32_t BTN_17 = 17;
inline constexpr std::int32_t BTN_18 = 18;
inline constexpr std::int32_t BTN_19 = 19;
inline constexpr std::int32_t BTN_20 = 20;
inline constexpr std::int32_t BTN_21 = 21;
inline constexpr std::int32_t BTN_22 = 22;
inline constexpr std::int32_t BTN_23 = 23;
inline constexpr std::int32_t BTN_24 = 24;
inline constexpr std::int32_t BTN_25 = 25;
inline constexpr std::int32_t BTN_26 = 26;
inline constexpr std::int32_t BTN_27 = 27;
inline constexpr std::int32_t BTN_28 = 28;
inline constexpr std::int32_t BTN_29 = 29;
inline constexpr std::int32_t BTN_30 = 30;
inline constexpr std::int32_t BTN_31 = 31;
inline constexpr std::int32_t BTN_L_LEFT = 32;
inline constexpr std::int32_t BTN_L_UP = 33;
inline constexpr std::int32_t BTN_L_RIGHT = 34;
inline constexpr std::int32_t BTN_L_DOWN = 35;
inline constexpr std::int32_t BTN_R_LEFT = 36;
inline constexpr std::int32_t BTN_R_UP = 37;
inline constexpr std::int32_t BTN_R_RIGHT = 38;
inline constexpr std::int32_t BTN_R_DOWN = 39;
inline constexpr std::int32_t BUTTON_MAX = 40;

// Flags of the build that scripts can read.
inline constexpr std::int32_t FILE_ENCRYPT = 1;
inline constexpr std::int32_t QEL_DEVELOP = 0;

// Sex codes of characters.
inline constexpr std::int32_t SEX_UNKNOWN = 0;
inline constexpr std::int32_t SEX_MALE = 1;
inline constexpr std::int32_t SEX_FEMALE = 2;

// Weight, satiety and field states of characters.
inline constexpr std::int32_t WEIGHT_STATE_NORMAL = 0;
inline constexpr std::int32_t WEIGHT_STATE_OVER = 1;
inline constexpr std::int32_t WEIGHT_STATE_PRESS = 2;
inline constexpr std::int32_t WEIGHT_STATE_DEAD = 3;
inline constexpr std::int32_t SATIETY_STATE_NORMAL = 0;
inline constexpr std::int32_t SATIETY_STATE_OVER = 1;
inline constexpr std::int32_t SATIETY_STATE_FULL = 2;
inline constexpr std::int32_t SATIETY_STATE_EMPTY = 3;
inline constexpr std::int32_t SATIETY_STATE_HUNGER = 4;
inline constexpr std::int32_t SATIETY_STATE_DEAD = 5;
inline constexpr std::int32_t FIELD_STATE_NORMAL = 0;
inline constexpr std::int32_t FIELD_STATE_WATER = 2;
inline constexpr std::int32_t FIELD_STATE_SWIM = 3;
inline constexpr std::int32_t FIELD_STATE_DROWN = 4;
inline constexpr std::int32_t FIELD_STATE_STRAND = 1;

// Results of a hit and kinds of added effect.
inline constexpr std::int32_t DAMRES_NONE = 0;
inline constexpr std::int32_t DAMRES_REFLECT = 1;
inline constexpr std::int32_t DAMRES_VOID = 2;
inline constexpr std::int32_t DAMRES_MISS = 3;
inline constexpr std::int32_t DAMRES_HIT = 4;
inline constexpr std::int32_t DAMRES_DEAD = 5;
inline constexpr std::int32_t ADDEFF_NORMAL = 0;
inline constexpr std::int32_t ADDEFF_SINGLE = 1;
inline constexpr std::int32_t ADDEFF_BASTA = 2;

// Item materials, effect polarity, item types, identification states,
// equipment slots and item creation kinds.
inline constexpr std::int32_t MATE_UNKNOWN = 0;
inline constexpr std::int32_t MATE_HERB = 1;
inline constexpr std::int32_t MATE_ORGANIC = 2;
inline constexpr std::int32_t MATE_FRESH = 4;
inline constexpr std::int32_t MATE_CLOTH = 8;
inline constexpr std::int32_t MATE_PAPER = 16;
inline constexpr std::int32_t MATE_LEATHER = 32;
inline constexpr std::int32_t MATE_DRAGON = 64;
inline constexpr std::int32_t MATE_WOOD = 128;
inline constexpr std::int32_t MATE_MACHINE = 256;
inline constexpr std::int32_t MATE_BONE = 512;
inline constexpr std::int32_t MATE_IRON = 1024;
inline constexpr std::int32_t MATE_MITHRIL = 2048;
inline constexpr std::int32_t MATE_GOLD = 4096;
inline constexpr std::int32_t MATE_GLASS = 8192;
inline constexpr std::int32_t MATE_JEWEL = 16384;
inline constexpr std::int32_t MATE_STONE = 32768;
inline constexpr std::int32_t EFFECT_NONE = 0;
inline constexpr std::int32_t EFFECT_GOOD = 1;
inline constexpr std::int32_t EFFECT_BAD = 2;
inline constexpr std::int32_t ITEM_OTHER = 21;
inline constexpr std::int32_t ITEM_ONEHAND = 1;
inline constexpr std::int32_t ITEM_TWOHAND = 2;
inline constexpr std::int32_t ITEM_LEFTHAND = 3;
inline constexpr std::int32_t ITEM_BOOK = 4;
inline constexpr std::int32_t ITEM_BOW = 5;
inline constexpr std::int32_t ITEM_ARROW = 6;
inline constexpr std::int32_t ITEM_TORCH = 7;
inline constexpr std::int32_t ITEM_HEAD = 8;
inline constexpr std::int32_t ITEM_BODY = 9;
inline constexpr std::int32_t ITEM_GLOBE = 10;
inline constexpr std::int32_t ITEM_SHOES = 11;
inline constexpr std::int32_t ITEM_ACCESSORY = 12;
inline constexpr std::int32_t ITEM_POTION = 13;
inline constexpr std::int32_t ITEM_SCROLL = 14;
inline constexpr std::int32_t ITEM_WAND = 15;
inline constexpr std::int32_t ITEM_INVENTORY = 16;
inline constexpr std::int32_t ITEM_FOOD = 17;
inline constexpr std::int32_t ITEM_CORPSE = 18;
inline constexpr std::int32_t ITEM_JEWEL = 19;
inline constexpr std::int32_t ITEM_MONEY = 20;
inline constexpr std::int32_t IDENTIFY_UNKNOWN = 0;
inline constexpr std::int32_t IDENTIFY_NAME = 1;
inline constexpr std::int32_t IDENTIFY_ALWAYS = 2;
inline constexpr std::int32_t EQUIP_RIGHT = 0;
inline constexpr std::int32_t EQUIP_LEFT = 1;
inline constexpr std::int32_t EQUIP_BOW = 2;
inline constexpr std::int32_t EQUIP_ARROW = 3;
inline constexpr std::int32_t EQUIP_TORCH = 4;
inline constexpr std::int32_t EQUIP_HEAD = 5;
inline constexpr std::int32_t EQUIP_BODY = 6;
inline constexpr std::int32_t EQUIP_HAND = 7;
inline constexpr std::int32_t EQUIP_FOOT = 8;
inline constexpr std::int32_t EQUIP_ACCESSORY = 9;
inline constexpr std::int32_t EQUIP_POS_MAX = 10;
inline constexpr std::int32_t EQUIP_NONE = -1;
inline constexpr std::int32_t CREATE_PICK = 0;
inline constexpr std::int32_t CREATE_DROP = 1;
inline constexpr std::int32_t CREATE_SHOP = 2;
inline constexpr std::int32_t CREATE_CHANGE = 3;
inline constexpr std::int32_t CREATE_TYPE_MAX = 4;

// Target kinds of the monster AI.
inline constexpr std::int32_t TARGET_ENEMY = 0;
inline constexpr std::int32_t TARGET_FRIEND = 1;
inline constexpr std::int32_t TARGET_OWNER = 2;
inline constexpr std::int32_t TARGET_OTHER = 3;
inline constexpr std::int32_t TARGET_ALL = 4;
inline constexpr std::int32_t TARGET_ITEM_PICK = 5;
inline constexpr std::int32_t TARGET_ITEM_ALL = 6;

// Map zoom commands.
inline constexpr std::int32_t ZM_ON_ZOOM = 0;
inline constexpr std::int32_t ZM_OFF_ZOOM = 1;
inline constexpr std::int32_t ZM_TOGGLE = 2;
inline constexpr std::int32_t ZM_AUTO = 3;

}  // namespace script_constants
