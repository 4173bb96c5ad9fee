#include "engine/sound/snd_ogg_decoder.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstring>

#include "engine/sound/snd_ogg_res_memory.h"

namespace qel {
namespace {

// Rates the mixer can resample from; others are refused at open.
constexpr long kMinRate = 1000;
constexpr long kMaxRate = 192000;
constexpr std::uint32_t kReadStep = 4096;

}  // namespace

SndOggDecoder::~SndOggDecoder() {
    close();
}

bool SndOggDecoder::open(const SndOggResMemory& source) {
    close();
    if (!source.isOpen()) return false;
    source_ = static_cast<SndOggResMemory*>(source.clone());
    if (!source_) return false;
    const vorbis_info* info = ov_info(source_->vorbisFile(), -1);
    if (!info || (info->channels != 1 && info->channels != 2) || info->rate < kMinRate ||
        info->rate > kMaxRate) {
        close();
        return false;
    }
    format_.channels = static_cast<std::uint16_t>(info->channels);
    format_.samplesPerSecond = static_cast<std::uint32_t>(info->rate);
    format_.bitsPerSample = 16;
    open_ = true;
    return true;
}

bool SndOggDecoder::read(void* buffer, std::uint32_t length, std::uint32_t* written, bool* ended) {
    if (!open_) return false;
    *written = 0;
    *ended = false;
    if (!buffer) {
        *ended = true;
        return false;
    }
    auto* out = static_cast<char*>(buffer);
    std::memset(out, 0, length);
    // Whole blocks only, so the silence after the sound starts on a frame.
    const std::uint32_t usable = length - length % format_.blockAlign();
    int holes = 0;
    bool rewoundWithoutData = false;
    while (*written < usable) {
        int bitstream = 0;
        const long got =
            ov_read(source_->vorbisFile(), out + *written,
                    static_cast<int>(std::min(kReadStep, usable - *written)), 0, 2, 1, &bitstream);
        if (got == OV_HOLE && ++holes <= kMaxHoles) continue;
        if (got <= 0) {
            // A looping sound starts again, unless it has nothing to give.
            if (got == 0 && loop_ && !rewoundWithoutData) {
                rewoundWithoutData = true;
                rewind();
                continue;
            }
            *ended = true;
            break;
        }
        holes = 0;
        rewoundWithoutData = false;
        *written += static_cast<std::uint32_t>(got);
    }
    return true;
}

void SndOggDecoder::rewind() {
    if (open_) ov_time_seek(source_->vorbisFile(), 0.0);
}

SndDecoder* SndOggDecoder::clone() const {
    auto* copy = new SndOggDecoder(id_);
    if (copy && source_) copy->open(*source_);
    return copy;
}

void SndOggDecoder::close() {
    delete source_;
    source_ = nullptr;
    format_ = WaveFormat{};
    open_ = false;
    loop_ = false;
}

}  // namespace qel
