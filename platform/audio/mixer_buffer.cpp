#include "platform/audio/mixer_buffer.h"

#include <cmath>
#include <cstring>
#include <mutex>

#include "platform/audio/software_mixer.h"

namespace qel {
namespace {

float gainOf(std::int32_t hundredthsOfDecibel) {
    if (hundredthsOfDecibel <= SoundBuffer::kSilence) return 0.0f;
    if (hundredthsOfDecibel >= 0) return 1.0f;
    return static_cast<float>(std::pow(10.0, hundredthsOfDecibel / 2000.0));
}

}  // namespace

MixerBuffer::MixerBuffer(SoftwareMixer& mixer, const WaveFormat& format, std::uint32_t bytes)
    : mixer_(mixer), format_(format), ring_(bytes, 0), staging_(bytes, 0) {}

MixerBuffer::~MixerBuffer() {
    mixer_.remove(this);
}

bool MixerBuffer::lock(std::uint32_t offset, std::uint32_t bytes, void** first,
                       std::uint32_t* firstBytes, void** second, std::uint32_t* secondBytes) {
    const std::uint32_t total = size();
    if (locked_ || offset >= total || bytes > total) return false;
    if (bytes == 0) {
        offset = 0;
        bytes = total;
    }
    lockOffset_ = offset;
    lockFirst_ = std::min(bytes, total - offset);
    lockSecond_ = bytes - lockFirst_;
    locked_ = true;
    // Staging mirrors the ring's layout; it is this buffer's writer's alone.
    *first = staging_.data() + offset;
    *firstBytes = lockFirst_;
    *second = lockSecond_ ? staging_.data() : nullptr;
    *secondBytes = lockSecond_;
    return true;
}

void MixerBuffer::unlock() {
    if (!locked_) return;
    std::lock_guard guard(mixer_.lock_);
    std::memcpy(ring_.data() + lockOffset_, staging_.data() + lockOffset_, lockFirst_);
    if (lockSecond_) std::memcpy(ring_.data(), staging_.data(), lockSecond_);
    locked_ = false;
}

void MixerBuffer::play() {
    std::lock_guard guard(mixer_.lock_);
    mixer_.catchUpLocked();
    playing_ = true;
}

void MixerBuffer::stop() {
    std::lock_guard guard(mixer_.lock_);
    mixer_.catchUpLocked();
    playing_ = false;
}

bool MixerBuffer::isPlaying() const {
    std::lock_guard guard(mixer_.lock_);
    mixer_.catchUpLocked();
    return playing_;
}

std::uint32_t MixerBuffer::playCursor() const {
    std::lock_guard guard(mixer_.lock_);
    mixer_.catchUpLocked();
    return static_cast<std::uint32_t>(position_) * format_.blockAlign();
}

void MixerBuffer::setPlayCursor(std::uint32_t offset) {
    std::lock_guard guard(mixer_.lock_);
    mixer_.catchUpLocked();
    const std::uint32_t frames = size() / format_.blockAlign();
    position_ = frames ? (offset / format_.blockAlign()) % frames : 0;
}

void MixerBuffer::setVolume(std::int32_t hundredthsOfDecibel) {
    std::lock_guard guard(mixer_.lock_);
    mixer_.catchUpLocked();
    volume_ = hundredthsOfDecibel;
    updateGains();
}

void MixerBuffer::setPan(std::int32_t hundredthsOfDecibel) {
    std::lock_guard guard(mixer_.lock_);
    mixer_.catchUpLocked();
    pan_ = hundredthsOfDecibel;
    updateGains();
}

void MixerBuffer::updateGains() {
    const float gain = gainOf(volume_);
    // A pan to one side lowers the other.
    leftGain_ = gain * gainOf(pan_ > 0 ? -pan_ : 0);
    rightGain_ = gain * gainOf(pan_ < 0 ? pan_ : 0);
}

void MixerBuffer::mixInto(float* acc, std::size_t frames) {
    const std::uint32_t ringFrames = size() / format_.blockAlign();
    if (!playing_ || ringFrames == 0) return;
    const auto* samples = reinterpret_cast<const std::int16_t*>(ring_.data());
    const double step = static_cast<double>(format_.samplesPerSecond) / SoftwareMixer::kOutputRate;
    const bool stereo = format_.channels == 2;
    for (std::size_t i = 0; i < frames; ++i) {
        const auto index = static_cast<std::uint32_t>(position_);
        const std::uint32_t next = index + 1 == ringFrames ? 0 : index + 1;
        const float frac = static_cast<float>(position_ - index);
        float left;
        float right;
        if (stereo) {
            left = samples[2 * index] + (samples[2 * next] - samples[2 * index]) * frac;
            right =
                samples[2 * index + 1] + (samples[2 * next + 1] - samples[2 * index + 1]) * frac;
        } else {
            left = right = samples[index] + (samples[next] - samples[index]) * frac;
        }
        acc[2 * i] += left * leftGain_;
        acc[2 * i + 1] += right * rightGain_;
        position_ += step;
        if (position_ >= ringFrames) position_ -= ringFrames;
    }
}

}  // namespace qel
