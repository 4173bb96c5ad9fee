// The character bindings as scripts see them: the race and equipment flag
// words, the effect-name and sub-icon lists, the gauge records, the
// character's own state, its decorator chain with script decorators (who
// owns them, what the hooks hand to CallDecoratorFunc), and the archive view
// that SerializeDecorator receives. The chain calls the game's Lua host, so
// these cases run on it.
#include <gtest/gtest.h>
#include <tolua++.h>

#include <string>

#include "bindings/script_bindings.h"
#include "engine/script/sys_lua.h"
#include "game/data/equip_flag.h"
#include "game/world/deco_lua.h"
#include "game/world/full_time_effect.h"
#include "game/world/object_chara.h"
#include "tests/bindings/lua_runner.h"
#include "tests/game/world/object_fixture.h"

namespace {

using lua_runner::LuaCase;

EquipFlag g_equipFlag;

class CharaBindings : public ObjectFixture {
protected:
    void SetUp() override {
        ObjectFixture::SetUp();
        ASSERT_TRUE(lua().init());
        std::string error;
        ASSERT_EQ(openScriptBindings(L(), &error), 1) << error;
        ASSERT_TRUE(lua().runBuffer(lua_runner::kRunner, 0, "runner")) << lua().lastError();
        g_equipFlag = EquipFlag();
        tolua_pushusertype(L(), &g_equipFlag, "EquipFlag");
        lua_setglobal(L(), "flags");
        tolua_pushusertype(L(), manager_, "ObjectManager");
        lua_setglobal(L(), "M");
    }
    void TearDown() override {
        run("flags = nil M = nil collectgarbage() collectgarbage()");
        FullTimeEffect::resetAll();
        ObjectFixture::TearDown();
        lua().close();
    }
    static qel::SysLua& lua() { return qel::SysLua::instance(); }
    static lua_State* L() { return lua().state(); }
    static std::string run(const char* chunk) { return lua_runner::run(L(), chunk); }
    void check(const LuaCase* begin, const LuaCase* end) {
        for (const LuaCase* c = begin; c != end; ++c) {
            EXPECT_EQ(run(c->chunk), c->expected) << "case: " << c->name;
        }
    }
};

const LuaCase kValueCases[] = {
    {"a race word from nothing, a number and a copy",
     "local a, b = C.Race(), C.Race:new_local(131073) local c = C.Race(b) "
     "return a._val, b._human, b._unique, b._rabby, c._val",
     "0, true, true, false, 131073"},
    {"a race bit set on a zero word",
     "local r = C.Race() r._insect = true local v = r._val r._insect = nil return v, r._val",
     "256, 0"},
    {"a race bit refuses a number", "local r = C.Race() r._fly = 1",
     "error: invalid type in variable assignment.\n     value is 'number'; 'boolean' expected.\n"},
    {"equipment flags",
     "flags._foot = true local a = flags._val flags._val = 0 "
     "flags._torch = true return a, flags._val, flags._right",
     "256, 1024, false"},
    {"effect names sort by priority, entries read back",
     "local l = C.EffectNameList() l:add(3, 'c', C.Color.RED) l:add(1, 'a', nil) "
     "l:add(2, nil, C.Color.BLUE) l:sort() "
     "return l:size(), l:get(0):name(), l:get(1):name(), l:get(2):name(), "
     "l:get(2):color()._val == C.Color.RED._val, l:get(3)",
     "3, a, , c, true, nil"},
    {"a cleared list's entry is gone",
     "local l = C.EffectNameList() l:add(1, 'a', nil) local e = l:get(0) l:clear() "
     "return l:size(), pcall(function() return e:name() end)",
     "0, false, snippet:1: attempt to use a deleted object"},
    {"sub-icons of equal priority keep their order",
     "local l = C.SubIconList() l:add(0, C.Point(1, 0), nil) l:add(0, C.Point(2, 0), nil) "
     "l:add(-1, nil, nil) l:sort() "
     "return l:get(0):chip()._x, l:get(1):chip()._x, l:get(2):chip()._x",
     "0, 1, 2"},
    {"gauge records copy whole and reset their block",
     "local F = C.FullTimeEffect F.WEIGHT_OVER:set(1.5, 3, 'heavy', C.Color.RED) "
     "F.WEIGHT_DEAD = F.WEIGHT_OVER F.WEIGHT_OVER._name = 'x' "
     "return F.WEIGHT_DEAD._name, F.WEIGHT_DEAD._priority, F.WEIGHT_DEAD._condition, "
     "F.WEIGHT_OVER._name",
     "heavy, 3, 1.5, x"},
    {"the state functions on the class table",
     "local c = C.ObjectChara:new_local() local F = C.FullTimeEffect "
     "return F:GetWeightState(c), F:GetSatietyState(c), F:GetFieldState(nil)",
     "0, 0, 0"},
};

TEST_F(CharaBindings, ValueTypesAndLists) {
    check(std::begin(kValueCases), std::end(kValueCases));
}

const LuaCase kCharaCases[] = {
    {"a new character",
     "local c = C.ObjectChara:new_local() "
     "return c:getLevel(), c:getMana(), c:getExp(), c:getSightState(), "
     "c:getClassName(), C.ObjectChara.SIGHT_IN",
     "1, 0, 0, 2, ObjectChara, 2"},
    {"experience caps and a loss stops at 0",
     "local c = C.ObjectChara:new_local() c:setExp(-1) local a = c:getExp() c:setExp(100) "
     "c:setNextExp(150) return a, c:addExp(49), c:addExp(1), c:addExp(-1000), c:getExp()",
     "9999999, false, true, false, 0"},
    {"money stays within its cap",
     "local c = C.ObjectChara:new_local() c:setMoney(-5) local a = c:getMoney() "
     "c:setMoney(2^31 - 1) local b = c:getMoney() == 999999 c:addMoney(-2^31) "
     "return a, b, c:getMoney()",
     "0, true, 0"},
    {"a base status index outside the block raises",
     "local c = C.ObjectChara:new_local() c:setBaseStatus(C.STATUS.STR, 4) "
     "return c:getBaseStatus(C.STATUS.STR), pcall(c.getBaseStatus, c, 58)",
     "4, false, status index 58 outside 0..57"},
    {"the race is a copy",
     "local c = C.ObjectChara:new_local() local r = c:getRace() "
     "r._human = true local before = c:getRace()._human c:setRace(r) "
     "return before, c:getRace()._human",
     "false, true"},
    {"an equipment slot outside 0..9 is nil",
     "local c = C.ObjectChara:new_local() "
     "return c:getEquip(10), c:getEquip(-1), "
     "c:getItemNum(), c:getItemLink()",
     "nil, nil, 0, nil"},
    {"skills",
     "local c = C.ObjectChara:new_local() c:setSkillLevel('A', 2) "
     "return c:getSkillLevelActive('A'), c:addSkillLevel('A', 1), c:checkEnableSkill('A')",
     "-1, 3, 0"},
};

TEST_F(CharaBindings, CharacterState) {
    check(std::begin(kCharaCases), std::end(kCharaCases));
}

// Records every CallDecoratorFunc call: the hook's name and the Lua type of
// each argument after the owner (tolua's type for objects).
constexpr const char* kRecorder = R"lua(
calls = {}
answer = nil
function CallDecoratorFunc(owner, hook, ...)
    local parts = {hook, tolua.type(owner)}
    for i = 1, select('#', ...) do
        local v = select(i, ...)
        parts[#parts + 1] = type(v) == 'userdata' and tolua.type(v) or type(v)
    end
    calls[#calls + 1] = table.concat(parts, ' ')
    if hooks and hooks[hook] then return hooks[hook](owner, ...) end
    return answer
end
removed = 0
function RemoveAllDecorator(owner) removed = removed + 1 end
function take() local r = table.concat(calls, '; ') calls = {} return r end
)lua";

const LuaCase kChainCases[] = {
    {"CreateDecoLua takes no argument", "return pcall(C.CreateDecoLua, 1)",
     "false, error in function 'CreateDecoLua'.\n     argument #1 is 'number'; '[no object]' "
     "expected.\n"},
    {"a decorator on a chain is the character's",
     "local c = C.ObjectChara:new_local() local d = C.CreateDecoLua() "
     "local inner0 = d:getInner() c:addDecorator(d) local inner = tolua.type(d:getInner()) "
     "local ok = pcall(d.delete, d) local deco = c:searchDecoId(0) == d "
     "local removed1 = c:removeDecorator(d) "
     "return inner0, inner, ok, deco, removed1, removed, pcall(function() return d:getInner() end)",
     "nil, VirtualChara, false, true, true, 1, false, snippet:1: attempt to use a deleted object"},
    {"init neither links nor owns",
     "local c = C.ObjectChara:new_local() local d = C.DecoLua:new() d:init(c) "
     "local r = d:getInner() d:delete() return r, c:searchDecoId(0)",
     "nil, nil"},
    {"each hook hands its arguments to CallDecoratorFunc",
     "local c = C.ObjectChara:new_local() c:addDecorator(C.CreateDecoLua()) take() "
     "c:preInput() c:beginTurn() c:endAction() c:endTurn() "
     "c:receiveHarm(c) c:checkMana(3) c:useMana(2) c:healLife(1) c:death() c:afterDead() "
     "c:getEffectName(C.EffectNameList:new_local()) c:getSubIconList() return take()",
     "preInput ObjectChara; beginTurn ObjectChara; endAction ObjectChara; endTurn ObjectChara; "
     "receiveHarm ObjectChara ObjectChara nil; checkMana ObjectChara number; useMana ObjectChara "
     "number; healLife ObjectChara number; death ObjectChara string; afterDead ObjectChara; "
     "getEffectName ObjectChara EffectNameList; getSubIconList ObjectChara SubIconList"},
    {"answers convert as numbers do",
     "local c = C.ObjectChara:new_local() c:addDecorator(C.CreateDecoLua()) "
     "local out = {} for _, a in ipairs{4.9, 'x', 0/0, 1, true} do answer = a "
     "out[#out + 1] = c:healLife(0) .. '/' .. tostring(c:checkMana(0)) end "
     "return table.concat(out, ' ')",
     "4/false 0/false 0/false 1/false 0/true"},
    {"a hook removes its own decorator: gone when the call returns",
     "local c = C.ObjectChara:new_local() local d = C.CreateDecoLua() c:addDecorator(d) "
     "hooks = {beginTurn = function(owner) inside = owner:removeDecorator(d) "
     "still = owner:searchDecoId(0) == d end} "
     "c:beginTurn() hooks = nil return inside, still, c:searchDecoId(0), removed",
     "true, true, nil, 1"},
    {"a decorator added inside a hook joins after the call",
     "local c = C.ObjectChara:new_local() local d = C.CreateDecoLua() c:addDecorator(d) "
     "local e = C.CreateDecoLua() "
     "hooks = {endTurn = function(owner) owner:addDecorator(e) seen = tolua.type(d:getInner()) "
     "end} "
     "c:endTurn() hooks = nil return seen, e:getInner() == d",
     "VirtualChara, true"},
    {"hooks that free their owner: each call returns, the value then errors",
     "local out = {} for _, hook in ipairs{'beginTurn', 'preInput', 'getSubIconList'} do "
     "local c = C.ObjectChara:new() M:add(c) c:addDecorator(C.CreateDecoLua()) "
     "hooks = {[hook] = function(o) o:kill() M:exeRemove() end} "
     "if hook == 'beginTurn' then c:beginTurn() elseif hook == 'preInput' then c:preInput() "
     "else c:getSubIconList() end "
     "out[#out + 1] = tostring(pcall(function() return c:getLevel() end)) end "
     "hooks = nil return table.concat(out, ' '), removed",
     "false false false, 3"},
    {"a recursive hook ends as a script error and play goes on",
     "local c = C.ObjectChara:new_local() c:addDecorator(C.CreateDecoLua()) "
     "hooks = {preInput = function(owner) return owner:preInput() end} "
     "local r = c:preInput() hooks = nil return r",
     "false"},
};

TEST_F(CharaBindings, ScriptDecoratorsOnAChain) {
    ASSERT_TRUE(lua().runBuffer(kRecorder, 0, "recorder")) << lua().lastError();
    for (const LuaCase& c : kChainCases) {
        run("removed = 0 calls = {}");
        EXPECT_EQ(run(c.chunk), c.expected) << "case: " << c.name;
    }
    // The recursive hook's error is the host's last one.
    ASSERT_NE(lua().lastError(), nullptr);
    EXPECT_NE(std::string(lua().lastError()).find("stack overflow"), std::string::npos)
        << lua().lastError();
    run("hooks = nil");
}

TEST_F(CharaBindings, ADecoratorsScriptStoresItsValuesThroughTheSerializer) {
    ASSERT_TRUE(lua().runBuffer(R"lua(
        stored = {n = 1.5, s = 'text', p = C.Point(3, -4), b = true}
        function SerializeDecorator(chara, deco, s)
            got = {}
            got.n = s:num(stored.n)
            got.s = s:str(stored.s)
            got.b = s:boolean(stored.b)
            got.p = s:point(stored.p)
            got.write, got.read, got.version = s:isWrite(), s:isRead(), s:getVersion()
            got.chara, got.deco = tolua.type(chara), tolua.type(deco)
            return true
        end
        function shown()
            return string.format('%s %s %s %d,%d %s %s %d %s %s', tostring(got.n), got.s,
                tostring(got.b), got.p._x, got.p._y, tostring(got.write), tostring(got.read),
                got.version, got.chara, got.deco)
        end
    )lua",
                                0, "serializer"))
        << lua().lastError();
    for (std::uint32_t version : {100u, 103u, 104u}) {
        ObjectChara a;
        auto* deco = new DecoLua;
        deco->setId(7);
        ASSERT_TRUE(a.addDecorator(deco));
        {
            VersionFile out(path_, qel::File::MODE_WRITE);
            out.setVersion(version);
            ASSERT_TRUE(a.serialize(out)) << lua().lastError();
            ASSERT_TRUE(out.close());
        }
        EXPECT_EQ(run("return shown()"), "1.5 text true 3,-4 true false " +
                                             std::to_string(version) + " ObjectChara DecoLua");
        run("stored = {n = 0, s = '', p = C.Point(0, 0), b = false}");
        ObjectChara b;
        VersionFile in(path_, qel::File::MODE_READ);
        in.setVersion(version);
        ASSERT_TRUE(b.serialize(in)) << lua().lastError();
        EXPECT_EQ(run("return shown()"), "1.5 text true 3,-4 false true " +
                                             std::to_string(version) + " ObjectChara DecoLua");
        ASSERT_NE(b.searchDecoId(7), nullptr);
        run("stored = {n = 1.5, s = 'text', p = C.Point(3, -4), b = true}");
    }
    // A script that reads past the end fails the character.
    run("function SerializeDecorator(chara, deco, s) if s:isRead() then s:str('') s:str('') "
        "s:str('') s:str('') s:str('') s:num(0) end return true end");
    ObjectChara a;
    ASSERT_TRUE(a.addDecorator(new DecoLua));
    {
        VersionFile out(path_, qel::File::MODE_WRITE);
        out.setVersion(104);
        ASSERT_TRUE(a.serialize(out));
        ASSERT_TRUE(out.close());
    }
    ObjectChara b;
    VersionFile in(path_, qel::File::MODE_READ);
    in.setVersion(104);
    EXPECT_FALSE(b.serialize(in));
    EXPECT_NE(std::string(lua().lastError()).find("ends before"), std::string::npos)
        << lua().lastError();
}

}  // namespace
