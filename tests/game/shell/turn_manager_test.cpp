// The turn loop: the animation gate, the player's turn start (a player who
// cannot act loses 12 act points and waits), the queue of monsters that
// act first and its cursor, and the states the scripts' answers lead to.
#include "game/shell/turn_manager.h"

#include <gtest/gtest.h>

#include <lua.hpp>
#include <string>

#include "engine/script/sys_lua.h"
#include "game/shell/game_hooks.h"
#include "game/world/command.h"
#include "game/world/deco_lua.h"
#include "game/world/item_factory.h"
#include "game/world/npc_factory.h"
#include "game/world/object_item.h"
#include "game/world/object_npc.h"
#include "game/world/object_player.h"
#include "game/world/player_input.h"
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
        ObjectFixture::TearDown();
        NpcFactory::instance().clear();
        lua().close();
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

TEST_F(TurnManagerTest, ClosingIsRefusedOnlyWhileATurnIsUnderWay) {
    qel::test::MessageBoxRecorder boxes;
    EXPECT_TRUE(game_hooks::canQuitQuery()) << "no game running";
    ASSERT_TRUE(qel::registerSingle(turns_));
    EXPECT_FALSE(game_hooks::canQuitQuery()) << "a turn starting";
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, game_hooks::kCannotQuitText);
    player_->setActPoint(10);
    run("function InputPlayer() return false end");
    turns_->update();
    ASSERT_EQ(turns_->getState(), TurnManager::PLAYER_INPUT);
    EXPECT_TRUE(game_hooks::canQuitQuery()) << "waiting for the player";
    EXPECT_EQ(boxes.boxes().size(), 1u) << "no box when closing is allowed";
    qel::Register<TurnManager>::instance().remove(0, 0);
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

// Scripts that change the floor from inside the turn's own calls: plain
// functions over the test's object manager.
ObjectManager* g_objects = nullptr;
ObjectItem* g_item = nullptr;
TurnManager* g_turns = nullptr;

int clearExceptKeepFromScript(lua_State*) {
    g_objects->clearExceptKeep();
    return 0;
}
int clearAllFromScript(lua_State*) {
    g_objects->clearAll();
    return 0;
}
// InputPlayer: fills the command (the one the turn manager's input holds)
// with the test's item.
int commandWithItemFromScript(lua_State* L) {
    g_turns->getPlayerInput()->command()->addItem(g_item);
    lua_pushboolean(L, 1);  // +1
    return 1;
}

class TurnManagerFloorChanges : public TurnManagerTest {
protected:
    void SetUp() override {
        TurnManagerTest::SetUp();
        g_objects = manager_;
        g_turns = turns_;
        lua_State* L = lua().state();
        lua_register(L, "ClearExceptKeep", &clearExceptKeepFromScript);
        lua_register(L, "ClearAll", &clearAllFromScript);
    }
    void TearDown() override {
        g_objects = nullptr;
        g_item = nullptr;
        g_turns = nullptr;
        TurnManagerTest::TearDown();
    }
};

TEST_F(TurnManagerFloorChanges, QueuedAndDeletedMonstersLeaveTheQueueByTheCursorRule) {
    player_->setActPoint(0);
    ObjectNpc* a = npc(40);
    ObjectNpc* b = npc(30);
    ObjectNpc* c = npc(20);
    ObjectNpc* d = npc(10);
    ASSERT_TRUE(turns_->selectActNpc());
    ASSERT_EQ(turns_->getWaitNpc(), a);
    turns_->incWaitNpc();
    turns_->incWaitNpc();
    ASSERT_EQ(turns_->getWaitNpc(), c);
    manager_->remove(c);  // queued at the cursor
    EXPECT_EQ(turns_->waitQueue(), (std::vector<ObjectNpc*>{a, b, d}));
    turns_->incWaitNpc();
    EXPECT_EQ(turns_->getWaitNpc(), d) << "the cursor still reaches the next one";
    manager_->remove(a);  // before the cursor
    manager_->exeRemove();
    EXPECT_EQ(turns_->waitQueue(), (std::vector<ObjectNpc*>{b, d}));
    EXPECT_EQ(turns_->getWaitNpc(), d);
    delete d;  // deleted outright, at the cursor: it goes back to b
    EXPECT_EQ(turns_->waitQueue(), (std::vector<ObjectNpc*>{b}));
    turns_->incWaitNpc();
    EXPECT_EQ(turns_->getWaitNpc(), nullptr);
}

