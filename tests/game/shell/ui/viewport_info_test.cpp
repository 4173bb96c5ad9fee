// The records menus and windows are made from, and the viewports made from
// them: each in its slot, sorted by its order and pass.
#include "game/shell/ui/viewport_info.h"

#include <gtest/gtest.h>

#include "engine/render/viewport.h"
#include "game/shell/ui/task_menu.h"
#include "game/shell/ui/task_window.h"
#include "tests/game/shell/ui/shell_fixture.h"

namespace {

class ViewportInfoTest : public shell_test::ShellFixture {};

TEST_F(ViewportInfoTest, MenusAndWindowsDrawThroughTheSlotsOfTheirRecords) {
    for (int n = 0; n < 4; ++n) {
        const ViewportInfo& menu = ViewportInfo::menu(n);
        const ViewportInfo& window = ViewportInfo::window(n);
        EXPECT_EQ(menu.index, 4 + n);
        EXPECT_EQ(menu.order, 0);
        EXPECT_EQ(menu.pass, 4 + n);
        EXPECT_EQ(window.index, 8 + n);
        EXPECT_EQ(window.order, 0);
        EXPECT_EQ(window.pass, 8 + n);
        EXPECT_EQ(&menu.classInfo(), &ViewportInfo::staticClassInfo());
    }
    EXPECT_THROW(ViewportInfo::menu(4), std::out_of_range);

    const TaskMenu* menu = TaskMenu::get(2);
    const TaskWindow* window = TaskWindow::get(3);
    ASSERT_NE(menu, nullptr);
    ASSERT_NE(window, nullptr);
    const qel::Viewport* menuView = camera().getViewport(6);
    const qel::Viewport* windowView = camera().getViewport(11);
    ASSERT_NE(menuView, nullptr);
    ASSERT_NE(windowView, nullptr);
    EXPECT_EQ(menuView->getTarget(), menu->target());
    EXPECT_EQ(windowView->getTarget(), window->target());
    EXPECT_EQ(menuView->getKey(), 6u << 24);
    EXPECT_EQ(windowView->getKey(), 11u << 24);
}

}  // namespace
