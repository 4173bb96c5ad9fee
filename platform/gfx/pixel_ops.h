// Per-pixel arithmetic shared by every drawing path. The fast paths and the
// general path call exactly these functions, which is what lets a test
// demand identical pixels from both.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "engine/gfx/graphics_device.h"
#include "engine/gfx/surface.h"
#include "platform/gfx/blend_rows.h"

namespace qel::px {

constexpr std::uint32_t kAlphaMask = 0xFF000000u;

inline std::uint32_t channel(std::uint32_t argb, int shift) {
    return (argb >> shift) & 0xFFu;
}

// (x + 127) / 255, exact for x in 0..2 * 255 * 255.
inline std::uint32_t div255(std::uint32_t x) {
    return (x + 127u) / 255u;
}

// Texture times diffuse per channel: (t x c + 127) / 255.
inline std::uint32_t modulate(std::uint32_t t, std::uint32_t c) {
    if (c == 0xFFFFFFFFu) return t;
    // White at some alpha, the fading case: a channel times 255 is itself.
    if ((c & 0x00FFFFFFu) == 0x00FFFFFFu)
        return (t & 0x00FFFFFFu) | div255((t >> 24) * (c >> 24)) << 24;
    std::uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        out |= div255(channel(t, shift) * channel(c, shift)) << shift;
    }
    return out;
}

// Four 8-bit channels spread into 16-bit lanes of a 64-bit word, so one
// multiply weighs all four at once.
inline std::uint64_t spread(std::uint32_t argb) {
    std::uint64_t v = argb;
    v = (v | (v << 16)) & 0x0000FFFF0000FFFFull;
    v = (v | (v << 8)) & 0x00FF00FF00FF00FFull;
    return v;
}
inline std::uint32_t gather(std::uint64_t v) {
    v &= 0x00FF00FF00FF00FFull;
    v = (v | (v >> 8)) & 0x0000FFFF0000FFFFull;
    v = (v | (v >> 16)) & 0x00000000FFFFFFFFull;
    return static_cast<std::uint32_t>(v);
}
// div255 in each 16-bit lane (lanes hold at most 255 * 255).
inline std::uint64_t div255Lanes(std::uint64_t x) {
    x += 0x0080008000800080ull;
    return ((x + ((x >> 8) & 0x00FF00FF00FF00FFull)) >> 8) & 0x00FF00FF00FF00FFull;
}

// Source-over: s x sa + d x (255 - sa), all four channels including alpha.
inline std::uint32_t blendAlpha(std::uint32_t s, std::uint32_t d) {
    const std::uint32_t sa = s >> 24;
    if (sa == 255u) return s;
    if (sa == 0u) return d;
    return gather(div255Lanes(spread(s) * sa + spread(d) * (255u - sa)));
}

#if defined(__SSE2__)
// div255 in each 16-bit word (words hold at most 255 x 255): (x + 128) x
// 257 >> 16.
inline __m128i div255Words(__m128i x) {
    return _mm_mulhi_epu16(_mm_add_epi16(x, _mm_set1_epi16(128)), _mm_set1_epi16(257));
}

// A colour as modulate128 takes it: its even channels (blue, red) and its
// odd ones (green, alpha) in the high bytes of 16-bit words.
struct Tint128 {
    __m128i even;
    __m128i odd;
};
inline Tint128 tint128(std::uint32_t color) {
    const __m128i c = _mm_set1_epi32(static_cast<int>(color));
    return {_mm_slli_epi16(c, 8), _mm_and_si128(c, _mm_set1_epi32(static_cast<int>(0xFF00FF00u)))};
}

// modulate() of four pixels: each channel in the high byte of a word times
// the colour's likewise, so that one high-half multiply gives t x c exactly.
inline __m128i modulate128(__m128i s, const Tint128& tint) {
    const __m128i even = div255Words(_mm_mulhi_epu16(_mm_slli_epi16(s, 8), tint.even));
    const __m128i odd = div255Words(
        _mm_mulhi_epu16(_mm_and_si128(s, _mm_set1_epi32(static_cast<int>(0xFF00FF00u))), tint.odd));
    return _mm_or_si128(even, _mm_slli_epi16(odd, 8));
}
#endif

