// Text windows on the software device: their sizes, their reuse by number,
// and the pixels a clear, a frame, a rectangle and a line leave in the
// window's target and, once open, on the screen.
#include "game/shell/ui/task_window.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/render/sys_render_text.h"
#include "engine/render/viewport.h"
#include "engine/resource/render_target.h"
#include "tests/game/shell/ui/golden.h"
#include "tests/game/shell/ui/shell_fixture.h"

namespace {

using TaskWindowTest = shell_test::ShellFixture;

TEST_F(TaskWindowTest, SizesCountCharactersLinesAndMargins) {
    FONT_WIDTH = 8;
    FONT_HEIGHT = 16;
    WINDOW_LEFT_SPACE = 4;
    WINDOW_RIGHT_SPACE = 4;
    WINDOW_TOP_SPACE = 3;
    WINDOW_BOTTOM_SPACE = 5;
    WINDOW_LINE_SPACE = 2;
    struct Case {
        int n;
        std::uint32_t width;
        std::uint32_t height;
    } cases[] = {
        {0, 8, 6},  // no line: the margins less one gap
        {1, 16, 24},
        {10, 88, 186},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TaskWindow::calWidth(c.n), c.width) << c.n;
        EXPECT_EQ(TaskWindow::calHeight(c.n), c.height) << c.n;
    }
    WINDOW_TOP_SPACE = 0;
    WINDOW_BOTTOM_SPACE = 0;
    EXPECT_EQ(TaskWindow::calHeight(0), 0xFFFFFFFEu);  // taken as unsigned
}

TEST_F(TaskWindowTest, NumbersOutsideTheFourGiveNothingAndANumberIsReused) {
    EXPECT_EQ(TaskWindow::get(-1), nullptr);
    EXPECT_EQ(TaskWindow::get(4), nullptr);
    WINDOW_TEX_SIZE[2] = Point(10, 6);
    TaskWindow* window = TaskWindow::get(2);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->viewport(), 10);
    EXPECT_EQ(camera().getViewport(10)->getTarget(), window->target());
    EXPECT_FALSE(window->isOpen());
    window->open();
    EXPECT_TRUE(window->isOpen());
    EXPECT_EQ(TaskWindow::get(2), window);
    EXPECT_FALSE(window->isOpen()) << "a reused window is hidden until opened";
    EXPECT_EQ(TaskWindow::find(1), nullptr);

    // A window that goes leaves its number and its viewport slot free.
    window->kill();
    frame();
    frame();
    EXPECT_EQ(TaskWindow::find(2), nullptr);
    EXPECT_EQ(camera().getViewport(10), nullptr);
    TaskWindow* again = TaskWindow::get(2);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(TaskWindow::find(2), again);
}

TEST_F(TaskWindowTest, ASizeOfZeroMakesAOnePixelTarget) {
    WINDOW_TEX_SIZE[0] = Point(0, 0);
    TaskWindow* window = TaskWindow::get(0);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->textureWidth(), 1);
    EXPECT_EQ(window->textureHeight(), 1);
}

TEST_F(TaskWindowTest, DrawingStaysInTheTargetUntilClearedAndShowsWhenOpen) {
    WINDOW_TEX_SIZE[1] = Point(10, 6);
    WINDOW_BACKCOLOR = Color(0xFF000000u);
    TaskWindow* window = TaskWindow::get(1);
    ASSERT_NE(window, nullptr);
    window->clear();
    window->drawFrame(Color(0xFFFF0000u));
    window->drawRect(2, 1, 4, 3, Color(0xFF00FF00u));
    window->drawLine(6, 2, 7, 2, Color(0xFF0000FFu));
    frame();
    const qel::Surface& target = *window->target()->getTarget()->getSurface();
    const std::string drawn =
        "RRRRRRRRRR\n"
        "R.GGG....R\n"
        "R.G.G.BB.R\n"
        "R.GGG....R\n"
        "R........R\n"
        "RRRRRRRRRR\n";
    EXPECT_EQ(picture(target, 0, 0, 10, 6), drawn);
    frame();
    EXPECT_EQ(picture(target, 0, 0, 10, 6), drawn) << "what was drawn stays";

    // Open: the shown part of the target lands at the window's place.
    window->setDrawParam(20, 10, 0x1FF, 6, 3);
    EXPECT_EQ(window->layer(), 255.0f);
    window->open();
    frame();
    EXPECT_EQ(picture(device_->backBuffer(), 19, 9, 8, 5),
              "????????\n"
              "?RRRRRR?\n"
              "?R.GGG.?\n"
              "?R.G.G.?\n"
              "????????\n");

    window->clear(Color(0xFF0000FFu));
    frame();
    EXPECT_EQ(target.argb(0, 0), 0xFF0000FFu);
    EXPECT_EQ(target.argb(9, 5), 0xFF0000FFu);
}

TEST_F(TaskWindowTest, ThePictureOfAWindowWithTextLineRectFrameAndChip) {
    useChipSheet();
    FONT_HEIGHT = 12;
    ASSERT_TRUE(qel::SysRenderText::instance().createFont(FONT_NAME, 1, 12, 6, 0, false));
    WINDOW_TEX_SIZE[0] = Point(64, 40);
    WINDOW_BACKCOLOR = Color(0xFF102030u);
    TaskWindow* window = TaskWindow::get(0);
    ASSERT_NE(window, nullptr);
    window->clear();
    window->drawFrame(Color::WHITE);
    window->drawText(4, 3, "Hi", Color(0xFFFFE080u));
    window->drawLine(4, 18, 40, 18, Color(0xFF00FF00u));
    window->drawRect(44, 4, 58, 14, Color(0xFFFF0000u));
    window->drawChip(48, 24, Point(2, 0), Color::WHITE);
    frame();
    EXPECT_TRUE(
        golden::matches(*window->target()->getTarget()->getSurface(), 0, 0, 64, 40, "window"));
}

}  // namespace
