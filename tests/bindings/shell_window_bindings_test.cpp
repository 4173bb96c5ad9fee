// Menus and drawing windows through the real bindings: every method, the
// overloads of addItem, clear and drawText, C_GetMenu and C_GetWindow with
// their reuse and their refusals, and a handle kept past its window.
#include <gtest/gtest.h>

#include <string>

#include "bindings/script_bindings.h"
#include "engine/input/input_ime.h"
#include "engine/script/sys_lua.h"
#include "game/shell/ui/task_menu.h"
#include "game/shell/ui/task_message_log.h"
#include "game/shell/ui/task_window.h"
#include "tests/bindings/lua_runner.h"
#include "tests/game/shell/ui/shell_fixture.h"

namespace {

class ShellBindings : public shell_test::ShellFixture {
protected:
    void SetUp() override {
        shell_test::ShellFixture::SetUp();
        ASSERT_TRUE(host_.init());
        std::string error;
        ASSERT_EQ(openScriptBindings(host_.state(), &error), 1) << error;
        ASSERT_TRUE(host_.runBuffer(lua_runner::kRunner, 0, "runner")) << host_.lastError();
    }
    void TearDown() override { shell_test::ShellFixture::TearDown(); }
    std::string run(const char* chunk) { return lua_runner::run(host_.state(), chunk); }

    qel::SysLua host_;
};

TEST_F(ShellBindings, MenusAreReachedByNumberAndFilledThroughEveryForm) {
    const lua_runner::LuaCase cases[] = {
        {"outside", "return C_GetMenu(4), C_GetMenu(-1)", "nil, nil"},
        {"reuse", "return rawequal(C_GetMenu(0), C_GetMenu(0)), C_GetMenu(0):size()", "true, 0"},
        {"forms",
         "local m = C_GetMenu(0)\n"
         "m:addItem(65, 'a', 'A')\n"
         "m:addItem(66, 'b', 'B', C.Color(255, 0, 0))\n"
         "m:addItem(67, 'ignored', 'c', 'C')\n"
         "m:addItem(68, 'ignored', 'd', 'D', nil)\n"
         "m:addItem(69, nil, 'E')\n"
         "return m:size(), m:getSelTag(), m:getCurTag()",
         "4, , a"},
        {"paging",
         "local m = C_GetMenu(1)\n"
         "for i = 1, 25 do m:addItem(0, 't' .. i, 'x') end\n"
         "m:setDrawParam(10, 20, 300, 100, 10)\n"
         "local pages = m:getPageMax()\n"
         "m:pagePrev()\n"
         "local last = m:getPage()\n"
         "m:pageNext(); m:setPage(4)\n"
         "m:setCursor(2)\n"
         "return pages, last, m:getPage(), m:getCurIndex(), m:getCurTag()",
         "3, 2, 1, 12, t13"},
        {"open and close",
         "local m = C_GetMenu(2)\n"
         "m:setTag('caption'); m:addItem(0, 'a', 'A')\n"
         "m:setEnableCancel(false); m:setEnableLoop(nil); m:setCursorDraw(false)\n"
         "m:open(false)\n"
         "local opened = m:isOpen()\n"
         "m:stop()\n"
         "local stopped = m:isOpen()\n"
         "m:start()\n"
         "local selecting = m:isSelect() or m:isCancel()\n"
         "m:close()\n"
         "return opened, stopped, selecting, m:isOpen(), m:size(), m:getCurTag(), "
         "m:getSelIndex()",
         "true, true, false, false, 1, a, 0"},  // closing only hides
        {"empty menu", "local m = C_GetMenu(3); m:setCursorDraw(true); return m:getCurTag()",
         "nil"},
    };
    for (const lua_runner::LuaCase& c : cases) EXPECT_EQ(run(c.chunk), c.expected) << c.name;
    const TaskMenu* menu = TaskMenu::find(0);
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->entries().size(), 4u);
    EXPECT_FALSE(menu->entries()[0].shift);
    EXPECT_EQ(menu->entries()[1].colour.argb(), 0xFFFF0000u);
    EXPECT_TRUE(menu->entries()[2].shift);
    EXPECT_EQ(menu->entries()[2].tag, "c");
    EXPECT_EQ(menu->entries()[3].colour.argb(), Color::WHITE.argb()) << "nil colour is white";
}

