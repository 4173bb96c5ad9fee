#include "platform/gfx/bilinear_span.h"

#include "platform/gfx/blend_rows.h"
#include "platform/gfx/pixel_ops.h"

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define QEL_GFX_AVX2 1
#endif

namespace qel::px {

namespace {

// Each stage is (a x (256 - f) + b x f + 128) >> 8 per 16-bit word, taken
// as (a x 256 + (b - a) x f + 128) >> 8: the true value is below 2^16, so
// the wrapping word arithmetic gives it exactly.

#if defined(__SSE2__)
inline __m128i lerpWords(__m128i a, __m128i b, __m128i f) {
    const __m128i x = _mm_add_epi16(_mm_slli_epi16(a, 8), _mm_mullo_epi16(_mm_sub_epi16(b, a), f));
    return _mm_srli_epi16(_mm_add_epi16(x, _mm_set1_epi16(128)), 8);
}

// Two pixels in 16-bit words: their texel pairs are regrouped as
// (t00, t00' | t10, t10') so each stage's a and b are whole registers.
inline __m128i twoPixels(const std::uint64_t* top, const std::uint64_t* bottom,
                         const std::uint64_t* fx, const std::uint64_t* fy, __m128i alpha) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i t = _mm_shuffle_epi32(
        _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(top)), alpha), 0xD8);
    const __m128i b = _mm_shuffle_epi32(
        _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(bottom)), alpha), 0xD8);
    const __m128i wx = _mm_loadu_si128(reinterpret_cast<const __m128i*>(fx));
    const __m128i upper = lerpWords(_mm_unpacklo_epi8(t, zero), _mm_unpackhi_epi8(t, zero), wx);
    const __m128i lower = lerpWords(_mm_unpacklo_epi8(b, zero), _mm_unpackhi_epi8(b, zero), wx);
    return lerpWords(upper, lower, _mm_loadu_si128(reinterpret_cast<const __m128i*>(fy)));
}
#endif

#if defined(QEL_GFX_AVX2)
__attribute__((target("avx2"), always_inline)) inline __m256i lerpWords256(__m256i a, __m256i b,
                                                                           __m256i f) {
    const __m256i x =
        _mm256_add_epi16(_mm256_slli_epi16(a, 8), _mm256_mullo_epi16(_mm256_sub_epi16(b, a), f));
    return _mm256_srli_epi16(_mm256_add_epi16(x, _mm256_set1_epi16(128)), 8);
}

// Four pixels, two in each 128-bit half, as twoPixels does them.
__attribute__((target("avx2"), always_inline)) inline __m256i fourPixels(
    const std::uint64_t* top, const std::uint64_t* bottom, const std::uint64_t* fx,
    const std::uint64_t* fy, __m256i alpha) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i t = _mm256_shuffle_epi32(
        _mm256_or_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(top)), alpha), 0xD8);
    const __m256i b = _mm256_shuffle_epi32(
        _mm256_or_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(bottom)), alpha), 0xD8);
    const __m256i wx = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(fx));
    const __m256i upper =
        lerpWords256(_mm256_unpacklo_epi8(t, zero), _mm256_unpackhi_epi8(t, zero), wx);
    const __m256i lower =
        lerpWords256(_mm256_unpacklo_epi8(b, zero), _mm256_unpackhi_epi8(b, zero), wx);
    return lerpWords256(upper, lower, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(fy)));
}

__attribute__((target("avx2"))) std::size_t bilinearSpanAvx2(
    std::uint32_t* out, const std::uint64_t* top, const std::uint64_t* bottom,
    const std::uint64_t* fx, const std::uint64_t* fy, std::size_t n, std::uint32_t salpha) {
    const __m256i alpha = _mm256_set1_epi32(static_cast<int>(salpha));
    std::size_t k = 0;
    for (; k + 8 <= n; k += 8) {
        const __m256i lo = fourPixels(top + k, bottom + k, fx + k, fy + k, alpha);
        const __m256i hi = fourPixels(top + k + 4, bottom + k + 4, fx + k + 4, fy + k + 4, alpha);
        // packus works within halves: 0 1 4 5 | 2 3 6 7, put back in order.
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + k),
                            _mm256_permute4x64_epi64(_mm256_packus_epi16(lo, hi), 0xD8));
    }
    return k;
}

__attribute__((target("avx512f,avx512bw"), always_inline)) inline __m512i lerpWords512(__m512i a,
                                                                                       __m512i b,
                                                                                       __m512i f) {
    const __m512i x =
        _mm512_add_epi16(_mm512_slli_epi16(a, 8), _mm512_mullo_epi16(_mm512_sub_epi16(b, a), f));
    return _mm512_srli_epi16(_mm512_add_epi16(x, _mm512_set1_epi16(128)), 8);
}

