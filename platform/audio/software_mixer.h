// The sound buffers of the audio interface, mixed in software into 44100 Hz
// 16-bit stereo: each playing ring is read at its own rate with linear
// resampling, scaled by its volume and pan, summed and clamped.
//
// What it keeps true: the rings, cursors and gains change only under the
// mixer's lock, and nothing slow happens under it: a buffer's lock hands
// out a staging copy, and only the unlock's copy into the ring takes the
// mixer's lock. Output is produced only by mix, which whoever drives the
// mixer calls: the SDL callback, a test stepping it by hand, or the clock
// when there is no output (followClock).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "engine/sound/audio_device.h"

namespace qel {

class Clock;
class MixerBuffer;

class SoftwareMixer : public AudioDevice {
public:
    static constexpr std::uint32_t kOutputRate = 44100;

    SoftwareMixer() = default;
    ~SoftwareMixer() override;
    SoftwareMixer(const SoftwareMixer&) = delete;
    SoftwareMixer& operator=(const SoftwareMixer&) = delete;

    std::unique_ptr<SoundBuffer> createBuffer(const WaveFormat& format,
                                              std::uint32_t bytes) override;

    // Writes `frames` stereo frames (left, right) to `out` and moves every
    // playing buffer on by as much.
    void mix(std::int16_t* out, std::size_t frames);
    // From now on every buffer call first mixes, into nothing, the frames
    // the clock says have passed since the last such catch-up. Null stops it.
    void followClock(Clock* clock);
    std::size_t bufferCount() const;

private:
    friend class MixerBuffer;
    void remove(MixerBuffer* buffer);
    // Called with the lock held.
    void mixLocked(std::int16_t* out, std::size_t frames);
    void catchUpLocked();

    mutable std::recursive_mutex lock_;
    std::vector<MixerBuffer*> buffers_;
    std::vector<float> accumulator_;
    Clock* clock_ = nullptr;
    std::int64_t clockFrames_ = 0;  // output frames the clock has accounted for
    std::int64_t clockStartNs_ = 0;
};

}  // namespace qel
