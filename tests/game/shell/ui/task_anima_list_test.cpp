// The anima list driven by key scripts through the real input layer (the
// choice limits 0, 1 and 3, select-all within the limit), its entries from
// the anima table and the anima the player knows, and what a row shows.
#include "game/shell/ui/task_anima_list.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "engine/render/sys_render_text.h"
#include "engine/resource/render_target.h"
#include "game/shell/ui/shell_keys.h"
#include "game/world/anima.h"
#include "game/world/anima_list.h"
#include "tests/game/shell/ui/golden.h"
#include "tests/game/shell/ui/shell_fixture.h"
#include "tests/game/world/item_fixture.h"

namespace {

using qel::KEY_RETURN;
using qel::KEY_SHIFT;

class TaskAnimaListTest : public shell_test::ShellFixture {
protected:
    void SetUp() override {
        shell_test::ShellFixture::SetUp();
        std::array<char, kLoadMessageSize> message{};
        const std::string items = scratch_.file("items.dat");
        writeScrambledTable(
            items, kItemHeader + itemRow(1) + itemRow(2) + itemRow(3) + itemRow(4) + itemRow(5));
        ASSERT_TRUE(ItemFactory::instance().loadFile(message, items)) << message.data();
        ItemFactory::instance().getBaseId(2)->getItemName().setMainName("fire");
        // Anima 4 may never be chosen; the table lists 2 before 1.
        const std::string anima = scratch_.file("anima.dat");
        writeScrambledTable(anima,
                            "id,no,tag,rarity,level,drop,select\n"
                            "2,1,fire,3,5,10,1,\n1,2,ice,1,1,0,1,\n3,3,wind,9,1,0,1,\n"
                            "4,4,rock,0,1,0,0,\n5,5,void,2,1,0,1,\n");
        ASSERT_TRUE(AnimaList::instance().load(message, anima)) << message.data();
        list_ = TaskAnimaList::create(nullptr);
        ASSERT_NE(list_, nullptr);
    }
    void TearDown() override {
        shell_test::ShellFixture::TearDown();
        EXPECT_EQ(GameData::instance().getAnimaList(), nullptr);
        AnimaList::instance().clear();
        ItemFactory::instance().clear();
    }
    // The list of the whole table with the anima in `known` selectable.
    void fill(std::set<std::uint32_t> known) {
        list_->removeAll();
        ASSERT_TRUE(list_->setList(&known));
    }
    void openAndSettle(int limit) {
        list_->open(limit, false);
        frame();
        frame();
    }
    std::string selected() const {
        std::string out;
        for (std::uint32_t i = 0; i < list_->size(); ++i) out += list_->isSelected(i) ? '+' : '-';
        return out;
    }

