#include "platform/gfx/bilinear_span.h"

#include "platform/gfx/blend_rows.h"
#include "platform/gfx/pixel_ops.h"

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define QEL_GFX_AVX2 1
#endif

// GCC 12's 512-bit intrinsics start from a deliberately undefined vector
// (_mm512_undefined_epi32 and the like), which its own uninitialised-use
// check then reports wherever they are inlined (GCC bug 105593).
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
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
    const __m512i t = _mm512_shuffle_epi32(
        _mm512_or_si512(_mm512_maskz_loadu_epi64(lanes, top), alpha), _MM_PERM_DBCA);
    const __m512i b = _mm512_shuffle_epi32(
        _mm512_or_si512(_mm512_maskz_loadu_epi64(lanes, bottom), alpha), _MM_PERM_DBCA);
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
        _mm512_mask_storeu_epi32(out + k, store,
                                 _mm512_permutexvar_epi64(order, _mm512_packus_epi16(lo, hi)));
    }
}

// floor((r0 + k x rs) / d) for the lanes k of kd, exact for d < 2^46 and
// k < 64. inv is 1/d made a little smaller (by 2^-40 of it), so the
// product's floor is never above the quotient's and at most one below; the
// remainder, an integer below 2^53, tells which.
__attribute__((target("avx512f,avx512bw,avx512dq"), always_inline)) inline __m512d carries(
    __m512d kd, __m512d r0, __m512d rs, __m512d d, __m512d inv) {
    const __m512d t = _mm512_fmadd_pd(kd, rs, r0);
    const __m512d c =
        _mm512_roundscale_pd(_mm512_mul_pd(t, inv), _MM_FROUND_TO_NEG_INF | _MM_FROUND_NO_EXC);
    const __m512d rem = _mm512_fnmadd_pd(c, d, t);
    return _mm512_mask_add_pd(c, _mm512_cmp_pd_mask(rem, d, _CMP_GE_OQ), c, _mm512_set1_pd(1.0));
}

// The sample positions q - 128 of sixteen pixels, as 32-bit lanes.
struct LaneSteps {
    __m512d q0, qs, r0, rs, d, inv;
};

__attribute__((target("avx512f,avx512bw,avx512dq"), always_inline)) inline LaneSteps laneSteps(
    const ExactStep& s, __m512d inv) {
    const auto d = static_cast<double>(s.d);
    return LaneSteps{_mm512_set1_pd(static_cast<double>(s.q - 128)),
                     _mm512_set1_pd(static_cast<double>(s.qs)),
                     _mm512_set1_pd(static_cast<double>(s.r)),
                     _mm512_set1_pd(static_cast<double>(s.rs)),
                     _mm512_set1_pd(d),
                     inv};
}

// The upper eight only where they are asked for (else 0).
__attribute__((target("avx512f,avx512bw,avx512dq"), always_inline)) inline __m512i positions(
    const LaneSteps& s, __m512d k0, __m512d k1, bool upper) {
    const __m512d q0 =
        _mm512_add_pd(_mm512_fmadd_pd(k0, s.qs, s.q0), carries(k0, s.r0, s.rs, s.d, s.inv));
    const __m512i low = _mm512_zextsi256_si512(_mm512_cvttpd_epi32(q0));
    if (!upper) return low;
    const __m512d q1 =
        _mm512_add_pd(_mm512_fmadd_pd(k1, s.qs, s.q0), carries(k1, s.r0, s.rs, s.d, s.inv));
    return _mm512_inserti64x4(low, _mm512_cvttpd_epi32(q1), 1);
}

