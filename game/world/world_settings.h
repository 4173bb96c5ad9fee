// The settings the world reads: one global per setting, named as the
// scripts see it in module `C`, with the start value it has before any
// script runs. They are rows of the settings table (game/shell/settings.h
// lists every setting and registers these with the others); they live here,
// beside the code that reads them, and that code reads them directly at the
// moment of use, so a value a script assigned takes effect the next time it
// is read.
//
// STATUS_LEVEL_RATIO is a divisor that starts at 0 and every blink cycle
// (SUB_ICON_BLINK_ON + SUB_ICON_BLINK_OFF) may be 0: readers treat a zero
// ratio as "no level term" and a zero-length cycle as "always shown", never
// divide by them.
#pragma once

#include <cstdint>
#include <string>

#include "game/data/dice.h"
#include "game/world/value_types.h"

// The dungeon generator's settings, as one value: a generator may be given
// its own (CreateDungeon::fixSettings); otherwise it reads the CREATE_*
// settings below, whose start values these are.
struct CreateDungeonSettings {
    std::uint32_t minWidth = 3;   // smallest room width
    std::uint32_t minHeight = 3;  // smallest room height
    float roomPer = 0.75f;        // chance that a used block becomes a room
    std::uint32_t minRoom = 3;    // rooms a layout needs
    std::uint32_t minSpace = 5;   // used blocks and open walls a layout needs
    std::uint32_t failMax = 100;  // perfect-placement rejections before passes join
};

// ---- Records ----------------------------------------------------------------
// The ranking's shown size.
inline std::uint32_t RANKING_MAX = 15;

// ---- Map objects: tile size, view brightness, water, a hit's lunge ----------
inline std::uint32_t CHIP_WIDTH = 16;
inline std::uint32_t CHIP_HEIGHT = 16;
inline float CHIP_OPEN_COLOR = 1.0f;
inline float CHIP_VIEW_COLOR = 1.0f;
inline Color WATER_COLOR = Color::TRANSPARENT_BLACK;
inline Color FREEZE_COLOR = Color::TRANSPARENT_BLACK;
inline float ANIM_HIT_MOVE_PER = 0.5f;

// ---- Dungeon generation -----------------------------------------------------
// CREATE_MIN_WITDH is spelt so: the scripts use this name.
inline std::uint32_t CREATE_MIN_WITDH = CreateDungeonSettings{}.minWidth;
inline std::uint32_t CREATE_MIN_HEIGHT = CreateDungeonSettings{}.minHeight;
inline float CREATE_ROOM_PER = CreateDungeonSettings{}.roomPer;
inline std::uint32_t CREATE_MIN_ROOM = CreateDungeonSettings{}.minRoom;
inline std::uint32_t CREATE_MIN_SPACE = CreateDungeonSettings{}.minSpace;
inline std::uint32_t CREATE_FAIL_MAX = CreateDungeonSettings{}.failMax;

// ---- Item names' colours ----------------------------------------------------
inline Color COLOR_CURSE = Color::TRANSPARENT_BLACK;
inline Color COLOR_BLESS = Color::TRANSPARENT_BLACK;
inline Color COLOR_UNKNOWN = Color::TRANSPARENT_BLACK;
inline Color COLOR_ITEM = Color::TRANSPARENT_BLACK;
inline Color COLOR_EQUIP = Color::TRANSPARENT_BLACK;
inline Color COLOR_MAGIC = Color::TRANSPARENT_BLACK;
inline Color COLOR_GRUDGE = Color::TRANSPARENT_BLACK;

// ---- Characters: money, damage, petrification, sub-icons, monsters' memory --
inline Dice BASE_DAMAGE_DICE = Dice(0, 1);
inline Point FRIEND_CHIP = Point(0, 0);
inline Color FRIEND_CHIP_COLOR = Color::TRANSPARENT_BLACK;
inline Point SUMMON_CHIP = Point(0, 0);
inline Color SUMMON_CHIP_COLOR = Color::TRANSPARENT_BLACK;
inline Point ELITE_CHIP = Point(0, 0);
inline Color ELITE_CHIP_COLOR = Color::TRANSPARENT_BLACK;
inline Point UNIQUE_CHIP = Point(0, 0);
inline Color UNIQUE_CHIP_COLOR = Color::TRANSPARENT_BLACK;
inline std::uint32_t SUB_ICON_BLINK_ON = 0;
inline std::uint32_t SUB_ICON_BLINK_OFF = 0;
inline Color PETRIFY_COLOR = Color::TRANSPARENT_BLACK;
inline std::int32_t AI_MEMORY_TIME = 0;
inline std::int32_t FRIEND_POINT_HARM_LOST = 0;
inline std::int32_t MONEY_MAX = 999999;

// ---- Items: satiety, level floors, corpses, bags ----------------------------
inline std::int32_t SATIETY_BASE = 0;
inline std::int32_t SATIETY_IDENTITY = 0;
inline std::int32_t WEAPON_LEVEL_MIN = 0;
inline std::int32_t ARMOR_LEVEL_MIN = 0;
inline std::int32_t CORPSE_ROTTING = 0;
inline float BAG_LIGHT_RATIO = 0.0f;
inline float BAG_WEIGHT_RATIO = 0.0f;

// ---- Status formulas and the full-time effects' names -----------------------
// Divisor of the level terms; 0 drops them (see value_arith::divTrunc).
inline std::int32_t STATUS_LEVEL_RATIO = 0;
inline std::string ST_NAME_FLOAT1;
inline std::string ST_NAME_FLOAT2;
inline std::string ST_NAME_THROUGH;
inline std::string ST_NAME_INVISIBLE;
inline float ST_WEIGHT_BASE = 0.0f;
inline float ST_WEIGHT_STR = 0.0f;
inline float ST_WEIGHT_VIT = 0.0f;
// The defence a blessed armour adds.
inline std::int32_t BLESSED_DEFENSE = 2;
