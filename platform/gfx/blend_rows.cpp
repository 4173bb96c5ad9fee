#include "platform/gfx/blend_rows.h"

#include <algorithm>
#include <atomic>
#include <cstring>

#include "platform/gfx/pixel_ops.h"

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define QEL_GFX_AVX2 1
#endif

namespace qel::px {

#if defined(QEL_GFX_AVX2)
namespace {

// Four pixels in 16-bit words: (s x a + d x (255 - a) + 127) / 255 per word.
__attribute__((target("avx2"), always_inline)) inline __m256i blendWords(__m256i s16, __m256i d16,
                                                                         __m256i alphaShuffle) {
    const __m256i a = _mm256_shuffle_epi8(s16, alphaShuffle);
    const __m256i ia = _mm256_sub_epi16(_mm256_set1_epi16(255), a);
    __m256i x = _mm256_add_epi16(_mm256_mullo_epi16(s16, a), _mm256_mullo_epi16(d16, ia));
    // (v + (v >> 8)) >> 8 with v = x + 128 is (v x 257) >> 16.
    x = _mm256_add_epi16(x, _mm256_set1_epi16(128));
    return _mm256_mulhi_epu16(x, _mm256_set1_epi16(257));
}

__attribute__((target("avx2"), always_inline)) inline __m256i div255Words256(__m256i x) {
    return _mm256_mulhi_epu16(_mm256_add_epi16(x, _mm256_set1_epi16(128)), _mm256_set1_epi16(257));
}

// modulate() of eight pixels, as modulate128 in pixel_ops.h: even and odd
// are the colour's even and odd channels in the high bytes of words.
__attribute__((target("avx2"), always_inline)) inline __m256i modulate256(__m256i s, __m256i even,
                                                                          __m256i odd) {
    const __m256i e = div255Words256(_mm256_mulhi_epu16(_mm256_slli_epi16(s, 8), even));
    const __m256i o = div255Words256(_mm256_mulhi_epu16(
        _mm256_and_si256(s, _mm256_set1_epi32(static_cast<int>(0xFF00FF00u))), odd));
    return _mm256_or_si256(e, _mm256_slli_epi16(o, 8));
}

template <bool Tinted>
__attribute__((target("avx2"))) void blendAlphaRowAvx2(std::uint32_t* dst, const std::uint32_t* src,
                                                       std::size_t n, std::uint32_t salpha,
                                                       std::uint32_t dalpha, std::uint32_t color) {
    std::size_t i = 0;
    const __m256i tint = _mm256_set1_epi32(static_cast<int>(color));
    const __m256i tintEven = _mm256_slli_epi16(tint, 8);
    const __m256i tintOdd =
        _mm256_and_si256(tint, _mm256_set1_epi32(static_cast<int>(0xFF00FF00u)));
    const __m256i zero = _mm256_setzero_si256();
    const __m256i sa = _mm256_set1_epi32(static_cast<int>(salpha));
    const __m256i da = _mm256_set1_epi32(static_cast<int>(dalpha));
    const __m256i alphaBits = _mm256_set1_epi32(static_cast<int>(kAlphaMask));
    // Broadcasts each pixel's alpha word over its four channel words.
    const __m256i alphaShuffle =
        _mm256_setr_epi8(6, 7, 6, 7, 6, 7, 6, 7, 14, 15, 14, 15, 14, 15, 14, 15, 6, 7, 6, 7, 6, 7,
                         6, 7, 14, 15, 14, 15, 14, 15, 14, 15);
    for (; i + 8 <= n; i += 8) {
        __m256i s =
            _mm256_or_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i)), sa);
        if (Tinted) s = modulate256(s, tintEven, tintOdd);
        const __m256i alpha = _mm256_and_si256(s, alphaBits);
        if (_mm256_movemask_epi8(_mm256_cmpeq_epi32(alpha, alphaBits)) == -1) {
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i), _mm256_or_si256(s, da));
            continue;
        }
        const __m256i d =
            _mm256_or_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(dst + i)), da);
        if (_mm256_movemask_epi8(_mm256_cmpeq_epi32(alpha, zero)) == -1) {
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i), d);
            continue;
        }
        const __m256i lo =
            blendWords(_mm256_unpacklo_epi8(s, zero), _mm256_unpacklo_epi8(d, zero), alphaShuffle);
        const __m256i hi =
            blendWords(_mm256_unpackhi_epi8(s, zero), _mm256_unpackhi_epi8(d, zero), alphaShuffle);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i),
                            _mm256_or_si256(_mm256_packus_epi16(lo, hi), da));
    }
    blendAlphaRow(dst + i, src + i, n - i, salpha, dalpha, color);
}

