// The sample content's rules as a player meets them, through the booted
// content: every item kind used the way the inventory uses it shows its
// effect, equipment changes the blows the panel shows, and each monster
// behaviour the monster table names makes its monsters act differently.
#include <gtest/gtest.h>

#include <string>

#include "engine/core/sys_rand.h"
#include "game/world/game_data.h"
#include "game/world/object_manager.h"
#include "tests/bindings/booted_content.h"

namespace {

// A walled room of lit floor from (1, 1) to (20, 10) with a fighter at
// (5, 5) whose stomach holds half of its most; give(id) puts a new item of
// the kind into the pack, use(item, command) carries out the command as
// the inventory hands it over, monster(id, x, y) places a monster.
constexpr const char* kRoom = R"lua(
function fresh(class)
    C_GetObjectManager():clearAll()
    NewGameStarts()
    floor = 1
    local d = C_GetDungeon()
    local cd = C.CreateDungeon(d)
    cd:fillAll(C.Tile("wall", 0, 0, C.Color.WHITE, 26))
    cd:fillRect(C.Tile("floor", 1, 0, C.Color.WHITE, 25), 1, 1, 20, 10)
    d:initLightState()
    local opening = C.OpeningParam()
    opening:loadRaceFile()
    opening:loadClassFile()
    player = opening:createPlayer("Test", 1, 0, class or 0)
    player:setPos(5, 5)
    player:setSatietyMax(2000)
    player:setSatiety(1000)
end
function give(id)
    local item = C_CreateItem(id)
    player:addItem(item)
    return item
end
function use(item, kind)
    local command = C.Command:new_local(kind, player)
    command:addItem(item)
    return ItemCommand(command)
end
function monster(id, x, y)
    local npc = C_CreateNpc(id, C.Point(x, y))
    npc:setPos(x, y)
    return npc
end
-- The turn change, and a command carried out, as the turn manager asks.
local turns = {getPlayer = function() return player end}
function turnChange()
    ProgressTurnChange(turns)
end
function perform(kind, target, action)
    local command = C.Command:new_local(kind, player)
    command:setPoint(target:getPos())
    if action then command:setAction(action) end
    ProgressTurn(turns, command)
end
function distance(npc)
    local p, q = player:getPos(), npc:getPos()
    return math.max(math.abs(p._x - q._x), math.abs(p._y - q._y))
end
)lua";

class ContentPlay : public BootedContent {
protected:
    void SetUp() override {
        BootedContent::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_EQ(run(kRoom), "");
        qel::SysRand::instance().seed(11);
    }
    void TearDown() override {
        GameData::instance().getObjectManager()->clearAll();
        BootedContent::TearDown();
    }
};

TEST_F(ContentPlay, ANewAdventureStartsWithItsKitOnThePaintedFloor) {
    // The first ask of a new game makes the first floor; the fighter wields
    // its sword, wears its armour, carries bread, knows how far the first
    // level is and has a stomach to fill.
    EXPECT_EQ(run("fresh() floor = 0 "
                  "InputPlayer(C.Command:new_local(C.Command.NONE, player), player) "
                  "local carried = {} "
                  "for _, item in ipairs(Carried(player)) do "
                  "  table.insert(carried, item:getBaseId()) end "
                  "return floor, table.concat(carried, ' '), "
                  "player:getEquip(C.EQUIP_RIGHT):getBaseId(), player:getNextExp(), "
                  "player:getSatiety() > 0"),
              "1, 2 7 15 31, 2, 10, true");
}

TEST_F(ContentPlay, ThePanelNamesTheFiguresAsTheOpeningDoes) {
    // The opening names the figures by C.STATUS_NAME; the panel must too,
    // and show how far the first level is from the start.
    EXPECT_EQ(run("fresh() floor = 0 "
                  "InputPlayer(C.Command:new_local(C.Command.NONE, player), player) "
                  "local drawn = {} "
                  "DrawStatusView(player, {drawText = function(self, x, y, text) "
                  "  table.insert(drawn, text) end}) "
                  "local function shown(start) for _, t in ipairs(drawn) do "
                  "  if t:sub(1, #start) == start then return true end end return false end "
                  "local S, missing = C.STATUS, {} "
                  "for _, i in ipairs({S.LIFE, S.MANA, S.STR, S.VIT, S.DEX, S.PER, S.AGI, S.WIS, "
                  "    S.INT, S.CHA, S.OFFENSE, S.DEFENSE}) do "
                  "  if not shown(C.STATUS_NAME[i] .. ' ') then "
                  "    table.insert(missing, C.STATUS_NAME[i]) end end "
                  "return table.concat(missing, ' '), shown(Text('panel.exp', 0, 10))"),
              ", true");
}

