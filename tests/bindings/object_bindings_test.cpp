// The map-object bindings as scripts see them: lists, objects, animations,
// effects and the manager, and above all who frees what. The game's object
// manager reaches the scripts as the global M.
#include <gtest/gtest.h>
#include <tolua++.h>

#include <iterator>
#include <string>

#include "bindings/script_bindings.h"
#include "engine/core/memory_allocator.h"
#include "engine/script/sys_lua.h"
#include "game/world/game_data.h"
#include "game/world/object_manager.h"
#include "tests/bindings/lua_runner.h"
#include "tests/game/world/object_fixture.h"

namespace {

using lua_runner::LuaCase;

int worldBlocks(lua_State* L) {
    lua_pushnumber(L, static_cast<lua_Number>(qel::poolById(qel::Pool::World)->stats().usedBlocks));
    return 1;
}

// Helpers the cases share: a full object, and whether every value that
// stood for a deleted object (its own, its position's, its all-node's)
// now raises the error while a script node of it holds nil.
constexpr const char* kHelpers = R"lua(
OB = C.ObjectBase
-- how: 'new', 'new_local' or 'call' (the class table called).
function full(how, name)
    local args = {name or 'o', C.Point(1, 2), C.Color(1, 2, 3), OB.TYPE_ITEM, OB.INFO(OB.INFO_ITEM),
                  C.Point(3, 4), true, false}
    if how == 'call' then return OB(unpack(args)) end
    return OB[how](OB, unpack(args))
end
function raises(f)
    local ok, err = pcall(f)
    return not ok and string.find(err, 'deleted object', 1, true) ~= nil
end
function gone(o, pos, link, node)
    local linkGone = link == nil or raises(function() return link:next() end)
    return raises(function() return o:getId() end) and raises(function() return pos._x end)
        and linkGone and node:getObj() == nil
end
)lua";

class ObjectBindings : public ObjectFixture {
protected:
    void SetUp() override {
        ObjectFixture::SetUp();
        ASSERT_TRUE(host_.init());
        std::string error;
        ASSERT_EQ(openScriptBindings(host_.state(), &error), 1) << error;
        lua_State* L = host_.state();
        lua_register(L, "worldBlocks", &worldBlocks);
        tolua_pushusertype(L, manager_, "ObjectManager");
        lua_setglobal(L, "M");
        ASSERT_TRUE(host_.runBuffer(lua_runner::kRunner, 0, "runner")) << host_.lastError();
        ASSERT_TRUE(host_.runBuffer(kHelpers, 0, "helpers")) << host_.lastError();
    }
    void TearDown() override {
        lua_gc(host_.state(), LUA_GCCOLLECT, 0);
        ObjectFixture::TearDown();
    }
    void check(const LuaCase* begin, const LuaCase* end) {
        for (const LuaCase* c = begin; c != end; ++c) {
            EXPECT_EQ(lua_runner::run(host_.state(), c->chunk), c->expected) << "case: " << c->name;
        }
    }

    qel::SysLua host_;
};

