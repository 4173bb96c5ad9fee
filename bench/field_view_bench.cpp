// One recomputation of the player's view (putLight, every monster's sight
// recomputed after it) on a floor holding 100 items and 50 monsters, on a
// generated floor and on a field of pillars (every other cell of every
// other row a wall: the most line-of-sight checks). Goal: under 1 ms each,
// against a 16.7 ms frame. Also the line of sight between random pairs of
// cells, and one turn's worth of monster searches (50 searchNearestTarget
// calls).
#include <benchmark/benchmark.h>

#include <cstdint>

#include "engine/core/sys_rand.h"
#include "game/world/ai_target.h"
#include "game/world/create_dungeon.h"
#include "game/world/field_view.h"
#include "game/world/game_data.h"
#include "game/world/npc_factory.h"
#include "game/world/object_base.h"
#include "game/world/object_npc.h"

namespace {

using OB = ObjectBase;

const Tile kRoom("room", 1, 0, Color::WHITE, TILE_ROOM);
const Tile kPass("pass", 2, 0, Color::WHITE, TILE_PASS);
const Tile kWall("wall", 0, 0, Color::WHITE, TILE_WALL);

struct Floor {
    GameData& data = GameData::instance();
    Dungeon* dungeon = data.getDungeon();
    FieldView* view = data.getFieldView();
    Point origin{25, 15};

    explicit Floor(bool pillars) {
        data.getObjectManager()->clearAll();
        dungeon->setDefRoom(kRoom);
        dungeon->setDefPass(kPass);
        dungeon->setDefWall(kWall);
        qel::SysRand::instance().seed(7);
        if (pillars) {
            for (std::int32_t x = 0; x < Dungeon::kWidth; ++x) {
                for (std::int32_t y = 0; y < Dungeon::kHeight; ++y)
                    dungeon->setTile(x, y, x % 2 == 1 && y % 2 == 1 ? kWall : kRoom);
            }
            origin = Point(24, 14);
        } else {
            CreateDungeon gen(dungeon, 3, 3);
            gen.create();
            if (const Point* p = dungeon->getRoomRandomPos()) origin = *p;
        }
        qel::SysRand& rand = qel::SysRand::instance();
        auto cell = [&rand] { return Point(rand.getRand() % 50, rand.getRand() % 30); };
        for (int i = 0; i < 100; ++i)
            new OB("item", Point(1, 1), Color::WHITE, OB::TYPE_ITEM, OB::INFO_ITEM, cell(), true,
                   false);
        Status status;
        status.set(Status::VISION, 8);
        status.set(Status::TORCH, 4);
        status.set(Status::LAND, 1);
        for (int i = 0; i < 50; ++i)
            monsters[i] = new ObjectNpc(&kind(), OB::TYPE_ENEMY, 1, Point(0, 1), Color::WHITE,
                                        cell(), Race(), status);
        for (int i = 0; i < 50; i += 10) monsters[i]->setType(OB::TYPE_FRIEND);
    }
    ~Floor() { data.getObjectManager()->clearAll(); }

    static const NpcBase& kind() {
        static const NpcBase* base = [] {
            auto* b = new NpcBase();
            b->id = 1;
            b->nameId = "bench";
            NpcFactory::instance().add(b);
            return b;
        }();
        return *base;
    }
    ObjectNpc* monsters[50] = {};
};

void putLight(benchmark::State& state, bool pillars) {
    Floor floor(pillars);
    for (auto _ : state) {
        floor.view->putLight(floor.origin.x, floor.origin.y, 1, 6);
        benchmark::DoNotOptimize(floor.view->getInfo(0, 0)->flag);
    }
}

void BM_PutLightGeneratedFloor(benchmark::State& state) {
    putLight(state, false);
}
void BM_PutLightPillarField(benchmark::State& state) {
    putLight(state, true);
}

void BM_LineOfSightPillarField(benchmark::State& state) {
    Floor floor(true);
    std::uint32_t seed = 99;
    for (auto _ : state) {
        seed = seed * 1664525u + 1013904223u;
        const std::uint32_t r = seed >> 4;
        benchmark::DoNotOptimize(
            floor.view->checkLineOfSight(r % 50, (r >> 6) % 30, (r >> 11) % 50, (r >> 17) % 30));
    }
}

void BM_FiftySearchesGeneratedFloor(benchmark::State& state) {
    Floor floor(false);
    for (auto _ : state) {
        for (ObjectNpc* npc : floor.monsters) {
            AITarget* target = npc->searchNearestTarget(ObjectNpc::SEARCH_OTHER_SIDE);
            benchmark::DoNotOptimize(target->_pointLen2);
            delete target;
        }
    }
}

BENCHMARK(BM_PutLightGeneratedFloor)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PutLightPillarField)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LineOfSightPillarField);
BENCHMARK(BM_FiftySearchesGeneratedFloor)->Unit(benchmark::kMicrosecond);

}  // namespace
