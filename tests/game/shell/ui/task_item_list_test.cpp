// The item list driven by key scripts through the real input layer (pages,
// letters, multiple choice, select-all, cancel, Enter on an empty list),
// its order at opening, the entries of deleted items, and what it draws.
#include "game/shell/ui/task_item_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/render/sys_render_text.h"
#include "engine/resource/render_target.h"
#include "game/shell/ui/shell_keys.h"
#include "game/world/command.h"
#include "tests/game/shell/ui/golden.h"
#include "tests/game/shell/ui/shell_fixture.h"
#include "tests/game/world/item_fixture.h"

namespace {

using qel::KEY_DOWN;
using qel::KEY_ESCAPE;
using qel::KEY_RETURN;
using qel::KEY_RIGHT;
using qel::KEY_SHIFT;

// Kinds: 1 scroll, 2..4 potions, 5 stackable potion.
const std::string kKinds = itemRow(1, {{C_TYPE, "14"}}) + itemRow(2) + itemRow(3) + itemRow(4) +
                           itemRow(5, {{C_STOCK, "1"}, {C_WEIGHT, "3"}});

class TaskItemListTest : public shell_test::ShellFixture {
protected:
    void SetUp() override {
        shell_test::ShellFixture::SetUp();
        GameData::instance().getObjectManager()->clearAll();
        std::array<char, kLoadMessageSize> message{};
        const std::string path = scratch_.file("items.dat");
        writeScrambledTable(path, kItemHeader + kKinds);
        ASSERT_TRUE(ItemFactory::instance().loadFile(message, path)) << message.data();
        list_ = TaskItemList::create(nullptr);
        ASSERT_NE(list_, nullptr);
    }
    void TearDown() override {
        GameData::instance().getObjectManager()->clearAll();
        shell_test::ShellFixture::TearDown();
        ItemFactory::instance().clear();
        EXPECT_EQ(GameData::instance().getItemList(), nullptr);
    }
    ObjectItem* item(int kind) { return ItemFactory::instance().createId(kind); }
    void fill(int count) {
        for (int i = 0; i < count; ++i) list_->addItem(item(2));
    }
    void openAndSettle(bool multiple) {
        list_->open(multiple, false);
        frame();
        frame();
    }
    std::vector<std::uint32_t> selected() const {
        std::vector<std::uint32_t> out;
        for (std::uint32_t i = 0; i < list_->size(); ++i)
            if (list_->isSelected(i)) out.push_back(i);
        return out;
    }

