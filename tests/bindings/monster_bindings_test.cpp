// C.NpcFactory and C.NpcBase as scripts use them: lookups by id, name key
// and position, and a definition's fields.
#include <gtest/gtest.h>

#include "game/world/npc_factory.h"
#include "tests/bindings/bound_lua.h"

namespace {

using lua_runner::LuaCase;

const LuaCase kMonsterCases[] = {
    {"lookups by id, name key and position",
     "local f = C_GetNpcFactory() return f:getBaseId(12):name(), f:getBase('slime'):id(), "
     "f:getBaseIndex(1):id(), f:getBaseId(99), f:getBase('none'), f:getBaseIndex(2), "
     "f:getBaseIndex(-1)",
     "スライム, 12, 3, nil, nil, nil, nil"},
    {"a definition's fields",
     "local b = C_GetNpcFactory():getBaseId(12) return b:nameId(), b:level(), b:chip()._x, "
     "b:color()._val, b:type() == C.NpcBase.TYPE_ENEMY, b:control(), b:expBase(), b:expRatio(), "
     "b:damageDice():name(), b:corpseId(), b:corpsePer(), b:corpseSize(), b:eatType(), "
     "b:library()",
     "slime, 4, 7, 4294901760, true, 2, 30, 0.5, 2d6, 40, 50, 6, 1, 9"},
    {"type codes", "return C.NpcBase.TYPE_NPC, C.NpcBase.TYPE_ENEMY, C.NpcBase.TYPE_UNIQUE",
     "0, 1, 2"},
    {"skills and AI names out of range are nil",
     "local b = C_GetNpcFactory():getBaseId(12) return b:skillCount(), b:skill(0), b:aiCount(), "
     "b:ai(0)",
     "0, nil, 0, nil"},
};

class MonsterBindings : public BoundLua {
protected:
    void SetUp() override {
        BoundLua::SetUp();
        NpcBase* slime = new NpcBase();
        slime->id = 12;
        slime->library = 9;
        slime->nameId = "slime";
        slime->name = "スライム";
        slime->level = 4;
        slime->chip = Point(7, 1);
        slime->color = Color(0xFFFF0000u);
        slime->type = NpcBase::TYPE_ENEMY;
        slime->control = 2;
        slime->expBase = 30;
        slime->expRatio = 0.5f;
        slime->damageDice = Dice(2, 6);
        slime->corpseId = 40;
        slime->corpsePer = 50;
        slime->corpseSize = 6;
        slime->eatType = 1;
        NpcBase* bat = new NpcBase();
        bat->id = 3;
        bat->nameId = "bat";
        ASSERT_TRUE(NpcFactory::instance().add(slime));
        ASSERT_TRUE(NpcFactory::instance().add(bat));
    }
    void TearDown() override {
        NpcFactory::instance().clear();
        BoundLua::TearDown();
    }
};

TEST_F(MonsterBindings, Snippets) {
    runAll(kMonsterCases);
}

}  // namespace
