#include "game/shell/settings.h"

#include "game/world/create_dungeon.h"

namespace {

// Sources of the derived start values. The derived settings are computed
// from these, not from the live settings, so scripts that change CHIP_WIDTH
// and the like later leave them alone.
constexpr std::uint32_t kChipWidthStart = 16;
constexpr std::uint32_t kChipHeightStart = 16;
constexpr std::uint32_t kFontHeightStart = 16;
constexpr std::uint32_t kMiniFontHeightStart = 10;

constexpr CreateDungeonSettings kCreateStart{};

}  // namespace

// ---- Game identity, files and network -------------------------------------
std::string GAME_TITLE = "Vornhaldeen";
std::string VERSION;
std::string LOCALE;
constinit std::uint32_t FILE_VERSION = 100;
constinit std::uint32_t CURRENT_PLAYER_ID = 0;
std::string RES_TEX_CHIP = "chip.bmp";
constinit std::uint32_t RANKING_MAX = 15;
constinit bool NETWORK_ENABLE = false;
constinit std::uint32_t NETWORK_REQUEST_SPAN = 5;
// This machine: with the network off by default, an unset server must never
// send the player's messages to some host on whatever network they are on.
std::string NETWORK_SERVER = "127.0.0.1";
constinit std::uint16_t NETWORK_PORT_SEND = 50001;
constinit std::uint16_t NETWORK_PORT_RECV = 50002;
std::string SE_OK;
std::string SE_CANCEL;

// ---- Map drawing and field view -------------------------------------------
constinit bool FIELD_BLUR_ENABLE = true;
constinit std::uint8_t FIELD_BLUR_ALPHA = 64;
constinit std::uint32_t CHIP_WIDTH = kChipWidthStart;
constinit std::uint32_t CHIP_HEIGHT = kChipHeightStart;
constinit std::uint32_t ICON_WIDTH = 16;
constinit std::uint32_t ICON_HEIGHT = 16;
constinit std::uint32_t DUNGEON_TEX_WIDTH = kChipWidthStart * DUNGEON_WIDTH;
constinit std::uint32_t DUNGEON_TEX_HEIGHT = kChipHeightStart * DUNGEON_HEIGHT;
constinit std::int32_t DUNGEON_DRAW_X = 0;
constinit std::int32_t DUNGEON_DRAW_Y = 0;
constinit std::int32_t DUNGEON_DRAW_WIDTH =
    static_cast<std::int32_t>(kChipWidthStart * DUNGEON_WIDTH);
constinit std::int32_t DUNGEON_DRAW_HEIGHT =
    static_cast<std::int32_t>(kChipHeightStart * DUNGEON_HEIGHT);
constinit float CHIP_OPEN_COLOR = 1.0f;
constinit float CHIP_VIEW_COLOR = 1.0f;
constinit Color WATER_COLOR = Color::TRANSPARENT_BLACK;
constinit Color FREEZE_COLOR = Color::TRANSPARENT_BLACK;
constinit Color NO_TORCH_COLOR = Color::TRANSPARENT_BLACK;
constinit float ZOOM_OUT_SCALE = 1.0f;
constinit float ZOOM_IN_SCALE = 2.0f;
constinit std::uint32_t ZOOM_OUT_AUTO_COUNT = 10;
constinit std::uint32_t ZOOM_IN_AUTO_COUNT = 1;
constinit float ZOOM_OUT_FRAME = 12.0f;
constinit float ZOOM_IN_FRAME = 12.0f;

// ---- Dungeon generation and animation -------------------------------------
// The generator's own start values.
constinit std::uint32_t CREATE_MIN_WITDH = kCreateStart.minWidth;
constinit std::uint32_t CREATE_MIN_HEIGHT = kCreateStart.minHeight;
constinit float CREATE_ROOM_PER = kCreateStart.roomPer;
constinit std::uint32_t CREATE_MIN_ROOM = kCreateStart.minRoom;
constinit std::uint32_t CREATE_MIN_SPACE = kCreateStart.minSpace;
constinit std::uint32_t CREATE_FAIL_MAX = kCreateStart.failMax;
constinit std::uint32_t ANIM_WALK_FRAME = 10;
constinit std::uint32_t ANIM_HIT_FRAME = 10;
constinit float ANIM_HIT_MOVE_PER = 0.5f;

