// Source-over rectangles, gathered rows and fills with the widest vector
// unit the processor has; the result is the same, bit for bit, as
// blendAlphaRow (and modulate) in pixel_ops.h, the plain gather, std::fill.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qel::px {

// rows x width pixels; pitches in pixels. The source is read with salpha
// forced on, then modulated by color (white leaves it as it is).
void blendAlphaRect(std::uint32_t* dst, std::size_t dstPitch, const std::uint32_t* src,
                    std::size_t srcPitch, std::size_t width, std::size_t rows, std::uint32_t salpha,
                    std::uint32_t dalpha, std::uint32_t color = 0xFFFFFFFFu);

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
                    std::uint32_t salpha, std::uint32_t dalpha, std::uint32_t color = 0xFFFFFFFFu);

// out[i] = row[columns[i]] | salpha for n columns (a point-sampled row).
void gatherRow(std::uint32_t* out, const std::uint32_t* row, const std::uint32_t* columns,
               std::size_t n, std::uint32_t salpha);

// n words set to word, as std::fill or memset would.
void fillWords(std::uint32_t* dst, std::size_t n, std::uint32_t word);

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
