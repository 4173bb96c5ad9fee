#include "game/world/game_data.h"

#include <gtest/gtest.h>

#include <cstring>

#include "engine/core/memory_allocator.h"
#include "game/world/create_dungeon.h"
#include "game/world/version_file.h"

namespace {

TEST(GameData, RootOwnsItsManagersAndForgetsThePlayer) {
    GameData& root = GameData::instance();
    EXPECT_EQ(&root, &GameData::instance());
    ASSERT_NE(root.getDungeon(), nullptr);
    ASSERT_NE(root.getWorld(), nullptr);
    ASSERT_NE(root.getGlobalRecord(), nullptr);
    EXPECT_EQ(root.getDungeon()->getTag(), "");
    EXPECT_EQ(root.getDungeon()->getLevel(), 0);
    EXPECT_EQ(root.getPlayer(), nullptr);
    EXPECT_EQ(root.getField(), nullptr);

    // Any object address stands in for a player here.
    int a = 0;
    int b = 0;
    auto* first = reinterpret_cast<ObjectPlayer*>(&a);
    auto* second = reinterpret_cast<ObjectPlayer*>(&b);
    root.setPlayer(first);
    root.forgetPlayer(second);
    EXPECT_EQ(root.getPlayer(), first);
    root.forgetPlayer(first);
    EXPECT_EQ(root.getPlayer(), nullptr);
}

TEST(GameData, ReleaseDestroysTheManagersOnce) {
    auto* root = new GameData();
    ASSERT_NE(root, nullptr);
    EXPECT_TRUE(root->isKindOf(GameData::staticClassInfo()));
    root->release();
    EXPECT_EQ(root->getDungeon(), nullptr);
    EXPECT_EQ(root->getWorld(), nullptr);
    EXPECT_EQ(root->getGlobalRecord(), nullptr);
    root->release();
    delete root;  // nothing left to destroy twice (the sanitizer would see it)
}

const qel::MemoryAllocatorBase* poolOf(const void* p) {
    return qel::MemoryAllocatorBase::ownerOf(p);
}
const qel::MemoryAllocatorBase* pool(qel::Pool which) {
    return qel::poolById(which);
}

TEST(GameData, TheRootsManagersComeFromTheWorldPool) {
    GameData& root = GameData::instance();
    EXPECT_EQ(poolOf(root.getDungeon()), pool(qel::Pool::World));
    EXPECT_EQ(poolOf(root.getWorld()), pool(qel::Pool::World));
    EXPECT_EQ(poolOf(root.getGlobalRecord()), pool(qel::Pool::World));
}

}  // namespace
