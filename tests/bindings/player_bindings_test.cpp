// C.ObjectPlayer as scripts use it, and a turn of an input script: keys fed
// to the input system, then a script that reads the direction, moves the
// player handed to it and edits the player's records.
#include <gtest/gtest.h>
#include <tolua++.h>

#include <string>

#include "bindings/script_bindings.h"
#include "engine/core/memory_allocator.h"
#include "engine/input/input_source.h"
#include "engine/input/key_code.h"
#include "engine/input/sys_input.h"
#include "engine/script/lua_param.h"
#include "engine/script/sys_lua.h"
#include "game/data/equip_flag.h"
#include "game/data/skill.h"
#include "game/data/skill_list.h"
#include "game/world/full_time_effect.h"
#include "game/world/game_data.h"
#include "game/world/object_player.h"
#include "tests/bindings/lua_runner.h"
#include "tests/game/world/item_fixture.h"

namespace {

using lua_runner::LuaCase;

EquipFlag g_flags;

struct FedSource : qel::InputSource {
    qel::InputSnapshot next;
    void readInput(qel::InputSnapshot& out) override { out = next; }
};

class PlayerBindings : public ItemFixture {
protected:
    void SetUp() override {
        ItemFixture::SetUp();
        SkillList::instance().add(new Skill("fire", "Skill", 2));
        ASSERT_TRUE(lua().init());
        std::string error;
        ASSERT_EQ(openScriptBindings(L(), &error), 1) << error;
        ASSERT_TRUE(lua().runBuffer(lua_runner::kRunner, 0, "runner")) << lua().lastError();
        player_ = new ObjectPlayer("hero", Point(0, 0), Color::WHITE, Race(), Status());
        tolua_pushusertype(L(), player_, "ObjectPlayer");  // +1
        lua_setglobal(L(), "P");                           // -1
        // Scripts make no flag words; a program's record stands for one.
        g_flags = EquipFlag();
        tolua_pushusertype(L(), &g_flags, "EquipFlag");  // +1
        lua_setglobal(L(), "F");                         // -1
    }
    void TearDown() override {
        run("P = nil F = nil collectgarbage() collectgarbage()");
        SkillList::instance().clear();
        FullTimeEffect::resetAll();
        ItemFixture::TearDown();
        lua().close();
    }
    static qel::SysLua& lua() { return qel::SysLua::instance(); }
    static lua_State* L() { return lua().state(); }
    static std::string run(const char* chunk) { return lua_runner::run(L(), chunk); }

