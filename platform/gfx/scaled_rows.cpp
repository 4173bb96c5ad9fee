#include "platform/gfx/scaled_rows.h"

#include "platform/gfx/blend_rows.h"
#include "platform/gfx/pixel_ops.h"

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define QEL_GFX_AVX2 1
#endif

namespace qel::px {

namespace {

// Sixteen-bit lane arithmetic stays exact: t0 x (256 - f) + t1 x f + 128
// is at most 255 x 256 + 128, below 2^16.
std::uint32_t lerpPixel(std::uint32_t a, std::uint32_t b, std::uint32_t f) {
    return gather(lerpLanes(spread(a), spread(b), f));
}

#if defined(QEL_GFX_AVX2)
bool haveAvx2() {
    return vectorBits() >= 256;
}

__attribute__((target("avx2"), always_inline)) inline __m256i lerpWords(__m256i t16, __m256i b16,
                                                                        __m256i w0, __m256i w1) {
    const __m256i x = _mm256_add_epi16(_mm256_mullo_epi16(t16, w0), _mm256_mullo_epi16(b16, w1));
    return _mm256_srli_epi16(_mm256_add_epi16(x, _mm256_set1_epi16(128)), 8);
}

__attribute__((target("avx2"))) void lerpRowsAvx2(std::uint32_t* out, const std::uint32_t* top,
                                                  const std::uint32_t* bottom, std::size_t n,
                                                  std::uint32_t f, std::uint32_t force) {
    const __m256i bits = _mm256_set1_epi32(static_cast<int>(force));
    const __m256i zero = _mm256_setzero_si256();
    const __m256i w0 = _mm256_set1_epi16(static_cast<short>(256 - f));
    const __m256i w1 = _mm256_set1_epi16(static_cast<short>(f));
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        const __m256i t = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(top + i));
        const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bottom + i));
        const __m256i lo =
            lerpWords(_mm256_unpacklo_epi8(t, zero), _mm256_unpacklo_epi8(b, zero), w0, w1);
        const __m256i hi =
            lerpWords(_mm256_unpackhi_epi8(t, zero), _mm256_unpackhi_epi8(b, zero), w0, w1);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i),
                            _mm256_or_si256(_mm256_packus_epi16(lo, hi), bits));
    }
    for (; i < n; ++i) out[i] = lerpPixel(top[i], bottom[i], f) | force;
}

// Four pixels in the two 128-bit halves (a, b below; c, d above), as the
// SSE2 loop does two.
__attribute__((target("avx2"), always_inline)) inline __m256i weighFour(const std::uint32_t* row,
                                                                        const std::int32_t* idx,
                                                                        const __m128i* lanes,
                                                                        bool pairs, __m256i alpha) {
    auto pair = [&](int c) {
        if (pairs) {
            return _mm_unpacklo_epi64(
                _mm_loadl_epi64(reinterpret_cast<const __m128i*>(row + idx[2 * c])),
                _mm_loadl_epi64(reinterpret_cast<const __m128i*>(row + idx[2 * c + 2])));
        }
        return _mm_set_epi32(
            static_cast<int>(row[idx[2 * c + 3]]), static_cast<int>(row[idx[2 * c + 2]]),
            static_cast<int>(row[idx[2 * c + 1]]), static_cast<int>(row[idx[2 * c]]));
    };
    const __m256i zero = _mm256_setzero_si256();
    const __m256i x = _mm256_or_si256(_mm256_set_m128i(pair(2), pair(0)), alpha);
    const __m256i wa = _mm256_set_m128i(_mm_loadu_si128(lanes + 2), _mm_loadu_si128(lanes));
    const __m256i wb = _mm256_set_m128i(_mm_loadu_si128(lanes + 3), _mm_loadu_si128(lanes + 1));
    const __m256i a = _mm256_mullo_epi16(_mm256_unpacklo_epi8(x, zero), wa);
    const __m256i b = _mm256_mullo_epi16(_mm256_unpackhi_epi8(x, zero), wb);
    const __m256i s = _mm256_add_epi16(_mm256_unpacklo_epi64(a, b), _mm256_unpackhi_epi64(a, b));
    return _mm256_srli_epi16(_mm256_add_epi16(s, _mm256_set1_epi16(128)), 8);
}

// Columns done eight at a time; returns how many.
__attribute__((target("avx2"))) std::size_t weighAvx2(std::uint32_t* out, const std::uint32_t* row,
                                                      const std::int32_t* idx,
                                                      const std::uint16_t* lanes,
                                                      const std::uint8_t* adjacent, std::size_t n,
                                                      std::uint32_t salpha) {
    const __m256i alpha = _mm256_set1_epi32(static_cast<int>(salpha));
    const auto* w = reinterpret_cast<const __m128i*>(lanes);
    std::size_t k = 0;
    for (; k + 8 <= n; k += 8) {
        const __m256i lo = weighFour(row, idx + 2 * k, w + k, adjacent[k / 4] != 0, alpha);
        const __m256i hi =
            weighFour(row, idx + 2 * k + 8, w + k + 4, adjacent[k / 4 + 1] != 0, alpha);
        // packus works within halves: a b e f | c d g h, put back in order.
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + k),
                            _mm256_permute4x64_epi64(_mm256_packus_epi16(lo, hi), 0xD8));
    }
    return k;
}
#endif

}  // namespace

