// The game's lists, status view and cursor through the real bindings: every
// method, the overloads, the getters, and handles kept past what they name.
#include <gtest/gtest.h>

#include <string>

#include "bindings/script_bindings.h"
#include "engine/render/sys_render_text.h"
#include "engine/script/sys_lua.h"
#include "game/shell/ui/task_anima_list.h"
#include "game/shell/ui/task_cursor.h"
#include "game/shell/ui/task_direction.h"
#include "game/shell/ui/task_item_list.h"
#include "game/shell/ui/task_status_view.h"
#include "game/world/anima_list.h"
#include "game/world/object_player.h"
#include "game/world/world.h"
#include "tests/bindings/lua_runner.h"
#include "tests/game/shell/ui/golden.h"
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
        ASSERT_TRUE(host().init());
        std::string error;
        ASSERT_EQ(openScriptBindings(host().state(), &error), 1) << error;
        ASSERT_TRUE(host().runBuffer(lua_runner::kRunner, 0, "runner")) << host().lastError();
    }
    void TearDown() override {
        run("collectgarbage()");
        GameData::instance().setPlayer(nullptr);
        GameData::instance().getObjectManager()->clearAll();
        shell_test::ShellFixture::TearDown();
        ItemFactory::instance().clear();
        host().close();
    }
    std::string run(const char* chunk) { return lua_runner::run(host().state(), chunk); }
    static qel::SysLua& host() { return qel::SysLua::instance(); }
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

TEST_F(ShellListBindings, TheStatusPanelIsDrawnByTheScriptOncePerChange) {
    useChipSheet();
    ICON_WIDTH = 4;
    ICON_HEIGHT = 2;
    STATUS_VIEW_X = 10;
    STATUS_VIEW_Y = 20;
    STATUS_VIEW_WIDTH = 8;
    STATUS_VIEW_HEIGHT = 4;
    ASSERT_EQ(run("calls = 0\n"
                  "function DrawStatusView(player, panel)\n"
                  "  calls = calls + 1; seen = tolua.type(player) .. ' ' .. tolua.type(panel)\n"
                  "  panel:drawChip(1, 1, nil, nil)\n"
                  "  panel:drawChip(5, 0, C.Point(1, 0), C.Color(0, 255, 0))\n"
                  "  panel:drawText(0, 0, 'x', nil); panel:drawText('y', nil)\n"
                  "end\n"
                  "return 1"),
              "1");
    EXPECT_EQ(run("C_Redraw(); return calls"), "0") << "no panel: nothing";
    TaskStatusView* view = TaskStatusView::create(nullptr);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(TaskStatusView::create(nullptr), nullptr) << "one game panel";
    frame();
    frame();
    EXPECT_EQ(run("return calls"), "0") << "no player: drawn from its last contents";

    auto* player = new ObjectPlayer("hero", Point(0, 0), Color::WHITE, Race(), Status());
    GameData::instance().setPlayer(player);
    frame();
    EXPECT_EQ(run("return calls, seen"), "1, ObjectPlayer TaskStatusView");
    frame();
    EXPECT_EQ(run("return calls"), "1") << "no change";
    player->setUpdate(true);
    player->setUpdate(true);
    frame();
    EXPECT_EQ(run("return calls"), "2") << "several changes in a frame: one call";
    EXPECT_FALSE(player->getUpdate());
    EXPECT_EQ(run("C_Redraw(); C_Redraw(); return calls"), "2");
    frame();
    EXPECT_EQ(run("return calls"), "3");
    // The chips land in the cleared panel, scaled to the icon size and so
    // filtered: their edges blend (the text is drawn by font 1, which this
    // test does not make).
    EXPECT_EQ(picture(*view->target()->getTarget()->getSurface(), 0, 0, 8, 4),
              "??????GG\n"
              "?RRR??GG\n"
              "?RRR????\n"
              "????????\n");
    EXPECT_EQ(device_->backBuffer().argb(11, 21), 0xFFFF0000u) << "shown at its place";

    EXPECT_EQ(run("local v = C.TaskStatusView:new_local(); v:redraw(); v:drawText('a', nil)\n"
                  "return pcall(function() C_GetPlayer() ; return 1 end)"),
              "true, 1");
    view->kill();
    frame();
    frame();
    EXPECT_EQ(TaskStatusView::find(), nullptr);
    EXPECT_EQ(run("C_Redraw(); return calls"), "3");
}

