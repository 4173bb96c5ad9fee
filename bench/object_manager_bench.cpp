// One turn of the object manager on a floor of 300 objects (200 items, 60
// animated characters, 20 traps, 20 gimmicks): 60 eight-frame moves played
// to the end, 300 cell lookups, 20 searches by id, 10 kills with their
// removal and 10 new objects. Goal: at most 50 us a turn on one core
// without Lua. The same turn and a floor change (clearExceptKeep of 300)
// are also measured with the script bindings open, where every deletion
// passes the scripts' forget hook.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "bindings/script_bindings.h"
#include "engine/script/sys_lua.h"
#include "game/world/game_data.h"
#include "game/world/object_anim.h"
#include "game/world/object_gimmick.h"
#include "game/world/object_manager.h"
#include "game/world/object_trap.h"

namespace {

using OB = ObjectBase;

struct Floor {
    ObjectManager* manager = GameData::instance().getObjectManager();
    std::vector<ObjectAnim*> movers;
    std::vector<OB*> items;
    std::uint32_t seed = 12345;

    std::uint32_t next() {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    }
    Point randomCell() { return Point(next() % 50, next() % 30); }

    OB* newItem() {
        return new OB("item", Point(1, 1), Color(0xFFFFFFFFu), OB::TYPE_ITEM, OB::INFO_ITEM,
                      randomCell(), true, false);
    }

    Floor() {
        Dungeon* dungeon = GameData::instance().getDungeon();
        for (std::int32_t i = 0; i < Dungeon::kCellCount; ++i)
            dungeon->cellAt(i).setState(TILE_VIEW);
        manager->clearAll();
        fill();
    }
    ~Floor() { manager->clearAll(); }

    void fill() {
        movers.clear();
        items.clear();
        for (int i = 0; i < 200; ++i) items.push_back(newItem());
        for (int i = 0; i < 60; ++i) {
            movers.push_back(new ObjectAnim("npc", Point(0, 1), Color(0xFFFFFFFFu), OB::TYPE_ENEMY,
                                            OB::INFO_NPC, Point(1 + i % 48, i % 30), true, false));
        }
        for (int i = 0; i < 20; ++i) {
            new ObjectTrap("trap", "pit", Point(2, 2), Color(0u), randomCell());
            new ObjectGimmick("table", "table", Point(3, 3), Color(0u), OB::INFO_GIMMICK_TABLE,
                              randomCell());
        }
    }

    void turn() {
        for (std::size_t i = 0; i < movers.size(); ++i) {
            movers[i]->addAnimMove(Point((movers[i]->getPos().x & 1) ? 1 : -1, 0), 8);
        }
        while (!manager->updateAnimations()) {
        }
        std::uintptr_t found = 0;
        for (int i = 0; i < 300; ++i)
            found += reinterpret_cast<std::uintptr_t>(manager->getLinkPos(randomCell()));
        for (int i = 0; i < 20; ++i)
            found += reinterpret_cast<std::uintptr_t>(
                manager->search(items[next() % items.size()]->getId()));
        benchmark::DoNotOptimize(found);
        for (int i = 0; i < 10; ++i) {
            const std::size_t k = next() % items.size();
            items[k]->kill();
            items[k] = items.back();
            items.pop_back();
        }
        manager->exeRemove();
        for (int i = 0; i < 10; ++i) items.push_back(newItem());
    }
};

void BM_ObjectTurn(benchmark::State& state) {
    Floor floor;
    for (auto _ : state) floor.turn();
}
BENCHMARK(BM_ObjectTurn);

qel::SysLua& boundHost() {
    static qel::SysLua host;
    static const bool opened = host.init() && openScriptBindings(host.state()) == 1;
    (void)opened;
    return host;
}

void BM_ObjectTurnWithBindings(benchmark::State& state) {
    boundHost();
    Floor floor;
    for (auto _ : state) floor.turn();
}
BENCHMARK(BM_ObjectTurnWithBindings);

void BM_FloorChangeWithBindings(benchmark::State& state) {
    boundHost();
    Floor floor;
    for (auto _ : state) {
        floor.manager->clearExceptKeep();
        state.PauseTiming();
        floor.fill();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FloorChangeWithBindings);

}  // namespace
