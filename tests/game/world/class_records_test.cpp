// The world's class records and pooled types in one table: each one's name,
// parent and the pool its instances come from.
#include <gtest/gtest.h>

#include "engine/core/memory_allocator.h"
#include "game/world/acquire_skill.h"
#include "game/world/anima.h"
#include "game/world/anima_list.h"
#include "game/world/chara_end.h"
#include "game/world/create_dungeon.h"
#include "game/world/damage.h"
#include "game/world/deco_lua.h"
#include "game/world/dungeon.h"
#include "game/world/game_data.h"
#include "game/world/global_record.h"
#include "game/world/link_list.h"
#include "game/world/object_chara.h"
#include "game/world/object_player.h"
#include "game/world/status.h"
#include "game/world/tile.h"
#include "game/world/version_file.h"
#include "game/world/world.h"

class ObjectBase;

namespace {

struct Row {
    const char* name;
    qel::Pool pool;
    void* (*make)();
    void (*destroy)(void*);
    // Null for pooled types outside the object model.
    const qel::ClassInfo* record = nullptr;
    const qel::ClassInfo* parent = nullptr;
};

// A class of the object model, made from its record.
template <class T, class Parent>
Row record(const char* name, qel::Pool pool) {
    return {name,
            pool,
            [] { return static_cast<void*>(T::staticClassInfo().create()); },
            [](void* p) { delete static_cast<qel::Core*>(p); },
            &T::staticClassInfo(),
            &Parent::staticClassInfo()};
}
// A pooled type that scripts or lists create with new.
template <class T>
Row pooled(const char* name, qel::Pool pool) {
    return {name, pool, [] { return static_cast<void*>(new T()); },
            [](void* p) { delete static_cast<T*>(p); }};
}

TEST(ClassRecords, EveryWorldTypeComesFromItsPool) {
    const Row rows[] = {
        record<GameData, qel::Core>("GameData", qel::Pool::World),
        record<Dungeon, qel::ScriptObject>("Dungeon", qel::Pool::World),
        record<Tile, qel::ScriptObject>("Tile", qel::Pool::World),
        record<World, qel::ScriptObject>("World", qel::Pool::World),
        record<GlobalRecord, qel::ScriptObject>("GlobalRecord", qel::Pool::World),
        record<CreateDungeon, qel::ScriptObject>("CreateDungeon", qel::Pool::General),
        record<Damage, qel::ScriptObject>("Damage", qel::Pool::General),
        record<ObjectPlayer, ObjectChara>("ObjectPlayer", qel::Pool::World),
        record<AcquireSkill, qel::ScriptObject>("AcquireSkill", qel::Pool::General),
        record<Anima, qel::ScriptObject>("Anima", qel::Pool::Resources),
        record<AnimaList, qel::Core>("AnimaList", qel::Pool::Resources),
        record<VersionFile, qel::File>("VersionFile", qel::Pool::System),
        record<ObjectChara, ObjectAnim>("ObjectChara", qel::Pool::World),
        record<CharaDecorator, VirtualChara>("CharaDecorator", qel::Pool::World),
        record<DecoLua, CharaDecorator>("DecoLua", qel::Pool::World),
        record<CharaEnd, VirtualChara>("CharaEnd", qel::Pool::World),
        pooled<Status>("Status", qel::Pool::World),
        pooled<LinkList<ObjectBase>>("LinkList", qel::Pool::World),
    };
    EXPECT_EQ(VirtualChara::staticClassInfo().factory, nullptr) << "an interface";
    EXPECT_STREQ(VirtualChara::staticClassInfo().name, "VirtualChara");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        void* made = row.make();
        ASSERT_NE(made, nullptr);
        EXPECT_EQ(qel::MemoryAllocatorBase::ownerOf(made), qel::poolById(row.pool));
        if (row.record) {
            EXPECT_STREQ(row.record->name, row.name);
            EXPECT_EQ(row.record->parent, row.parent);
            EXPECT_EQ(&static_cast<qel::Core*>(made)->classInfo(), row.record);
        }
        row.destroy(made);
    }
}

}  // namespace
