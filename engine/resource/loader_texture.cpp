#include "engine/resource/loader_texture.h"

#include <vector>

#include "engine/core/log.h"
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
    const bool read = File::readWhole(getPath(), bytes);
    if (decoder_ && read) surface = decoder_->decode(bytes, colorKey_);
    if (!surface) {
        // A picture that fails is never silent: whoever looks at a blank
        // screen learns which file and why.
        logMessage("picture %s cannot be loaded: %s", getPath().c_str(),
                   !read       ? "no such file, or it cannot be read"
                   : !decoder_ ? "no picture decoder is installed"
                               : "damaged, or not a PNG or BMP picture this program reads");
        return finish(target, false);
    }
    target.attach(std::move(surface));
    target.setColorKey(colorKey_);
    return finish(target, true);
}

}  // namespace qel
