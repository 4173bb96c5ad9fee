// Glyph masks are nearly all 0 and 255, and a glyph row is narrower than a
// vector: each row is one compare of its coverage bytes and one store of
// the colour under the mask of full bytes, with partial bytes (rare)
// blended one pixel at a time. Every width here reads mask bytes only
// inside the rectangle and writes only pixels whose coverage is not 0.
#include "platform/gfx/coverage_rows.h"

#include <cstring>

#include "platform/gfx/blend_rows.h"

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define QEL_GFX_AVX2 1
#endif

namespace qel::px {

namespace {

#if defined(QEL_GFX_AVX2)
// The 512-bit limit's path needs AVX-512VL beside what vectorBits checks
// (every processor with AVX-512BW so far has it).
bool haveAvx512Vl() {
    static const bool have = __builtin_cpu_supports("avx512vl");
    return have;
}

// The pixels of a group whose bits are set in partial, one at a time;
// apart from the loops so that they keep their registers.
__attribute__((noinline)) void coverPartial(std::uint32_t* d, const std::uint8_t* m,
                                            std::uint32_t partial, std::uint32_t argb,
                                            std::uint32_t dalpha) {
    for (; partial != 0; partial &= partial - 1) {
        const int k = __builtin_ctz(partial);
        coverOpaquePixel(d[k], m[k], argb, dalpha);
    }
}

// Up to sixteen pixels of a row (up to eight when !upper): lanes marks
// those inside it. Two masked stores of eight: one of sixteen costs more.
__attribute__((target("avx512f,avx512bw,avx512vl"), always_inline)) inline void coverGroup(
    std::uint32_t* d, const std::uint8_t* m, __mmask16 lanes, bool upper, __m256i colour,
    std::uint32_t argb, std::uint32_t dalpha) {
    const __m128i cov = _mm_maskz_loadu_epi8(lanes, m);
    const std::uint32_t opaque = _mm_cmpeq_epi8_mask(cov, _mm_set1_epi8(-1)) & lanes;
    _mm256_mask_storeu_epi32(d, static_cast<__mmask8>(opaque), colour);
    if (upper) _mm256_mask_storeu_epi32(d + 8, static_cast<__mmask8>(opaque >> 8), colour);
    // Lanes outside the row read as 0 and are no partial coverage.
    const std::uint32_t partial = _mm_test_epi8_mask(cov, cov) & ~opaque;
    if (partial != 0) coverPartial(d, m, partial, argb, dalpha);
}

__attribute__((target("avx512f,avx512bw,avx512vl"))) void coverOpaqueRectAvx512(
    std::uint32_t* dst, std::size_t dstPitch, const std::uint8_t* mask, std::size_t maskPitch,
    std::size_t width, std::size_t rows, std::uint32_t argb, std::uint32_t dalpha) {
    const __m256i colour = _mm256_set1_epi32(static_cast<int>(argb | dalpha));
    const std::size_t whole = width & ~std::size_t{15};
    const auto rest = static_cast<__mmask16>((1u << (width - whole)) - 1u);
    if (whole == 0) {
        // A glyph: one group a row, the loops apart for the half widths.
        const bool upper = width > 8;
        for (std::size_t y = 0; y < rows; ++y, dst += dstPitch, mask += maskPitch) {
            if (upper) {
                coverGroup(dst, mask, rest, true, colour, argb, dalpha);
            } else {
                coverGroup(dst, mask, rest, false, colour, argb, dalpha);
            }
        }
        return;
    }
    for (std::size_t y = 0; y < rows; ++y, dst += dstPitch, mask += maskPitch) {
        for (std::size_t i = 0; i < whole; i += 16) {
            coverGroup(dst + i, mask + i, 0xFFFF, true, colour, argb, dalpha);
        }
        if (rest != 0) coverGroup(dst + whole, mask + whole, rest, true, colour, argb, dalpha);
    }
}

// Up to eight pixels of a row (all eight when whole), their coverage
// bytes in the low bytes of bytes (0 beyond the row).
__attribute__((target("avx2"), always_inline)) inline void coverGroup8(
    std::uint32_t* d, const std::uint8_t* m, std::uint64_t bytes, bool whole, __m256i colour,
    std::uint32_t argb, std::uint32_t dalpha) {
    const __m128i cov = _mm_cvtsi64_si128(static_cast<long long>(bytes));
    const __m128i opaque = _mm_cmpeq_epi8(cov, _mm_set1_epi8(-1));
    // Widened to 32-bit lanes, all ones where the coverage is full. A
    // masked store is slower than a plain one: that is for the rest of a row.
    const __m256i lanes = _mm256_cvtepi8_epi32(opaque);
    if (whole) {
        auto* p = reinterpret_cast<__m256i*>(d);
        _mm256_storeu_si256(p, _mm256_blendv_epi8(_mm256_loadu_si256(p), colour, lanes));
    } else {
        _mm256_maskstore_epi32(reinterpret_cast<int*>(d), lanes, colour);
    }
    const auto plain = static_cast<std::uint32_t>(
        _mm_movemask_epi8(_mm_or_si128(opaque, _mm_cmpeq_epi8(cov, _mm_setzero_si128()))));
    const std::uint32_t partial = ~plain & 0xFFu;
    if (partial != 0) coverPartial(d, m, partial, argb, dalpha);
}

// Sixteen pixels of a row more than eight long, their coverage bytes in
// cov (0 beyond the row).
__attribute__((target("avx2"), always_inline)) inline void coverGroup16(std::uint32_t* d,
                                                                        const std::uint8_t* m,
                                                                        __m128i cov, __m256i colour,
                                                                        std::uint32_t argb,
                                                                        std::uint32_t dalpha) {
    const __m128i opaque = _mm_cmpeq_epi8(cov, _mm_set1_epi8(-1));
    auto* p = reinterpret_cast<__m256i*>(d);
    _mm256_storeu_si256(
        p, _mm256_blendv_epi8(_mm256_loadu_si256(p), colour, _mm256_cvtepi8_epi32(opaque)));
    _mm256_maskstore_epi32(reinterpret_cast<int*>(d + 8),
                           _mm256_cvtepi8_epi32(_mm_srli_si128(opaque, 8)), colour);
    const auto plain = static_cast<std::uint32_t>(
        _mm_movemask_epi8(_mm_or_si128(opaque, _mm_cmpeq_epi8(cov, _mm_setzero_si128()))));
    const std::uint32_t partial = ~plain & 0xFFFFu;
    if (partial != 0) coverPartial(d, m, partial, argb, dalpha);
}

__attribute__((target("avx2"))) void coverOpaqueRectAvx2(std::uint32_t* dst, std::size_t dstPitch,
                                                         const std::uint8_t* mask,
                                                         std::size_t maskPitch, std::size_t width,
                                                         std::size_t rows, std::uint32_t argb,
                                                         std::uint32_t dalpha) {
    const __m256i colour = _mm256_set1_epi32(static_cast<int>(argb | dalpha));
    // The mask is read from its first row's first byte to its last row's
    // last. A glyph's row (up to sixteen pixels) is one read of eight or
    // sixteen bytes while that many are left; the last rows, and every row
    // of a wider mask, go eight bytes at a time: forward while eight are
    // left, else the eight that end at the group's end, shifted down (a
    // byte-wise copy to the stack would stall the load that follows it).
    const std::size_t total = (rows - 1) * maskPitch + width;
    std::size_t y = 0;
    if (width <= 8) {
        const std::uint64_t keep =
            width == 8 ? ~std::uint64_t{0} : (std::uint64_t{1} << (8 * width)) - 1u;
        for (; y * maskPitch + 8 <= total; ++y, dst += dstPitch, mask += maskPitch) {
            std::uint64_t bytes;
            std::memcpy(&bytes, mask, 8);
            coverGroup8(dst, mask, bytes & keep, width == 8, colour, argb, dalpha);
        }
    } else if (width <= 16) {
        const __m128i keep =
            _mm_cmpgt_epi8(_mm_set1_epi8(static_cast<char>(width)),
                           _mm_setr_epi8(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15));
        for (; y * maskPitch + 16 <= total; ++y, dst += dstPitch, mask += maskPitch) {
            const __m128i cov =
                _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(mask)), keep);
            coverGroup16(dst, mask, cov, colour, argb, dalpha);
        }
    }
    for (; y < rows; ++y, dst += dstPitch, mask += maskPitch) {
        const std::size_t before = y * maskPitch;
        for (std::size_t i = 0; i < width; i += 8) {
            const std::size_t n = width - i < 8 ? width - i : 8;
            std::uint64_t bytes = 0;
            if (total - before - i >= 8) {
                std::memcpy(&bytes, mask + i, 8);
                if (n < 8) bytes &= (std::uint64_t{1} << (8 * n)) - 1u;
            } else if (before + i + n >= 8) {
                std::memcpy(&bytes, mask + i + n - 8, 8);
                bytes >>= 8 * (8 - n);
            } else {
                for (std::size_t k = n; k-- > 0;) bytes = bytes << 8 | mask[i + k];
            }
            coverGroup8(dst + i, mask + i, bytes, n == 8, colour, argb, dalpha);
        }
    }
}
#endif

