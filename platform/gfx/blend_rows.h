// Source-over rectangles with the widest vector unit the processor has; the
// result is the same, bit for bit, as blendAlphaRow in pixel_ops.h.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qel::px {

// rows x width pixels; pitches in pixels.
void blendAlphaRect(std::uint32_t* dst, std::size_t dstPitch, const std::uint32_t* src,
                    std::size_t srcPitch, std::size_t width, std::size_t rows, std::uint32_t salpha,
                    std::uint32_t dalpha);

// One rectangle of a run of source-over blits between the same two
// surfaces.
struct RectBlit {
    std::uint32_t* dst;
    const std::uint32_t* src;
    std::uint32_t width;
    std::uint32_t rows;
};

// blendAlphaRect for each blit in turn; the rows of the blits coming next
// are fetched while one is blended.
void blendAlphaBlits(const RectBlit* blits, std::size_t count, std::size_t dstPitch,
                     std::size_t srcPitch, std::uint32_t salpha, std::uint32_t dalpha);

// One row of n pixels, as blendAlphaRect's rows (no fetching ahead).
void blendAlphaSpan(std::uint32_t* dst, const std::uint32_t* src, std::size_t n,
                    std::uint32_t salpha, std::uint32_t dalpha);

// rows x width pixels copied with the force bits set in each (an X8
// surface's alpha); the result of dst[i] = src[i] | force. The two do not
// overlap.
void copyRowsForced(std::uint32_t* dst, std::size_t dstPitch, const std::uint32_t* src,
                    std::size_t srcPitch, std::size_t width, std::size_t rows, std::uint32_t force);

// The widest vectors the two may use (512, 256, or 128 for the baseline),
// whatever the processor has: the tests run each width's path on a machine
// that has the widest.
void limitVectorBits(int bits);

// The widest vectors the processor has within that limit: 512, 256 or 128.
int vectorBits();

}  // namespace qel::px
