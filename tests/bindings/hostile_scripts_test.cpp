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
#include "game/data/skill.h"
#include "game/data/skill_list.h"
#include "game/shell/turn_manager.h"
#include "game/shell/ui/task_cursor.h"
#include "game/world/deco_lua.h"
#include "game/world/game_data.h"
#include "game/world/item_factory.h"
#include "game/world/npc_base.h"
#include "game/world/npc_factory.h"
#include "game/world/object_npc.h"
#include "game/world/object_player.h"
#include "tests/bindings/booted_content.h"
#include "tests/bindings/lua_runner.h"
#include "tests/game/world/item_fixture.h"

namespace {

class HostileScripts : public ItemFixture {
protected:
    void SetUp() override {
        ItemFixture::SetUp();
        ASSERT_TRUE(loadItems(itemRow(1, {{C_TYPE, "1"}, {C_DICE, "2d4"}, {C_SKILL, "Sword"}}) +
                              itemRow(2)))
            << message_.data();
        SkillList::instance().clear();
        ASSERT_TRUE(SkillList::instance().add(new Skill("Sword", "SwordDeco", 0)));
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
        SkillList::instance().clear();
        NpcFactory::instance().clear();
    }
    static qel::SysLua& lua() { return qel::SysLua::instance(); }
    static lua_State* L() { return lua().state(); }
    static std::string run(const char* chunk) { return lua_runner::run(L(), chunk); }
    // Installs global hook functions, torn down after the test.
    static void hooks(const char* chunk) {
        run(kHookNames);
        ASSERT_TRUE(lua().runBuffer(chunk, 0, "hooks")) << lua().lastError();
    }
    // A map object the program made, in the game's manager, as a global.
    template <class T>
    T* made(const char* global) {
        T* object = new T();
        manager_->add(object);
        tolua_pushusertype(L(), object, object->getClassName());  // +1
        lua_setglobal(L(), global);                               // -1
        return object;
    }
    // A weapon of the factory that brings the Sword skill, as `kept`.
    ObjectItem* keptItem() {
        ObjectItem* item = ItemFactory::instance().createId(1);
        tolua_pushusertype(L(), item, "ObjectItem");  // +1
        lua_setglobal(L(), "kept");                   // -1
        return item;
    }
    static constexpr const char* kHookNames =
        "hooks = {'InputPlayer', 'ProgressTurn', 'GetDamageDice', 'CallDecoratorFunc', "
        "'RemoveAllDecorator', 'AddDecorator', 'SetNpcExp', 'GetItemName', "
        "'SerializeDecorator', 'IsFrozenWalk'}";
};

TEST_F(HostileScripts, TheTurnManagerAndItsCommandAreForgottenWhenTheyGo) {
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

TEST_F(HostileScripts, FieldsAndReferencesGoWithTheObjectTheyWereAskedOf) {
    // A record's field of class type and a reference a task hands out are
    // views into them: a script that keeps one past its owner's deletion
    // gets the deleted-object error, reading or writing.
    auto* cursor = new TaskCursor();
    tolua_pushusertype(L(), cursor, "TaskCursor");  // +1
    lua_setglobal(L(), "cursor");                   // -1
    ASSERT_EQ(run("kept = {pos = cursor:getPos()} cursor = nil return tolua.type(kept.pos)"),
              "const Point");
    delete cursor;  // as the game scene's end deletes it
    const lua_runner::LuaCase cases[] = {
        {"a field of a record the script deleted",
         "local t = C.AITarget:new() local p = t._memoryDir t:delete() "
         "return pcall(function() p.x = 10 end)",
         "false, snippet:1: attempt to use a deleted object"},
        {"another field, read",
         "local t = C.AITarget:new() local p = t._point t:delete() "
         "return pcall(function() return p.y end)",
         "false, snippet:1: attempt to use a deleted object"},
        {"the position of a cursor the program deleted",
         "return pcall(function() return kept.pos.x end)",
         "false, snippet:1: attempt to use a deleted object"},
        {"a field read while its owner lives is the owner's",
         "local t = C.AITarget:new() t._point.x = 7 local y = t._point.x t:delete() return y", "7"},
    };
    for (const auto& c : cases) EXPECT_EQ(run(c.chunk), c.expected) << "case: " << c.name;
}

TEST_F(HostileScripts, AScriptsCommandLetsGoOfItsDeletedActorAndItems) {
    made<ObjectNpc>("npc");
    EXPECT_EQ(run("local item = F:createId(2) kept = C.Command(C.Command.HIT, npc) "
                  "kept:addItem(item) npc:kill() item:kill() M:exeRemove() npc = nil "
                  "return kept:getActor(), kept:getItem(0), kept:getItemNum()"),
              "nil, nil, 1");
}

TEST_F(HostileScripts, InputPlayerThatDeletesThePlayerLeavesTheCommandWithoutActor) {
    GameData::instance().setPlayer(made<ObjectPlayer>("player"));
    hooks(R"(
        function InputPlayer(command, player) M:clearAll() return true end
        function ProgressTurn(turns, command)
            kept = {actor = tostring(command:getActor())}
            return true
        end
    )");
    TurnManager turns(manager_, nullptr);
    for (int frame = 0; frame < 4 && run("return kept ~= nil") != "true"; ++frame) turns.update();
    EXPECT_EQ(run("return kept.actor, player and tolua.type(player)"), "nil, deleted object");
    EXPECT_EQ(GameData::instance().getPlayer(), nullptr);
}

TEST_F(HostileScripts, DamageDiceKeptFromTheirHooksGoWhenTheOutermostHookReturns) {
    hooks(R"(
        function GetDamageDice(chara, dice, tag) kept.plain = dice dice:add(1, 4) end
        function CallDecoratorFunc(chara, hook, dice, tag)
            if hook ~= 'getDamageDice' then return end
            kept.decorator = dice
            dice:add(1, 8)
            deco:getInner():getDamageDice(dice, tag)  -- the chain's end, with the same dice
            kept.after = dice:getMax()  -- still the script's while its own hook runs
        end
    )");
    EXPECT_EQ(run("kept = {} local c = C.ObjectChara:new_local() deco = C.CreateDecoLua() "
                  "c:addDecorator(deco) local dice = c:getDamageDice('hit') "
                  "return dice:getMax(), kept.after, tolua.type(kept.plain), "
                  "tolua.type(kept.decorator), pcall(function() kept.plain:add(1, 2) end)"),
              "24, 24, deleted object, deleted object, false, snippet:1: attempt to use a deleted "
              "object");
}

TEST_F(HostileScripts, TheManagersListsTakeNoScriptNodeAndKeepTheirOwn) {
    made<ObjectChara>("mover");
    made<ObjectBase>("other");
    const lua_runner::LuaCase cases[] = {
        {"a script's node into a cell's list",
         "local n = C.LinkList_ObjectBase_(other) M:getLinkPosRoot(3, 3):insert(n)",
         "error: a node a script made cannot join a list of the program"},
        {"after an object's own node", "other:getLinkAll():insert(C.LinkList_ObjectBase_(other))",
         "error: a node a script made cannot join a list of the program"},
        {"an object's own node moved", "M:getLinkPosRoot(3, 3):insert(other:getLinkPos())",
         "error: an object's own list node cannot be moved"},
        {"an object's own node taken out", "other:getLinkType():remove()",
         "error: an object's own list node cannot be removed"},
        {"a head moved", "C.LinkList_ObjectBase_(other):insert(M:getLinkAllRoot())",
         "error: a list head cannot be moved"},
        {"a script's own nodes link among themselves",
         "local a, b = C.LinkList_ObjectBase_(other), C.LinkList_ObjectBase_(mover) "
         "a:insert(b) return a:next():getObj() == mover, b:prev():getObj() == other",
         "true, true"},
    };
    for (const auto& c : cases) EXPECT_EQ(run(c.chunk), c.expected) << "case: " << c.name;
    // The lists walked after the other object goes meet only the program's
    // nodes: the move check, a search and the object section.
    EXPECT_EQ(
        run("C_GetDungeon():setTile(3, 3, C.Tile('floor', 1, 0, C.Color.WHITE, 25)) "
            "other:setPos(3, 3) other:kill() M:exeRemove() other = nil "
            "local n, node = 0, M:getLinkAll() while node do n = n + 1 node = node:next() end "
            "return C_CheckMove(mover, 3, 3), n"),
        "true, 1");
    EXPECT_TRUE(write(109, false));
}

TEST_F(HostileScripts, ATeardownHookSeesTheWholeCharacterAndCannotTieAnythingToIt) {
    hooks(R"(
        function RemoveAllDecorator(chara)
            seen = chara:getName() .. ' ' .. chara:getLevel() .. ' ' .. tostring(chara:getStatus(0))
            equipped = chara:equip(kept) or chara:equip(kept, 0)
            chara:addItem(kept)
            carried = chara:getItemNum()
            local deco = C.CreateDecoLua()
            chara:addDecorator(deco)
            refused = pcall(function() deco:delete() end)  -- still the script's to delete
        end
    )");
    ObjectPlayer* player = made<ObjectPlayer>("player");
    player->setName("hero");
    player->addDecorator(new DecoLua());
    ObjectItem* item = keptItem();
    EXPECT_EQ(
        run("player:kill() M:exeRemove() player = nil return seen, equipped, carried, refused"),
        "hero 1 0, false, 0, true");
    EXPECT_EQ(item->getEquipChara(), nullptr);
}

TEST_F(HostileScripts, SkillHooksThatDeleteTheCharacterLeaveTheEquippingWhole) {
    hooks(R"(
        function AddDecorator(chara, class, name) calls = calls + 1 chara:kill() M:exeRemove() end
    )");
    made<ObjectChara>("chara");
    ObjectItem* item = keptItem();
    EXPECT_EQ(run("calls = 0 chara:addItem(kept) local ok = chara:equip(kept) "
                  "return calls, ok, tolua.type(chara)"),
              "1, true, deleted object");
    EXPECT_EQ(item->getEquipChara(), nullptr) << "its character's teardown took it off";
}

TEST_F(HostileScripts, SetNpcExpThatDeletesTheNewMonsterGivesNoMonster) {
    auto* kind = new NpcBase();
    kind->id = 5;
    kind->nameId = "doomed";
    ASSERT_TRUE(NpcFactory::instance().add(kind));
    hooks(R"(function SetNpcExp(npc) kept = npc npc:kill() M:exeRemove() end)");
    EXPECT_EQ(run("return C_CreateNpc(5), tolua.type(kept), M:getLinkType(2)"),
              "nil, deleted object, nil");
}

TEST_F(HostileScripts, GetItemNameThatDeletesTheItemStillNamesIt) {
    hooks(R"(function GetItemName(item) item:kill() M:exeRemove() return 'gone soon' end)");
    EXPECT_EQ(run("local item = F:createId(2) kept = item return item:getName(), tolua.type(kept)"),
              "gone soon, deleted object");
}

TEST_F(HostileScripts, SerializeDecoratorThatDeletesWaitsForTheSaveWriter) {
    hooks(R"(
        function SerializeDecorator(chara, deco, serializer)
            chara:removeDecorator(deco)
            chara:kill()
            M:exeRemove()
            M:clearAll()
            return true
        end
    )");
    for (int i = 0; i < 3; ++i) {
        auto* chara = new ObjectChara();
        manager_->add(chara);
        chara->addDecorator(new DecoLua());
    }
    EXPECT_TRUE(write(109, false));
    EXPECT_EQ(manager_->ownedCount(), 0u) << "deleted once the writer was done";
}

TEST_F(HostileScripts, IsFrozenWalkThatDeletesTheMoverEndsTheCheck) {
    hooks(R"(function IsFrozenWalk(chara) chara:kill() M:exeRemove() return true end)");
    made<ObjectChara>("mover");
    EXPECT_EQ(
        run("local d = C_GetDungeon() d:setTile(4, 4, C.Tile('floor', 1, 0, C.Color.WHITE, 25)) "
            "d:getTile(4, 4):setWater(true) F:createId(2):put(C.Point(4, 4)) "
            "return C_CheckMove(mover, 4, 4), tolua.type(mover)"),
        "false, deleted object");
}

// The opening's new adventurer, whose race and class bring skills: a skill
// hook that deletes it leaves nobody made.
class HostileContent : public BootedContent {
protected:
    void TearDown() override { run("AddDecorator = nil"); }
};

TEST_F(HostileContent, SkillHooksThatDeleteTheNewAdventurerMakeNobody) {
    EXPECT_EQ(run("calls = 0 "
                  "function AddDecorator(chara) calls = calls + 1 chara:kill() "
                  "C_GetObjectManager():exeRemove() end "
                  "local opening = C.OpeningParam() opening:loadRaceFile() opening:loadClassFile() "
                  "local player = opening:createPlayer('walker', 1, 0, 0) "
                  "return player, calls > 0, C_GetPlayer()"),
              "nil, true, nil");
}

}  // namespace
