// The numeric constants of the scripts' module C, under the names the
// scripts read them by.
//
// They live in their own namespace so that the game's own headers can later
// name the same codes (EQUIP_NONE, ...) without a clash. A code the game
// already names (the tile light states) is bound from the game's header
// instead, so there is one value to keep; the binding tests read every value
// back through Lua.
#pragma once

#include <cstdint>

#include "engine/input/key_code.h"

namespace script_constants {

// Key codes (the key-state table is indexed by them; engine/input/key_code.h
// names every one) and joystick button indices.
using enum qel::Key;
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
