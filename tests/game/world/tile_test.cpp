#include "game/world/tile.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Tile, TagKeepsAtMost32Bytes) {
    struct Case {
        const char* name;
        std::string given;
        std::string stored;
    };
    const std::string t32(32, 'a');
    const Case cases[] = {
        {"empty", "", ""},
        {"short", "floor", "floor"},
        {"exactly 32", t32, t32},
        {"40 is cut to 32", t32 + "bbbbbbbb", t32},
        {"a NUL ends it", std::string("ab\0cd", 5), "ab"},
    };
    for (const Case& c : cases) {
        Tile t;
        t.setTag(c.given);
        EXPECT_EQ(std::string(t.getTag()), c.stored) << c.name;
        EXPECT_EQ(std::string(Tile(c.given, 0, 0, Color::WHITE, 0).getTag()), c.stored) << c.name;
    }
}

TEST(Tile, LookIgnoresPositionAndLightState) {
    const Tile base("room", 1, 2, Color::WHITE, TILE_ROOM, 5, 6);
    Tile moved(base, 9, 9);
    moved.setState(TILE_LIGHT);
    EXPECT_TRUE(moved.sameLook(base));
    EXPECT_TRUE(moved == base);
    EXPECT_FALSE(moved < base);
    EXPECT_FALSE(base < moved);
    EXPECT_EQ(moved.getPos(), Point(9, 9));

    struct Case {
        const char* name;
        Tile other;
    };
    const Case differ[] = {
        {"tag", Tile("rooms", 1, 2, Color::WHITE, TILE_ROOM)},
        {"chip x", Tile("room", 0, 2, Color::WHITE, TILE_ROOM)},
        {"chip y", Tile("room", 1, 3, Color::WHITE, TILE_ROOM)},
        {"colour", Tile("room", 1, 2, Color::RED, TILE_ROOM)},
        {"info", Tile("room", 1, 2, Color::WHITE, TILE_DARKROOM)},
    };
    for (const Case& c : differ) EXPECT_FALSE(c.other.sameLook(base)) << c.name;
    // Tags are compared over their first 32 bytes only.
    const std::string t32(32, 'x');
    EXPECT_TRUE(
        Tile(t32 + "1", 0, 0, Color::WHITE, 0).sameLook(Tile(t32 + "2", 0, 0, Color::WHITE, 0)));
}

TEST(Tile, CopyLookKeepsTheCellsOwnPositionAndState) {
    Tile cell("wall", 0, 0, Color::WHITE, TILE_WALL, 4, 7);
    cell.setState(TILE_VIEW);
    cell.copyLook(Tile("pass", 3, 1, Color::GLAY, TILE_PASS, 20, 20));
    EXPECT_STREQ(cell.getTag(), "pass");
    EXPECT_EQ(cell.getChip(), Point(3, 1));
    EXPECT_EQ(cell.getColor(), Color::GLAY);
    EXPECT_EQ(cell.getInfo().data, TILE_PASS);
    EXPECT_EQ(cell.getPos(), Point(4, 7));
    EXPECT_EQ(cell.getState(), TILE_VIEW);
    EXPECT_EQ(Tile(cell, 1, 2).getState(), TILE_DARK);
}

TEST(Tile, OrderIsTagThenColourThenInfoAndChip) {
    struct Case {
        const char* name;
        Tile a;
        Tile b;  // a < b
    };
    const Case cases[] = {
        {"tag first", Tile("a", 9, 9, Color::WHITE, 99), Tile("b", 0, 0, Color::BLACK, 0)},
        {"tag bytes unsigned", Tile("a", 0, 0, Color::WHITE, 0),
         Tile("\x81", 0, 0, Color::WHITE, 0)},
        {"then colour", Tile("t", 9, 9, Color::BLACK, 99), Tile("t", 0, 0, Color::WHITE, 0)},
        {"then info", Tile("t", 255, 255, Color::WHITE, 1), Tile("t", 0, 0, Color::WHITE, 2)},
        {"then chip y", Tile("t", 255, 0, Color::WHITE, 1), Tile("t", 0, 1, Color::WHITE, 1)},
        {"then chip x", Tile("t", 0, 0, Color::WHITE, 1), Tile("t", 1, 0, Color::WHITE, 1)},
        {"only the low chip byte counts", Tile("t", 256, 0, Color::WHITE, 1),
         Tile("t", 1, 0, Color::WHITE, 1)},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(c.a < c.b) << c.name;
        EXPECT_FALSE(c.b < c.a) << c.name;
    }
}

TEST(Tile, InfoBitsAreIndependent) {
    Tile t("x", 0, 0, Color::WHITE, TILE_ROOM | 0x80000000u);
    EXPECT_TRUE(t.isMove() && t.isRoom() && t.isLight() && t.isOpen());
    t.setMove();  // no argument clears
    EXPECT_FALSE(t.isMove());
    EXPECT_EQ(t.getInfo().data, (TILE_ROOM & ~TILE_INFO_MOVE) | 0x80000000u);
    t.setMove(true);
    t.setWall(true);
    EXPECT_FALSE(t.isOpen());
}

}  // namespace
