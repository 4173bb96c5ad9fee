// The sound subsystem: plays Ogg Vorbis files by path on a fixed set of
// players, one volume for all of them. A decoder per distinct path is
// cached (paths folded as every file name is), and playing a path picks the
// most suitable idle player, so a sound played again finds its buffer
// already filled.
//
// What it keeps true: players 0 to 11 exist from init to term; only 4 to 11
// play and take the volume. The cache holds only decoders that opened: a
// missing or undecodable file is tried again at its next play. Without an
// audio device, or with a silent one, init still succeeds and every play
// behaves the same, only unheard.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "engine/core/critical_section.h"
#include "engine/core/sys_base.h"
#include "engine/sound/refill_pacer.h"

namespace qel {

class AudioDevice;
class SndOggDecoder;
class SndPlayer;
class SysResource;

class SysSound : public SysBase {
public:
    QEL_CLASS_WITHOUT_FACTORY(SysSound, SysBase, Pool::Resources);

    static constexpr int kPlayerCount = 12;
    static constexpr int kFirstPlayer = 4;

    static SysSound& instance();
    // The program's is instance(); tests make their own.
    SysSound();
    ~SysSound() override;
    SysSound(const SysSound&) = delete;
    SysSound& operator=(const SysSound&) = delete;

    // The output and the files; set before init (the program's entry wires
    // the device; the files default to the resource subsystem).
    void setAudioDevice(AudioDevice* device) { device_ = device; }
    void setResources(SysResource* resources);
    // Refill rounds only on pacer().step(), for tests.
    RefillPacer& pacer() { return pacer_; }

    // Opens the device and makes the players; false only when memory runs out.
    bool init() override;
    // Deletes the players (ending their threads) and the cached decoders,
    // then closes the device.
    void term() override;

    // The player that plays the path, or null (no such sound, or all eight
    // busy). A player whose buffer could not be made is returned silent.
    SndPlayer* play(std::string_view path);
    // Clamped to 0..1 (NaN counts as 0), for players 4 to 11.
    void setVolume(float volume);
    // The cached decoder of the path, opening and caching it when needed;
    // null when the file is missing or undecodable.
    SndOggDecoder* GetDecoder(std::string_view path);
    // The cached decoder only.
    SndOggDecoder* findDecoder(std::string_view path) const;

    SndPlayer* player(int index) const {
        return index >= 0 && index < kPlayerCount ? players_[index] : nullptr;
    }
    std::size_t cachedDecoders() const { return cache_.size(); }

private:
    std::uint32_t nextDecoderId_ = 1;
    AudioDevice* device_ = nullptr;
    bool deviceOpen_ = false;
    SysResource* resources_;
    SndPlayer* players_[kPlayerCount] = {};
    std::map<std::string, SndOggDecoder*> cache_;
    RefillPacer pacer_;
    CriticalSection lock_;
};

}  // namespace qel