// ---- Fonts and message log ------------------------------------------------
constinit std::uint32_t FONT_HEIGHT = kFontHeightStart;
constinit std::uint32_t FONT_WIDTH = 8;
constinit std::uint32_t MINI_FONT_HEIGHT = kMiniFontHeightStart;
constinit std::uint32_t MINI_FONT_OFFSET_Y = (kFontHeightStart - kMiniFontHeightStart) >> 1;
std::string FONT_NAME = "ＭＳ ゴシック";
constinit std::uint32_t LOG_VIEW_TEX_NUM = 3;
constinit std::uint32_t LOG_BUFFER_TEX_NUM = 16;
constinit std::uint32_t LOG_MAX_LENGTH = 64;
constinit std::uint32_t LOG_VIEW_X = 200;
constinit std::uint32_t LOG_VIEW_Y = 500;
constinit std::int32_t LOG_SPACE_TOP = 0;
constinit std::int32_t LOG_SPACE_BOTTOM = 0;
constinit std::int32_t LOG_SPACE_RIGHT = 0;
constinit std::int32_t LOG_SPACE_LEFT = 0;
constinit std::int32_t LOG_SPACE_LINE = 0;
constinit Color LOG_BACKCOLOR = Color::TRANSPARENT_BLACK;

// ---- Text colours ---------------------------------------------------------
constinit Color COLOR_DEFAULT = Color::TRANSPARENT_BLACK;
constinit Color COLOR_DAMAGE = Color::TRANSPARENT_BLACK;
constinit Color COLOR_HEAL = Color::TRANSPARENT_BLACK;
constinit Color COLOR_CURSE = Color::TRANSPARENT_BLACK;
constinit Color COLOR_BLESS = Color::TRANSPARENT_BLACK;
constinit Color COLOR_UNKNOWN = Color::TRANSPARENT_BLACK;
constinit Color COLOR_ITEM = Color::TRANSPARENT_BLACK;
constinit Color COLOR_EQUIP = Color::TRANSPARENT_BLACK;
constinit Color COLOR_MAGIC = Color::TRANSPARENT_BLACK;
constinit Color COLOR_GRUDGE = Color::TRANSPARENT_BLACK;
constinit Color COLOR_NETWORK = Color::TRANSPARENT_BLACK;

// ---- Cursor and direction marker ------------------------------------------
constinit std::uint32_t CURSOR_WIDTH = 0;
constinit std::uint32_t CURSOR_HEIGHT = 0;
constinit std::uint32_t CURSOR_BLINK_ON = 0;
constinit std::uint32_t CURSOR_BLINK_OFF = 0;
constinit std::uint32_t DIRECTION_CHIP_X = 0;
constinit std::uint32_t DIRECTION_CHIP_Y = 0;
constinit std::uint32_t DIRECTION_BLINK_FRAME = 0;