// Texel indices of both neighbours along one axis, as address() gives them.
__attribute__((target("avx512f,avx512bw,avx512dq"), always_inline)) inline void neighbours(
    __m512i i, int size, bool wrap, __mmask16 lanes, __m512i& i0, __m512i& i1) {
    const __m512i n = _mm512_set1_epi32(size);
    const __m512i one = _mm512_set1_epi32(1);
    if (!wrap) {
        const __m512i top = _mm512_set1_epi32(size - 1);
        const __m512i zero = _mm512_setzero_si512();
        i0 = _mm512_min_epi32(_mm512_max_epi32(i, zero), top);
        i1 = _mm512_min_epi32(_mm512_max_epi32(_mm512_add_epi32(i, one), zero), top);
        return;
    }
    i0 = i;
    if ((_mm512_cmplt_epu32_mask(i, n) & lanes) != lanes) {
        // i modulo size: a quotient from single floats (exact for |i| <
        // 2^24, at most one off), then corrected.
        const __m512 qf = _mm512_roundscale_ps(
            _mm512_mul_ps(_mm512_cvtepi32_ps(i), _mm512_set1_ps(1.0f / static_cast<float>(size))),
            _MM_FROUND_TO_NEG_INF | _MM_FROUND_NO_EXC);
        __m512i m = _mm512_sub_epi32(i, _mm512_mullo_epi32(_mm512_cvttps_epi32(qf), n));
        m = _mm512_mask_add_epi32(m, _mm512_cmplt_epi32_mask(m, _mm512_setzero_si512()), m, n);
        i0 = _mm512_mask_sub_epi32(m, _mm512_cmpge_epi32_mask(m, n), m, n);
    }
    i1 = _mm512_add_epi32(i0, one);
    i1 = _mm512_maskz_mov_epi32(_mm512_cmpneq_epi32_mask(i1, n), i1);
}

// The texels at row + col of the lanes asked for, alpha forced on.
__attribute__((target("avx512f,avx512bw,avx512dq"), always_inline)) inline __m512i fetchTexels(
    const std::uint32_t* pixels, __m512i row, __m512i col, __mmask16 lanes, __m512i alpha) {
    return _mm512_or_si512(_mm512_mask_i32gather_epi32(_mm512_setzero_si512(), lanes,
                                                       _mm512_add_epi32(row, col), pixels, 4),
                           alpha);
}

// The texel at each offset and the one after it, for the lanes asked for,
// alpha forced on: first and second texels in lane order.
__attribute__((target("avx512f,avx512bw,avx512dq"), always_inline)) inline void fetchPairs(
    const std::uint32_t* pixels, __m512i offsets, __mmask16 lanes, __m512i alpha, __m512i& first,
    __m512i& second) {
    const __m512i zero = _mm512_setzero_si512();
    const __m512i a = _mm512_mask_i32gather_epi64(zero, static_cast<__mmask8>(lanes),
                                                  _mm512_castsi512_si256(offsets), pixels, 4);
    const __m512i b =
        lanes > 0xFF ? _mm512_mask_i32gather_epi64(zero, static_cast<__mmask8>(lanes >> 8),
                                                   _mm512_extracti64x4_epi64(offsets, 1), pixels, 4)
                     : zero;
    const __m512i evens =
        _mm512_setr_epi32(0, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24, 26, 28, 30);
    const __m512i odds = _mm512_add_epi32(evens, _mm512_set1_epi32(1));
    first = _mm512_or_si512(_mm512_permutex2var_epi32(a, evens, b), alpha);
    second = _mm512_or_si512(_mm512_permutex2var_epi32(a, odds, b), alpha);
}

// Each pixel's weight (the low 8 bits of its position) in the four words of
// its channels, for the pixels of the low and the high unpacked halves.
__attribute__((target("avx512f,avx512bw,avx512dq"), always_inline)) inline void spreadWeights(
    __m512i q, __m512i& lo, __m512i& hi) {
    const auto z = static_cast<char>(0x80);
    lo = _mm512_shuffle_epi8(
        q, _mm512_broadcast_i32x4(_mm_setr_epi8(0, z, 0, z, 0, z, 0, z, 4, z, 4, z, 4, z, 4, z)));
    hi = _mm512_shuffle_epi8(q, _mm512_broadcast_i32x4(_mm_setr_epi8(8, z, 8, z, 8, z, 8, z, 12, z,
                                                                     12, z, 12, z, 12, z)));
}

