// C.AcquireSkill as scripts use it: adding, reading copies by index and
// writing them back, sorting, and who frees the list and the copies.
#include <gtest/gtest.h>

#include <utility>

#include "engine/core/memory_allocator.h"
#include "game/data/skill.h"
#include "game/data/skill_list.h"
#include "tests/bindings/bound_lua.h"

namespace {

using lua_runner::LuaCase;

class AcquireSkillBindings : public BoundLua {
protected:
    void SetUp() override {
        BoundLua::SetUp();
        for (const auto& [tag, type] : {std::pair{"slash", 1}, {"fire", 2}, {"heal", 2}}) {
            ASSERT_TRUE(SkillList::instance().add(new Skill(tag, "Skill", type)));
        }
    }
    void TearDown() override {
        SkillList::instance().clear();
        BoundLua::TearDown();
    }
};

const LuaCase kCases[] = {
    {"a new list is empty", "return C.AcquireSkill():size()", "0"},
    {"the same skill twice keeps one entry",
     "local l = C.AcquireSkill() l:add('fire', false, 3, false) l:add('fire', true, 2, true) "
     "local d = l[0] return l:size(), d._active, d._level, d._identify, tolua.type(d._skill)",
     "1, true, 3, true, const Skill"},
    {"nil, empty and unknown names add nothing",
     "local l = C.AcquireSkill() l:add(nil, true, 1, true) l:add('', true, 1, true) "
     "l:add('ice', true, 1, true) return l:size()",
     "0"},
    {"nil booleans count as false",
     "local l = C.AcquireSkill() l:add('heal', nil, 1, nil) return l[0]._active, l[0]._identify",
     "false, false"},
    {"a read is a copy; writing it back stores it",
     "local l = C.AcquireSkill() l:add('heal', false, 1, false) local d = l[0] d._level = 7 "
     "d._active = nil local before = l[0]._level l[0] = d return before, l[0]._level, "
     "l[0]._active",
     "1, 7, false"},
    {"reading outside the list gives nil",
     "local l = C.AcquireSkill() l:add('heal', false, 1, false) return l[1], l[-1]", "nil, nil"},
    {"writing outside the list is an error",
     "local l = C.AcquireSkill() l:add('heal', false, 1, false) local d = l[0] l[1] = d",
     "error: index 1 is outside the list of 1 skills"},
    {"writing nil is an error",
     "local l = C.AcquireSkill() l:add('heal', false, 1, false) l[0] = nil",
     "error: error in function '.seti'.\n     argument #3 is 'nil'; 'value' expected.\n"},
    {"a wrong type for a field",
     "local l = C.AcquireSkill() l:add('heal', false, 1, false) "
     "local d = l[0] d._level = 'x'",
     "error: invalid type in variable assignment.\n     value is 'string'; 'number' expected.\n"},
    {"the skill is read-only",
     "local l = C.AcquireSkill() l:add('heal', false, 1, false) local d = l[0] d._skill = nil",
     "error: attempt to assign the read-only variable '_skill'"},
    {"sorted by type, then active first",
     "local l = C.AcquireSkill() l:add('heal', false, 1, true) l:add('fire', true, 1, true) "
     "l:add('slash', false, 1, false) l:sort() "
     "return l[0]._level, l[1]._active, l[2]._active, l:size()",
     "1, true, false, 3"},
    {"clear empties the list",
     "local l = C.AcquireSkill() l:add('heal', false, 1, false) l:clear() return l:size()", "0"},
};

TEST_F(AcquireSkillBindings, ScriptsBuildReadAndWriteLists) {
    runAll(kCases);
}

TEST_F(AcquireSkillBindings, ListsAndCopiesTheScriptOwnsAreFreed) {
    const auto general = qel::poolById(qel::Pool::General)->stats().usedBlocks;
    EXPECT_EQ(run("for i = 1, 20 do local l = C.AcquireSkill:new_local() l:add('fire', true, i, "
                  "true) local d = l[0] end local m = C.AcquireSkill:new() m:add('heal', true, 1, "
                  "true) local c = m[0] m:delete() collectgarbage() collectgarbage() "
                  "return c._level"),
              "1");
    EXPECT_EQ(run("collectgarbage() collectgarbage()"), "");
    EXPECT_EQ(qel::poolById(qel::Pool::General)->stats().usedBlocks, general);
}

}  // namespace