TEST_F(TurnManagerFloorChanges, ClearingTheFloorInsideTheScriptTurnEmptiesTheQueue) {
    player_->setActPoint(0);
    player_->setKeep(true);
    npc(30);
    npc(20);
    ASSERT_TRUE(turns_->selectActNpc());
    run(R"(
        seen = {}
        function ProgressTurn(turns)
            seen[#seen + 1] = tostring(turns ~= nil)
            ClearExceptKeep()
            return true
        end
        function ProgressTurnChange() return false end
    )");
    // Straight to the script turn: a player without act points.
    turns_->update();  // turn start: input (the player can act)
    ASSERT_EQ(turns_->getState(), TurnManager::PLAYER_INPUT);
    run("function InputPlayer() return true end");
    turns_->update();  // ProgressTurn with the command clears the floor
    EXPECT_TRUE(turns_->waitQueue().empty());
    EXPECT_EQ(turns_->getWaitNpc(), nullptr);
    EXPECT_EQ(GameData::instance().getPlayer(), player_) << "the player is kept";
}

TEST_F(TurnManagerFloorChanges, ClearingEverythingInsideATurnStart) {
    player_->setActPoint(10);
    npc(5);
    npc(5);
    ObjectNpc* first = npc(5);  // the newest heads its list
    ASSERT_TRUE(first->addDecorator(new DecoLua));
    // The first monster's turn start clears the whole floor, the player
    // and the monsters after it included.
    run(R"(
        function CallDecoratorFunc(c, hook) if hook == 'beginTurn' then ClearAll() end end
        function ProgressTurn() return true end
        function ProgressTurnChange() return true end
    )");
    // Player input -> script turn -> turn change -> new turn.
    run("function InputPlayer() return true end");
    player_->setActPoint(0);
    for (int frame = 0; frame < 6 && turns_->getState() != TurnManager::NEW_TURN; ++frame)
        turns_->update();
    ASSERT_EQ(turns_->getState(), TurnManager::NEW_TURN);
    turns_->update();
    EXPECT_EQ(GameData::instance().getPlayer(), nullptr);
    EXPECT_TRUE(allList().empty());
    EXPECT_EQ(turns_->getState(), TurnManager::SCRIPT_TURN) << "no player: no act points";
    player_ = nullptr;
}

TEST_F(TurnManagerFloorChanges, ThePlayersCommandLetsGoOfDeletedObjects) {
    auto* base = new ItemBase();
    ASSERT_TRUE(ItemFactory::instance().add(base));
    g_item = ItemFactory::createRandom(*base);
    ASSERT_NE(g_item, nullptr);
    ASSERT_EQ(g_item->getManager(), manager_);
    player_->setActPoint(10);
    lua_register(lua().state(), "InputPlayer", &commandWithItemFromScript);
    run("function ProgressTurn() return true end");
    turns_->update();  // turn start
    turns_->update();  // the command, with the item, goes to ProgressTurn
    Command* command = turns_->getPlayerInput()->command();
    ASSERT_EQ(command->getItemNum(), 1);
    EXPECT_EQ(command->getActor(), player_);
    delete g_item;
    g_item = nullptr;
    EXPECT_EQ(command->getItemNum(), 1) << "the entry stays";
    EXPECT_EQ(command->getItem(0), nullptr) << "holding nothing";
    delete player_;
    player_ = nullptr;
    EXPECT_EQ(command->getActor(), nullptr);
    ItemFactory::instance().clear();
}

}  // namespace
