#include "game/world/world.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "engine/file/file.h"
#include "tests/support/scratch_folder.h"

namespace {

std::vector<std::set<std::uint32_t>> g_killed;

TEST(World, InitStartsARunAndKeepsTheAnima) {
    World w;
    EXPECT_EQ(w.getTurn(), 1);
    EXPECT_EQ(w.getCause(), "原因不明で");
    EXPECT_EQ(w.getResult(), "死亡");
    w.addTurn(40);
    w.addTurn();
    EXPECT_EQ(w.getTurn(), 42);
    w.addScore(500);
    w.setCause("x", "y");
    EXPECT_EQ(w.getCause(), "x");
    EXPECT_EQ(w.getResult(), "y");
    w.setCause("z");
    EXPECT_EQ(w.getResult(), "y");
    w.addGenocide(3);
    w.addAnima(12);
    w.init();
    EXPECT_EQ(w.getTurn(), 1);
    EXPECT_EQ(w.getScore(), 0);
    EXPECT_EQ(w.getCause(), "原因不明で");
    EXPECT_EQ(w.getResult(), "死亡");
    EXPECT_FALSE(w.isGenocide(3));
    EXPECT_TRUE(w.hasAnima(12));
}

TEST(World, GenocideKillsOnlyForANewKind) {
    g_killed.clear();
    const World::GenocideHook installed =
        World::setGenocideHook([](const std::set<std::uint32_t>& ids) { g_killed.push_back(ids); });
    World w;
    EXPECT_TRUE(w.addGenocide(7));
    EXPECT_FALSE(w.addGenocide(7));
    EXPECT_TRUE(w.addGenocide(2));
    ASSERT_EQ(g_killed.size(), 2u);
    EXPECT_EQ(g_killed[0], std::set<std::uint32_t>{7});
    EXPECT_EQ(g_killed[1], std::set<std::uint32_t>{2});
    // The whole set, e.g. after a floor is loaded.
    w.execGenocide();
    ASSERT_EQ(g_killed.size(), 3u);
    EXPECT_EQ(g_killed[2], (std::set<std::uint32_t>{2, 7}));
    w.clearGenocide();
    EXPECT_FALSE(w.isGenocide(7));
    World::setGenocideHook(installed);
}

TEST(World, RunRecordRoundTripAndTruncation) {
    qel::test::ScratchFolder scratch;
    World w;
    w.addTurn(99);
    w.addScore(-5);
    w.setCause("cause");
    w.setResult("result");
    w.addGenocide(30);
    w.addGenocide(4);
    {
        qel::File out(scratch.file("w.dat"), qel::File::MODE_WRITE);
        ASSERT_TRUE(w.serialize(out));
        ASSERT_TRUE(out.close());
        // turn, score, cause and result with their NULs, count, ids ascending,
        // then the friends (none).
        const unsigned char want[] = {100, 0,   0,   0, 0xFB, 0xFF, 0xFF, 0xFF, 'c', 'a',
                                      'u', 's', 'e', 0, 'r',  'e',  's',  'u',  'l', 't',
                                      0,   2,   0,   0, 0,    4,    0,    0,    0,   30,
                                      0,   0,   0,   0, 0,    0,    0};
        qel::File raw(scratch.file("w.dat"), qel::File::MODE_READ);
        std::vector<unsigned char> got(raw.getSize());
        ASSERT_TRUE(raw.read(got.data(), got.size()));
        EXPECT_EQ(got, std::vector<unsigned char>(std::begin(want), std::end(want)));
    }
    World back;
    {
        qel::File in(scratch.file("w.dat"), qel::File::MODE_READ);
        ASSERT_TRUE(back.serialize(in));
    }
    EXPECT_EQ(back.getTurn(), 100);
    EXPECT_EQ(back.getScore(), -5);
    EXPECT_EQ(back.getCause(), "cause");
    EXPECT_EQ(back.getResult(), "result");
    EXPECT_EQ(back.genocideSet(), (std::set<std::uint32_t>{4, 30}));

    // Cut inside the genocide ids: refused, the world unchanged.
    std::filesystem::resize_file(scratch.file("w.dat"),
                                 std::filesystem::file_size(scratch.file("w.dat")) - 6);
    World other;
    other.addTurn(5);
    qel::File in(scratch.file("w.dat"), qel::File::MODE_READ);
    EXPECT_FALSE(other.serialize(in));
    EXPECT_EQ(other.getTurn(), 6);
    EXPECT_EQ(other.getCause(), "原因不明で");
    EXPECT_TRUE(other.genocideSet().empty());
}

TEST(World, AnimaReadDropsIdsTheTableDoesNotKnow) {
    qel::test::ScratchFolder scratch;
    World w;
    for (std::uint32_t id : {5u, 1u, 900u}) w.addAnima(id);
    {
        qel::File out(scratch.file("w.dat"), qel::File::MODE_WRITE);
        ASSERT_TRUE(w.serializeAnima(out));
        ASSERT_TRUE(out.close());
        // Count, then the ids ascending.
        qel::File raw(scratch.file("w.dat"), qel::File::MODE_READ);
        std::uint32_t words[4] = {};
        ASSERT_TRUE(raw.read(words, sizeof words));
        EXPECT_EQ(words[0], 3u);
        EXPECT_EQ(words[1], 1u);
        EXPECT_EQ(words[3], 900u);
    }
    // Without a table nothing read is known; with one, what it knows stays.
    struct Case {
        World::AnimaLookup table;
        std::set<std::uint32_t> kept;
    };
    const Case cases[] = {
        {nullptr, {}},
        {[](std::uint32_t id) { return id < 100; }, {1, 5}},
    };
    for (const Case& c : cases) {
        World::setAnimaLookup(c.table);
        World back;
        back.addAnima(77);
        qel::File in(scratch.file("w.dat"), qel::File::MODE_READ);
        ASSERT_TRUE(back.serializeAnima(in));
        EXPECT_EQ(back.animaSet(), c.kept);
    }
    World::setAnimaLookup(nullptr);
}

}  // namespace
