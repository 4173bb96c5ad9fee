// Pool allocate/free against the system allocator, for steady small-object
// churn of the sizes the engine uses most.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

#include "engine/core/memory_allocator.h"

namespace {

void BM_PoolAllocFree(benchmark::State& state) {
    auto& pool = qel::MemoryAllocator<qel::Pool::General>::instance();
    const std::size_t size = static_cast<std::size_t>(state.range(0));
    std::vector<void*> blocks(256);
    for (auto _ : state) {
        for (void*& b : blocks) b = pool.allocate(size);
        for (void* b : blocks) pool.free(b);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * blocks.size());
}
BENCHMARK(BM_PoolAllocFree)->Arg(16)->Arg(64)->Arg(256)->Arg(1024);

void BM_MallocFree(benchmark::State& state) {
    const std::size_t size = static_cast<std::size_t>(state.range(0));
    std::vector<void*> blocks(256);
    for (auto _ : state) {
        for (void*& b : blocks) b = std::malloc(size);
        for (void* b : blocks) std::free(b);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * blocks.size());
}
BENCHMARK(BM_MallocFree)->Arg(16)->Arg(64)->Arg(256)->Arg(1024);

void BM_PoolReallocGrow(benchmark::State& state) {
    auto& pool = qel::MemoryAllocator<qel::Pool::Script>::instance();
    for (auto _ : state) {
        void* p = pool.allocate(16);
        for (std::size_t s = 32; s <= 4096; s *= 2) p = pool.reallocate(s, p);
        pool.free(p);
    }
}
BENCHMARK(BM_PoolReallocGrow);

}  // namespace