// One half (unpack picks which) of sixteen bilinear samples in 16-bit
// words. Each stage is (a x 256 + 128 + (b - a) x f) >> 8; the first
// stage's a x 256 + 128 comes straight from the bytes, the second's from
// the first's sum with its low byte replaced by 128.
template <bool High>
__attribute__((target("avx512f,avx512bw,avx512dq"), always_inline)) inline __m512i bilinearHalf(
    __m512i t00, __m512i t10, __m512i t01, __m512i t11, __m512i wx, __m512i wy) {
    const __m512i zero = _mm512_setzero_si512();
    const __m512i half = _mm512_set1_epi8(static_cast<char>(0x80));
    const __m512i a0 = High ? _mm512_unpackhi_epi8(t00, zero) : _mm512_unpacklo_epi8(t00, zero);
    const __m512i b0 = High ? _mm512_unpackhi_epi8(t10, zero) : _mm512_unpacklo_epi8(t10, zero);
    const __m512i a1 = High ? _mm512_unpackhi_epi8(t01, zero) : _mm512_unpacklo_epi8(t01, zero);
    const __m512i b1 = High ? _mm512_unpackhi_epi8(t11, zero) : _mm512_unpacklo_epi8(t11, zero);
    const __m512i a0h = High ? _mm512_unpackhi_epi8(half, t00) : _mm512_unpacklo_epi8(half, t00);
    const __m512i a1h = High ? _mm512_unpackhi_epi8(half, t01) : _mm512_unpacklo_epi8(half, t01);
    const __m512i upper = _mm512_add_epi16(a0h, _mm512_mullo_epi16(_mm512_sub_epi16(b0, a0), wx));
    const __m512i lower = _mm512_add_epi16(a1h, _mm512_mullo_epi16(_mm512_sub_epi16(b1, a1), wx));
    // (upper & 0xFF00) | 0x80: the rounded upper row times 256, plus 128.
    const __m512i upperh = _mm512_ternarylogic_epi32(
        upper, _mm512_set1_epi16(static_cast<short>(0xFF00)), _mm512_set1_epi16(0x80), 0xEA);
    const __m512i diff = _mm512_sub_epi16(_mm512_srli_epi16(lower, 8), _mm512_srli_epi16(upper, 8));
    return _mm512_srli_epi16(_mm512_add_epi16(upperh, _mm512_mullo_epi16(diff, wy)), 8);
}

// Source-over in 16-bit words, each pixel's alpha word spread over its
// channels: (s x a + d x (255 - a) + 128) x 257 >> 16 is the division
// blendAlphaRow takes, which leaves an opaque sample and a clear one
// exactly as they are taken there.
__attribute__((target("avx512f,avx512bw,avx512dq"), always_inline)) inline __m512i overWords(
    __m512i s16, __m512i d16) {
    const __m512i a =
        _mm512_shuffle_epi8(s16, _mm512_set4_epi32(0x0F0E0F0E, 0x0F0E0F0E, 0x07060706, 0x07060706));
    const __m512i x =
        _mm512_add_epi16(_mm512_mullo_epi16(s16, a),
                         _mm512_mullo_epi16(d16, _mm512_sub_epi16(_mm512_set1_epi16(255), a)));
    return _mm512_mulhi_epu16(_mm512_add_epi16(x, _mm512_set1_epi16(128)), _mm512_set1_epi16(257));
}

