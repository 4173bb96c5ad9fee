#include "engine/sound/snd_player.h"

#include <algorithm>
#include <cmath>

#include "engine/core/thread.h"
#include "engine/sound/audio_device.h"
#include "engine/sound/snd_decoder.h"

namespace qel {

SndPlayer::SndPlayer(AudioDevice* device, RefillPacer& pacer) : device_(device), pacer_(pacer) {}

SndPlayer::~SndPlayer() {
    reset();
}

bool SndPlayer::setDecoder(const SndDecoder& decoder) {
    if (broken_) reset();
    bool failed = false;
    {
        ScopedLock lock(lock_);
        delete decoder_;
        decoder_ = nullptr;
        ready_ = false;
        if (!device_ || !decoder.isOpen()) return false;
        state_ = kStopped;
        const WaveFormat format = decoder.format();
        decoder_ = decoder.clone();
        if (!decoder_ || !decoder_->isOpen()) {
            failed = true;
        } else {
            // Any change of format, channels included, needs a new buffer.
            if (buffer_ && !(format_ == format)) buffer_.reset();
            if (!buffer_) {
                buffer_ = device_->createBuffer(format, format.averageBytesPerSecond());
                format_ = format;
            }
            failed = !buffer_ || !prime();
        }
    }
    if (failed) {
        reset();
        return false;
    }
    if (!thread_) {
        pacer_.join(seat_);
        thread_ = new Thread(&SndPlayer::streamEntry, this, false);
        if (!thread_ || !thread_->isValid()) {
            delete thread_;
            thread_ = nullptr;
            pacer_.leave(seat_);
            reset();
            return false;
        }
    }
    ScopedLock lock(lock_);
    ready_ = true;
    if (volume_ != -1.0f) applyVolume();
    if (pan_ != 0.0f) applyPan();
    return true;
}

bool SndPlayer::start() {
    ScopedLock lock(lock_);
    if (!ready_ || !buffer_ || !decoder_) return false;
    decoder_->setLoop(false);
    buffer_->play();
    state_ = kPlaying;
    return true;
}

void SndPlayer::reset() {
    quit_ = true;
    pacer_.interrupt();
    delete thread_;
    thread_ = nullptr;
    quit_ = false;
    ScopedLock lock(lock_);
    buffer_.reset();
    format_ = WaveFormat{};
    ready_ = false;
    broken_ = false;
    state_ = kIdle;
    delete decoder_;
    decoder_ = nullptr;
}

void SndPlayer::setVolume(float volume) {
    ScopedLock lock(lock_);
    volume_ = std::isnan(volume) ? 0.0f : std::clamp(volume, 0.0f, 1.0f);
    if (ready_) applyVolume();
}

void SndPlayer::setPan(float pan) {
    ScopedLock lock(lock_);
    pan_ = std::isnan(pan) ? 0.0f : std::clamp(pan, 0.0f, 1.0f);
    if (ready_) applyPan();
}

std::int32_t SndPlayer::bufferVolume() const {
    return static_cast<std::int32_t>(std::floor(10000.0f * volume_)) - 10000;
}

void SndPlayer::applyVolume() {
    if (buffer_) buffer_->setVolume(bufferVolume());
}

void SndPlayer::applyPan() {
    if (buffer_) buffer_->setPan(static_cast<std::int32_t>(std::floor(20000.0f * pan_)) - 10000);
}

bool SndPlayer::prime() {
    decoder_->rewind();
    buffer_->setPlayCursor(0);
    ++generation_;
    std::uint32_t written = 0;
    bool ended = false;
    // Whether the sound already ended is the refill thread's to find out.
    return fillRegion(0, 0, &written, &ended);
}

bool SndPlayer::fillRegion(std::uint32_t offset, std::uint32_t bytes, std::uint32_t* written,
                           bool* ended) {
    void* first = nullptr;
    void* second = nullptr;
    std::uint32_t firstBytes = 0;
    std::uint32_t secondBytes = 0;
    if (!buffer_->lock(offset, bytes, &first, &firstBytes, &second, &secondBytes)) return false;
    decoder_->read(first, firstBytes, written, ended);
    buffer_->unlock();
    return true;
}

void SndPlayer::streamEntry(void* self) {
    static_cast<SndPlayer*>(self)->streamMain();
}

void SndPlayer::streamMain() {
    FillState fill;
    do {
        refill(fill);
    } while (pacer_.wait(seat_, quit_));
    pacer_.leave(seat_);
}

void SndPlayer::refill(FillState& fill) {
    ScopedLock lock(lock_);
    if (fill.generation != generation_) fill = FillState{generation_};
    if (!ready_ || !buffer_ || !decoder_) return;
    if (state_ == kStopped) {
        fill = FillState{generation_};
        return;
    }
    if (state_ != kPlaying) return;
    const std::uint32_t size = buffer_->size();
    const std::uint32_t half = size / 2 - size / 2 % format_.blockAlign();
    const std::uint32_t cursor = buffer_->playCursor();
    const bool fillFirst = !fill.secondHalfNext && cursor >= half;
    const bool fillSecond = fill.secondHalfNext && cursor < half;
    if (fillFirst || fillSecond) {
        const std::uint32_t offset = fillFirst ? 0 : half;
        std::uint32_t written = 0;
        bool ended = false;
        if (!fillRegion(offset, fillFirst ? half : size - half, &written, &ended)) {
            ready_ = false;
            broken_ = true;
            return;
        }
        fill.secondHalfNext = fillFirst;
        if (ended && !fill.endPending) {
            fill.endPosition = offset + written;
            fill.lastCursor = buffer_->playCursor();
            fill.endPending = true;
        }
    }
    if (!fill.endPending) return;
    const std::uint32_t now = buffer_->playCursor();
    const std::uint32_t end = fill.endPosition;
    const std::uint32_t last = fill.lastCursor;
    const bool passed = now >= last ? last <= end && end <= now : end >= last || now >= end;
    fill.lastCursor = now;
    if (!passed) return;
    // Stopped and filled again from the start, so the next play of this
    // sound sounds at once.
    state_ = kStopped;
    buffer_->stop();
    fill.endPending = false;
    if (!prime()) {
        ready_ = false;
        broken_ = true;
    }
}

}  // namespace qel