// Every way an object comes to be and goes, under the sanitizers; the
// fixture checks that the world pool is back where it started.
const LuaCase kOwnershipCases[] = {
    {"full by new: delete refused, kill + exeRemove frees it",
     "local o = full('new') local ok, err = pcall(o.delete, o) "
     "local pos, link, node = o:getPos(), o:getLinkAll(), C.LinkList_ObjectBase_(o) "
     "o:kill() M:exeRemove() return ok, err, gone(o, pos, link, node)",
     "false, attempt to delete an object the program owns, true"},
    {"full by new_local: collection leaves it, clearAll frees it",
     "local o = full('new_local') local id = o:getId() "
     "local pos, link, node = o:getPos(), o:getLinkAll(), C.LinkList_ObjectBase_:new(o) "
     "local ref = o o = nil collectgarbage() collectgarbage() local kept = M:search(id) == ref "
     "M:clearAll() local r = gone(ref, pos, link, node) node:delete() return kept, r",
     "true, true"},
    {"full by call: clearExceptKeep frees it, a kept one stays",
     "local o = full('call') local k = full('call', 'k') k:setKeep(true) "
     "local pos, link, node = o:getPos(), o:getLinkAll(), C.LinkList_ObjectBase_(o) "
     "M:clearExceptKeep() return gone(o, pos, link, node), M:getLinkAll():getObj() == k",
     "true, true"},
    {"default by new: the script's until add, then the manager's",
     "local o = OB:new() local ok1 = o:getLinkAll() == nil M:add(o) "
     "local ok, err = pcall(o.delete, o) "
     "local pos, link, node = o:getPos(), o:getLinkAll(), C.LinkList_ObjectBase_(o) "
     "o:kill() M:exeRemove() return ok1, ok, gone(o, pos, link, node)",
     "true, false, true"},
    {"default by new_local, added: Lua no longer collects it",
     "local o = OB:new_local() M:add(o) local id = o:getId() o = nil "
     "collectgarbage() collectgarbage() local found = M:search(id) "
     "local pos, link, node = found:getPos(), found:getLinkAll(), C.LinkList_ObjectBase_(found) "
     "M:clearAll() return gone(found, pos, link, node)",
     "true"},
    {"default by call, killed: handed to the game's manager",
     "local o = OB() local id = o:getId() o:kill() o = nil collectgarbage() collectgarbage() "
     "local found = M:search(id) local pos, node = found:getPos(), C.LinkList_ObjectBase_(found) "
     "M:exeRemove() return gone(found, pos, nil, node)",
     "true"},
    {"default by new: the script may delete it",
     "local o = OB:new() local pos, node = o:getPos(), C.LinkList_ObjectBase_(o) o:delete() "
     "return gone(o, pos, nil, node)",
     "true"},
    {"default by new_local: collection frees it",
     "local node = C.LinkList_ObjectBase_(OB:new_local()) local pos = node:getObj():getPos() "
     "collectgarbage() collectgarbage() "
     "return node:getObj() == nil, raises(function() return pos._x end)",
     "true, true"},
    {"a second add is refused, and killing twice frees once",
     "local o = full('new') M:add(o) o:kill() o:kill() M:remove(o) M:exeRemove() "
     "return raises(function() return o:getId() end)",
     "true"},
    {"effects, gimmicks and traps are the manager's whichever way made",
     "local fx = C.ObjectEffect:new('fx', C.Point(0, 0), C.Color(), C.Point(1, 1)) "
     "local g = C.ObjectGimmick('g', 'tag', C.Point(0, 0), C.Color(), OB.INFO_GIMMICK_FLOOR, "
     "C.Point(1, 1)) "
     "local t = C.ObjectTrap:new_local('t', 'tag', C.Point(0, 0), C.Color(), C.Point(1, 1)) "
     "local refused = 0 for _, o in ipairs{fx, g, t} do if not pcall(o.delete, o) then "
     "refused = refused + 1 end end "
     "collectgarbage() collectgarbage() local live = fx:getId() > 0 and g:getId() > 0 and "
     "t:getId() > 0 "
     "M:clearAll() return refused, live, raises(function() return t:getTag() end)",
     "3, true, true"},
};

