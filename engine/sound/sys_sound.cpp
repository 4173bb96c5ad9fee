#include "engine/sound/sys_sound.h"

#include <algorithm>
#include <cmath>

#include "engine/file/string_util.h"
#include "engine/resource/sys_resource.h"
#include "engine/sound/audio_device.h"
#include "engine/sound/snd_ogg_decoder.h"
#include "engine/sound/snd_ogg_res_memory.h"
#include "engine/sound/snd_player.h"

namespace qel {
namespace {

// How well a player suits a decoder: 0 busy, 2 empty, 1 another rate,
// 3 the same rate, 4 this very sound (no setup at all).
int score(const SndPlayer& player, const SndDecoder& decoder) {
    if (player.state() == SndPlayer::kPlaying) return 0;
    const SndDecoder* held = player.decoder();
    if (!held || player.isBroken()) return 2;
    if (held->format().samplesPerSecond != decoder.format().samplesPerSecond) return 1;
    return held->id() == decoder.id() ? 4 : 3;
}

}  // namespace

SysSound& SysSound::instance() {
    static SysSound sound;
    return sound;
}

SysSound::SysSound() : resources_(&SysResource::instance()) {}

SysSound::~SysSound() {
    term();
}

void SysSound::setResources(SysResource* resources) {
    resources_ = resources ? resources : &SysResource::instance();
}

bool SysSound::init() {
    ScopedLock lock(lock_);
    if (players_[0]) return true;
    if (device_) device_->open();
    deviceOpen_ = device_ != nullptr;
    for (SndPlayer*& player : players_) {
        player = new SndPlayer(device_, pacer_);
        if (!player) return false;
    }
    return true;
}

void SysSound::term() {
    ScopedLock lock(lock_);
    for (SndPlayer*& player : players_) {
        delete player;
        player = nullptr;
    }
    for (auto& [key, decoder] : cache_) delete decoder;
    cache_.clear();
    // Only what init opened: the device may be gone by a late second term.
    if (deviceOpen_) device_->close();
    deviceOpen_ = false;
}

SndOggDecoder* SysSound::findDecoder(std::string_view path) const {
    auto it = cache_.find(foldName(path));
    return it == cache_.end() ? nullptr : it->second;
}

SndOggDecoder* SysSound::GetDecoder(std::string_view path) {
    std::string key = foldName(path);
    auto it = cache_.find(key);
    if (it != cache_.end()) return it->second;
    SndOggResMemory source;
    source.open(path, *resources_);
    auto* decoder = new SndOggDecoder(nextDecoderId_++);
    if (!decoder) return nullptr;
    if (!decoder->open(source)) {
        delete decoder;
        return nullptr;
    }
    try {
        cache_.emplace(std::move(key), decoder);
    } catch (const std::bad_alloc&) {
        delete decoder;
        return nullptr;
    }
    return decoder;
}

SndPlayer* SysSound::play(std::string_view path) {
    if (!players_[0]) return nullptr;
    SndOggDecoder* decoder = GetDecoder(path);
    if (!decoder) return nullptr;
    SndPlayer* best = nullptr;
    int bestScore = 0;
    for (int i = kFirstPlayer; i < kPlayerCount && bestScore < 4; ++i) {
        const int s = score(*players_[i], *decoder);
        if (s > bestScore) {
            best = players_[i];
            bestScore = s;
        }
    }
    if (!best) return nullptr;
    if (bestScore < 4) best->setDecoder(*decoder);
    best->start();
    return best;
}

void SysSound::setVolume(float volume) {
    ScopedLock lock(lock_);
    const float v = std::isnan(volume) ? 0.0f : std::clamp(volume, 0.0f, 1.0f);
    for (int i = kFirstPlayer; i < kPlayerCount; ++i) {
        if (players_[i]) players_[i]->setVolume(v);
    }
}

}  // namespace qel