// Eight pixels, two in each 128-bit quarter; lanes outside the mask are
// neither read nor counted.
__attribute__((target("avx512f,avx512bw"), always_inline)) inline __m512i eightPixels(
    const std::uint64_t* top, const std::uint64_t* bottom, const std::uint64_t* fx,
    const std::uint64_t* fy, __m512i alpha, __mmask8 lanes) {
    const __m512i zero = _mm512_setzero_si512();
    const __m512i t = _mm512_maskz_shuffle_epi32(
        0xFFFF, _mm512_or_si512(_mm512_maskz_loadu_epi64(lanes, top), alpha), _MM_PERM_DBCA);
    const __m512i b = _mm512_maskz_shuffle_epi32(
        0xFFFF, _mm512_or_si512(_mm512_maskz_loadu_epi64(lanes, bottom), alpha), _MM_PERM_DBCA);
    const __m512i wx = _mm512_maskz_loadu_epi64(lanes, fx);
    const __m512i upper =
        lerpWords512(_mm512_unpacklo_epi8(t, zero), _mm512_unpackhi_epi8(t, zero), wx);
    const __m512i lower =
        lerpWords512(_mm512_unpacklo_epi8(b, zero), _mm512_unpackhi_epi8(b, zero), wx);
    return lerpWords512(upper, lower, _mm512_maskz_loadu_epi64(lanes, fy));
}

__attribute__((target("avx512f,avx512bw"))) void bilinearSpanAvx512(
    std::uint32_t* out, const std::uint64_t* top, const std::uint64_t* bottom,
    const std::uint64_t* fx, const std::uint64_t* fy, std::size_t n, std::uint32_t salpha) {
    const __m512i alpha = _mm512_set1_epi32(static_cast<int>(salpha));
    // packus works within quarters: 0 1 8 9 | 2 3 10 11 | ..., put back.
    // (All-ones masks: the unmasked forms trip a false warning of GCC's.)
    const __m512i order = _mm512_setr_epi64(0, 2, 4, 6, 1, 3, 5, 7);
    for (std::size_t k = 0; k < n; k += 16) {
        const std::size_t left = n - k;
        const auto first = static_cast<__mmask8>(left >= 8 ? 0xFF : (1u << left) - 1u);
        const auto second = static_cast<__mmask8>(left >= 16 ? 0xFF
                                                  : left > 8 ? (1u << (left - 8)) - 1u
                                                             : 0u);
        const __m512i lo = eightPixels(top + k, bottom + k, fx + k, fy + k, alpha, first);
        const __m512i hi =
            eightPixels(top + k + 8, bottom + k + 8, fx + k + 8, fy + k + 8, alpha, second);
        const auto store = static_cast<__mmask16>(left >= 16 ? 0xFFFFu : (1u << left) - 1u);
        _mm512_mask_storeu_epi32(
            out + k, store,
            _mm512_maskz_permutexvar_epi64(0xFF, order, _mm512_packus_epi16(lo, hi)));
    }
}
#endif

}  // namespace

void bilinearSpan(std::uint32_t* out, const std::uint64_t* top, const std::uint64_t* bottom,
                  const std::uint64_t* fx, const std::uint64_t* fy, std::size_t n,
                  std::uint32_t salpha) {
    std::size_t k = 0;
#if defined(QEL_GFX_AVX2)
    const int bits = vectorBits();
    if (bits >= 512) {
        bilinearSpanAvx512(out, top, bottom, fx, fy, n, salpha);
        return;
    }
    if (bits >= 256) k = bilinearSpanAvx2(out, top, bottom, fx, fy, n, salpha);
#endif
#if defined(__SSE2__)
    const __m128i alpha = _mm_set1_epi32(static_cast<int>(salpha));
    for (; k + 4 <= n; k += 4) {
        const __m128i lo = twoPixels(top + k, bottom + k, fx + k, fy + k, alpha);
        const __m128i hi = twoPixels(top + k + 2, bottom + k + 2, fx + k + 2, fy + k + 2, alpha);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + k), _mm_packus_epi16(lo, hi));
    }
#endif
    for (; k < n; ++k) {
        const auto t0 = static_cast<std::uint32_t>(top[k]) | salpha;
        const auto t1 = static_cast<std::uint32_t>(top[k] >> 32) | salpha;
        const auto b0 = static_cast<std::uint32_t>(bottom[k]) | salpha;
        const auto b1 = static_cast<std::uint32_t>(bottom[k] >> 32) | salpha;
        out[k] = bilinear(t0, t1, b0, b1, static_cast<std::uint32_t>(fx[k] & 0xFF),
                          static_cast<std::uint32_t>(fy[k] & 0xFF));
    }
}

}  // namespace qel::px
