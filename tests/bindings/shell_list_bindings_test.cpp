// The game's lists, status view and cursor through the real bindings: every
// method, the overloads, the getters, and handles kept past what they name.
#include <gtest/gtest.h>

#include <string>

#include "bindings/script_bindings.h"
#include "engine/script/sys_lua.h"
#include "game/shell/ui/task_item_list.h"
#include "tests/bindings/lua_runner.h"
#include "tests/game/shell/ui/shell_fixture.h"
#include "tests/game/world/item_fixture.h"

namespace {

class ShellListBindings : public shell_test::ShellFixture {
protected:
    void SetUp() override {
        shell_test::ShellFixture::SetUp();
        GameData::instance().getObjectManager()->clearAll();
        std::array<char, kLoadMessageSize> message{};
        const std::string path = scratch_.file("items.dat");
        writeScrambledTable(path, kItemHeader + itemRow(2) + itemRow(5, {{C_STOCK, "1"}}));
        ASSERT_TRUE(ItemFactory::instance().loadFile(message, path)) << message.data();
        ASSERT_TRUE(host_.init());
        std::string error;
        ASSERT_EQ(openScriptBindings(host_.state(), &error), 1) << error;
        ASSERT_TRUE(host_.runBuffer(lua_runner::kRunner, 0, "runner")) << host_.lastError();
    }
    void TearDown() override {
        GameData::instance().getObjectManager()->clearAll();
        shell_test::ShellFixture::TearDown();
        ItemFactory::instance().clear();
    }
    std::string run(const char* chunk) { return lua_runner::run(host_.state(), chunk); }

    qel::SysLua host_;
};

TEST_F(ShellListBindings, TheItemListThroughEveryMethod) {
    EXPECT_EQ(run("return C_GetItemList()"), "nil") << "no game scene";
    ASSERT_NE(TaskItemList::create(nullptr), nullptr);
    frame();
    const lua_runner::LuaCase cases[] = {
        {"getter", "return rawequal(C_GetItemList(), C_GetItemList()), tolua.type(C_GetItemList())",
         "true, TaskItemList"},
        {"fill",
         "local l = C_GetItemList()\n"
         "a = C_CreateItem(2); b = C_CreateItem(5); c = C_CreateItem(5)\n"
         "l:addItem(a); l:addItem(b); l:addItem(nil)\n"
         "local bag = C.LinkList_ObjectItem_(c)\n"
         "l:setList(bag); l:setList(bag)\n"
         "return l:getItem(0) == a, l:getItem(3) == c, l:getItem(4), l:getItem(-1), "
         "l:removeItem(3), l:removeItem(3), l:removeItem(-1)",
         "true, true, nil, nil, true, false, false"},
        {"objects",
         "local l = C.TaskItemList:new_local()\n"
         "local ok = l:setList(C_GetObjectManager():getLinkAll())\n"
         "local first = l:getItem(0)\n"
         "return ok, first ~= nil, l:setList(nil)",
         "true, true, false"},
        {"open and choose",
         "local l = C_GetItemList()\n"
         "l:setOption('shop'); l:setDrawCursor(nil)\n"
         "l:open(true, false)\n"
         "local opened = l:isOpen()\n"
         "l:toggleSelect(0); l:toggleSelect(1); l:toggleSelect(9)\n"
         "local cmd = C.Command()\n"
         "local got = l:getSelectedItem(cmd)\n"
         "l:setAllSelect(true)\n"
         "local all = C.Command(); l:getSelectedItem(all)\n"
         "return opened, got, cmd:getItemNum(), all:getItemNum(), l:getCurIndex(), "
         "l:isSelect(), l:isCancel(), l:getItem(1):getStock()",
         "true, true, 2, 2, 0, false, false, 2"},
        {"stop, start, close",
         "local l = C_GetItemList()\n"
         "l:stop()\n"
         "local none = C.Command(); l:getSelectedItem(none)\n"
         "local open = l:isOpen()\n"
         "l:start(); l:close()\n"
         "return none:getItemNum(), open, l:isOpen(), l:getItem(0), l:reload()",
         "0, true, false, nil, true"},
        {"script-made", "local l = C.TaskItemList:new(); l:addItem(a); l:delete(); return 1", "1"},
        {"the game's cannot be deleted",
         "local ok = pcall(function() C_GetItemList():delete() end); return ok", "false"},
    };
    for (const lua_runner::LuaCase& c : cases) EXPECT_EQ(run(c.chunk), c.expected) << c.name;
    EXPECT_EQ(TaskItemList::current()->option(), "default") << "close forgets the option";
}

TEST_F(ShellListBindings, AListedItemThatIsDeletedLeavesTheList) {
    ASSERT_NE(TaskItemList::create(nullptr), nullptr);
    frame();
    ASSERT_EQ(
        run("l = C_GetItemList(); x = C_CreateItem(2); l:addItem(x); l:addItem(C_CreateItem(2))\n"
            "l:open(false, false); return l:getItem(1) ~= nil"),
        "true");
    ObjectItem* first = TaskItemList::current()->getItem(0);
    ASSERT_NE(first, nullptr);
    GameData::instance().getObjectManager()->remove(first);
    GameData::instance().getObjectManager()->exeRemove();
    frame();
    EXPECT_EQ(run("return l:getItem(1), l:getItem(0) ~= nil"), "nil, true");
    TaskItemList::current()->kill();
    frame();
    frame();
    EXPECT_EQ(run("return C_GetItemList()"), "nil");
    EXPECT_EQ(run("return (pcall(function() return l:getItem(0) end))"), "false")
        << "a handle kept past the list reads as deleted";
}

}  // namespace