template <bool Blend>
__attribute__((target("avx512f,avx512bw,avx512dq"))) void sampleLinearSpanAvx512(
    std::uint32_t* out, const std::uint32_t* pixels, int w, int h, bool wrap, const ExactStep& u,
    const ExactStep& v, int count, std::uint32_t salpha, std::uint32_t dalpha) {
    const __m512i destinationAlpha = _mm512_set1_epi32(static_cast<int>(dalpha));
    // 1/d a little smaller, as carries takes it (u and v share d).
    const __m512d inv = _mm512_set1_pd(1.0 / static_cast<double>(u.d) * (1.0 - 0x1p-40));
    const LaneSteps su = laneSteps(u, inv);
    const LaneSteps sv = laneSteps(v, inv);
    const __m512i zero = _mm512_setzero_si512();
    const __m512i alpha = _mm512_set1_epi32(static_cast<int>(salpha));
    const __m512i width = _mm512_set1_epi32(w);
    __m512d k0 = _mm512_setr_pd(0, 1, 2, 3, 4, 5, 6, 7);
    __m512d k1 = _mm512_setr_pd(8, 9, 10, 11, 12, 13, 14, 15);
    const __m512d sixteen = _mm512_set1_pd(16.0);
    for (int b = 0; b < count; b += 16) {
        const auto lanes =
            static_cast<__mmask16>(count - b >= 16 ? 0xFFFFu : (1u << (count - b)) - 1u);
        // Positions less half a texel: texel index above, weight below.
        const bool upper = lanes > 0xFF;
        const __m512i qu = positions(su, k0, k1, upper);
        const __m512i qv = positions(sv, k0, k1, upper);
        k0 = _mm512_add_pd(k0, sixteen);
        k1 = _mm512_add_pd(k1, sixteen);
        __m512i i0, i1, j0, j1;
        neighbours(_mm512_srai_epi32(qu, 8), w, wrap, lanes, i0, i1);
        neighbours(_mm512_srai_epi32(qv, 8), h, wrap, lanes, j0, j1);
        const __m512i row0 = _mm512_mullo_epi32(j0, width);
        const __m512i row1 = _mm512_mullo_epi32(j1, width);
        __m512i t00, t10, t01, t11;
        if ((_mm512_cmpeq_epi32_mask(i1, _mm512_add_epi32(i0, _mm512_set1_epi32(1))) & lanes) ==
            lanes) {
            // Neighbours side by side: one 64-bit load per pair.
            fetchPairs(pixels, _mm512_add_epi32(row0, i0), lanes, alpha, t00, t10);
            fetchPairs(pixels, _mm512_add_epi32(row1, i0), lanes, alpha, t01, t11);
        } else {
            t00 = fetchTexels(pixels, row0, i0, lanes, alpha);
            t10 = fetchTexels(pixels, row0, i1, lanes, alpha);
            t01 = fetchTexels(pixels, row1, i0, lanes, alpha);
            t11 = fetchTexels(pixels, row1, i1, lanes, alpha);
        }
        __m512i wxl, wxh, wyl, wyh;
        spreadWeights(qu, wxl, wxh);
        spreadWeights(qv, wyl, wyh);
        const __m512i lo = bilinearHalf<false>(t00, t10, t01, t11, wxl, wyl);
        const __m512i hi = bilinearHalf<true>(t00, t10, t01, t11, wxh, wyh);
        if constexpr (Blend) {
            // The samples stay in words for the blend.
            const __m512i d =
                _mm512_or_si512(_mm512_maskz_loadu_epi32(lanes, out + b), destinationAlpha);
            const __m512i blended =
                _mm512_packus_epi16(overWords(lo, _mm512_unpacklo_epi8(d, zero)),
                                    overWords(hi, _mm512_unpackhi_epi8(d, zero)));
            _mm512_mask_storeu_epi32(out + b, lanes, _mm512_or_si512(blended, destinationAlpha));
        } else {
            _mm512_mask_storeu_epi32(out + b, lanes, _mm512_packus_epi16(lo, hi));
        }
    }
}

// The same with AVX2 (and FMA) for processors without 512-bit vectors: eight
// pixels at a time, four in each 128-bit half, vector masks for mask
// registers.
#define QEL_GFX_AVX2_FMA __attribute__((target("avx2,fma"), always_inline)) inline

QEL_GFX_AVX2_FMA __m256d carries256(__m256d kd, __m256d r0, __m256d rs, __m256d d, __m256d inv) {
    const __m256d t = _mm256_fmadd_pd(kd, rs, r0);
    const __m256d c = _mm256_floor_pd(_mm256_mul_pd(t, inv));
    const __m256d rem = _mm256_fnmadd_pd(c, d, t);
    return _mm256_add_pd(c, _mm256_and_pd(_mm256_cmp_pd(rem, d, _CMP_GE_OQ), _mm256_set1_pd(1.0)));
}

struct LaneSteps256 {
    __m256d q0, qs, r0, rs, d, inv;
};

QEL_GFX_AVX2_FMA LaneSteps256 laneSteps256(const ExactStep& s, __m256d inv) {
    return LaneSteps256{
        _mm256_set1_pd(static_cast<double>(s.q - 128)), _mm256_set1_pd(static_cast<double>(s.qs)),
        _mm256_set1_pd(static_cast<double>(s.r)),       _mm256_set1_pd(static_cast<double>(s.rs)),
        _mm256_set1_pd(static_cast<double>(s.d)),       inv};
}

QEL_GFX_AVX2_FMA __m256i positions256(const LaneSteps256& s, __m256d k0, __m256d k1, bool upper) {
    const __m256d q0 =
        _mm256_add_pd(_mm256_fmadd_pd(k0, s.qs, s.q0), carries256(k0, s.r0, s.rs, s.d, s.inv));
    const __m128i low = _mm256_cvttpd_epi32(q0);
    if (!upper) return _mm256_set_m128i(_mm_setzero_si128(), low);
    const __m256d q1 =
        _mm256_add_pd(_mm256_fmadd_pd(k1, s.qs, s.q0), carries256(k1, s.r0, s.rs, s.d, s.inv));
    return _mm256_set_m128i(_mm256_cvttpd_epi32(q1), low);
}

