// The software mixer's cost: eight players sounding at once (the most the
// game plays), at the output rate and resampled from 22050 Hz, mixed in the
// output callback's 1024-frame pieces. The "realtime" counter is how many
// seconds of output one second of this thread's time mixes.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/audio/software_mixer.h"

namespace {

void fill(qel::SoundBuffer& buffer) {
    void* first = nullptr;
    void* second = nullptr;
    std::uint32_t firstBytes = 0;
    std::uint32_t secondBytes = 0;
    buffer.lock(0, 0, &first, &firstBytes, &second, &secondBytes);
    auto* samples = static_cast<std::int16_t*>(first);
    for (std::uint32_t i = 0; i < firstBytes / 2; ++i)
        samples[i] = static_cast<std::int16_t>(i * 31);
    buffer.unlock();
}

void BM_MixEightPlayers(benchmark::State& state) {
    const auto rate = static_cast<std::uint32_t>(state.range(0));
    const auto channels = static_cast<std::uint16_t>(state.range(1));
    qel::SoftwareMixer mixer;
    std::vector<std::unique_ptr<qel::SoundBuffer>> buffers;
    const qel::WaveFormat format{channels, rate, 16};
    for (int i = 0; i < 8; ++i) {
        buffers.push_back(mixer.createBuffer(format, format.averageBytesPerSecond()));
        fill(*buffers.back());
        buffers.back()->setVolume(-2500);
        buffers.back()->play();
    }
    constexpr std::size_t kFrames = 1024;
    std::vector<std::int16_t> out(2 * kFrames);
    for (auto _ : state) {
        mixer.mix(out.data(), kFrames);
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["realtime"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * kFrames / qel::SoftwareMixer::kOutputRate,
        benchmark::Counter::kIsRate);
}
BENCHMARK(BM_MixEightPlayers)->Args({44100, 2})->Args({22050, 1});

}  // namespace
