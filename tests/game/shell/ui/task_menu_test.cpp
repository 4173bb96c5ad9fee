// Menus driven by key scripts through the real input layer: paging, the
// cursor's moves and repeats, shortcuts with and without Shift, cancel,
// Enter on an empty menu, reuse by number, and the box the menu draws.
#include "game/shell/ui/task_menu.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/render/sys_render_text.h"
#include "engine/resource/render_target.h"
#include "game/shell/ui/shell_keys.h"
#include "tests/game/shell/ui/golden.h"
#include "tests/game/shell/ui/shell_fixture.h"

namespace {

using qel::KEY_DOWN;
using qel::KEY_ESCAPE;
using qel::KEY_LEFT;
using qel::KEY_RETURN;
using qel::KEY_RIGHT;
using qel::KEY_SHIFT;
using qel::KEY_UP;

class TaskMenuTest : public shell_test::ShellFixture {
protected:
    TaskMenu* menuOf(int entries, int rows) {
        TaskMenu* menu = TaskMenu::get(0);
        EXPECT_NE(menu, nullptr);
        for (int i = 0; i < entries; ++i) {
            const std::string tag = "t" + std::to_string(i);
            menu->addItem(0, tag.c_str(), tag.c_str());
        }
        menu->setDrawParam(0, 0, 0, 40, rows);
        return menu;
    }
    // Opens the menu and lets its first (skipped) frame pass, then draws it.
    void openAndSettle(TaskMenu* menu) {
        menu->open(false);
        frame();
        frame();
    }
};

TEST_F(TaskMenuTest, PagesCountEntriesAndWrapBothWays) {
    struct Case {
        int entries;
        int rows;
        std::uint32_t pages;
        std::uint32_t afterPrev;
    } cases[] = {
        {0, 4, 1, 0}, {10, 4, 3, 2}, {25, 10, 3, 2}, {5, 0, 1, 0}, {1, 1, 1, 0},
    };
    for (const Case& c : cases) {
        TaskMenu* menu = menuOf(c.entries, c.rows);
        EXPECT_EQ(menu->getPageMax(), c.pages) << c.entries << "/" << c.rows;
        menu->pagePrev();
        EXPECT_EQ(menu->getPage(), c.afterPrev) << c.entries << "/" << c.rows;
        menu->pageNext();
        EXPECT_EQ(menu->getPage(), 0u);
        menu->setPage(5);
        EXPECT_EQ(menu->getPage(), c.rows == 0 ? 0u : 5u % c.pages);
    }
}

TEST_F(TaskMenuTest, TheOpeningKeyDoesNotChooseAndArrowsMoveRepeatAndTurnPages) {
    TaskMenu* menu = menuOf(10, 4);
    menu->open(false);
    frame({KEY_RETURN});  // the key that opened it, still down
    frame({KEY_RETURN});
    EXPECT_FALSE(menu->isSelect());
    frame();
    // A held arrow moves at the press, then after 30 frames.
    frame({KEY_DOWN});
    EXPECT_EQ(menu->cursor(), 1u);
    for (int i = 0; i < 29; ++i) frame({KEY_DOWN});
    EXPECT_EQ(menu->cursor(), 1u);
    frame({KEY_DOWN});
    EXPECT_EQ(menu->cursor(), 2u);
    frame();
    frame({KEY_RIGHT});
    frame();
    frame({KEY_RIGHT});
    EXPECT_EQ(menu->getPage(), 2u);
    frame();
    EXPECT_EQ(menu->cursor(), 1u) << "the last page holds two entries";
    frame({KEY_RETURN});
    EXPECT_TRUE(menu->isSelect());
    EXPECT_EQ(menu->getSelIndex(), 9u);
    EXPECT_EQ(menu->getSelTag(), "t9");
    menu->start();
    EXPECT_FALSE(menu->isSelect());
    frame();
    frame({KEY_LEFT});
    EXPECT_EQ(menu->getPage(), 1u);
}

TEST_F(TaskMenuTest, LoopWrapsTheCursorWithinThePageAndItsAbsenceStopsIt) {
    for (bool loop : {true, false}) {
        TaskMenu* menu = menuOf(3, 0);
        openAndSettle(menu);
        menu->setEnableLoop(loop);
        frame({KEY_UP});
        EXPECT_EQ(menu->cursor(), loop ? 2u : 0u) << loop;
        frame();
        frame({KEY_DOWN});
        EXPECT_EQ(menu->cursor(), loop ? 0u : 1u) << loop;
        EXPECT_EQ(menu->getCurTag(), std::string(loop ? "t0" : "t1"));
    }
    TaskMenu* single = menuOf(1, 0);
    openAndSettle(single);
    frame({KEY_DOWN});
    EXPECT_EQ(single->cursor(), 0u);
}

TEST_F(TaskMenuTest, ShortcutsHonourShift) {
    TaskMenu* menu = TaskMenu::get(1);
    ASSERT_NE(menu, nullptr);
    menu->addItem('A', "plain", "plain");
    menu->addShiftItem('A', "shifted", "shifted");
    menu->addShiftItem(qel::KEY_OEM_1, "colon", "colon");
    openAndSettle(menu);
    frame({KEY_SHIFT, 'A'});
    EXPECT_TRUE(menu->isSelect());
    EXPECT_EQ(menu->getSelTag(), "shifted");
    EXPECT_EQ(menu->cursor(), 1u);
    menu->start();
    frame();
    frame({'A'});
    EXPECT_EQ(menu->getSelTag(), "plain");
    menu->start();
    frame();
    frame({qel::KEY_OEM_1});
    EXPECT_FALSE(menu->isSelect()) << "without Shift";
    frame();
    frame({KEY_SHIFT, qel::KEY_OEM_1});
    EXPECT_EQ(menu->getSelTag(), "colon");
}

TEST_F(TaskMenuTest, EscapeCancelsWhenAllowedAndEnterOnAnEmptyMenuCancelsOnce) {
    SE_CANCEL = "cancel.ogg";
    SE_OK = "ok.ogg";
    TaskMenu* menu = menuOf(2, 0);
    menu->setEnableCancel(false);
    openAndSettle(menu);
    EXPECT_EQ(takeSounds(), "");
    frame({KEY_ESCAPE});
    EXPECT_FALSE(menu->isCancel());
    menu->setEnableCancel(true);
    frame();
    frame({KEY_ESCAPE});
    EXPECT_TRUE(menu->isCancel());
    EXPECT_EQ(takeSounds(), "cancel.ogg");

    TaskMenu* empty = menuOf(0, 4);
    empty->open(true);
    EXPECT_EQ(takeSounds(), "ok.ogg");
    frame();
    frame({KEY_RETURN});
    EXPECT_TRUE(empty->isCancel());
    EXPECT_EQ(takeSounds(), "cancel.ogg");
    frame({KEY_RETURN});
    EXPECT_EQ(takeSounds(), "") << "a cancelled menu reads no more keys";
}

TEST_F(TaskMenuTest, RemovingEntriesOnTheLastPageBringsThePageBack) {
    TaskMenu* menu = menuOf(10, 4);
    openAndSettle(menu);
    menu->setPage(2);
    menu->removeAll();
    EXPECT_EQ(menu->getPage(), 0u);
    menu->addItem(0, "only", "only");
    frame({KEY_RETURN});
    EXPECT_TRUE(menu->isSelect());
    EXPECT_EQ(menu->getSelTag(), "only");
    EXPECT_EQ(menu->getCurTag(), std::string("only"));
    menu->removeAll();
    EXPECT_EQ(menu->getCurTag(), nullptr);
}

TEST_F(TaskMenuTest, NumbersAreReusedAndOnlyReuseForgetsTheEntries) {
    EXPECT_EQ(TaskMenu::get(4), nullptr);
    EXPECT_EQ(TaskMenu::get(-1), nullptr);
    TaskMenu* menu = menuOf(3, 0);
    menu->setTag("caption");
    menu->setEnableCancel(false);
    menu->setEnableLoop(false);
    openAndSettle(menu);
    EXPECT_TRUE(menu->isOpen());
    menu->stop();
    EXPECT_TRUE(menu->isOpen());
    menu->start();
    frame({KEY_DOWN});
    frame({KEY_RETURN});
    ASSERT_TRUE(menu->isSelect());
    // Closing only hides: a script that closes first still reads the choice.
    menu->close();
    EXPECT_FALSE(menu->isOpen());
    EXPECT_TRUE(menu->isSelect());
    EXPECT_EQ(menu->getSelTag(), "t1");
    EXPECT_EQ(menu->getSelIndex(), 1u);
    EXPECT_EQ(menu->size(), 3u);
    // Asking for the menu again empties it and gives Esc back.
    EXPECT_EQ(TaskMenu::get(0), menu);
    EXPECT_EQ(menu->size(), 0u);
    EXPECT_EQ(menu->getSelIndex(), 0u);
    EXPECT_FALSE(menu->isOpen());
    menu->addItem(0, "x", "x");
    openAndSettle(menu);
    frame({KEY_ESCAPE});
    EXPECT_TRUE(menu->isCancel());
    menu->addItem(0, nullptr, "x");
    menu->addItem(0, "x", nullptr);
    EXPECT_EQ(menu->size(), 1u);
}

TEST_F(TaskMenuTest, TheBoxHeightFollowsCaptionPagingAndTheFrameIsDrawn) {
    FONT_HEIGHT = 4;
    MENU_TEXT_SPACE = 1;
    MENU_TEXT_Y = 2;
    MENU_END_SPACE = 3;
    MENU_TEX_WIDTH = 16;
    MENU_TEX_HEIGHT = 32;
    MENU_BACKCOLOR = Color(0xFF000000u);
    TaskMenu* menu = menuOf(3, 0);
    menu->setDrawParam(0, 0, 0, 6, 0);
    openAndSettle(menu);
    EXPECT_EQ(menu->boxHeight(), 3 * 5 + 3 - 1 + 2);
    menu->setTag("c");
    frame();
    EXPECT_EQ(menu->boxHeight(), 3 * 5 + 3 - 1 + 2 + 5);
    menu->setDrawParam(0, 0, 0, 6, 2);
    frame();
    EXPECT_EQ(menu->boxHeight(), 2 * 5 - 1 + 2 + 5 + 1 + 4 + 3);

    // An empty menu without caption: the one-line frame of a 6 x 1 box.
    MENU_TEXT_Y = 0;
    TaskMenu* bare = menuOf(0, 0);
    bare->setDrawParam(0, 0, 0, 6, 0);
    openAndSettle(bare);
    EXPECT_EQ(bare->boxHeight(), 2);
    const qel::Surface& box = *bare->target()->getTarget()->getSurface();
    EXPECT_EQ(box.argb(0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(box.argb(5, 1), 0xFFFFFFFFu);
    EXPECT_EQ(box.argb(6, 0), 0xFF000000u);
}

TEST_F(TaskMenuTest, ATextureSizeOfZeroStillMakesAMenu) {
    MENU_TEX_WIDTH = 0;
    MENU_TEX_HEIGHT = 0;
    EXPECT_NE(TaskMenu::get(3), nullptr);
}

TEST_F(TaskMenuTest, ThePictureOfAMenuWithCaptionPagesAndCursor) {
    // On the 64 x 48 screen: the box from its target and the cursor (the
    // sheet's white chip) beside the second row, the second of three pages.
    useChipSheet();
    FONT_HEIGHT = 8;
    ASSERT_TRUE(qel::SysRenderText::instance().createFont(FONT_NAME, 1, 8, 4, 0, false));
    MENU_TEX_WIDTH = 64;
    MENU_TEX_HEIGHT = 64;
    MENU_BACKCOLOR = Color(0xFF202040u);
    MENU_TEXT_Y = 2;
    MENU_TEXT_SPACE = 1;
    MENU_END_SPACE = 2;
    MENU_CURSOR_X = 2;
    MENU_NAME_X = 8;
    MENU_PAGE_X_RIGHT = 24;
    ITEMLIST_CURSOR = Point(14, 15);
    ITEMLIST_CURSOR_X = 3;
    ITEMLIST_TEXT_Y = 2;
    ITEMLIST_TEXT_SPACE = 1;
    ITEMLIST_BLINK_ON = 0;
    ITEMLIST_BLINK_OFF = 0;
    TaskMenu* menu = TaskMenu::get(0);
    ASSERT_NE(menu, nullptr);
    for (const char* text : {"Sword", "Shield", "Bow", "Arrow", "Torch"})
        menu->addItem(0, text, text, text[0] == 'A' ? Color(0xFFFFD040u) : Color::WHITE);
    menu->setTag("Take");
    menu->setDrawParam(0, 0, 0, 60, 2);
    openAndSettle(menu);
    frame({KEY_RIGHT});
    frame();
    frame({KEY_DOWN});
    frame();
    EXPECT_TRUE(golden::matches(device_->backBuffer(), 0, 0, 64, 48, "menu"));
}

TEST_F(TaskMenuTest, TheCursorStepsByTheMenusOwnLines) {
    // Menu lines 4 + 4 apart, the item list's 4 + 1: the cursor (the
    // sheet's white chip, 2 x 2) stays beside each row it moves to.
    useChipSheet();
    FONT_HEIGHT = 4;
    MENU_TEX_WIDTH = 32;
    MENU_TEX_HEIGHT = 64;
    MENU_BACKCOLOR = Color(0xFF000000u);
    MENU_TEXT_Y = 2;
    MENU_TEXT_SPACE = 4;
    ITEMLIST_TEXT_Y = 2;
    ITEMLIST_TEXT_SPACE = 1;
    ITEMLIST_CURSOR = Point(3, 0);
    ITEMLIST_CURSOR_X = 1;
    ITEMLIST_BLINK_ON = 0;
    ITEMLIST_BLINK_OFF = 0;
    TaskMenu* menu = menuOf(4, 0);
    menu->setTag("c");  // the rows start one menu line lower
    openAndSettle(menu);
    for (int row = 0; row < 4; ++row) {
        // Row r's text runs from 2 + 8 (r + 1); its middle is 2 lower.
        const int middle = 2 + 8 * (row + 1) + 2;
        const qel::Surface& screen = device_->backBuffer();
        EXPECT_EQ(screen.argb(1, middle - 1), 0xFFFFFFFFu) << "row " << row;
        EXPECT_EQ(screen.argb(1, middle), 0xFFFFFFFFu) << "row " << row;
        EXPECT_NE(screen.argb(1, middle - 3), 0xFFFFFFFFu) << "row " << row;
        frame({KEY_DOWN});
        frame();
    }
}

TEST_F(TaskMenuTest, APageTextWiderThanItsRoomStaysInsideTheFrame) {
    FONT_HEIGHT = 8;
    ASSERT_TRUE(qel::SysRenderText::instance().createFont(FONT_NAME, 1, 8, 4, 0, false));
    MENU_TEX_WIDTH = 64;
    MENU_TEX_HEIGHT = 64;
    MENU_BACKCOLOR = Color(0xFF000000u);
    MENU_TEXT_Y = 2;
    MENU_TEXT_SPACE = 1;
    MENU_END_SPACE = 2;
    MENU_PAGE_X_RIGHT = 12;  // room for three of the text's five columns
    TaskMenu* menu = menuOf(25, 2);
    menu->setDrawParam(0, 0, 0, 40, 2);
    openAndSettle(menu);
    for (int i = 0; i < 9; ++i) menu->pageNext();  // "10/13"
    frame();
    const qel::Surface& box = *menu->target()->getTarget()->getSurface();
    const int height = menu->boxHeight();
    int inked = 0;
    for (int y = 1; y < height - 1; ++y) {
        EXPECT_EQ(box.argb(39, y), 0xFFFFFFFFu) << "the right frame line at " << y;
        EXPECT_EQ(box.argb(38, y), 0xFF000000u) << "a pixel's gap at " << y;
        for (int x = 20; x < 38; ++x) inked += box.argb(x, y) == 0xFFFFFFFFu;
    }
    EXPECT_GT(inked, 0) << "the page text is there";
}

TEST_F(TaskMenuTest, AMenuTallerThanItsTextureIsDrawnWhole) {
    // Thirteen entries and a caption need 2 + 14 x 9 - 1 + 2 = 129 rows;
    // the texture setting gives 96.
    useChipSheet();
    FONT_HEIGHT = 8;
    ASSERT_TRUE(qel::SysRenderText::instance().createFont(FONT_NAME, 1, 8, 4, 0, false));
    MENU_TEX_WIDTH = 48;
    MENU_TEX_HEIGHT = 96;
    MENU_BACKCOLOR = Color(0xFF202040u);
    MENU_TEXT_Y = 2;
    MENU_TEXT_SPACE = 1;
    MENU_END_SPACE = 2;
    MENU_CURSOR_X = 2;
    MENU_NAME_X = 8;
    ITEMLIST_BLINK_ON = 0;
    ITEMLIST_BLINK_OFF = 0;
    ITEMLIST_CURSOR = Point(3, 0);
    ITEMLIST_CURSOR_X = 3;
    ITEMLIST_TEXT_Y = 2;
    TaskMenu* menu = TaskMenu::get(0);
    ASSERT_NE(menu, nullptr);
    for (int i = 0; i < 13; ++i) {
        const std::string text = std::string(1, static_cast<char>('A' + i)) + "x";
        menu->addItem(0, text.c_str(), text.c_str());
    }
    menu->setTag("Take");
    menu->setDrawParam(0, 0, 0, 60, 0);  // wider than the texture too
    openAndSettle(menu);
    ASSERT_EQ(menu->boxHeight(), 129);
    // The screen is 64 x 48: look at the box in its own target.
    const qel::Surface& box = *menu->target()->getTarget()->getSurface();
    ASSERT_GE(box.height(), 129);
    ASSERT_GE(box.width(), 60);
    for (int x = 0; x < 60; ++x) EXPECT_EQ(box.argb(x, 128), 0xFFFFFFFFu) << "bottom frame " << x;
    EXPECT_EQ(box.argb(59, 64), 0xFFFFFFFFu) << "right frame";
    EXPECT_TRUE(golden::matches(box, 0, 0, 60, 129, "menu_tall"));
}

}  // namespace
