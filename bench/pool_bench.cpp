// Pool allocate/free against the system allocator, for steady small-object
// churn of the sizes the engine uses most.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <thread>
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

// Pool and malloc on the same churn in alternating blocks of one run;
// pool_over_malloc is the pool's time over malloc's (the goal is at most
// 1.3). The pool's consistency check runs after the churn.
void churnRatio(benchmark::State& state) {
    auto& pool = qel::MemoryAllocator<qel::Pool::General>::instance();
    const std::size_t size = static_cast<std::size_t>(state.range(0));
    std::vector<void*> blocks(256);
    constexpr int kBlock = 64;
    using Clock = std::chrono::steady_clock;
    double poolSeconds = 0.0;
    double mallocSeconds = 0.0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        for (int i = 0; i < kBlock; ++i) {
            for (void*& b : blocks) b = pool.allocate(size);
            for (void* b : blocks) pool.free(b);
            benchmark::ClobberMemory();
        }
        const auto t1 = Clock::now();
        for (int i = 0; i < kBlock; ++i) {
            for (void*& b : blocks) b = std::malloc(size);
            for (void* b : blocks) std::free(b);
            benchmark::ClobberMemory();
        }
        const auto t2 = Clock::now();
        poolSeconds += std::chrono::duration<double>(t1 - t0).count();
        mallocSeconds += std::chrono::duration<double>(t2 - t1).count();
    }
    if (!pool.checkConsistency()) state.SkipWithError("pool inconsistent after churn");
    const double pairs = static_cast<double>(state.iterations()) * kBlock * blocks.size();
    state.counters["pool_over_malloc"] = mallocSeconds > 0.0 ? poolSeconds / mallocSeconds : 0.0;
    state.counters["pool_ns_per_pair"] = poolSeconds * 1e9 / pairs;
    state.counters["malloc_ns_per_pair"] = mallocSeconds * 1e9 / pairs;
}
void BM_ChurnRatio(benchmark::State& state) {
    churnRatio(state);
}
BENCHMARK(BM_ChurnRatio)->Arg(16)->Arg(64);

void BM_PoolReallocGrow(benchmark::State& state) {
    auto& pool = qel::MemoryAllocator<qel::Pool::Script>::instance();
    for (auto _ : state) {
        void* p = pool.allocate(16);
        for (std::size_t s = 32; s <= 4096; s *= 2) p = pool.reallocate(s, p);
        pool.free(p);
    }
}
BENCHMARK(BM_PoolReallocGrow);

// The same churn once the process has started a second thread: the pool
// then takes its lock and the C library its atomic paths. Registered last,
// as a process never goes back to one thread.
void BM_ChurnRatioThreaded(benchmark::State& state) {
    static const bool started = [] {
        std::thread([] {}).join();
        return true;
    }();
    (void)started;
    churnRatio(state);
}
BENCHMARK(BM_ChurnRatioThreaded)->Arg(16)->Arg(64);

}  // namespace
