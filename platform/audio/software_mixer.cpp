#include "platform/audio/software_mixer.h"

#include <algorithm>
#include <cmath>

#include "engine/core/clock.h"
#include "platform/audio/mixer_buffer.h"

namespace qel {

SoftwareMixer::~SoftwareMixer() = default;

std::unique_ptr<SoundBuffer> SoftwareMixer::createBuffer(const WaveFormat& format,
                                                         std::uint32_t bytes) {
    if (format.bitsPerSample != 16 || (format.channels != 1 && format.channels != 2) ||
        format.samplesPerSecond == 0 || bytes == 0 || bytes % format.blockAlign() != 0) {
        return nullptr;
    }
    std::unique_ptr<MixerBuffer> buffer;
    try {
        buffer = std::make_unique<MixerBuffer>(*this, format, bytes);
        std::lock_guard guard(lock_);
        buffers_.push_back(buffer.get());
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    return buffer;
}

void SoftwareMixer::remove(MixerBuffer* buffer) {
    std::lock_guard guard(lock_);
    buffers_.erase(std::remove(buffers_.begin(), buffers_.end(), buffer), buffers_.end());
}

std::size_t SoftwareMixer::bufferCount() const {
    std::lock_guard guard(lock_);
    return buffers_.size();
}

void SoftwareMixer::mix(std::int16_t* out, std::size_t frames) {
    std::lock_guard guard(lock_);
    mixLocked(out, frames);
}

void SoftwareMixer::mixLocked(std::int16_t* out, std::size_t frames) {
    accumulator_.assign(2 * frames, 0.0f);
    for (MixerBuffer* buffer : buffers_) buffer->mixInto(accumulator_.data(), frames);
    if (!out) return;
    for (std::size_t i = 0; i < 2 * frames; ++i) {
        const float v = std::clamp(accumulator_[i], -32768.0f, 32767.0f);
        out[i] = static_cast<std::int16_t>(std::lrint(v));
    }
}

void SoftwareMixer::followClock(Clock* clock) {
    std::lock_guard guard(lock_);
    clock_ = clock;
    clockFrames_ = 0;
    if (clock_) clockStartNs_ = clock_->nowNanoseconds();
}

void SoftwareMixer::catchUpLocked() {
    if (!clock_) return;
    const std::int64_t elapsed = clock_->nowNanoseconds() - clockStartNs_;
    const std::int64_t due = elapsed / 1000 * kOutputRate / 1000000;
    std::int64_t frames = due - clockFrames_;
    clockFrames_ = due;
    // In pieces, so a long pause needs no large accumulator.
    while (frames > 0) {
        const std::int64_t piece = std::min<std::int64_t>(frames, 4096);
        mixLocked(nullptr, static_cast<std::size_t>(piece));
        frames -= piece;
    }
}

}  // namespace qel