QEL_GFX_AVX2_FMA void neighbours256(__m256i i, int size, bool wrap, __m256i lanes, __m256i& i0,
                                    __m256i& i1) {
    const __m256i n = _mm256_set1_epi32(size);
    const __m256i top = _mm256_set1_epi32(size - 1);
    const __m256i one = _mm256_set1_epi32(1);
    const __m256i zero = _mm256_setzero_si256();
    if (!wrap) {
        i0 = _mm256_min_epi32(_mm256_max_epi32(i, zero), top);
        i1 = _mm256_min_epi32(_mm256_max_epi32(_mm256_add_epi32(i, one), zero), top);
        return;
    }
    i0 = i;
    const __m256i outside =
        _mm256_or_si256(_mm256_cmpgt_epi32(zero, i), _mm256_cmpgt_epi32(i, top));
    if (_mm256_movemask_epi8(_mm256_and_si256(outside, lanes)) != 0) {
        const __m256 qf = _mm256_floor_ps(
            _mm256_mul_ps(_mm256_cvtepi32_ps(i), _mm256_set1_ps(1.0f / static_cast<float>(size))));
        __m256i m = _mm256_sub_epi32(i, _mm256_mullo_epi32(_mm256_cvttps_epi32(qf), n));
        m = _mm256_add_epi32(m, _mm256_and_si256(_mm256_cmpgt_epi32(zero, m), n));
        i0 = _mm256_sub_epi32(m, _mm256_and_si256(_mm256_cmpgt_epi32(m, top), n));
    }
    i1 = _mm256_add_epi32(i0, one);
    i1 = _mm256_andnot_si256(_mm256_cmpeq_epi32(i1, n), i1);
}

QEL_GFX_AVX2_FMA __m256i fetchTexels256(const std::uint32_t* pixels, __m256i row, __m256i col,
                                        __m256i lanes, __m256i alpha) {
    return _mm256_or_si256(
        _mm256_mask_i32gather_epi32(_mm256_setzero_si256(), reinterpret_cast<const int*>(pixels),
                                    _mm256_add_epi32(row, col), lanes, 4),
        alpha);
}

QEL_GFX_AVX2_FMA void fetchPairs256(const std::uint32_t* pixels, __m256i offsets, __m256i lanes,
                                    bool upper, __m256i alpha, __m256i& first, __m256i& second) {
    const auto* base = reinterpret_cast<const long long*>(pixels);
    const __m256i zero = _mm256_setzero_si256();
    const __m256i a =
        _mm256_mask_i32gather_epi64(zero, base, _mm256_castsi256_si128(offsets),
                                    _mm256_cvtepi32_epi64(_mm256_castsi256_si128(lanes)), 4);
    const __m256i b = upper ? _mm256_mask_i32gather_epi64(
                                  zero, base, _mm256_extracti128_si256(offsets, 1),
                                  _mm256_cvtepi32_epi64(_mm256_extracti128_si256(lanes, 1)), 4)
                            : zero;
    // Even and odd words of the pairs, which come out as 0 1 4 5 | 2 3 6 7.
    const __m256 pa = _mm256_castsi256_ps(a);
    const __m256 pb = _mm256_castsi256_ps(b);
    first = _mm256_or_si256(
        _mm256_permute4x64_epi64(_mm256_castps_si256(_mm256_shuffle_ps(pa, pb, 0x88)), 0xD8),
        alpha);
    second = _mm256_or_si256(
        _mm256_permute4x64_epi64(_mm256_castps_si256(_mm256_shuffle_ps(pa, pb, 0xDD)), 0xD8),
        alpha);
}

QEL_GFX_AVX2_FMA void spreadWeights256(__m256i q, __m256i& lo, __m256i& hi) {
    const auto z = static_cast<char>(0x80);
    lo = _mm256_shuffle_epi8(q, _mm256_broadcastsi128_si256(
                                    _mm_setr_epi8(0, z, 0, z, 0, z, 0, z, 4, z, 4, z, 4, z, 4, z)));
    hi = _mm256_shuffle_epi8(q, _mm256_broadcastsi128_si256(_mm_setr_epi8(
                                    8, z, 8, z, 8, z, 8, z, 12, z, 12, z, 12, z, 12, z)));
}