void ScaledColumns::clear() {
    index_.clear();
    f_.clear();
    lanes_.clear();
    adjacent_.clear();
}

void ScaledColumns::add(int i0, int i1, std::uint32_t f) {
    index_.push_back(i0);
    index_.push_back(i1);
    f_.push_back(f);
    for (int k = 0; k < 4; ++k) lanes_.push_back(static_cast<std::uint16_t>(256 - f));
    for (int k = 0; k < 4; ++k) lanes_.push_back(static_cast<std::uint16_t>(f));
    const bool pair = i1 == i0 + 1;
    if (f_.size() % 4 == 1) {
        adjacent_.push_back(pair ? 1 : 0);
    } else if (!pair) {
        adjacent_.back() = 0;
    }
}

void ScaledColumns::weigh(std::uint32_t* out, const std::uint32_t* row,
                          std::uint32_t salpha) const {
    const std::size_t n = size();
    const std::int32_t* idx = index_.data();
    std::size_t k = 0;
#if defined(QEL_GFX_AVX2)
    if (haveAvx2()) {
        k = weighAvx2(out, row, idx, lanes_.data(), adjacent_.data(), n, salpha);
    }
#endif
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i round = _mm_set1_epi16(128);
    const __m128i alpha = _mm_set1_epi32(static_cast<int>(salpha));
    const auto* lanes = reinterpret_cast<const __m128i*>(lanes_.data());
    // Two pixels: both texel pairs in one register, each pair spread into
    // its own register of sixteen-bit lanes, weighed, and the two halves of
    // each added.
    auto two = [&](std::size_t c, __m128i x) {
        x = _mm_or_si128(x, alpha);
        const __m128i a = _mm_mullo_epi16(_mm_unpacklo_epi8(x, zero), _mm_loadu_si128(lanes + c));
        const __m128i b =
            _mm_mullo_epi16(_mm_unpackhi_epi8(x, zero), _mm_loadu_si128(lanes + c + 1));
        const __m128i s = _mm_add_epi16(_mm_unpacklo_epi64(a, b), _mm_unpackhi_epi64(a, b));
        return _mm_srli_epi16(_mm_add_epi16(s, round), 8);
    };
    auto gathered = [&](std::size_t c) {
        return _mm_set_epi32(
            static_cast<int>(row[idx[2 * c + 3]]), static_cast<int>(row[idx[2 * c + 2]]),
            static_cast<int>(row[idx[2 * c + 1]]), static_cast<int>(row[idx[2 * c]]));
    };
    auto paired = [&](std::size_t c) {
        return _mm_unpacklo_epi64(
            _mm_loadl_epi64(reinterpret_cast<const __m128i*>(row + idx[2 * c])),
            _mm_loadl_epi64(reinterpret_cast<const __m128i*>(row + idx[2 * c + 2])));
    };
    for (; k + 4 <= n; k += 4) {
        const bool pairs = adjacent_[k / 4] != 0;
        const __m128i lo = two(k, pairs ? paired(k) : gathered(k));
        const __m128i hi = two(k + 2, pairs ? paired(k + 2) : gathered(k + 2));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + k), _mm_packus_epi16(lo, hi));
    }
#endif
    for (; k < n; ++k) {
        out[k] = lerpPixel(row[idx[2 * k]] | salpha, row[idx[2 * k + 1]] | salpha, f_[k]);
    }
}

void lerpRows(std::uint32_t* out, const std::uint32_t* top, const std::uint32_t* bottom,
              std::size_t n, std::uint32_t f, std::uint32_t force) {
#if defined(QEL_GFX_AVX2)
    if (haveAvx2()) {
        lerpRowsAvx2(out, top, bottom, n, f, force);
        return;
    }
#endif
    std::size_t i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i w0 = _mm_set1_epi16(static_cast<short>(256 - f));
    const __m128i w1 = _mm_set1_epi16(static_cast<short>(f));
    const __m128i round = _mm_set1_epi16(128);
    const __m128i bits = _mm_set1_epi32(static_cast<int>(force));
    for (; i + 4 <= n; i += 4) {
        const __m128i t = _mm_loadu_si128(reinterpret_cast<const __m128i*>(top + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bottom + i));
        auto half = [&](__m128i t16, __m128i b16) {
            const __m128i x = _mm_add_epi16(_mm_mullo_epi16(t16, w0), _mm_mullo_epi16(b16, w1));
            return _mm_srli_epi16(_mm_add_epi16(x, round), 8);
        };
        const __m128i lo = half(_mm_unpacklo_epi8(t, zero), _mm_unpacklo_epi8(b, zero));
        const __m128i hi = half(_mm_unpackhi_epi8(t, zero), _mm_unpackhi_epi8(b, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i),
                         _mm_or_si128(_mm_packus_epi16(lo, hi), bits));
    }
#endif
    for (; i < n; ++i) out[i] = lerpPixel(top[i], bottom[i], f) | force;
}

}  // namespace qel::px
