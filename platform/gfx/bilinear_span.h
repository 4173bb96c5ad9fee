// Bilinear samples of a span whose texels are already fetched: the two
// rounded stages of bilinear() in pixel_ops.h, several pixels at a time
// with the widest vector unit allowed (see limitVectorBits in
// blend_rows.h), bit for bit the same as bilinear() pixel by pixel.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qel::px {

// A pixel's weight fx or fy (0..255) repeated in the four 16-bit words of
// a 64-bit word, as bilinearSpan reads it.
inline std::uint64_t spanWeight(std::uint32_t f) {
    return f * 0x0001000100010001ull;
}

// out[k] = bilinear(t00, t10, t01, t11, fx, fy) with each texel's alpha
// bits salpha forced on, where top[k] holds t00 (low half) and t10 (high
// half), bottom[k] holds t01 and t11, and fx[k], fy[k] are spanWeights.
void bilinearSpan(std::uint32_t* out, const std::uint64_t* top, const std::uint64_t* bottom,
                  const std::uint64_t* fx, const std::uint64_t* fy, std::size_t n,
                  std::uint32_t salpha);

}  // namespace qel::px
