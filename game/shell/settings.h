// Every tunable of the game: one global per setting, named as the scripts
// see it in module `C`, with the start value it has before any script runs.
// The settings the world reads live beside it, in
// game/world/world_settings.h, and those the data tables read while they
// load in game/data/table_settings.h; the rest are defined here.
//
// Adding a setting takes two lines: its definition here or beside the code
// below the shell that reads it (type, name as the scripts spell it, start
// value) and its row in the table in settings.cpp.
// The table is the one list the reset, the tests and the script bindings
// are made from; each row takes its kind from the storage type and its
// start value from what the storage holds before main runs.
//
// The scripts of the script package assign these at boot; the game reads
// each one at the moment of use, so an assignment takes effect the next time
// the reading code runs. The values derived from others (DUNGEON_TEX_WIDTH,
// DUNGEON_TEX_HEIGHT, DUNGEON_DRAW_WIDTH, DUNGEON_DRAW_HEIGHT,
// MINI_FONT_OFFSET_Y) are computed from the start values of their sources
// once, when the program starts; a later change of CHIP_WIDTH and the like
// does not move them.
//
// Storage types follow the kinds the scripts see (see setting.h). The
// read-only values are constants.
//
// Start values that later code divides by or cycles over are 0 until the
// scripts set them: every blink cycle (CURSOR_BLINK_ON + CURSOR_BLINK_OFF,
// SUB_ICON_BLINK_*, ITEMLIST_BLINK_*, ANIMALIST_BLINK_*,
// DIRECTION_BLINK_FRAME) and STATUS_LEVEL_RATIO. Readers must treat a
// zero-length blink cycle as "always shown" and a zero ratio as "no level
// term", never divide by them.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "game/data/data_files.h"
#include "game/data/dice.h"
#include "game/data/table_settings.h"
#include "game/data/target_flag.h"
#include "game/shell/setting.h"
#include "game/world/create_dungeon.h"
#include "game/world/damage_type.h"
#include "game/world/dungeon.h"
#include "game/world/status.h"
#include "game/world/tile.h"
#include "game/world/value_types.h"
#include "game/world/world_settings.h"

// Every setting and every flag mask the scripts read (the masks are the
// records' own constants, brought in here so that module C's variables
// all come from this one table), in the order module C registers them.
std::span<const Setting> settingTable();
// The row of the setting the scripts call `name`; null for none.
const Setting* findSetting(std::string_view name);
// Puts every setting the scripts may write back to its start value.
void resetSettings();

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
inline std::string GAME_TITLE = "Vornhaldeen";
inline std::string VERSION;
inline std::string LOCALE;
inline std::uint32_t FILE_VERSION = 100;
// Save slot in use, 0 for none; the only setting the program itself changes.
inline std::uint32_t CURRENT_PLAYER_ID = 0;
inline std::string RES_TEX_CHIP = "chip.bmp";
inline bool NETWORK_ENABLE = false;
inline std::uint32_t NETWORK_REQUEST_SPAN = 5;
// This machine: with the network off by default, an unset server must never
// send the player's messages to some host on whatever network they are on.
inline std::string NETWORK_SERVER = "127.0.0.1";
inline std::uint16_t NETWORK_PORT_SEND = 50001;
inline std::uint16_t NETWORK_PORT_RECV = 50002;
// Seconds a connect waits for the server to connect back and send its first
// packet before the link fails and the requests retry later.
inline std::uint32_t NETWORK_LINK_WAIT = 10;
inline std::string SE_OK;
inline std::string SE_CANCEL;

// ---- Map drawing and field view -------------------------------------------
inline bool FIELD_BLUR_ENABLE = true;
inline std::uint8_t FIELD_BLUR_ALPHA = 64;
inline std::uint32_t ICON_WIDTH = 16;
inline std::uint32_t ICON_HEIGHT = 16;
inline std::uint32_t DUNGEON_TEX_WIDTH = CHIP_WIDTH * DUNGEON_WIDTH;
inline std::uint32_t DUNGEON_TEX_HEIGHT = CHIP_HEIGHT * DUNGEON_HEIGHT;
inline std::int32_t DUNGEON_DRAW_X = 0;
inline std::int32_t DUNGEON_DRAW_Y = 0;
inline std::int32_t DUNGEON_DRAW_WIDTH = static_cast<std::int32_t>(CHIP_WIDTH * DUNGEON_WIDTH);
inline std::int32_t DUNGEON_DRAW_HEIGHT = static_cast<std::int32_t>(CHIP_HEIGHT * DUNGEON_HEIGHT);
inline Color NO_TORCH_COLOR = Color::TRANSPARENT_BLACK;
inline float ZOOM_OUT_SCALE = 1.0f;
inline float ZOOM_IN_SCALE = 2.0f;
inline std::uint32_t ZOOM_OUT_AUTO_COUNT = 10;
inline std::uint32_t ZOOM_IN_AUTO_COUNT = 1;
inline float ZOOM_OUT_FRAME = 12.0f;
inline float ZOOM_IN_FRAME = 12.0f;

