// What items are linked to, as scripts see it: the monster kinds of corpses
// and mimics, the character that equips an item and the monster bound to
// it, the kinds' read, zap and use targets; monsters made from a definition
// and from a distribution without a cell; and the skill levels a
// character's other skills give. Each link is shown with nil, and each held
// value after the program deletes what it stands for.
#include <gtest/gtest.h>

#include <string>

#include "bindings/script_bindings.h"
#include "engine/script/sys_lua.h"
#include "game/data/skill_list.h"
#include "game/world/npc_factory.h"
#include "tests/bindings/lua_runner.h"
#include "tests/game/data/skill_row.h"
#include "tests/game/world/item_fixture.h"
#include "tests/game/world/npc_row.h"

namespace {

using lua_runner::LuaCase;

class ItemLinks : public ItemFixture {
protected:
    void SetUp() override {
        ItemFixture::SetUp();
        ASSERT_TRUE(lua().init());
        std::string error;
        ASSERT_EQ(openScriptBindings(L(), &error), 1) << error;
        ASSERT_TRUE(lua().runBuffer(lua_runner::kRunner, 0, "runner")) << lua().lastError();
        ASSERT_TRUE(loadItems(
            itemRow(1, {{C_TYPE, "1"}}) + itemRow(2, {{C_TYPE, "18"}, {C_MIN_LEVEL, "4"}}) +
            itemRow(3, {{C_TYPE, "14"}, {C_READ, "0x3"}, {C_ZAP, "0x11"}, {C_USE, "0xFFFFFFFF"}})))
            << message_.data();
        ASSERT_TRUE(loadMonsters()) << message_.data();
        distribution_ = scratch_.file("dist.dat");
        // One normal (the slime) and one wandering monster (the bat) on key 1.
        writeScrambledTable(distribution_, "1,1,notes\n1,12,1,3,1,\n");
        ASSERT_EQ(run("F = C_GetItemFactory() N = C_GetNpcFactory() DIST = '" + distribution_ +
                      "' function raises(f) local ok, err = pcall(f) "
                      "return not ok and string.find(err, 'deleted object', 1, true) ~= nil end "
                      "function exeRemove() C_GetObjectManager():exeRemove() end "
                      "return 'ok'"),
                  "ok");
    }
    void TearDown() override {
        run("collectgarbage() collectgarbage()");
        ItemFixture::TearDown();
        NpcFactory::instance().clear();
        SkillList::instance().clear();
    }
    // The slime (id 12, eaten it poisons, it may hold weapons in both hands)
    // and the bat (id 3); both leave corpses of size 6.
    bool loadMonsters() {
        NpcRow slime;
        slime.id = "12";
        slime.eatEffects = {"Poison|100"};
        slime.aiBits = "1,1,1,1,0,0,0,0,0,0,0,0,0,0,0,0,0,0,1";
        NpcRow bat;
        bat.id = "3";
        bat.nameId = "bat";
        const std::string path = scratch_.file("npcs.dat");
        writeScrambledTable(path, npcTable({slime, bat}));
        return NpcFactory::instance().loadFile(message_, path);
    }
    static qel::SysLua& lua() { return qel::SysLua::instance(); }
    static lua_State* L() { return lua().state(); }
    static std::string run(const std::string& chunk) { return lua_runner::run(L(), chunk.c_str()); }
    template <std::size_t N>
    static void runAll(const LuaCase (&cases)[N]) {
        for (const LuaCase& c : cases) EXPECT_EQ(run(c.chunk), c.expected) << "case: " << c.name;
    }

