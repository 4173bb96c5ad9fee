// Sorting a frame's render queue: the queue's own merge sort against
// std::stable_sort of the same entries (keys up, equal keys in reverse
// queuing order), on a frame shaped like the game's: a few viewports, most
// commands sprites with rising orders, text and lines on equal keys.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <vector>

#include "engine/render/render_key.h"
#include "engine/render/render_queue.h"

namespace qel {
namespace {

std::vector<std::uint32_t> frameKeys(std::size_t n) {
    std::mt19937 random(11);
    std::vector<std::uint32_t> keys;
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint32_t viewport = viewportKey(random() % 3, 4);
        switch (random() % 4) {
            case 0:
                keys.push_back(viewport | kindBits(kKindText, 0));
                break;
            case 1:
                keys.push_back(viewport | kindBits(kKindLine, 0));
                break;
            default:
                keys.push_back(viewport | kindBits(kKindSprite, (random() % 4) << 12 | i));
                break;
        }
    }
    return keys;
}

void BM_RenderQueueSort(benchmark::State& state) {
    const auto keys = frameKeys(static_cast<std::size_t>(state.range(0)));
    RenderQueue queue;
    for (auto _ : state) {
        queue.clear();
        for (std::uint32_t k : keys) queue.push(k, nullptr);
        queue.sort();
        benchmark::DoNotOptimize(queue.entries().data());
    }
}
BENCHMARK(BM_RenderQueueSort)->Arg(200)->Arg(2000);

void BM_StableSortReference(benchmark::State& state) {
    const auto keys = frameKeys(static_cast<std::size_t>(state.range(0)));
    std::vector<RenderQueue::Entry> entries;
    entries.reserve(keys.size());
    for (auto _ : state) {
        entries.clear();
        // Pushed in reverse so that a stable sort leaves equal keys reversed.
        for (auto it = keys.rbegin(); it != keys.rend(); ++it) entries.push_back({*it, nullptr});
        std::stable_sort(entries.begin(), entries.end(),
                         [](const auto& a, const auto& b) { return a.key < b.key; });
        benchmark::DoNotOptimize(entries.data());
    }
}
BENCHMARK(BM_StableSortReference)->Arg(200)->Arg(2000);

}  // namespace
}  // namespace qel
