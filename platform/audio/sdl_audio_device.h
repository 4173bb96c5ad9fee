// Sound output through SDL2: the software mixer run by SDL's audio callback
// at 44100 Hz, 16-bit stereo. When no output can be opened (no hardware,
// no driver), the mixer follows the monotonic clock instead: silent, but
// every cursor moves and every sound ends as it would have.
#pragma once

#include <cstdint>

#include "platform/audio/software_mixer.h"

namespace qel {

class SdlAudioDevice final : public AudioDevice {
public:
    SdlAudioDevice() = default;
    ~SdlAudioDevice() override;
    SdlAudioDevice(const SdlAudioDevice&) = delete;
    SdlAudioDevice& operator=(const SdlAudioDevice&) = delete;

    void open() override;
    void close() override;
    std::unique_ptr<SoundBuffer> createBuffer(const WaveFormat& format,
                                              std::uint32_t bytes) override;

    // True while SDL plays the mix; false when closed or silent.
    bool isAudible() const { return device_ != 0; }

private:
    static void callback(void* self, unsigned char* stream, int bytes);

    SoftwareMixer mixer_;
    std::uint32_t device_ = 0;
    bool subsystemStarted_ = false;
};

}  // namespace qel
