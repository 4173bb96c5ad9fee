// The anima table over a small item table: loading and its bad rows, the
// draw by drop weight with the generator's output given, tags, the item
// texts after a rename, and the world keeping only the ids the table has.
#include "game/world/anima_list.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>

#include "engine/file/file.h"
#include "game/world/world.h"
#include "tests/game/world/item_fixture.h"

namespace {

const std::string kAnimaHeader = "id,no,tag,rarity,level,drop,select\n";

class AnimaListTest : public ItemFixture {
protected:
    void SetUp() override {
        ItemFixture::SetUp();
        ASSERT_TRUE(loadItems(itemRow(1) + itemRow(2) + itemRow(3) + itemRow(4)))
            << message_.data();
    }
    void TearDown() override {
        AnimaList::instance().clear();
        World::setAnimaLookup(nullptr);
        ItemFixture::TearDown();
    }
    bool load(const std::string& rows, AnimaList& list = AnimaList::instance()) {
        const std::string path = scratch_.file("anima.dat");
        writeScrambledTable(path, kAnimaHeader + rows);
        return list.load(message_, path);
    }
    std::string message() const { return message_.data(); }
};

TEST_F(AnimaListTest, ARowTakesItsNumbersFromTheTableAndItsTextsFromTheItem) {
    ASSERT_TRUE(load("2,7,fire,3,5,10,1,\n1,8,ice,-1,1,0,0,\n")) << message();
    AnimaList& list = AnimaList::instance();
    ASSERT_EQ(list.size(), 2u);
    const Anima* a = list.get(2);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->name(), "item2");
    EXPECT_EQ(a->explain(), "説明");
    EXPECT_EQ(a->chip(), kind(2).chip());
    EXPECT_EQ(a->color(), kind(2).getItemName().getColor());
    EXPECT_EQ(a->no(), 7);
    EXPECT_EQ(a->tag(), "fire");
    EXPECT_EQ(a->rarity(), 3);
    EXPECT_EQ(a->level(), 5);
    EXPECT_EQ(a->drop(), 10);
    EXPECT_TRUE(a->canSelect());
    EXPECT_FALSE(list.get(1)->canSelect());
    EXPECT_EQ(list.getId("ice"), 1);
    EXPECT_EQ(list.getId("fire"), 2);
    EXPECT_EQ(list.getId("Fire"), 0);
    EXPECT_EQ(list.getId(""), 0);
}

TEST_F(AnimaListTest, BadRowsFailTheLoadWithTheirMessage) {
    struct Case {
        const char* name;
        std::string rows;
        std::string message;
        std::size_t kept;
    };
    const Case cases[] = {
        {"an item the table lacks", "1,1,a,1,1,1,1,\n9,1,b,1,1,1,1,\n",
         "アニマデータが不正です。 line2 : 9", 1},
        {"id 0", "0,1,a,1,1,1,1,\n", "アニマデータが不正です。 line1 : 0", 0},
        {"a negative id", "-3,1,a,1,1,1,1,\n", "アニマデータが不正です。 line1 : -3", 0},
        {"an id that is no number", "x,1,a,1,1,1,1,\n", "アニマデータが不正です。 line1 : -1", 0},
        {"a row cut short", "1,1,a,1,1,1,1,\n2,1,b,1", "アニマデータが不正です。 line2 : 2", 1},
        {"a repeated id", "3,1,a,1,1,1,1,\n3,2,b,1,1,1,1,\n", "アニマIDが重複しています。3", 1},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(load(c.rows)) << c.name;
        EXPECT_EQ(message(), c.message) << c.name;
        EXPECT_EQ(AnimaList::instance().size(), c.kept) << c.name;
    }
    EXPECT_FALSE(AnimaList::instance().load(message_, scratch_.file("none.dat")));
    EXPECT_EQ(message(), "アニマリストファイルが見つかりません : " + scratch_.file("none.dat"));
}

TEST_F(AnimaListTest, DrawsWeighOnlyPositiveDropsAtOrBelowTheLevel) {
    // Ascending ids: 1 (level 1, drop 2), 2 (level 1, drop -1), 3 (level 1,
    // drop 0), 4 (level 2, drop 5).
    ASSERT_TRUE(load("1,1,a,1,1,2,1,\n2,1,b,1,1,-1,1,\n3,1,c,1,1,0,1,\n4,1,d,1,2,5,1,\n"))
        << message();
    const AnimaList& list = AnimaList::instance();
    struct Case {
        std::int32_t level;
        std::uint32_t draw;
        int id;  // 0: none
    };
    const Case cases[] = {
        {1, 0, 1}, {1, 1, 1},           {1, 2, 1}, {1, 0xFFFFFFFFu, 1},  // only anima 1 at level 1
        {2, 0, 1}, {2, 1, 1},           {2, 2, 4}, {2, 6, 4},
        {2, 7, 1}, {2, 0xFFFFFFFFu, 4}, {0, 5, 0},  // nothing at level 0
    };
    for (const Case& c : cases) {
        const Anima* a = list.pick(c.level, c.draw);
        EXPECT_EQ(a ? a->id() : 0, c.id) << "level " << c.level << " draw " << c.draw;
    }
}

TEST_F(AnimaListTest, NoPositiveDropMeansNoDraw) {
    // A -1 and a 1 would sum to 0; two -1s to a negative weight.
    ASSERT_TRUE(load("1,1,a,1,1,-1,1,\n2,1,b,1,1,0,1,\n3,1,c,1,1,-1,1,\n")) << message();
    for (std::uint32_t draw : {0u, 1u, 0xFFFFFFFFu}) {
        EXPECT_EQ(AnimaList::instance().pick(99, draw), nullptr);
    }
    EXPECT_EQ(AnimaList::instance().getRandom(99), nullptr);
}

TEST_F(AnimaListTest, ApplyingItemsAgainTakesARenameAndFailsOnAVanishedItem) {
    ASSERT_TRUE(load("1,1,a,1,1,1,1,\n3,1,c,1,1,1,1,\n")) << message();
    kind(3).getItemName().setMainName("renamed");
    ASSERT_TRUE(AnimaList::instance().applyItems());
    EXPECT_EQ(AnimaList::instance().get(3)->name(), "renamed");
    EXPECT_EQ(AnimaList::instance().get(1)->name(), "item1");
    ASSERT_TRUE(loadItems(itemRow(1) + itemRow(2))) << message();
    EXPECT_FALSE(AnimaList::instance().applyItems());
}

TEST_F(AnimaListTest, TheWorldKeepsOnlyTheAnimaTheLoadedTableHas) {
    World w;
    for (std::uint32_t id : {1u, 2u, 3u, 9u, 0x80000001u}) w.addAnima(id);
    const std::string path = scratch_.file("w.dat");
    {
        qel::File out(path, qel::File::MODE_WRITE);
        ASSERT_TRUE(w.serializeAnima(out));
        ASSERT_TRUE(out.close());
    }
    // A separate list is not the game's: it installs nothing.
    AnimaList other;
    ASSERT_TRUE(load("1,1,a,1,1,1,1,\n3,1,c,1,1,1,1,\n", other)) << message();
    ASSERT_TRUE(load("1,1,a,1,1,1,1,\n2,1,b,1,1,1,1,\n")) << message();
    World back;
    qel::File in(path, qel::File::MODE_READ);
    ASSERT_TRUE(back.serializeAnima(in));
    EXPECT_EQ(back.animaSet(), (std::set<std::uint32_t>{1, 2}));
}

}  // namespace