std::atomic<int> g_widest{512};

bool haveAvx2() {
    static const bool have = __builtin_cpu_supports("avx2");
    return have && g_widest.load(std::memory_order_relaxed) >= 256;
}

// Sixteen pixels at a time, a sprite row of 16 in one step. The channels
// are taken as the high bytes of 16-bit words (the even bytes shifted up,
// the odd ones masked: no unpacking), against the alpha (and 255 - alpha)
// in the high byte of each word, so that one high-half multiply gives each
// product exactly; s x a + d x (255 - a) + 128 stays below 2^16, and then
// the same (v x 257) >> 16 as blendWords.
__attribute__((target("avx512f,avx512bw"), always_inline)) inline __m512i weighWords512(
    __m512i s, __m512i d, __m512i a, __m512i ia) {
    const __m512i x =
        _mm512_add_epi16(_mm512_add_epi16(_mm512_mulhi_epu16(s, a), _mm512_mulhi_epu16(d, ia)),
                         _mm512_set1_epi16(128));
    return _mm512_mulhi_epu16(x, _mm512_set1_epi16(257));
}

__attribute__((target("avx512f,avx512bw"), always_inline)) inline __m512i blendPixels512(
    __m512i s, __m512i d) {
    const __m512i highBytes = _mm512_set1_epi32(static_cast<int>(0xFF00FF00u));
    const __m512i a = _mm512_shuffle_epi8(
        s, _mm512_set4_epi32(static_cast<int>(0x0F800F80u), static_cast<int>(0x0B800B80u),
                             static_cast<int>(0x07800780u), static_cast<int>(0x03800380u)));
    const __m512i ia = _mm512_xor_si512(a, highBytes);
    const __m512i even = weighWords512(_mm512_slli_epi16(s, 8), _mm512_slli_epi16(d, 8), a, ia);
    const __m512i odd =
        weighWords512(_mm512_and_si512(s, highBytes), _mm512_and_si512(d, highBytes), a, ia);
    return _mm512_or_si512(even, _mm512_slli_epi16(odd, 8));
}

// modulate() of sixteen pixels, as modulate128 in pixel_ops.h: even and
// odd are the colour's even and odd channels in the high bytes of words.
__attribute__((target("avx512f,avx512bw"), always_inline)) inline __m512i modulate512(__m512i s,
                                                                                      __m512i even,
                                                                                      __m512i odd) {
    const __m512i round = _mm512_set1_epi16(128);
    const __m512i by257 = _mm512_set1_epi16(257);
    const __m512i e = _mm512_mulhi_epu16(
        _mm512_add_epi16(_mm512_mulhi_epu16(_mm512_slli_epi16(s, 8), even), round), by257);
    const __m512i o = _mm512_mulhi_epu16(
        _mm512_add_epi16(
            _mm512_mulhi_epu16(
                _mm512_and_si512(s, _mm512_set1_epi32(static_cast<int>(0xFF00FF00u))), odd),
            round),
        by257);
    return _mm512_or_si512(e, _mm512_slli_epi16(o, 8));
}

// A colour as modulate512 takes it.
struct Tint512 {
    __m512i even;
    __m512i odd;
};
__attribute__((target("avx512f,avx512bw"), always_inline)) inline Tint512 tint512(
    std::uint32_t color) {
    const __m512i c = _mm512_set1_epi32(static_cast<int>(color));
    return {_mm512_slli_epi16(c, 8),
            _mm512_and_si512(c, _mm512_set1_epi32(static_cast<int>(0xFF00FF00u)))};
}