const LuaCase kObjectCases[] = {
    {"INFO forms",
     "local I = OB.INFO local a, b, c, d = I(50), I(300), I(30, true, true, true, true), I() "
     "return a._priority, a._walk, b._priority, b._walk, c._data, d._data, I(OB.INFO_ITEM)._data",
     "50, 0, 44, 1, 3870, 0, 3870"},
    {"the standard words",
     "local out = {} for _, n in ipairs{'INFO_PLAYER', 'INFO_NPC', 'INFO_ITEM', 'INFO_TRAP', "
     "'INFO_EFFECT', 'INFO_GIMMICK_FLOOR', 'INFO_GIMMICK_TABLE', 'INFO_GIMMICK_WALL'} do "
     "out[#out + 1] = string.format('%X', OB[n]._data) end "
     "return table.concat(out, ' '), OB.INFO_ITEM._priority, OB.INFO_ITEM._walk, "
     "OB.INFO(0x632)._put, OB.INFO_GIMMICK_WALL._sight, OB.INFO_TRAP._openView",
     "632 628 F1E F0A 73C F14 C15 823, 30, 1, 1, 0, 1"},
    {"INFO bits take the low bits of a number",
     "local i = OB.INFO() i._walk = 3 local a = i._walk i._walk = 2 local b = i._walk "
     "i._priority = 511 i._openView = 1 return a, b, i._priority, i._data",
     "1, 0, 255, 2303"},
    {"an INFO bit refuses a boolean", "local i = OB.INFO() i._walk = true",
     "error: invalid type in variable assignment.\n     value is 'boolean'; 'number' expected.\n"},
    {"a standard word cannot be written", "OB.INFO_ITEM._walk = 0 return OB.INFO_ITEM._walk",
     "error: attempt to assign '_walk' of a const object"},
    {"constants", "return OB.TYPE_NONE, OB.TYPE_GIMMICK, OB.TYPE_EVENT, OB.LINK_OTHER, OB.LINK_MAX",
     "0, 7, 8, 4, 5"},
    {"ids run on; SetNextId sets the next",
     "local a, b = OB(), OB() OB:SetNextId(1000) local c = OB() OB:SetNextId(0) "
     "return b:getId() - a:getId(), c:getId(), OB():getId()",
     "1, 1000, 1"},
    {"names are cut at 32 bytes; nil is empty",
     "local o = OB() o:setName(string.rep('n', 40)) local a = o:getName() o:setName(nil) "
     "return #a, o:getName() == ''",
     "32, true"},
    {"positions, moves and flags",
     "local o = full('call') o:setPos(3, 3) o:addPos(1, -1) local p = o:getPos() local x1, y1 = "
     "p._x, p._y "
     "o:setPos(60, 3) local off = M:getLinkPos(3, 4) == nil and o:getLinkPos():prev() == nil "
     "o:addPos(C.Point(-59, 0)) "
     "return x1, y1, p._x, off, M:getLinkPos(1, 3):getObj() == o, o:isVisible(), o:isDrawField(), "
     "o:getTypeOfLink()",
     "4, 2, 1, true, true, true, true, 2"},
    {"equality is by id",
     "local a = full('call') OB:SetNextId(a:getId()) local b = full('call') return a == b, a == "
     "full('call')",
     "true, false"},
    {"class names",
     "return full('call'):getClassName(), C.ObjectAnim():getClassName(), "
     "C.ObjectEffect('e', C.Point(), C.Color(), C.Point()):getClassName(), "
     "C.ObjectGimmick('g', 't', C.Point(), C.Color(), OB.INFO(), C.Point()):getClassName(), "
     "C.ObjectTrap('t', 't', C.Point(), C.Color(), C.Point()):getClassName()",
     "ObjectBase, ObjectAnim, ObjectEffect, ObjectGimmick, ObjectTrap"},
    {"gimmick and trap values",
     "local g = C.ObjectGimmick('g', 'tag', C.Point(), C.Color(), OB.INFO(), C.Point()) "
     "local t = C.ObjectTrap('t', nil, C.Point(), C.Color(), C.Point()) "
     "g:setWork(7, -5) g:setWork(8, 9) t:setTag(string.rep('x', 40)) "
     "return g:getWork(0), g:getWork(7), g:getWork(8), g:getWork(-1), g:getTag(), #t:getTag(), "
     "t:isVisible(), g:isVisible(), t:getType(), g:getType()",
     "0, -5, 0, 0, tag, 32, false, true, 6, 7"},
    {"setSyncObject hides its object; nil changes nothing",
     "local o = full('call') local fx = C.ObjectEffect('e', C.Point(), C.Color(), C.Point()) "
     "fx:setSyncObject(nil) local a = o:isVisible() fx:setSyncObject(o) "
     "return a, o:isVisible(), fx:isVisible()",
     "true, false, true"},
    {"an effect that ran out shows its object and leaves",
     "local o = full('call') local fx = C.ObjectEffect('e', C.Point(), C.Color(), C.Point()) "
     "fx:setSyncObject(o) fx:addAnimWait(1) local a = fx:updateAnim() M:exeRemove() "
     "return a, o:isVisible(), raises(function() return fx:getId() end)",
     "false, true, true"},
    {"animation steps",
     "local a = C.ObjectAnim() a:addAnimWait(0) local h0 = a:haveAnim() a:addAnimWait(10) "
     "local l1 = a:getAnimLen() a:clearAnim() a:setPos(3, 3) a:addAnimHit(C.Point(1, 0), 5) "
     "local l2 = a:getAnimLen() local p = a:getPos() local x2 = p._x a:clearAnim() "
     "a:addAnimThrow(C.Point(3, -1), 4, true) local l3 = a:getAnimLen() "
     "a:clearAnim() a:addAnimMove(C.Point(0, 1), 8, false) "
     "return h0, l1, l2, x2, l3, p._x, p._y, a:getPos()._y, C.ObjectAnim():updateAnim(), "
     "a:getSkip(), a:getForceDraw()",
     "false, 10, 5, 3, 12, 6, 2, 2, false, true, false"},
    {"the manager's lookups",
     "local m = C.ObjectManager() local root = m:getLinkAllRoot() "
     "return m:getLinkAll(), tolua.type(root), root:getObj(), m:search(5), m:getLinkPos(50, 0), "
     "m:getLinkPosRoot(-1, 3), m:getLinkPosRoot(C.Point(0, 0)) ~= nil, m:getLinkType(7), "
     "m:getLinkTypeRoot(-1), m:getPosChara(0, 0)",
     "nil, LinkList<ObjectBase>, nil, nil, nil, nil, true, nil, nil, nil"},
    {"remove queues; the object stays until exeRemove",
     "local o = full('call') local id = o:getId() M:remove(o) M:remove(o) local still = "
     "M:search(id) == o "
     "M:exeRemove() return still, M:search(id)",
     "true, nil"},
    {"script nodes: insert, walk, remove",
     "local L = C.LinkList_ObjectBase_ local head, a, b = L(), L(full('call', 'a')), "
     "L(full('call', 'b')) "
     "head:insert(a) a:insert(b) local names = head:next():getObj():getName() .. "
     "head:next():next():getObj():getName() "
     "a:remove() local after = head:next() == b and b:prev() == head "
     "b:remove() b:remove() a:insert(a) a:insert(nil) "
     "return names, after, head:next(), b:next(), a:next()",
     "ab, true, nil, nil, nil"},
    {"a collected node leaves its list",
     "local L = C.LinkList_ObjectBase_ local h = L:new() do local n = L() h:insert(n) end "
     "collectgarbage() collectgarbage() local after = h:next() h:delete() return after",
     "nil"},
    {"a head cannot be moved", "local h = M:getLinkAllRoot() h:remove()",
     "error: a list head cannot be removed"},
    {"a head cannot be inserted elsewhere",
     "local n = C.LinkList_ObjectBase_() n:insert(M:getLinkPosRoot(1, 1))",
     "error: a list head cannot be moved"},
    {"the program's nodes cannot be deleted",
     "local o = full('call') local ok1 = pcall(function() o:getLinkAll():delete() end) "
     "local ok2 = pcall(function() M:getLinkAllRoot():delete() end) return ok1, ok2",
     "false, false"},
};