    TaskItemList* list_ = nullptr;
};

TEST_F(TaskItemListTest, PagesLettersAndTheOpeningKeyInSingleChoice) {
    fill(21);
    list_->open(false, false);
    frame({KEY_RETURN});  // the key that opened it, still down
    frame({KEY_RETURN});
    EXPECT_FALSE(list_->isSelect());
    EXPECT_EQ(list_->getPageMax(), 2u);
    frame();
    frame({KEY_DOWN});
    for (int i = 0; i < 30; ++i) frame({KEY_DOWN});
    EXPECT_EQ(list_->cursor(), 2u) << "a held arrow moves at the press, then repeats";
    frame();
    frame({KEY_RIGHT});
    EXPECT_EQ(list_->getPage(), 1u);
    frame();
    EXPECT_EQ(list_->cursor(), 0u) << "one row on the second page";
    frame({'C'});
    EXPECT_FALSE(list_->isSelect()) << "no third row here";
    frame({'A'});
    EXPECT_TRUE(list_->isSelect());
    EXPECT_EQ(selected(), std::vector<std::uint32_t>{20});
    EXPECT_EQ(list_->getCurIndex(), 20u);

    // Removing the last page's only entry brings the page back; Enter then
    // chooses on the first page.
    list_->start();
    list_->setAllSelect(false);
    EXPECT_TRUE(list_->removeItem(20));
    EXPECT_FALSE(list_->removeItem(20));
    EXPECT_FALSE(list_->removeItem(-1));
    EXPECT_EQ(list_->getPage(), 0u);
    frame();
    frame({KEY_RETURN});
    EXPECT_TRUE(list_->isSelect());
    EXPECT_EQ(selected(), std::vector<std::uint32_t>{0});
}

TEST_F(TaskItemListTest, MultipleChoiceMarksSelectsAllAndDecidesOnEnter) {
    fill(3);
    openAndSettle(true);
    frame({KEY_DOWN});
    frame({KEY_RETURN});
    EXPECT_TRUE(list_->isSelect());
    EXPECT_EQ(selected(), std::vector<std::uint32_t>{1}) << "nothing chosen: the cursor row";

    list_->start();
    frame({KEY_SHIFT, qel::KEY_OEM_1});
    EXPECT_EQ(selected().size(), 3u);
    frame();
    frame({KEY_SHIFT, qel::KEY_OEM_1});
    EXPECT_TRUE(selected().empty()) << "all selected: cleared";
    frame({qel::KEY_OEM_1});
    EXPECT_TRUE(selected().empty()) << "needs Shift";
    frame({' '});
    frame();
    frame({qel::KEY_INSERT});
    frame();
    frame({' '});
    EXPECT_EQ(selected(), std::vector<std::uint32_t>{1});
    frame({'C'});
    EXPECT_FALSE(list_->isSelect()) << "a letter toggles without deciding";
    EXPECT_EQ(selected(), (std::vector<std::uint32_t>{1, 2}));
    frame({KEY_RETURN});
    Command command;
    EXPECT_TRUE(list_->getSelectedItem(&command));
    ASSERT_EQ(command.getItemNum(), 2);
    EXPECT_EQ(command.getItem(0), list_->getItem(1));
    EXPECT_FALSE(list_->getSelectedItem(nullptr));

    list_->stopAndClear();
    EXPECT_TRUE(selected().empty());
    EXPECT_TRUE(list_->isOpen());
    list_->toggleSelect(7);  // off the list: nothing
    EXPECT_TRUE(selected().empty());
}

TEST_F(TaskItemListTest, CancelAndEnterOnAnEmptyListCancelOnce) {
    SE_CANCEL = "cancel.ogg";
    SE_OK = "ok.ogg";
    fill(2);
    list_->open(false, true);
    EXPECT_EQ(takeSounds(), "ok.ogg");
    frame();
    frame({KEY_ESCAPE});
    EXPECT_TRUE(list_->isCancel());
    EXPECT_EQ(takeSounds(), "cancel.ogg");

    list_->close();
    EXPECT_FALSE(list_->isOpen());
    EXPECT_EQ(list_->size(), 0u);
    list_->open(false, false);
    frame();
    frame({KEY_RETURN});
    EXPECT_TRUE(list_->isCancel());
    EXPECT_EQ(takeSounds(), "cancel.ogg");
    frame();
    frame({KEY_RETURN});
    EXPECT_EQ(takeSounds(), "") << "a cancelled list reads no more keys";
}

TEST_F(TaskItemListTest, OpeningSortsByShopTypeUnknownNameKindAndIdAndMergesStacks) {
    ItemFactory::instance().getBaseId(2)->getItemName().setFalseName("あ");
    ItemFactory::instance().getBaseId(3)->getItemName().setFalseName("b");
    ItemFactory::instance().getBaseId(4)->getItemName().setFalseName("b");
    ObjectItem* scroll = item(1);
    ObjectItem* fourth = item(4);
    ObjectItem* thirdA = item(3);
    ObjectItem* thirdB = item(3);
    ObjectItem* second = item(2);
    ObjectItem* shop = item(1);
    shop->setShop(true);
    ObjectItem* stackA = item(5);
    ObjectItem* stackB = item(5);
    stackA->setRawStock(1);
    stackB->setRawStock(2);
    for (ObjectItem* i : {scroll, fourth, thirdB, thirdA, stackA, second, stackB, shop})
        list_->addItem(i);
    list_->addItem(nullptr);
    list_->open(false, false);
    const std::vector<ObjectItem*> expected = {shop,   second, thirdA, thirdB,
                                               fourth, stackA, scroll};
    ASSERT_EQ(list_->size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(list_->getItem(static_cast<std::int64_t>(i)), expected[i]) << i;
    EXPECT_EQ(stackA->getStock(), 3) << "the later stack merged into the earlier";
}

TEST_F(TaskItemListTest, EntriesOfADeletedItemDropOut) {
    fill(3);
    ObjectItem* bag = item(2);
    list_->setList(bag->getInventoryRoot());  // the empty head: nothing
    EXPECT_EQ(list_->size(), 3u);
    ObjectItem* gone = list_->getItem(1);
    list_->addItem(gone);
    ObjectItem* kept = list_->getItem(2);
    GameData::instance().getObjectManager()->remove(gone);
    GameData::instance().getObjectManager()->exeRemove();
    ASSERT_EQ(list_->size(), 2u);
    EXPECT_EQ(list_->getItem(1), kept);
    ObjectItem loose;  // in no manager: its deletion would go unheard
    list_->addItem(&loose);
    EXPECT_EQ(list_->size(), 2u);
    EXPECT_FALSE(list_->setList(static_cast<LinkList<ObjectItem>*>(nullptr)));
    EXPECT_TRUE(list_->setList(GameData::instance().getObjectManager()->getLinkAll()));
    EXPECT_EQ(list_->size(), 2u + 3u) << "every item of the manager's list, once more";
}

TEST_F(TaskItemListTest, RowsShowMarkChipAndWeightWhenTheFormatFits) {
    useChipSheet();
    FONT_HEIGHT = 12;
    ASSERT_TRUE(qel::SysRenderText::instance().createFont(FONT_NAME, 1, 12, 6, 0, false));
    ITEMLIST_ITEM_MAX = 2;
    ITEMLIST_WIDTH = 60;
    ITEMLIST_TEXT_Y = 0;
    ITEMLIST_TEXT_SPACE = 0;
    ITEMLIST_END_SPACE = 0;
    ITEMLIST_BACKCOLOR = Color(0xFF000000u);
    ITEMLIST_CODE_X = 1;
    ITEMLIST_SELECT_X = 9;
    ITEMLIST_ICON_X = 20;
    ITEMLIST_NAME_X = 60;  // names fall outside the picture
    ITEMLIST_WEIGHT_X = 30;
    ITEMLIST_PAGE_X = 100;
    ITEM_WEIGHT_RATIO = 1.0f;
    frame();
    ASSERT_TRUE(list_->reload()) << "the sizes are read again";
    EXPECT_EQ(list_->textureHeight(), 36);
    ObjectItem* red = item(2);
    red->setChip(Point(0, 0));
    red->setColor(Color::WHITE);
    list_->addItem(red);
    list_->addItem(item(2));
    const qel::Surface& s = *list_->target()->getTarget()->getSurface();
    auto weightInk = [&](int row) {
        int ink = 0;
        for (int y = 12 * (row + 1); y < 12 * (row + 2) - 1; ++y)
            for (int x = 30; x < 58; ++x) ink += s.argb(x, y) != 0xFF000000u;
        return ink;
    };

    struct Case {
        const char* format;
        bool shown;
    } cases[] = {{"%.1f", true}, {"%d", false}, {"%f %f", false}, {"100%% %5.2e", true},
                 {"%s", false},  {"", false},   {"%*f", false}};
    for (const Case& c : cases) {
        ITEM_WEIGHT_FORMAT = c.format;
        openAndSettle(false);
        EXPECT_EQ(weightInk(0) > 0, c.shown) << c.format;
        EXPECT_EQ(weightInk(1) > 0, c.shown) << c.format;
    }
    // The chip sits centred on its row's text line.
    const int row0 = 12 + 6;
    EXPECT_EQ(s.argb(20, row0 - 1), 0xFFFF0000u);
    EXPECT_EQ(s.argb(21, row0), 0xFFFF0000u);
    EXPECT_EQ(s.argb(22, row0), 0xFF000000u);
    EXPECT_EQ(s.argb(0, 0), 0xFFFFFFFFu) << "frame";
    EXPECT_EQ(s.argb(59, 35), 0xFFFFFFFFu) << "frame";
}

TEST_F(TaskItemListTest, ThePictureOfAPageWithMarksAMiniFontNameAndWeights) {
    useChipSheet();
    FONT_HEIGHT = 12;
    MINI_FONT_OFFSET_Y = 1;
    ASSERT_TRUE(qel::SysRenderText::instance().createFont(FONT_NAME, 1, 12, 6, 0, false));
    ASSERT_TRUE(qel::SysRenderText::instance().createFont(FONT_NAME, MINI_FONT, 10, 5, 0, false));
    ITEMLIST_ITEM_MAX = 2;
    ITEMLIST_WIDTH = 128;
    ITEMLIST_TEXT_Y = 1;
    ITEMLIST_TEXT_SPACE = 1;
    ITEMLIST_END_SPACE = 14;
    ITEMLIST_BACKCOLOR = Color(0xFF202040u);
    ITEMLIST_TAG = "Bag";
    ITEMLIST_CURSOR_X = 2;
    ITEMLIST_CODE_X = 2;
    ITEMLIST_SELECT_X = 10;
    ITEMLIST_ICON_X = 17;
    ITEMLIST_NAME_X = 22;
    ITEMLIST_NAME_LENGTH = 8;
    ITEMLIST_MINI_NAME_LENGTH = 12;
    ITEMLIST_WEIGHT_X = 96;
    ITEMLIST_PAGE_X = 80;
    ITEMLIST_PAGE_Y = 40;
    ITEM_WEIGHT_FORMAT = "%.1f";
    ITEM_WEIGHT_RATIO = 0.5f;
    // Names of plain items in light green, of unknown ones in grey.
    COLOR_ITEM = Color(0xFFC0FFC0u);
    COLOR_UNKNOWN = Color(0xFF909090u);
    frame();
    ASSERT_TRUE(list_->reload());
    ASSERT_EQ(list_->textureHeight(), 53);
    const struct {
        int kind;
        const char* name;
        Point chip;
    } rows[] = {{2, "Potion", Point(0, 0)},
                {3, "A much longer name", Point(1, 0)},
                {4, "Scroll", Point(2, 0)}};
    for (const auto& row : rows) {
        ItemName& name = ItemFactory::instance().getBaseId(row.kind)->getItemName();
        name.setMainName(row.name);
        name.setState(ItemName::ANALYZE);
        ObjectItem* made = item(row.kind);
        made->setChip(row.chip);
        made->setColor(Color::WHITE);
        list_->addItem(made);
    }
    list_->open(true, false);
    list_->toggleSelect(1);
    frame();
    frame();
    EXPECT_TRUE(
        golden::matches(*list_->target()->getTarget()->getSurface(), 0, 0, 128, 53, "item_list"));
}

}  // namespace

TEST_F(TaskItemListTest, TheMapShowsThroughTheHalfTransparentBackgroundAndAroundTheChips) {
    // A blue screen as the map; the list at (4, 4) with the start colour,
    // half-transparent black, a row whose chip's black is transparent.
    useChipSheet();
    FONT_HEIGHT = 8;
    ASSERT_TRUE(qel::SysRenderText::instance().createFont(FONT_NAME, 1, 8, 4, 0, false));
    camera().getViewport(0)->clearColors[0] = 0xFF3070B0u;
    ITEMLIST_BACKCOLOR = Color(0x80000000u);
    ITEMLIST_X = 4;
    ITEMLIST_Y = 4;
    ITEMLIST_WIDTH = 56;
    ITEMLIST_ITEM_MAX = 2;
    ITEMLIST_TEXT_Y = 1;
    ITEMLIST_TEXT_SPACE = 2;
    ITEMLIST_END_SPACE = 2;
    ITEMLIST_TAG = "Bag";
    ITEMLIST_CURSOR = Point(3, 0);  // the sheet's white chip
    ITEMLIST_CURSOR_X = 1;
    ITEMLIST_CODE_X = 6;
    ITEMLIST_SELECT_X = 11;
    ITEMLIST_ICON_X = 16;
    ITEMLIST_NAME_X = 22;
    ITEMLIST_PAGE_X = 24;
    ITEMLIST_PAGE_Y = 22;
    ITEMLIST_BLINK_ON = 0;
    ITEMLIST_BLINK_OFF = 0;
    frame();
    ASSERT_TRUE(list_->reload());
    COLOR_ITEM = Color(0xFFC0FFC0u);
    COLOR_UNKNOWN = Color(0xFF909090u);
    ItemName& name = ItemFactory::instance().getBaseId(2)->getItemName();
    name.setMainName("Tea");
    name.setState(ItemName::ANALYZE);
    ObjectItem* potion = item(2);
    potion->setChip(Point(0, 1));  // a black, so wholly transparent, chip
    list_->addItem(potion);
    list_->open(false, false);
    frame();
    frame();
    const qel::Surface& screen = device_->backBuffer();
    EXPECT_EQ(screen.argb(1, 1), 0xFF3070B0u) << "beside the list";
    // Inside, away from the text: the map at half strength.
    EXPECT_EQ(screen.argb(40, 16), 0xFF183858u);
    // Where the row's chip lies, the list's background still shows.
    EXPECT_EQ(screen.argb(4 + 16, 4 + 11), 0xFF183858u);
    EXPECT_TRUE(golden::matches(screen, 0, 0, 64, 48, "item_list_over_map"));
}
