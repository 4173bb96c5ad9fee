#include "game/world/enemy_maker.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>

#include "engine/core/sys_rand.h"
#include "game/world/game_data.h"
#include "game/world/npc_factory.h"
#include "tests/game/data/csv_fixture.h"
#include "tests/support/message_box_recorder.h"

namespace {

using Choice = qel::MessageBox::Choice;

class EnemyMakerTest : public CsvFixture {
protected:
    void TearDown() override {
        GameData::instance().getWorld()->clearGenocide();
        NpcFactory::instance().clear();
    }
    EnemyMaker maker_;
};

TEST_F(EnemyMakerTest, ReadsPairsSkippingIdZeroAndKeepingTheFirstWeightOfARepeat) {
    const std::string path = table(
        "2,1,notes\r\n"
        "1,10,5,0,99,30,7,\r\n"
        "2,10,1,10,2,11,3,\r\n"
        "1,12,4,,,40,1,\r\n"
        "\r\n");
    ASSERT_TRUE(maker_.loadFile(path));
    EXPECT_EQ(maker_.getFileName(), path);
    const EnemyMaker::Entry* one = maker_.getEntry(1);
    ASSERT_NE(one, nullptr);
    // Row two of key 1 adds id 12 and keeps id 10 at 5.
    EXPECT_EQ(one->normal, (EnemyMaker::List{{10, 5}, {12, 4}}));
    EXPECT_EQ(one->wander, (EnemyMaker::List{{30, 7}, {40, 1}}));
    const EnemyMaker::Entry* two = maker_.getEntry(2);
    ASSERT_NE(two, nullptr);
    EXPECT_EQ(two->normal, (EnemyMaker::List{{10, 1}}));  // the repeat of 10 keeps 1
    EXPECT_EQ(two->wander, (EnemyMaker::List{{11, 3}}));
    EXPECT_EQ(maker_.getEntry(0), nullptr);  // the blank line made nothing
    EXPECT_EQ(maker_.getEntry(3), nullptr);
}

TEST_F(EnemyMakerTest, TheSamePathIsReadOnceAndAFailedReadChangesNothing) {
    const std::string path = table("1,0,\r\n5,7,1,\r\n");
    ASSERT_TRUE(maker_.loadFile(path));
    // Rewrite the file: loading the same path again does not read it.
    table("1,0,\r\n6,8,1,\r\n");
    ASSERT_TRUE(maker_.loadFile(path));
    EXPECT_NE(maker_.getEntry(5), nullptr);
    EXPECT_EQ(maker_.getEntry(6), nullptr);
    ASSERT_TRUE(maker_.reloadFile(path));
    EXPECT_EQ(maker_.getEntry(5), nullptr);
    EXPECT_NE(maker_.getEntry(6), nullptr);

    char buffer[kLoadMessageSize] = {};
    EXPECT_FALSE(maker_.readFile(missing(), LoadMessage(buffer)));
    EXPECT_EQ(std::string(buffer), "モンスター分布ファイルが見つかりません : " + missing());
    EXPECT_EQ(maker_.getFileName(), path);
    EXPECT_NE(maker_.getEntry(6), nullptr);

    maker_.release();
    EXPECT_EQ(maker_.getFileName(), "");
    EXPECT_EQ(maker_.getEntry(6), nullptr);
}

TEST_F(EnemyMakerTest, AFailedReadAsksRetryThenCancel) {
    qel::test::MessageBoxRecorder boxes;
    boxes.answer({Choice::Retry, Choice::Cancel});
    EXPECT_FALSE(maker_.reloadFile(missing()));
    ASSERT_EQ(boxes.boxes().size(), 2u);
    for (const auto& box : boxes.boxes()) {
        EXPECT_EQ(box.caption, "リロード？");
        EXPECT_EQ(box.text, "モンスター分布ファイルが見つかりません : " + missing());
    }
    // Retry after the file appears succeeds.
    const std::string path = table("1,0,\r\n5,7,1,\r\n", "missing.dat");
    EXPECT_TRUE(maker_.reloadFile(path));
}

TEST_F(EnemyMakerTest, WeightedPicks) {
    // Weights 1 and 3: a draw whose remainder is 0 picks the first, 1 to 3
    // the second.
    const EnemyMaker::List list{{4, 1}, {9, 3}};
    std::map<std::int32_t, int> seen;
    qel::SysRand& rand = qel::SysRand::instance();
    for (int i = 0; i < 400; ++i) {
        rand.seed(static_cast<std::uint32_t>(i + 1));
        const std::uint32_t r = rand.getRand() % 4;
        rand.seed(static_cast<std::uint32_t>(i + 1));
        const std::int32_t id = EnemyMaker::pick(list);
        EXPECT_EQ(id, r == 0 ? 4 : 9);
        ++seen[id];
    }
    EXPECT_GT(seen[4], 50);
    EXPECT_GT(seen[9], 3 * seen[4] / 2);

    // Weights below 1 never come out; extinct ids neither; nothing left is 0.
    World& world = *GameData::instance().getWorld();
    const EnemyMaker::List mixed{{1, 0}, {2, -5}, {3, 2}, {5, 2}};
    world.addGenocide(3);
    for (int i = 0; i < 50; ++i) EXPECT_EQ(EnemyMaker::pick(mixed), 5);
    world.addGenocide(5);
    EXPECT_EQ(EnemyMaker::pick(mixed), 0);
    EXPECT_EQ(EnemyMaker::pick({}), 0);
    // Sums beyond 32 bits.
    const EnemyMaker::List heavy{{7, 2147483647}, {8, 2147483647}, {9, 2147483647}};
    for (int i = 0; i < 20; ++i) EXPECT_NE(EnemyMaker::pick(heavy), 0);
}

TEST_F(EnemyMakerTest, PicksByKeyAndList) {
    ASSERT_TRUE(maker_.loadFile(table("1,1,\r\n3,10,5,20,5,\r\n")));
    EXPECT_EQ(maker_.pickNormal(3), 10);
    EXPECT_EQ(maker_.pickWander(3), 20);
    EXPECT_EQ(maker_.pickNormal(4), 0);
}

TEST_F(EnemyMakerTest, HugeOrNegativeCountsEndWithTheData) {
    ASSERT_TRUE(maker_.loadFile(table("2147483647,-3,\r\n1,10,5,\r\n")));
    ASSERT_NE(maker_.getEntry(1), nullptr);
    EXPECT_EQ(maker_.getEntry(1)->normal, (EnemyMaker::List{{10, 5}}));
    EXPECT_TRUE(maker_.getEntry(1)->wander.empty());
}

TEST_F(EnemyMakerTest, TheListingOfAKey) {
    NpcBase* slime = new NpcBase();
    slime->id = 10;
    slime->level = 3;
    slime->name = "スライム";
    ASSERT_TRUE(NpcFactory::instance().add(slime));
    const std::string path = table("1,1,\r\n2,10,5,7,1,\r\n");
    ASSERT_TRUE(maker_.loadFile(path));
    EXPECT_EQ(maker_.getEnemyList(2), "\"" + path +
                                          "\" : Lv2\n<通常>\n010:5(Lv3スライム)\n"
                                          "<ワンダリング>\n007:1(?]\n");
    EXPECT_EQ(maker_.getEnemyList(9), "\"" + path + "\" : Lv9\n<未設定>");
}

}  // namespace
