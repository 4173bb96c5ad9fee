// The engine's image decoder over ImageLoader (stb_image): PNG and BMP,
// stretched to power-of-two sides, colour key applied.
#pragma once

#include "engine/resource/image_decoder.h"

namespace qel {

class StbImageDecoder final : public ImageDecoder {
public:
    SurfacePtr decode(std::span<const std::uint8_t> bytes, std::uint32_t colorKey) override;
};

}  // namespace qel
