// World::checkMove on a hand-painted floor: one row of cases per rule.
#include <gtest/gtest.h>

#include <string>

#include "game/world/object_chara.h"
#include "game/world/world.h"
#include "tests/game/world/item_fixture.h"

namespace {

using S = Status;
using OB = ObjectBase;

const Tile kRoom("room", 1, 0, Color::WHITE, TILE_ROOM);
const Tile kWall("wall", 0, 0, Color::WHITE, TILE_WALL);
const Tile kHole("hole", 3, 0, Color::WHITE, TILE_HOLE);
const Tile kWater("water", 4, 0, Color::WHITE, TILE_WATER | TILE_INFO_ROOM);

class CheckMoveTest : public ItemFixture {
protected:
    void SetUp() override {
        ItemFixture::SetUp();
        ASSERT_TRUE(loadItems(itemRow(1, {{C_NAME_ID, "ScrollSanctuary"}}) + itemRow(2)));
        Dungeon* d = GameData::instance().getDungeon();
        for (int x = 0; x < Dungeon::kWidth; ++x) {
            for (int y = 0; y < Dungeon::kHeight; ++y) d->setTile(x, y, kRoom);
        }
        d->setTile(1, 0, kWall);
        d->setTile(2, 0, kHole);
        d->setTile(3, 0, kWater);
        // (4, 0) a monster, (5, 0) a friend, (6, 0) a sanctuary scroll, (7, 0)
        // another item.
        new OB("m", Point(), Color::WHITE, OB::TYPE_ENEMY, OB::INFO_NPC, Point(4, 0), true, false);
        new OB("f", Point(), Color::WHITE, OB::TYPE_FRIEND, OB::INFO_NPC, Point(5, 0), true, false);
        ASSERT_TRUE(ItemFactory::instance().createId(1)->put(6, 0));
        ASSERT_TRUE(ItemFactory::instance().createId(2)->put(7, 0));
    }
    void TearDown() override {
        Dungeon* d = GameData::instance().getDungeon();
        for (int x = 0; x < Dungeon::kWidth; ++x) {
            for (int y = 0; y < Dungeon::kHeight; ++y) d->setTile(x, y, Tile());
        }
        ItemFixture::TearDown();
    }
};

TEST_F(CheckMoveTest, EachRule) {
    struct Case {
        const char* name;
        std::int32_t type;
        std::int32_t through, floating, water;
        Point cell;
        bool ignoreChara;
        bool free;
    } cases[] = {
        {"open floor", OB::TYPE_ENEMY, 0, 0, 0, {0, 5}, false, true},
        {"off the map", OB::TYPE_ENEMY, 1, 1, 2, {-1, 0}, false, false},
        {"off the map below", OB::TYPE_ENEMY, 1, 1, 2, {0, 30}, false, false},
        {"a wall", OB::TYPE_ENEMY, 0, 1, 0, {1, 0}, false, false},
        {"a wall, passing through walls and floating",
         OB::TYPE_ENEMY,
         1,
         1,
         0,
         {1, 0},
         false,
         true},
        {"a wall that can be walked, passing through walls",
         OB::TYPE_ENEMY,
         1,
         0,
         0,
         {1, 0},
         false,
         true},
        {"a hole", OB::TYPE_ENEMY, 0, 0, 0, {2, 0}, false, false},
        {"a hole, floating", OB::TYPE_ENEMY, 0, 1, 0, {2, 0}, false, true},
        {"water, no water walking and no frozen walk",
         OB::TYPE_ENEMY,
         0,
         0,
         0,
         {3, 0},
         false,
         false},
        {"water, a swimmer", OB::TYPE_ENEMY, 0, 0, 2, {3, 0}, false, true},
        {"water, floating", OB::TYPE_ENEMY, 0, 1, 3, {3, 0}, false, true},
        {"a monster in the way", OB::TYPE_ENEMY, 0, 0, 0, {4, 0}, false, false},
        {"a monster, characters ignored", OB::TYPE_ENEMY, 0, 0, 0, {4, 0}, true, true},
        {"the player passes a friend", OB::TYPE_PLAYER, 0, 0, 0, {5, 0}, false, true},
        {"a monster does not pass a friend", OB::TYPE_ENEMY, 0, 0, 0, {5, 0}, false, false},
        {"the sanctuary stops a monster", OB::TYPE_ENEMY, 0, 0, 0, {6, 0}, false, false},
        {"the sanctuary stops a monster ignoring characters",
         OB::TYPE_ENEMY,
         0,
         0,
         0,
         {6, 0},
         true,
         false},
        {"the sanctuary lets the player through", OB::TYPE_PLAYER, 0, 0, 0, {6, 0}, false, true},
        {"the sanctuary lets a friend through", OB::TYPE_FRIEND, 0, 0, 0, {6, 0}, false, true},
        {"another item", OB::TYPE_ENEMY, 0, 0, 0, {7, 0}, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ObjectChara mover;
        mover.setType(c.type);
        mover.setBaseStatus(S::THROUGH, c.through);
        mover.setBaseStatus(S::FLOAT, c.floating);
        mover.setBaseStatus(S::WATER, c.water);
        EXPECT_EQ(World::checkMove(mover, c.cell.x, c.cell.y, c.ignoreChara), c.free);
    }
}

TEST_F(CheckMoveTest, TheMoverDoesNotBlockItself) {
    auto* mover = new ObjectChara("me", Point(), Color::WHITE, OB::TYPE_ENEMY, OB::INFO_NPC,
                                  Point(10, 10), true, false, Race(), 1, Status());
    EXPECT_TRUE(World::checkMove(*mover, 10, 10, false));
    new OB("m", Point(), Color::WHITE, OB::TYPE_ENEMY, OB::INFO_NPC, Point(10, 10), true, false);
    EXPECT_FALSE(World::checkMove(*mover, 10, 10, false));
}

}  // namespace
