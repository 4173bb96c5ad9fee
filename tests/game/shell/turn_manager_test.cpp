// The turn loop: the animation gate, the player's turn start (a player who
// cannot act loses 12 act points and waits), the queue of monsters that
// act first and its cursor, and the states the scripts' answers lead to.
#include "game/shell/turn_manager.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/script/sys_lua.h"
#include "game/world/deco_lua.h"
#include "game/world/npc_factory.h"
#include "game/world/object_npc.h"
#include "game/world/object_player.h"
#include "game/world/world.h"
#include "tests/game/world/object_fixture.h"
#include "tests/support/message_box_recorder.h"

namespace {

class TurnManagerTest : public ObjectFixture {
protected:
    void SetUp() override {
        ObjectFixture::SetUp();
        ASSERT_TRUE(lua().init());
        auto* base = new NpcBase();
        base->id = 1;
        base->nameId = "kind";
        ASSERT_TRUE(NpcFactory::instance().add(base));
        player_ = new ObjectPlayer("p", Point(0, 0), Color::WHITE, Race(), lively());
        player_->setLife(10);
        turns_ = new TurnManager(manager_, nullptr);
    }
    void TearDown() override {
        delete turns_;
        run("InputPlayer = nil ProgressTurn = nil ProgressTurnChange = nil "
            "CallDecoratorFunc = nil SerializeDecorator = nil");
        ObjectFixture::TearDown();
        NpcFactory::instance().clear();
    }
    static qel::SysLua& lua() { return qel::SysLua::instance(); }
    static Status lively() {
        Status status;
        status.set(Status::LIFE, 20);
        return status;
    }
    static void run(const char* chunk) {
        ASSERT_TRUE(lua().runBuffer(chunk, 0, "t")) << lua().lastError();
    }
    ObjectNpc* npc(std::int32_t actPoints, std::int32_t life = 10) {
        auto* n = new ObjectNpc(NpcFactory::instance().getBaseId(1), ObjectBase::TYPE_ENEMY, 1,
                                Point(0, 0), Color::WHITE, Point(1, 1), Race(), lively());
        n->setActPoint(actPoints);
        n->setLife(life);
        return n;
    }

    ObjectPlayer* player_ = nullptr;
    TurnManager* turns_ = nullptr;
};

TEST_F(TurnManagerTest, TheQueueOrdersByActPointsThenIdAndKeepsItsCursor) {
    player_->setActPoint(20);
    ObjectNpc* a = npc(30);
    ObjectNpc* b = npc(30);
    ObjectNpc* c = npc(40);
    npc(20);     // as many as the player: not queued
    npc(50, 0);  // dead: not queued
    ASSERT_TRUE(turns_->selectActNpc());
    EXPECT_EQ(turns_->waitQueue(), (std::vector<ObjectNpc*>{c, a, b}));
    EXPECT_EQ(turns_->getWaitNpc(), c) << "the cursor starts at -1, read as 0";
    turns_->incWaitNpc();
    EXPECT_EQ(turns_->getWaitNpc(), a);
    turns_->removeWaitNpc(a);  // killed at the cursor
    turns_->incWaitNpc();
    EXPECT_EQ(turns_->getWaitNpc(), b) << "the next one is still reached";
    turns_->incWaitNpc();
    EXPECT_EQ(turns_->getWaitNpc(), nullptr);
    player_->setActPoint(100);
    EXPECT_FALSE(turns_->selectActNpc());
}

TEST_F(TurnManagerTest, APlayerWhoCannotActLosesActPointsAndWaits) {
    run("function CallDecoratorFunc(c, hook) if hook == 'preInput' then return false end end");
    ASSERT_TRUE(player_->addDecorator(new DecoLua));
    player_->setActPoint(5);
    turns_->update();
    EXPECT_EQ(player_->getActPoint(), -7);
    EXPECT_EQ(turns_->getState(), TurnManager::SCRIPT_TURN);
    EXPECT_TRUE(player_->haveAnim()) << "a wait step was queued";
    // While it animates nothing moves on.
    run("calls = 0 function ProgressTurn() calls = calls + 1 return true end");
    turns_->update();
    EXPECT_EQ(turns_->getState(), TurnManager::SCRIPT_TURN);
}

TEST_F(TurnManagerTest, ADeadPlayerIsSentToInput) {
    player_->setLife(0);
    turns_->update();
    EXPECT_EQ(turns_->getState(), TurnManager::PLAYER_INPUT);
}

TEST_F(TurnManagerTest, TheScriptsAnswersMoveTheStates) {
    qel::test::MessageBoxRecorder boxes;
    player_->setActPoint(10);
    run(R"(
        answer = false
        calls = 0
        function InputPlayer(command, player) return answer end
        function ProgressTurn(turns, command) calls = calls + 1 return true end
        function ProgressTurnChange(turns) return true end
    )");
    turns_->update();
    EXPECT_EQ(turns_->getState(), TurnManager::PLAYER_INPUT);
    turns_->update();
    EXPECT_EQ(turns_->getState(), TurnManager::PLAYER_INPUT) << "no command: still waiting";
    run("answer = true");
    turns_->update();
    EXPECT_EQ(turns_->getState(), TurnManager::PLAYER_INPUT) << "act points left: again";
    player_->setActPoint(0);
    turns_->update();
    EXPECT_EQ(turns_->getState(), TurnManager::TURN_CHANGE);
    const std::int32_t turn = GameData::instance().getWorld()->getTurn();
    turns_->update();
    EXPECT_EQ(turns_->getState(), TurnManager::NEW_TURN);
    turns_->update();
    EXPECT_EQ(GameData::instance().getWorld()->getTurn(), turn + 1);
    EXPECT_EQ(turns_->getState(), TurnManager::SCRIPT_TURN) << "no act points at a new turn";
    EXPECT_TRUE(boxes.boxes().empty());

    // A failing script turn and a missing turn change each show the box
    // once and count as done.
    run("function ProgressTurn() error('broken') end ProgressTurnChange = nil");
    turns_->update();
    EXPECT_EQ(turns_->getState(), TurnManager::TURN_CHANGE);
    turns_->update();
    EXPECT_EQ(turns_->getState(), TurnManager::NEW_TURN);
    ASSERT_EQ(boxes.boxes().size(), 2u);
    EXPECT_EQ(boxes.boxes()[0].text, TurnManager::kScriptErrorText);
}

}  // namespace
