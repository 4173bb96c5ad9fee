// One sound player: a one-second looping buffer on the audio device, its
// own clone of a sound's decoder, and a refill thread that decodes the next
// half of the buffer while the other half plays, and stops the buffer once
// the sound's end has sounded.
//
// What it keeps true:
//   - The buffer, the decoder and the fill generation change only under the
//     player's lock; the state and the ready flag are atomic, read by
//     anyone without it.
//   - Only the game thread resets a player (joining its refill thread,
//     never holding the lock meanwhile). The refill thread, on a failure,
//     only marks the player broken and not ready; the next setDecoder or
//     play resets it.
//   - Every fill from the start bumps the generation; the refill thread
//     starts its own fill state again whenever the generation moved, so a
//     replay right after an end plays from a whole buffer.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "engine/core/core.h"
#include "engine/core/critical_section.h"
#include "engine/sound/refill_pacer.h"
#include "engine/sound/sound_buffer.h"
#include "engine/sound/wave_format.h"

namespace qel {

class AudioDevice;
class SndDecoder;
class Thread;

class SndPlayer : public Core {
public:
    QEL_CLASS_WITHOUT_FACTORY(SndPlayer, Core, Pool::Resources);

    enum State : int { kIdle = 0, kPlaying = 1, kStopped = 3 };

    SndPlayer(AudioDevice* device, RefillPacer& pacer);
    ~SndPlayer() override;
    SndPlayer(const SndPlayer&) = delete;
    SndPlayer& operator=(const SndPlayer&) = delete;

    // Takes a clone of `decoder` and fills the buffer from the sound's
    // start (a new buffer when the format changed): stopped and ready.
    // False, and the player reset, on any failure. Game thread.
    bool setDecoder(const SndDecoder& decoder);
    // Plays the sound once from the buffer's position; false when not ready.
    bool start();
    // The decoder a player may score by, or null. Game thread.
    const SndDecoder* decoder() const { return decoder_; }
    // Back to idle: no thread, buffer or decoder. Game thread.
    void reset();

    // 0 to 1 (-1: not set); applied to the buffer as
    // floor(10000 v) - 10000 hundredths of a decibel.
    void setVolume(float volume);
    // 0 to 1 (0: not set), full left to full right.
    void setPan(float pan);
    float volume() const { return volume_; }
    // What the buffer gets for the stored volume: hundredths of a decibel.
    std::int32_t bufferVolume() const;
    float pan() const { return pan_; }

    int state() const { return state_; }
    bool isReady() const { return ready_; }
    // A failure left the player to be reset.
    bool isBroken() const { return broken_; }
    bool hasRefillThread() const { return thread_ != nullptr; }

private:
    struct FillState {
        std::uint64_t generation = 0;
        bool secondHalfNext = false;
        bool endPending = false;
        std::uint32_t endPosition = 0;
        std::uint32_t lastCursor = 0;
    };

    static void streamEntry(void* self);
    void streamMain();
    // One round of the refill thread.
    void refill(FillState& fill);
    // With the lock: decodes `bytes` from `offset` into the buffer; false
    // when the buffer cannot be locked.
    bool fillRegion(std::uint32_t offset, std::uint32_t bytes, std::uint32_t* written, bool* ended);
    // With the lock: rewinds and fills the whole buffer from the start.
    bool prime();
    void applyVolume();
    void applyPan();

    AudioDevice* device_;
    RefillPacer& pacer_;
    RefillPacer::Seat seat_;
    SndDecoder* decoder_ = nullptr;
    WaveFormat format_{};
    std::unique_ptr<SoundBuffer> buffer_;
    Thread* thread_ = nullptr;
    CriticalSection lock_;
    std::uint64_t generation_ = 0;
    std::atomic<bool> ready_{false};
    std::atomic<bool> broken_{false};
    std::atomic<bool> quit_{false};
    std::atomic<int> state_{kIdle};
    float volume_ = -1.0f;
    float pan_ = 0.0f;
};

}  // namespace qel