template <bool High>
QEL_GFX_AVX2_FMA __m256i bilinearHalf256(__m256i t00, __m256i t10, __m256i t01, __m256i t11,
                                         __m256i wx, __m256i wy) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i half = _mm256_set1_epi8(static_cast<char>(0x80));
    const __m256i a0 = High ? _mm256_unpackhi_epi8(t00, zero) : _mm256_unpacklo_epi8(t00, zero);
    const __m256i b0 = High ? _mm256_unpackhi_epi8(t10, zero) : _mm256_unpacklo_epi8(t10, zero);
    const __m256i a1 = High ? _mm256_unpackhi_epi8(t01, zero) : _mm256_unpacklo_epi8(t01, zero);
    const __m256i b1 = High ? _mm256_unpackhi_epi8(t11, zero) : _mm256_unpacklo_epi8(t11, zero);
    const __m256i a0h = High ? _mm256_unpackhi_epi8(half, t00) : _mm256_unpacklo_epi8(half, t00);
    const __m256i a1h = High ? _mm256_unpackhi_epi8(half, t01) : _mm256_unpacklo_epi8(half, t01);
    const __m256i upper = _mm256_add_epi16(a0h, _mm256_mullo_epi16(_mm256_sub_epi16(b0, a0), wx));
    const __m256i lower = _mm256_add_epi16(a1h, _mm256_mullo_epi16(_mm256_sub_epi16(b1, a1), wx));
    const __m256i upperh =
        _mm256_or_si256(_mm256_and_si256(upper, _mm256_set1_epi16(static_cast<short>(0xFF00))),
                        _mm256_set1_epi16(0x80));
    const __m256i diff = _mm256_sub_epi16(_mm256_srli_epi16(lower, 8), _mm256_srli_epi16(upper, 8));
    return _mm256_srli_epi16(_mm256_add_epi16(upperh, _mm256_mullo_epi16(diff, wy)), 8);
}

QEL_GFX_AVX2_FMA __m256i overWords256(__m256i s16, __m256i d16) {
    const __m256i a =
        _mm256_shuffle_epi8(s16, _mm256_setr_epi32(0x07060706, 0x07060706, 0x0F0E0F0E, 0x0F0E0F0E,
                                                   0x07060706, 0x07060706, 0x0F0E0F0E, 0x0F0E0F0E));
    const __m256i x =
        _mm256_add_epi16(_mm256_mullo_epi16(s16, a),
                         _mm256_mullo_epi16(d16, _mm256_sub_epi16(_mm256_set1_epi16(255), a)));
    return _mm256_mulhi_epu16(_mm256_add_epi16(x, _mm256_set1_epi16(128)), _mm256_set1_epi16(257));
}

