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

TEST(GameData, ClassRecordsMakeInstancesInTheirPools) {
    struct Case {
        const qel::ClassInfo& info;
        const char* name;
        qel::Pool pool;
    };
    const Case cases[] = {
        {GameData::staticClassInfo(), "GameData", qel::Pool::World},
        {Dungeon::staticClassInfo(), "Dungeon", qel::Pool::World},
        {Tile::staticClassInfo(), "Tile", qel::Pool::World},
        {CreateDungeon::staticClassInfo(), "CreateDungeon", qel::Pool::General},
        {World::staticClassInfo(), "World", qel::Pool::World},
        {GlobalRecord::staticClassInfo(), "GlobalRecord", qel::Pool::World},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(c.info.name, c.name);
        EXPECT_EQ(c.info.parent, &qel::Core::staticClassInfo()) << c.name;
        qel::Core* made = c.info.create();
        ASSERT_NE(made, nullptr) << c.name;
        EXPECT_EQ(&made->classInfo(), &c.info) << c.name;
        EXPECT_EQ(poolOf(made), pool(c.pool)) << c.name;
        delete made;
    }
    EXPECT_EQ(VersionFile::staticClassInfo().parent, &qel::File::staticClassInfo());

    // The root's managers come from the world pool.
    GameData& root = GameData::instance();
    EXPECT_EQ(poolOf(root.getDungeon()), pool(qel::Pool::World));
    EXPECT_EQ(poolOf(root.getWorld()), pool(qel::Pool::World));
    EXPECT_EQ(poolOf(root.getGlobalRecord()), pool(qel::Pool::World));
}

}  // namespace
