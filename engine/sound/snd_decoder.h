// A decoder of one sound into 16-bit PCM, read in pieces from the start.
#pragma once

#include <cstdint>

#include "engine/core/core.h"
#include "engine/sound/wave_format.h"

namespace qel {

class SndDecoder : public Core {
public:
    QEL_CLASS_WITHOUT_FACTORY(SndDecoder, Core, Pool::Resources);

    // Fills `length` bytes: PCM as far as the sound goes (the rest silence);
    // `written` is the PCM part, `ended` tells whether the sound ran out.
    // False when the decoder is not open.
    virtual bool read(void* buffer, std::uint32_t length, std::uint32_t* written, bool* ended) = 0;
    // Back to the start.
    virtual void rewind() = 0;
    // A decoder of the same sound, from its start, with its own state.
    virtual SndDecoder* clone() const = 0;
    virtual void close() = 0;

    std::uint32_t id() const { return id_; }
    bool isOpen() const { return open_; }
    bool loops() const { return loop_; }
    void setLoop(bool loop) { loop_ = loop; }
    const WaveFormat& format() const { return format_; }

protected:
    std::uint32_t id_ = 0;
    bool loop_ = false;
    bool open_ = false;
    WaveFormat format_{};
};

}  // namespace qel