__attribute__((target("avx512f,avx512bw"), always_inline)) inline __mmask16 lanesFrom(
    std::size_t i, std::size_t n) {
    return n - i >= 16 ? __mmask16(0xFFFF) : static_cast<__mmask16>((1u << (n - i)) - 1u);
}

// A piece of sixteen pixels is loaded and stored whole; a row's last,
// shorter piece under the mask of its lanes.
template <bool Full>
__attribute__((target("avx512f"), always_inline)) inline __m512i load512(const std::uint32_t* p,
                                                                         __mmask16 lanes) {
    return Full ? _mm512_loadu_si512(p) : _mm512_maskz_loadu_epi32(lanes, p);
}

template <bool Full>
__attribute__((target("avx512f"), always_inline)) inline void store512(std::uint32_t* p,
                                                                       __mmask16 lanes, __m512i v) {
    if (Full) {
        _mm512_storeu_si512(p, v);
    } else {
        _mm512_mask_storeu_epi32(p, lanes, v);
    }
}

template <bool Pair, bool Full, bool Tinted>
__attribute__((target("avx512f,avx512bw"), always_inline)) inline void blendPiece512(
    std::uint32_t* dst0, std::uint32_t* dst1, const std::uint32_t* src0, const std::uint32_t* src1,
    __mmask16 lanes, __m512i sa, __m512i da, bool dclear, const Tint512& tint) {
    const __m512i opaqueFrom = _mm512_set1_epi32(static_cast<int>(kAlphaMask));
    __m512i s0 = _mm512_or_si512(load512<Full>(src0, lanes), sa);
    if (Tinted) s0 = modulate512(s0, tint.even, tint.odd);
    __m512i s1 = s0;
    if (Pair) {
        s1 = _mm512_or_si512(load512<Full>(src1, lanes), sa);
        if (Tinted) s1 = modulate512(s1, tint.even, tint.odd);
    }
    const __mmask16 opaque =
        _mm512_cmpge_epu32_mask(s0, opaqueFrom) & _mm512_cmpge_epu32_mask(s1, opaqueFrom);
    if ((opaque & lanes) == lanes) {
        store512<Full>(dst0, lanes, _mm512_or_si512(s0, da));
        if (Pair) store512<Full>(dst1, lanes, _mm512_or_si512(s1, da));
        return;
    }
    // Nothing to draw: the destination would only gain its forced alpha.
    if (dclear && (_mm512_testn_epi32_mask(_mm512_or_si512(s0, s1), opaqueFrom) & lanes) == lanes) {
        return;
    }
    // The destination's alpha weighs into the result's alpha alone, which
    // takes the forced alpha after: it is not forced before.
    store512<Full>(dst0, lanes,
                   _mm512_or_si512(blendPixels512(s0, load512<Full>(dst0, lanes)), da));
    if (Pair) {
        store512<Full>(dst1, lanes,
                       _mm512_or_si512(blendPixels512(s1, load512<Full>(dst1, lanes)), da));
    }
}

// One row, or two rows side by side (their work interleaves in the
// processor); a piece of both opaque is copied, one of both clear onto a
// surface without forced alpha is left alone.
template <bool Pair, bool Tinted>
__attribute__((target("avx512f,avx512bw"), always_inline)) inline void blendRows512(
    std::uint32_t* dst0, std::uint32_t* dst1, const std::uint32_t* src0, const std::uint32_t* src1,
    std::size_t n, std::uint32_t salpha, std::uint32_t dalpha, const Tint512& tint) {
    const __m512i sa = _mm512_set1_epi32(static_cast<int>(salpha));
    const __m512i da = _mm512_set1_epi32(static_cast<int>(dalpha));
    std::size_t i = 0;
    for (; i + 16 <= n; i += 16) {
        blendPiece512<Pair, true, Tinted>(dst0 + i, dst1 + i, src0 + i, src1 + i, 0xFFFF, sa, da,
                                          dalpha == 0, tint);
    }
    if (i < n) {
        blendPiece512<Pair, false, Tinted>(dst0 + i, dst1 + i, src0 + i, src1 + i, lanesFrom(i, n),
                                           sa, da, dalpha == 0, tint);
    }
}

