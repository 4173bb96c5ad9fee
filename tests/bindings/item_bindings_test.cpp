// The item bindings as scripts see them: the factory reached through
// C_GetItemFactory, kinds, names, materials and item objects, and a whole
// scripted round under the sanitizers ending in the deleted-object error.
#include <gtest/gtest.h>

#include <string>

#include "bindings/script_bindings.h"
#include "engine/script/sys_lua.h"
#include "tests/bindings/lua_runner.h"
#include "tests/game/world/item_fixture.h"

namespace {

using lua_runner::LuaCase;

class ItemBindings : public ItemFixture {
protected:
    void SetUp() override {
        ItemFixture::SetUp();
        ASSERT_TRUE(loadItems(itemRow(1, {{C_STOCK, "1"},
                                          {C_MAX_STOCK, "1"},
                                          {C_PER_PICK, "2"},
                                          {C_IDENTIFY, "0"},
                                          {C_NAME_TYPE, "potion"},
                                          {C_MATERIAL, "i"}}) +
                              itemRow(2, {{C_TYPE, "16"},
                                          {C_WEIGHT, "3"},
                                          {C_PER_PICK, "1"},
                                          {C_GROUP, "2"},
                                          {C_MATERIAL, "w"}})))
            << message_.data();
        ASSERT_TRUE(loadNames("1,potion,0x0000FF,赤い薬,-,\n"));
        ASSERT_TRUE(host_.init());
        std::string error;
        ASSERT_EQ(openScriptBindings(host_.state(), &error), 1) << error;
        ASSERT_TRUE(host_.runBuffer(lua_runner::kRunner, 0, "runner")) << host_.lastError();
        ASSERT_TRUE(
            host_.runBuffer("F = C_GetItemFactory() "
                            "function raises(f) local ok, err = pcall(f) "
                            "return not ok and string.find(err, 'deleted object', 1, "
                            "true) ~= nil end",
                            0, "helpers"))
            << host_.lastError();
    }
    void TearDown() override {
        lua_gc(host_.state(), LUA_GCCOLLECT, 0);
        ItemFixture::TearDown();
    }
    void check(const LuaCase* begin, const LuaCase* end) {
        for (const LuaCase* c = begin; c != end; ++c) {
            EXPECT_EQ(lua_runner::run(host_.state(), c->chunk), c->expected) << "case: " << c->name;
        }
    }

    qel::SysLua host_;
};

const LuaCase kCases[] = {
    {"a table outside 0..3 gives nil", "return F:createGroup(4), F:createGroup(-1, 1)", "nil, nil"},
    {"index -1 gives nil", "return F:getBaseIndex(-1), F:getBaseIndex(0):id()", "nil, 1"},
    {"unknown id gives nil", "return F:createId(99)", "nil"},
    {"nil for a text the factory reads as a view is the empty text",
     "return F:createId(1, nil):getBaseId(), F:createName(nil), F:getBase(nil), "
     "F:createName('item2', nil):getBaseId()",
     "1, nil, nil, 2"},
    {"dice of the kind and the item",
     "local it = F:createId(1) "
     "return it:getDamageDice():getDice(), F:getBaseId(1):damageDice():getNum()",
     "6, 1"},
    {"kind fields",
     "local b = F:getBase('item2') return b:type(), b:weight(), b:createPer(1), "
     "b:createPer(7), b:name()",
     "16, 3, 1, 0, item2"},
    {"materials: non-empty sets are equal",
     "local i, w = F:getBaseId(1):material(), F:getBaseId(2):material() "
     "return i == w, i:bitAnd(w), i:bitOr(w), i._iron, i._wood, C.ItemMaterial(0) == i",
     "true, 0, 1152, true, false, false"},
    {"a material's word and bits",
     "local m = C.ItemMaterial(65535) local v = m._val m._val = 65536 "
     "local cleared = not m._herb and not m._stone m._glass = true return v, cleared, m._val",
     "65535, true, 73728"},
    {"names through the kind",
     "local n = F:getBaseId(1):getItemName() n:toAssumed('苦い') "
     "local a = n:getName(true) n:toAssumed(nil) "
     "return a, n:getState(), n:getName() == n:getFalseName()",
     "苦い, 1, true"},
    {"state bits",
     "local it = F:createId(1) it:setShop(true) "
     "return it:isShop(), it:getStock(), it:getClassName(), it:setBurst(true)",
     "true, 1, ObjectItem, 2"},
    {"a raw list insert cannot put a bag inside what it holds",
     "local outer, bag, inner = F:createId(2), F:createId(2), F:createId(2) "
     "outer:putInventory(bag) bag:putInventory(inner) inner:putInventory(F:createId(1)) "
     "local ok, err = pcall(function() inner:getInventory():insert(outer:getInventory()) end) "
     "return ok, string.find(err, 'own list node cannot be moved', 1, true) ~= nil, "
     "outer:getInventoryCount(), bag:getTotalWeight()",
     "false, true, 1, 7"},
    {"nil where an object is wanted",
     "local it = F:createId(1) local m = C.ItemMaterial(C.ItemMaterial(1024)) "
     "F:getBaseId(1):getItemName():setColor(nil) "
     "return it:put(nil), F:createClone(nil), it:isSame(nil), it:marge(nil), "
     "C.ItemMaterial(nil)._val, m._val, m:bitAnd(nil), F:createClone(it):getStock()",
     "false, nil, false, false, 0, 1024, 0, 1"},
    {"a kindless item answers 0",
     "local it = C.ObjectItem:new_local() "
     "return it:getSell(), it:setStock(4), it:getDenom(), "
     "it:getInventory()",
     "0, false, , nil"},
};

TEST_F(ItemBindings, Cases) {
    check(std::begin(kCases), std::end(kCases));
}

TEST_F(ItemBindings, AScriptedRoundEndsWithDeletedItems) {
    ASSERT_TRUE(host_.runBuffer(
        "F:setPickGroupPer(1, 1) F:setPickGroupPer(2, 0) "
        "potion = F:createPick() "
        "assert(potion and potion:getBaseId() == 1, 'picked the potion') "
        "bag = F:createPick(2) "
        "assert(bag:isInventory(), 'a named group is drawn') "
        "assert(bag:put(3, 4), 'placed') "
        "bag:putInventory(potion) "
        "assert(bag:getInventoryCount() == 1 and bag:getInventory():getObj() == potion) "
        "assert(not potion:isDroped() and not potion:isVisible()) "
        "assert(potion:getPos()._x == 3 and potion:getPos()._y == 4, 'follows its bag') "
        "F:resetName() "
        "assert(potion:getItemName():getName() == '赤い薬', 'dealt a false name') "
        "assert(potion:setIdentify(true) == C.ObjectItem.RES_SUCCESS) "
        "assert(F:getBaseId(1):name() == 'item1', 'the kind is known') "
        "node = potion:getInventory() "
        "potion:kill() bag:kill()",
        0, "round"))
        << host_.lastError();
    manager_->exeRemove();
    EXPECT_EQ(lua_runner::run(host_.state(),
                              "return raises(function() return potion:getStock() end), "
                              "raises(function() return bag:getTotalWeight() end)"),
              "true, true");
}

}  // namespace
