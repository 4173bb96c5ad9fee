// The game scene's play clock and what it withdraws from the game root.
#include "game/shell/scene_game.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/core/memory_allocator.h"
#include "engine/task/sys_task.h"
#include "game/world/game_data.h"
#include "tests/game/shell/ui/shell_fixture.h"

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

class SceneGameTasks : public shell_test::ShellFixture {};

TEST_F(SceneGameTasks, TheTurnManagerActsBeforeTheMapViewEachFrame) {
    auto* scene = new SceneGame();
    ASSERT_TRUE(tasks().add(scene));
    frame();
    std::string order;
    for (qel::TaskBase* child : scene->getChildren()) {
        order += child->classInfo().name;
        order += ' ';
    }
    // A move of this frame's turn is on the map the same frame.
    EXPECT_EQ(order.rfind("TurnManager TaskField TaskMessageLog ", 0), 0u) << order;
}

}  // namespace