// ---- Animation ------------------------------------------------------------
inline std::uint32_t ANIM_WALK_FRAME = 10;
inline std::uint32_t ANIM_HIT_FRAME = 10;

// ---- Fonts and message log ------------------------------------------------
inline std::uint32_t FONT_HEIGHT = 16;
inline std::uint32_t FONT_WIDTH = 8;
inline std::uint32_t MINI_FONT_HEIGHT = 10;
inline std::uint32_t MINI_FONT_OFFSET_Y = (FONT_HEIGHT - MINI_FONT_HEIGHT) >> 1;
inline std::string FONT_NAME = "ＭＳ ゴシック";
inline std::uint32_t LOG_VIEW_TEX_NUM = 3;
inline std::uint32_t LOG_BUFFER_TEX_NUM = 16;
inline std::uint32_t LOG_MAX_LENGTH = 64;
inline std::uint32_t LOG_VIEW_X = 200;
inline std::uint32_t LOG_VIEW_Y = 500;
inline std::int32_t LOG_SPACE_TOP = 0;
inline std::int32_t LOG_SPACE_BOTTOM = 0;
inline std::int32_t LOG_SPACE_RIGHT = 0;
inline std::int32_t LOG_SPACE_LEFT = 0;
inline std::int32_t LOG_SPACE_LINE = 0;
inline Color LOG_BACKCOLOR = Color::TRANSPARENT_BLACK;

// ---- Text colours ---------------------------------------------------------
inline Color COLOR_DEFAULT = Color::TRANSPARENT_BLACK;
inline Color COLOR_DAMAGE = Color::TRANSPARENT_BLACK;
inline Color COLOR_HEAL = Color::TRANSPARENT_BLACK;
inline Color COLOR_NETWORK = Color::TRANSPARENT_BLACK;

// ---- Cursor and direction marker ------------------------------------------
inline std::uint32_t CURSOR_WIDTH = 0;
inline std::uint32_t CURSOR_HEIGHT = 0;
inline std::uint32_t CURSOR_BLINK_ON = 0;
inline std::uint32_t CURSOR_BLINK_OFF = 0;
inline std::uint32_t DIRECTION_CHIP_X = 0;
inline std::uint32_t DIRECTION_CHIP_Y = 0;
inline std::uint32_t DIRECTION_BLINK_FRAME = 0;

// ---- Character and item rules ---------------------------------------------
inline std::string FRIEND_FORMAT;
inline std::string SUMMONED_FORMAT;
inline std::string UNKNOWN_CHARA_NAME;
inline std::string PETRIFY_FORMAT;
inline float ST_DEFENSE_VIT_RATIO = 0.0f;

// ---- Item list ------------------------------------------------------------
inline std::uint32_t ITEMLIST_ITEM_MAX = 20;
inline float ITEMLIST_X = 32.0f;
inline float ITEMLIST_Y = 32.0f;
inline std::uint32_t ITEMLIST_WIDTH = 600;
inline std::int32_t ITEMLIST_TEXT_Y = 4;
inline std::int32_t ITEMLIST_TEXT_SPACE = 2;
inline std::int32_t ITEMLIST_END_SPACE = 4;
inline std::int32_t ITEMLIST_ICON_X = 16;
inline std::int32_t ITEMLIST_NAME_X = 32;
inline Color ITEMLIST_BACKCOLOR = Color(0x80000000u);
inline std::int32_t ITEMLIST_CURSOR_X = 8;
inline std::int32_t ITEMLIST_CODE_X = 32;
inline std::int32_t ITEMLIST_SELECT_X = 48;
inline std::int32_t ITEMLIST_PAGE_X = 400;
inline std::int32_t ITEMLIST_PAGE_Y = 500;
inline std::string ITEMLIST_TAG;
inline std::int32_t ITEMLIST_WEIGHT_X = 0;
inline std::string ITEM_WEIGHT_FORMAT;
inline Point ITEMLIST_CURSOR = Point(0, 0);
inline std::uint32_t ITEMLIST_BLINK_ON = 0;
inline std::uint32_t ITEMLIST_BLINK_OFF = 0;
inline std::uint32_t ITEMLIST_NAME_LENGTH = 32;
inline std::uint32_t ITEMLIST_MINI_NAME_LENGTH = 32;