TEST_F(ShellListBindings, ThePictureOfAPanelDrawnByTheScript) {
    useChipSheet();
    ICON_WIDTH = 4;
    ICON_HEIGHT = 4;
    STATUS_VIEW_WIDTH = 64;
    STATUS_VIEW_HEIGHT = 28;
    ASSERT_TRUE(qel::SysRenderText::instance().createFont(FONT_NAME, 1, 12, 6, 0, false));
    ASSERT_EQ(run("function DrawStatusView(player, panel)\n"
                  "  panel:drawChip(1, 2, C.Point(0, 0), nil)\n"
                  "  panel:drawChip(1, 8, C.Point(1, 0), C.Color(255, 255, 0))\n"
                  "  panel:drawText(8, 1, 'HP', C.Color(255, 255, 0))\n"
                  "  panel:drawText(' 12/30', nil)\n"
                  "  panel:drawText(8, 14, player:getName(), C.Color(128, 200, 255))\n"
                  "end\n"
                  "return 1"),
              "1");
    ASSERT_NE(TaskStatusView::create(nullptr), nullptr);
    auto* player = new ObjectPlayer("hero", Point(0, 0), Color::WHITE, Race(), Status());
    GameData::instance().setPlayer(player);
    frame();
    frame();
    EXPECT_TRUE(golden::matches(*TaskStatusView::find()->target()->getTarget()->getSurface(), 0, 0,
                                64, 28, "status_view"));
}

TEST_F(ShellListBindings, TheCursorTheRingAndTheCancelKey) {
    EXPECT_EQ(run("return C_GetCursor()"), "nil");
    auto* player = new ObjectPlayer("hero", Point(0, 0), Color::WHITE, Race(), Status());
    player->setPos(4, 5);
    GameData::instance().setPlayer(player);
    ASSERT_NE(TaskCursor::create(nullptr, player), nullptr);
    frame();
    const lua_runner::LuaCase cases[] = {
        {"constants", "return C.TaskCursor.OFF, C.TaskCursor.ON, C.TaskCursor.BLINK", "0, 1, 2"},
        {"follows the player",
         "local c = C_GetCursor()\n"
         "return rawequal(c, C_GetCursor()), c:getChara() == C_GetPlayer(), c:getState()",
         "true, true, 2"},
        {"position",
         "local c = C_GetCursor()\n"
         "c:setPos(C.Point(7, 8)); local p = c:getPos()\n"
         "local x, y = p._x, p._y\n"
         "c:setPos(nil)\n"
         "return x, y, c:getChara(), c:getPos()._x",
         "7, 8, nil, 7"},
        {"chara then state",
         "local c = C_GetCursor()\n"
         "c:setChara(C_GetPlayer()); c:setFrame(3); c:setFrame(); c:setState(C.TaskCursor.ON)\n"
         "local on = c:getState(); c:setChara(nil)\n"
         "return on, c:getChara(), c:getPos()._x",
         "1, nil, 7"},
        {"the ring once", "C_DispDirection(true); C_DispDirection(true); return 1", "1"},
        {"cancel", "return C_PushCancel()", "false"},
    };
    for (const lua_runner::LuaCase& c : cases) EXPECT_EQ(run(c.chunk), c.expected) << c.name;
    EXPECT_EQ(TaskCursor::find()->getPhase(), 0);
    frame();
    ASSERT_NE(TaskDirection::find(), nullptr);
    EXPECT_EQ(TaskDirection::find()->getFollowed(), player);
    EXPECT_EQ(qel::Register<TaskDirection>::instance().keyCount(), 1u);
    SE_CANCEL = "cancel.ogg";
    frame({46});
    EXPECT_EQ(run("return C_PushCancel(), C_PushCancel()"), "true, true") << "the frame's press";
    EXPECT_EQ(takeSounds(), "cancel.ogg") << "the manager plays a sound once a frame";
    frame({46});
    EXPECT_EQ(run("return C_PushCancel()"), "false") << "held, not pressed again";
    EXPECT_EQ(run("C_DispDirection(false); C_DispDirection(); return 1"), "1");
    frame();
    frame();
    EXPECT_EQ(TaskDirection::find(), nullptr);

    // The followed player goes: the cursor lets go and keeps its cell.
    ASSERT_EQ(run("C_GetCursor():setChara(C_GetPlayer()); return 1"), "1");
    frame();
    GameData::instance().getObjectManager()->remove(player);
    GameData::instance().getObjectManager()->exeRemove();
    frame();
    EXPECT_EQ(run("local c = C_GetCursor(); return c:getChara(), c:getPos()._x, c:getPos()._y"),
              "nil, 4, 5");
}