// ---- Character and item rules ---------------------------------------------
constinit Dice BASE_DAMAGE_DICE = Dice(0, 1);
std::string FRIEND_FORMAT;
std::string SUMMONED_FORMAT;
std::string UNKNOWN_CHARA_NAME;
constinit Point FRIEND_CHIP = Point(0, 0);
constinit Color FRIEND_CHIP_COLOR = Color::TRANSPARENT_BLACK;
constinit Point SUMMON_CHIP = Point(0, 0);
constinit Color SUMMON_CHIP_COLOR = Color::TRANSPARENT_BLACK;
constinit Point ELITE_CHIP = Point(0, 0);
constinit Color ELITE_CHIP_COLOR = Color::TRANSPARENT_BLACK;
constinit Point UNIQUE_CHIP = Point(0, 0);
constinit Color UNIQUE_CHIP_COLOR = Color::TRANSPARENT_BLACK;
constinit std::uint32_t SUB_ICON_BLINK_ON = 0;
constinit std::uint32_t SUB_ICON_BLINK_OFF = 0;
constinit std::int32_t SATIETY_BASE = 0;
constinit std::int32_t SATIETY_IDENTITY = 0;
constinit Color PETRIFY_COLOR = Color::TRANSPARENT_BLACK;
std::string PETRIFY_FORMAT;
// A divisor that starts at 0; see settings.h for how readers treat it.
constinit std::int32_t STATUS_LEVEL_RATIO = 0;
std::string ST_NAME_FLOAT1;
std::string ST_NAME_FLOAT2;
std::string ST_NAME_THROUGH;
std::string ST_NAME_INVISIBLE;
constinit float ST_WEIGHT_BASE = 0.0f;
constinit float ST_WEIGHT_STR = 0.0f;
constinit float ST_WEIGHT_VIT = 0.0f;
constinit float ST_DEFENSE_VIT_RATIO = 0.0f;
std::string EQUIP_COUNT;
constinit std::int32_t AI_MEMORY_TIME = 0;
constinit std::int32_t FRIEND_POINT_HARM_LOST = 0;
constinit std::int32_t WEAPON_LEVEL_MIN = 0;
constinit std::int32_t ARMOR_LEVEL_MIN = 0;
constinit std::int32_t CORPSE_ROTTING = 0;
constinit float BAG_LIGHT_RATIO = 0.0f;
constinit float BAG_WEIGHT_RATIO = 0.0f;
constinit std::int32_t MONEY_MAX = 999999;
constinit std::int32_t BLESSED_DEFENSE = 2;
std::string STATUS_NAME[Status::TYPE_MAX];

// ---- Item list ------------------------------------------------------------
constinit std::uint32_t ITEMLIST_ITEM_MAX = 20;
constinit float ITEMLIST_X = 32.0f;
constinit float ITEMLIST_Y = 32.0f;
constinit std::uint32_t ITEMLIST_WIDTH = 600;
constinit std::int32_t ITEMLIST_TEXT_Y = 4;
constinit std::int32_t ITEMLIST_TEXT_SPACE = 2;
constinit std::int32_t ITEMLIST_END_SPACE = 4;
constinit std::int32_t ITEMLIST_ICON_X = 16;
constinit std::int32_t ITEMLIST_NAME_X = 32;
constinit Color ITEMLIST_BACKCOLOR = Color(0x80000000u);
constinit std::int32_t ITEMLIST_CURSOR_X = 8;
constinit std::int32_t ITEMLIST_CODE_X = 32;
constinit std::int32_t ITEMLIST_SELECT_X = 48;
constinit std::int32_t ITEMLIST_PAGE_X = 400;
constinit std::int32_t ITEMLIST_PAGE_Y = 500;
std::string ITEMLIST_TAG;
constinit std::int32_t ITEMLIST_WEIGHT_X = 0;
constinit float ITEM_WEIGHT_RATIO = 0.0f;
std::string ITEM_WEIGHT_FORMAT;
constinit Point ITEMLIST_CURSOR = Point(0, 0);
constinit std::uint32_t ITEMLIST_BLINK_ON = 0;
constinit std::uint32_t ITEMLIST_BLINK_OFF = 0;
constinit std::uint32_t ITEMLIST_NAME_LENGTH = 32;
constinit std::uint32_t ITEMLIST_MINI_NAME_LENGTH = 32;

