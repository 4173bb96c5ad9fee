// Every tunable of the game: one global per setting, named as the scripts
// see it in module `C`, with the start value it has before any script runs.
//
// The scripts of the script package assign these at boot; the game reads
// each one at the moment of use, so an assignment takes effect the next time
// the reading code runs. The values derived from others (DUNGEON_TEX_WIDTH,
// DUNGEON_TEX_HEIGHT, DUNGEON_DRAW_WIDTH, DUNGEON_DRAW_HEIGHT,
// MINI_FONT_OFFSET_Y) are computed from the start values of their sources
// once; a later change of CHIP_WIDTH and the like does not move them.
//
// Storage types follow the kinds the scripts see: uint (std::uint32_t), int
// (std::int32_t), float, byte (std::uint8_t), port (std::uint16_t), bool,
// text (std::string, an owned copy), Color, Point and Dice. The read-only
// values are constants.
//
// Start values that later code divides by or cycles over are 0 until the
// scripts set them: every blink cycle (CURSOR_BLINK_ON + CURSOR_BLINK_OFF,
// SUB_ICON_BLINK_*, ITEMLIST_BLINK_*, ANIMALIST_BLINK_*,
// DIRECTION_BLINK_FRAME) and STATUS_LEVEL_RATIO. Readers must treat a
// zero-length blink cycle as "always shown" and a zero ratio as "no level
// term", never divide by them.
#pragma once

#include <cstdint>
#include <string>

#include "game/data/data_files.h"
#include "game/data/dice.h"
#include "game/world/value_types.h"
#include "game/world/dungeon.h"
#include "game/world/status.h"

// ---- Read-only values ----------------------------------------------------
// The map's size, as the map itself has it.
inline constexpr std::int32_t DUNGEON_WIDTH = Dungeon::kWidth;
inline constexpr std::int32_t DUNGEON_HEIGHT = Dungeon::kHeight;
inline constexpr std::int32_t MESSAGE_FONT = 1;
inline constexpr std::int32_t MIDDLE_FONT = 2;
inline constexpr std::int32_t LARGE_FONT = 3;
inline constexpr std::int32_t MINI_FONT = 4;
inline constexpr const char* DATA_RACE = kRaceTableFile;
inline constexpr const char* DATA_CLASS = kClassTableFile;
inline constexpr const char* DATA_NAME = kItemNameTableFile;
inline constexpr const char* DATA_ITEM = kItemTableFile;
inline constexpr const char* DATA_MONS = kMonsterTableFile;
inline constexpr const char* DATA_ACTION = kActionTableFile;
inline constexpr const char* DATA_SKILL = kSkillTableFile;
inline constexpr const char* DATA_SPELL = kSpellTableFile;
inline constexpr const char* DATA_SCRIPT = kScriptPackageFile;

// ---- Game identity, files and network -------------------------------------
extern std::string GAME_TITLE;
extern std::string VERSION;
extern std::string LOCALE;
extern std::uint32_t FILE_VERSION;
// Save slot in use, 0 for none; the only setting the program itself changes.
extern std::uint32_t CURRENT_PLAYER_ID;
extern std::string RES_TEX_CHIP;
extern std::uint32_t RANKING_MAX;
extern bool NETWORK_ENABLE;
extern std::uint32_t NETWORK_REQUEST_SPAN;
extern std::string NETWORK_SERVER;
extern std::uint16_t NETWORK_PORT_SEND;
extern std::uint16_t NETWORK_PORT_RECV;
extern std::string SE_OK;
extern std::string SE_CANCEL;

// ---- Map drawing and field view -------------------------------------------
extern bool FIELD_BLUR_ENABLE;
extern std::uint8_t FIELD_BLUR_ALPHA;
extern std::uint32_t CHIP_WIDTH;
extern std::uint32_t CHIP_HEIGHT;
extern std::uint32_t ICON_WIDTH;
extern std::uint32_t ICON_HEIGHT;
extern std::uint32_t DUNGEON_TEX_WIDTH;
extern std::uint32_t DUNGEON_TEX_HEIGHT;
extern std::int32_t DUNGEON_DRAW_X;
extern std::int32_t DUNGEON_DRAW_Y;
extern std::int32_t DUNGEON_DRAW_WIDTH;
extern std::int32_t DUNGEON_DRAW_HEIGHT;
extern float CHIP_OPEN_COLOR;
extern float CHIP_VIEW_COLOR;
extern Color WATER_COLOR;
extern Color FREEZE_COLOR;
extern Color NO_TORCH_COLOR;
extern float ZOOM_OUT_SCALE;
extern float ZOOM_IN_SCALE;
extern std::uint32_t ZOOM_OUT_AUTO_COUNT;
extern std::uint32_t ZOOM_IN_AUTO_COUNT;
extern float ZOOM_OUT_FRAME;
extern float ZOOM_IN_FRAME;

