// An Ogg Vorbis sound decoded on the fly from a file in memory.
//
// What it keeps true: a read never writes past its buffer, never moves
// backwards and always ends: a gap in the stream is read past a bounded
// number of times, any other decoding error ends the sound there.
#pragma once

#include <cstdint>

#include "engine/sound/snd_decoder.h"

namespace qel {

class SndOggResMemory;

class SndOggDecoder : public SndDecoder {
public:
    QEL_CLASS(SndOggDecoder, SndDecoder, Pool::Resources);
    // Gaps read past in a row before the sound counts as ended.
    static constexpr int kMaxHoles = 8;

    SndOggDecoder() = default;
    explicit SndOggDecoder(std::uint32_t id) { id_ = id; }
    ~SndOggDecoder() override;

    // Decodes from its own clone of `source`; false when the source is not
    // open or its stream is not a 16-bit-decodable one- or two-channel sound.
    bool open(const SndOggResMemory& source);
    bool read(void* buffer, std::uint32_t length, std::uint32_t* written, bool* ended) override;
    void rewind() override;
    SndDecoder* clone() const override;
    void close() override;

private:
    SndOggResMemory* source_ = nullptr;
};

}  // namespace qel