template <bool Blend>
__attribute__((target("avx2,fma"))) void sampleLinearSpanAvx2(
    std::uint32_t* out, const std::uint32_t* pixels, int w, int h, bool wrap, const ExactStep& u,
    const ExactStep& v, int count, std::uint32_t salpha, std::uint32_t dalpha) {
    const __m256i destinationAlpha = _mm256_set1_epi32(static_cast<int>(dalpha));
    const __m256d inv = _mm256_set1_pd(1.0 / static_cast<double>(u.d) * (1.0 - 0x1p-40));
    const LaneSteps256 su = laneSteps256(u, inv);
    const LaneSteps256 sv = laneSteps256(v, inv);
    const __m256i zero = _mm256_setzero_si256();
    const __m256i alpha = _mm256_set1_epi32(static_cast<int>(salpha));
    const __m256i width = _mm256_set1_epi32(w);
    const __m256i one = _mm256_set1_epi32(1);
    const __m256i iota = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    __m256d k0 = _mm256_setr_pd(0, 1, 2, 3);
    __m256d k1 = _mm256_setr_pd(4, 5, 6, 7);
    const __m256d eight = _mm256_set1_pd(8.0);
    for (int b = 0; b < count; b += 8) {
        const __m256i lanes = _mm256_cmpgt_epi32(_mm256_set1_epi32(count - b), iota);
        const bool upper = count - b > 4;
        const __m256i qu = positions256(su, k0, k1, upper);
        const __m256i qv = positions256(sv, k0, k1, upper);
        k0 = _mm256_add_pd(k0, eight);
        k1 = _mm256_add_pd(k1, eight);
        __m256i i0, i1, j0, j1;
        neighbours256(_mm256_srai_epi32(qu, 8), w, wrap, lanes, i0, i1);
        neighbours256(_mm256_srai_epi32(qv, 8), h, wrap, lanes, j0, j1);
        const __m256i row0 = _mm256_mullo_epi32(j0, width);
        const __m256i row1 = _mm256_mullo_epi32(j1, width);
        __m256i t00, t10, t01, t11;
        const __m256i apart =
            _mm256_andnot_si256(_mm256_cmpeq_epi32(i1, _mm256_add_epi32(i0, one)), lanes);
        if (_mm256_movemask_epi8(apart) == 0) {
            fetchPairs256(pixels, _mm256_add_epi32(row0, i0), lanes, upper, alpha, t00, t10);
            fetchPairs256(pixels, _mm256_add_epi32(row1, i0), lanes, upper, alpha, t01, t11);
        } else {
            t00 = fetchTexels256(pixels, row0, i0, lanes, alpha);
            t10 = fetchTexels256(pixels, row0, i1, lanes, alpha);
            t01 = fetchTexels256(pixels, row1, i0, lanes, alpha);
            t11 = fetchTexels256(pixels, row1, i1, lanes, alpha);
        }
        __m256i wxl, wxh, wyl, wyh;
        spreadWeights256(qu, wxl, wxh);
        spreadWeights256(qv, wyl, wyh);
        const __m256i lo = bilinearHalf256<false>(t00, t10, t01, t11, wxl, wyl);
        const __m256i hi = bilinearHalf256<true>(t00, t10, t01, t11, wxh, wyh);
        auto* at = reinterpret_cast<int*>(out + b);
        if constexpr (Blend) {
            const __m256i d = _mm256_or_si256(_mm256_maskload_epi32(at, lanes), destinationAlpha);
            const __m256i blended =
                _mm256_packus_epi16(overWords256(lo, _mm256_unpacklo_epi8(d, zero)),
                                    overWords256(hi, _mm256_unpackhi_epi8(d, zero)));
            _mm256_maskstore_epi32(at, lanes, _mm256_or_si256(blended, destinationAlpha));
        } else {
            _mm256_maskstore_epi32(at, lanes, _mm256_packus_epi16(lo, hi));
        }
    }
}
#undef QEL_GFX_AVX2_FMA
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

bool sampleLinearSpan(std::uint32_t* out, bool blend, std::uint32_t dalpha,
                      const std::uint32_t* pixels, int w, int h, bool wrap, ExactStep& u,
                      ExactStep& v, int count, bool more, std::uint32_t salpha) {
#if defined(QEL_GFX_AVX2)
    // Remainders and their products stay below 2^51, positions within
    // +-2^30, texel offsets within 31 bits.
    constexpr std::int64_t kMaxDenominator = std::int64_t{1} << 44;
    if (count < 1 || count > 64 || u.d != v.d || u.d > kMaxDenominator ||
        std::int64_t{w} * h > 0x7FFFFFFF) {
        return false;
    }
    static const bool fma = __builtin_cpu_supports("fma");
    const int bits = vectorBits();
    if (bits >= 512) {
        if (blend) {
            sampleLinearSpanAvx512<true>(out, pixels, w, h, wrap, u, v, count, salpha, dalpha);
        } else {
            sampleLinearSpanAvx512<false>(out, pixels, w, h, wrap, u, v, count, salpha, dalpha);
        }
    } else if (bits >= 256 && fma) {
        if (blend) {
            sampleLinearSpanAvx2<true>(out, pixels, w, h, wrap, u, v, count, salpha, dalpha);
        } else {
            sampleLinearSpanAvx2<false>(out, pixels, w, h, wrap, u, v, count, salpha, dalpha);
        }
    } else {
        return false;
    }
    if (more) {
        u.advance(count);
        v.advance(count);
    }
    return true;
#else
    (void)out, (void)blend, (void)dalpha, (void)pixels, (void)w, (void)h, (void)wrap, (void)u,
        (void)v, (void)count, (void)more, (void)salpha;
    return false;
#endif
}

}  // namespace qel::px