// ---- Anima list -----------------------------------------------------------
constinit std::uint32_t ANIMALIST_MAX = 20;
constinit float ANIMALIST_X = 32.0f;
constinit float ANIMALIST_Y = 32.0f;
constinit std::uint32_t ANIMALIST_WIDTH = 600;
constinit std::int32_t ANIMALIST_TEXT_Y = 4;
constinit std::int32_t ANIMALIST_TEXT_SPACE = 2;
constinit std::int32_t ANIMALIST_END_SPACE = 4;
constinit std::int32_t ANIMALIST_ICON_X = 16;
constinit std::int32_t ANIMALIST_NAME_X = 32;
constinit Color ANIMALIST_BACKCOLOR = Color(0x80000000u);
constinit std::int32_t ANIMALIST_CURSOR_X = 8;
constinit std::int32_t ANIMALIST_CODE_X = 32;
constinit std::int32_t ANIMALIST_SELECT_X = 48;
constinit std::int32_t ANIMALIST_PAGE_X = 400;
constinit std::int32_t ANIMALIST_PAGE_Y = 500;
std::string ANIMALIST_TAG;
std::string ANIMALIST_OFF_NAME;
constinit std::int32_t ANIMALIST_RARITY_X = 0;
constinit std::uint32_t ANIMALIST_RARITY_MAX = 0;
std::string ANIMALIST_RARITY_CHAR;
std::string ANIMALIST_RARITY_BLANK;
constinit Point ANIMALIST_CURSOR = Point(0, 0);
constinit std::uint32_t ANIMALIST_BLINK_ON = 0;
constinit std::uint32_t ANIMALIST_BLINK_OFF = 0;
constinit Color COLOR_ANIMA_ON = Color::TRANSPARENT_BLACK;
constinit Color COLOR_ANIMA_OFF = Color::TRANSPARENT_BLACK;
constinit Color COLOR_ANIMA_RARITY = Color::TRANSPARENT_BLACK;
constinit Color COLOR_ANIMA_BLANK = Color::TRANSPARENT_BLACK;

// ---- Status view, menus, windows and name entry ---------------------------
constinit std::int32_t STATUS_VIEW_X = 64;
constinit std::int32_t STATUS_VIEW_Y = 600;
constinit std::int32_t STATUS_VIEW_WIDTH = 400;
constinit std::int32_t STATUS_VIEW_HEIGHT = 200;
constinit std::int32_t MENU_TEXT_Y = 0;
constinit std::int32_t MENU_TEXT_SPACE = 0;
constinit std::int32_t MENU_END_SPACE = 0;
constinit std::int32_t MENU_CURSOR_X = 0;
constinit std::int32_t MENU_NAME_X = 0;
constinit std::int32_t MENU_PAGE_X_RIGHT = 0;
constinit Color MENU_BACKCOLOR = Color::TRANSPARENT_BLACK;
constinit std::uint32_t MENU_TEX_WIDTH = 0;
constinit std::uint32_t MENU_TEX_HEIGHT = 0;
constinit std::uint32_t WINDOW_TEX_WIDTH = 0;
constinit std::uint32_t WINDOW_TEX_HEIGHT = 0;
constinit std::int32_t WINDOW_TOP_SPACE = 0;
constinit std::int32_t WINDOW_BOTTOM_SPACE = 0;
constinit std::int32_t WINDOW_RIGHT_SPACE = 0;
constinit std::int32_t WINDOW_LEFT_SPACE = 0;
constinit std::int32_t WINDOW_LINE_SPACE = 0;
constinit Color WINDOW_BACKCOLOR = Color::TRANSPARENT_BLACK;
constinit std::int32_t IMEWND_TEX_WIDTH = 0;
constinit std::int32_t IMEWND_TEX_HEIGHT = 0;
constinit std::int32_t IMEWND_TOP_SPACE = 0;
constinit std::int32_t IMEWND_BOTTOM_SPACE = 0;
constinit std::int32_t IMEWND_TAG_X = 0;
constinit std::int32_t IMEWND_IME_X = 0;
constinit std::int32_t IMEWND_RIGHT_SPACE = 0;
constinit std::int32_t IMEWND_LINE_SPACE = 0;
constinit Color IMEWND_BACKCOLOR = Color::TRANSPARENT_BLACK;
Point WINDOW_TEX_SIZE[kWindowTexSizeCount];
