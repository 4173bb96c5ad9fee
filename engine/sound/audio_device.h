// What the sound players need from the sound hardware: rings of PCM that
// play, loop and mix. platform/audio implements it (SDL output, or a mixer
// stepped by hand for tests); only the program's entry installs one.
#pragma once

#include <cstdint>
#include <memory>

#include "engine/sound/sound_buffer.h"
#include "engine/sound/wave_format.h"

namespace qel {

class AudioDevice {
public:
    virtual ~AudioDevice() = default;
    // Starts the output. Never fails for want of hardware: without an output
    // the device plays silently, its cursors moving with the clock.
    virtual void open() {}
    // Stops the output; every buffer must be gone by then.
    virtual void close() {}
    // A stopped, silent ring of `bytes` (whole blocks) in `format`; null
    // when the format is not supported or memory runs out.
    virtual std::unique_ptr<SoundBuffer> createBuffer(const WaveFormat& format,
                                                      std::uint32_t bytes) = 0;
};

}  // namespace qel
