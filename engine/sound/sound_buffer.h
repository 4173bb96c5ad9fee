// One looping ring of PCM that an audio device plays, in the terms the sound
// players were written for: a region is locked (in at most two pieces, the
// second when it wraps past the end), written, and unlocked; play loops over
// the ring from the play cursor until stopped.
//
// Volume and pan are in hundredths of a decibel: gain 10^(v/2000), -10000
// and below is silence; a positive pan lowers the left channel, a negative
// one the right.
#pragma once

#include <cstdint>

namespace qel {

class SoundBuffer {
public:
    static constexpr std::int32_t kSilence = -10000;

    virtual ~SoundBuffer() = default;

    // Bytes of the ring.
    virtual std::uint32_t size() const = 0;
    // The region of `bytes` from `offset` (0 bytes: to the end of the ring),
    // as a first piece and a second one from the start of the ring (null and
    // 0 when it does not wrap). False, and nothing locked, when the offset
    // is outside the ring or a lock is held.
    virtual bool lock(std::uint32_t offset, std::uint32_t bytes, void** first,
                      std::uint32_t* firstBytes, void** second, std::uint32_t* secondBytes) = 0;
    // Puts what was written into the locked region into the ring.
    virtual void unlock() = 0;
    virtual void play() = 0;
    virtual void stop() = 0;
    virtual bool isPlaying() const = 0;
    // Byte offset of the next sample to sound, a whole block.
    virtual std::uint32_t playCursor() const = 0;
    virtual void setPlayCursor(std::uint32_t offset) = 0;
    virtual void setVolume(std::int32_t hundredthsOfDecibel) = 0;
    virtual void setPan(std::int32_t hundredthsOfDecibel) = 0;
};

}  // namespace qel
