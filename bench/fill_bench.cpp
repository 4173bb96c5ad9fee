// Target clears against memset of the same bytes, in the same run,
// alternating block by block: the whole 800 x 600 back buffer, an X8
// surface cleared to black (its forced alpha makes the word 0xFF000000,
// not a byte repeated, so this is the device's own fill), and a viewport
// narrower than its target (row by row). BM_ClearRatio prints
// memset_over_ours (at least 1: the clear costs no more than memset).
// QEL_BENCH_VECTOR_BITS=256 (or 128) holds the fill to narrower vectors.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <cstring>

#include "engine/gfx/surface.h"
#include "platform/gfx/blend_rows.h"
#include "platform/gfx/rasterizer.h"

namespace {

const bool kVectorLimitRead = [] {
    if (const char* bits = std::getenv("QEL_BENCH_VECTOR_BITS")) {
        qel::px::limitVectorBits(std::atoi(bits));
    }
    return true;
}();

using Clock = std::chrono::steady_clock;

// Arguments: the cleared rectangle's width and height within an 800 x 600
// target.
void BM_ClearRatio(benchmark::State& state) {
    constexpr int kWidth = 800;
    constexpr int kHeight = 600;
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    qel::Surface target(kWidth, kHeight, qel::PixelFormat::X8R8G8B8);
    qel::Surface peer(kWidth, kHeight, qel::PixelFormat::X8R8G8B8);
    qel::Rasterizer rasterizer;
    const qel::Rect rect{0, 0, width, height};
    constexpr int kBlock = 16;
    double ours = 0.0;
    double memsets = 0.0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        for (int i = 0; i < kBlock; ++i) {
            rasterizer.fill(target, rect, 0x00000000u);
            benchmark::DoNotOptimize(target.row(0));
            benchmark::ClobberMemory();
        }
        const auto t1 = Clock::now();
        for (int i = 0; i < kBlock; ++i) {
            if (width == kWidth) {
                std::memset(peer.row(0), 0, sizeof(std::uint32_t) * kWidth * height);
            } else {
                for (int y = 0; y < height; ++y)
                    std::memset(peer.row(y), 0, sizeof(std::uint32_t) * width);
            }
            benchmark::DoNotOptimize(peer.row(0));
            benchmark::ClobberMemory();
        }
        const auto t2 = Clock::now();
        const double mine = std::chrono::duration<double>(t1 - t0).count();
        ours += mine;
        memsets += std::chrono::duration<double>(t2 - t1).count();
        state.SetIterationTime(mine / kBlock);
    }
    if (target.row(0)[0] != 0xFF000000u) state.SkipWithError("the clear left another colour");
    state.counters["memset_over_ours"] = ours > 0.0 ? memsets / ours : 0.0;
    const double clears = static_cast<double>(state.iterations()) * kBlock;
    state.counters["ours_us"] = ours * 1e6 / clears;
    state.counters["memset_us"] = memsets * 1e6 / clears;
}
BENCHMARK(BM_ClearRatio)->Args({800, 600})->Args({560, 420})->UseManualTime();

}  // namespace