void coverOpaqueRectBaseline(std::uint32_t* dst, std::size_t dstPitch, const std::uint8_t* mask,
                             std::size_t maskPitch, std::size_t width, std::size_t rows,
                             std::uint32_t argb, std::uint32_t dalpha) {
    for (std::size_t y = 0; y < rows; ++y) {
        std::uint32_t* d = dst + y * dstPitch;
        const std::uint8_t* m = mask + y * maskPitch;
        std::size_t i = 0;
#if defined(__SSE2__)
        const __m128i zero = _mm_setzero_si128();
        const __m128i full = _mm_set1_epi8(static_cast<char>(0xFF));
        const __m128i colour = _mm_set1_epi32(static_cast<int>(argb | dalpha));
        for (; i + 4 <= width; i += 4) {
            std::uint32_t bytes;
            std::memcpy(&bytes, m + i, 4);
            if (bytes == 0) continue;
            const __m128i cov = _mm_cvtsi32_si128(static_cast<int>(bytes));
            const int plain = _mm_movemask_epi8(
                _mm_or_si128(_mm_cmpeq_epi8(cov, zero), _mm_cmpeq_epi8(cov, full)));
            if ((plain & 0xF) != 0xF) {
                for (std::size_t k = i; k < i + 4; ++k) coverOpaquePixel(d[k], m[k], argb, dalpha);
                continue;
            }
            // Each coverage byte spread over its pixel's four bytes.
            __m128i lanes = _mm_unpacklo_epi8(cov, cov);
            lanes = _mm_unpacklo_epi16(lanes, lanes);
            auto* p = reinterpret_cast<__m128i*>(d + i);
            _mm_storeu_si128(p, _mm_or_si128(_mm_and_si128(lanes, colour),
                                             _mm_andnot_si128(lanes, _mm_loadu_si128(p))));
        }
#endif
        for (; i < width; ++i) coverOpaquePixel(d[i], m[i], argb, dalpha);
    }
}

}  // namespace

CoverOpaqueRectFn coverOpaqueRectPath() {
#if defined(QEL_GFX_AVX2)
    const int bits = vectorBits();
    if (bits >= 512 && haveAvx512Vl()) return coverOpaqueRectAvx512;
    if (bits >= 256) return coverOpaqueRectAvx2;
#endif
    return coverOpaqueRectBaseline;
}

void coverOpaqueRect(std::uint32_t* dst, std::size_t dstPitch, const std::uint8_t* mask,
                     std::size_t maskPitch, std::size_t width, std::size_t rows, std::uint32_t argb,
                     std::uint32_t dalpha) {
    if (width == 0 || rows == 0) return;
    coverOpaqueRectPath()(dst, dstPitch, mask, maskPitch, width, rows, argb, dalpha);
}

}  // namespace qel::px
