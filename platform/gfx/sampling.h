// Exact fixed-point division and texture sampling shared by the fast and
// the general path. A sample position q is in 1/256 texel: point sampling
// takes texel floor(q / 256), bilinear sampling weighs the texels around
// q - 128 (texel centres sit at half-texel positions).
#pragma once

#include <cstdint>

#include "platform/gfx/pixel_ops.h"
#include "platform/gfx/rasterizer.h"

namespace qel::px {

using Wide = __int128;

// Division rounding toward minus infinity; b > 0.
inline std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}
inline Wide floorDiv(Wide a, Wide b) {
    const Wide q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}
inline std::int64_t ceilDiv(std::int64_t a, std::int64_t b) {
    return -floorDiv(-a, b);
}

// floor(n / d) for a numerator n that grows by a constant step, d > 0,
// kept as quotient and remainder so that stepping needs no division. The
// numerator type N is std::int64_t where the products are known to fit,
// Wide elsewhere; quotient and remainder always fit 64 bits.
struct ExactStep {
    std::int64_t q = 0;
    std::int64_t r = 0;
    std::int64_t qs = 0;
    std::int64_t rs = 0;
    std::int64_t d = 1;

    template <typename N>
    void setStep(N step, std::int64_t denominator) {
        d = denominator;
        const N w = floorDiv(step, N(d));
        qs = static_cast<std::int64_t>(w);
        rs = static_cast<std::int64_t>(step - w * d);
    }
    template <typename N>
    void start(N n) {
        if constexpr (sizeof(N) > sizeof(std::int64_t)) {
            // Small triangles' numerators fit 64 bits, whose division is
            // several times quicker than the wide one; within 2^61 the
            // remainder's product q x d cannot leave 64 bits either.
            constexpr std::int64_t kNarrow = std::int64_t{1} << 61;
            if (n >= -N(kNarrow) && n <= N(kNarrow) && d <= kNarrow) {
                start(static_cast<std::int64_t>(n));
                return;
            }
        }
        const N w = floorDiv(n, N(d));
        q = static_cast<std::int64_t>(w);
        r = static_cast<std::int64_t>(n - w * d);
    }
    // m steps at once; m x rs must fit 64 bits, and so must the quotient
    // reached.
    void advance(std::int64_t m) {
        const std::int64_t t = r + m * rs;
        const std::int64_t carry = t / d;
        q += m * qs + carry;
        r = t - carry * d;
    }
    void next() {
        q += qs;
        r += rs;
        // Branch-free carry: the carry pattern is irregular.
        const std::int64_t carry = -static_cast<std::int64_t>(r >= d);
        r -= d & carry;
        q -= carry;
    }
};

struct AxisSample {
    int i0 = 0;
    int i1 = 0;
    std::uint32_t f = 0;
};

inline int axisPoint(std::int64_t q, int size, TextureAddress mode) {
    return address(q >> 8, size, mode);
}
inline AxisSample axisLinear(std::int64_t q, int size, TextureAddress mode) {
    const std::int64_t s = q - 128;
    const std::int64_t i = s >> 8;
    return AxisSample{address(i, size, mode), address(i + 1, size, mode),
                      static_cast<std::uint32_t>(s & 255)};
}

inline std::uint32_t sampleLinear(const Surface& t, const AxisSample& x, const AxisSample& y,
                                  std::uint32_t salpha) {
    const std::uint32_t* r0 = t.row(y.i0);
    const std::uint32_t* r1 = t.row(y.i1);
    return bilinear(r0[x.i0] | salpha, r0[x.i1] | salpha, r1[x.i0] | salpha, r1[x.i1] | salpha, x.f,
                    y.f);
}

// One sample with the filter and the addressing fixed at compile time.
template <TextureFilter Filter, TextureAddress Address>
[[gnu::always_inline]] inline std::uint32_t sampleWith(const Surface& t, std::int64_t uq,
                                                       std::int64_t vq, std::uint32_t salpha) {
    if constexpr (Filter == TextureFilter::Point) {
        return t.row(axisPoint(vq, t.height(), Address))[axisPoint(uq, t.width(), Address)] |
               salpha;
    } else {
        return sampleLinear(t, axisLinear(uq, t.width(), Address),
                            axisLinear(vq, t.height(), Address), salpha);
    }
}

// Calls f.template operator()<Filter, Address>() with both as constants.
template <typename F>
inline void withSampling(const DrawState& state, F&& f) {
    const bool clamp = state.address == TextureAddress::Clamp;
    if (state.filter == TextureFilter::Point) {
        if (clamp) {
            f.template operator()<TextureFilter::Point, TextureAddress::Clamp>();
        } else {
            f.template operator()<TextureFilter::Point, TextureAddress::Wrap>();
        }
    } else if (clamp) {
        f.template operator()<TextureFilter::Linear, TextureAddress::Clamp>();
    } else {
        f.template operator()<TextureFilter::Linear, TextureAddress::Wrap>();
    }
}

[[gnu::always_inline]] inline std::uint32_t sample(const Surface& t, std::int64_t uq,
                                                   std::int64_t vq, const DrawState& state,
                                                   std::uint32_t salpha) {
    if (state.filter == TextureFilter::Point) {
        return t.row(axisPoint(vq, t.height(),
                               state.address))[axisPoint(uq, t.width(), state.address)] |
               salpha;
    }
    return sampleLinear(t, axisLinear(uq, t.width(), state.address),
                        axisLinear(vq, t.height(), state.address), salpha);
}

// Calls f.template operator()<Mode>() with the blend mode as a constant.
template <typename F>
inline void withBlendMode(BlendMode mode, F&& f) {
    switch (mode) {
        case BlendMode::Off:
            f.template operator()<BlendMode::Off>();
            break;
        case BlendMode::Alpha:
            f.template operator()<BlendMode::Alpha>();
            break;
        case BlendMode::Add:
            f.template operator()<BlendMode::Add>();
            break;
        case BlendMode::InvMultiply:
            f.template operator()<BlendMode::InvMultiply>();
            break;
        case BlendMode::Multiply:
            f.template operator()<BlendMode::Multiply>();
            break;
        case BlendMode::Screen:
            f.template operator()<BlendMode::Screen>();
            break;
        case BlendMode::Invert:
            f.template operator()<BlendMode::Invert>();
            break;
        case BlendMode::Copy:
            f.template operator()<BlendMode::Copy>();
            break;
        case BlendMode::AddOne:
            f.template operator()<BlendMode::AddOne>();
            break;
        case BlendMode::Premultiplied:
            f.template operator()<BlendMode::Premultiplied>();
            break;
        default:
            f.template operator()<BlendMode::Off>();
            break;
    }
}

}  // namespace qel::px
