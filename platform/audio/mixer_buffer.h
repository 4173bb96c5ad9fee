// One sound buffer of the software mixer: its ring, the staging copy a lock
// hands out, and the play position in frames with its fraction for
// resampling.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/sound/sound_buffer.h"
#include "engine/sound/wave_format.h"

namespace qel {

class SoftwareMixer;

class MixerBuffer final : public SoundBuffer {
public:
    MixerBuffer(SoftwareMixer& mixer, const WaveFormat& format, std::uint32_t bytes);
    ~MixerBuffer() override;
    MixerBuffer(const MixerBuffer&) = delete;
    MixerBuffer& operator=(const MixerBuffer&) = delete;

    std::uint32_t size() const override { return static_cast<std::uint32_t>(ring_.size()); }
    bool lock(std::uint32_t offset, std::uint32_t bytes, void** first, std::uint32_t* firstBytes,
              void** second, std::uint32_t* secondBytes) override;
    void unlock() override;
    void play() override;
    void stop() override;
    bool isPlaying() const override;
    std::uint32_t playCursor() const override;
    void setPlayCursor(std::uint32_t offset) override;
    void setVolume(std::int32_t hundredthsOfDecibel) override;
    void setPan(std::int32_t hundredthsOfDecibel) override;

    // Under the mixer's lock: adds `frames` output frames of this buffer
    // into `acc` (interleaved stereo) and moves on.
    void mixInto(float* acc, std::size_t frames);

private:
    void updateGains();

    SoftwareMixer& mixer_;
    WaveFormat format_;
    std::vector<unsigned char> ring_;
    std::vector<unsigned char> staging_;
    bool locked_ = false;
    std::uint32_t lockOffset_ = 0;
    std::uint32_t lockFirst_ = 0;
    std::uint32_t lockSecond_ = 0;
    bool playing_ = false;
    double position_ = 0.0;  // in frames of the ring
    std::int32_t volume_ = 0;
    std::int32_t pan_ = 0;
    float leftGain_ = 1.0f;
    float rightGain_ = 1.0f;
};

}  // namespace qel
