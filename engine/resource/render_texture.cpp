#include "engine/resource/render_texture.h"

namespace qel {

std::int32_t RenderTexture::getState() const {
    return texture_ ? texture_->getState() : ResBase::kNotLoaded;
}

ResTexture* RenderTexture::loadedTexture() const {
    return getState() == ResBase::kLoaded ? texture_.get() : nullptr;
}

}  // namespace qel