    std::string distribution_;
};

TEST_F(ItemLinks, CorpsesAndMimicsHoldMonsterKinds) {
    const LuaCase cases[] = {
        {"a corpse's kind, food size and eat effect; nil is no kind",
         "local k, c = N:getBaseId(12), F:createId(2) "
         "local none, size, effect = c:getCorpse(), c:getFoodSize(), c:getEatEffect() "
         "c:setCorpse(k, 30, 2) "
         "local same, size2, effect2 = c:getCorpse() == k, c:getFoodSize(), c:getEatEffect() "
         "local rotting, level = c:getRotting(), c:getLevel() "
         "c:setCorpse(nil, -5, 1) "
         "return none, size, effect, same, size2, effect2, rotting, level, c:getCorpse(), "
         "c:getFoodSize(), c:getEatEffect(), c:getRotting(), c:getLevel()",
         "nil, 4, nil, true, 6, Poison, 30, 2, nil, 4, nil, -5, 1"},
        {"a kind that gives no effect; food size outside corpses is the minimum level",
         "local c, it = F:createId(2), F:createId(1) c:setCorpse(N:getBaseId(3), 0, 0) "
         "it:setCorpse(N:getBaseId(12), 0, 0) "
         "return c:getEatEffect(), c:getFoodSize(), it:getFoodSize(), C.ObjectItem():getFoodSize()",
         "nil, 6, 0, 0"},
        {"a mimic's kind sets and clears its state bit",
         "local k, it = N:getBaseId(3), F:createId(1) it:setMimic(k) "
         "local on, same = it:isMimic(), it:getMimic() == k "
         "it:setMimic(nil) return on, same, it:isMimic(), it:getMimic()",
         "true, true, false, nil"},
        {"a kind read as const answers as any",
         "collectgarbage() local b = N:create(3, C.Point(1, 1)):getBase() "
         "return tolua.type(b), b:id(), b:nameId(), b:aiFlag()._walk",
         "const NpcBase, 3, bat, true"},
    };
    runAll(cases);
    // The factory deletes its definitions: a held kind raises, the items read
    // none, and a definition loaded again under the id is found again.
    ASSERT_EQ(run("K = N:getBaseId(12) CORPSE = F:createId(2) CORPSE:setCorpse(K, 1, 1) "
                  "MIMIC = F:createId(1) MIMIC:setMimic(K) return 'ok'"),
              "ok");
    NpcFactory::instance().clear();
    EXPECT_EQ(run("return raises(function() return K:id() end), CORPSE:getCorpse(), "
                  "CORPSE:getFoodSize(), CORPSE:getEatEffect(), MIMIC:getMimic(), MIMIC:isMimic()"),
              "true, nil, 4, nil, nil, true");
    ASSERT_TRUE(loadMonsters()) << message_.data();
    EXPECT_EQ(run("return CORPSE:getCorpse() == N:getBaseId(12), MIMIC:getMimic():id()"),
              "true, 12");
}

TEST_F(ItemLinks, HoldersAreTheCharactersAndGoWithThem) {
    const LuaCase cases[] = {
        {"the equipper, and a one-handed weapon in the left hand",
         "local c = C.ObjectChara:new_local() local right, left, loose = F:createId(1), "
         "F:createId(1), F:createId(1) c:addItem(right) c:addItem(left, false) "
         "c:equip(right, 0) c:equip(left, 1) "
         "return left:isSubWeapon(), right:isSubWeapon(), loose:isSubWeapon(), "
         "C.ObjectItem():isSubWeapon(), left:getEquipChara() == c, "
         "tolua.type(right:getEquipChara()), loose:getEquipChara()",
         "true, false, false, false, true, ObjectChara, nil"},
        {"binding moves an item from monster to monster; nil unbinds",
         "local a, b, it = N:create(12, C.Point(1, 1)), N:create(3, C.Point(2, 2)), F:createId(1) "
         "it:setBindChara(a) local first = it:getBindChara() == a and a:getLeash() == it "
         "it:setBindChara(b) "
         "local moved = it:getBindChara() == b and b:getLeash() == it and a:getLeash() == nil "
         "it:setBindChara(nil) "
         "return first, moved, it:getBindChara(), b:getLeash(), tolua.type(a), "
         "C.ObjectItem():getBindChara()",
         "true, true, nil, nil, ObjectNpc, nil"},
        {"a monster taking the leash takes it from the one that held it",
         "local a, b, it = N:create(12, C.Point(1, 1)), N:create(3, C.Point(2, 2)), F:createId(1) "
         "it:setBindChara(a) b:setLeash(it) local left = a:getLeash() "
         "it:kill() exeRemove() return left, b:getLeash(), a:getLeash()",
         "nil, nil, nil"},
    };
    runAll(cases);
    // The program deletes the monster that equips one item and binds another.
    ASSERT_EQ(run("NPC = N:create(12, C.Point(3, 3)) WORN, BOUND = F:createId(1), F:createId(1) "
                  "NPC:addItem(WORN) assert(NPC:equip(WORN, 1)) BOUND:setBindChara(NPC) "
                  "WEARER, BINDER = WORN:getEquipChara(), BOUND:getBindChara() "
                  "return WEARER == NPC, BINDER == NPC, WORN:isSubWeapon()"),
              "true, true, true");
    EXPECT_EQ(run("NPC:kill() exeRemove() "
                  "return raises(function() return WEARER:getLevel() end), "
                  "raises(function() return BINDER:getLevel() end), WORN:getEquipChara(), "
                  "BOUND:getBindChara(), WORN:isSubWeapon()"),
              "true, true, nil, nil, false");
}

TEST_F(ItemLinks, ReadZapAndUseTargetsOfItemsAndKinds) {
    const LuaCase cases[] = {
        {"an item shows its kind's targets",
         "local s, kind = F:createId(3), F:getBaseId(3) "
         "local r, z, u = s:getReadTarget(), s:getZapTarget(), s:getUseTarget() "
         "return r._val, r._dir, r._item1, z._val, z._lock, u._val, s:canUse(), kind:read() == r, "
         "kind:zap()._val, kind:use()._val, tolua.type(kind:read())",
         "3, true, false, 17, true, 4294967295, false, true, 17, 4294967295, const TARGET_FLAG"},
        {"an item without a kind can be used no way",
         "local it = C.ObjectItem() return it:getReadTarget()._val, it:getZapTarget()._val, "
         "it:getUseTarget()._val, it:canRead()",
         "4294967295, 4294967295, 4294967295, false"},
        {"the targets are the kind's and cannot be written",
         "local ok = pcall(function() F:createId(3):getReadTarget()._val = 0 end) "
         "local ok2 = pcall(function() F:getBaseId(3):zap()._dir = false end) "
         "return ok, ok2, F:getBaseId(3):read()._val, F:getBaseId(3):zap()._val",
         "false, false, 3, 17"},
    };
    runAll(cases);
    // The factory deletes its kinds (its items first): what a script held of
    // them raises.
    ASSERT_EQ(run("KIND = F:getBaseId(3) READ = F:createId(3):getReadTarget() USE = KIND:use() "
                  "return 'ok'"),
              "ok");
    manager_->clearAll();
    ItemFactory::instance().clear();
    EXPECT_EQ(
        run("return raises(function() return READ._val end), "
            "raises(function() return USE._dir end), raises(function() return KIND:read() end)"),
        "true, true, true");
}

TEST_F(ItemLinks, MonstersFromADefinitionAndFromADistributionWithoutACell) {
    const LuaCase cases[] = {
        {"a definition makes its monster at a cell",
         "local npc = N:getBaseId(12):create(C.Point(2, 3)) "
         "return tolua.type(npc), npc:getBase():id(), npc:getPos()._x, npc:getPos()._y",
         "ObjectNpc, 12, 2, 3"},
        {"the cell is required",
         "local q = C.Point:new(1, 1) q:delete() "
         "local a = pcall(function() return N:getBaseId(12):create(nil) end) "
         "local b = pcall(function() return N:getBaseId(12):create() end) "
         "local c = pcall(function() return N:getBaseId(12):create(q) end) return a, b, c",
         "false, false, false"},
        {"a distribution's monsters at (0, 0) without a cell, at the cell with one",
         "local m = C.EnemyMaker() assert(m:loadFile(DIST)) "
         "local n, w = m:createNormal(1), m:createWander(1) "
         "return n:getBase():id(), n:getPos()._x, n:getPos()._y, w:getBase():id(), "
         "w:getPos()._x, w:getPos()._y, m:createNormal(9), m:createWander(9), "
         "m:createNormal(1, C.Point(4, 5)):getPos()._y",
         "12, 0, 0, 3, 0, 0, nil, nil, 5"},
        {"the key is required, and nil is no cell",
         "local m = C.EnemyMaker() assert(m:loadFile(DIST)) "
         "local a = pcall(function() return m:createNormal(nil) end) "
         "local b = pcall(function() return m:createWander() end) "
         "local c = pcall(function() return m:createNormal(1, nil) end) return a, b, c",
         "false, false, false"},
        {"a monster the program deletes raises where a script held it",
         "local m = C.EnemyMaker() assert(m:loadFile(DIST)) "
         "local a, b = m:createWander(1), N:getBaseId(3):create(C.Point(1, 1)) "
         "a:kill() b:kill() exeRemove() "
         "return raises(function() return a:getPos() end), raises(function() return b:getPos() "
         "end)",
         "true, true"},
    };
    runAll(cases);
}

TEST_F(ItemLinks, SkillLevelsThatOtherSkillsGive) {
    const std::string path = scratch_.file("skills.dat");
    writeScrambledTable(path, "header\n" +
                                  skillRow(1, "Sword",
                                           {{"x", 0},
                                            {"Crit:Critical", 4},
                                            {"Crit:Again", 4},
                                            {"Parry:Beyond the last level", 4}}) +
                                  skillRow(2, "Axe", {{"Crit:Heavy", 4}}));
    ASSERT_TRUE(SkillList::instance().load(message_, path)) << message_.data();
    const LuaCase cases[] = {
        {"levels reached of skills in effect count; nil names nothing",
         "local c = C.ObjectChara() c:setSkillLevel('Sword', 2) "
         "local off = c:getOtherSkillLevel('Crit') c:addEnableSkill('Sword') "
         "local two = c:getOtherSkillLevel('Crit') c:setSkillLevel('Sword', 9) "
         "local all = c:getOtherSkillLevel('Crit') c:setSkillLevel('Axe', 1) "
         "local axeOff = c:getOtherSkillLevel('Crit') c:addEnableSkill('Axe') "
         "return off, two, all, axeOff, c:getOtherSkillLevel('Crit'), "
         "c:getOtherSkillLevel('Parry'), c:getOtherSkillLevel('Sword'), "
         "c:getOtherSkillLevel(nil), c:getOtherSkillLevel('')",
         "0, 1, 2, 2, 3, 0, 0, 0, 0"},
    };
    runAll(cases);
}

}  // namespace
