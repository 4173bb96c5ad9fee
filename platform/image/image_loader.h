// Pictures from PNG or BMP bytes (the format is read from the content; no
// other format loads) into A8R8G8B8 texture surfaces. As the texture loader expects:
// pixels equal to the colour key become 0x00000000 (a key of 0 keys
// nothing), and the picture is stretched to fill a surface whose sides are
// rounded up to powers of two; the picture's own size is reported as well.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "engine/gfx/surface.h"

namespace qel {

struct LoadedImage {
    SurfacePtr surface;  // power-of-two sides
    int imageWidth = 0;  // the picture's own size
    int imageHeight = 0;
};

class ImageLoader {
public:
    // The largest side a picture may have, so at most 16 M pixels: ample
    // for power-of-two textures, and it bounds what hostile bytes can cost.
    static constexpr int kMaxSide = 4096;

    // Nothing when the bytes are no picture of a known format, too big (a
    // side above kMaxSide) or shorter than the size they declare. error,
    // when given, says why.
    static std::optional<LoadedImage> load(std::span<const std::uint8_t> bytes,
                                           std::uint32_t colorKey, std::string* error = nullptr);
    // The picture at its own size (a screenshot read back), keyed as load()
    // keys it; null, with the reason, where load() gives nothing.
    static SurfacePtr decode(std::span<const std::uint8_t> bytes, std::uint32_t colorKey,
                             std::string* error = nullptr);
    // The whole file read, then load(); a file that cannot be read is nothing.
    static std::optional<LoadedImage> loadFile(const std::string& path, std::uint32_t colorKey,
                                               std::string* error = nullptr);

    // 0 and 1 give 1, 3 gives 4, 4 stays 4.
    static int nextPowerOfTwo(int n);

    // The source stretched over the whole target by area averaging; equal
    // sizes copy exactly.
    static void stretch(const Surface& source, Surface& target);
};

}  // namespace qel
