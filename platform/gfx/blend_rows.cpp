#include "platform/gfx/blend_rows.h"

#include <algorithm>

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

__attribute__((target("avx2"))) void blendAlphaRowAvx2(std::uint32_t* dst, const std::uint32_t* src,
                                                       std::size_t n, std::uint32_t salpha,
                                                       std::uint32_t dalpha) {
    std::size_t i = 0;
    const __m256i zero = _mm256_setzero_si256();
    const __m256i sa = _mm256_set1_epi32(static_cast<int>(salpha));
    const __m256i da = _mm256_set1_epi32(static_cast<int>(dalpha));
    const __m256i alphaBits = _mm256_set1_epi32(static_cast<int>(kAlphaMask));
    // Broadcasts each pixel's alpha word over its four channel words.
    const __m256i alphaShuffle =
        _mm256_setr_epi8(6, 7, 6, 7, 6, 7, 6, 7, 14, 15, 14, 15, 14, 15, 14, 15, 6, 7, 6, 7, 6, 7,
                         6, 7, 14, 15, 14, 15, 14, 15, 14, 15);
    for (; i + 8 <= n; i += 8) {
        const __m256i s =
            _mm256_or_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i)), sa);
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
    blendAlphaRow(dst + i, src + i, n - i, salpha, dalpha);
}

bool haveAvx2() {
    static const bool have = __builtin_cpu_supports("avx2");
    return have;
}

}  // namespace
#endif

// Destination rows are fetched kAhead rows before they are blended:
// sprites land anywhere on a frame bigger than the nearest cache.
constexpr std::size_t kAhead = 8;

inline void prefetchRow(std::uint32_t* row, std::size_t width) {
    __builtin_prefetch(row, 1);
    __builtin_prefetch(row + width - 1, 1);
}

#if defined(QEL_GFX_AVX2)
__attribute__((target("avx2"))) void blendAlphaRectAvx2(std::uint32_t* dst, std::size_t dstPitch,
                                                        const std::uint32_t* src,
                                                        std::size_t srcPitch, std::size_t width,
                                                        std::size_t rows, std::uint32_t salpha,
                                                        std::uint32_t dalpha) {
    for (std::size_t y = 0; y < std::min(rows, kAhead); ++y) prefetchRow(dst + y * dstPitch, width);
    for (std::size_t y = 0; y < rows; ++y) {
        if (y + kAhead < rows) prefetchRow(dst + (y + kAhead) * dstPitch, width);
        blendAlphaRowAvx2(dst + y * dstPitch, src + y * srcPitch, width, salpha, dalpha);
    }
}
#endif

void blendAlphaRect(std::uint32_t* dst, std::size_t dstPitch, const std::uint32_t* src,
                    std::size_t srcPitch, std::size_t width, std::size_t rows, std::uint32_t salpha,
                    std::uint32_t dalpha) {
    if (width == 0 || rows == 0) return;
#if defined(QEL_GFX_AVX2)
    if (width >= 8 && haveAvx2()) {
        blendAlphaRectAvx2(dst, dstPitch, src, srcPitch, width, rows, salpha, dalpha);
        return;
    }
#endif
    for (std::size_t y = 0; y < std::min(rows, kAhead); ++y) prefetchRow(dst + y * dstPitch, width);
    for (std::size_t y = 0; y < rows; ++y) {
        if (y + kAhead < rows) prefetchRow(dst + (y + kAhead) * dstPitch, width);
        blendAlphaRow(dst + y * dstPitch, src + y * srcPitch, width, salpha, dalpha);
    }
}

}  // namespace qel::px