template <bool Tinted>
__attribute__((target("avx512f,avx512bw"))) void blendAlphaRowAvx512(
    std::uint32_t* dst, const std::uint32_t* src, std::size_t n, std::uint32_t salpha,
    std::uint32_t dalpha, std::uint32_t color) {
    blendRows512<false, Tinted>(dst, nullptr, src, nullptr, n, salpha, dalpha, tint512(color));
}

bool haveAvx512() {
    static const bool have =
        __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw");
    return have && g_widest.load(std::memory_order_relaxed) >= 512;
}

}  // namespace
#endif

int vectorBits() {
#if defined(QEL_GFX_AVX2)
    if (haveAvx512()) return 512;
    if (haveAvx2()) return 256;
#endif
    return 128;
}

void limitVectorBits(int bits) {
#if defined(QEL_GFX_AVX2)
    g_widest.store(bits, std::memory_order_relaxed);
#else
    (void)bits;
#endif
}

// Destination rows are fetched kAhead rows before they are blended:
// sprites land anywhere on a frame bigger than the nearest cache.
constexpr std::size_t kAhead = 8;

inline void prefetchRow(std::uint32_t* row, std::size_t width) {
    __builtin_prefetch(row, 1);
    __builtin_prefetch(row + width - 1, 1);
}

#if defined(QEL_GFX_AVX2)
// Rows in pairs; with FetchAhead each destination row is fetched kAhead
// rows before it is blended.
template <bool FetchAhead, bool Tinted>
__attribute__((target("avx512f,avx512bw"), always_inline)) inline void blendRect512(
    std::uint32_t* dst, std::size_t dstPitch, const std::uint32_t* src, std::size_t srcPitch,
    std::size_t width, std::size_t rows, std::uint32_t salpha, std::uint32_t dalpha,
    std::uint32_t color) {
    const Tint512 tint = tint512(color);
    if (FetchAhead) {
        for (std::size_t y = 0; y < std::min(rows, kAhead); ++y)
            prefetchRow(dst + y * dstPitch, width);
    }
    std::size_t y = 0;
    for (; y + 2 <= rows; y += 2) {
        if (FetchAhead && y + kAhead < rows) prefetchRow(dst + (y + kAhead) * dstPitch, width);
        if (FetchAhead && y + kAhead + 1 < rows)
            prefetchRow(dst + (y + kAhead + 1) * dstPitch, width);
        blendRows512<true, Tinted>(dst + y * dstPitch, dst + (y + 1) * dstPitch, src + y * srcPitch,
                                   src + (y + 1) * srcPitch, width, salpha, dalpha, tint);
    }
    if (y < rows) {
        blendRows512<false, Tinted>(dst + y * dstPitch, nullptr, src + y * srcPitch, nullptr, width,
                                    salpha, dalpha, tint);
    }
}

__attribute__((target("avx512f,avx512bw"))) void blendAlphaRectAvx512(
    std::uint32_t* dst, std::size_t dstPitch, const std::uint32_t* src, std::size_t srcPitch,
    std::size_t width, std::size_t rows, std::uint32_t salpha, std::uint32_t dalpha,
    std::uint32_t color) {
    if (color == 0xFFFFFFFFu) {
        blendRect512<true, false>(dst, dstPitch, src, srcPitch, width, rows, salpha, dalpha, color);
    } else {
        blendRect512<true, true>(dst, dstPitch, src, srcPitch, width, rows, salpha, dalpha, color);
    }
}

// Blits of up to this many rows have all their destination rows fetched
// kLead blits before they are blended; taller ones fetch theirs as they go.
constexpr std::size_t kLead = 2;
constexpr std::size_t kFetchedRows = 32;

inline void prefetchBlit(const RectBlit& b, std::size_t dstPitch) {
    if (b.rows > kFetchedRows) return;
    for (std::size_t y = 0; y < b.rows; ++y) prefetchRow(b.dst + y * dstPitch, b.width);
}

