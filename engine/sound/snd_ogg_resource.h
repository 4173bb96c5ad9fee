// One Ogg Vorbis stream being decoded: the decoder library's stream state
// over some source of the compressed bytes.
#pragma once

#include "engine/core/core.h"

struct OggVorbis_File;

namespace qel {

class SndOggResource : public Core {
public:
    QEL_CLASS_WITHOUT_FACTORY(SndOggResource, Core, Pool::Resources);

    SndOggResource();
    ~SndOggResource() override;
    SndOggResource(const SndOggResource&) = delete;
    SndOggResource& operator=(const SndOggResource&) = delete;

    // Clears the stream state.
    virtual void close();
    // The stream state; valid while the resource is open.
    virtual OggVorbis_File* vorbisFile() { return file_; }
    // A new resource on the same bytes with its own stream, or null.
    virtual SndOggResource* clone() const = 0;

protected:
    OggVorbis_File* file_;
    bool streamOpen_ = false;
};

}  // namespace qel
