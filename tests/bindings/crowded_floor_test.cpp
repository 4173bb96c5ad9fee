// A crowded floor: a thousand of the sample content's monsters, with what
// they carry, fit in the world's pool on an open hall, and when the pool is
// full all the same an item is not made at all rather than made without its
// own list node.
#include <gtest/gtest.h>

#include <cstddef>
#include <vector>

#include "engine/core/memory_allocator.h"
#include "engine/core/sys_rand.h"
#include "game/world/item_factory.h"
#include "game/world/object_item.h"
#include "tests/bindings/booted_content.h"

namespace {

// A player on a hall (the generated floor with every inner wall knocked
// down: 48 x 28 cells), then 1000 monsters of kinds 1 to 4 in turn (the
// kobolds may carry a dagger) on cells drawn at random, each made first
// and deleted again when its cell is taken, all in one run of a script:
// the deleted ones wait for its end. Shows how many stand and whether
// some carry an item.
constexpr const char* kHall = R"lua(
    floor = 2
    local opening = C.OpeningParam()
    opening:loadRaceFile()
    opening:loadClassFile()
    local player = opening:createPlayer("crowd", 1, 0, 0)
    local d = C_GetDungeon()
    d:setDefRoom(C.Tile("floor", 1, 0, C.Color.WHITE, 25))
    d:setDefPass(C.Tile("floor", 1, 0, C.Color.WHITE, 25))
    d:setDefWall(C.Tile("wall", 0, 0, C.Color.WHITE, 26))
    C.CreateDungeon(d, 3, 4):create()
    for x = 1, 48 do for y = 1, 28 do d:setTile(x, y, d:getDefRoom()) end end
    player:setPos(1, 1)
    local placed, carried, tries = 0, 0, 0
    while placed < 1000 and tries < 100000 do
        tries = tries + 1
        local npc = C_CreateNpc(1 + placed % 4)
        local x, y = C_GetRandI_0toN(50), C_GetRandI_0toN(30)
        if npc and C_CheckMove(npc, x, y) then
            npc:setPos(x, y)
            placed = placed + 1
            carried = carried + npc:getItemNum()
        elseif npc then
            npc:kill()
            C_GetObjectManager():exeRemove()
        end
    end
    return placed, carried > 0, tries > 1000
)lua";

class CrowdedFloor : public BootedContent {};

TEST_F(CrowdedFloor, AThousandMonstersWithTheirBelongingsFindRoomOnAHall) {
    qel::SysRand::instance().seed(11);
    EXPECT_EQ(run(kHall), "1000, true, true");
    auto& world = qel::MemoryAllocator<qel::Pool::World>::instance();
    EXPECT_TRUE(world.checkConsistency());
}

// With the world's pool full but for one block just the size of an item,
// the item takes that block and its own list node finds none: the factory
// gives no item, and every block it took is back.
TEST_F(CrowdedFloor, AnItemWithoutRoomForItsNodeIsNotMade) {
    ItemBase* base = ItemFactory::instance().getBaseIndex(0);
    ASSERT_NE(base, nullptr);
    auto& world = qel::MemoryAllocator<qel::Pool::World>::instance();
    world.releaseQuarantine();
    std::vector<void*> held;
    void* itemSized = world.allocate(sizeof(ObjectItem));
    ASSERT_NE(itemSized, nullptr);
    for (std::size_t size = std::size_t{1} << 16; size >= 16; size /= 2) {
        while (void* p = world.allocate(size)) held.push_back(p);
    }
    world.free(itemSized);
    world.releaseQuarantine();
    const std::size_t before = world.stats().usedBlocks;

    EXPECT_EQ(ItemFactory::instance().createRandom(*base), nullptr);
    world.releaseQuarantine();
    EXPECT_EQ(world.stats().usedBlocks, before);

    for (void* p : held) world.free(p);
    world.releaseQuarantine();
    EXPECT_TRUE(world.checkConsistency());
    // With room again, the item is made whole.
    ObjectItem* item = ItemFactory::instance().createRandom(*base);
    ASSERT_NE(item, nullptr);
    EXPECT_NE(item->getLinkSelf(), nullptr);
    ObjectBase::destroy(item);
}

}  // namespace