// A row of source-over blends of the source modulated by color (white
// leaves it as it is), dst[i] = blendAlpha(modulate(src[i] | salpha, color),
// dst[i] | dalpha) | dalpha, four pixels at a time where SSE2 exists. The
// arithmetic is the same as modulate's and blendAlpha's, bit for bit.
inline void blendAlphaRow(std::uint32_t* dst, const std::uint32_t* src, std::size_t n,
                          std::uint32_t salpha, std::uint32_t dalpha,
                          std::uint32_t color = 0xFFFFFFFFu) {
    std::size_t i = 0;
    const bool tinted = color != 0xFFFFFFFFu;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i sa = _mm_set1_epi32(static_cast<int>(salpha));
    const __m128i da = _mm_set1_epi32(static_cast<int>(dalpha));
    const __m128i alphaBits = _mm_set1_epi32(static_cast<int>(kAlphaMask));
    const __m128i c255 = _mm_set1_epi16(255);
    const __m128i c128 = _mm_set1_epi16(128);
    const Tint128 tint = tint128(color);
    for (; i + 4 <= n; i += 4) {
        __m128i s = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i)), sa);
        if (tinted) s = modulate128(s, tint);
        const __m128i alpha = _mm_and_si128(s, alphaBits);
        const int opaque = _mm_movemask_epi8(_mm_cmpeq_epi32(alpha, alphaBits));
        if (opaque == 0xFFFF) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), _mm_or_si128(s, da));
            continue;
        }
        const __m128i d =
            _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i)), da);
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(alpha, zero)) == 0xFFFF) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), d);
            continue;
        }
        auto half = [&](__m128i s16, __m128i d16) {
            __m128i a = _mm_shufflelo_epi16(s16, 0xFF);
            a = _mm_shufflehi_epi16(a, 0xFF);
            const __m128i ia = _mm_sub_epi16(c255, a);
            __m128i x = _mm_add_epi16(_mm_mullo_epi16(s16, a), _mm_mullo_epi16(d16, ia));
            x = _mm_add_epi16(x, c128);
            return _mm_mulhi_epu16(x, _mm_set1_epi16(257));
        };
        const __m128i lo = half(_mm_unpacklo_epi8(s, zero), _mm_unpacklo_epi8(d, zero));
        const __m128i hi = half(_mm_unpackhi_epi8(s, zero), _mm_unpackhi_epi8(d, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i),
                         _mm_or_si128(_mm_packus_epi16(lo, hi), da));
    }
#endif
    for (; i < n; ++i) {
        const std::uint32_t s = tinted ? modulate(src[i] | salpha, color) : src[i] | salpha;
        dst[i] = blendAlpha(s, dst[i] | dalpha) | dalpha;
    }
}

inline std::uint32_t clamp255(std::uint32_t v) {
    return std::min(v, 255u);
}

// One blend equation, src and dst being the colours as drawing sees them
// (an X8 destination already reads alpha 255).
template <BlendMode Mode>
inline std::uint32_t blend(std::uint32_t s, std::uint32_t d) {
    if constexpr (Mode == BlendMode::Off || Mode == BlendMode::Copy) {
        return s;
    } else if constexpr (Mode == BlendMode::Alpha) {
        return blendAlpha(s, d);
    } else {
        const std::uint32_t sa = s >> 24;
        std::uint32_t out = 0;
        for (int shift = 0; shift < 32; shift += 8) {
            const std::uint32_t sc = channel(s, shift);
            const std::uint32_t dc = channel(d, shift);
            std::uint32_t r = 0;
            if constexpr (Mode == BlendMode::Add) {
                r = clamp255(dc + div255(sc * sa));
            } else if constexpr (Mode == BlendMode::InvMultiply) {
                r = div255(dc * (255u - sc));
            } else if constexpr (Mode == BlendMode::Multiply) {
                r = div255(dc * sc);
            } else if constexpr (Mode == BlendMode::Screen) {
                r = clamp255(dc + div255(sc * dc));
            } else if constexpr (Mode == BlendMode::Invert) {
                r = div255(sc * (255u - dc));
            } else if constexpr (Mode == BlendMode::AddOne) {
                r = clamp255(sc + dc);
            } else if constexpr (Mode == BlendMode::Premultiplied) {
                r = clamp255(sc + div255(dc * (255u - sa)));
            }
            out |= r << shift;
        }
        return out;
    }
}

// Writes one source colour into a destination word; dstAlpha is kAlphaMask
// for an X8 destination (read as 255, stored as 255), else 0.
template <BlendMode Mode>
inline void put(std::uint32_t& dst, std::uint32_t src, std::uint32_t dstAlpha) {
    dst = blend<Mode>(src, dst | dstAlpha) | dstAlpha;
}

