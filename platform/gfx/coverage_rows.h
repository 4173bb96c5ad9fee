// An opaque colour through a coverage mask with the widest vector unit the
// processor has (within px::limitVectorBits); the result is the same, bit
// for bit, as coverOpaquePixel on each pixel.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/gfx/pixel_ops.h"

namespace qel::px {

// Full coverage replaces the pixel with the colour, none leaves it, and only
// partial coverage blends: the colour at that alpha, source-over.
inline void coverOpaquePixel(std::uint32_t& dst, std::uint32_t cov, std::uint32_t argb,
                             std::uint32_t dalpha) {
    if (cov == 255) {
        dst = argb | dalpha;
    } else if (cov != 0) {
        put<BlendMode::Alpha>(dst, (argb & 0x00FFFFFFu) | div255(cov * 255u) << 24, dalpha);
    }
}

// rows x width pixels; dstPitch in pixels, maskPitch in bytes. argb's alpha
// is 255. Reads mask bytes only from the first row's first to the last
// row's last.
void coverOpaqueRect(std::uint32_t* dst, std::size_t dstPitch, const std::uint8_t* mask,
                     std::size_t maskPitch, std::size_t width, std::size_t rows, std::uint32_t argb,
                     std::uint32_t dalpha);

// The path coverOpaqueRect takes under the present vector limit, for a
// caller that draws many small masks (rows and width at least 1).
using CoverOpaqueRectFn = void (*)(std::uint32_t* dst, std::size_t dstPitch,
                                   const std::uint8_t* mask, std::size_t maskPitch,
                                   std::size_t width, std::size_t rows, std::uint32_t argb,
                                   std::uint32_t dalpha);
CoverOpaqueRectFn coverOpaqueRectPath();

}  // namespace qel::px
