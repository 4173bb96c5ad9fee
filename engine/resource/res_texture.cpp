#include "engine/resource/res_texture.h"

namespace qel {

void ResTexture::attach(SurfacePtr surface) {
    if (surface_ || !surface) return;
    surface_ = std::move(surface);
    width_ = static_cast<std::uint32_t>(surface_->width());
    height_ = static_cast<std::uint32_t>(surface_->height());
}

}  // namespace qel
