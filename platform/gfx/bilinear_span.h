// Bilinear samples of a span whose texels are already fetched: the two
// rounded stages of bilinear() in pixel_ops.h, several pixels at a time
// with the widest vector unit allowed (see limitVectorBits in
// blend_rows.h), bit for bit the same as bilinear() pixel by pixel.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "platform/gfx/sampling.h"

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

// The texels of count bilinear samples along a row of the texture t (w x h
// texels from pixels), as sampleLinear reads them (no alpha forced yet),
// in the pairs bilinearSpan takes: t00 | t10 << 32 and t01 | t11 << 32,
// with the weights as spanWeights. u and v step between the samples, and
// once more after the last when more is set. Inside the texture each pair
// is one 64-bit load.
template <TextureAddress Address>
inline void linearTexelRun(const std::uint32_t* pixels, int w, int h, ExactStep& u, ExactStep& v,
                           int count, bool more, std::uint64_t* top, std::uint64_t* bottom,
                           std::uint64_t* fx, std::uint64_t* fy) {
    static_assert(std::endian::native == std::endian::little);
    // Local copies stay in registers whatever the stores below may alias.
    ExactStep ru = u;
    ExactStep rv = v;
    const auto lastX = static_cast<std::uint64_t>(w - 1);
    const auto lastY = static_cast<std::uint64_t>(h - 1);
    for (int k = 0;;) {
        const std::int64_t su = ru.q - 128;
        const std::int64_t sv = rv.q - 128;
        const std::int64_t i = su >> 8;
        const std::int64_t j = sv >> 8;
        fx[k] = spanWeight(static_cast<std::uint32_t>(su & 255));
        fy[k] = spanWeight(static_cast<std::uint32_t>(sv & 255));
        if (static_cast<std::uint64_t>(i) < lastX && static_cast<std::uint64_t>(j) < lastY)
            [[likely]] {
            const std::uint32_t* p = pixels + j * w + i;
            std::memcpy(top + k, p, sizeof *top);
            std::memcpy(bottom + k, p + w, sizeof *bottom);
        } else {
            const AxisSample x = axisLinear(ru.q, w, Address);
            const AxisSample y = axisLinear(rv.q, h, Address);
            const std::uint32_t* r0 = pixels + static_cast<std::ptrdiff_t>(y.i0) * w;
            const std::uint32_t* r1 = pixels + static_cast<std::ptrdiff_t>(y.i1) * w;
            top[k] = r0[x.i0] | std::uint64_t{r0[x.i1]} << 32;
            bottom[k] = r1[x.i0] | std::uint64_t{r1[x.i1]} << 32;
        }
        if (++k == count && !more) break;
        ru.next();
        rv.next();
        if (k == count) break;
    }
    u = ru;
    v = rv;
}

// count bilinear samples along a row straight from the texture (w x h
// texels from pixels, wrapped or clamped), u and v at the first and, when
// more is set, left at the pixel after the last (else as they were);
// out[k] as bilinearSpan gives it, or with blend set, out[k] as
// blendAlphaSpan(out, samples, count, 0, dalpha) leaves it: positions,
// texels and weights all in the vector unit, where it has 512-bit vectors
// or AVX2 with FMA (within limitVectorBits) and the numbers fit its exact
// arithmetic (count at most 64). False, with nothing done, where it does
// not.
bool sampleLinearSpan(std::uint32_t* out, bool blend, std::uint32_t dalpha,
                      const std::uint32_t* pixels, int w, int h, bool wrap, ExactStep& u,
                      ExactStep& v, int count, bool more, std::uint32_t salpha);

}  // namespace qel::px