TEST_F(ContentPlay, EveryItemKindShowsItsEffect) {
    const lua_runner::LuaCase cases[] = {
        {"a potion of healing heals, up to the most",
         "fresh() player:setLife(5) use(give(21), C.Command.QUAFF) "
         "local life = player:getLife() "
         "return life > 5, life <= player:getStatus(C.STATUS.LIFE)",
         "true, true"},
        {"a potion of mana gives mana back",
         "fresh() player:setMana(0) use(give(22), C.Command.QUAFF) return player:getMana() > 0",
         "true"},
        {"a potion of poison hurts",
         "fresh() local life = player:getLife() use(give(23), C.Command.QUAFF) "
         "return player:getLife() < life",
         "true"},
        {"a potion of speed gives a second act each turn for a while, shown on the panel",
         "fresh() use(give(24), C.Command.QUAFF) player:setActPoint(0) turnChange() "
         "return player:getActPoint(), PlayerConditions()[1]",
         "24, 加速"},
        {"a scroll of teleport moves the reader",
         "fresh() use(give(26), C.Command.READ) local p = player:getPos() "
         "return p._x ~= 5 or p._y ~= 5",
         "true"},
        {"a scroll of identify makes what is carried known",
         "fresh() local potion = give(22) local before = potion:isIdentify() "
         "use(give(27), C.Command.READ) return before, potion:isIdentify()",
         "false, true"},
        {"a scroll of light shows the surroundings",
         "fresh() local function known() local n = 0 "
         "  for y = 0, 29 do for x = 0, 49 do "
         "    if C_GetDungeon():getTile(x, y):getState() ~= C.TILE_DARK then n = n + 1 end "
         "  end end return n end "
         "local before = known() use(give(28), C.Command.READ) "
         "return before, known() >= 20 * 10",
         "0, true"},
        {"a scroll of sanctuary lies at the reader's feet and no monster strikes there",
         "fresh() local npc = monster(1, 6, 5) use(give(25), C.Command.READ) "
         "local life = player:getLife() for _ = 1, 10 do MonsterTurn(npc) end "
         "local node, under = C_GetObjectLinkAtPos(player:getPos()), nil "
         "while node do under = under or C_CastObjectItem(node:getObj()) node = node:next() end "
         "return under:getBaseId(), player:getLife() == life",
         "25, true"},
        {"a wand of fire burns the monster in sight and spends a charge",
         "fresh() local npc = monster(1, 8, 5) npc:setLife(100) local wand = give(29) "
         "local charges = wand:getStock() use(wand, C.Command.ZAP) "
         "return npc:getLife() < 100, wand:getStock() == charges - 1",
         "true, true"},
        {"food fills the stomach",
         "fresh() use(give(31), C.Command.EAT) return player:getSatiety() > 1000", "true"},
        {"a corpse is food too",
         "fresh() use(give(34), C.Command.EAT) return player:getSatiety() > 1000", "true"},
        {"a weapon changes the blows the panel shows, armour the defence",
         "fresh() local bare, guard = player:getDamageDice():name(), "
         "player:getStatus(C.STATUS.DEFENSE) "
         "use(give(5), C.Command.WEAR) use(give(16), C.Command.WEAR) "
         "return bare, player:getDamageDice():name(), "
         "player:getStatus(C.STATUS.DEFENSE) > guard",
         "1d3+1, 3d6+1, true"},
    };
    for (const lua_runner::LuaCase& c : cases) EXPECT_EQ(run(c.chunk), c.expected) << c.name;
}

TEST_F(ContentPlay, TheArcherShootsTheMageCastsAndRestHeals) {
    const lua_runner::LuaCase cases[] = {
        {"an arrow from the bow hurts the monster in sight and is spent",
         "fresh(2) use(give(10), C.Command.WEAR) local arrows = give(11) "
         "use(arrows, C.Command.WEAR) local stock = arrows:getStock() "
         "local npc = monster(1, 8, 5) npc:setLife(100) perform(C.Command.FIRE, npc) "
         "return npc:getLife() < 100, arrows:getStock() == stock - 1",
         "true, true"},
        {"the fire spell hurts the monster in sight for its mana",
         "fresh(1) local npc = monster(1, 8, 5) npc:setLife(100) local mana = player:getMana() "
         "perform(C.Command.MAGIC, npc, 'fire') "
         "return npc:getLife() < 100, mana - player:getMana()",
         "true, 10"},
        {"mana and life come back a point every few turns",
         "fresh() player:setMana(0) player:setLife(10) "
         "for _ = 1, 12 do C_GetWorld():addTurn() turnChange() end "
         "return player:getMana(), player:getLife()",
         "3, 14"},
    };
    for (const lua_runner::LuaCase& c : cases) EXPECT_EQ(run(c.chunk), c.expected) << c.name;
}