__attribute__((target("avx512f,avx512bw"))) void blendAlphaBlitsAvx512(
    const RectBlit* blits, std::size_t count, std::size_t dstPitch, std::size_t srcPitch,
    std::uint32_t salpha, std::uint32_t dalpha) {
    for (std::size_t k = 0; k < std::min(count, kLead); ++k) prefetchBlit(blits[k], dstPitch);
    for (std::size_t k = 0; k < count; ++k) {
        if (k + kLead < count) prefetchBlit(blits[k + kLead], dstPitch);
        const RectBlit& b = blits[k];
        if (b.rows > kFetchedRows) {
            blendRect512<true, false>(b.dst, dstPitch, b.src, srcPitch, b.width, b.rows, salpha,
                                      dalpha, 0xFFFFFFFFu);
        } else {
            blendRect512<false, false>(b.dst, dstPitch, b.src, srcPitch, b.width, b.rows, salpha,
                                       dalpha, 0xFFFFFFFFu);
        }
    }
}

template <bool Tinted>
__attribute__((target("avx2"))) void blendAlphaRectAvx2(std::uint32_t* dst, std::size_t dstPitch,
                                                        const std::uint32_t* src,
                                                        std::size_t srcPitch, std::size_t width,
                                                        std::size_t rows, std::uint32_t salpha,
                                                        std::uint32_t dalpha, std::uint32_t color) {
    for (std::size_t y = 0; y < std::min(rows, kAhead); ++y) prefetchRow(dst + y * dstPitch, width);
    for (std::size_t y = 0; y < rows; ++y) {
        if (y + kAhead < rows) prefetchRow(dst + (y + kAhead) * dstPitch, width);
        blendAlphaRowAvx2<Tinted>(dst + y * dstPitch, src + y * srcPitch, width, salpha, dalpha,
                                  color);
    }
}
#endif

void blendAlphaRect(std::uint32_t* dst, std::size_t dstPitch, const std::uint32_t* src,
                    std::size_t srcPitch, std::size_t width, std::size_t rows, std::uint32_t salpha,
                    std::uint32_t dalpha, std::uint32_t color) {
    if (width == 0 || rows == 0) return;
#if defined(QEL_GFX_AVX2)
    if (haveAvx512()) {
        blendAlphaRectAvx512(dst, dstPitch, src, srcPitch, width, rows, salpha, dalpha, color);
        return;
    }
    if (width >= 8 && haveAvx2()) {
        if (color == 0xFFFFFFFFu) {
            blendAlphaRectAvx2<false>(dst, dstPitch, src, srcPitch, width, rows, salpha, dalpha,
                                      color);
        } else {
            blendAlphaRectAvx2<true>(dst, dstPitch, src, srcPitch, width, rows, salpha, dalpha,
                                     color);
        }
        return;
    }
#endif
    for (std::size_t y = 0; y < std::min(rows, kAhead); ++y) prefetchRow(dst + y * dstPitch, width);
    for (std::size_t y = 0; y < rows; ++y) {
        if (y + kAhead < rows) prefetchRow(dst + (y + kAhead) * dstPitch, width);
        blendAlphaRow(dst + y * dstPitch, src + y * srcPitch, width, salpha, dalpha, color);
    }
}

void blendAlphaBlits(const RectBlit* blits, std::size_t count, std::size_t dstPitch,
                     std::size_t srcPitch, std::uint32_t salpha, std::uint32_t dalpha) {
#if defined(QEL_GFX_AVX2)
    if (haveAvx512()) {
        blendAlphaBlitsAvx512(blits, count, dstPitch, srcPitch, salpha, dalpha);
        return;
    }
#endif
    for (std::size_t k = 0; k < count; ++k) {
        const RectBlit& b = blits[k];
        blendAlphaRect(b.dst, dstPitch, b.src, srcPitch, b.width, b.rows, salpha, dalpha);
    }
}