    TaskAnimaList* list_ = nullptr;
};

TEST_F(TaskAnimaListTest, TheTableInItsOrderWithTheKnownOnesSelectable) {
    EXPECT_FALSE(list_->setList(static_cast<const std::set<std::uint32_t>*>(nullptr)));
    fill({2, 3});
    ASSERT_EQ(list_->size(), 5u);
    EXPECT_EQ(list_->getAnima(0)->id(), 2) << "table order";
    EXPECT_EQ(list_->getAnima(1)->id(), 1);
    EXPECT_EQ(list_->getAnima(5), nullptr);
    EXPECT_EQ(list_->getAnima(-1), nullptr);
    EXPECT_FALSE(list_->toggleSelect(1)) << "not known";
    EXPECT_TRUE(list_->toggleSelect(0));
    EXPECT_EQ(list_->getSelNum(), 1u);
    EXPECT_EQ(list_->getSelAnima()->id(), 2);
    EXPECT_EQ(list_->getSelAnima(1), nullptr);
    EXPECT_TRUE(list_->removeAnima(0));
    EXPECT_EQ(list_->getSelNum(), 0u) << "the count follows the entries";
    EXPECT_FALSE(list_->removeAnima(4));
}

TEST_F(TaskAnimaListTest, LettersDecideOnlyBelowALimitOfTwoAndTheLimitHolds) {
    struct Case {
        int limit;
        std::initializer_list<int> keys;  // pressed one a frame
        const char* selected;
        bool decided;
    } cases[] = {
        {0, {'A', 'C', KEY_RETURN}, "-----", true},
        {1, {'B'}, "-----", false},  // not known
        {1, {'D'}, "-----", false},  // may never be chosen
        {1, {'C'}, "--+--", true},
        {3, {'A', 'C', 'E', 'A'}, "--+-+", false},
        {3, {'A', 'C', 'E', 'A', 'A'}, "+-+-+", false},
        {2, {'A', 'C', 'E'}, "+-+--", false},
        {3, {' ', 'A', 'A', KEY_RETURN}, "+----", true},  // Space toggles the cursor row
    };
    for (const Case& c : cases) {
        fill({2, 3, 4, 5});
        openAndSettle(c.limit);
        for (int key : c.keys) {
            frame({key});
            frame();
        }
        EXPECT_EQ(selected(), c.selected) << "limit " << c.limit;
        EXPECT_EQ(list_->isSelect(), c.decided) << "limit " << c.limit;
    }
}

TEST_F(TaskAnimaListTest, SelectAllChoosesInOrderWithinTheLimitAndThenClears) {
    fill({1, 2, 3, 4, 5});
    openAndSettle(3);
    frame({KEY_SHIFT, qel::KEY_OEM_1});
    EXPECT_EQ(selected(), "+++--");
    frame();
    frame({KEY_SHIFT, qel::KEY_OEM_1});
    EXPECT_EQ(selected(), "-----");
    // Opening starts a new choice: nothing chosen, whatever was before, so
    // the count is 0 and the new limit holds.
    frame({'A'});
    frame();
    frame({'B'});
    EXPECT_EQ(selected(), "++---");
    list_->open(1, false);
    EXPECT_EQ(list_->getSelNum(), 0u);
    EXPECT_EQ(selected(), "-----");
    EXPECT_TRUE(list_->toggleSelect(4));
    EXPECT_FALSE(list_->toggleSelect(0)) << "one at most";
    EXPECT_EQ(list_->getSelNum(), 1u);
}

TEST_F(TaskAnimaListTest, RowsShowNameChipAndRarityOrThePlaceholder) {
    useChipSheet();
    FONT_HEIGHT = 12;
    ASSERT_TRUE(qel::SysRenderText::instance().createFont(FONT_NAME, 1, 12, 6, 0, false));
    ANIMALIST_MAX = 3;
    ANIMALIST_WIDTH = 120;
    ANIMALIST_TEXT_Y = 0;
    ANIMALIST_TEXT_SPACE = 0;
    ANIMALIST_END_SPACE = 0;
    ANIMALIST_BACKCOLOR = Color(0xFF000000u);
    ANIMALIST_CODE_X = 0;
    ANIMALIST_SELECT_X = 6;
    ANIMALIST_ICON_X = 12;
    ANIMALIST_NAME_X = 16;
    ANIMALIST_RARITY_X = 60;
    ANIMALIST_PAGE_X = 200;
    ANIMALIST_RARITY_MAX = 5;
    ANIMALIST_RARITY_CHAR = "*";
    ANIMALIST_RARITY_BLANK = "%";
    ANIMALIST_OFF_NAME = "???";
    COLOR_ANIMA_ON = Color(0xFFFFFFFFu);
    COLOR_ANIMA_OFF = Color(0xFF0000FFu);
    COLOR_ANIMA_RARITY = Color(0xFFFF0000u);
    COLOR_ANIMA_BLANK = Color(0xFF00FF00u);
    frame();
    ASSERT_TRUE(list_->reload());
    fill({2, 3});
    openAndSettle(1);
    const qel::Surface& s = *list_->target()->getTarget()->getSurface();
    // Pixels of the colour in the row (0-based below the caption) between x0
    // and x1.
    auto ink = [&](int row, int x0, int x1, std::uint32_t colour) {
        int n = 0;
        for (int y = 12 * (row + 1); y < 12 * (row + 2); ++y)
            for (int x = x0; x < x1; ++x) n += s.argb(x, y) == colour;
        return n;
    };
    // Row 0, anima 2 of rarity 3: three red marks, then two green '%'.
    EXPECT_GT(ink(0, 60, 78, 0xFFFF0000u), 0);
    EXPECT_EQ(ink(0, 60, 78, 0xFF00FF00u), 0);
    EXPECT_GT(ink(0, 78, 90, 0xFF00FF00u), 0) << "the blanks, '%' drawn as itself";
    EXPECT_EQ(ink(0, 78, 120, 0xFFFF0000u), 0);
    EXPECT_GT(ink(0, 16, 40, 0xFFFFFFFFu), 0) << "its name";
    // Row 1, anima 1 not known: the placeholder, no chip, no marks.
    EXPECT_GT(ink(1, 16, 40, 0xFF0000FFu), 0);
    EXPECT_EQ(ink(1, 12, 16, 0xFFFF0000u) + ink(1, 60, 120, 0xFFFF0000u), 0);
    EXPECT_EQ(ink(1, 60, 120, 0xFF00FF00u), 0);
    // Row 2, anima 3 of rarity 9 with 5 marks: no blanks.
    EXPECT_GT(ink(2, 60, 114, 0xFFFF0000u), 0);
    EXPECT_EQ(ink(2, 60, 120, 0xFF00FF00u), 0);
    EXPECT_TRUE(golden::matches(s, 0, 0, 120, list_->textureHeight(), "anima_list"));
}

}  // namespace
