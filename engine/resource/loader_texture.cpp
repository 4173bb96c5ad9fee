#include "engine/resource/loader_texture.h"

#include <vector>

#include "engine/file/file.h"

namespace qel {

LoaderTexture::LoaderTexture(std::string path, ResTexture* target, std::uint32_t colorKey,
                             ImageDecoder* decoder)
    : LoaderBase(std::move(path)), target_(target), colorKey_(colorKey), decoder_(decoder) {}

bool LoaderTexture::load() {
    setState(kLoading);
    ResTexture& target = *target_;
    std::vector<unsigned char> bytes;
    SurfacePtr surface;
    if (decoder_ && File::readWhole(getPath(), bytes)) {
        surface = decoder_->decode(bytes, colorKey_);
    }
    if (!surface) return finish(target, false);
    target.attach(std::move(surface));
    target.setColorKey(colorKey_);
    return finish(target, true);
}

}  // namespace qel
