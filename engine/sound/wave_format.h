// The format of a sound buffer: 16-bit signed little-endian PCM, one or two
// channels, interleaved.
#pragma once

#include <cstdint>

namespace qel {

struct WaveFormat {
    std::uint16_t channels = 0;
    std::uint32_t samplesPerSecond = 0;
    std::uint16_t bitsPerSample = 16;

    std::uint32_t blockAlign() const { return bitsPerSample * channels / 8u; }
    std::uint32_t averageBytesPerSecond() const { return blockAlign() * samplesPerSecond; }
    bool operator==(const WaveFormat&) const = default;
};

}  // namespace qel
