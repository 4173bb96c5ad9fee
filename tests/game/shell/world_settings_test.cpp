#include "game/shell/world_settings.h"

#include <gtest/gtest.h>

#include <tuple>

#include "game/shell/settings.h"
#include "game/world/chara_settings.h"
#include "game/world/create_dungeon.h"
#include "game/world/status_settings.h"

namespace {

// The generator reads the script settings when it runs, not when the source
// was installed: a script's later assignment takes effect.
TEST(WorldSettings, GeneratorReadsTheSettingsAtTheMomentOfUse) {
    const auto saved = std::make_tuple(CREATE_MIN_WITDH, CREATE_MIN_HEIGHT, CREATE_ROOM_PER,
                                       CREATE_MIN_ROOM, CREATE_MIN_SPACE, CREATE_FAIL_MAX);
    installWorldSettingsSources();
    CreateDungeon generator;
    EXPECT_EQ(generator.settings().minWidth, CREATE_MIN_WITDH);

    CREATE_MIN_WITDH = 7;
    CREATE_MIN_HEIGHT = 2;
    CREATE_ROOM_PER = 0.25f;
    CREATE_MIN_ROOM = 9;
    CREATE_MIN_SPACE = 11;
    CREATE_FAIL_MAX = 13;
    const CreateDungeonSettings s = generator.settings();
    EXPECT_EQ(s.minWidth, 7u);
    EXPECT_EQ(s.minHeight, 2u);
    EXPECT_EQ(s.roomPer, 0.25f);
    EXPECT_EQ(s.minRoom, 9u);
    EXPECT_EQ(s.minSpace, 11u);
    EXPECT_EQ(s.failMax, 13u);

    std::tie(CREATE_MIN_WITDH, CREATE_MIN_HEIGHT, CREATE_ROOM_PER, CREATE_MIN_ROOM,
             CREATE_MIN_SPACE, CREATE_FAIL_MAX) = saved;
    CreateDungeon::setSettingsSource(nullptr);
}

TEST(WorldSettings, CharactersReadTheMoneyCapWhenTheyUseIt) {
    const std::int32_t saved = MONEY_MAX;
    installWorldSettingsSources();
    MONEY_MAX = 77;
    EXPECT_EQ(CharaSettings::current().moneyMax, 77);
    MONEY_MAX = saved;
    CharaSettings::setSource(nullptr);
}

TEST(WorldSettings, StatusFormulasReadTheLevelDivisorAndNamesWhenTheyUseThem) {
    const std::int32_t saved = STATUS_LEVEL_RATIO;
    installWorldSettingsSources();
    STATUS_LEVEL_RATIO = -4;
    ST_NAME_THROUGH = "through";
    const StatusSettings s = StatusSettings::current();
    EXPECT_EQ(s.levelRatio, -4);
    ASSERT_NE(s.nameThrough, nullptr);
    EXPECT_EQ(*s.nameThrough, "through");
    STATUS_LEVEL_RATIO = saved;
    ST_NAME_THROUGH.clear();
    StatusSettings::setSource(nullptr);
}

}  // namespace