    ObjectPlayer* player_ = nullptr;
};

const LuaCase kCases[] = {
    {"the class name", "return P:getClassName(), tolua.type(C.ObjectPlayer())",
     "ObjectPlayer, ObjectPlayer"},
    {"satiety floors at 0 and has no upper bound",
     "P:setSatietyMax(100) P:setSatiety(-10) local a = P:getSatiety() P:setSatiety(50) "
     "P:addSatiety(-1000) local b = P:getSatiety() P:setSatiety(50) P:addSatiety(500) "
     "return a, b, P:getSatiety()",
     "0, 0, 550"},
    {"ratios, a maximum of 0 gives 0",
     "P:setSatietyMax(200) P:setSatiety(50) local a = P:getSatietyPer() P:addSatietyMax(-500) "
     "P:setDarkIll(2) return a, P:getSatietyMax(), P:getSatietyPer(), P:getDarkIllPer()",
     "0.25, 0, 0, 0"},
    {"dark-illness tags",
     "local r = {P:addDarkIllTag('a'), P:addDarkIllTag('a'), P:addDarkIllTag('b'), "
     "P:addDarkIllTag('c'), P:getDarkIllNum(), P:removeDarkIllTag(0), P:getDarkIllTag(0), "
     "P:getDarkIllTag(2), P:getDarkIllTag(-1), P:removeDarkIllTag(5), P:getDarkIllNum(), "
     "P:checkDarkIll('c')} return unpack(r, 1, 12)",
     "true, false, true, true, 3, true, b, nil, nil, false, 2, true"},
    {"fates by Lua string",
     "P:addFate('luck', 5) local a = P:getFate('luck') P:setFate('luck', 0) P:addFate('luck', 5) "
     "P:setFate(nil, 3) return a, P:getFate('luck'), P:getFate('')",
     "0, 5, 3"},
    {"race and class with unsigned ids",
     "P:setCharaRace('エルフ', -1) P:setCharaClass('戦士', 4) return P:getCharaRace(), "
     "P:getCharaRaceId(), P:getCharaClass(), P:getCharaClassId()",
     "エルフ, 4294967295, 戦士, 4"},
    {"a character's acquired skills are the script's to delete",
     "P:setSkillLevel('fire', 3) local l, m = P:createAcquireSkill(), P:createAcquireSkill() "
     "local r = {l:size(), l[0]._level, rawequal(l, m)} l:delete() m:delete() return unpack(r)",
     "1, 3, false"},
    {"the signed figures' sums wrap through 32 bits",
     "P:setSkillPoint(2147483647) P:addSkillPoint(256) P:setFaith(-2147483648) P:addFaith(-1) "
     "P:setDarkIll(2147483647) P:addDarkIll(2147483647) "
     "return P:getSkillPoint(), P:getFaith(), P:getDarkIll()",
     "-2147483393, 2147483647, -2"},
    {"pressure is kept on the player",
     "P:setPressure(7) return P:getPressure(), C.ObjectChara.getPressure(P)", "7, 7"},
    {"the equip flag is the player's own record",
     "local f = P:getEquipFlag() local all = f._val F._val = 5 "
     "P:setEquipFlag(F) return all, f._val, f._twoHand, P:checkCanEquip(nil)",
     "4294967295, 5, true, false"},
};

TEST_F(PlayerBindings, ScriptsReadAndEditThePlayer) {
    for (const LuaCase& c : kCases) EXPECT_EQ(run(c.chunk), c.expected) << "case: " << c.name;
}

TEST_F(PlayerBindings, AnInputScriptMovesThePlayerAndEditsItsRecords) {
    FedSource source;
    source.next.foreground = true;
    qel::SysInput& input = qel::SysInput::instance();
    input.readFrom(&source);
    ASSERT_TRUE(input.init());
    const auto generalBefore = qel::poolById(qel::Pool::General)->stats().usedBlocks;
    ASSERT_TRUE(loadItems(itemRow(1))) << message_.data();
    ObjectItem* item = make(1);
    ASSERT_NE(item, nullptr);
    tolua_pushusertype(L(), item, "ObjectItem");  // +1
    lua_setglobal(L(), "I");                      // -1
    ASSERT_EQ(run(R"lua(
registered = {}
function RegisterItemLib(item) registered[#registered + 1] = item end
function InputPlayer(player)
    local d = C_GetInputDir()
    if d._x == 0 and d._y == 0 then return false end
    player:addPos(d)
    F._val = player:getEquipFlag()._val
    F._bow = false
    player:setEquipFlag(F)
    player:setFate('moves', player:getFate('moves'))
    player:addFate('moves', 1)
    player:addDarkIllTag('walked')
    player:addItem(I)
    local skills = C.AcquireSkill:new()
    skills:add('fire', true, 2, true)
    local level = skills[0]._level
    skills:delete()
    return level == 2
end
)lua"),
              "");
    player_->setPos(Point(5, 5));
    const auto call = [&] {
        qel::LuaParam arg;
        arg.addUserType(player_, "ObjectPlayer");
        qel::LuaParam result;
        EXPECT_TRUE(lua().call("InputPlayer", 1, &arg, &result)) << lua().lastError();
        return result.toBoolean();
    };
    source.next.keys[qel::KEY_LEFT] = 0x80;
    source.next.keys[qel::KEY_UP] = 0x80;
    input.update();
    EXPECT_TRUE(call());
    source.next.keys[qel::KEY_LEFT] = source.next.keys[qel::KEY_UP] = 0;
    input.update();
    EXPECT_FALSE(call());
    EXPECT_EQ(player_->getPos(), Point(4, 4));
    EXPECT_EQ(player_->getFate("moves"), 1);
    EXPECT_EQ(player_->getDarkIllNum(), 1);
    EXPECT_EQ(player_->getEquipFlag().word(), 0xFFFFFFFFu & ~(1u << 4));
    EXPECT_EQ(run("return #registered, rawequal(registered[1], I), P:getItemNum()"), "1, true, 1");
    EXPECT_EQ(run("InputPlayer = nil RegisterItemLib = nil registered = nil I = nil "
                  "collectgarbage() collectgarbage()"),
              "");
    EXPECT_EQ(qel::poolById(qel::Pool::General)->stats().usedBlocks, generalBefore);
    input.term();
    input.readFrom(nullptr);
}

}  // namespace