// ---- Dungeon generation and animation -------------------------------------
extern std::uint32_t CREATE_MIN_WITDH;  // spelled so: the scripts use this name
extern std::uint32_t CREATE_MIN_HEIGHT;
extern float CREATE_ROOM_PER;
extern std::uint32_t CREATE_MIN_ROOM;
extern std::uint32_t CREATE_MIN_SPACE;
extern std::uint32_t CREATE_FAIL_MAX;
extern std::uint32_t ANIM_WALK_FRAME;
extern std::uint32_t ANIM_HIT_FRAME;
extern float ANIM_HIT_MOVE_PER;

// ---- Fonts and message log ------------------------------------------------
extern std::uint32_t FONT_HEIGHT;
extern std::uint32_t FONT_WIDTH;
extern std::uint32_t MINI_FONT_HEIGHT;
extern std::uint32_t MINI_FONT_OFFSET_Y;
extern std::string FONT_NAME;
extern std::uint32_t LOG_VIEW_TEX_NUM;
extern std::uint32_t LOG_BUFFER_TEX_NUM;
extern std::uint32_t LOG_MAX_LENGTH;
extern std::uint32_t LOG_VIEW_X;
extern std::uint32_t LOG_VIEW_Y;
extern std::int32_t LOG_SPACE_TOP;
extern std::int32_t LOG_SPACE_BOTTOM;
extern std::int32_t LOG_SPACE_RIGHT;
extern std::int32_t LOG_SPACE_LEFT;
extern std::int32_t LOG_SPACE_LINE;
extern Color LOG_BACKCOLOR;

// ---- Text colours ---------------------------------------------------------
extern Color COLOR_DEFAULT;
extern Color COLOR_DAMAGE;
extern Color COLOR_HEAL;
extern Color COLOR_CURSE;
extern Color COLOR_BLESS;
extern Color COLOR_UNKNOWN;
extern Color COLOR_ITEM;
extern Color COLOR_EQUIP;
extern Color COLOR_MAGIC;
extern Color COLOR_GRUDGE;
extern Color COLOR_NETWORK;

// ---- Cursor and direction marker ------------------------------------------
extern std::uint32_t CURSOR_WIDTH;
extern std::uint32_t CURSOR_HEIGHT;
extern std::uint32_t CURSOR_BLINK_ON;
extern std::uint32_t CURSOR_BLINK_OFF;
extern std::uint32_t DIRECTION_CHIP_X;
extern std::uint32_t DIRECTION_CHIP_Y;
extern std::uint32_t DIRECTION_BLINK_FRAME;

// ---- Character and item rules ---------------------------------------------
extern Dice BASE_DAMAGE_DICE;
extern std::string FRIEND_FORMAT;
extern std::string SUMMONED_FORMAT;
extern std::string UNKNOWN_CHARA_NAME;
extern Point FRIEND_CHIP;
extern Color FRIEND_CHIP_COLOR;
extern Point SUMMON_CHIP;
extern Color SUMMON_CHIP_COLOR;
extern Point ELITE_CHIP;
extern Color ELITE_CHIP_COLOR;
extern Point UNIQUE_CHIP;
extern Color UNIQUE_CHIP_COLOR;
extern std::uint32_t SUB_ICON_BLINK_ON;
extern std::uint32_t SUB_ICON_BLINK_OFF;
extern std::int32_t SATIETY_BASE;
extern std::int32_t SATIETY_IDENTITY;
extern Color PETRIFY_COLOR;
extern std::string PETRIFY_FORMAT;
extern std::int32_t STATUS_LEVEL_RATIO;
extern std::string ST_NAME_FLOAT1;
extern std::string ST_NAME_FLOAT2;
extern std::string ST_NAME_THROUGH;
extern std::string ST_NAME_INVISIBLE;
extern float ST_WEIGHT_BASE;
extern float ST_WEIGHT_STR;
extern float ST_WEIGHT_VIT;
extern float ST_DEFENSE_VIT_RATIO;
extern std::string EQUIP_COUNT;
extern std::int32_t AI_MEMORY_TIME;
extern std::int32_t FRIEND_POINT_HARM_LOST;
extern std::int32_t WEAPON_LEVEL_MIN;
extern std::int32_t ARMOR_LEVEL_MIN;
extern std::int32_t CORPSE_ROTTING;
extern float BAG_LIGHT_RATIO;
extern float BAG_WEIGHT_RATIO;
extern std::int32_t MONEY_MAX;
extern std::int32_t BLESSED_DEFENSE;
// One display name per status index.
extern std::string STATUS_NAME[Status::TYPE_MAX];