void blendAlphaSpan(std::uint32_t* dst, const std::uint32_t* src, std::size_t n,
                    std::uint32_t salpha, std::uint32_t dalpha, std::uint32_t color) {
    const bool tinted = color != 0xFFFFFFFFu;
#if defined(QEL_GFX_AVX2)
    if (haveAvx512()) {
        if (tinted) {
            blendAlphaRowAvx512<true>(dst, src, n, salpha, dalpha, color);
        } else {
            blendAlphaRowAvx512<false>(dst, src, n, salpha, dalpha, color);
        }
        return;
    }
    if (n >= 8 && haveAvx2()) {
        if (tinted) {
            blendAlphaRowAvx2<true>(dst, src, n, salpha, dalpha, color);
        } else {
            blendAlphaRowAvx2<false>(dst, src, n, salpha, dalpha, color);
        }
        return;
    }
#endif
    blendAlphaRow(dst, src, n, salpha, dalpha, color);
}

#if defined(QEL_GFX_AVX2)
__attribute__((target("avx512f"))) void gatherRowAvx512(std::uint32_t* out,
                                                        const std::uint32_t* row,
                                                        const std::uint32_t* columns, std::size_t n,
                                                        std::uint32_t salpha) {
    const __m512i sa = _mm512_set1_epi32(static_cast<int>(salpha));
    std::size_t i = 0;
    for (; i + 16 <= n; i += 16) {
        const __m512i at = _mm512_loadu_si512(columns + i);
        // The masked form: the plain one leaves GCC seeing an unset register.
        const __m512i texels =
            _mm512_mask_i32gather_epi32(_mm512_setzero_si512(), 0xFFFF, at, row, 4);
        _mm512_storeu_si512(out + i, _mm512_or_si512(texels, sa));
    }
    if (i < n) {
        const auto lanes = static_cast<__mmask16>((1u << (n - i)) - 1u);
        const __m512i at = _mm512_maskz_loadu_epi32(lanes, columns + i);
        const __m512i texels =
            _mm512_mask_i32gather_epi32(_mm512_setzero_si512(), lanes, at, row, 4);
        _mm512_mask_storeu_epi32(out + i, lanes, _mm512_or_si512(texels, sa));
    }
}

__attribute__((target("avx2"))) void gatherRowAvx2(std::uint32_t* out, const std::uint32_t* row,
                                                   const std::uint32_t* columns, std::size_t n,
                                                   std::uint32_t salpha) {
    const __m256i sa = _mm256_set1_epi32(static_cast<int>(salpha));
    const auto* base = reinterpret_cast<const int*>(row);
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        const __m256i at = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(columns + i));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i),
                            _mm256_or_si256(_mm256_i32gather_epi32(base, at, 4), sa));
    }
    for (; i < n; ++i) out[i] = row[columns[i]] | salpha;
}
#endif

void gatherRow(std::uint32_t* out, const std::uint32_t* row, const std::uint32_t* columns,
               std::size_t n, std::uint32_t salpha) {
#if defined(QEL_GFX_AVX2)
    if (haveAvx512()) {
        gatherRowAvx512(out, row, columns, n, salpha);
        return;
    }
    if (haveAvx2()) {
        gatherRowAvx2(out, row, columns, n, salpha);
        return;
    }
#endif
    for (std::size_t i = 0; i < n; ++i) out[i] = row[columns[i]] | salpha;
}

#if defined(QEL_GFX_AVX2)
// Stores of 64 bytes on 64-byte boundaries, the ragged ends under masks.
__attribute__((target("avx512f"))) void fillWordsAvx512(std::uint32_t* dst, std::size_t n,
                                                        std::uint32_t word) {
    const __m512i w = _mm512_set1_epi32(static_cast<int>(word));
    std::size_t i = (64 - (reinterpret_cast<std::uintptr_t>(dst) & 63)) / 4 & 15;
    if (i > n) i = n;
    if (i > 0) _mm512_mask_storeu_epi32(dst, static_cast<__mmask16>((1u << i) - 1u), w);
    for (; i + 64 <= n; i += 64) {
        _mm512_store_si512(dst + i, w);
        _mm512_store_si512(dst + i + 16, w);
        _mm512_store_si512(dst + i + 32, w);
        _mm512_store_si512(dst + i + 48, w);
    }
    for (; i + 16 <= n; i += 16) _mm512_store_si512(dst + i, w);
    if (i < n) _mm512_mask_storeu_epi32(dst + i, static_cast<__mmask16>((1u << (n - i)) - 1u), w);
}

