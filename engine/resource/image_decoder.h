// How the engine turns picture bytes into a texture surface. The platform
// layer implements it (BMP, PNG, JPEG, TGA) and the program entry hands it
// to SysResource.
#pragma once

#include <cstdint>
#include <span>

#include "engine/gfx/surface.h"

namespace qel {

class ImageDecoder {
public:
    virtual ~ImageDecoder() = default;

    // An A8R8G8B8 surface whose sides are the picture's rounded up to powers
    // of two, the picture stretched over it; pixels equal to colorKey become
    // 0x00000000 (a key of 0 keys nothing). Null when the bytes are no
    // picture the decoder knows, or too big. Called on any thread.
    virtual SurfacePtr decode(std::span<const std::uint8_t> bytes, std::uint32_t colorKey) = 0;
};

}  // namespace qel