TEST_F(ShellBindings, WindowsDrawThroughEveryMethod) {
    FONT_WIDTH = 8;
    WINDOW_LEFT_SPACE = 4;
    WINDOW_RIGHT_SPACE = 4;
    WINDOW_TEX_SIZE[1] = Point(20, 10);
    const lua_runner::LuaCase cases[] = {
        {"outside", "return C_GetWindow(4), C_GetWindow(-1)", "nil, nil"},
        {"sizes", "local w = C_GetWindow(1); return w:calWidth(10), w:calHeight(1)", "88, 16"},
        {"draws",
         "local w = C_GetWindow(1)\n"
         "w:setDrawParam(1.5, 2, 260, 20, 10)\n"
         "w:clear(); w:clear(nil); w:clear(C.Color(0, 0, 255))\n"
         "w:drawText(1, 2, 'a', nil); w:drawText(1, 2, 'a', C.Color(1, 2, 3), 0)\n"
         "w:drawText('b', nil); w:drawText('b', nil, 1)\n"
         "w:drawLine(0, 0, 3, 3, nil); w:drawRect(1, 1, 4, 4, nil); w:drawFrame(nil)\n"
         "w:drawChip(0, 0, nil, nil); w:drawChip(2, 3, C.Point(1, 1), C.Color(0, 255, 0))\n"
         "w:open()\n"
         "return rawequal(w, C_GetWindow(1))",
         "true"},
    };
    for (const lua_runner::LuaCase& c : cases) EXPECT_EQ(run(c.chunk), c.expected) << c.name;
    TaskWindow* window = TaskWindow::find(1);
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(window->isOpen()) << "C_GetWindow hides a window it hands out again";
    EXPECT_EQ(window->layer(), 4.0f);
    EXPECT_EQ(window->x(), 1.5f);
    frame();
    EXPECT_EQ(window->target()->getTarget()->getSurface()->argb(18, 1), 0xFF0000FFu);
}

TEST_F(ShellBindings, AHandleKeptPastItsWindowReadsAsDeleted) {
    ASSERT_EQ(run("held = C_GetWindow(0); heldMenu = C_GetMenu(0); return held ~= nil"), "true");
    TaskWindow::find(0)->kill();
    TaskMenu::find(0)->kill();
    frame();
    frame();
    EXPECT_EQ(run("held:open()"), "error: attempt to use a deleted object");
    EXPECT_EQ(run("heldMenu:open()"), "error: attempt to use a deleted object");
    EXPECT_EQ(run("return rawequal(held, C_GetWindow(0))"), "false");
    EXPECT_EQ(run("return C.TaskWindow.new, C.TaskMenu.new, C.TaskMenu.delete"), "nil, nil, nil");
}

TEST_F(ShellBindings, TheNameEntryOpensReadsAndCloses) {
    const lua_runner::LuaCase cases[] = {
        {"reuse", "return rawequal(C_GetIME(), C_GetIME())", "true"},
        {"open",
         "local n = C_GetIME()\n"
         "n:setTag('名前'); n:setDrawParam(10, 20, 300, 200)\n"
         "n:open(string.rep('a', 200), false, nil)\n"
         "return n:getInput()",
         ""},
        {"defaults", "local n = C_GetIME(); n:open(); n:open(nil, nil); return n:getInput()", ""},
    };
    for (const lua_runner::LuaCase& c : cases) EXPECT_EQ(run(c.chunk), c.expected) << c.name;
    qel::InputIME& ime = qel::InputIME::instance();
    EXPECT_TRUE(ime.isActive());
    ime.commit("ナマエ");
    ime.key(qel::InputIME::kEnter);
    ime.update();
    EXPECT_EQ(run("return C_GetIME():getInput(), C_GetIME():getInput()"), "ナマエ, ");
    EXPECT_EQ(run("C_GetIME():close(); return C.TaskName.new"), "nil");
    EXPECT_FALSE(ime.isActive());
    ime.reset();
}

TEST_F(ShellBindings, TheLogFunctionsReachTheGamesLogAndNothingWithoutOne) {
    const char* all =
        "C_Message('a'); C_MessageLine(nil); C_MessageColor(C.Color(255, 0, 0)); "
        "C_MessageColor(nil); C_OpenLogWindow(); C_CloseLogWindow(); C_SetLogWindowCursor(); "
        "C_SetLogWindowCursor(true); C_SetLogWindowColor(nil); C_Message('b')";
    EXPECT_EQ(run(all), "");
    TaskMessageLog* log = TaskMessageLog::start(nullptr);
    ASSERT_NE(log, nullptr);
    EXPECT_EQ(TaskMessageLog::current(), log);
    EXPECT_EQ(run(all), "");
    EXPECT_EQ(log->pendingCount(), 3u);
    EXPECT_TRUE(log->cursorShown());
    log->kill();
    frame();
    frame();
    EXPECT_EQ(TaskMessageLog::current(), nullptr) << "a deleted log leaves the game";
    EXPECT_EQ(run(all), "");
}

}  // namespace
