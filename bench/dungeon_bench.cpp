// Generating one floor: the standard sequence over the game's block grids.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>

#include "engine/core/sys_rand.h"
#include "game/world/create_dungeon.h"
#include "game/world/dungeon.h"
#include "game/world/tile.h"

namespace {

void BM_CreateFloor(benchmark::State& state) {
    const auto rows = static_cast<std::int32_t>(state.range(0));
    const auto cols = static_cast<std::int32_t>(state.range(1));
    auto dungeon = std::make_unique<Dungeon>("bench", 1);
    dungeon->setDefRoom(Tile("room", 1, 0, Color::WHITE, TILE_ROOM));
    dungeon->setDefPass(Tile("pass", 2, 0, Color::WHITE, TILE_PASS));
    dungeon->setDefWall(Tile("wall", 0, 0, Color::WHITE, TILE_WALL));
    qel::SysRand::instance().seed(1234);
    for (auto _ : state) {
        CreateDungeon gen(dungeon.get(), rows, cols);
        gen.create();
        benchmark::DoNotOptimize(dungeon->getStartPos());
    }
}
BENCHMARK(BM_CreateFloor)->Args({3, 3})->Args({4, 5})->Args({10, 16});

}  // namespace
