// A texture: a surface read from a picture file (power-of-two sides), or a
// render target's (see ResTarget).
#pragma once

#include <cstdint>

#include "engine/gfx/surface.h"
#include "engine/resource/res_base.h"

namespace qel {

class ResTexture : public ResBase {
public:
    QEL_CLASS(ResTexture, ResBase, Pool::Resources);

    // Adopts the surface only while the texture holds none (each texture
    // has exactly one loader); width and height become its size.
    void attach(SurfacePtr surface);

    // Null until loaded (and for a render target while the device is lost).
    const SurfacePtr& getSurface() const { return surface_; }
    // The surface's size; a render target keeps its requested size.
    std::uint32_t getWidth() const { return width_; }
    std::uint32_t getHeight() const { return height_; }
    std::uint32_t getColorKey() const { return colorKey_; }
    void setColorKey(std::uint32_t key) { colorKey_ = key; }

protected:
    SurfacePtr surface_;
    std::uint32_t width_ = 0;
    std::uint32_t height_ = 0;
    std::uint32_t colorKey_ = 0;
};

}  // namespace qel
