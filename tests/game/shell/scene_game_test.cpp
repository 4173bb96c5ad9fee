// The game scene's play clock and what it withdraws from the game root.
#include "game/shell/scene_game.h"

#include <gtest/gtest.h>

#include "game/world/game_data.h"

namespace {

TEST(SceneGame, RunsThePlayClockExactlyWhileItLivesAndWithdrawsItsTasks) {
    GameData& game = GameData::instance();
    GlobalRecord& record = *game.getGlobalRecord();
    record.init();
    SceneGame scene;
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(scene.init());
        EXPECT_TRUE(record.isClockRunning()) << round;
        game.setField(reinterpret_cast<TaskField*>(&scene));
        scene.release();
        EXPECT_FALSE(record.isClockRunning()) << round;
        EXPECT_EQ(game.getField(), nullptr);
        EXPECT_EQ(game.getMessageLog(), nullptr);
        EXPECT_EQ(game.getItemList(), nullptr);
        EXPECT_EQ(game.getAnimaList(), nullptr);
    }
}

}  // namespace