TEST_F(ShellListBindings, TheAnimaListThroughEveryMethodRefilledByItsGetter) {
    std::array<char, kLoadMessageSize> message{};
    const std::string path = scratch_.file("anima.dat");
    writeScrambledTable(path,
                        "id,no,tag,rarity,level,drop,select\n"
                        "5,1,fire,3,5,10,1,\n2,2,ice,1,1,0,1,\n");
    ASSERT_TRUE(AnimaList::instance().load(message, path)) << message.data();
    World& world = *GameData::instance().getWorld();
    world.addAnima(5);
    EXPECT_EQ(run("return C_GetAnimaList()"), "nil") << "no game scene";
    ASSERT_NE(TaskAnimaList::create(nullptr), nullptr);
    frame();
    const lua_runner::LuaCase cases[] = {
        {"getter fills",
         "local l = C_GetAnimaList()\n"
         "return rawequal(l, C_GetAnimaList()), l:getAnima(0):tag(), l:getAnima(1):tag(), "
         "l:getAnima(2), l:getAnima(-1), l:getPageMax(), l:getPage()",
         "true, fire, ice, nil, nil, 1, 0"},
        {"one choice",
         "local l = C_GetAnimaList()\n"
         "l:open(); local opened = l:isOpen()\n"
         "l:toggleSelect(1); local unknown = l:getSelNum()\n"
         "l:toggleSelect(0); l:toggleSelect(9)\n"
         "return opened, unknown, l:getSelNum(), l:getSelAnima():tag(), l:getSelAnima(1), "
         "l:getCurAnima():tag(), l:getCurIndex(), l:isSelect(), l:isCancel(), "
         "l:toggleSelect(0)",
         "true, 0, 1, fire, nil, fire, 0, false, false"},
        {"refilled",
         "C_SetAnima(2, true)\n"
         "local l = C_GetAnimaList()\n"
         "l:open(2, false); l:toggleSelect(0); l:toggleSelect(1)\n"
         "return l:getSelNum(), l:getAnima(2)",
         "2, nil"},
        {"paging and the rest",
         "local l = C_GetAnimaList()\n"
         "l:setPage(5); l:pageNext(); l:pagePrev()\n"
         "l:addAnima(C_GetAnima(2), nil); l:addAnima(nil, true)\n"
         "local count = l:getAnima(2):tag()\n"
         "local removed, outside = l:removeAnima(2), l:removeAnima(2)\n"
         "l:stop(); local still = l:isOpen(); l:start(); l:setDrawCursor(false)\n"
         "local reloaded = l:reload()\n"
         "l:close()\n"
         "return l:getPage(), count, removed, outside, still, reloaded, l:isOpen(), "
         "l:getAnima(0), l:setList(nil), l:setList(C_GetWorld()), l:getAnima(1):tag()",
         "0, ice, true, false, true, true, false, nil, false, true, ice"},
        {"script-made",
         "local l = C.TaskAnimaList:new_local(); l:removeAll(); "
         "local m = C.TaskAnimaList(); local n = C.TaskAnimaList:new(); n:delete(); return 1",
         "1"},
        {"the game's cannot be deleted", "return (pcall(function() C_GetAnimaList():delete() end))",
         "false"},
    };
    for (const lua_runner::LuaCase& c : cases) EXPECT_EQ(run(c.chunk), c.expected) << c.name;
    run("collectgarbage()");
    TaskAnimaList::current()->kill();
    frame();
    frame();
    EXPECT_EQ(run("return C_GetAnimaList()"), "nil");
    for (std::uint32_t id : std::set<std::uint32_t>(world.animaSet())) world.removeAnima(id);
    AnimaList::instance().clear();
}

}  // namespace
