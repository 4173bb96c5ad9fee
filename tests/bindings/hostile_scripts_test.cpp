// Scripts written the way a careless content author writes them: they keep
// whatever the program hands them and delete what they are handed from
// inside the hooks. Each case ends in a clean Lua error, nil, or a deletion
// that waits for the program, never in freed memory (the sanitizer build
// reports any touch of it).
#include <gtest/gtest.h>
#include <tolua++.h>

#include <string>

#include "bindings/script_bindings.h"
#include "engine/script/sys_lua.h"
#include "game/shell/turn_manager.h"
#include "game/world/game_data.h"
#include "game/world/item_factory.h"
#include "game/world/object_npc.h"
#include "tests/bindings/lua_runner.h"
#include "tests/game/world/item_fixture.h"

namespace {

class HostileScripts : public ItemFixture {
protected:
    void SetUp() override {
        ItemFixture::SetUp();
        ASSERT_TRUE(loadItems(itemRow(1, {{C_TYPE, "1"}, {C_DICE, "2d4"}}) + itemRow(2)))
            << message_.data();
        ASSERT_TRUE(lua().init());
        std::string error;
        ASSERT_EQ(openScriptBindings(L(), &error), 1) << error;
        ASSERT_TRUE(lua().runBuffer(lua_runner::kRunner, 0, "runner")) << lua().lastError();
        ASSERT_EQ(run("M = C_GetObjectManager() F = C_GetItemFactory() return 1"), "1");
    }
    void TearDown() override {
        run("for _, name in ipairs(hooks or {}) do _G[name] = nil end kept = nil "
            "collectgarbage() collectgarbage()");
        GameData::instance().setPlayer(nullptr);
        ItemFixture::TearDown();
    }
    static qel::SysLua& lua() { return qel::SysLua::instance(); }
    static lua_State* L() { return lua().state(); }
    static std::string run(const char* chunk) { return lua_runner::run(L(), chunk); }
    // Installs global hook functions, torn down after the test.
    static void hooks(const char* chunk) {
        ASSERT_TRUE(lua().runBuffer(chunk, 0, "hooks")) << lua().lastError();
    }
};

// The names of the globals the hooks below install, cleared after each test.
constexpr const char* kHookNames =
    "hooks = {'InputPlayer', 'ProgressTurn', 'ProgressTurnChange', 'GetDamageDice', "
    "'CallDecoratorFunc', 'RemoveAllDecorator', 'AddDecorator', 'RemoveDecorator', "
    "'SetNpcExp', 'GetItemName', 'SerializeDecorator', 'IsFrozenWalk', 'GetNpcName'}";

TEST_F(HostileScripts, TheTurnManagerAndItsCommandAreForgottenWhenTheyGo) {
    run(kHookNames);
    hooks(R"(
        function InputPlayer(command, player) kept = {command = command} return true end
        function ProgressTurn(turns, command) kept.turns = turns return true end
    )");
    auto* turns = new TurnManager(manager_, nullptr);
    for (int frame = 0; frame < 4 && run("return kept and kept.turns ~= nil") != "true"; ++frame)
        turns->update();
    ASSERT_EQ(run("return tolua.type(kept.turns), tolua.type(kept.command)"),
              "TurnManager, Command");
    delete turns;  // as the game scene's end deletes it
    EXPECT_EQ(run("return pcall(function() return kept.turns:getState() end)"),
              "false, snippet:1: attempt to use a deleted object");
    EXPECT_EQ(run("return pcall(function() kept.command:setType(3) end)"),
              "false, snippet:1: attempt to use a deleted object");
}

TEST_F(HostileScripts, ViewsIntoObjectsGoWithThemAndOtherReferencesAreCopies) {
    // A monster's memory point and a player's equipment flags are views into
    // them, a kind's damage dice handed out by its item a view into the kind;
    // the base dice a character computes reach the script as its own copy.
    auto* npc = new ObjectNpc();
    manager_->add(npc);
    tolua_pushusertype(L(), npc, "ObjectNpc");  // +1
    lua_setglobal(L(), "npc");                  // -1
    EXPECT_EQ(run("local player = C.ObjectPlayer:new() M:add(player) "
                  "local point, flags = npc:getMemoryPoint(), player:getEquipFlag() "
                  "npc:kill() player:kill() M:exeRemove() npc = nil "
                  "return select(2, pcall(function() return point.x end)), "
                  "select(2, pcall(function() return flags._val end))"),
              "snippet:1: attempt to use a deleted object, snippet:1: attempt to use a deleted "
              "object");
    ASSERT_EQ(run("local item = F:createId(1) kept = {dice = item:getDamageDice(), "
                  "base = C.ObjectChara():getBaseDamageDice()} item:kill() M:exeRemove() "
                  "return tolua.type(kept.dice), kept.dice:getNum()"),
              "const Dice, 2");
    ItemFactory::instance().clear();  // the kinds go, and the views of them
    EXPECT_EQ(run("return tolua.type(kept.dice), tolua.type(kept.base)"),
              "deleted object, const Dice")
        << "a kind's dice go with the kind; a character's base dice are the script's copy";
}

}  // namespace
