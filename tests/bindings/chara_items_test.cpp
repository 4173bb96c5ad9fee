// Items on characters as scripts see them: an equipped item's skill puts a
// script decorator on the chain through AddDecorator and takes it off
// through RemoveDecorator, once per change of its sources, under the
// sanitizers; the chain calls the game's Lua host, so the round runs on it.
#include <gtest/gtest.h>

#include <string>

#include "bindings/script_bindings.h"
#include "engine/script/sys_lua.h"
#include "game/data/skill.h"
#include "game/data/skill_list.h"
#include "tests/bindings/lua_runner.h"
#include "tests/game/world/item_fixture.h"

namespace {

class CharaItems : public ItemFixture {
protected:
    void SetUp() override {
        ItemFixture::SetUp();
        ASSERT_TRUE(loadItems(itemRow(1, {{C_TYPE, "1"}, {C_WEIGHT, "5"}, {C_SKILL, "Sword"}}) +
                              itemRow(2, {{C_TYPE, "2"}, {C_WEIGHT, "9"}})))
            << message_.data();
        SkillList::instance().clear();
        ASSERT_TRUE(SkillList::instance().add(new Skill("Sword", "SwordDeco", 0)));
        ASSERT_TRUE(SkillList::instance().add(new Skill("DoubleWeapon", "TwoDeco", 0)));
        ASSERT_TRUE(lua().init());
        std::string error;
        ASSERT_EQ(openScriptBindings(L(), &error), 1) << error;
        ASSERT_TRUE(lua().runBuffer(lua_runner::kRunner, 0, "runner")) << lua().lastError();
        ASSERT_TRUE(lua().runBuffer(R"lua(
            F = C_GetItemFactory()
            log = {}
            decos = {}
            function AddDecorator(c, class, name)
                log[#log + 1] = 'add ' .. class .. ' ' .. name
                decos[name] = C.CreateDecoLua()
                c:addDecorator(decos[name])
            end
            function RemoveDecorator(c, class, name)
                log[#log + 1] = 'remove ' .. class .. ' ' .. name
                c:removeDecorator(decos[name])
                decos[name] = nil
            end
            function RemoveAllDecorator(c) log[#log + 1] = 'gone' end
            function take() local r = table.concat(log, '; ') log = {} return r end
        )lua",
                                    0, "helpers"))
            << lua().lastError();
    }
    void TearDown() override {
        lua_runner::run(L(), "decos = nil collectgarbage() collectgarbage()");
        ItemFixture::TearDown();
        SkillList::instance().clear();
        lua().close();
    }
    static qel::SysLua& lua() { return qel::SysLua::instance(); }
    static lua_State* L() { return lua().state(); }
};

TEST_F(CharaItems, AnEquippedItemsSkillBringsADecorator) {
    const lua_runner::LuaCase cases[] = {
        {"equip, a second source, off again",
         "local c = C.ObjectChara:new_local() local a, b = F:createId(1), F:createId(1) "
         "c:addItem(a) c:addItem(b, false) c:equip(a) local one = take() "
         "local linked = c:searchDecoId(0) ~= nil "
         "b:setSubSkillTag('Sword') c:equip(b, 9) local two = take() "
         "c:desarm(0) local three = take() c:desarm(b) "
         "return one, linked, two, three, take(), c:searchDecoId(0), c:getItemNum()",
         "add SwordDeco Sword, true, , , remove SwordDeco Sword; gone, nil, 2"},
        {"a two-handed weapon frees the left hand; slots by number",
         "local c = C.ObjectChara:new_local() local a, g = F:createId(1), F:createId(2) "
         "c:equip(a, 1) local left = take() c:equip(g) "
         "return left, take(), c:getEquip(1), tolua.type(c:getEquip(0)), c:equip(g, 10), "
         "c:getEquip(10)",
         "add TwoDeco DoubleWeapon, remove TwoDeco DoubleWeapon; gone, nil, ObjectItem, false, "
         "nil"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(lua_runner::run(L(), c.chunk), c.expected) << "case: " << c.name;
    }
}

}  // namespace