TEST_F(ObjectBindings, OwnershipOfEveryKindOfObject) {
    check(std::begin(kOwnershipCases), std::end(kOwnershipCases));
    EXPECT_EQ(manager_->ownedCount(), 0u);
}

TEST_F(ObjectBindings, ObjectsAnimationsAndTheManager) {
    check(std::begin(kObjectCases), std::end(kObjectCases));
}

TEST_F(ObjectBindings, ListSurgeryIsRefusedAndSavingAndClearingHandleEachObjectOnce) {
    EXPECT_EQ(
        lua_runner::run(host_.state(),
                        "local a, b, c = full('call', 'a'), full('call', 'b'), full('call', 'c') "
                        "local out = {} local function try(f) local ok, err = pcall(f) "
                        "out[#out + 1] = (string.gsub(err, '^snippet:%d+: ', '')) end "
                        "try(function() M:getLinkPosRoot(9, 9):insert(a:getLinkAll()) end) "
                        "try(function() M:getLinkAllRoot():insert(b:getLinkPos()) end) "
                        "try(function() b:getLinkType():remove() end) "
                        "keep = C.LinkList_ObjectBase_(c) "
                        "try(function() M:getLinkAllRoot():insert(keep) end) "
                        "try(function() M:getLinkAllRoot():remove() end) "
                        "return table.concat(out, '; ')"),
        "an object's own list node cannot be moved; an object's own list node cannot be "
        "moved; an object's own list node cannot be removed; a node a script made cannot "
        "join a list of the program; a list head cannot be removed");
    ASSERT_TRUE(write(103, false));
    manager_->clearAll();
    EXPECT_EQ(recorder_.deleted.size(), 3u);
    EXPECT_EQ(lua_runner::run(host_.state(), "local o = keep:getObj() keep = nil return o"), "nil");
    ASSERT_TRUE(read(103));
    std::string names;
    for (ObjectBase* o : *manager_->getLinkAllRoot()) names += o ? o->getName() : "-";
    EXPECT_EQ(names, "cba") << "each object once, in its place";
}

}  // namespace
