#include "game/shell/settings.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>

namespace {

// Each setting rendered with the kind its storage type stands for, so the
// table checks the type as well as the value: a uint stored as an int, or a
// port stored as a uint, shows a different kind.
std::string show(std::uint32_t v) {
    return "uint " + std::to_string(v);
}
std::string show(std::int32_t v) {
    return "int " + std::to_string(v);
}
std::string show(std::uint8_t v) {
    return "byte " + std::to_string(v);
}
std::string show(std::uint16_t v) {
    return "port " + std::to_string(v);
}
std::string show(bool v) {
    return v ? "bool true" : "bool false";
}
std::string show(float v) {
    char text[32];
    std::snprintf(text, sizeof text, "float %g", static_cast<double>(v));
    return text;
}
std::string show(const char* v) {
    return std::string("text \"") + v + "\"";
}
std::string show(const std::string& v) {
    return "text \"" + v + "\"";
}
std::string show(const Color& c) {
    char text[32];
    std::snprintf(text, sizeof text, "Color 0x%08X", c.argb());
    return text;
}
std::string show(const Point& p) {
    return "Point (" + std::to_string(p.x) + ", " + std::to_string(p.y) + ")";
}
std::string show(const Dice& d) {
    std::string text = "Dice";
    for (const Dice* term = &d; term; term = term->next()) {
        text += " (" + std::to_string(term->count()) + ", " + std::to_string(term->sides()) + ")";
    }
    return text;
}

struct Row {
    const char* name;
    std::string actual;
    const char* expected;
};

TEST(SettingsTest, EverySettingHasItsKindAndStartValue) {
    const Row rows[] = {
        // Read-only values.
        {"DUNGEON_WIDTH", show(DUNGEON_WIDTH), R"(int 50)"},
        {"DUNGEON_HEIGHT", show(DUNGEON_HEIGHT), R"(int 30)"},
        {"MESSAGE_FONT", show(MESSAGE_FONT), R"(int 1)"},
        {"MIDDLE_FONT", show(MIDDLE_FONT), R"(int 2)"},
        {"LARGE_FONT", show(LARGE_FONT), R"(int 3)"},
        {"MINI_FONT", show(MINI_FONT), R"(int 4)"},
        {"DATA_RACE", show(DATA_RACE), R"(text "data/data01.dat")"},
        {"DATA_CLASS", show(DATA_CLASS), R"(text "data/data02.dat")"},
        {"DATA_NAME", show(DATA_NAME), R"(text "data/data03.dat")"},
        {"DATA_ITEM", show(DATA_ITEM), R"(text "data/data04.dat")"},
        {"DATA_MONS", show(DATA_MONS), R"(text "data/data05.dat")"},
        {"DATA_ACTION", show(DATA_ACTION), R"(text "data/data06.dat")"},
        {"DATA_SKILL", show(DATA_SKILL), R"(text "data/data07.dat")"},
        {"DATA_SPELL", show(DATA_SPELL), R"(text "data/data08.dat")"},
        {"DATA_SCRIPT", show(DATA_SCRIPT), R"(text "data/data09.dat")"},
        // Read/write settings, in the order of settings.h.
        {"GAME_TITLE", show(GAME_TITLE), R"(text "Vornhaldeen")"},
        {"VERSION", show(VERSION), R"(text "")"},
        {"LOCALE", show(LOCALE), R"(text "")"},
        {"FILE_VERSION", show(FILE_VERSION), R"(uint 100)"},
        {"CURRENT_PLAYER_ID", show(CURRENT_PLAYER_ID), R"(uint 0)"},
        {"RES_TEX_CHIP", show(RES_TEX_CHIP), R"(text "chip.bmp")"},
        {"RANKING_MAX", show(RANKING_MAX), R"(uint 15)"},
        {"NETWORK_ENABLE", show(NETWORK_ENABLE), R"(bool false)"},
        {"NETWORK_REQUEST_SPAN", show(NETWORK_REQUEST_SPAN), R"(uint 5)"},
        {"NETWORK_SERVER", show(NETWORK_SERVER), R"(text "127.0.0.1")"},
        {"NETWORK_PORT_SEND", show(NETWORK_PORT_SEND), R"(port 50001)"},
        {"NETWORK_PORT_RECV", show(NETWORK_PORT_RECV), R"(port 50002)"},
        {"SE_OK", show(SE_OK), R"(text "")"},
        {"SE_CANCEL", show(SE_CANCEL), R"(text "")"},
        {"FIELD_BLUR_ENABLE", show(FIELD_BLUR_ENABLE), R"(bool true)"},
        {"FIELD_BLUR_ALPHA", show(FIELD_BLUR_ALPHA), R"(byte 64)"},
        {"CHIP_WIDTH", show(CHIP_WIDTH), R"(uint 16)"},
        {"CHIP_HEIGHT", show(CHIP_HEIGHT), R"(uint 16)"},
        {"ICON_WIDTH", show(ICON_WIDTH), R"(uint 16)"},
        {"ICON_HEIGHT", show(ICON_HEIGHT), R"(uint 16)"},
        {"DUNGEON_TEX_WIDTH", show(DUNGEON_TEX_WIDTH), R"(uint 800)"},
        {"DUNGEON_TEX_HEIGHT", show(DUNGEON_TEX_HEIGHT), R"(uint 480)"},
        {"DUNGEON_DRAW_X", show(DUNGEON_DRAW_X), R"(int 0)"},
        {"DUNGEON_DRAW_Y", show(DUNGEON_DRAW_Y), R"(int 0)"},
        {"DUNGEON_DRAW_WIDTH", show(DUNGEON_DRAW_WIDTH), R"(int 800)"},
        {"DUNGEON_DRAW_HEIGHT", show(DUNGEON_DRAW_HEIGHT), R"(int 480)"},
        {"CHIP_OPEN_COLOR", show(CHIP_OPEN_COLOR), R"(float 1)"},
        {"CHIP_VIEW_COLOR", show(CHIP_VIEW_COLOR), R"(float 1)"},
        {"WATER_COLOR", show(WATER_COLOR), R"(Color 0x00000000)"},
        {"FREEZE_COLOR", show(FREEZE_COLOR), R"(Color 0x00000000)"},
        {"NO_TORCH_COLOR", show(NO_TORCH_COLOR), R"(Color 0x00000000)"},
        {"ZOOM_OUT_SCALE", show(ZOOM_OUT_SCALE), R"(float 1)"},
        {"ZOOM_IN_SCALE", show(ZOOM_IN_SCALE), R"(float 2)"},
        {"ZOOM_OUT_AUTO_COUNT", show(ZOOM_OUT_AUTO_COUNT), R"(uint 10)"},
        {"ZOOM_IN_AUTO_COUNT", show(ZOOM_IN_AUTO_COUNT), R"(uint 1)"},
        {"ZOOM_OUT_FRAME", show(ZOOM_OUT_FRAME), R"(float 12)"},
        {"ZOOM_IN_FRAME", show(ZOOM_IN_FRAME), R"(float 12)"},
        {"CREATE_MIN_WITDH", show(CREATE_MIN_WITDH), R"(uint 3)"},
        {"CREATE_MIN_HEIGHT", show(CREATE_MIN_HEIGHT), R"(uint 3)"},
        {"CREATE_ROOM_PER", show(CREATE_ROOM_PER), R"(float 0.75)"},
        {"CREATE_MIN_ROOM", show(CREATE_MIN_ROOM), R"(uint 3)"},
        {"CREATE_MIN_SPACE", show(CREATE_MIN_SPACE), R"(uint 5)"},
        {"CREATE_FAIL_MAX", show(CREATE_FAIL_MAX), R"(uint 100)"},
        {"ANIM_WALK_FRAME", show(ANIM_WALK_FRAME), R"(uint 10)"},
        {"ANIM_HIT_FRAME", show(ANIM_HIT_FRAME), R"(uint 10)"},
        {"ANIM_HIT_MOVE_PER", show(ANIM_HIT_MOVE_PER), R"(float 0.5)"},
        {"FONT_HEIGHT", show(FONT_HEIGHT), R"(uint 16)"},
        {"FONT_WIDTH", show(FONT_WIDTH), R"(uint 8)"},
        {"MINI_FONT_HEIGHT", show(MINI_FONT_HEIGHT), R"(uint 10)"},
        {"MINI_FONT_OFFSET_Y", show(MINI_FONT_OFFSET_Y), R"(uint 3)"},
        {"FONT_NAME", show(FONT_NAME), R"(text "ＭＳ ゴシック")"},
        {"LOG_VIEW_TEX_NUM", show(LOG_VIEW_TEX_NUM), R"(uint 3)"},
        {"LOG_BUFFER_TEX_NUM", show(LOG_BUFFER_TEX_NUM), R"(uint 16)"},
        {"LOG_MAX_LENGTH", show(LOG_MAX_LENGTH), R"(uint 64)"},
        {"LOG_VIEW_X", show(LOG_VIEW_X), R"(uint 200)"},
        {"LOG_VIEW_Y", show(LOG_VIEW_Y), R"(uint 500)"},
        {"LOG_SPACE_TOP", show(LOG_SPACE_TOP), R"(int 0)"},
        {"LOG_SPACE_BOTTOM", show(LOG_SPACE_BOTTOM), R"(int 0)"},
        {"LOG_SPACE_RIGHT", show(LOG_SPACE_RIGHT), R"(int 0)"},
        {"LOG_SPACE_LEFT", show(LOG_SPACE_LEFT), R"(int 0)"},
        {"LOG_SPACE_LINE", show(LOG_SPACE_LINE), R"(int 0)"},
        {"LOG_BACKCOLOR", show(LOG_BACKCOLOR), R"(Color 0x00000000)"},
        {"COLOR_DEFAULT", show(COLOR_DEFAULT), R"(Color 0x00000000)"},
        {"COLOR_DAMAGE", show(COLOR_DAMAGE), R"(Color 0x00000000)"},
        {"COLOR_HEAL", show(COLOR_HEAL), R"(Color 0x00000000)"},
        {"COLOR_CURSE", show(COLOR_CURSE), R"(Color 0x00000000)"},
        {"COLOR_BLESS", show(COLOR_BLESS), R"(Color 0x00000000)"},
        {"COLOR_UNKNOWN", show(COLOR_UNKNOWN), R"(Color 0x00000000)"},
        {"COLOR_ITEM", show(COLOR_ITEM), R"(Color 0x00000000)"},
        {"COLOR_EQUIP", show(COLOR_EQUIP), R"(Color 0x00000000)"},
        {"COLOR_MAGIC", show(COLOR_MAGIC), R"(Color 0x00000000)"},
        {"COLOR_GRUDGE", show(COLOR_GRUDGE), R"(Color 0x00000000)"},
        {"COLOR_NETWORK", show(COLOR_NETWORK), R"(Color 0x00000000)"},
        {"CURSOR_WIDTH", show(CURSOR_WIDTH), R"(uint 0)"},
        {"CURSOR_HEIGHT", show(CURSOR_HEIGHT), R"(uint 0)"},
        {"CURSOR_BLINK_ON", show(CURSOR_BLINK_ON), R"(uint 0)"},
        {"CURSOR_BLINK_OFF", show(CURSOR_BLINK_OFF), R"(uint 0)"},
        {"DIRECTION_CHIP_X", show(DIRECTION_CHIP_X), R"(uint 0)"},
        {"DIRECTION_CHIP_Y", show(DIRECTION_CHIP_Y), R"(uint 0)"},
        {"DIRECTION_BLINK_FRAME", show(DIRECTION_BLINK_FRAME), R"(uint 0)"},
        {"BASE_DAMAGE_DICE", show(BASE_DAMAGE_DICE), R"(Dice (0, 1))"},
        {"FRIEND_FORMAT", show(FRIEND_FORMAT), R"(text "")"},
        {"SUMMONED_FORMAT", show(SUMMONED_FORMAT), R"(text "")"},
        {"UNKNOWN_CHARA_NAME", show(UNKNOWN_CHARA_NAME), R"(text "")"},
        {"FRIEND_CHIP", show(FRIEND_CHIP), R"(Point (0, 0))"},
        {"FRIEND_CHIP_COLOR", show(FRIEND_CHIP_COLOR), R"(Color 0x00000000)"},
        {"SUMMON_CHIP", show(SUMMON_CHIP), R"(Point (0, 0))"},
        {"SUMMON_CHIP_COLOR", show(SUMMON_CHIP_COLOR), R"(Color 0x00000000)"},
        {"ELITE_CHIP", show(ELITE_CHIP), R"(Point (0, 0))"},
        {"ELITE_CHIP_COLOR", show(ELITE_CHIP_COLOR), R"(Color 0x00000000)"},
        {"UNIQUE_CHIP", show(UNIQUE_CHIP), R"(Point (0, 0))"},
        {"UNIQUE_CHIP_COLOR", show(UNIQUE_CHIP_COLOR), R"(Color 0x00000000)"},
        {"SUB_ICON_BLINK_ON", show(SUB_ICON_BLINK_ON), R"(uint 0)"},
        {"SUB_ICON_BLINK_OFF", show(SUB_ICON_BLINK_OFF), R"(uint 0)"},
        {"SATIETY_BASE", show(SATIETY_BASE), R"(int 0)"},
        {"SATIETY_IDENTITY", show(SATIETY_IDENTITY), R"(int 0)"},
        {"PETRIFY_COLOR", show(PETRIFY_COLOR), R"(Color 0x00000000)"},
        {"PETRIFY_FORMAT", show(PETRIFY_FORMAT), R"(text "")"},
        {"STATUS_LEVEL_RATIO", show(STATUS_LEVEL_RATIO), R"(int 0)"},
        {"ST_NAME_FLOAT1", show(ST_NAME_FLOAT1), R"(text "")"},
        {"ST_NAME_FLOAT2", show(ST_NAME_FLOAT2), R"(text "")"},
        {"ST_NAME_THROUGH", show(ST_NAME_THROUGH), R"(text "")"},
        {"ST_NAME_INVISIBLE", show(ST_NAME_INVISIBLE), R"(text "")"},
        {"ST_WEIGHT_BASE", show(ST_WEIGHT_BASE), R"(float 0)"},
        {"ST_WEIGHT_STR", show(ST_WEIGHT_STR), R"(float 0)"},
        {"ST_WEIGHT_VIT", show(ST_WEIGHT_VIT), R"(float 0)"},
        {"ST_DEFENSE_VIT_RATIO", show(ST_DEFENSE_VIT_RATIO), R"(float 0)"},
        {"EQUIP_COUNT", show(EQUIP_COUNT), R"(text "")"},
        {"AI_MEMORY_TIME", show(AI_MEMORY_TIME), R"(int 0)"},
        {"FRIEND_POINT_HARM_LOST", show(FRIEND_POINT_HARM_LOST), R"(int 0)"},
        {"WEAPON_LEVEL_MIN", show(WEAPON_LEVEL_MIN), R"(int 0)"},
        {"ARMOR_LEVEL_MIN", show(ARMOR_LEVEL_MIN), R"(int 0)"},
        {"CORPSE_ROTTING", show(CORPSE_ROTTING), R"(int 0)"},
        {"BAG_LIGHT_RATIO", show(BAG_LIGHT_RATIO), R"(float 0)"},
        {"BAG_WEIGHT_RATIO", show(BAG_WEIGHT_RATIO), R"(float 0)"},
        {"MONEY_MAX", show(MONEY_MAX), R"(int 999999)"},
        {"BLESSED_DEFENSE", show(BLESSED_DEFENSE), R"(int 2)"},
        {"ITEMLIST_ITEM_MAX", show(ITEMLIST_ITEM_MAX), R"(uint 20)"},
        {"ITEMLIST_X", show(ITEMLIST_X), R"(float 32)"},
        {"ITEMLIST_Y", show(ITEMLIST_Y), R"(float 32)"},
        {"ITEMLIST_WIDTH", show(ITEMLIST_WIDTH), R"(uint 600)"},
        {"ITEMLIST_TEXT_Y", show(ITEMLIST_TEXT_Y), R"(int 4)"},
        {"ITEMLIST_TEXT_SPACE", show(ITEMLIST_TEXT_SPACE), R"(int 2)"},
        {"ITEMLIST_END_SPACE", show(ITEMLIST_END_SPACE), R"(int 4)"},
        {"ITEMLIST_ICON_X", show(ITEMLIST_ICON_X), R"(int 16)"},
        {"ITEMLIST_NAME_X", show(ITEMLIST_NAME_X), R"(int 32)"},
        {"ITEMLIST_BACKCOLOR", show(ITEMLIST_BACKCOLOR), R"(Color 0x80000000)"},
        {"ITEMLIST_CURSOR_X", show(ITEMLIST_CURSOR_X), R"(int 8)"},
        {"ITEMLIST_CODE_X", show(ITEMLIST_CODE_X), R"(int 32)"},
        {"ITEMLIST_SELECT_X", show(ITEMLIST_SELECT_X), R"(int 48)"},
        {"ITEMLIST_PAGE_X", show(ITEMLIST_PAGE_X), R"(int 400)"},
        {"ITEMLIST_PAGE_Y", show(ITEMLIST_PAGE_Y), R"(int 500)"},
        {"ITEMLIST_TAG", show(ITEMLIST_TAG), R"(text "")"},
        {"ITEMLIST_WEIGHT_X", show(ITEMLIST_WEIGHT_X), R"(int 0)"},
        {"ITEM_WEIGHT_RATIO", show(ITEM_WEIGHT_RATIO), R"(float 0)"},
        {"ITEM_WEIGHT_FORMAT", show(ITEM_WEIGHT_FORMAT), R"(text "")"},
        {"ITEMLIST_CURSOR", show(ITEMLIST_CURSOR), R"(Point (0, 0))"},
        {"ITEMLIST_BLINK_ON", show(ITEMLIST_BLINK_ON), R"(uint 0)"},
        {"ITEMLIST_BLINK_OFF", show(ITEMLIST_BLINK_OFF), R"(uint 0)"},
        {"ITEMLIST_NAME_LENGTH", show(ITEMLIST_NAME_LENGTH), R"(uint 32)"},
        {"ITEMLIST_MINI_NAME_LENGTH", show(ITEMLIST_MINI_NAME_LENGTH), R"(uint 32)"},
        {"ANIMALIST_MAX", show(ANIMALIST_MAX), R"(uint 20)"},
        {"ANIMALIST_X", show(ANIMALIST_X), R"(float 32)"},
        {"ANIMALIST_Y", show(ANIMALIST_Y), R"(float 32)"},
        {"ANIMALIST_WIDTH", show(ANIMALIST_WIDTH), R"(uint 600)"},
        {"ANIMALIST_TEXT_Y", show(ANIMALIST_TEXT_Y), R"(int 4)"},
        {"ANIMALIST_TEXT_SPACE", show(ANIMALIST_TEXT_SPACE), R"(int 2)"},
        {"ANIMALIST_END_SPACE", show(ANIMALIST_END_SPACE), R"(int 4)"},
        {"ANIMALIST_ICON_X", show(ANIMALIST_ICON_X), R"(int 16)"},
        {"ANIMALIST_NAME_X", show(ANIMALIST_NAME_X), R"(int 32)"},
        {"ANIMALIST_BACKCOLOR", show(ANIMALIST_BACKCOLOR), R"(Color 0x80000000)"},
        {"ANIMALIST_CURSOR_X", show(ANIMALIST_CURSOR_X), R"(int 8)"},
        {"ANIMALIST_CODE_X", show(ANIMALIST_CODE_X), R"(int 32)"},
        {"ANIMALIST_SELECT_X", show(ANIMALIST_SELECT_X), R"(int 48)"},
        {"ANIMALIST_PAGE_X", show(ANIMALIST_PAGE_X), R"(int 400)"},
        {"ANIMALIST_PAGE_Y", show(ANIMALIST_PAGE_Y), R"(int 500)"},
        {"ANIMALIST_TAG", show(ANIMALIST_TAG), R"(text "")"},
        {"ANIMALIST_OFF_NAME", show(ANIMALIST_OFF_NAME), R"(text "")"},
        {"ANIMALIST_RARITY_X", show(ANIMALIST_RARITY_X), R"(int 0)"},
        {"ANIMALIST_RARITY_MAX", show(ANIMALIST_RARITY_MAX), R"(uint 0)"},
        {"ANIMALIST_RARITY_CHAR", show(ANIMALIST_RARITY_CHAR), R"(text "")"},
        {"ANIMALIST_RARITY_BLANK", show(ANIMALIST_RARITY_BLANK), R"(text "")"},
        {"ANIMALIST_CURSOR", show(ANIMALIST_CURSOR), R"(Point (0, 0))"},
        {"ANIMALIST_BLINK_ON", show(ANIMALIST_BLINK_ON), R"(uint 0)"},
        {"ANIMALIST_BLINK_OFF", show(ANIMALIST_BLINK_OFF), R"(uint 0)"},
        {"COLOR_ANIMA_ON", show(COLOR_ANIMA_ON), R"(Color 0x00000000)"},
        {"COLOR_ANIMA_OFF", show(COLOR_ANIMA_OFF), R"(Color 0x00000000)"},
        {"COLOR_ANIMA_RARITY", show(COLOR_ANIMA_RARITY), R"(Color 0x00000000)"},
        {"COLOR_ANIMA_BLANK", show(COLOR_ANIMA_BLANK), R"(Color 0x00000000)"},
        {"STATUS_VIEW_X", show(STATUS_VIEW_X), R"(int 64)"},
        {"STATUS_VIEW_Y", show(STATUS_VIEW_Y), R"(int 600)"},
        {"STATUS_VIEW_WIDTH", show(STATUS_VIEW_WIDTH), R"(int 400)"},
        {"STATUS_VIEW_HEIGHT", show(STATUS_VIEW_HEIGHT), R"(int 200)"},
        {"MENU_TEXT_Y", show(MENU_TEXT_Y), R"(int 0)"},
        {"MENU_TEXT_SPACE", show(MENU_TEXT_SPACE), R"(int 0)"},
        {"MENU_END_SPACE", show(MENU_END_SPACE), R"(int 0)"},
        {"MENU_CURSOR_X", show(MENU_CURSOR_X), R"(int 0)"},
        {"MENU_NAME_X", show(MENU_NAME_X), R"(int 0)"},
        {"MENU_PAGE_X_RIGHT", show(MENU_PAGE_X_RIGHT), R"(int 0)"},
        {"MENU_BACKCOLOR", show(MENU_BACKCOLOR), R"(Color 0x00000000)"},
        {"MENU_TEX_WIDTH", show(MENU_TEX_WIDTH), R"(uint 0)"},
        {"MENU_TEX_HEIGHT", show(MENU_TEX_HEIGHT), R"(uint 0)"},
        {"WINDOW_TEX_WIDTH", show(WINDOW_TEX_WIDTH), R"(uint 0)"},
        {"WINDOW_TEX_HEIGHT", show(WINDOW_TEX_HEIGHT), R"(uint 0)"},
        {"WINDOW_TOP_SPACE", show(WINDOW_TOP_SPACE), R"(int 0)"},
        {"WINDOW_BOTTOM_SPACE", show(WINDOW_BOTTOM_SPACE), R"(int 0)"},
        {"WINDOW_RIGHT_SPACE", show(WINDOW_RIGHT_SPACE), R"(int 0)"},
        {"WINDOW_LEFT_SPACE", show(WINDOW_LEFT_SPACE), R"(int 0)"},
        {"WINDOW_LINE_SPACE", show(WINDOW_LINE_SPACE), R"(int 0)"},
        {"WINDOW_BACKCOLOR", show(WINDOW_BACKCOLOR), R"(Color 0x00000000)"},
        {"IMEWND_TEX_WIDTH", show(IMEWND_TEX_WIDTH), R"(int 0)"},
        {"IMEWND_TEX_HEIGHT", show(IMEWND_TEX_HEIGHT), R"(int 0)"},
        {"IMEWND_TOP_SPACE", show(IMEWND_TOP_SPACE), R"(int 0)"},
        {"IMEWND_BOTTOM_SPACE", show(IMEWND_BOTTOM_SPACE), R"(int 0)"},
        {"IMEWND_TAG_X", show(IMEWND_TAG_X), R"(int 0)"},
        {"IMEWND_IME_X", show(IMEWND_IME_X), R"(int 0)"},
        {"IMEWND_RIGHT_SPACE", show(IMEWND_RIGHT_SPACE), R"(int 0)"},
        {"IMEWND_LINE_SPACE", show(IMEWND_LINE_SPACE), R"(int 0)"},
        {"IMEWND_BACKCOLOR", show(IMEWND_BACKCOLOR), R"(Color 0x00000000)"},
    };
    std::set<std::string> names;
    for (const Row& row : rows) {
        EXPECT_EQ(row.actual, row.expected) << row.name;
        EXPECT_TRUE(names.insert(row.name).second) << row.name << " listed twice";
    }
    // 199 script-writable settings, the 6 numbers and 9 paths that are read-only.
    EXPECT_EQ(names.size(), 199u + 15u);
}

TEST(SettingsTest, ArraysStartEmpty) {
    ASSERT_EQ(std::size(STATUS_NAME), 58u);
    for (const std::string& name : STATUS_NAME) EXPECT_EQ(name, "");
    ASSERT_EQ(std::size(WINDOW_TEX_SIZE), 4u);
    for (const Point& size : WINDOW_TEX_SIZE) EXPECT_EQ(size, Point(0, 0));
}

TEST(SettingsTest, TextsAreShiftJisAtRunTime) {
    // "ＭＳ ゴシック" in Shift-JIS: the face name the font code looks up.
    EXPECT_EQ(FONT_NAME, "\x82\x6C\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4E");
}

TEST(SettingsTest, NetworkStartsOffAimedAtThisMachine) {
    EXPECT_FALSE(NETWORK_ENABLE);
    EXPECT_EQ(NETWORK_SERVER, "127.0.0.1");
}

}  // namespace
