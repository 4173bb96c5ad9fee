#include "platform/audio/sdl_audio_device.h"

#include <SDL.h>

#include "engine/core/clock.h"
#include "engine/core/log.h"

namespace qel {

SdlAudioDevice::~SdlAudioDevice() {
    close();
}

void SdlAudioDevice::open() {
    if (device_ != 0 || subsystemStarted_) return;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) {
        subsystemStarted_ = true;
        SDL_AudioSpec want{};
        want.freq = static_cast<int>(SoftwareMixer::kOutputRate);
        want.format = AUDIO_S16SYS;
        want.channels = 2;
        want.samples = 1024;
        want.callback = &SdlAudioDevice::callback;
        want.userdata = this;
        device_ = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
    }
    if (device_ == 0) {
        logMessage("sound: no audio output (%s); sounds play silently", SDL_GetError());
        mixer_.followClock(&Clock::system());
        return;
    }
    SDL_PauseAudioDevice(device_, 0);
}

void SdlAudioDevice::close() {
    if (device_ != 0) SDL_CloseAudioDevice(device_);
    device_ = 0;
    mixer_.followClock(nullptr);
    if (subsystemStarted_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    subsystemStarted_ = false;
}

std::unique_ptr<SoundBuffer> SdlAudioDevice::createBuffer(const WaveFormat& format,
                                                          std::uint32_t bytes) {
    return mixer_.createBuffer(format, bytes);
}

void SdlAudioDevice::callback(void* self, unsigned char* stream, int bytes) {
    auto* device = static_cast<SdlAudioDevice*>(self);
    device->mixer_.mix(reinterpret_cast<std::int16_t*>(stream),
                       static_cast<std::size_t>(bytes) / (2 * sizeof(std::int16_t)));
}

}  // namespace qel