TEST_F(ContentPlay, EachBehaviourTheMonsterTableNamesActsDifferently) {
    const lua_runner::LuaCase cases[] = {
        {"Approach: a slime walks up and strikes",
         "fresh() local npc = monster(1, 9, 5) local life = player:getLife() "
         "for _ = 1, 10 do MonsterTurn(npc) end "
         "return distance(npc), player:getLife() < life",
         "1, true"},
        {"Erratic: a bat's steps sometimes go astray where a slime's never do",
         "fresh() player:setBaseStatus(C.STATUS.LIFE, 1000) player:setLife(1000) "
         "local function astray(id) local n = 0 "
         "  for _ = 1, 12 do "
         "    local npc = monster(id, 10, 5) "
         "    for _ = 1, 4 do local d = distance(npc) MonsterTurn(npc) "
         "      if distance(npc) >= d and distance(npc) > 1 then n = n + 1 end end "
         "    npc:kill() C_GetObjectManager():exeRemove() "
         "  end return n end "
         "return astray(1) == 0, astray(3) > 0",
         "true, true"},
        {"Flee: a goblin badly hurt runs, a slime badly hurt still strikes",
         "fresh() local goblin = monster(5, 6, 5) goblin:setLife(1) MonsterTurn(goblin) "
         "local slime = monster(1, 4, 5) slime:setLife(1) local life = player:getLife() "
         "for _ = 1, 6 do MonsterTurn(slime) end "
         "return distance(goblin) > 1, player:getLife() < life",
         "true, true"},
        {"Caster: the lich casts fire from afar while its mana lasts, then walks up",
         "fresh() player:setBaseStatus(C.STATUS.LIFE, 1000) player:setLife(1000) "
         "local lich = monster(13, 9, 5) local mana = lich:getMana() MonsterTurn(lich) "
         "local cast = player:getLife() < 1000 and distance(lich) == 4 "
         "lich:setMana(0) MonsterTurn(lich) "
         "return cast, mana - lich:getMana() >= 10, distance(lich) < 4",
         "true, true, true"},
        {"a poisonous bite poisons: the panel shows it and life runs down each turn",
         "fresh() player:setBaseStatus(C.STATUS.LIFE, 1000) player:setLife(1000) "
         "local spider = monster(6, 6, 5) "
         "for _ = 1, 30 do if PlayerConditions()[1] then break end MonsterTurn(spider) end "
         "spider:kill() C_GetObjectManager():exeRemove() "
         "local life = player:getLife() turnChange() "
         "return PlayerConditions()[1], player:getLife() == life - 1",
         "毒, true"},
        {"a young dragon breathes fire along a line from afar",
         "fresh() player:setBaseStatus(C.STATUS.LIFE, 1000) player:setLife(1000) "
         "local hurt = false "
         "for _ = 1, 10 do local dragon = monster(12, 8, 5) MonsterTurn(dragon) "
         "  hurt = hurt or (player:getLife() < 1000 and distance(dragon) >= 2) "
         "  dragon:kill() C_GetObjectManager():exeRemove() end "
         "return hurt",
         "true"},
        {"quick monsters get more act points each turn than slow ones",
         "fresh() local bat, zombie = monster(3, 15, 2), monster(8, 15, 8) "
         "bat:setActPoint(0) zombie:setActPoint(0) turnChange() "
         "return bat:getActPoint(), zombie:getActPoint()",
         "16, 10"},
    };
    for (const lua_runner::LuaCase& c : cases) EXPECT_EQ(run(c.chunk), c.expected) << c.name;
}

TEST_F(ContentPlay, TheContinueMenuListsTheSlotsAsTheListKeepsThemNewestFirst) {
    // The slot list keeps the slot made or renamed last at index 0; the
    // continue menu shows them in that order.
    EXPECT_EQ(run("local kept = {{3, 'newest'}, {1, 'older'}, {2, 'oldest'}} "
                  "local real = C_GetSaveFileList "
                  "C_GetSaveFileList = function() return { "
                  "  getDataNum = function() return #kept end, "
                  "  getId = function(_, i) return kept[i + 1][1] end, "
                  "  getName = function(_, i) return kept[i + 1][2] end} end "
                  "local shown = {} "
                  "for _, e in ipairs(SlotEntries()) do table.insert(shown, e[1] .. e[2]) end "
                  "C_GetSaveFileList = real "
                  "return table.concat(shown, ' ')"),
              "3newest 1older 2oldest");
}

}  // namespace
