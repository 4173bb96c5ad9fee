// The game scene's play clock and what it withdraws from the game root.
#include "game/shell/scene_game.h"

#include <gtest/gtest.h>

#include "engine/core/memory_allocator.h"
#include "game/world/game_data.h"

namespace {

// The scene here is outside the task tree, so none of its tasks can be
// added: each is deleted at once rather than left over.
TEST(SceneGame, RunsThePlayClockExactlyWhileItLivesAndWithdrawsItsTasks) {
    GameData& game = GameData::instance();
    GlobalRecord& record = *game.getGlobalRecord();
    record.init();
    auto used = [](qel::Pool pool) { return qel::poolById(pool)->stats().usedBlocks; };
    const auto tasksBefore = used(qel::Pool::Tasks);
    const auto generalBefore = used(qel::Pool::General);
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
    EXPECT_EQ(used(qel::Pool::Tasks), tasksBefore);
    EXPECT_EQ(used(qel::Pool::General), generalBefore);
}

}  // namespace