// ---- Anima list -----------------------------------------------------------
inline std::uint32_t ANIMALIST_MAX = 20;
inline float ANIMALIST_X = 32.0f;
inline float ANIMALIST_Y = 32.0f;
inline std::uint32_t ANIMALIST_WIDTH = 600;
inline std::int32_t ANIMALIST_TEXT_Y = 4;
inline std::int32_t ANIMALIST_TEXT_SPACE = 2;
inline std::int32_t ANIMALIST_END_SPACE = 4;
inline std::int32_t ANIMALIST_ICON_X = 16;
inline std::int32_t ANIMALIST_NAME_X = 32;
inline Color ANIMALIST_BACKCOLOR = Color(0x80000000u);
inline std::int32_t ANIMALIST_CURSOR_X = 8;
inline std::int32_t ANIMALIST_CODE_X = 32;
inline std::int32_t ANIMALIST_SELECT_X = 48;
inline std::int32_t ANIMALIST_PAGE_X = 400;
inline std::int32_t ANIMALIST_PAGE_Y = 500;
inline std::string ANIMALIST_TAG;
inline std::string ANIMALIST_OFF_NAME;
inline std::int32_t ANIMALIST_RARITY_X = 0;
inline std::uint32_t ANIMALIST_RARITY_MAX = 0;
inline std::string ANIMALIST_RARITY_CHAR;
inline std::string ANIMALIST_RARITY_BLANK;
inline Point ANIMALIST_CURSOR = Point(0, 0);
inline std::uint32_t ANIMALIST_BLINK_ON = 0;
inline std::uint32_t ANIMALIST_BLINK_OFF = 0;
inline Color COLOR_ANIMA_ON = Color::TRANSPARENT_BLACK;
inline Color COLOR_ANIMA_OFF = Color::TRANSPARENT_BLACK;
inline Color COLOR_ANIMA_RARITY = Color::TRANSPARENT_BLACK;
inline Color COLOR_ANIMA_BLANK = Color::TRANSPARENT_BLACK;

// ---- Status view, menus, windows and name entry ---------------------------
inline std::int32_t STATUS_VIEW_X = 64;
inline std::int32_t STATUS_VIEW_Y = 600;
inline std::int32_t STATUS_VIEW_WIDTH = 400;
inline std::int32_t STATUS_VIEW_HEIGHT = 200;
inline std::int32_t MENU_TEXT_Y = 0;
inline std::int32_t MENU_TEXT_SPACE = 0;
inline std::int32_t MENU_END_SPACE = 0;
inline std::int32_t MENU_CURSOR_X = 0;
inline std::int32_t MENU_NAME_X = 0;
inline std::int32_t MENU_PAGE_X_RIGHT = 0;
inline Color MENU_BACKCOLOR = Color::TRANSPARENT_BLACK;
inline std::uint32_t MENU_TEX_WIDTH = 0;
inline std::uint32_t MENU_TEX_HEIGHT = 0;
inline std::uint32_t WINDOW_TEX_WIDTH = 0;
inline std::uint32_t WINDOW_TEX_HEIGHT = 0;
inline std::int32_t WINDOW_TOP_SPACE = 0;
inline std::int32_t WINDOW_BOTTOM_SPACE = 0;
inline std::int32_t WINDOW_RIGHT_SPACE = 0;
inline std::int32_t WINDOW_LEFT_SPACE = 0;
inline std::int32_t WINDOW_LINE_SPACE = 0;
inline Color WINDOW_BACKCOLOR = Color::TRANSPARENT_BLACK;
inline std::int32_t IMEWND_TEX_WIDTH = 0;
inline std::int32_t IMEWND_TEX_HEIGHT = 0;
inline std::int32_t IMEWND_TOP_SPACE = 0;
inline std::int32_t IMEWND_BOTTOM_SPACE = 0;
inline std::int32_t IMEWND_TAG_X = 0;
inline std::int32_t IMEWND_IME_X = 0;
inline std::int32_t IMEWND_RIGHT_SPACE = 0;
inline std::int32_t IMEWND_LINE_SPACE = 0;
inline Color IMEWND_BACKCOLOR = Color::TRANSPARENT_BLACK;
inline constexpr int kWindowTexSizeCount = 4;
inline Point WINDOW_TEX_SIZE[kWindowTexSizeCount];
