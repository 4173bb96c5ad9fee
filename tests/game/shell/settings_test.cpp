#include "game/shell/settings.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <type_traits>

namespace {

// The start value of a setting as the table holds it.
template <class T>
const T& start(const char* name, std::size_t i = 0) {
    const Setting* row = findSetting(name);
    EXPECT_NE(row, nullptr) << name;
    const T* value = nullptr;
    row->visit([&](const auto& slot) {
        using Slot = std::decay_t<decltype(slot)>;
        if constexpr (std::is_same_v<typename Slot::Value, T>) value = &slot.start.at(i);
    });
    EXPECT_NE(value, nullptr) << name << " is not of that type";
    return *value;
}

TEST(SettingsTest, TheTableListsEverySettingOnceUnderTheScriptsName) {
    std::set<std::string> names;
    std::set<const void*> storage;
    std::map<SettingKind, int> kinds;
    int readOnly = 0;
    for (const Setting& row : settingTable()) {
        EXPECT_TRUE(names.insert(row.name()).second) << row.name() << " listed twice";
        row.visit([&](const auto& slot) {
            EXPECT_TRUE(storage.insert(slot.storage).second) << row.name() << " shares storage";
        });
        ++kinds[row.kind()];
        readOnly += row.readOnly();
        EXPECT_EQ(findSetting(row.name()), &row);
    }
    // 200 settings the scripts write, 2 arrays, and 6 numbers, 9 paths and
    // 52 flag masks that are read-only.
    EXPECT_EQ(names.size(), 200u + 2u + 15u + 52u);
    EXPECT_EQ(readOnly, 15 + 52);
    // How many of each kind: a setting whose storage type changes shows up.
    const std::map<SettingKind, int> expected = {
        {SettingKind::Uint, 53 + 52}, {SettingKind::Int, 70},   {SettingKind::Float, 19},
        {SettingKind::Byte, 1},       {SettingKind::Port, 2},   {SettingKind::Bool, 2},
        {SettingKind::Text, 33},      {SettingKind::Color, 29}, {SettingKind::Point, 7},
        {SettingKind::Dice, 1},
    };
    EXPECT_EQ(kinds, expected);

    // The scripts' spellings, misspelt ones included.
    EXPECT_NE(findSetting("CREATE_MIN_WITDH"), nullptr);
    EXPECT_EQ(findSetting("CREATE_MIN_WIDTH"), nullptr);
    EXPECT_EQ(findSetting(""), nullptr);
    EXPECT_EQ(findSetting("TILE_ROOM")->kind(), SettingKind::Uint);
}

TEST(SettingsTest, EachKindHasItsStorage) {
    struct Case {
        const char* name;
        SettingKind kind;
        std::size_t count;
        bool readOnly;
    };
    const Case cases[] = {
        {"CHIP_WIDTH", SettingKind::Uint, 1, false},
        {"DUNGEON_DRAW_X", SettingKind::Int, 1, false},
        {"DUNGEON_WIDTH", SettingKind::Int, 1, true},
        {"ZOOM_IN_SCALE", SettingKind::Float, 1, false},
        {"FIELD_BLUR_ALPHA", SettingKind::Byte, 1, false},
        {"NETWORK_PORT_SEND", SettingKind::Port, 1, false},
        {"NETWORK_ENABLE", SettingKind::Bool, 1, false},
        {"GAME_TITLE", SettingKind::Text, 1, false},
        {"DATA_ACTION", SettingKind::Text, 1, true},
        {"STATUS_NAME", SettingKind::Text, 58, false},
        {"WATER_COLOR", SettingKind::Color, 1, false},
        {"FRIEND_CHIP", SettingKind::Point, 1, false},
        {"WINDOW_TEX_SIZE", SettingKind::Point, 4, false},
        {"BASE_DAMAGE_DICE", SettingKind::Dice, 1, false},
    };
    for (const Case& c : cases) {
        const Setting* row = findSetting(c.name);
        ASSERT_NE(row, nullptr) << c.name;
        EXPECT_EQ(row->kind(), c.kind) << c.name;
        EXPECT_EQ(row->count(), c.count) << c.name;
        EXPECT_EQ(row->readOnly(), c.readOnly) << c.name;
    }
}

TEST(SettingsTest, DerivedValuesFollowTheStartValuesOfTheirSources) {
    const std::uint32_t chipWidth = start<std::uint32_t>("CHIP_WIDTH");
    const std::uint32_t chipHeight = start<std::uint32_t>("CHIP_HEIGHT");
    EXPECT_EQ(start<std::uint32_t>("DUNGEON_TEX_WIDTH"), chipWidth * DUNGEON_WIDTH);
    EXPECT_EQ(start<std::uint32_t>("DUNGEON_TEX_HEIGHT"), chipHeight * DUNGEON_HEIGHT);
    EXPECT_EQ(start<std::int32_t>("DUNGEON_DRAW_WIDTH"),
              static_cast<std::int32_t>(chipWidth * DUNGEON_WIDTH));
    EXPECT_EQ(start<std::int32_t>("DUNGEON_DRAW_HEIGHT"),
              static_cast<std::int32_t>(chipHeight * DUNGEON_HEIGHT));
    EXPECT_EQ(
        start<std::uint32_t>("MINI_FONT_OFFSET_Y"),
        (start<std::uint32_t>("FONT_HEIGHT") - start<std::uint32_t>("MINI_FONT_HEIGHT")) >> 1);
    EXPECT_EQ(start<std::uint32_t>("DUNGEON_TEX_WIDTH"), 800u);
    EXPECT_EQ(start<std::uint32_t>("MINI_FONT_OFFSET_Y"), 3u);

    // The generator's settings start at the generator's own defaults.
    const CreateDungeonSettings generator;
    EXPECT_EQ(start<std::uint32_t>("CREATE_MIN_WITDH"), generator.minWidth);
    EXPECT_EQ(start<float>("CREATE_ROOM_PER"), generator.roomPer);
    EXPECT_EQ(start<std::uint32_t>("CREATE_FAIL_MAX"), generator.failMax);
}

// Start values other code relies on: the save format's version, the zero
// cycles and divisors readers must guard, the read-only paths.
TEST(SettingsTest, StartValuesThatCodeReliesOn) {
    EXPECT_EQ(start<std::string>("GAME_TITLE"), "Vornhaldeen");
    EXPECT_EQ(start<std::uint32_t>("FILE_VERSION"), 100u);
    EXPECT_EQ(start<std::uint32_t>("CURRENT_PLAYER_ID"), 0u);
    EXPECT_EQ(start<std::int32_t>("MONEY_MAX"), 999999);
    for (const char* zero : {"CURSOR_BLINK_ON", "CURSOR_BLINK_OFF", "SUB_ICON_BLINK_ON",
                             "ITEMLIST_BLINK_OFF", "ANIMALIST_BLINK_ON", "DIRECTION_BLINK_FRAME"}) {
        EXPECT_EQ(start<std::uint32_t>(zero), 0u) << zero;
    }
    EXPECT_EQ(start<std::int32_t>("STATUS_LEVEL_RATIO"), 0);
    EXPECT_EQ(start<Dice>("BASE_DAMAGE_DICE"), Dice(0, 1));
    EXPECT_EQ(start<const char*>("DATA_SCRIPT"), std::string("data/data09.dat"));
    EXPECT_EQ(start<std::int32_t>("DUNGEON_HEIGHT"), 30);
}

// Every setting the scripts may write is changed, then the reset puts the
// whole table back.
TEST(SettingsTest, ResetPutsBackEveryStartValue) {
    auto scribble = [](const auto& slot, std::size_t count) {
        using Slot = std::decay_t<decltype(slot)>;
        if constexpr (!Slot::kReadOnly) {
            for (std::size_t i = 0; i < count; ++i) {
                auto& v = slot.storage[i];
                using T = std::decay_t<decltype(v)>;
                if constexpr (std::is_same_v<T, bool>) {
                    v = !v;
                } else if constexpr (std::is_arithmetic_v<T>) {
                    v = static_cast<T>(v + 1);
                } else if constexpr (std::is_same_v<T, std::string>) {
                    v += "x";
                } else if constexpr (std::is_same_v<T, Color>) {
                    v.setArgb(v.argb() + 1);
                } else if constexpr (std::is_same_v<T, Point>) {
                    v.x += 1;
                } else {
                    v = Dice(v.count() + 1, v.sides());
                }
            }
        }
    };
    for (const Setting& row : settingTable()) {
        row.visit([&](const auto& slot) { scribble(slot, row.count()); });
        EXPECT_EQ(row.atStart(), row.readOnly()) << row.name();
    }
    EXPECT_EQ(GAME_TITLE, "Vornhaldeenx");
    resetSettings();
    for (const Setting& row : settingTable()) EXPECT_TRUE(row.atStart()) << row.name();
    EXPECT_EQ(GAME_TITLE, "Vornhaldeen");
    EXPECT_EQ(CHIP_WIDTH, 16u);
    EXPECT_EQ(STATUS_NAME[57], "");
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
    EXPECT_EQ(NETWORK_PORT_SEND, 50001);
    EXPECT_EQ(NETWORK_PORT_RECV, 50002);
    EXPECT_EQ(NETWORK_LINK_WAIT, 10u);
}

}  // namespace