// ---- Item list ------------------------------------------------------------
extern std::uint32_t ITEMLIST_ITEM_MAX;
extern float ITEMLIST_X;
extern float ITEMLIST_Y;
extern std::uint32_t ITEMLIST_WIDTH;
extern std::int32_t ITEMLIST_TEXT_Y;
extern std::int32_t ITEMLIST_TEXT_SPACE;
extern std::int32_t ITEMLIST_END_SPACE;
extern std::int32_t ITEMLIST_ICON_X;
extern std::int32_t ITEMLIST_NAME_X;
extern Color ITEMLIST_BACKCOLOR;
extern std::int32_t ITEMLIST_CURSOR_X;
extern std::int32_t ITEMLIST_CODE_X;
extern std::int32_t ITEMLIST_SELECT_X;
extern std::int32_t ITEMLIST_PAGE_X;
extern std::int32_t ITEMLIST_PAGE_Y;
extern std::string ITEMLIST_TAG;
extern std::int32_t ITEMLIST_WEIGHT_X;
extern float ITEM_WEIGHT_RATIO;
extern std::string ITEM_WEIGHT_FORMAT;
extern Point ITEMLIST_CURSOR;
extern std::uint32_t ITEMLIST_BLINK_ON;
extern std::uint32_t ITEMLIST_BLINK_OFF;
extern std::uint32_t ITEMLIST_NAME_LENGTH;
extern std::uint32_t ITEMLIST_MINI_NAME_LENGTH;

// ---- Anima list -----------------------------------------------------------
extern std::uint32_t ANIMALIST_MAX;
extern float ANIMALIST_X;
extern float ANIMALIST_Y;
extern std::uint32_t ANIMALIST_WIDTH;
extern std::int32_t ANIMALIST_TEXT_Y;
extern std::int32_t ANIMALIST_TEXT_SPACE;
extern std::int32_t ANIMALIST_END_SPACE;
extern std::int32_t ANIMALIST_ICON_X;
extern std::int32_t ANIMALIST_NAME_X;
extern Color ANIMALIST_BACKCOLOR;
extern std::int32_t ANIMALIST_CURSOR_X;
extern std::int32_t ANIMALIST_CODE_X;
extern std::int32_t ANIMALIST_SELECT_X;
extern std::int32_t ANIMALIST_PAGE_X;
extern std::int32_t ANIMALIST_PAGE_Y;
extern std::string ANIMALIST_TAG;
extern std::string ANIMALIST_OFF_NAME;
extern std::int32_t ANIMALIST_RARITY_X;
extern std::uint32_t ANIMALIST_RARITY_MAX;
extern std::string ANIMALIST_RARITY_CHAR;
extern std::string ANIMALIST_RARITY_BLANK;
extern Point ANIMALIST_CURSOR;
extern std::uint32_t ANIMALIST_BLINK_ON;
extern std::uint32_t ANIMALIST_BLINK_OFF;
extern Color COLOR_ANIMA_ON;
extern Color COLOR_ANIMA_OFF;
extern Color COLOR_ANIMA_RARITY;
extern Color COLOR_ANIMA_BLANK;

// ---- Status view, menus, windows and name entry ---------------------------
extern std::int32_t STATUS_VIEW_X;
extern std::int32_t STATUS_VIEW_Y;
extern std::int32_t STATUS_VIEW_WIDTH;
extern std::int32_t STATUS_VIEW_HEIGHT;
extern std::int32_t MENU_TEXT_Y;
extern std::int32_t MENU_TEXT_SPACE;
extern std::int32_t MENU_END_SPACE;
extern std::int32_t MENU_CURSOR_X;
extern std::int32_t MENU_NAME_X;
extern std::int32_t MENU_PAGE_X_RIGHT;
extern Color MENU_BACKCOLOR;
extern std::uint32_t MENU_TEX_WIDTH;
extern std::uint32_t MENU_TEX_HEIGHT;
extern std::uint32_t WINDOW_TEX_WIDTH;
extern std::uint32_t WINDOW_TEX_HEIGHT;
extern std::int32_t WINDOW_TOP_SPACE;
extern std::int32_t WINDOW_BOTTOM_SPACE;
extern std::int32_t WINDOW_RIGHT_SPACE;
extern std::int32_t WINDOW_LEFT_SPACE;
extern std::int32_t WINDOW_LINE_SPACE;
extern Color WINDOW_BACKCOLOR;
extern std::int32_t IMEWND_TEX_WIDTH;
extern std::int32_t IMEWND_TEX_HEIGHT;
extern std::int32_t IMEWND_TOP_SPACE;
extern std::int32_t IMEWND_BOTTOM_SPACE;
extern std::int32_t IMEWND_TAG_X;
extern std::int32_t IMEWND_IME_X;
extern std::int32_t IMEWND_RIGHT_SPACE;
extern std::int32_t IMEWND_LINE_SPACE;
extern Color IMEWND_BACKCOLOR;
inline constexpr int kWindowTexSizeCount = 4;
extern Point WINDOW_TEX_SIZE[kWindowTexSizeCount];
