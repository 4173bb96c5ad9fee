#include "engine/sound/snd_ogg_resource.h"

#include <vorbis/vorbisfile.h>

namespace qel {

SndOggResource::SndOggResource() : file_(new OggVorbis_File{}) {}

SndOggResource::~SndOggResource() {
    SndOggResource::close();
    delete file_;
}

void SndOggResource::close() {
    if (streamOpen_) ov_clear(file_);
    streamOpen_ = false;
}

}  // namespace qel