// A span of source colours onto the destination, modulated by color:
// dst[i] as put<Mode> leaves it, a row at a time where the vector unit can
// (source-over in the widest vectors allowed, blend_rows.h).
template <BlendMode Mode>
void putRow(std::uint32_t* dst, const std::uint32_t* src, std::size_t n, std::uint32_t color,
            std::uint32_t dalpha) {
    if (color == 0xFFFFFFFFu) {
        if constexpr (Mode == BlendMode::Off || Mode == BlendMode::Copy) {
            for (std::size_t i = 0; i < n; ++i) dst[i] = src[i] | dalpha;
            return;
        }
    }
    if constexpr (Mode == BlendMode::Alpha) {
        // Modulated and blended in the widest vectors allowed.
        blendAlphaSpan(dst, src, n, 0, dalpha, color);
        return;
    }
    for (std::size_t i = 0; i < n; ++i) put<Mode>(dst[i], modulate(src[i], color), dalpha);
}

// Bilinear weight of b against a, w in 0..255 (1/256 steps), per lane.
inline std::uint64_t lerpLanes(std::uint64_t a, std::uint64_t b, std::uint32_t w) {
    return ((a * (256u - w) + b * w + 0x0080008000800080ull) >> 8) & 0x00FF00FF00FF00FFull;
}

// Four texels weighed horizontally by fx, then vertically by fy, each stage
// rounded to 8 bits.
inline std::uint32_t bilinearPortable(std::uint32_t t00, std::uint32_t t10, std::uint32_t t01,
                                      std::uint32_t t11, std::uint32_t fx, std::uint32_t fy) {
    const std::uint64_t top = lerpLanes(spread(t00), spread(t10), fx);
    const std::uint64_t bottom = lerpLanes(spread(t01), spread(t11), fx);
    return gather(lerpLanes(top, bottom, fy));
}

inline std::uint32_t bilinear(std::uint32_t t00, std::uint32_t t10, std::uint32_t t01,
                              std::uint32_t t11, std::uint32_t fx, std::uint32_t fy) {
#if defined(__SSE2__)
    // The same two rounded stages in 16-bit words: top row in one register
    // (t00 | t10), bottom row in another, both weighed at once.
    const __m128i zero = _mm_setzero_si128();
    const __m128i wx = _mm_unpacklo_epi64(_mm_set1_epi16(static_cast<short>(256 - fx)),
                                          _mm_set1_epi16(static_cast<short>(fx)));
    const __m128i round = _mm_set1_epi16(128);
    const __m128i top = _mm_mullo_epi16(
        _mm_unpacklo_epi8(_mm_set_epi32(0, 0, static_cast<int>(t10), static_cast<int>(t00)), zero),
        wx);
    const __m128i bottom = _mm_mullo_epi16(
        _mm_unpacklo_epi8(_mm_set_epi32(0, 0, static_cast<int>(t11), static_cast<int>(t01)), zero),
        wx);
    // Add each row's two halves: low 64 bits + high 64 bits.
    const __m128i t =
        _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(top, _mm_unpackhi_epi64(top, top)), round), 8);
    const __m128i b = _mm_srli_epi16(
        _mm_add_epi16(_mm_add_epi16(bottom, _mm_unpackhi_epi64(bottom, bottom)), round), 8);
    const __m128i wy = _mm_unpacklo_epi64(_mm_set1_epi16(static_cast<short>(256 - fy)),
                                          _mm_set1_epi16(static_cast<short>(fy)));
    const __m128i v = _mm_mullo_epi16(_mm_unpacklo_epi64(t, b), wy);
    const __m128i r =
        _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(v, _mm_unpackhi_epi64(v, v)), round), 8);
    return static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(r, zero)));
#else
    return bilinearPortable(t00, t10, t01, t11, fx, fy);
#endif
}

// Texel index after addressing; size >= 1.
inline int addressClamp(std::int64_t i, int size) {
    return static_cast<int>(std::clamp<std::int64_t>(i, 0, size - 1));
}
inline int addressWrap(std::int64_t i, int size) {
    if (i >= 0 && i < size) return static_cast<int>(i);
    const std::int64_t m = i % size;
    return static_cast<int>(m < 0 ? m + size : m);
}
inline int address(std::int64_t i, int size, TextureAddress mode) {
    return mode == TextureAddress::Clamp ? addressClamp(i, size) : addressWrap(i, size);
}

}  // namespace qel::px
