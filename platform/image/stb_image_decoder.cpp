#include "platform/image/stb_image_decoder.h"

#include "platform/image/image_loader.h"

namespace qel {

SurfacePtr StbImageDecoder::decode(std::span<const std::uint8_t> bytes, std::uint32_t colorKey) {
    std::optional<LoadedImage> image = ImageLoader::load(bytes, colorKey);
    return image ? image->surface : nullptr;
}

}  // namespace qel