__attribute__((target("avx2"))) void fillWordsAvx2(std::uint32_t* dst, std::size_t n,
                                                   std::uint32_t word) {
    const __m256i w = _mm256_set1_epi32(static_cast<int>(word));
    std::size_t i = 0;
    for (; i + 32 <= n; i += 32) {
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i), w);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i + 8), w);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i + 16), w);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i + 24), w);
    }
    for (; i + 8 <= n; i += 8) _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i), w);
    for (; i < n; ++i) dst[i] = word;
}
#endif

// Words from which a fill takes the string store.
constexpr std::size_t kStringFill = 1024;

void fillWords(std::uint32_t* dst, std::size_t n, std::uint32_t word) {
    // A word of four equal bytes (black, white, clear) is memset's own case.
    if (word == (word & 0xFFu) * 0x01010101u) {
        std::memset(dst, static_cast<int>(word & 0xFFu), n * sizeof(std::uint32_t));
        return;
    }
#if defined(QEL_GFX_AVX2)
    // Large blocks by the processor's string store, memset's own way there.
    if (n >= kStringFill) {
        asm volatile("rep stosl" : "+D"(dst), "+c"(n) : "a"(word) : "memory");
        return;
    }
    if (haveAvx512()) {
        fillWordsAvx512(dst, n, word);
        return;
    }
    if (haveAvx2()) {
        fillWordsAvx2(dst, n, word);
        return;
    }
#endif
    std::fill(dst, dst + n, word);
}

#if defined(QEL_GFX_AVX2)
__attribute__((target("avx512f"))) void copyRowsForcedAvx512(
    std::uint32_t* dst, std::size_t dstPitch, const std::uint32_t* src, std::size_t srcPitch,
    std::size_t width, std::size_t rows, std::uint32_t force) {
    const __m512i f = _mm512_set1_epi32(static_cast<int>(force));
    for (std::size_t y = 0; y < rows; ++y) {
        std::uint32_t* d = dst + y * dstPitch;
        const std::uint32_t* s = src + y * srcPitch;
        std::size_t i = 0;
        for (; i + 32 <= width; i += 32) {
            const __m512i a = _mm512_loadu_si512(s + i);
            const __m512i b = _mm512_loadu_si512(s + i + 16);
            _mm512_storeu_si512(d + i, _mm512_or_si512(a, f));
            _mm512_storeu_si512(d + i + 16, _mm512_or_si512(b, f));
        }
        for (; i < width; i += 16) {
            const __mmask16 lanes = width - i >= 16
                                        ? __mmask16(0xFFFF)
                                        : static_cast<__mmask16>((1u << (width - i)) - 1u);
            _mm512_mask_storeu_epi32(d + i, lanes,
                                     _mm512_or_si512(_mm512_maskz_loadu_epi32(lanes, s + i), f));
        }
    }
}
#endif

void copyRowsForced(std::uint32_t* dst, std::size_t dstPitch, const std::uint32_t* src,
                    std::size_t srcPitch, std::size_t width, std::size_t rows,
                    std::uint32_t force) {
#if defined(QEL_GFX_AVX2)
    if (haveAvx512()) {
        copyRowsForcedAvx512(dst, dstPitch, src, srcPitch, width, rows, force);
        return;
    }
#endif
    for (std::size_t y = 0; y < rows; ++y) {
        std::uint32_t* d = dst + y * dstPitch;
        const std::uint32_t* s = src + y * srcPitch;
        if (force == 0) {
            std::memcpy(d, s, width * sizeof(std::uint32_t));
        } else {
            for (std::size_t i = 0; i < width; ++i) d[i] = s[i] | force;
        }
    }
}

}  // namespace qel::px
